#include "platform/sheet/formula_text.h"

#include <cctype>
#include <vector>

#include "platform/sheet/cell_text.h"

namespace sheet {
namespace {

bool IsNameChar(char c) {
    return std::isalnum(static_cast<unsigned char>(c)) || c == '_' || c == '.' || c == '$' || c == '\\' || c == '?';
}

// A piece of the formula: a run of name characters (a reference, a name, a number)
// or anything between them, copied as it is.
struct Piece {
    bool run;
    std::string text;
};

// Copies a quoted text or sheet name, a doubled quote standing for one.
bool CopyQuoted(std::string_view f, size_t& i, std::string& out) {
    const char quote = f[i];
    out += f[i++];
    while (i < f.size()) {
        out += f[i];
        if (f[i++] == quote) {
            if (i < f.size() && f[i] == quote) {
                out += f[i++];
                continue;
            }
            return true;
        }
    }
    return false;
}

// Copies a bracketed part (a structured reference or a workbook index), brackets
// nested and "'" escaping the character after it.
bool CopyBracketed(std::string_view f, size_t& i, std::string& out) {
    int depth = 0;
    while (i < f.size()) {
        const char c = f[i++];
        out += c;
        if (c == '\'' && i < f.size()) {
            out += f[i++];
        } else if (c == '[') {
            ++depth;
        } else if (c == ']' && --depth == 0) {
            return true;
        }
    }
    return false;
}

std::optional<std::vector<Piece>> Split(std::string_view f) {
    std::vector<Piece> pieces;
    const auto literal = [&]() -> std::string& {
        if (pieces.empty() || pieces.back().run) pieces.push_back({false, {}});
        return pieces.back().text;
    };
    for (size_t i = 0; i < f.size();) {
        const char c = f[i];
        if (IsNameChar(c)) {
            std::string run;
            while (i < f.size() && IsNameChar(f[i])) run += f[i++];
            pieces.push_back({true, run});
        } else if (c == '"' || c == '\'') {
            if (!CopyQuoted(f, i, literal())) return std::nullopt;
        } else if (c == '[') {
            if (!CopyBracketed(f, i, literal())) return std::nullopt;
        } else {
            literal() += f[i++];
        }
    }
    return pieces;
}

// One end of a reference: "$B$12", "B12", "$B", "12".
struct RefEnd {
    bool column_fixed = false, row_fixed = false;
    int column = 0, row = 0;  // 0 where the end has none
};

std::optional<RefEnd> ReadRefEnd(std::string_view run) {
    RefEnd end;
    size_t i = 0;
    if (i < run.size() && run[i] == '$') {
        end.column_fixed = true;
        ++i;
    }
    std::string letters;
    while (i < run.size() && std::isalpha(static_cast<unsigned char>(run[i])))
        letters += static_cast<char>(std::toupper(static_cast<unsigned char>(run[i++])));
    if (!letters.empty()) {
        end.column = ColumnNumber(letters);
        if (end.column == 0) return std::nullopt;
    } else if (end.column_fixed) {
        end.column_fixed = false;  // "$12": the mark belongs to the row
        end.row_fixed = true;
    }
    if (i < run.size() && run[i] == '$') {
        if (letters.empty()) return std::nullopt;
        end.row_fixed = true;
        ++i;
    }
    const size_t digits = i;
    while (i < run.size() && std::isdigit(static_cast<unsigned char>(run[i]))) ++i;
    if (i != run.size()) return std::nullopt;
    if (i > digits) {
        if (run[digits] == '0' || i - digits > 7) return std::nullopt;
        end.row = std::stoi(std::string(run.substr(digits)));
        if (end.row > kMaxRow) return std::nullopt;
    } else if (end.row_fixed) {
        return std::nullopt;  // "A$"
    }
    if (end.column == 0 && end.row == 0) return std::nullopt;
    return end;
}

// The end moved; nothing when it leaves the grid.
std::optional<std::string> Moved(const RefEnd& end, int rows, int columns) {
    std::string text;
    if (end.column != 0) {
        const int column = end.column + (end.column_fixed ? 0 : columns);
        if (column < 1 || column > kMaxColumn) return std::nullopt;
        text += (end.column_fixed ? "$" : "") + ColumnLetters(column);
    }
    if (end.row != 0) {
        const int row = end.row + (end.row_fixed ? 0 : rows);
        if (row < 1 || row > kMaxRow) return std::nullopt;
        text += (end.row_fixed ? "$" : "") + std::to_string(row);
    }
    return text;
}

bool IsCell(const RefEnd& e) { return e.column != 0 && e.row != 0; }
bool IsWholeColumn(const RefEnd& e) { return e.column != 0 && e.row == 0; }
bool IsWholeRow(const RefEnd& e) { return e.column == 0 && e.row != 0; }

}  // namespace

std::optional<std::string> ShiftFormula(std::string_view formula, int rows, int columns) {
    const std::optional<std::vector<Piece>> pieces = Split(formula);
    if (!pieces) return std::nullopt;
    const std::vector<Piece>& p = *pieces;
    const auto literal_at = [&](size_t i) -> std::string_view {
        return i < p.size() && !p[i].run ? std::string_view(p[i].text) : std::string_view();
    };
    std::string out;
    for (size_t i = 0; i < p.size(); ++i) {
        if (!p[i].run) {
            out += p[i].text;
            continue;
        }
        const std::string_view after = literal_at(i + 1);
        // A function's name, or a sheet's name before "!".
        if (!after.empty() && (after[0] == '(' || after[0] == '!')) {
            out += p[i].text;
            continue;
        }
        const std::optional<RefEnd> end = ReadRefEnd(p[i].text);
        if (end && IsCell(*end)) {
            const std::optional<std::string> moved = Moved(*end, rows, columns);
            if (!moved) return std::nullopt;
            out += *moved;
            continue;
        }
        // Whole columns ("A:C") and whole rows ("2:9") come as pairs.
        if (end && after == ":" && i + 2 < p.size() && p[i + 2].run) {
            const std::optional<RefEnd> other = ReadRefEnd(p[i + 2].text);
            if (other && ((IsWholeColumn(*end) && IsWholeColumn(*other)) || (IsWholeRow(*end) && IsWholeRow(*other)))) {
                const std::optional<std::string> first = Moved(*end, rows, columns);
                const std::optional<std::string> second = Moved(*other, rows, columns);
                if (!first || !second) return std::nullopt;
                out += *first + ":" + *second;
                i += 2;
                continue;
            }
        }
        out += p[i].text;
    }
    return out;
}

}  // namespace sheet
