// The workbook batch over real .xlsx files against the local design service: rows
// that run, rows skipped, rows that cannot be designed, the stop row, the cells
// written and everything else of the package kept; workbooks that cannot be read or
// written; the switch panels and the list's double click. The workbooks come from
// the tests' own minimal OOXML writer (support/xlsx_fixture.h), shaped as other
// spreadsheet programs save them: shared and inline texts, styles, a second
// worksheet, formulas filled down and formulas saved without their result.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <chrono>
#include <fstream>
#include <regex>

#include "batch/workbook_batch.h"
#include "platform/os/date_time.h"
#include "platform/sheet/package.h"
#include "support/fixtures.h"
#include "support/form_environment.h"
#include "support/xlsx_fixture.h"

namespace {

namespace fx = xlsx_fixture;
using testing_support::ErrorBox;
using testing_support::FormEnvironment;
using Box = ui::HeadlessBackend::Box;
using sheet::Variant;

const std::string kBeam = "H594 x 302 x 14 x 23";

std::string Num(const std::string& ref, const std::string& value) {
    return "<c r=\"" + ref + "\"><v>" + value + "</v></c>";
}
std::string Str(const std::string& ref, const std::string& text) {
    return "<c r=\"" + ref + "\" t=\"inlineStr\"><is><t>" + text + "</t></is></c>";
}
std::string Shared(const std::string& ref, int index) {
    return "<c r=\"" + ref + "\" t=\"s\"><v>" + std::to_string(index) + "</v></c>";
}
std::string Row(int number, const std::string& cells) {
    return "<row r=\"" + std::to_string(number) + "\">" + cells + "</row>";
}

// One design case: capacity, thickness, height, length, mark, beam, column depth.
std::string Case(int row, const std::string& capacity, const std::string& tc, const std::string& height,
                 const std::string& length, const std::string& mark, const std::string& beam, const std::string& depth,
                 const std::string& before_beam = "", const std::string& after_depth = "") {
    const std::string r = std::to_string(row);
    std::string cells = Num("A" + r, capacity) + Num("B" + r, tc) + Num("C" + r, height) + Num("D" + r, length) + mark;
    // Cells stand in column order.
    return Row(row, cells + before_beam + (beam.empty() ? "" : Str("L" + r, beam)) + Num("S" + r, depth) + after_depth);
}

// What each written column holds, written out from the workbook's layout: the
// number under a result key, or one of the other kinds.
enum class Kind { Number, Weld, Text, Verdict, RunTime, TgOverTc, Fixed, AjOverAc, Date };
struct WrittenColumn {
    int column;
    Kind kind;
    const char* key;
};
const WrittenColumn kWritten[] = {
    {6, Kind::Number, "L_wp"}, {14, Kind::Number, "P_max"},
    {20, Kind::Number, "DCR_1"}, {21, Kind::Number, "DCR_2"}, {22, Kind::Number, "DCR_3_up"},
    {23, Kind::Number, "DCR_3_down"}, {24, Kind::Number, "DCR_4"}, {25, Kind::Number, "DCR_5_up"},
    {26, Kind::Number, "DCR_5_down"}, {27, Kind::Number, "DCR_6_up"}, {28, Kind::Number, "DCR_6_down"},
    {29, Kind::Number, "DCR_7_up_c1"}, {30, Kind::Number, "DCR_7_up_c2"}, {31, Kind::Number, "DCR_7_up_c3"},
    {32, Kind::Number, "DCR_7_up_c4"}, {33, Kind::Number, "DCR_7_up_c5"}, {34, Kind::Number, "DCR_7_up_c6"},
    {35, Kind::Number, "DCR_7_down_c1"}, {36, Kind::Number, "DCR_7_down_c2"}, {37, Kind::Number, "DCR_7_down_c3"},
    {38, Kind::Number, "DCR_7_down_c4"}, {39, Kind::Number, "DCR_7_down_c5"}, {40, Kind::Number, "DCR_7_down_c6"},
    {41, Kind::Number, "L_c"}, {42, Kind::Number, "L_wp"}, {43, Kind::Number, "Alpha_L"},
    {44, Kind::Number, "K_eff"}, {45, Kind::Number, "Q_factor"}, {46, Kind::Number, "Theda_y"},
    {47, Kind::Verdict, ""}, {49, Kind::RunTime, ""},
    {50, Kind::Number, "t_c"}, {51, Kind::Number, "t_g"}, {52, Kind::TgOverTc, ""},
    {53, Kind::Fixed, "My Brace"}, {54, Kind::Fixed, "Welded End-Slot BRB"},
    {55, Kind::Number, "P_y"}, {56, Kind::Number, "P_max"}, {57, Kind::Number, "K_eff"},
    {58, Kind::Number, "Q_factor"}, {59, Kind::Number, "Alpha_L"}, {60, Kind::Number, "H_col"},
    {61, Kind::Number, "L_beam"}, {62, Kind::Number, "L_wp"}, {63, Kind::Number, "Le_lower"},
    {64, Kind::Number, "Le_upper"}, {65, Kind::Number, "L_brb"}, {66, Kind::Number, "t_c"},
    {67, Kind::Number, "t_j"}, {68, Kind::Number, "B_c"}, {69, Kind::Number, "D_c"},
    {70, Kind::Number, "B_j"}, {71, Kind::Number, "D_j"}, {72, Kind::Number, "L_c"},
    {73, Kind::Number, "L_t"}, {74, Kind::Number, "L_x"}, {75, Kind::Number, "L_n"}, {76, Kind::Number, "L_w"},
    {77, Kind::Text, "Steel_Casing_Size"},
    {78, Kind::Number, "L_sc"}, {79, Kind::Number, "t_g"}, {80, Kind::Number, "down_L_h"},
    {81, Kind::Weld, "down_T_b"}, {82, Kind::Number, "down_L_v"}, {83, Kind::Weld, "down_T_c"},
    {84, Kind::Number, "t_sf"}, {85, Kind::Number, "down_L_sf_h"}, {86, Kind::Number, "down_L_sf_v"},
    {87, Kind::Number, "t_g"}, {88, Kind::Number, "up_L_h"}, {89, Kind::Weld, "up_T_b"},
    {90, Kind::Number, "up_L_v"}, {91, Kind::Weld, "up_T_c"},
    {92, Kind::Number, "t_sf"}, {93, Kind::Number, "up_L_sf_h"}, {94, Kind::Number, "up_L_sf_v"},
    {95, Kind::Number, "Theda_y"}, {96, Kind::Number, "A_c"}, {97, Kind::Number, "A_t"},
    {98, Kind::Number, "A_j"}, {99, Kind::AjOverAc, ""},
    {101, Kind::Number, "Casing_Self_Volume"}, {102, Kind::Number, "Motar_Self_Volume"},
    {103, Kind::Number, "Core_Self_Volume"},
    {105, Kind::Number, "Casing_Self_Weight"}, {106, Kind::Number, "Motar_Self_Weight"},
    {107, Kind::Number, "Core_Self_Weight"}, {108, Kind::Number, "Total_Weight"},
    {110, Kind::Number, "Gusset_DOWN_Area"}, {111, Kind::Number, "Gusset_DOWN_Volume"},
    {112, Kind::Number, "Gusset_DOWN_Weight"},
    {114, Kind::Number, "Gusset_UP_Area"}, {115, Kind::Number, "Gusset_UP_Volume"},
    {116, Kind::Number, "Gusset_UP_Weight"},
    {117, Kind::Date, ""},
};

bool IsWritten(int column) {
    return std::any_of(std::begin(kWritten), std::end(kWritten), [&](const WrittenColumn& w) { return w.column == column; });
}

class WorkbookBatch : public ::testing::Test {
protected:
    void SetUp() override {
        SetNow(15);
        form = env.Create();
        ASSERT_NE(form, nullptr);
        env.Headless().TakeBoxes();
        env.Service().ClearRequestTargets();
    }
    void TearDown() override { os::UseRealNow(); }

    static void SetNow(int hour) {
        using namespace std::chrono;
        os::SetTestNow(sys_days{year{2021} / June / 25} + hours{hour} + minutes{4} + seconds{5});
    }

    // Writes the workbook, answers the dialog with it and runs the batch as a click.
    bool RunBatch(const std::string& rows, const std::string& notes = "") {
        parts = fx::Workbook(fx::SheetXml(rows, "A1:DN9"), fx::SharedStrings({"<t>Capacity</t>", "<t>tc</t>"}));
        if (!notes.empty()) parts = fx::LibreOfficeShaped(fx::Workbook(fx::SheetXml(rows, "A1:DN9"),
                                                                       fx::SharedStrings({"<t>Capacity</t>", "<t>tc</t>"}),
                                                                       fx::SheetXml(notes)));
        fx::Write(file, parts);
        return RunBatchOnFile();
    }
    bool RunBatchOnFile(const std::filesystem::path& chosen = {}) {
        env.Headless().QueueFileAnswer((chosen.empty() ? file : chosen).string());
        return ui::Dispatch([this] { form->Button1->OnClick(form->Button1); });
    }
    int Runs() const {
        int runs = 0;
        for (const std::string& m : env.Methods()) runs += m.rfind("RUN_ZORV_PROJECT/", 0) == 0;
        return runs;
    }
    std::vector<std::string> ListEntries() const { return form->CheckListBox_Batch->Items().List(); }
    Variant Cell(int row, int column, const std::filesystem::path& from = {}) {
        sheet::Application app;
        return app.Workbooks().Open((from.empty() ? file : from).string()).Worksheets().Item(1).Cells(row, column).Value();
    }
    // Columns 1 to 118 of a row, as stored.
    std::vector<Variant> RowCells(int row) {
        sheet::Application app;
        sheet::Worksheet& s = app.Workbooks().Open(file.string()).Worksheets().Item(1);
        std::vector<Variant> cells;
        for (int column = 1; column <= 118; ++column) cells.push_back(s.Cells(row, column).Value());
        return cells;
    }
    // A row that got no result of its own holds what it held before, with the mark
    // and the date.
    void ExpectMarked(int row, const std::vector<Variant>& before) {
        const std::vector<Variant> after = RowCells(row);
        for (int column = 1; column <= 118; ++column) {
            const Variant expected = column == 47    ? Variant(std::string(kBatchNoResult))
                                     : column == 117 ? Variant(os::NowAsText())
                                                     : before[column - 1];
            EXPECT_EQ(after[column - 1], expected) << "row " << row << ", column " << column;
        }
    }
    // Every part but the first worksheet, as stored.
    void ExpectOtherPartsKept(const std::filesystem::path& in = {}) {
        const fx::Parts after = fx::Read(in.empty() ? file : in);
        ASSERT_EQ(after.size(), parts.size());
        for (size_t i = 0; i < parts.size(); ++i) {
            EXPECT_EQ(after[i].first, parts[i].first);
            if (parts[i].first != "xl/worksheets/sheet1.xml" && parts[i].first != "xl/workbook.xml") {
                EXPECT_EQ(after[i].second, parts[i].second) << parts[i].first;
            }
        }
    }
    std::string Messages() {
        std::string all;
        for (const Box& box : env.Headless().TakeBoxes()) all += box.text + "\n";
        return all;
    }

    FormEnvironment env;
    DOVEREForm* form = nullptr;
    fx::TempFolder folder;
    std::filesystem::path file = folder / "cases.xlsx";
    fx::Parts parts;
};

TEST_F(WorkbookBatch, RunsEachUsableRowAndWritesItsResultsBack) {
    const std::string rows =
        Row(1, Shared("A1", 0) + Shared("B1", 1) + Str("AV1", "header 48")) +
        Case(2, "100", "20", "4000", "5000", Str("E2", "A1"), kBeam, "500", "", Str("AV2", "note 48")) +
        Case(3, "100", "21", "4100", "5100", Str("E3", "A2"), kBeam, "510", Str("F3", "earlier")) +  // no such class
        Case(4, "150", "20", "4200", "5200", Str("E4", "A3"), "", "520") +                           // no beam: skipped
        Case(5, "150", "20", "1000", "5000", Str("E5", "A4"), kBeam, "500", Str("F5", "earlier")) +  // out of range
        Case(6, "150", "20", "3500", "6000", Str("E6", ""), kBeam, "450") +
        Row(7, Num("A7", "200") + Num("B7", "20")) + Row(8, Str("E8", "after the stop"));
    // Cells beyond the written columns and in the gaps between them.
    std::string with_gaps = rows;
    with_gaps.insert(with_gaps.find("</row>", with_gaps.find("<row r=\"2\"")),
                     Str("CV2", "col 100") + Str("CZ2", "col 104") + Str("DE2", "col 109") + Str("DI2", "col 113") +
                         Str("DN2", "col 118"));
    ASSERT_TRUE(RunBatch(with_gaps));

    const std::vector<Box> boxes = env.Headless().TakeBoxes();
    ASSERT_FALSE(boxes.empty());
    EXPECT_EQ(boxes.front(), (Box{ui::BoxKind::Message, file.string()}));
    ASSERT_EQ(boxes.size(), 2u) << "the chosen file, then the range message of row 5";
    EXPECT_EQ(boxes[1].text.rfind("Hcol is allowable between ", 0), 0u) << boxes[1].text;
    EXPECT_EQ(Runs(), 2) << "row 5 stops at the input check";
    EXPECT_EQ(ListEntries(), (std::vector<std::string>{"100-20-A1", "100-21-A2", "150-20-A3", "150-20-A4", "150-20-"}));
    EXPECT_EQ(form->Button1->Caption(), "7");
    EXPECT_EQ(form->Caption(), "3") << "the run count";
    EXPECT_EQ(form->ComboBox_Py->Text(), "150tonf(tc=20mm)");
    EXPECT_TRUE(form->ComboBox_Py->Enabled());
    EXPECT_EQ(form->LabeledEdit_H_col->Text(), "3500");
    EXPECT_EQ(form->LabeledEdit_d_c_right->Text(), "450");
    EXPECT_TRUE(form->BatchStore.empty());

    // Row 6, the last that ran, holds its own result in every written column.
    const jsonxx::Object& result = form->ResultObject;
    EXPECT_EQ(result.get<double>("H_col"), 3500);
    for (auto [a, b] : {std::pair{"Le_lower", "Le_upper"}, {"DCR_3_up", "DCR_3_down"}, {"L_t", "L_x"},
                        {"up_L_sf_h", "up_L_sf_v"}})
        ASSERT_NE(result.get<double>(a), result.get<double>(b)) << "the case must tell " << a << " from " << b;
    const auto single = [&](const char* key) {
        EXPECT_TRUE(result.has<double>(key)) << key;
        return Variant(static_cast<double>(static_cast<float>(result.get<double>(key))));
    };
    const std::vector<Variant> row6 = RowCells(6);
    ASSERT_EQ(std::size(kWritten), 95u);
    for (const WrittenColumn& w : kWritten) {
        Variant expected;
        switch (w.kind) {
            case Kind::Number: expected = single(w.key); break;
            case Kind::Weld:
                expected = result.get<double>("t_g") > 20 ? Variant(std::string("CJP")) : single(w.key);
                break;
            case Kind::Text: expected = result.get<std::string>(w.key); break;
            case Kind::Verdict: expected = std::string("OK"); break;
            case Kind::RunTime: expected = static_cast<double>(form->RunTimeMs); break;
            case Kind::TgOverTc:
                expected = static_cast<double>(static_cast<float>(result.get<double>("t_g")) /
                                               static_cast<float>(result.get<double>("t_c")));
                break;
            case Kind::Fixed: expected = std::string(w.key); break;
            case Kind::AjOverAc:
                expected = static_cast<double>(static_cast<float>(result.get<double>("A_j")) /
                                               static_cast<float>(result.get<double>("A_c")));
                break;
            case Kind::Date: expected = std::string("06/25/21 15:04:05"); break;
        }
        EXPECT_EQ(row6[w.column - 1], expected) << "column " << w.column << " " << w.key;
    }
    for (int column = 1; column <= 118; ++column) {
        if (!IsWritten(column) && column > 5 && column != 12 && column != 19) {
            EXPECT_EQ(row6[column - 1], Variant(std::monostate{})) << "column " << column;
        }
    }
    EXPECT_EQ(std::get<double>(row6[48]), std::floor(std::get<double>(row6[48]))) << "whole milliseconds";

    // Row 2 ran with its own inputs.
    EXPECT_EQ(Cell(2, 60), Variant(4000.0));  // H_col
    EXPECT_EQ(Cell(2, 61), Variant(5000.0));  // L_beam
    EXPECT_EQ(Cell(2, 50), Variant(20.0));    // t_c
    EXPECT_EQ(Cell(2, 47), Variant(std::string("OK")));
    // Row 5 read no result of its own: marked, and what it held stays.
    EXPECT_EQ(Cell(5, 47), Variant(std::string(kBatchNoResult)));
    EXPECT_EQ(Cell(5, 117), Variant(std::string("06/25/21 15:04:05")));
    EXPECT_EQ(Cell(5, 6), Variant(std::string("earlier")));
    EXPECT_EQ(Cell(5, 60), Variant(std::monostate{})) << "no value of another row";
    // Rows 3 and 4 were skipped: nothing written.
    for (int row : {3, 4}) {
        for (const WrittenColumn& w : kWritten) {
            if (!(row == 3 && w.column == 6)) {
                EXPECT_EQ(Cell(row, w.column), Variant(std::monostate{})) << row << "," << w.column;
            }
        }
    }
    EXPECT_EQ(Cell(3, 6), Variant(std::string("earlier")));
    // What the batch never writes survives.
    EXPECT_EQ(Cell(1, 1), Variant(std::string("Capacity")));
    EXPECT_EQ(Cell(1, 48), Variant(std::string("header 48")));
    EXPECT_EQ(Cell(2, 48), Variant(std::string("note 48")));
    EXPECT_EQ(Cell(2, 12), Variant(kBeam));
    EXPECT_EQ(Cell(2, 19), Variant(500.0));
    EXPECT_EQ(Cell(2, 5), Variant(std::string("A1")));
    for (auto [column, text] : {std::pair{100, "col 100"}, {104, "col 104"}, {109, "col 109"}, {113, "col 113"},
                                {118, "col 118"}})
        EXPECT_EQ(Cell(2, column), Variant(std::string(text)));
    EXPECT_EQ(Cell(8, 5), Variant(std::string("after the stop")));
    EXPECT_EQ(Cell(7, 6), Variant(std::monostate{}));
    ExpectOtherPartsKept();
    EXPECT_EQ(folder.Names(), std::vector<std::string>{"cases.xlsx"});
}

TEST_F(WorkbookBatch, TheVerdictIsOKOnlyForACaseWithoutAFailedCheck) {
    // Cases of the local service that fail none, one, two and ten of their checks.
    const struct {
        const char *capacity, *tc, *height, *length;
        int failed;
        const char* verdict;
    } cases[] = {
        {"100", "20", "4000", "5000", 0, "OK"},
        {"100", "16", "2000", "8000", 1, "NG"},
        {"50", "12", "2000", "8000", 2, "NG"},
        {"1200", "50", "2000", "3000", 10, "NG"},
    };
    std::string rows;
    int row = 2;
    for (const auto& c : cases) {
        const std::string r = std::to_string(row++);
        rows += Case(std::stoi(r), c.capacity, c.tc, c.height, c.length, Str("E" + r, r), kBeam, "500");
    }
    ASSERT_TRUE(RunBatch(rows));
    EXPECT_EQ(Runs(), 4);
    row = 2;
    for (const auto& c : cases) {
        const std::vector<Variant> cells = RowCells(row++);
        EXPECT_EQ(cells[59], Variant(std::stod(c.height))) << "the row's own run";
        // The check ratios of columns 20 to 40 that reach 1 are the failed checks.
        int failed = 0;
        for (int column = 20; column <= 40; ++column) failed += std::get<double>(cells[column - 1]) >= 1.0;
        ASSERT_EQ(failed, c.failed) << "the case of row " << row - 1;
        EXPECT_EQ(cells[46], Variant(std::string(c.verdict))) << c.failed << " failed";
    }
}

TEST_F(WorkbookBatch, AnEmptyMarkInTheFirstRowEndsAtOnceAndSavesTheWorkbookUnchanged) {
    ASSERT_TRUE(RunBatch(Row(2, Num("A2", "100") + Num("B2", "20") + Str("L2", kBeam))));
    EXPECT_EQ(Runs(), 0);
    EXPECT_TRUE(ListEntries().empty()) << "the stored entries go";
    EXPECT_EQ(form->Button1->Caption(), "2");
    EXPECT_EQ(fx::Read(file), parts);
    EXPECT_EQ(env.Headless().TakeBoxes(), (std::vector<Box>{{ui::BoxKind::Message, file.string()}}));
}

TEST_F(WorkbookBatch, ARerunWhileTheServiceFailsKeepsTheEarlierResults) {
    const std::string rows = Case(2, "100", "20", "4000", "5000", Str("E2", "A1"), kBeam, "500") +
                             Case(3, "150", "20", "4500", "5000", Str("E3", "A2"), kBeam, "500");
    ASSERT_TRUE(RunBatch(rows));
    ASSERT_EQ(Cell(3, 60), Variant(4500.0));
    const std::vector<Variant> before2 = RowCells(2), before3 = RowCells(3);
    env.Headless().TakeBoxes();

    zorv_service::Fault fault;
    fault.status = 500;
    env.Service().FailMethod("RUN_ZORV_PROJECT", fault);
    env.Service().ClearRequestTargets();
    SetNow(16);
    ASSERT_TRUE(RunBatchOnFile());
    EXPECT_EQ(Runs(), 2);
    EXPECT_EQ(form->Caption(), "2") << "both runs are counted";
    ExpectMarked(2, before2);
    ExpectMarked(3, before3);
    const std::vector<Box> boxes = env.Headless().TakeBoxes();
    EXPECT_EQ(std::count(boxes.begin(), boxes.end(), testing_support::ConnectionBox()), 2);

    // A result whose number a row's cell cannot take in single precision is no result
    // for the row; a run of the window, which shows no such cell, takes it.
    const std::string result = std::regex_replace(testing_support::FixtureText("run-result-diagonal-welded.json"),
                                                  std::regex("\"Motar_Self_Volume\":[-0-9.eE+]+"),
                                                  "\"Motar_Self_Volume\":1e39");
    env.Service().FailMethod("RUN_ZORV_PROJECT", testing_support::ReplyFault("{\"result\":[" + result + "]}"));
    ASSERT_TRUE(RunBatchOnFile());
    ExpectMarked(2, before2);
    ExpectMarked(3, before3);
    const Box refused = ErrorBox("The design service answered without a complete result. Result key "
                                 "\"Motar_Self_Volume\" holds a number out of range: 1e+39.");
    EXPECT_EQ(env.Headless().TakeBoxes(), (std::vector<Box>{{ui::BoxKind::Message, file.string()}, refused, refused}));
    EXPECT_TRUE(form->RunDesign());
    EXPECT_EQ(form->ResultObject.get<double>("Motar_Self_Volume"), 1e39);
}

TEST_F(WorkbookBatch, AFlatCoreTakesItsClassFromTheFlatList) {
    form->ComboBox_BRB_Type->SetItemIndex(1);
    ASSERT_TRUE(ui::Dispatch([this] { form->ComboBox_BRB_TypeChange(form->ComboBox_BRB_Type); }));
    env.Service().ClearRequestTargets();
    const std::string cross = form->ComboBox_Py->Text();
    // A class of the flat list, "<capacity>tonf(tc=<thickness>mm)".
    const std::string name = form->ComboBox_SP_Py->Items().Strings(3);
    const size_t tonf = name.find("tonf(tc="), mm = name.find("mm)");
    ASSERT_NE(tonf, std::string::npos);
    const std::string capacity = name.substr(0, tonf), tc = name.substr(tonf + 8, mm - tonf - 8);
    ASSERT_TRUE(RunBatch(Case(2, capacity, tc, "4000", "5000", Str("E2", "F1"), kBeam, "500")));
    EXPECT_EQ(form->ComboBox_SP_Py->Text(), name);
    EXPECT_EQ(form->ComboBox_Py->Text(), cross) << "the cross-type list is left alone";
    ASSERT_EQ(Runs(), 1);
    EXPECT_NE(env.Methods().back().find(name), std::string::npos);
    EXPECT_EQ(Cell(2, 50), Variant(std::stod(tc)));
}

// What the user sees while the batch holds the window: a box of each run (here the
// stopped service's) finds the class selector of the core type disabled, and the
// manual clock shows the pause before every row, the stop row's included.
TEST_F(WorkbookBatch, WhileItRunsTheClassSelectorIsLockedAndEachRowWaitsFirst) {
    zorv_service::Fault stopped;
    stopped.status = 500;
    env.Service().FailMethod("RUN_ZORV_PROJECT", stopped);
    const std::int64_t start = env.App().NowMs();
    std::vector<std::string> log;
    const auto at = [&] { return " at " + std::to_string(env.App().NowMs() - start); };
    TEdit* height = form->LabeledEdit_H_col;
    const auto typed = height->OnChange;
    height->OnChange = [&, typed](TObject* sender) {
        log.push_back("height " + height->Text() + at());
        if (typed) typed(sender);
    };
    const auto state = [](const TComboBox* box) { return box->Enabled() ? " on" : " off"; };
    env.Headless().SetWhileBoxOpen([&](const Box& box) {
        if (box.kind == ui::BoxKind::Error)
            log.push_back(std::string("run") + at() + ": cross" + state(form->ComboBox_Py) + ", flat" +
                          state(form->ComboBox_SP_Py) + ", batch" + (form->Button1->Enabled() ? " on" : " off"));
    });
    const std::string other_beam = "H600 x 300 x 12 x 20";
    ASSERT_TRUE(RunBatch(Case(2, "100", "20", "4100", "5000", Str("E2", "A1"), kBeam, "500") +
                         Case(3, "100", "20", "4200", "5000", Str("E3", "A2"), "", "500") +  // no beam
                         Case(4, "150", "20", "4300", "5000", Str("E4", "A3"), kBeam, "500") +
                         Case(5, "100", "21", "4400", "5000", Str("E5", "A4"), other_beam, "500")));  // no class
    env.Headless().SetWhileBoxOpen({});
    height->OnChange = typed;
    EXPECT_EQ(log, (std::vector<std::string>{"height 4100 at 10", "run at 10: cross off, flat on, batch on",
                                             "height 4200 at 20", "height 4300 at 30",
                                             "run at 30: cross off, flat on, batch on", "height 4400 at 40"}));
    EXPECT_EQ(env.App().NowMs() - start, 50) << "the stop row waits too";
    EXPECT_EQ(form->Button1->Caption(), "6");
    EXPECT_EQ(form->Caption(), other_beam) << "the last row read put its beam into the title before it was skipped";
    EXPECT_TRUE(form->ComboBox_Py->Enabled());

    // A flat core locks its own list.
    form->ComboBox_BRB_Type->SetItemIndex(1);
    ASSERT_TRUE(ui::Dispatch([this] { form->ComboBox_BRB_TypeChange(form->ComboBox_BRB_Type); }));
    env.Headless().TakeBoxes();
    const std::string name = form->ComboBox_SP_Py->Items().Strings(3);
    const size_t tonf = name.find("tonf(tc="), mm = name.find("mm)");
    ASSERT_NE(tonf, std::string::npos);
    log.clear();
    env.Headless().SetWhileBoxOpen([&](const Box& box) {
        if (box.kind == ui::BoxKind::Error)
            log.push_back(std::string("cross") + state(form->ComboBox_Py) + ", flat" + state(form->ComboBox_SP_Py));
    });
    const bool cross_enabled = form->ComboBox_Py->Enabled();
    ASSERT_TRUE(RunBatch(Case(2, name.substr(0, tonf), name.substr(tonf + 8, mm - tonf - 8), "4000", "5000",
                              Str("E2", "F1"), kBeam, "500")));
    env.Headless().SetWhileBoxOpen({});
    EXPECT_EQ(log, (std::vector<std::string>{std::string("cross") + (cross_enabled ? " on" : " off") + ", flat off"}));
    EXPECT_TRUE(form->ComboBox_SP_Py->Enabled());
    EXPECT_EQ(form->Caption(), "1") << "the run count after a row that ran";
}

TEST_F(WorkbookBatch, RowsWhoseCellsCannotBeReadAreMarkedAndTheBatchGoesOn) {
    const std::string rows =
        Case(2, "100", "20", "4000", "5000", Str("E2", "A1"), kBeam, "500") +
        Row(3, Num("A3", "100") + Num("B3", "20") + Str("C3", "4000mm") + Str("E3", "A2") + Str("F3", "earlier") +
                   Str("L3", kBeam) + Num("S3", "500") + Num("AU3", "0.5")) +
        Row(4, Num("A4", "100") + Num("B4", "20") + Num("C4", "4000") + Str("D4", "five thousand") + Str("E4", "A3") +
                   Str("L4", kBeam) + "<c r=\"S4\" s=\"1\"><f>250*2</f><v></v></c>") +
        Case(5, "100", "20", "4000", "5000", Str("E5", "A4"), "H594 x 302 x 14", "500", Str("F5", "earlier")) +
        Row(6, Num("A6", "150") + Num("B6", "20") + "<c r=\"C6\"><f>3000+700</f><v>3700</v></c>" + Num("D6", "5000") +
                   Str("E6", "A5") + Str("L6", kBeam) + Num("S6", "450"));
    const std::vector<Variant> none(118);
    ASSERT_TRUE(RunBatch(rows));
    EXPECT_EQ(Messages(),
              file.string() + "\n"
              "Row 3 is not designed: the column height in cell C3, \"4000mm\", is not a whole number; the beam length "
              "in cell D3 is empty. It is marked \"NO RESULT\".\n"
              "Row 4 is not designed: the beam length in cell D4, \"five thousand\", is not a whole number; the column "
              "depth in cell S4 is a formula without a calculated value. It is marked \"NO RESULT\".\n"
              "Row 5 is not designed: the beam section in cell L5, \"H594 x 302 x 14\", is not a designation of four "
              "numbers (depth x width x web x flange thickness). It is marked \"NO RESULT\".\n");
    EXPECT_EQ(Runs(), 2) << "rows 2 and 6";
    EXPECT_EQ(form->Caption(), "2");
    EXPECT_EQ(ListEntries(), (std::vector<std::string>{"100-20-A1", "100-20-A2", "100-20-A3", "100-20-A4", "150-20-A5"}));
    EXPECT_EQ(Cell(2, 60), Variant(4000.0));
    EXPECT_EQ(Cell(6, 60), Variant(3700.0)) << "a formula's stored result is its value";
    EXPECT_EQ(Cell(6, 50), Variant(20.0));
    for (int row : {3, 4, 5}) {
        EXPECT_EQ(Cell(row, 47), Variant(std::string(kBatchNoResult))) << row;
        EXPECT_EQ(Cell(row, 117), Variant(os::NowAsText())) << row;
        EXPECT_EQ(Cell(row, 60), Variant(std::monostate{})) << "nothing of row 2's design in row " << row;
    }
    EXPECT_EQ(Cell(3, 6), Variant(std::string("earlier")));
    EXPECT_EQ(Cell(5, 6), Variant(std::string("earlier")));
    EXPECT_EQ(Cell(3, 47), Variant(std::string(kBatchNoResult))) << "over the number it held";
    EXPECT_EQ(Cell(4, 19), Variant(std::monostate{}));
    EXPECT_NE(fx::Part(fx::Read(file), "xl/worksheets/sheet1.xml").find("<c r=\"S4\" s=\"1\"><f>250*2</f>"),
              std::string::npos)
        << "the input formula stays";
}

TEST_F(WorkbookBatch, AnErrorThatStopsTheBatchKeepsTheRowsBeforeIt) {
    // Row 3 names a shared text that the workbook does not have.
    ASSERT_FALSE(RunBatch(Case(2, "100", "20", "4000", "5000", Str("E2", "A1"), kBeam, "500") +
                          Row(3, "<c r=\"A3\" t=\"s\"><v>7</v></c>" + Num("B3", "20") + Str("E3", "A2")) +
                          Case(4, "150", "20", "4500", "5000", Str("E4", "A3"), kBeam, "500")));
    EXPECT_EQ(Runs(), 1);
    EXPECT_EQ(form->Button1->Caption(), "3");
    const std::vector<Box> boxes = env.Headless().TakeBoxes();
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_EQ(boxes[1], ErrorBox("Cannot open the workbook \"" + file.string() +
                                 "\": the part xl/worksheets/sheet1.xml is damaged (cell A3 names no text).\n"
                                 "The batch stopped at row 3; the rows before it are saved."));
    EXPECT_EQ(Cell(2, 60), Variant(4000.0));
    EXPECT_EQ(Cell(3, 47), Variant(std::string(kBatchNoResult)));
    EXPECT_EQ(Cell(4, 47), Variant(std::monostate{}));
    EXPECT_TRUE(form->ComboBox_Py->Enabled());

    // An error inside a run: every row would meet it, so the batch stops there too.
    const std::string slab = form->LabeledEdit_Slab_Thickness->Text();
    form->LabeledEdit_Slab_Thickness->SetText("thick");
    ASSERT_FALSE(RunBatch(Case(2, "100", "20", "4000", "5000", Str("E2", "A1"), kBeam, "500")));
    EXPECT_EQ(env.Headless().TakeBoxes().back(),
              ErrorBox("'thick' is not a valid integer value\nThe batch stopped at row 2; the rows before it are "
                       "saved."));
    EXPECT_EQ(Cell(2, 47), Variant(std::string(kBatchNoResult)));
    EXPECT_TRUE(form->ComboBox_Py->Enabled());

    // Another program saved the workbook before the stop: the rows go beside it.
    form->LabeledEdit_Slab_Thickness->SetText(slab);
    const std::string theirs = fx::Bytes(fx::Workbook(fx::SheetXml(""), fx::SharedStrings({})));
    env.Headless().SetWhileBoxOpen([&](const Box& box) {
        if (box.text.rfind("Hcol is allowable between ", 0) == 0) fx::SaveInPlace(file, theirs);
    });
    ASSERT_FALSE(RunBatch(Case(2, "100", "20", "4000", "5000", Str("E2", "A1"), kBeam, "500") +
                          Case(3, "100", "20", "1000", "5000", Str("E3", "A2"), kBeam, "500") +
                          Row(4, "<c r=\"A4\" t=\"s\"><v>7</v></c>" + Num("B4", "20") + Str("E4", "A3"))));
    env.Headless().SetWhileBoxOpen({});
    const std::filesystem::path beside = folder / "cases (results).xlsx";
    EXPECT_EQ(env.Headless().TakeBoxes().back(),
              ErrorBox("Cannot open the workbook \"" + file.string() +
                       "\": the part xl/worksheets/sheet1.xml is damaged (cell A4 names no text).\nThe batch stopped "
                       "at row 4. The workbook \"" + file.string() + "\" was changed by another program while the "
                       "batch ran, so it is left as it is; the rows before it are saved in \"" + beside.string() +
                       "\"."));
    EXPECT_EQ(Cell(2, 60, beside), Variant(4000.0));
    EXPECT_EQ(Cell(4, 47, beside), Variant(std::string(kBatchNoResult)));
    std::ifstream in(file, std::ios::binary);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), theirs);
}

TEST_F(WorkbookBatch, AWorkbookTheUserMayNotWriteIsRefusedBeforeAnyRow) {
    const std::string rows = Case(2, "100", "20", "4000", "5000", Str("E2", "A1"), kBeam, "500");
    parts = fx::Workbook(fx::SheetXml(rows), fx::SharedStrings({}));
    fx::Write(file, parts);
    ASSERT_EQ(chmod(file.c_str(), 0444), 0);
    ASSERT_FALSE(RunBatchOnFile());
    EXPECT_EQ(env.Headless().TakeBoxes(),
              (std::vector<Box>{{ui::BoxKind::Message, file.string()},
                                ErrorBox("Cannot save the workbook \"" + file.string() +
                                         "\": it is read-only. No row was designed.")}));
    EXPECT_EQ(Runs(), 0);
    EXPECT_EQ(ListEntries(), (std::vector<std::string>{"1", "2"}));
    EXPECT_EQ(fx::Read(file), parts);
    struct stat st;
    ASSERT_EQ(stat(file.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0444u);
}

TEST_F(WorkbookBatch, LinkedWorkbooksGetTheResultsUnderEveryName) {
    const std::string rows = Case(2, "100", "20", "4000", "5000", Str("E2", "A1"), kBeam, "500");
    std::filesystem::create_directory(folder / "real");
    const std::filesystem::path real = folder / "real" / "book.xlsx", link = folder / "link.xlsx";
    fx::Write(real, fx::Workbook(fx::SheetXml(rows), fx::SharedStrings({})));
    std::filesystem::create_symlink(real, link);
    ASSERT_TRUE(RunBatchOnFile(link));
    EXPECT_TRUE(std::filesystem::is_symlink(link));
    EXPECT_EQ(Cell(2, 60, real), Variant(4000.0));

    // A second name of the same file sees the results too.
    const std::filesystem::path other = folder / "other.xlsx";
    fx::Write(file, fx::Workbook(fx::SheetXml(rows), fx::SharedStrings({})));
    std::filesystem::create_hard_link(file, other);
    ASSERT_TRUE(RunBatchOnFile());
    EXPECT_EQ(Cell(2, 60, other), Variant(4000.0));
    EXPECT_TRUE(std::filesystem::equivalent(file, other));
    std::vector<std::string> names = folder.Names();
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"cases.xlsx", "link.xlsx", "other.xlsx", "real"}));
}

TEST_F(WorkbookBatch, FormulasFilledDownOverAWrittenColumnPassToTheRowsBelow) {
    // Column AZ (52) holds a formula filled down rows 2 to 4; row 4 is the stop row.
    const std::string fill = "<c r=\"AZ2\" s=\"1\"><f t=\"shared\" ref=\"AZ2:AZ4\" si=\"0\">AY2/$C$1</f><v>0</v></c>";
    const std::string user3 = "<c r=\"AZ3\" s=\"1\"><f t=\"shared\" si=\"0\"/><v>0</v></c>";
    const std::string user4 = "<c r=\"AZ4\" s=\"1\"><f t=\"shared\" si=\"0\"/><v>0</v></c>";
    ASSERT_TRUE(RunBatch(Case(2, "100", "20", "4000", "5000", Str("E2", "A1"), kBeam, "500", "", fill) +
                         Case(3, "150", "20", "4500", "5000", Str("E3", "A2"), kBeam, "500", "", user3) +
                         Row(4, Num("A4", "1") + user4)));
    EXPECT_EQ(Runs(), 2);
    EXPECT_EQ(Cell(3, 60), Variant(4500.0));
    const std::string xml = fx::Part(fx::Read(file), "xl/worksheets/sheet1.xml");
    EXPECT_NE(xml.find("<c r=\"AZ4\" s=\"1\"><f>AY4/$C$1</f><v>0</v></c>"), std::string::npos) << xml;
    for (const char* cell : {"<c r=\"AZ2\" s=\"1\"><v>", "<c r=\"AZ3\" s=\"1\"><v>"})
        EXPECT_NE(xml.find(cell), std::string::npos) << "a number in the formatted cell: " << xml;
    ExpectOtherPartsKept();
}

TEST_F(WorkbookBatch, ARowWhoseCellsRefuseResultsIsLeftAlone) {
    // An array formula over AU3:AV3 holds column 47 of row 3.
    const std::string array = "<c r=\"AU3\"><f t=\"array\" ref=\"AU3:AV3\">F3:G3</f><v>1</v></c><c r=\"AV3\"><v>2</v></c>";
    ASSERT_TRUE(RunBatch(Case(2, "100", "20", "4000", "5000", Str("E2", "A1"), kBeam, "500") +
                         Case(3, "150", "20", "4500", "5000", Str("E3", "A2"), kBeam, "500", "", array) +
                         Case(4, "150", "20", "4200", "5000", Str("E4", "A3"), kBeam, "500")));
    EXPECT_EQ(Runs(), 2);
    EXPECT_EQ(Messages(), file.string() + "\nRow 3 is not designed, and nothing is written to it: The cell AU3 of the "
                                          "worksheet \"Cases\" is part of an array formula and cannot be changed.\n");
    EXPECT_EQ(Cell(3, 47), Variant(1.0));
    EXPECT_EQ(Cell(3, 6), Variant(std::monostate{}));
    EXPECT_EQ(Cell(3, 117), Variant(std::monostate{}));
    EXPECT_EQ(Cell(4, 60), Variant(4200.0));
}

// Another program saves the workbook partway through the batch (while the range
// message of row 3 is open): its save stays as it is, and the workbook as opened,
// with every row's results, is saved beside it.
TEST_F(WorkbookBatch, AnotherProgramsSaveDuringTheBatchStaysAndTheResultsGoBeside) {
    const std::string rows = Case(2, "100", "20", "4000", "5000", Str("E2", "A1"), kBeam, "500") +
                             Case(3, "100", "20", "1000", "5000", Str("E3", "A2"), kBeam, "500") +
                             Case(4, "150", "20", "4500", "5000", Str("E4", "A3"), kBeam, "500");
    // Their workbook: row 4 of other inputs, and a note of theirs.
    const std::string theirs = fx::Bytes(fx::OpenpyxlShaped(fx::Workbook(
        fx::SheetXml(Case(2, "100", "20", "4000", "5000", Str("E2", "A1"), kBeam, "500", "", Str("AV2", "checked")) +
                     Case(4, "150", "20", "4800", "5000", Str("E4", "A3"), kBeam, "500")),
        fx::SharedStrings({}))));
    const std::filesystem::path beside = folder / "cases (results).xlsx";
    const std::filesystem::path other = folder / "other.xlsx";
    const struct {
        const char* how;
        void (*save)(const std::filesystem::path&, const std::string&);
        const char* reason;
        bool second_name;  // the batch would write the workbook over in place
    } writers[] = {
        {"in place", fx::SaveInPlace, "was changed by another program", false},
        {"by rename", fx::SaveByRename, "was replaced by another program", false},
        {"in place, a workbook with a second name", fx::SaveInPlace, "was changed by another program", true},
    };
    for (const auto& w : writers) {
        parts = fx::LibreOfficeShaped(fx::Workbook(fx::SheetXml(rows), fx::SharedStrings({})));
        fx::Write(file, parts);
        if (w.second_name) std::filesystem::create_hard_link(file, other);
        env.Service().ClearRequestTargets();
        env.Headless().SetWhileBoxOpen([&](const Box& box) {
            if (box.text.rfind("Hcol is allowable between ", 0) == 0) w.save(file, theirs);
        });
        ASSERT_TRUE(RunBatchOnFile()) << w.how;
        env.Headless().SetWhileBoxOpen({});
        const std::vector<Box> boxes = env.Headless().TakeBoxes();
        ASSERT_EQ(boxes.size(), 3u) << w.how;
        EXPECT_EQ(boxes.back(), (Box{ui::BoxKind::Message, "The workbook \"" + file.string() + "\" " + w.reason +
                                                               " while the batch ran, so it is left as it is; the "
                                                               "results are saved in \"" + beside.string() + "\"."}))
            << w.how;
        EXPECT_EQ(Runs(), 2) << w.how << ": row 3 stops at the input check";
        std::ifstream in(file, std::ios::binary);
        EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), theirs) << w.how << ": their save stays";
        EXPECT_EQ(Cell(2, 60, beside), Variant(4000.0)) << w.how;
        EXPECT_EQ(Cell(3, 47, beside), Variant(std::string(kBatchNoResult))) << w.how;
        EXPECT_EQ(Cell(4, 60, beside), Variant(4500.0)) << w.how << ": the row as it was opened";
        EXPECT_EQ(Cell(2, 48, beside), Variant(std::monostate{})) << w.how << ": nothing of theirs";
        ExpectOtherPartsKept(beside);
        std::vector<std::string> names = folder.Names();
        std::sort(names.begin(), names.end());
        std::vector<std::string> expected = {"cases (results).xlsx", "cases.xlsx"};
        if (w.second_name) {
            expected.push_back("other.xlsx");
            std::ifstream second(other, std::ios::binary);
            EXPECT_EQ(std::string(std::istreambuf_iterator<char>(second), {}), theirs) << w.how;
            std::filesystem::remove(other);
        }
        EXPECT_EQ(names, expected) << w.how;
        std::filesystem::remove(beside);
    }
}

// A workbook written over in place at the end of the batch (it has a second name):
// a save that fails there keeps the results in a copy the error names, and one in a
// folder that takes no new file says that it went without one.
TEST_F(WorkbookBatch, TheSaveInPlaceKeepsTheResultsOrSaysItHadNoCopy) {
    const std::string rows = Case(2, "100", "20", "4000", "5000", Str("E2", "A1"), kBeam, "500");
    const std::filesystem::path other = folder / "other.xlsx", copy = folder / "cases (saved copy).xlsx";
    parts = fx::Workbook(fx::SheetXml(rows), fx::SharedStrings({}));
    fx::Write(file, parts);
    std::filesystem::create_hard_link(file, other);
    const std::vector<Box> before = {{ui::BoxKind::Message, file.string()}};
    struct Reset {
        ~Reset() { sheet::SetSaveTestHooks({}); }
    } reset;
    sheet::SaveTestHooks failing;
    failing.failure = [](sheet::SaveStep step) { return step == sheet::SaveStep::SecondHalf ? EIO : 0; };
    sheet::SetSaveTestHooks(failing);
    ASSERT_FALSE(RunBatchOnFile());
    std::vector<Box> expected = before;
    expected.push_back(ErrorBox("Cannot save the workbook \"" + file.string() + "\": Input/output error. The "
                                "workbook is as it was; the saved workbook is kept in \"" + copy.string() + "\"."));
    EXPECT_EQ(env.Headless().TakeBoxes(), expected);
    EXPECT_EQ(fx::Read(other), parts);
    EXPECT_EQ(Cell(2, 60, copy), Variant(4000.0));
    std::filesystem::remove(copy);

    sheet::SaveTestHooks no_new_file;
    no_new_file.failure = [](sheet::SaveStep step) { return step == sheet::SaveStep::WriteTemporary ? EROFS : 0; };
    sheet::SetSaveTestHooks(no_new_file);
    ASSERT_TRUE(RunBatchOnFile());
    expected = before;
    expected.push_back({ui::BoxKind::Message, "The workbook \"" + file.string() + "\" is saved; it was written over "
                                              "in place with no copy of the changes beside it first, since its folder "
                                              "takes no new file (Read-only file system)."});
    EXPECT_EQ(env.Headless().TakeBoxes(), expected);
    EXPECT_EQ(Cell(2, 60, other), Variant(4000.0));
    std::vector<std::string> names = folder.Names();
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"cases.xlsx", "other.xlsx"}));
}

TEST_F(WorkbookBatch, ALockFileOfAnotherProgramIsToldAndTheBatchGoesOn) {
    const std::filesystem::path lock = fx::WriteLibreOfficeLock(file);
    ASSERT_TRUE(RunBatch(Case(2, "100", "20", "4000", "5000", Str("E2", "A1"), kBeam, "500")));
    EXPECT_EQ(env.Headless().TakeBoxes(),
              (std::vector<Box>{{ui::BoxKind::Message, file.string()},
                                {ui::BoxKind::Message,
                                 "The workbook \"" + file.string() + "\" seems to be open in another program: its lock "
                                 "file \"" + lock.string() + "\" is there. The batch goes on. If that program saves the "
                                 "workbook before the batch ends, the results are saved beside it under a new name; if "
                                 "it saves the workbook after the batch, it writes over the results."}}));
    EXPECT_EQ(Runs(), 1);
    EXPECT_EQ(Cell(2, 60), Variant(4000.0)) << "nobody saved meanwhile: saved in place";
    std::vector<std::string> names = folder.Names();
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{".~lock.cases.xlsx#", "cases.xlsx"}));
}

// A spreadsheet program that shows stored results without calculating them would
// show the weights of the workbook before the batch.
TEST_F(WorkbookBatch, AFormulaOnAnotherSheetOverAWrittenColumnKeepsNoStaleResult) {
    const std::string rows =
        Case(2, "100", "20", "4000", "5000", Str("E2", "A1"), kBeam, "500") +
        Row(3, Num("A3", "150") + Num("B3", "20") + "<c r=\"C3\"><f>3000+1500</f><v>4500</v></c>" + Num("D3", "5000") +
                   Str("E3", "A2") + Str("L3", kBeam) + Num("S3", "500"));
    const std::string notes = "<row r=\"1\">" + fx::LibreOfficeFormula("A1", "SUM(Cases!DD2:DD21)", "0") +
                              fx::LibreOfficeFormula("B1", "Cases!D2*2", "10000") + "</row>";
    for (int pass = 1; pass <= 2; ++pass) {
        if (pass == 1) {
            ASSERT_TRUE(RunBatch(rows, notes));
        } else {
            ASSERT_TRUE(RunBatchOnFile()) << "a re-run of the saved workbook";
        }
        EXPECT_GT(std::get<double>(Cell(2, 108)) + std::get<double>(Cell(3, 108)), 0.0) << "weights written";
        EXPECT_EQ(Cell(3, 60), Variant(4500.0)) << pass << ": the input formula's result is read";
        sheet::Application app;
        sheet::Workbook& book = app.Workbooks().Open(file.string());
        sheet::Worksheet& notes_sheet = book.Worksheets().Item(2);
        EXPECT_EQ(notes_sheet.Cells(1, 1).Value(), Variant(std::monostate{})) << pass << ": no stale sum";
        EXPECT_TRUE(notes_sheet.Cells(1, 1).HasFormula());
        EXPECT_EQ(notes_sheet.Cells(1, 2).Value(), Variant(10000.0)) << pass << ": it reads an input";
        EXPECT_EQ(book.Worksheets().Item(1).Cells(3, 3).Value(), Variant(4500.0)) << pass;
        EXPECT_NE(fx::Part(fx::Read(file), "xl/workbook.xml").find("fullCalcOnLoad=\"1\""), std::string::npos);
    }
}

TEST_F(WorkbookBatch, AWorkbookThatCannotBeReadIsShownAndLeftAlone) {
    std::ofstream(file) << "Capacity;tc\n100;20\n";
    ASSERT_FALSE(RunBatchOnFile());
    EXPECT_EQ(env.Headless().TakeBoxes(),
              (std::vector<Box>{{ui::BoxKind::Message, file.string()},
                                ErrorBox("Cannot open the workbook \"" + file.string() +
                                         "\": it is no .xlsx workbook (the file is damaged, encrypted or of another "
                                         "format).")}));
    EXPECT_EQ(Runs(), 0);
    EXPECT_EQ(ListEntries(), (std::vector<std::string>{"1", "2"})) << "the list is cleared only once the sheet is open";
    std::ifstream in(file);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), "Capacity;tc\n100;20\n");

    std::filesystem::remove(file);
    ASSERT_FALSE(RunBatchOnFile());
    EXPECT_EQ(env.Headless().TakeBoxes().back(),
              ErrorBox("Cannot open the workbook \"" + file.string() + "\": the file does not exist."));
    EXPECT_FALSE(std::filesystem::exists(file));
}

TEST_F(WorkbookBatch, ACancelledDialogDoesNothing) {
    ASSERT_TRUE(ui::Dispatch([this] { form->Button1Click(form->Button1); }));
    EXPECT_TRUE(env.Headless().TakeBoxes().empty());
    EXPECT_EQ(ListEntries(), (std::vector<std::string>{"1", "2"}));
    EXPECT_EQ(form->Button1->Caption(), "Batch");
    EXPECT_EQ(env.Headless().FileRequests().size(), 1u);
}

TEST_F(WorkbookBatch, TheSwitchPanelsShowAndHideTheBatchGroup) {
    ASSERT_TRUE(form->ModePanelLit);
    ASSERT_TRUE(form->GroupBox_Command->Visible());
    form->Mode_Panel->OnClick(form->Mode_Panel);
    EXPECT_FALSE(form->GroupBox_Command->Visible());
    EXPECT_FALSE(form->ModePanelLit);
    EXPECT_EQ(form->Mode_Panel->Color(), clGray);
    EXPECT_EQ(form->Mode_Panel->Font().Color, clCream);
    form->Panel2->OnClick(form->Panel2);  // recolours Mode_Panel all the same
    EXPECT_TRUE(form->GroupBox_Command->Visible());
    EXPECT_TRUE(form->ModePanelLit);
    EXPECT_EQ(form->Mode_Panel->Color(), clCream);
    EXPECT_EQ(form->Mode_Panel->Font().Color, clGray);
    EXPECT_EQ(form->Panel2->Color(), clCream);
}

TEST_F(WorkbookBatch, ADoubleClickOnTheListFindsNothingStored) {
    ASSERT_FALSE(ui::Dispatch([this] { form->CheckListBox_Batch->OnDblClick(form->CheckListBox_Batch); }));
    EXPECT_EQ(env.Headless().TakeBoxes(), (std::vector<Box>{ErrorBox("List index out of bounds (-1)")}));
    form->CheckListBox_Batch->SetItemIndex(1);
    ASSERT_TRUE(ui::Dispatch([this] { form->CheckListBox_Batch->OnDblClick(form->CheckListBox_Batch); }));
    EXPECT_EQ(env.Headless().TakeBoxes(), (std::vector<Box>{{ui::BoxKind::Message, "empty"}}));
    EXPECT_EQ(form->BatchStore.count("2"), 1u);
    EXPECT_TRUE(form->BatchStore["2"].empty());
}

}  // namespace
