#include "platform/sheet/sheet.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <map>
#include <optional>
#include <set>

#include <pugixml.hpp>

#include "platform/sheet/cell_text.h"
#include "platform/sheet/formula_text.h"
#include "platform/sheet/package.h"
#include "platform/text/number_text.h"

namespace sheet {

std::string ValueToText(const Variant& value) {
    struct Visitor {
        std::string operator()(std::monostate) const { return {}; }
        std::string operator()(double number) const { return FloatToGeneralText(number); }
        std::string operator()(const std::string& text) const { return text; }
        std::string operator()(bool truth) const { return truth ? "True" : "False"; }
        std::string operator()(const CellError& error) const { return error.code; }
    };
    return std::visit(Visitor{}, value);
}

namespace {

constexpr size_t kMaxTextLength = 32767;  // characters of one cell
constexpr unsigned kParseOptions = pugi::parse_full | pugi::parse_ws_pcdata;

// ---- XML helpers: elements are compared by local name, whatever prefix a file uses ----

const char* LocalName(const char* name) {
    const char* colon = std::strrchr(name, ':');
    return colon ? colon + 1 : name;
}

bool Is(pugi::xml_node node, const char* local) {
    return node.type() == pugi::node_element && std::strcmp(LocalName(node.name()), local) == 0;
}

pugi::xml_node Child(pugi::xml_node parent, const char* local) {
    for (pugi::xml_node child : parent.children())
        if (Is(child, local)) return child;
    return {};
}

// The prefix ("x:" or "") of the element's name, for the elements made beside it.
std::string PrefixOf(pugi::xml_node node) {
    const char* name = node.name();
    const char* colon = std::strrchr(name, ':');
    return colon ? std::string(name, colon + 1) : std::string();
}

// The text of an element: its character data, CDATA included.
std::string TextOf(pugi::xml_node node) {
    std::string text;
    for (pugi::xml_node child : node.children())
        if (child.type() == pugi::node_pcdata || child.type() == pugi::node_cdata) text += child.value();
    return text;
}

// The relationship id of an element: the attribute "id" of a prefix other than none.
std::string RelationshipIdOf(pugi::xml_node node) {
    for (pugi::xml_attribute a : node.attributes()) {
        const char* name = a.name();
        if (std::strchr(name, ':') && std::strcmp(LocalName(name), "id") == 0) return a.value();
    }
    return {};
}

bool EndsWith(const std::string& text, const std::string& end) {
    return text.size() >= end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}

struct StringWriter : pugi::xml_writer {
    std::string out;
    void write(const void* data, size_t size) override { out.append(static_cast<const char*>(data), size); }
};

std::string Serialize(const pugi::xml_document& doc) {
    StringWriter writer;
    doc.save(writer, "", pugi::format_raw | pugi::format_no_declaration, pugi::encoding_utf8);
    return writer.out;
}

std::string Damaged(const std::string& file, const std::string& part, const std::string& reason) {
    return OpenFailure(file, "the part " + part + " is damaged (" + reason + ")");
}

void Parse(pugi::xml_document& doc, const std::string& bytes, const std::string& file, const std::string& part) {
    const pugi::xml_parse_result result = doc.load_buffer(bytes.data(), bytes.size(), kParseOptions);
    if (!result)
        throw Exception(Damaged(file, part,
                                std::string(result.description()) + " at byte " + std::to_string(result.offset)));
}

// ---- Package paths ----

std::string FolderOf(const std::string& part) {
    const size_t slash = part.rfind('/');
    return slash == std::string::npos ? std::string() : part.substr(0, slash);
}

std::string RelationshipsPartOf(const std::string& part) {
    const std::string folder = FolderOf(part);
    const std::string base = folder.empty() ? part : part.substr(folder.size() + 1);
    return (folder.empty() ? "" : folder + "/") + "_rels/" + base + ".rels";
}

// A relationship's target as a part name, from the folder of the part it belongs to.
std::string ResolveTarget(const std::string& folder, const std::string& target) {
    std::string joined = !target.empty() && target[0] == '/' ? target.substr(1)
                                                                : (folder.empty() ? target : folder + "/" + target);
    std::vector<std::string> segments;
    size_t start = 0;
    while (start <= joined.size()) {
        size_t end = joined.find('/', start);
        if (end == std::string::npos) end = joined.size();
        const std::string segment = joined.substr(start, end - start);
        if (segment == "..") {
            if (!segments.empty()) segments.pop_back();
        } else if (!segment.empty() && segment != ".") {
            segments.push_back(segment);
        }
        start = end + 1;
    }
    std::string out;
    for (const std::string& s : segments) out += (out.empty() ? "" : "/") + s;
    return out;
}

struct Relationship {
    std::string id, type, target;
};

std::vector<Relationship> ReadRelationships(const Package& package, const std::string& owner) {
    const std::string part = RelationshipsPartOf(owner);
    std::vector<Relationship> out;
    if (!package.Has(part)) return out;
    pugi::xml_document doc;
    Parse(doc, package.Read(part), package.FileName(), part);
    for (pugi::xml_node r : doc.document_element().children()) {
        if (!Is(r, "Relationship") || std::strcmp(r.attribute("TargetMode").value(), "External") == 0) continue;
        out.push_back({r.attribute("Id").value(), r.attribute("Type").value(),
                       ResolveTarget(FolderOf(owner), r.attribute("Target").value())});
    }
    return out;
}

const Relationship* FindType(const std::vector<Relationship>& rels, const char* type_end) {
    for (const Relationship& r : rels)
        if (EndsWith(r.type, type_end)) return &r;
    return nullptr;
}

struct Range {
    int top, left, bottom, right;
    bool Contains(int row, int column) const {
        return row >= top && row <= bottom && column >= left && column <= right;
    }
    bool Single() const { return top == bottom && left == right; }
};

std::optional<Range> ParseRange(std::string_view text) {
    const size_t colon = text.find(':');
    const auto first = ParseCellName(text.substr(0, colon));
    const auto last = colon == std::string_view::npos ? first : ParseCellName(text.substr(colon + 1));
    if (!first || !last) return std::nullopt;
    return Range{std::min(first->first, last->first), std::min(first->second, last->second),
                 std::max(first->first, last->first), std::max(first->second, last->second)};
}

std::string SharedStringText(pugi::xml_node si) {
    std::string text;
    for (pugi::xml_node child : si.children()) {
        if (Is(child, "t")) {
            text += TextOf(child);
        } else if (Is(child, "r")) {
            for (pugi::xml_node t : child.children())
                if (Is(t, "t")) text += TextOf(t);
        }
    }
    return DecodeEscapes(text);
}

}  // namespace

// ======== Workbook ====================================================================

struct Workbook::Impl {
    struct SheetEntry {
        std::string name;
        std::string part;
        std::unique_ptr<Worksheet> sheet;  // null until first reached
    };

    explicit Impl(const std::string& file) : file_name(file), package(file) {}

    std::string file_name;
    Package package;
    std::string workbook_part;
    std::vector<SheetEntry> sheets;
    std::vector<std::string> shared_strings;
    std::string calc_chain_part;
    std::string calc_chain_id;
    bool formula_removed = false;
    std::multimap<std::string, std::string> defined_names;  // by the name in capitals, its formula

    void Load();
    Worksheet& Sheet(size_t index);
    bool DropStaleFormulaValues();
    void ReadSharedStrings(const std::string& part);
    std::string WorkbookWithFullCalculation() const;
    std::string RelationshipsWithout(const std::string& id) const;
    std::string ContentTypesWithout(const std::string& part) const;
};

// ======== Worksheet ===================================================================

struct Worksheet::Impl {
    struct RowEntry {
        pugi::xml_node node;
        std::map<int, pugi::xml_node> cells;
    };

    Workbook::Impl* book = nullptr;
    std::string name;
    std::string part;
    pugi::xml_document doc;
    pugi::xml_node root;
    pugi::xml_node sheet_data;
    std::string prefix;
    std::map<int, RowEntry> rows;
    std::vector<Range> array_ranges;  // cells of multi-cell array formulas
    bool has_formulas = false;
    bool modified = false;
    std::vector<std::pair<int, int>> written;  // the cells given a value since the open (row, column)
    // The cells that use each shared formula (by its index), kept as they change, so
    // that handing a formula over does not walk its cells at every write.
    struct SharedUsers {
        std::set<std::pair<int, int>> cells;  // row, column
        std::multiset<int> columns;
    };
    std::map<std::string, SharedUsers> shared_users;

    void Load();
    std::string Damaged(const std::string& reason) const { return sheet::Damaged(book->file_name, part, reason); }
    pugi::xml_node Find(int row, int column) const;
    pugi::xml_node FindOrCreate(int row, int column);
    void Remove(int row, int column);
    std::optional<std::string> Refusal(int row, int column) const;
    struct HandOver;
    std::optional<HandOver> PlanHandOver(int row, int column) const;
    void HandOverSharedFormula(int row, int column);
    void DropSharedUser(const std::string& index, int row, int column);
    void UpdateDimension();
    pugi::xml_node MakeChild(pugi::xml_node parent, const char* local, pugi::xml_node before);
};

pugi::xml_node Worksheet::Impl::MakeChild(pugi::xml_node parent, const char* local, pugi::xml_node before) {
    const std::string name = prefix + local;
    return before ? parent.insert_child_before(name.c_str(), before) : parent.append_child(name.c_str());
}

void Worksheet::Impl::Load() {
    Parse(doc, book->package.Read(part), book->file_name, part);
    root = doc.document_element();
    if (!Is(root, "worksheet")) throw Exception(Damaged("it holds no worksheet"));
    prefix = PrefixOf(root);
    sheet_data = Child(root, "sheetData");
    if (!sheet_data) {
        // Its place comes after these, when they are there.
        pugi::xml_node after;
        for (pugi::xml_node child : root.children())
            for (const char* local : {"sheetPr", "dimension", "sheetViews", "sheetFormatPr", "cols"})
                if (Is(child, local)) after = child;
        const std::string tag = prefix + "sheetData";
        sheet_data = after ? root.insert_child_after(tag.c_str(), after) : root.prepend_child(tag.c_str());
    }
    int previous_row = 0;
    for (pugi::xml_node row : sheet_data.children()) {
        if (!Is(row, "row")) continue;
        int number = previous_row + 1;
        if (pugi::xml_attribute r = row.attribute("r")) {
            number = r.as_int(0);
        } else {
            row.append_attribute("r") = number;  // cells added later must not move the ones after them
        }
        if (number <= previous_row || number > kMaxRow) throw Exception(Damaged("rows out of order"));
        previous_row = number;
        RowEntry& entry = rows[number];
        entry.node = row;
        int previous_column = 0;
        for (pugi::xml_node c : row.children()) {
            if (!Is(c, "c")) continue;
            int column = previous_column + 1;
            if (pugi::xml_attribute r = c.attribute("r")) {
                const auto cell = ParseCellName(r.value());
                if (!cell || cell->first != number) throw Exception(Damaged(std::string("cell ") + r.value()));
                column = cell->second;
            } else {
                c.append_attribute("r") = CellName(number, column).c_str();
            }
            if (column <= previous_column || column > kMaxColumn)
                throw Exception(Damaged("cells out of order in row " + std::to_string(number)));
            previous_column = column;
            entry.cells[column] = c;
            if (pugi::xml_node f = Child(c, "f")) {
                has_formulas = true;
                const std::string kind = f.attribute("t").value();
                if (kind == "shared" && TextOf(f).empty()) {
                    SharedUsers& users = shared_users[f.attribute("si").value()];
                    users.cells.emplace(number, column);
                    users.columns.insert(column);
                }
                const auto range = ParseRange(f.attribute("ref").value());
                if (range && !range->Single() && kind == "array") array_ranges.push_back(*range);
            }
        }
    }
}

pugi::xml_node Worksheet::Impl::Find(int row, int column) const {
    const auto r = rows.find(row);
    if (r == rows.end()) return {};
    const auto c = r->second.cells.find(column);
    return c == r->second.cells.end() ? pugi::xml_node() : c->second;
}

pugi::xml_node Worksheet::Impl::FindOrCreate(int row, int column) {
    auto r = rows.find(row);
    if (r == rows.end()) {
        const auto next = rows.upper_bound(row);
        pugi::xml_node node = MakeChild(sheet_data, "row", next == rows.end() ? pugi::xml_node() : next->second.node);
        node.append_attribute("r") = row;
        r = rows.emplace(row, RowEntry{node, {}}).first;
    }
    RowEntry& entry = r->second;
    entry.node.remove_attribute("spans");  // a hint only, which new cells would falsify
    if (const auto c = entry.cells.find(column); c != entry.cells.end()) return c->second;
    const auto next = entry.cells.upper_bound(column);
    pugi::xml_node before = next != entry.cells.end() ? next->second : Child(entry.node, "extLst");
    pugi::xml_node cell = MakeChild(entry.node, "c", before);
    cell.append_attribute("r") = CellName(row, column).c_str();
    entry.cells[column] = cell;
    return cell;
}

void Worksheet::Impl::Remove(int row, int column) {
    auto r = rows.find(row);
    if (r == rows.end()) return;
    auto c = r->second.cells.find(column);
    if (c == r->second.cells.end()) return;
    r->second.node.remove_child(c->second);
    r->second.cells.erase(c);
}

// The first cell of a shared formula holds its text and the range of the cells that
// may use it; the others name it by its index alone.
struct Worksheet::Impl::HandOver {
    struct User {
        int row, column;
        pugi::xml_node formula;
        std::string text;  // the shared text as it reads in this cell; empty until needed
    };
    std::vector<User> users;  // in row order, then column order
    std::string index;
    Range range{};  // of the users
    bool shared = false;  // the first user starts the shared formula anew
};

namespace {

bool IsShared(pugi::xml_node f) { return f && std::strcmp(f.attribute("t").value(), "shared") == 0; }

std::string RangeName(const Range& r) {
    return r.Single() ? CellName(r.top, r.left) : CellName(r.top, r.left) + ":" + CellName(r.bottom, r.right);
}

}  // namespace

// What overwriting the cell does to a formula that others share with it: nothing
// (no plan needed) for a cell that does not start one; a plan for its users; no plan
// when the text cannot be carried over to them.
std::optional<Worksheet::Impl::HandOver> Worksheet::Impl::PlanHandOver(int row, int column) const {
    HandOver plan;
    const pugi::xml_node cell = Find(row, column);
    const pugi::xml_node f = cell ? Child(cell, "f") : pugi::xml_node();
    const std::optional<Range> range = IsShared(f) ? ParseRange(f.attribute("ref").value()) : std::nullopt;
    const std::string text = TextOf(f);
    if (!range || text.empty()) return plan;
    plan.index = f.attribute("si").value();
    const auto found = shared_users.find(plan.index);
    if (found == shared_users.end() || found->second.cells.empty()) return plan;
    const SharedUsers& users = found->second;
    const auto at = [&](const std::pair<int, int>& cell) {
        return HandOver::User{cell.first, cell.second, Child(Find(cell.first, cell.second), "f"), {}};
    };
    Range& box = plan.range;
    box = {users.cells.begin()->first, *users.columns.begin(), users.cells.rbegin()->first, *users.columns.rbegin()};
    const Range area = range.value_or(Range{});
    const bool inside = area.Contains(box.top, box.left) && area.Contains(box.bottom, box.right);
    if (!inside) {
        // A damaged sheet with users outside the range: only those inside count.
        for (const auto& cell : users.cells)
            if (area.Contains(cell.first, cell.second)) plan.users.push_back(at(cell));
        if (plan.users.empty()) return plan;
        box = {plan.users.front().row, plan.users.front().column, plan.users.front().row, plan.users.front().column};
        for (const HandOver::User& u : plan.users) {
            box.left = std::min(box.left, u.column);
            box.right = std::max(box.right, u.column);
            box.bottom = std::max(box.bottom, u.row);
        }
    }
    // The first user takes the text over when it is the corner of the rest, as the
    // first cell of a shared formula always is; otherwise every user gets its own.
    const int first_column = inside ? users.cells.begin()->second : plan.users.front().column;
    plan.shared = box.left == first_column && !box.Single();
    if (inside) {
        for (const auto& cell : users.cells) {
            plan.users.push_back(at(cell));
            if (plan.shared) break;
        }
    }
    for (HandOver::User& u : plan.users) {
        const std::optional<std::string> shifted = ShiftFormula(text, u.row - row, u.column - column);
        if (!shifted) return std::nullopt;
        u.text = *shifted;
        if (plan.shared) break;
    }
    return plan;
}

void Worksheet::Impl::DropSharedUser(const std::string& index, int row, int column) {
    const auto found = shared_users.find(index);
    if (found == shared_users.end() || !found->second.cells.erase({row, column})) return;
    found->second.columns.erase(found->second.columns.find(column));
}

void Worksheet::Impl::HandOverSharedFormula(int row, int column) {
    const std::optional<HandOver> plan = PlanHandOver(row, column);
    if (!plan) throw Exception(*Refusal(row, column));
    // A user of a shared formula leaves it.
    if (const pugi::xml_node f = Child(Find(row, column), "f"); IsShared(f) && TextOf(f).empty())
        DropSharedUser(f.attribute("si").value(), row, column);
    for (const HandOver::User& u : plan->users) {
        pugi::xml_node f = u.formula;
        f.text() = u.text.c_str();
        DropSharedUser(plan->index, u.row, u.column);
        if (plan->shared) {
            pugi::xml_attribute ref = f.attribute("ref");
            if (!ref) ref = f.append_attribute("ref");
            ref = RangeName(plan->range).c_str();
            return;
        }
        for (const char* attribute : {"t", "si", "ref"}) f.remove_attribute(attribute);
    }
}

std::optional<std::string> Worksheet::Impl::Refusal(int row, int column) const {
    const std::string cell = CellName(row, column);
    for (const Range& range : array_ranges)
        if (range.Contains(row, column))
            return "The cell " + cell + " of the worksheet \"" + name +
                   "\" is part of an array formula and cannot be changed.";
    if (!PlanHandOver(row, column))
        return "The cell " + cell + " of the worksheet \"" + name +
               "\" holds a formula that other cells share, which cannot be carried over to them, so it cannot be "
               "changed.";
    return std::nullopt;
}

void Worksheet::Impl::UpdateDimension() {
    pugi::xml_node dimension = Child(root, "dimension");
    if (!dimension) return;
    int top = 0, bottom = 0, left = 0, right = 0;
    for (const auto& [number, entry] : rows) {
        if (entry.cells.empty()) continue;
        if (top == 0) top = number;
        bottom = number;
        const int first = entry.cells.begin()->first, last = entry.cells.rbegin()->first;
        left = left == 0 ? first : std::min(left, first);
        right = std::max(right, last);
    }
    const std::string ref = top != 0 ? RangeName({top, left, bottom, right}) : "A1";
    pugi::xml_attribute a = dimension.attribute("ref");
    if (!a) a = dimension.append_attribute("ref");
    a = ref.c_str();
}

Worksheet::Worksheet(std::unique_ptr<Impl> impl) : impl_(std::move(impl)) {}
Worksheet::~Worksheet() = default;

const std::string& Worksheet::Name() const { return impl_->name; }

CellRef Worksheet::Cells(int row, int column) {
    if (row < 1 || row > kMaxRow || column < 1 || column > kMaxColumn)
        throw Exception("There is no cell at row " + std::to_string(row) + ", column " + std::to_string(column) +
                        " of a worksheet.");
    return CellRef(this, row, column);
}

// ======== Cells =======================================================================

Variant CellRef::Value() const {
    const Worksheet::Impl& s = *sheet_->impl_;
    const pugi::xml_node cell = s.Find(row_, column_);
    if (!cell) return std::monostate{};
    const std::string type = cell.attribute("t").value();
    const pugi::xml_node v = Child(cell, "v");
    const std::string stored = v ? TextOf(v) : std::string();
    if (type == "inlineStr") {
        const pugi::xml_node is = Child(cell, "is");
        return is ? SharedStringText(is) : std::string();
    }
    // A formula saved without its result (as some programs write them) reads as a
    // cell not yet calculated: empty, or the empty text for a formula of text.
    if (!v || stored.empty()) return type == "str" ? Variant(std::string()) : Variant(std::monostate{});
    if (type == "s") {
        const auto index = ParseNumberText(stored);
        const auto& strings = s.book->shared_strings;
        if (!index || *index < 0 || *index >= static_cast<double>(strings.size()) || *index != std::floor(*index))
            throw Exception(s.Damaged("cell " + CellName(row_, column_) + " names no text"));
        return strings[static_cast<size_t>(*index)];
    }
    if (type == "str" || type == "d") return DecodeEscapes(stored);
    if (type == "b") return stored == "1" || stored == "true";
    if (type == "e") return CellError{stored};
    const auto number = ParseNumberText(stored);
    if (!number) throw Exception(s.Damaged("cell " + CellName(row_, column_) + " holds no number"));
    return *number;
}

bool CellRef::HasFormula() const {
    const pugi::xml_node cell = sheet_->impl_->Find(row_, column_);
    return cell && Child(cell, "f");
}

std::optional<std::string> CellRef::Refusal() const { return sheet_->impl_->Refusal(row_, column_); }

void CellRef::SetValue(const Variant& value) {
    Worksheet::Impl& s = *sheet_->impl_;
    if (const std::optional<std::string> refusal = s.Refusal(row_, column_)) throw Exception(*refusal);
    std::string text;
    if (const double* number = std::get_if<double>(&value); number && !std::isfinite(*number))
        throw Exception("The cell " + CellName(row_, column_) + " cannot hold the number " +
                        FloatToGeneralText(*number) + ".");
    if (const std::string* t = std::get_if<std::string>(&value)) {
        text = ValidUtf8(*t);
        size_t characters = 0;
        for (unsigned char c : text) characters += (c & 0xC0) != 0x80 ? (c >= 0xF0 ? 2 : 1) : 0;
        if (characters > kMaxTextLength)
            throw Exception("The cell " + CellName(row_, column_) + " cannot hold a text of more than " +
                            std::to_string(kMaxTextLength) + " characters.");
    }

    const bool clear = std::holds_alternative<std::monostate>(value);
    pugi::xml_node cell = clear ? s.Find(row_, column_) : s.FindOrCreate(row_, column_);
    if (!cell) return;
    s.modified = true;
    s.written.emplace_back(row_, column_);
    if (Child(cell, "f")) {
        s.HandOverSharedFormula(row_, column_);
        s.book->formula_removed = true;
    }
    for (const char* local : {"f", "v", "is"})
        while (pugi::xml_node child = Child(cell, local)) cell.remove_child(child);
    for (const char* attribute : {"t", "vm", "cm"}) cell.remove_attribute(attribute);
    const pugi::xml_node before = Child(cell, "extLst");

    if (clear) {
        // A cell with a format keeps it; one with nothing left goes.
        const bool bare = !cell.first_child() && std::distance(cell.attributes_begin(), cell.attributes_end()) == 1;
        if (bare) s.Remove(row_, column_);
        return;
    }
    if (const double* number = std::get_if<double>(&value)) {
        s.MakeChild(cell, "v", before).text() = NumberText(*number).c_str();
    } else if (std::holds_alternative<std::string>(value)) {
        cell.append_attribute("t") = "inlineStr";
        pugi::xml_node t = s.MakeChild(s.MakeChild(cell, "is", before), "t", {});
        const std::string stored = EncodeEscapes(text);
        const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\n'; };
        if (!stored.empty() && (blank(stored.front()) || blank(stored.back())))
            t.append_attribute("xml:space") = "preserve";
        t.append_child(pugi::node_pcdata).set_value(stored.c_str());
    } else if (const bool* truth = std::get_if<bool>(&value)) {
        cell.append_attribute("t") = "b";
        s.MakeChild(cell, "v", before).text() = *truth ? "1" : "0";
    } else if (const CellError* error = std::get_if<CellError>(&value)) {
        cell.append_attribute("t") = "e";
        s.MakeChild(cell, "v", before).text() = ValidUtf8(error->code).c_str();
    }
}

// ======== Workbook ====================================================================

void Workbook::Impl::Load() {
    const std::vector<Relationship> root_rels = ReadRelationships(package, "");
    const Relationship* office = FindType(root_rels, "/officeDocument");
    workbook_part = package.StoredName(office ? office->target : "xl/workbook.xml");
    if (workbook_part.empty()) throw Exception(OpenFailure(file_name, "it holds no workbook"));

    pugi::xml_document doc;
    Parse(doc, package.Read(workbook_part), file_name, workbook_part);
    const pugi::xml_node root = doc.document_element();
    if (!Is(root, "workbook")) throw Exception(OpenFailure(file_name, "it holds no workbook"));
    const std::vector<Relationship> rels = ReadRelationships(package, workbook_part);
    for (pugi::xml_node sheet : Child(root, "sheets").children()) {
        if (!Is(sheet, "sheet")) continue;
        const std::string id = RelationshipIdOf(sheet);
        const auto rel = std::find_if(rels.begin(), rels.end(), [&](const Relationship& r) { return r.id == id; });
        if (rel == rels.end() || !EndsWith(rel->type, "/worksheet")) continue;  // chart sheets and the like
        const std::string part = package.StoredName(rel->target);
        const std::string name = sheet.attribute("name").value();
        if (part.empty()) throw Exception(OpenFailure(file_name, "the worksheet \"" + name + "\" is missing"));
        sheets.push_back({name, part, nullptr});
    }
    if (sheets.empty()) throw Exception(OpenFailure(file_name, "it holds no worksheet"));
    for (pugi::xml_node name : Child(root, "definedNames").children()) {
        if (!Is(name, "definedName")) continue;
        defined_names.emplace(InCapitals(name.attribute("name").value()), TextOf(name));
    }
    if (const Relationship* strings = FindType(rels, "/sharedStrings")) {
        const std::string part = package.StoredName(strings->target);
        if (part.empty()) throw Exception(OpenFailure(file_name, "the part " + strings->target + " is missing"));
        ReadSharedStrings(part);
    }
    if (const Relationship* chain = FindType(rels, "/calcChain")) {
        calc_chain_part = package.StoredName(chain->target);
        calc_chain_id = chain->id;
    }
}

void Workbook::Impl::ReadSharedStrings(const std::string& part) {
    pugi::xml_document doc;
    Parse(doc, package.Read(part), file_name, part);
    for (pugi::xml_node si : doc.document_element().children())
        if (Is(si, "si")) shared_strings.push_back(SharedStringText(si));
}

// The workbook part asking for every formula to be calculated again on opening, since
// cells that formulas read have changed.
std::string Workbook::Impl::WorkbookWithFullCalculation() const {
    pugi::xml_document doc;
    Parse(doc, package.Read(workbook_part), file_name, workbook_part);
    pugi::xml_node root = doc.document_element();
    pugi::xml_node calc = Child(root, "calcPr");
    if (!calc) {
        pugi::xml_node after;
        for (pugi::xml_node child : root.children())
            for (const char* local :
                 {"fileVersion", "fileSharing", "workbookPr", "workbookProtection", "bookViews", "sheets",
                  "functionGroups", "externalReferences", "definedNames"})
                if (Is(child, local)) after = child;
        const std::string tag = PrefixOf(root) + "calcPr";
        calc = after ? root.insert_child_after(tag.c_str(), after) : root.prepend_child(tag.c_str());
    }
    pugi::xml_attribute full = calc.attribute("fullCalcOnLoad");
    if (!full) full = calc.append_attribute("fullCalcOnLoad");
    full = "1";
    return Serialize(doc);
}

std::string Workbook::Impl::RelationshipsWithout(const std::string& id) const {
    const std::string part = package.StoredName(RelationshipsPartOf(workbook_part));
    pugi::xml_document doc;
    Parse(doc, package.Read(part), file_name, part);
    pugi::xml_node root = doc.document_element();
    for (pugi::xml_node r = root.first_child(); r;) {
        pugi::xml_node next = r.next_sibling();
        if (Is(r, "Relationship") && id == r.attribute("Id").value()) root.remove_child(r);
        r = next;
    }
    return Serialize(doc);
}

std::string Workbook::Impl::ContentTypesWithout(const std::string& part) const {
    const std::string types = package.StoredName("[Content_Types].xml");
    pugi::xml_document doc;
    Parse(doc, package.Read(types), file_name, types);
    pugi::xml_node root = doc.document_element();
    for (pugi::xml_node o = root.first_child(); o;) {
        pugi::xml_node next = o.next_sibling();
        if (Is(o, "Override") && SameLetters(o.attribute("PartName").value(), "/" + part)) root.remove_child(o);
        o = next;
    }
    return Serialize(doc);
}

Worksheet& Workbook::Impl::Sheet(size_t index) {
    SheetEntry& entry = sheets[index];
    if (!entry.sheet) {
        auto impl = std::make_unique<Worksheet::Impl>();
        impl->book = this;
        impl->name = entry.name;
        impl->part = entry.part;
        impl->Load();
        entry.sheet.reset(new Worksheet(std::move(impl)));
    }
    return *entry.sheet;
}

namespace {

// One formula cell of a workbook and what it reads.
struct FormulaCell {
    size_t sheet;
    int row, column;
    std::optional<Range> array;  // the cells an array formula fills
    FormulaReach reach;
    bool stale = false;
};

// The cells of each worksheet whose values are no longer what the formulas that read
// them were calculated from.
using ChangedCells = std::vector<std::map<int, std::set<int>>>;

bool AnyIn(const std::map<int, std::set<int>>& cells, const FormulaArea& area) {
    for (auto r = cells.lower_bound(area.top); r != cells.end() && r->first <= area.bottom; ++r) {
        const auto c = r->second.lower_bound(area.left);
        if (c != r->second.end() && *c <= area.right) return true;
    }
    return false;
}

// The reach with the defined names it uses replaced by what they name.
void AddNamed(FormulaReach& reach, const std::multimap<std::string, std::string>& names, int depth) {
    std::vector<std::string> used;
    used.swap(reach.names);
    for (const std::string& name : used) {
        const auto [first, last] = names.equal_range(InCapitals(name));
        for (auto it = first; it != last; ++it) {
            // Names that name names without end are taken for unknown.
            if (depth > 8) {
                reach.unknown = true;
                return;
            }
            FormulaReach named = ReadFormulaReach(it->second);
            AddNamed(named, names, depth + 1);
            reach.areas.insert(reach.areas.end(), named.areas.begin(), named.areas.end());
            reach.unknown = reach.unknown || named.unknown;
        }
    }
}

}  // namespace

// A formula that reads a cell given a value since the open (or another such formula)
// has a stored result that no longer holds. Some spreadsheet programs show a stored
// result without calculating it again, whatever the workbook asks, so the result is
// dropped and they calculate the formula when they open the workbook. True when the
// workbook may hold formulas at all.
bool Workbook::Impl::DropStaleFormulaValues() {
    bool formulas = false;
    std::vector<FormulaCell> cells;
    ChangedCells changed(sheets.size());
    for (size_t index = 0; index < sheets.size(); ++index) {
        Worksheet::Impl* s = nullptr;
        try {
            s = Sheet(index).impl_.get();
        } catch (const Exception&) {
            // A damaged worksheet is copied as it is stored; it may hold formulas.
            formulas = true;
            continue;
        }
        for (const auto& [row, column] : s->written) changed[index][row].insert(column);
        if (!s->has_formulas) continue;
        formulas = true;
        // The first cell of a shared formula holds its text for the cells that use it.
        struct Master {
            int row, column;
            std::string text;
        };
        std::map<std::string, Master> masters;
        for (const auto& [row, entry] : s->rows)
            for (const auto& [column, cell] : entry.cells)
                if (pugi::xml_node f = Child(cell, "f"); IsShared(f) && !TextOf(f).empty())
                    masters.emplace(f.attribute("si").value(), Master{row, column, TextOf(f)});
        for (const auto& [row, entry] : s->rows) {
            for (const auto& [column, cell] : entry.cells) {
                const pugi::xml_node f = Child(cell, "f");
                if (!f) continue;
                FormulaCell formula{index, row, column, std::nullopt, {}, false};
                const std::string kind = f.attribute("t").value();
                std::optional<std::string> text = TextOf(f);
                if (kind == "shared" && text->empty()) {
                    const auto master = masters.find(f.attribute("si").value());
                    text = master == masters.end()
                               ? std::nullopt
                               : ShiftFormula(master->second.text, row - master->second.row,
                                              column - master->second.column);
                }
                if (kind == "array") formula.array = ParseRange(f.attribute("ref").value());
                if (!text || kind == "dataTable") {
                    formula.reach.unknown = true;
                } else {
                    formula.reach = ReadFormulaReach(*text);
                    AddNamed(formula.reach, defined_names, 0);
                }
                cells.push_back(std::move(formula));
            }
        }
    }

    const auto sheet_index = [&](const std::string& name) -> std::optional<size_t> {
        for (size_t i = 0; i < sheets.size(); ++i)
            if (SameLetters(sheets[i].name, name)) return i;
        return std::nullopt;
    };
    const auto reads_changed = [&](const FormulaCell& f) {
        if (f.reach.unknown) return true;
        for (const FormulaArea& area : f.reach.areas) {
            if (area.every_sheet) {
                for (const auto& cells_of_sheet : changed)
                    if (AnyIn(cells_of_sheet, area)) return true;
                continue;
            }
            const std::optional<size_t> sheet = area.sheet.empty() ? f.sheet : sheet_index(area.sheet);
            if (sheet && AnyIn(changed[*sheet], area)) return true;
        }
        return false;
    };
    const auto drop_value = [&](Worksheet::Impl& s, int row, int column) {
        pugi::xml_node cell = s.Find(row, column);
        if (!cell) return;
        bool dropped = false;
        while (pugi::xml_node v = Child(cell, "v")) {
            cell.remove_child(v);
            dropped = true;
        }
        if (!dropped) return;
        for (const char* attribute : {"t", "vm"}) cell.remove_attribute(attribute);
        s.modified = true;
    };
    // In row order a formula below the one it reads is found in the same pass.
    for (bool again = true; again;) {
        again = false;
        for (FormulaCell& f : cells) {
            if (f.stale || !reads_changed(f)) continue;
            f.stale = again = true;
            Worksheet::Impl& s = *sheets[f.sheet].sheet->impl_;
            const Range area = f.array.value_or(Range{f.row, f.column, f.row, f.column});
            changed[f.sheet][f.row].insert(f.column);
            // The cells an array fills all hold a part of its result.
            for (auto r = s.rows.lower_bound(area.top); r != s.rows.end() && r->first <= area.bottom; ++r) {
                const auto& row_cells = r->second.cells;
                for (auto c = row_cells.lower_bound(area.left); c != row_cells.end() && c->first <= area.right; ++c) {
                    drop_value(s, r->first, c->first);
                    changed[f.sheet][r->first].insert(c->first);
                }
            }
        }
    }
    return formulas;
}

Workbook::Workbook(const std::string& file_name) : impl_(std::make_unique<Impl>(file_name)) {
    try {
        impl_->Load();
    } catch (const Exception& e) {
        throw Exception(WithKeptCopy(file_name, e.Message()));
    }
}
Workbook::~Workbook() = default;

const std::string& Workbook::FullName() const { return impl_->file_name; }

void Workbook::CheckSavable() const {
    if (const std::optional<std::string> refusal = SaveRefusal(impl_->file_name)) throw Exception(*refusal);
}

SaveOutcome Workbook::SaveAs(const std::string& file_name) {
    Impl& b = *impl_;
    std::map<std::string, std::string> replaced;
    std::set<std::string> dropped;
    bool changed = false;
    for (Impl::SheetEntry& entry : b.sheets) changed = changed || (entry.sheet && entry.sheet->impl_->modified);
    const bool formulas = changed && b.DropStaleFormulaValues();
    for (Impl::SheetEntry& entry : b.sheets) {
        if (!entry.sheet || !entry.sheet->impl_->modified) continue;
        Worksheet::Impl& s = *entry.sheet->impl_;
        s.UpdateDimension();
        replaced[s.part] = Serialize(s.doc);
    }
    const bool drop_chain = changed && b.formula_removed && !b.calc_chain_part.empty();
    if (drop_chain) {
        // The list of formula cells would name a cell that has none now; the
        // spreadsheet application builds it again.
        dropped.insert(b.calc_chain_part);
        replaced[b.package.StoredName(RelationshipsPartOf(b.workbook_part))] = b.RelationshipsWithout(b.calc_chain_id);
        if (b.package.Has("[Content_Types].xml"))
            replaced[b.package.StoredName("[Content_Types].xml")] = b.ContentTypesWithout(b.calc_chain_part);
    }
    if (changed && (formulas || !b.calc_chain_part.empty())) replaced[b.workbook_part] = b.WorkbookWithFullCalculation();
    const WriteOutcome outcome = b.package.Write(file_name, replaced, dropped);
    b.file_name = outcome.file_name;
    // The formulas that read them are saved without a result now.
    for (Impl::SheetEntry& entry : b.sheets)
        if (entry.sheet) entry.sheet->impl_->written.clear();
    if (drop_chain) {
        b.calc_chain_part.clear();
        b.calc_chain_id.clear();
    }
    SaveOutcome saved;
    saved.Notice = outcome.notice;
    if (!outcome.diverted_because.empty())
        saved.Beside = SavedBeside{file_name, outcome.file_name, outcome.diverted_because};
    return saved;
}

// ======== Lists =======================================================================

int WorksheetList::Count() const { return static_cast<int>(book_->impl_->sheets.size()); }

Worksheet& WorksheetList::Item(int index) {
    Workbook::Impl& b = *book_->impl_;
    if (index < 1 || index > Count())
        throw Exception("The workbook \"" + b.file_name + "\" has no worksheet " + std::to_string(index) + ".");
    try {
        return b.Sheet(static_cast<size_t>(index - 1));
    } catch (const Exception& e) {
        throw Exception(WithKeptCopy(b.file_name, e.Message()));
    }
}

Workbook& WorkbookList::Open(const std::string& file_name) {
    books_.push_back(std::unique_ptr<Workbook>(new Workbook(file_name)));
    return *books_.back();
}

}  // namespace sheet
