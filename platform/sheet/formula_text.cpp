#include "platform/sheet/formula_text.h"

#include <algorithm>
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
    int brackets = 0;             // bracketed parts in a literal
    bool bracket_at_end = false;  // the last of them ends it, but for a "!"
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
            pieces.back().bracket_at_end = false;
        } else if (c == '[') {
            std::string& text = literal();
            if (!CopyBracketed(f, i, text)) return std::nullopt;
            ++pieces.back().brackets;
            pieces.back().bracket_at_end = true;
        } else {
            literal() += f[i];
            if (f[i++] != '!') pieces.back().bracket_at_end = false;
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

// The sheet name that a literal ending in "'...'!" quotes, doubled quotes made
// single; nothing for any other literal. Sheet names neither start nor end with a
// quote, so the opening quote is the first one not doubled, counted from the end.
std::optional<std::string> QuotedSheet(std::string_view literal) {
    if (literal.size() < 4 || literal.substr(literal.size() - 2) != "'!") return std::nullopt;
    std::string name;
    for (size_t i = literal.size() - 2; i-- > 0;) {
        if (literal[i] != '\'') {
            name.insert(name.begin(), literal[i]);
        } else if (i > 0 && literal[i - 1] == '\'') {
            name.insert(name.begin(), '\'');
            --i;
        } else {
            return name;
        }
    }
    return std::nullopt;
}

FormulaArea AreaOf(const RefEnd& first, const RefEnd& last) {
    FormulaArea area;
    area.top = first.row == 0 ? 1 : std::min(first.row, last.row);
    area.bottom = first.row == 0 ? kMaxRow : std::max(first.row, last.row);
    area.left = first.column == 0 ? 1 : std::min(first.column, last.column);
    area.right = first.column == 0 ? kMaxColumn : std::max(first.column, last.column);
    return area;
}

}  // namespace

FormulaReach ReadFormulaReach(std::string_view formula) {
    FormulaReach reach;
    const std::optional<std::vector<Piece>> pieces = Split(formula);
    if (!pieces) {
        reach.unknown = true;
        return reach;
    }
    const std::vector<Piece>& p = *pieces;
    const auto literal_at = [&](size_t i) -> std::string_view {
        return i < p.size() && !p[i].run ? std::string_view(p[i].text) : std::string_view();
    };
    const auto run_at = [&](size_t i) { return i < p.size() && p[i].run; };
    for (size_t i = 0; i < p.size(); ++i) {
        if (!p[i].run) {
            // Bracketed parts are table columns, which this text cannot place, but
            // for the index of another workbook before a sheet or a name.
            const bool external = p[i].bracket_at_end && run_at(i + 1);
            if (p[i].brackets > (external ? 1 : 0)) reach.unknown = true;
            continue;
        }
        const std::string& run = p[i].text;
        const std::string_view after = literal_at(i + 1);
        if (!after.empty() && after[0] == '(') {
            // Functions that reach cells that their arguments do not name.
            if (SameLetters(run, "INDIRECT") || SameLetters(run, "OFFSET")) reach.unknown = true;
            continue;
        }
        if (!after.empty() && (after[0] == '!' || after[0] == '[')) continue;  // a sheet or a table
        // The sheet before "!": a name, a quoted name, or one of another workbook.
        FormulaArea place;
        bool elsewhere = false;
        const std::string_view before = i > 0 ? literal_at(i - 1) : std::string_view();
        if (before == "!" && i >= 2 && p[i - 2].run) {
            place.sheet = p[i - 2].text;
            const std::string_view ahead = i >= 3 ? literal_at(i - 3) : std::string_view();
            if (ahead == ":" && i >= 4 && p[i - 4].run) place.every_sheet = true;
            if (i >= 3 && p[i - 3].bracket_at_end) elsewhere = true;
        } else if (const std::optional<std::string> quoted = QuotedSheet(before)) {
            place.sheet = *quoted;
            if (!quoted->empty() && quoted->front() == '[') elsewhere = true;
            if (quoted->find(':') != std::string::npos) place.every_sheet = true;
        } else if (before.size() >= 2 && before.substr(before.size() - 2) == "]!") {
            elsewhere = true;
        }
        const std::optional<RefEnd> end = ReadRefEnd(run);
        std::optional<FormulaArea> area;
        // A pair before "!" names a run of worksheets ("Jan:Dec!B2").
        const std::string_view beyond = literal_at(i + 3);
        const bool pair = after == ":" && run_at(i + 2) && (beyond.empty() || beyond[0] != '!');
        if (end && IsCell(*end)) {
            area = AreaOf(*end, *end);
            if (pair) {
                if (const std::optional<RefEnd> other = ReadRefEnd(p[i + 2].text); other && IsCell(*other)) {
                    area = AreaOf(*end, *other);
                    i += 2;
                }
            }
        } else if (end && pair) {
            const std::optional<RefEnd> other = ReadRefEnd(p[i + 2].text);
            if (other && ((IsWholeColumn(*end) && IsWholeColumn(*other)) || (IsWholeRow(*end) && IsWholeRow(*other)))) {
                area = AreaOf(*end, *other);
                i += 2;
            }
        }
        if (area) {
            if (!elsewhere) {
                area->sheet = place.sheet;
                area->every_sheet = place.every_sheet;
                reach.areas.push_back(*area);
            }
            continue;
        }
        const char first = run[0];
        const bool number = std::isdigit(static_cast<unsigned char>(first)) || first == '.';
        if (number || elsewhere || SameLetters(run, "TRUE") || SameLetters(run, "FALSE")) continue;
        reach.names.push_back(run);
    }
    return reach;
}

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
        // Whole columns ("A:C") and whole rows ("2:9") come as pairs; a pair before
        // "!" names a run of worksheets ("Jan:Dec!B2").
        const std::string_view beyond = literal_at(i + 3);
        if (end && after == ":" && i + 2 < p.size() && p[i + 2].run && (beyond.empty() || beyond[0] != '!')) {
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
