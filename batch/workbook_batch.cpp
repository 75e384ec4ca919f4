// The workbook batch and its switch panels.
#include "batch/workbook_batch.h"

#include <cmath>
#include <memory>

#include "app/DOVEREFORM.h"
#include "input/range_rules.h"
#include "platform/os/date_time.h"
#include "platform/sheet/cell_text.h"
#include "platform/text/code_page.h"
#include "platform/text/number_text.h"
#include "platform/ui/scoped_disable.h"

namespace {

enum class TOutputKind {
    Number,      // the result's number under the key
    Weld,        // the number under the key, or "CJP" for a gusset plate thicker than 20
    CasingSize,  // the result's text under the key
    Fixed,       // the key itself as text
    Verdict,     // "NG" or "OK"
    RunTime,     // the run's milliseconds
    TgOverTc,    // gusset over core plate thickness
    AjOverAc,    // joint over core area
    DateTime,    // when the row was written
};

struct TOutputColumn {
    int Column;
    TOutputKind Kind;
    const char* Key;
};

std::vector<TOutputColumn> MakeOutputColumns() {
    std::vector<TOutputColumn> out;
    const auto numbers = [&](int column, std::initializer_list<const char*> keys) {
        for (const char* key : keys) out.push_back({column++, TOutputKind::Number, key});
    };
    const auto one = [&](int column, TOutputKind kind, const char* key = "") { out.push_back({column, kind, key}); };
    numbers(6, {"L_wp"});
    numbers(14, {"P_max"});
    numbers(20, {"DCR_1", "DCR_2", "DCR_3_up", "DCR_3_down", "DCR_4", "DCR_5_up", "DCR_5_down", "DCR_6_up",
                 "DCR_6_down"});
    numbers(29, {"DCR_7_up_c1", "DCR_7_up_c2", "DCR_7_up_c3", "DCR_7_up_c4", "DCR_7_up_c5", "DCR_7_up_c6"});
    numbers(35, {"DCR_7_down_c1", "DCR_7_down_c2", "DCR_7_down_c3", "DCR_7_down_c4", "DCR_7_down_c5",
                 "DCR_7_down_c6"});
    numbers(41, {"L_c", "L_wp", "Alpha_L", "K_eff", "Q_factor", "Theda_y"});
    one(47, TOutputKind::Verdict);
    one(49, TOutputKind::RunTime);
    numbers(50, {"t_c", "t_g"});
    one(52, TOutputKind::TgOverTc);
    one(53, TOutputKind::Fixed, "My Brace");
    one(54, TOutputKind::Fixed, "Welded End-Slot BRB");
    numbers(55, {"P_y", "P_max", "K_eff", "Q_factor", "Alpha_L", "H_col", "L_beam", "L_wp", "Le_lower", "Le_upper",
                 "L_brb", "t_c", "t_j", "B_c", "D_c", "B_j", "D_j", "L_c", "L_t", "L_x", "L_n", "L_w"});
    one(77, TOutputKind::CasingSize, "Steel_Casing_Size");
    numbers(78, {"L_sc", "t_g", "down_L_h"});
    one(81, TOutputKind::Weld, "down_T_b");
    numbers(82, {"down_L_v"});
    one(83, TOutputKind::Weld, "down_T_c");
    numbers(84, {"t_sf", "down_L_sf_h", "down_L_sf_v", "t_g", "up_L_h"});
    one(89, TOutputKind::Weld, "up_T_b");
    numbers(90, {"up_L_v"});
    one(91, TOutputKind::Weld, "up_T_c");
    numbers(92, {"t_sf", "up_L_sf_h", "up_L_sf_v", "Theda_y", "A_c", "A_t", "A_j"});
    one(99, TOutputKind::AjOverAc);
    numbers(101, {"Casing_Self_Volume", "Motar_Self_Volume", "Core_Self_Volume"});
    numbers(105, {"Casing_Self_Weight", "Motar_Self_Weight", "Core_Self_Weight", "Total_Weight"});
    numbers(110, {"Gusset_DOWN_Area", "Gusset_DOWN_Volume", "Gusset_DOWN_Weight"});
    numbers(114, {"Gusset_UP_Area", "Gusset_UP_Volume", "Gusset_UP_Weight"});
    one(117, TOutputKind::DateTime);
    return out;
}

const std::vector<TOutputColumn>& OutputColumns() {
    static const std::vector<TOutputColumn> columns = MakeOutputColumns();
    return columns;
}

sheet::Variant Single(float value) {
    if (!std::isfinite(value)) return std::monostate{};
    return static_cast<double>(value);
}

sheet::Variant NumberOf(const jsonxx::Object& result, const char* key) {
    if (!result.has<double>(key)) return std::monostate{};
    return Single(static_cast<float>(result.get<double>(key)));
}

sheet::Variant OutputValue(const TOutputColumn& c, const jsonxx::Object& result, const TBatchRunFacts& facts) {
    switch (c.Kind) {
        case TOutputKind::Number: return NumberOf(result, c.Key);
        case TOutputKind::Weld:
            // A thicker plate is welded with a full penetration groove; exactly 20 is not.
            if (result.has<double>("t_g") && result.get<double>("t_g") > 20) return std::string("CJP");
            return NumberOf(result, c.Key);
        case TOutputKind::CasingSize:
            if (!result.has<std::string>(c.Key)) return std::monostate{};
            return text::ToSystemCodePage(result.get<std::string>(c.Key));
        case TOutputKind::Fixed: return std::string(c.Key);
        case TOutputKind::Verdict: return std::string(facts.FailedCheckCount > 0 ? "NG" : "OK");
        case TOutputKind::RunTime: return static_cast<double>(facts.RunTimeMs);
        case TOutputKind::TgOverTc: return Single(facts.t_g / facts.t_c);
        case TOutputKind::AjOverAc: return Single(facts.A_j / facts.A_c);
        case TOutputKind::DateTime: return facts.DateTime;
    }
    return std::monostate{};
}

// The automation references of the last batch, program-wide; a new batch replaces
// them, and they are let go once the application has quit.
struct TBatchAutomation {
    std::unique_ptr<sheet::Application> Application;
    sheet::WorkbookList* Workbooks = nullptr;
    sheet::Workbook* Workbook = nullptr;
    sheet::WorksheetList* Worksheets = nullptr;
    sheet::Worksheet* Worksheet = nullptr;
};
TBatchAutomation BatchAutomation;

// Quits the hidden application however the batch ends; on a failure nothing is saved.
struct TQuitAtEnd {
    TBatchAutomation& Automation;
    ~TQuitAtEnd() {
        if (Automation.Application) Automation.Application->Quit();
        Automation.Workbooks = nullptr;
        Automation.Workbook = nullptr;
        Automation.Worksheets = nullptr;
        Automation.Worksheet = nullptr;
    }
};

std::string CellText(sheet::Worksheet& worksheet, int row, int column) {
    return sheet::ValueToText(worksheet.Cells(row, column).Value());
}

TBatchInput InputOf(sheet::Worksheet& worksheet, int row, int column) {
    const sheet::CellRef cell = worksheet.Cells(row, column);
    const sheet::Variant value = cell.Value();
    return {column, sheet::ValueToText(value), std::holds_alternative<std::monostate>(value) && cell.HasFormula()};
}

// Why a cell that the row's results go into would refuse them, or nothing.
std::optional<std::string> OutputRefusal(sheet::Worksheet& worksheet, int row) {
    for (int column : BatchOutputColumns())
        if (std::optional<std::string> refusal = worksheet.Cells(row, column).Refusal()) return refusal;
    return std::nullopt;
}

void WriteRow(sheet::Worksheet& worksheet, int row, const jsonxx::Object& result, const TBatchRunFacts& facts) {
    for (const auto& [column, value] : BatchOutputCells(result, facts)) worksheet.Cells(row, column).SetValue(value);
}

// A row that got no result of its own: its mark and the date, nothing else.
void MarkRow(sheet::Worksheet& worksheet, int row) {
    TBatchRunFacts facts;
    facts.DateTime = os::NowAsText();
    WriteRow(worksheet, row, jsonxx::Object(), facts);
}

// What a length cell that does not read as a whole number holds, for the message.
std::string Unreadable(const char* what, const TBatchInput& input, int row) {
    std::string text = std::string("the ") + what + " in cell " + sheet::CellName(row, input.Column);
    if (input.Uncalculated) return text + " is a formula without a calculated value";
    if (input.Text.empty()) return text + " is empty";
    return text + ", \"" + input.Text + "\", is not a whole number";
}

// The workbook was left as another program made it, and what the batch wrote went
// beside it.
std::string SavedBesideText(const sheet::SavedBeside& beside, const std::string& what) {
    return "The workbook \"" + beside.Asked + "\" " + beside.Reason + " while the batch ran, so it is left as it is; " +
           what + " saved in \"" + beside.Written + "\".";
}

}  // namespace

std::string BatchListEntry(const std::string& capacity, const std::string& thickness, const std::string& mark) {
    return capacity + "-" + thickness + "-" + mark;
}

std::string BatchClassText(const std::string& capacity, const std::string& thickness) {
    return capacity + "tonf(tc=" + thickness + "mm)";
}

std::vector<int> BatchOutputColumns() {
    std::vector<int> columns;
    for (const TOutputColumn& c : OutputColumns()) columns.push_back(c.Column);
    return columns;
}

std::vector<std::string> BatchNumberKeys() {
    std::vector<std::string> keys;
    for (const TOutputColumn& c : OutputColumns())
        if (c.Kind == TOutputKind::Number || c.Kind == TOutputKind::Weld) keys.push_back(c.Key);
    keys.push_back("t_g");  // decides a weld column
    return keys;
}

std::vector<std::pair<int, sheet::Variant>> BatchOutputCells(const jsonxx::Object& result,
                                                              const TBatchRunFacts& facts) {
    std::vector<std::pair<int, sheet::Variant>> cells;
    for (const TOutputColumn& c : OutputColumns()) {
        if (facts.Fresh) {
            cells.emplace_back(c.Column, OutputValue(c, result, facts));
        } else if (c.Kind == TOutputKind::Verdict) {
            cells.emplace_back(c.Column, std::string(kBatchNoResult));
        } else if (c.Kind == TOutputKind::DateTime) {
            cells.emplace_back(c.Column, facts.DateTime);
        }
    }
    return cells;
}

std::optional<std::string> BatchRowProblem(int row, const TBatchInput& height, const TBatchInput& length,
                                           const TBatchInput& beam, const TBatchInput& depth,
                                           const TInputLimits& limits) {
    std::vector<std::string> reasons;
    const auto whole = [&](const char* what, const TBatchInput& input, TRangeRuleId rule) {
        try {
            if (!input.Uncalculated) {
                ReadRuleValue(RangeRuleOf(rule, limits), input.Text);
                return;
            }
        } catch (const EConvertError&) {
        }
        reasons.push_back(Unreadable(what, input, row));
    };
    whole("column height", height, TRangeRuleId::ColumnHeight);
    whole("beam length", length, TRangeRuleId::BeamLength);
    if (!IsBeamDesignation(beam.Text))
        reasons.push_back("the beam section in cell " + sheet::CellName(row, beam.Column) + ", \"" + beam.Text +
                          "\", is not a designation of four numbers (depth x width x web x flange thickness)");
    whole("column depth", depth, TRangeRuleId::LeftColumnDepth);
    if (reasons.empty()) return std::nullopt;
    std::string message = "Row " + std::to_string(row) + " is not designed: ";
    for (size_t i = 0; i < reasons.size(); ++i) message += (i ? "; " : "") + reasons[i];
    return message + ". It is marked \"" + kBatchNoResult + "\".";
}

void DOVEREForm::Button1Click(TObject*) {
    if (!OpenDialog1->Execute()) return;
    const std::string file_name = OpenDialog1->FileName();
    ShowMessage(file_name);

    TBatchAutomation& a = BatchAutomation;
    a.Application = std::make_unique<sheet::Application>();
    const TQuitAtEnd quit{a};
    a.Application->SetVisible(false);
    a.Workbooks = &a.Application->Workbooks();
    a.Workbook = &a.Workbooks->Open(file_name);
    // Results that could not be saved would be lost: refuse before any row runs.
    try {
        a.Workbook->CheckSavable();
    } catch (const Exception& e) {
        throw Exception(e.Message() + " No row was designed.");
    }
    // Another program that saves the workbook meanwhile sends the results beside it.
    if (const std::optional<std::string> lock = sheet::OfficeLockFile(file_name))
        ShowMessage("The workbook \"" + file_name + "\" seems to be open in another program: its lock file \"" +
                    *lock + "\" is there. The batch goes on. If that program saves the workbook before the batch "
                    "ends, the results are saved beside it under a new name; if it saves the workbook after the "
                    "batch, it writes over the results.");
    a.Worksheets = &a.Workbook->Worksheets();
    a.Worksheet = &a.Worksheets->Item(1);
    sheet::Worksheet& worksheet = *a.Worksheet;

    BatchStore.clear();
    CheckListBox_Batch->Items().Clear();
    std::int32_t run_count = 0;
    std::int32_t row = 1;
    try {
        for (;;) {
            Application->Sleep(10);
            ++row;
            Button1->SetCaption(std::to_string(row));
            const sheet::Variant mark = worksheet.Cells(row, 5).Value();
            const std::string entry =
                BatchListEntry(CellText(worksheet, row, 1), CellText(worksheet, row, 2), sheet::ValueToText(mark));
            if (std::holds_alternative<std::monostate>(mark)) break;
            CheckBox_GUFM->SetChecked(true);
            CheckBox_Frame_Action->SetChecked(true);
            CheckListBox_Batch->Items().BeginUpdate();
            CheckListBox_Batch->Items().Add(entry);
            CheckListBox_Batch->Items().EndUpdate();
            // Class names are the service's texts: their numbers have a decimal point.
            const std::string class_text = BatchClassText(UserToServiceNumberText(CellText(worksheet, row, 1)),
                                                          UserToServiceNumberText(CellText(worksheet, row, 2)));
            const TBatchInput height = InputOf(worksheet, row, 3);
            const TBatchInput length = InputOf(worksheet, row, 4);
            LabeledEdit_H_col->SetText(height.Text);
            LabeledEdit_L_beam->SetText(length.Text);
            const TBatchInput beam = InputOf(worksheet, row, 12);
            SetCaption(beam.Text);
            LabeledEdit_Beam_up->SetText(beam.Text);
            LabeledEdit_Beam_down->SetText(beam.Text);
            if (beam.Text.empty()) continue;

            // The class goes into the selector that the request reads for the core type.
            const bool cruciform = ComboBox_BRB_Type->ItemIndex() == 0;
            TComboBox* classes = cruciform ? ComboBox_Py : ComboBox_SP_Py;
            classes->SetEnabled(true);
            const TBatchInput depth = InputOf(worksheet, row, 19);
            LabeledEdit_d_c_left->SetText(depth.Text);
            LabeledEdit_d_c_right->SetText(depth.Text);
            const int index = classes->Items().IndexOf(class_text);
            if (index < 0) continue;

            // A row that cannot be designed as written gets no run: a run would go on
            // with the previous row's values where the input check does not stop it.
            if (const std::optional<std::string> refusal = OutputRefusal(worksheet, row)) {
                ShowMessage("Row " + std::to_string(row) + " is not designed, and nothing is written to it: " +
                            *refusal);
                continue;
            }
            if (const std::optional<std::string> problem =
                    BatchRowProblem(row, height, length, beam, depth, InputLimits)) {
                ShowMessage(*problem);
                MarkRow(worksheet, row);
                continue;
            }

            classes->SetItemIndex(index);
            bool fresh = false;
            {
                const ui::ScopedDisable busy(classes);
                if (cruciform) {
                    ApplyCrossTypeSection();
                } else {
                    ApplySinglePlateSection();
                }
                WorkbookRowRunning = true;
                struct RowRun {
                    bool& flag;
                    ~RowRun() { flag = false; }
                } row_run{WorkbookRowRunning};
                fresh = RunDesign();
            }
            ++run_count;
            SetCaption(std::to_string(run_count));

            // Only a result that this row's run read goes into the row.
            TBatchRunFacts facts;
            facts.Fresh = fresh;
            facts.FailedCheckCount = FailedCheckCount;
            facts.RunTimeMs = RunTimeMs;
            facts.t_g = BraceValues.t_g;
            facts.t_c = BraceValues.t_c;
            facts.A_j = BraceValues.A_j;
            facts.A_c = BraceValues.A_c;
            facts.DateTime = os::NowAsText();
            WriteRow(worksheet, row, ResultObject, facts);
        }
    } catch (const Exception& e) {
        // The rows designed so far are kept: this row is marked, the workbook saved,
        // and the message says where the batch stopped.
        std::string message = e.Message();
        try {
            MarkRow(worksheet, row);
        } catch (const Exception&) {
        }
        try {
            const std::string stop = "\nThe batch stopped at row " + std::to_string(row);
            const sheet::SaveOutcome saved = a.Workbook->SaveAs(file_name);
            if (saved.Beside) {
                message += stop + ". " + SavedBesideText(*saved.Beside, "the rows before it are");
            } else {
                message += stop + "; the rows before it are saved.";
            }
            if (!saved.Notice.empty()) message += "\n" + saved.Notice;
        } catch (const Exception& failure) {
            message += "\n" + failure.Message();
        }
        throw Exception(message);
    }
    const sheet::SaveOutcome saved = a.Workbook->SaveAs(file_name);
    if (saved.Beside) ShowMessage(SavedBesideText(*saved.Beside, "the results are"));
    if (!saved.Notice.empty()) ShowMessage(saved.Notice);
}

void DOVEREForm::Mode_PanelClick(TObject*) {
    GroupBox_Command->SetVisible(!GroupBox_Command->Visible());
    if (ModePanelLit) {
        ModePanelLit = false;
        Mode_Panel->SetColor(clGray);
        Mode_Panel->Font().Color = clCream;
    } else {
        ModePanelLit = true;
        Mode_Panel->SetColor(clCream);
        Mode_Panel->Font().Color = clGray;
    }
}

void DOVEREForm::CheckListBox_BatchDblClick(TObject*) {
    const std::string entry = CheckListBox_Batch->Items().Strings(CheckListBox_Batch->ItemIndex());
    // Nothing fills the store, so every entry has an empty list.
    if (BatchStore[entry].empty()) ShowMessage("empty");
}
