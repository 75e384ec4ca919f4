#include "results/check_views.h"

namespace {

using K = TCheckViewKind;

std::vector<std::string> Numbered(const std::string& stem, const std::string& tail) {
    std::vector<std::string> names;
    for (int k = 1; k <= 6; ++k) names.push_back(stem + std::to_string(k) + tail);
    return names;
}

std::vector<std::string> Joined(std::vector<std::string> head, const std::vector<std::string>& tail) {
    head.insert(head.end(), tail.begin(), tail.end());
    return head;
}

// The lists' own names; a fill overwrites them with its catalogue's symbols.
const std::vector<std::string>& BoltedListNames() {
    static const std::vector<std::string> names =
        Joined(Joined({"DCR-1", "DCR-2", "DCR-3", "DCR-4", "DCR-5", "DCR-6-Lower", "DCR-6-Upper", "DCR-7", "DCR-8",
                       "DCR-9", "DCR-10-Lower", "DCR-10-Upper", "DCR-11-Lower", "DCR-11-Upper"},
                      Numbered("DCR-12-", "-Lower")),
               Numbered("DCR-12-", "-Upper"));
    return names;
}

const std::vector<std::string>& DiagonalWeldedListNames() {
    static const std::vector<std::string> names =
        Joined(Joined({"DCR-1", "DCR-2", "DCR-3-Lower", "DCR-3-Upper", "DCR-4", "DCR-5-Lower", "DCR-5-Upper",
                       "DCR-6-Lower", "DCR-6-Upper"},
                      Numbered("DCR-7-", "-Lower")),
               Numbered("DCR-7-", "-Upper"));
    return names;
}

const std::vector<std::string>& ChevronWeldedListNames() {
    static const std::vector<std::string> names =
        Joined({"DCR-1", "DCR-2", "DCR-3-Upper", "DCR-3-Lower", "DCR-4", "DCR-5-Upper", "DCR-5-Lower", "DCR-6-Upper",
                "DCR-6-Lower"},
               Numbered("DCR-7-", ""));
    return names;
}

const std::vector<std::string> kBoltedMiddleNames = {"DCR-12-1-Middle", "DCR-12-2-Middle", "DCR-12-3-Middle"};
const std::vector<std::string> kWeldedMiddleNames = {"DCR-7-1-Middle", "DCR-7-2-Middle", "DCR-7-3-Middle"};

const std::vector<std::string> kDetailTitles = {"Symbol", "Limit \nState", "Unit", "Demand", "Capacity", "DCR",
                                                "Check"};
const std::vector<std::string> kDetailWithPartTitles = {"Symbol", "Limit \nState", "Part", "Unit", "Demand",
                                                        "Capacity", "DCR", "Check"};
const std::vector<std::string> kConnectionTitles = {"Symbol", "Limit \nState", "Part",   "Connection", "Item",
                                                    "Unit",   "Demand",        "Capacity", "DCR",      "Check"};

std::optional<K> BoltedSideView(int item) {
    if (item == 0) return K::ListBolted;
    if (item == 1) return K::Detail;
    if (item >= 2 && item <= 5) return K::DetailTall;
    if (item == 6 || item == 7) return K::DetailWithPartTall;
    if (item >= 8 && item <= 10) return K::Detail;
    if (item >= 11 && item <= 14) return K::DetailWithPart;
    if (item >= 15 && item <= 26) return K::ConnectionDetail;
    return std::nullopt;
}

// The welded catalogues agree up to the first connection check; the Diagonal one goes
// on with the lower plate's six.
std::optional<K> WeldedSideView(int item, bool chevron) {
    if (item == 0) return chevron ? K::ListChevronWelded : K::ListDiagonalWelded;
    if (item == 1 || item == 5) return K::Detail;
    if (item == 2) return K::DetailTall;
    if (item == 3 || item == 4) return K::DetailWithPartTall;
    if (item >= 6 && item <= 9) return K::DetailWithPart;
    if (item >= 10 && item <= (chevron ? 15 : 21)) return K::ConnectionDetail;
    return std::nullopt;
}

std::optional<K> MiddleView(int item) {
    if (item == 0) return K::ListMiddle;
    if (item >= 1 && item <= 3) return K::ConnectionDetail;
    return std::nullopt;
}

}  // namespace

TCheckFamily CheckFamilyOf(const std::string& cfg, const std::string& ctype) {
    const bool bolted = ctype == "Bolted";
    if (cfg == "Chevron") return bolted ? TCheckFamily::ChevronBolted : TCheckFamily::ChevronWelded;
    return bolted ? TCheckFamily::DiagonalBolted : TCheckFamily::DiagonalWelded;
}

bool IsChevron(TCheckFamily family) {
    return family == TCheckFamily::ChevronWelded || family == TCheckFamily::ChevronBolted;
}

bool IsBolted(TCheckFamily family) {
    return family == TCheckFamily::DiagonalBolted || family == TCheckFamily::ChevronBolted;
}

const TCheckViewShape& CheckViewShape(TCheckViewKind kind) {
    static const TCheckViewShape kBoltedList{3, 17, 7, {94, 30, 40}, 0};
    static const TCheckViewShape kWeldedList{3, 22, 8, {94, 30, 40}, 0};
    static const TCheckViewShape kMiddleList{3, 22, 8, {100, 30, 34}, 0};
    static const TCheckViewShape kShort{2, 28, 10, {70, 100}, 45};
    static const TCheckViewShape kTall{2, 28, 10, {70, 100}, 80};
    static const TCheckViewShape kConnection{2, 32, 8, {70, 105}, 95};
    switch (kind) {
        case K::ListBolted: return kBoltedList;
        case K::ListDiagonalWelded:
        case K::ListChevronWelded: return kWeldedList;
        case K::ListMiddle: return kMiddleList;
        case K::Detail:
        case K::DetailWithPart: return kShort;
        case K::DetailTall:
        case K::DetailWithPartTall: return kTall;
        case K::ConnectionDetail: break;
    }
    return kConnection;
}

std::vector<std::string> CheckViewTitles(TCheckViewKind kind, bool bolted) {
    switch (kind) {
        case K::ListBolted: return BoltedListNames();
        case K::ListDiagonalWelded: return DiagonalWeldedListNames();
        case K::ListChevronWelded: return ChevronWeldedListNames();
        case K::ListMiddle: return bolted ? kBoltedMiddleNames : kWeldedMiddleNames;
        case K::Detail:
        case K::DetailTall: return kDetailTitles;
        case K::DetailWithPart:
        case K::DetailWithPartTall: return kDetailWithPartTitles;
        case K::ConnectionDetail: break;
    }
    return kConnectionTitles;
}

std::optional<TCheckViewKind> CheckViewFor(TCheckFamily family, int side_index, int item_index) {
    if (IsChevron(family) && side_index != 0 && side_index != 2) return MiddleView(item_index);
    if (IsBolted(family)) return BoltedSideView(item_index);
    return WeldedSideView(item_index, IsChevron(family));
}

bool IsCheckList(TCheckViewKind kind) {
    return kind == K::ListBolted || kind == K::ListDiagonalWelded || kind == K::ListChevronWelded ||
           kind == K::ListMiddle;
}

const std::vector<std::string>& CheckOptionItems(TCheckOptionList list) {
    static const std::vector<std::string> kBolted = {
        "all",          "DCR-1",        "DCR-2",        "DCR-3",    "DCR-4",    "DCR-5",       "DCR-6-upper",
        "DCR-6-lower",  "DCR-7",        "DCR-8",        "DCR-9",    "DCR-10-upper", "DCR-10-lower",
        "DCR-11-upper", "DCR-11-lower", "DCR-12-1",     "DCR-12-2", "DCR-12-3", "DCR-12-4",    "DCR-12-5",
        "DCR-12-6"};
    static const std::vector<std::string> kWelded =
        Joined({"all", "DCR-1", "DCR-2", "DCR-3-upper", "DCR-3-lower", "DCR-4", "DCR-5-upper", "DCR-5-lower",
                "DCR-6-upper", "DCR-6-lower"},
               Numbered("DCR-7-", ""));
    static const std::vector<std::string> kWeldedSide =
        Joined({"all", "DCR-1", "DCR-2", "DCR-3-Upper", "DCR-3-Lower", "DCR-4", "DCR-5-Upper", "DCR-5-Lower",
                "DCR-6-Upper", "DCR-6-Lower"},
               Numbered("DCR-7-", ""));
    static const std::vector<std::string> kBoltedMiddle = {"all", "DCR-12-1", "DCR-12-2", "DCR-12-3"};
    static const std::vector<std::string> kWeldedMiddle = {"all", "DCR-7-1", "DCR-7-2", "DCR-7-3"};
    switch (list) {
        case TCheckOptionList::Bolted: return kBolted;
        case TCheckOptionList::Welded: return kWelded;
        case TCheckOptionList::WeldedSide: return kWeldedSide;
        case TCheckOptionList::BoltedMiddle: return kBoltedMiddle;
        case TCheckOptionList::WeldedMiddle: break;
    }
    return kWeldedMiddle;
}

TCheckOptionList ChevronCheckOptionList(bool bolted, bool middle, bool capitalised) {
    if (bolted) return middle ? TCheckOptionList::BoltedMiddle : TCheckOptionList::Bolted;
    if (middle) return TCheckOptionList::WeldedMiddle;
    return capitalised ? TCheckOptionList::WeldedSide : TCheckOptionList::Welded;
}

TColor CheckRowColor(bool list_view, int row, int row_count, const std::string& col1, const std::string& col2,
                     TColor even, TColor odd) {
    if (list_view) {
        if (!col2.empty()) return clRed;
    } else if (row == row_count - 1) {
        // Lime says the check passed; a verdict that is not known takes no colour.
        if (col1 == "NG") return clRed;
        if (col1 == "OK") return clLime;
    }
    return row % 2 == 1 ? odd : even;
}
