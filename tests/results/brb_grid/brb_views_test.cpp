// The BRB grid's views as data: which table a view and side lay out, their sizes,
// labels, and the texts of the value column in every form.
#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "results/brb_views.h"
#include "results/grid_sizing.h"

namespace {

TOutputFormats WindowFormats() {
    TOutputFormats f;
    f.OutputLowLimit = 0.00999f;
    f.OutputHighLimit = 1e10f;
    f.OutputLowPicture = "0.000E+00";
    f.OutputHighPicture = "0.000E+00";
    f.OutputPlainPicture = "0.0";
    return f;
}

// A result's top level, read through the window's own source.
struct TopLevel {
    jsonxx::Object result;
    TopLevel(const std::map<std::string, double>& numbers, const std::map<std::string, std::string>& texts = {}) {
        std::ostringstream json;
        json.precision(17);
        json << "{";
        const char* comma = "";
        for (const auto& [key, value] : numbers) {
            json << comma << "\"" << key << "\":" << value;
            comma = ",";
        }
        for (const auto& [key, text] : texts) {
            json << comma << "\"" << key << "\":\"" << text << "\"";
            comma = ",";
        }
        json << "}";
        std::istringstream in(json.str());
        EXPECT_TRUE(result.parse(in)) << json.str();
    }
    std::vector<std::string> Texts(TBrbTable table) const {
        return BrbValueTexts(table, false, BrbTopLevelSource(result), WindowFormats());
    }
};

// One side of a Chevron bay as the result reader stores it, in single precision,
// read through the window's own side source. The other brace holds other numbers,
// so that a read of the wrong side shows.
struct Side {
    SideValueTable values;
    SideTextTable texts;
    Side(const std::map<std::string, float>& numbers, const std::map<std::string, std::string>& side_texts = {}) {
        values["LEFT"] = numbers;
        texts["LEFT"] = side_texts;
        for (const auto& [key, value] : numbers) values["RIGHT"][key] = value + 1000.0f;
        for (const auto& [key, text] : side_texts) texts["RIGHT"][key] = "other " + text;
    }
    std::vector<std::string> Texts(TBrbTable table) const {
        return BrbValueTexts(table, true, BrbSideSource(values, texts, "LEFT"), WindowFormats());
    }
};

std::vector<std::string> Labels(TBrbTable table) {
    std::vector<std::string> labels;
    for (const TBrbRow& row : BrbView(table).Rows) labels.push_back(row.Label);
    return labels;
}

int RowOf(TBrbTable table, const std::string& label) {
    const auto& rows = BrbView(table).Rows;
    for (int i = 0; i < static_cast<int>(rows.size()); ++i)
        if (rows[i].Label == label) return i;
    ADD_FAILURE() << "no row " << label;
    return 0;
}

TEST(BrbViews, EachViewAndSideLaysOutItsTableSizedToItsCells) {
    struct Case {
        int view;
        bool chevron;
        int side;
        std::optional<TBrbTable> table;
        int rows, width, height;
        const char* first_label;
    };
    const Case cases[] = {
        {0, false, 0, TBrbTable::Summary, 11, 178, 342, "Py"},
        {0, true, 1, TBrbTable::Summary, 11, 178, 342, "Py"},
        {1, false, 0, TBrbTable::Core, 22, 173, 441, "Core"},
        {2, true, 0, TBrbTable::Casing, 8, 173, 249, "Type"},
        {3, false, 0, TBrbTable::GussetDiagonal, 18, 173, 415, "Lower"},
        {3, false, 2, TBrbTable::GussetDiagonal, 18, 173, 415, "Lower"},
        {3, true, 0, TBrbTable::GussetLeft, 9, 173, 208, "Left"},
        {3, true, 1, TBrbTable::GussetMiddle, 7, 173, 162, "Middle"},
        {3, true, 2, TBrbTable::GussetRight, 9, 173, 208, "Right"},
        // No side chosen: the grid keeps one row with no label of its own.
        {3, true, -1, TBrbTable::GussetNoSide, 0, 173, 24, nullptr},
        {-1, false, 0, std::nullopt, 0, 0, 0, nullptr},
        {4, true, 0, std::nullopt, 0, 0, 0, nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE("view " + std::to_string(c.view) + (c.chevron ? " Chevron side " : " Diagonal side ") +
                     std::to_string(c.side));
        const std::optional<TBrbTable> table = BrbLayoutTable(c.view, c.chevron, c.side);
        ASSERT_EQ(table, c.table);
        if (!table) continue;
        const TBrbView& view = BrbView(*table);
        ASSERT_EQ(static_cast<int>(view.Rows.size()), c.rows);
        EXPECT_EQ(GridWidthFor({view.Col0Width, view.Col1Width}, 1), c.width);
        EXPECT_EQ(GridHeightFor(view.RowHeight, 1, std::max(c.rows, 1)), c.height);
        if (c.first_label) {
            EXPECT_EQ(view.Rows[0].Label, c.first_label);
        }
    }
}

TEST(BrbViews, LabelsKeepTheirIndentsAndGreekLetters) {
    EXPECT_EQ(Labels(TBrbTable::Summary),
              (std::vector<std::string>{"Py", "Pmax", "Keff", "Q", "\u03b1", "\u03b8y", "Lwp", "L_BRB", "Le,lower",
                                        "Le,upper", "Casing"}));
    EXPECT_EQ(Labels(TBrbTable::Core),
              (std::vector<std::string>{"Core", "        Lc", "        tc", "        Bc", "        Dc", "        Ac",
                                        "Transition", "        Lt", "        At", "Joint", "        Lj",
                                        "        Lx", "        Ln", "        Lw", "        Tw", "        tj",
                                        "        Bj", "        Dj", "        Aj", "End Slot", "        Ls",
                                        "        tg,s"}));
    EXPECT_EQ(Labels(TBrbTable::Casing), (std::vector<std::string>{"Type", "Product", "Dt,req", "Dt", "t", "Isc,req",
                                                                   "Isc", "Lsc"}));
    const std::vector<std::string> plate = {"    tg", "    Lh", "    Tb", "    Lv", "    Tc", "    tsf", "    Lsf,h",
                                            "    Lsf,v"};
    std::vector<std::string> diagonal = {"Lower"};
    diagonal.insert(diagonal.end(), plate.begin(), plate.end());
    diagonal.push_back("Upper");
    diagonal.insert(diagonal.end(), plate.begin(), plate.end());
    EXPECT_EQ(Labels(TBrbTable::GussetDiagonal), diagonal);
    std::vector<std::string> right = {"Right"};
    right.insert(right.end(), plate.begin(), plate.end());
    EXPECT_EQ(Labels(TBrbTable::GussetRight), right);
    EXPECT_EQ(Labels(TBrbTable::GussetMiddle),
              (std::vector<std::string>{"Middle", "    tg", "    Lh,mid", "    Lv,mid", "    Tb,mid", "    Lsf,mid",
                                        "    tsf,mid"}));
}

TEST(BrbViews, TheSideFillReadsTheMiddlePlateOnlyForTheMiddleItemOfTheGussetView) {
    struct Case {
        int view, side;
        std::optional<TBrbTable> table;
        const char* side_key;
    };
    const Case cases[] = {
        {0, 0, TBrbTable::Summary, "LEFT"},        {0, 1, TBrbTable::Summary, "RIGHT"},
        {1, 2, TBrbTable::Core, "RIGHT"},          {2, -1, TBrbTable::Casing, "RIGHT"},
        {3, 0, TBrbTable::GussetLeft, "LEFT"},     {3, 1, TBrbTable::GussetMiddle, "MIDDLE"},
        {3, 2, TBrbTable::GussetRight, "RIGHT"},   {3, -1, TBrbTable::GussetRight, "RIGHT"},
        {-1, 0, std::nullopt, nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE("view " + std::to_string(c.view) + " side " + std::to_string(c.side));
        const std::optional<TBrbTable> table = BrbSideFillTable(c.view, c.side);
        ASSERT_EQ(table, c.table);
        if (table) {
            EXPECT_STREQ(BrbFillSide(*table, c.side), c.side_key);
        }
    }
}

TEST(BrbViews, GussetWeldsOfTheLowerAndUpperPlateReadCjpFromTwentyMillimetres) {
    const std::map<std::string, double> base = {
        {"down_L_h", 750.2}, {"down_T_b", 21}, {"down_L_v", 1090.4}, {"down_T_c", 20}, {"t_sf", 28},
        {"down_L_sf_h", 263.5}, {"down_L_sf_v", 767.5}, {"up_L_h", 791.7}, {"up_T_b", 36}, {"up_L_v", 756.8},
        {"up_T_c", 0}, {"up_L_sf_h", 304.9}, {"up_L_sf_v", 433.8}};
    auto with_tg = [&](double tg) {
        auto numbers = base;
        numbers["t_g"] = tg;
        return TopLevel(numbers).Texts(TBrbTable::GussetDiagonal);
    };
    const std::vector<std::string> thick = with_tg(20);
    EXPECT_EQ(thick, (std::vector<std::string>{"", "20", "750.2", "CJP", "1090.4", "CJP", "28", "263.5", "767.5", "",
                                               "20", "791.7", "CJP", "756.8", "CJP", "28", "304.9", "433.8"}));
    const std::vector<std::string> thin = with_tg(19.9);
    EXPECT_EQ(thin[3], "21");
    EXPECT_EQ(thin[5], "20");
    EXPECT_EQ(thin[12], "36");
    EXPECT_EQ(thin[14], "0.");
}

TEST(BrbViews, ChevronSidePlatesHaveNoCjpRuleWhileTheMiddlePlateHasIt) {
    const std::vector<std::string> side =
        Side({{"t_g", 25}, {"down_T_b", 21}, {"down_T_c", 20}}).Texts(TBrbTable::GussetLeft);
    ASSERT_EQ(side.size(), 9u);
    EXPECT_EQ(side[0], "");
    EXPECT_EQ(side[3], "21");
    EXPECT_EQ(side[5], "20");

    auto middle = [](float tg, float lsf, float lv) {
        return Side({{"t_g", tg}, {"Lh_mid", 1583.4f}, {"Lv_mid", lv}, {"Tb_mid", 36}, {"Lsf_mid", lsf},
                     {"tsf_mid", 28}})
            .Texts(TBrbTable::GussetMiddle);
    };
    EXPECT_EQ(middle(20, 400, 800), (std::vector<std::string>{"", "20", "1583.4", "800", "CJP", "400", "28"}))
        << "Lsf_mid of exactly half of Lv_mid shows its value";
    const std::vector<std::string> thin = middle(19.9f, std::nextafter(400.0f, 0.0f), 800);
    EXPECT_EQ(thin[4], "36");
    EXPECT_EQ(thin[5], "0") << "just below half: the plain zero, not \"0.\"";
}

TEST(BrbViews, ValueFormsOfTheTopLevelAndOfASide) {
    struct Case {
        const char* what;
        TBrbTable table;
        std::string label;
        std::string key;
        std::optional<double> value;  // absent when nullopt
        std::string top_level, side;
    };
    const Case cases[] = {
        {"whole area at the top level, plain on a side", TBrbTable::Core, "        At", "A_t", 412.9, "412", "412.9"},
        {"a whole number below one", TBrbTable::Core, "        At", "A_t", 0.9, "0.", "0.9"},
        {"a negative whole number cut toward zero", TBrbTable::Core, "        Bj", "B_j", -3.7, "-3", "-3.7"},
        {"work-point length by the picture 0", TBrbTable::Summary, "Lwp", "L_wp", 456.6, "457", "457"},
        {"second moment with an exponent", TBrbTable::Casing, "Isc,req", "I_sc_required", 2.5e7, "2.50E+07",
         "2.50E+07"},
        {"drift by the picture 0.####", TBrbTable::Summary, "\u03b8y", "Theda_y", 0.00222441, "0.0022", "0.0022"},
        {"Q by the picture 0.00", TBrbTable::Summary, "Q", "Q_factor", 1.68632, "1.69", "1.69"},
        {"a very small number in exponent form", TBrbTable::Summary, "Keff", "K_eff", 0.005, "5.000E-03",
         "5.000E-03"},
        {"a zero", TBrbTable::Summary, "Pmax", "P_max", 0.0, "0.", "0."},
        // Nothing is shown that the result does not hold, on a side neither.
        {"no drift", TBrbTable::Summary, "\u03b8y", "Theda_y", std::nullopt, "?", "?"},
        {"another absent number", TBrbTable::Summary, "Py", "P_y", std::nullopt, "?", "?"},
        {"an absent whole number", TBrbTable::Core, "        Aj", "A_j", std::nullopt, "?", "?"},
        {"an absent picture", TBrbTable::Summary, "Le,lower", "Le_lower", std::nullopt, "?", "?"},
        {"an absent thickness: no CJP decision", TBrbTable::GussetDiagonal, "    tg", "t_g", std::nullopt, "?", "?"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::map<std::string, double> numbers = {{"unrelated", 7}};
        std::map<std::string, float> side_numbers = {{"unrelated", 7}};
        if (c.value) {
            numbers[c.key] = *c.value;
            side_numbers[c.key] = static_cast<float>(*c.value);
        }
        const int row = RowOf(c.table, c.label);
        EXPECT_EQ(TopLevel(numbers).Texts(c.table)[row], c.top_level);
        const TBrbTable side_table = c.table == TBrbTable::GussetDiagonal ? TBrbTable::GussetLeft : c.table;
        EXPECT_EQ(Side(side_numbers).Texts(side_table)[RowOf(side_table, c.label)], c.side);
    }
}

TEST(BrbViews, CasingTextsAndHeadings) {
    const auto casing = TopLevel({{"D_t", 550}, {"t", 9.5}},
                                 {{"Steel_Casing_Size", "SHS 550x550x9"}, {"Steel_Casing_Source", "Cold-formed"}})
                            .Texts(TBrbTable::Casing);
    EXPECT_EQ(casing, (std::vector<std::string>{"SHS 550x550x9", "Cold-formed", "?", "550", "9.5", "?", "?", "?"}))
        << "an absent number shows \"?\"";
    const auto wrong_kinds = TopLevel({{"Steel_Casing_Size", 550}}, {{"D_t", "550"}}).Texts(TBrbTable::Casing);
    EXPECT_EQ(wrong_kinds[0], "?") << "a number where a text belongs";
    EXPECT_EQ(wrong_kinds[3], "?") << "a text where a number belongs";

    const auto side = Side({{"D_t", 550}}, {{"Steel_Casing_Size", "SHS 550x550x9"}}).Texts(TBrbTable::Casing);
    EXPECT_EQ(side[0], "SHS 550x550x9");
    EXPECT_EQ(side[1], "?") << "a side without the text shows none";
    EXPECT_EQ(side[3], "550");

    for (const auto& core : {TopLevel({}).Texts(TBrbTable::Core), Side({}).Texts(TBrbTable::Core)}) {
        ASSERT_EQ(core.size(), 22u);
        for (int row = 0; row < 22; ++row) {
            const bool heading = row == 0 || row == 6 || row == 9 || row == 19;
            EXPECT_EQ(core[row], heading ? "" : "?") << "row " << row;
        }
    }
}

}  // namespace
