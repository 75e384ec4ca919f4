// The workbook batch over real .xlsx files against the local design service: rows
// that run, rows skipped, a row whose run reads no result, the stop row, the cells
// written and everything else of the package kept; workbooks that cannot be read;
// the switch panels and the list's double click.
#include <gtest/gtest.h>

#include <chrono>
#include <fstream>

#include "batch/workbook_batch.h"
#include "platform/os/date_time.h"
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

class WorkbookBatch : public ::testing::Test {
protected:
    void SetUp() override {
        using namespace std::chrono;
        os::SetTestNow(sys_days{year{2021} / June / 25} + hours{15} + minutes{4} + seconds{5});
        form = env.Create();
        ASSERT_NE(form, nullptr);
        env.Headless().TakeBoxes();
        env.Service().ClearRequestTargets();
    }
    void TearDown() override { os::UseRealNow(); }

    // Writes the workbook, answers the dialog with it and runs the batch as a click.
    bool RunBatch(const std::string& rows) {
        parts = fx::Workbook(fx::SheetXml(rows, "A1:DN9"), fx::SharedStrings({"<t>Capacity</t>", "<t>tc</t>"}));
        fx::Write(file, parts);
        return RunBatchOnFile();
    }
    bool RunBatchOnFile() {
        env.Headless().QueueFileAnswer(file.string());
        return ui::Dispatch([this] { form->Button1->OnClick(form->Button1); });
    }
    int Runs() const {
        int runs = 0;
        for (const std::string& m : env.Methods()) runs += m.rfind("RUN_ZORV_PROJECT/", 0) == 0;
        return runs;
    }
    std::vector<std::string> ListEntries() const { return form->CheckListBox_Batch->Items().List(); }
    Variant Cell(int row, int column) {
        sheet::Application app;
        return app.Workbooks().Open(file.string()).Worksheets().Item(1).Cells(row, column).Value();
    }
    // The cells of a row at the written columns, as stored.
    std::vector<std::pair<int, Variant>> Written(int row) {
        sheet::Application app;
        sheet::Worksheet& s = app.Workbooks().Open(file.string()).Worksheets().Item(1);
        std::vector<std::pair<int, Variant>> cells;
        for (const auto& [column, value] : BatchOutputCells(form->ResultObject, {}))
            cells.emplace_back(column, s.Cells(row, column).Value());
        return cells;
    }
    // Every part but the first worksheet, as stored.
    void ExpectOtherPartsKept() {
        const fx::Parts after = fx::Read(file);
        ASSERT_EQ(after.size(), parts.size());
        for (size_t i = 0; i < parts.size(); ++i) {
            EXPECT_EQ(after[i].first, parts[i].first);
            if (parts[i].first != "xl/worksheets/sheet1.xml") {
                EXPECT_EQ(after[i].second, parts[i].second) << parts[i].first;
            }
        }
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

    // Row 2 ran with its own inputs.
    EXPECT_EQ(Cell(2, 60), Variant(4000.0));  // H_col
    EXPECT_EQ(Cell(2, 61), Variant(5000.0));  // L_beam
    EXPECT_EQ(Cell(2, 50), Variant(20.0));    // t_c
    const std::string verdict = sheet::ValueToText(Cell(2, 47));
    EXPECT_TRUE(verdict == "OK" || verdict == "NG") << verdict;
    EXPECT_EQ(Cell(2, 53), Variant(std::string("My Brace")));
    EXPECT_EQ(Cell(2, 54), Variant(std::string("Welded End-Slot BRB")));
    EXPECT_EQ(Cell(2, 117), Variant(os::NowAsText()));
    const Variant ms = Cell(2, 49);
    ASSERT_TRUE(std::holds_alternative<double>(ms));
    EXPECT_EQ(std::get<double>(ms), std::floor(std::get<double>(ms)));
    // Row 6, the last that ran, holds exactly what its result gives.
    TBatchRunFacts facts;
    facts.Fresh = true;
    facts.FailedCheckCount = form->FailedCheckCount;
    facts.RunTimeMs = form->RunTimeMs;
    facts.t_g = form->BraceValues.t_g;
    facts.t_c = form->BraceValues.t_c;
    facts.A_j = form->BraceValues.A_j;
    facts.A_c = form->BraceValues.A_c;
    facts.DateTime = os::NowAsText();
    EXPECT_EQ(Written(6), BatchOutputCells(form->ResultObject, facts));
    EXPECT_EQ(Cell(6, 60), Variant(3500.0));
    // Row 5 read no result of its own: marked, and no values of row 2 in it.
    for (const auto& [column, value] : Written(5)) {
        if (column == 47) {
            EXPECT_EQ(value, Variant(std::string(kBatchNoResult)));
        } else if (column == 117) {
            EXPECT_EQ(value, Variant(os::NowAsText()));
        } else {
            EXPECT_EQ(value, Variant(std::monostate{})) << "column " << column;
        }
    }
    // Rows 3 and 4 were skipped: nothing written.
    for (int row : {3, 4}) {
        for (const auto& [column, value] : Written(row)) {
            if (!(row == 3 && column == 6)) {
                EXPECT_EQ(value, Variant(std::monostate{})) << row << "," << column;
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

TEST_F(WorkbookBatch, AnEmptyMarkInTheFirstRowEndsAtOnceAndSavesTheWorkbookUnchanged) {
    ASSERT_TRUE(RunBatch(Row(2, Num("A2", "100") + Num("B2", "20") + Str("L2", kBeam))));
    EXPECT_EQ(Runs(), 0);
    EXPECT_TRUE(ListEntries().empty()) << "the stored entries go";
    EXPECT_EQ(form->Button1->Caption(), "2");
    EXPECT_EQ(fx::Read(file), parts);
    EXPECT_EQ(env.Headless().TakeBoxes(), (std::vector<Box>{{ui::BoxKind::Message, file.string()}}));
}

TEST_F(WorkbookBatch, RowsReadNoResultWhileTheServiceFails) {
    zorv_service::Fault fault;
    fault.status = 500;
    env.Service().FailMethod("RUN_ZORV_PROJECT", fault);
    const Variant before = form->ResultObject.has<double>("L_wp") ? Variant(form->ResultObject.get<double>("L_wp"))
                                                                   : Variant();
    ASSERT_TRUE(RunBatch(Case(2, "100", "20", "4000", "5000", Str("E2", "A1"), kBeam, "500") +
                         Case(3, "150", "20", "4500", "5000", Str("E3", "A2"), kBeam, "500")));
    EXPECT_EQ(Runs(), 2);
    EXPECT_EQ(form->Caption(), "2") << "both runs are counted";
    for (int row : {2, 3}) {
        EXPECT_EQ(Cell(row, 47), Variant(std::string(kBatchNoResult)));
        EXPECT_EQ(Cell(row, 6), Variant(std::monostate{})) << "not the start-up design's " << sheet::ValueToText(before);
    }
    const std::vector<Box> boxes = env.Headless().TakeBoxes();
    EXPECT_EQ(std::count(boxes.begin(), boxes.end(), testing_support::ConnectionBox()), 2);
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

TEST_F(WorkbookBatch, AnErrorInARunEndsTheBatchWithoutSaving) {
    ASSERT_FALSE(RunBatch(Case(2, "100", "20", "4000", "5000", Str("E2", "A1"), kBeam, "500") +
                          Row(3, Num("A3", "100") + Num("B3", "20") + Str("C3", "4000.5") + Num("D3", "5000") +
                                     Str("E3", "A2") + Str("L3", kBeam) + Num("S3", "500")) +
                          Case(4, "150", "20", "4500", "5000", Str("E4", "A3"), kBeam, "500")));
    EXPECT_EQ(Runs(), 1);
    EXPECT_EQ(ListEntries(), (std::vector<std::string>{"100-20-A1", "100-20-A2"}));
    EXPECT_EQ(form->Button1->Caption(), "3");
    EXPECT_EQ(fx::Read(file), parts) << "nothing saved";
    const std::vector<Box> boxes = env.Headless().TakeBoxes();
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_EQ(boxes[1], ErrorBox("'4000.5' is not a valid integer value"));
    EXPECT_TRUE(form->ComboBox_Py->Enabled());
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
