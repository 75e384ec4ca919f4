// The layout loader: a compiled-in layout builds nested components with their
// properties and handlers; bad layouts stop with a message naming file and line.
#include <gtest/gtest.h>

#include "embedded/SampleFormLayout.h"
#include "platform/text/regional.h"
#include "platform/ui/ui.h"

namespace {

class TSampleForm : public TForm {
public:
    static constexpr const char* kClass = "TSampleForm";
    std::string ClassName() const override { return kClass; }

    TGroupBox* InputGroupBox;
    TLabeledEdit* LabeledEdit_H_col;
    TComboBox* ComboBox_cfg;
    TCheckBox* CheckBox_adjust_tg;
    TRadioGroup* RadioGroup_DCR;
    TStringGrid* StringGrid_DCR;
    TPanel* Panel_RUN;
    TPanel* Panel_Color_3;
    TLabel* Label_Disclaimer;
    TPanel* OpGLPanel;
    TCGauge* CGauge_DCR_1;
    TImage* Image1;
    TTimer* Timer_Run_ZORV;
    TOpenDialog* OpenDialog1;
    TCheckListBox* CheckListBox_Batch;

    std::vector<std::string> calls;

    explicit TSampleForm(TComponent* owner) : TForm(owner) {
        ui::HandlerTable h;
        h.Bind("FormCreate", this, &TSampleForm::Note);
        h.Bind("FormPaint", this, &TSampleForm::Note);
        h.Bind("FormClose", this, &TSampleForm::FormClose);
        h.Bind("LabeledEdit_H_colChange", this, &TSampleForm::LabeledEdit_H_colChange);
        h.Bind("LabeledEdit_H_colKeyPress", this, &TSampleForm::LabeledEdit_H_colKeyPress);
        h.Bind("ComboBox_cfgChange", this, &TSampleForm::Note);
        h.Bind("ComboBox_cfgKeyDown", this, &TSampleForm::ComboBox_cfgKeyDown);
        h.Bind("CheckBox_adjust_tgClick", this, &TSampleForm::Note);
        h.Bind("RadioGroup_DCRClick", this, &TSampleForm::Note);
        h.Bind("StringGrid_DCRDblClick", this, &TSampleForm::StringGrid_DCRDblClick);
        h.Bind("StringGrid_DCRDrawCell", this, &TSampleForm::StringGrid_DCRDrawCell);
        h.Bind("Panel_RUNClick", this, &TSampleForm::Note);
        h.Bind("OpGLPanelMouseUp", this, &TSampleForm::OpGLPanelMouseUp);
        h.Bind("OpGLPanelMouseMove", this, &TSampleForm::OpGLPanelMouseMove);
        h.Bind("Timer_Run_ZORVTimer", this, &TSampleForm::Note);
        LoadLayout("sample_form.layout", embedded::SampleFormLayout, h);

        InputGroupBox = FindComponent<TGroupBox>("InputGroupBox");
        LabeledEdit_H_col = FindComponent<TLabeledEdit>("LabeledEdit_H_col");
        ComboBox_cfg = FindComponent<TComboBox>("ComboBox_cfg");
        CheckBox_adjust_tg = FindComponent<TCheckBox>("CheckBox_adjust_tg");
        RadioGroup_DCR = FindComponent<TRadioGroup>("RadioGroup_DCR");
        StringGrid_DCR = FindComponent<TStringGrid>("StringGrid_DCR");
        Panel_RUN = FindComponent<TPanel>("Panel_RUN");
        Panel_Color_3 = FindComponent<TPanel>("Panel_Color_3");
        Label_Disclaimer = FindComponent<TLabel>("Label_Disclaimer");
        OpGLPanel = FindComponent<TPanel>("OpGLPanel");
        CGauge_DCR_1 = FindComponent<TCGauge>("CGauge_DCR_1");
        Image1 = FindComponent<TImage>("Image1");
        Timer_Run_ZORV = FindComponent<TTimer>("Timer_Run_ZORV");
        OpenDialog1 = FindComponent<TOpenDialog>("OpenDialog1");
        CheckListBox_Batch = FindComponent<TCheckListBox>("CheckListBox_Batch");
        calls.push_back("constructed");
    }

private:
    std::string NameOf(TObject* sender) {
        if (auto* c = dynamic_cast<TComponent*>(sender)) return c->Name();
        return "?";
    }
    void Note(TObject* sender) { calls.push_back(NameOf(sender)); }
    void FormClose(TObject*, TCloseAction& action) {
        calls.push_back("FormClose");
        action = caFree;
    }
    void LabeledEdit_H_colChange(TObject*) { calls.push_back("change " + LabeledEdit_H_col->Text()); }
    void LabeledEdit_H_colKeyPress(TObject*, char& key) {
        if (key == 13) calls.push_back("enter");
    }
    void ComboBox_cfgKeyDown(TObject*, std::uint16_t& key, TShiftState) { calls.push_back("key " + std::to_string(key)); }
    void StringGrid_DCRDblClick(TObject*) { calls.push_back("row " + std::to_string(StringGrid_DCR->Row())); }
    void StringGrid_DCRDrawCell(TObject*, int, int, const TRect&, TGridDrawState) { calls.push_back("draw"); }
    void OpGLPanelMouseUp(TObject*, TMouseButton, TShiftState, int x, int) { calls.push_back("up " + std::to_string(x)); }
    void OpGLPanelMouseMove(TObject*, TShiftState, int, int y) { calls.push_back("move " + std::to_string(y)); }
};

TEST(Layout, BuildsNestedComponentsWithTheirProperties) {
    ui::ApplicationScope scope;
    scope.Headless().SetEcho(false);
    TSampleForm* form = nullptr;
    Application->CreateForm(form);
    EXPECT_EQ(form->calls, (std::vector<std::string>{"constructed", "SampleForm"})) << "OnCreate after the constructor";

    EXPECT_EQ(form->Name(), "SampleForm");
    EXPECT_EQ(form->Caption(), "Zorv");
    EXPECT_EQ(form->ClientWidth(), 1014);
    EXPECT_EQ(form->ClientHeight(), 735);
    EXPECT_EQ(form->Color(), 11372551);
    EXPECT_EQ(form->Font(), (TFont{"Arial Black", 10, fsBold, clCream}));
    EXPECT_EQ(form->BorderIcons(), biSystemMenu | biMinimize);
    EXPECT_EQ(form->BorderStyle(), bsSingle);
    EXPECT_EQ(form->Position(), poDesktopCenter);
    EXPECT_EQ(form->FormStyle(), fsMDIForm);

    // Nesting: children of their containers, everything owned by the form.
    EXPECT_EQ(form->InputGroupBox->Parent(), form);
    EXPECT_EQ(form->LabeledEdit_H_col->Parent(), form->InputGroupBox);
    EXPECT_EQ(form->RadioGroup_DCR->Parent()->Name(), "GroupBox_Side_Bar");
    EXPECT_EQ(form->StringGrid_DCR->Owner(), form);
    EXPECT_EQ(form->Timer_Run_ZORV->Owner(), form);
    EXPECT_EQ(form->InputGroupBox->TabList().front(), form->ComboBox_cfg) << "TabOrder 0 comes first";
    EXPECT_EQ(form->InputGroupBox->Font().Name, "Arial Black") << "the parent's font";

    auto* edit = form->LabeledEdit_H_col;
    EXPECT_EQ(edit->Text(), "4000");
    EXPECT_TRUE(edit->NumbersOnly());
    EXPECT_EQ(edit->Color(), clMaroon);
    EXPECT_EQ(edit->EditLabel()->Caption(), "Hcol");
    EXPECT_EQ(edit->EditLabel()->BoundsRect(), TRect(27, 44, 57, 57)) << "left of the edit, 3 pixels apart";

    EXPECT_EQ(form->ComboBox_cfg->ItemIndex(), 0) << "the index set before the items";
    EXPECT_EQ(form->ComboBox_cfg->Text(), "Diagonal");
    EXPECT_EQ(form->ComboBox_cfg->Items().Count(), 2);
    EXPECT_TRUE(form->CheckBox_adjust_tg->Checked());
    EXPECT_EQ(form->RadioGroup_DCR->Items().List(), (std::vector<std::string>{"Left", "Mid.", "Right"}));
    EXPECT_EQ(form->RadioGroup_DCR->Columns(), 3);
    EXPECT_EQ(form->RadioGroup_DCR->ItemIndex(), 0);
    EXPECT_EQ(form->StringGrid_DCR->RowCount(), 21);
    EXPECT_FALSE(form->StringGrid_DCR->DefaultDrawing());
    EXPECT_EQ(form->Panel_Color_3->Color(), 8404992);
    EXPECT_FALSE(form->Panel_Color_3->Visible());
    EXPECT_EQ(form->Panel_RUN->Hint(), "It's a lamp\nthat blinks");
    EXPECT_EQ(form->Panel_RUN->Font().Size, 14);
    EXPECT_EQ(form->Panel_RUN->Font().Name, "Arial Black");
    EXPECT_EQ(form->Panel_RUN->BevelOuter(), bvNone);
    EXPECT_EQ(form->Label_Disclaimer->Caption(), "The results are for reference only.");
    EXPECT_TRUE(form->OpGLPanel->DoubleBuffered());
    EXPECT_EQ(form->CGauge_DCR_1->Kind(), gkVerticalBar);
    EXPECT_EQ(form->CGauge_DCR_1->Progress(), 40);
    EXPECT_TRUE(form->Image1->Stretch());
    EXPECT_EQ(form->Image1->Left(), -3);
    EXPECT_FALSE(form->Timer_Run_ZORV->Enabled());
    EXPECT_EQ(form->Timer_Run_ZORV->Interval(), 600u);
    EXPECT_EQ(form->CheckListBox_Batch->Items().Count(), 2);
    EXPECT_TRUE(form->calls.size() == 2) << "loading fired no event";
}

TEST(Layout, BindsEveryHandlerToItsEvent) {
    ui::ApplicationScope scope;
    scope.Headless().SetEcho(false);
    TSampleForm* form = nullptr;
    Application->CreateForm(form);
    form->calls.clear();

    ui::UserTypeText(form->LabeledEdit_H_col, "1");
    ui::UserPressEnter(form->LabeledEdit_H_col);
    ui::UserKeyDown(form->ComboBox_cfg, VK_DOWN);
    ui::UserClick(form->CheckBox_adjust_tg);
    ui::UserChooseItem(form->RadioGroup_DCR, 2);
    ui::UserDoubleClickCell(form->StringGrid_DCR, 0, 4);
    ui::UserMouseEnter(form->Panel_RUN);
    ui::UserMouseUp(form->OpGLPanel, mbLeft, 0, 17, 3);
    ui::UserMouseMove(form->OpGLPanel, 0, 1, 9);
    form->Timer_Run_ZORV->SetEnabled(true);
    Application->AdvanceClock(600);
    ui::PaintForm(form);
    ui::RecordingCanvas canvas;
    form->StringGrid_DCR->SetRowCount(1);
    form->StringGrid_DCR->SetColCount(1);
    ui::PaintGrid(form->StringGrid_DCR, canvas);
    ui::UserClose(form);

    EXPECT_EQ(form->calls,
              (std::vector<std::string>{"change 40001", "enter", "key 40", "ComboBox_cfg", "CheckBox_adjust_tg",
                                        "RadioGroup_DCR", "row 4", "Panel_RUN", "up 17", "move 9", "Timer_Run_ZORV",
                                        "SampleForm", "draw", "FormClose"}));
    EXPECT_TRUE(Application->Terminated());
    EXPECT_TRUE(scope.Headless().Boxes().empty());
}

std::string LoadError(const std::string& text, const ui::HandlerTable& handlers) {
    ui::ApplicationScope scope;
    TForm form(nullptr);
    try {
        form.LoadLayout("DOVEREFORM.layout", text, handlers);
    } catch (const Exception& e) {
        return e.Message();
    }
    return "loaded";
}

TEST(Layout, StopsWithTheFileAndLineOfWhatIsWrong) {
    ui::HandlerTable handlers;
    handlers.Add("FormCreate", TNotifyEvent([](TObject*) {}));
    handlers.Add("GridDrawCell", TDrawCellEvent([](TObject*, int, int, const TRect&, TGridDrawState) {}));

    struct ErrorCase {
        std::string text;
        std::string message;
    };
    const ErrorCase cases[] = {
        {"object F: TForm\n  object P: TPanell\n  end\nend\n", "DOVEREFORM.layout:2: unknown class TPanell"},
        {"object F: TForm\n  object P: TPanel\n    Left = 1\n    Colour = clRed\n  end\nend\n",
         "DOVEREFORM.layout:4: unknown property Colour of P (TPanel)"},
        {"object F: TForm\n  OnCreate = FormCreat\nend\n",
         "DOVEREFORM.layout:2: unknown handler FormCreat for OnCreate of F (TForm)"},
        {"object F: TForm\n  OnClose = FormCreate\nend\n",
         "DOVEREFORM.layout:2: the handler FormCreate does not suit OnClose of F (TForm)"},
        {"object F: TForm\n  OnCreate = 'FormCreate'\nend\n",
         "DOVEREFORM.layout:2: OnCreate of F (TForm) expects a handler name"},
        {"object F: TForm\n  object L: TLabel\n    Caption = 12\n  end\nend\n",
         "DOVEREFORM.layout:3: Caption expects a quoted text (L (TLabel))"},
        {"object F: TForm\n  Left = 1.5\nend\n", "DOVEREFORM.layout:2: Left expects a whole number (F (TForm))"},
        {"object F: TForm\n  Color = clMaroonish\nend\n",
         "DOVEREFORM.layout:2: unknown colour clMaroonish for Color (F (TForm))"},
        {"object F: TForm\n  Font.Style = [fsBold, fsThin]\nend\n",
         "DOVEREFORM.layout:2: unknown member fsThin of Font.Style (F (TForm))"},
        {"object F: TForm\n  Visible = Yes\nend\n", "DOVEREFORM.layout:2: Visible expects True or False (F (TForm))"},
        {"object F: TForm\n  object E: TEdit\n    Caption = 'x'\n  end\nend\n",
         "DOVEREFORM.layout:3: unknown property Caption of E (TEdit)"},
        {"object F: TForm\n  object P: TPanel\n  end\n  object P: TLabel\n  end\nend\n",
         "DOVEREFORM.layout:4: A component named P already exists"},
        {"object F: TForm\n  object L: TLabel\n    object P: TPanel\n    end\n  end\nend\n",
         "DOVEREFORM.layout:3: L (TLabel) cannot hold the control P"},
        {"object F: TForm\n  object P: TPanel\n  end\n  Caption = 'late'\nend\n",
         "DOVEREFORM.layout:4: properties of F go before its objects"},
        {"object F: TForm\n  Caption = 'open\nend\n", "DOVEREFORM.layout:2: unterminated quoted text"},
        {"object F: TForm\n  Caption = 'a' +\nend\n", "DOVEREFORM.layout:3: expected a quoted text after +"},
        {"object F: TForm\n  Caption 'a'\nend\n", "DOVEREFORM.layout:2: expected '=' after the property name"},
        {"object F: TForm\n  object P: TPanel\n", "DOVEREFORM.layout:2: object P has no end"},
        {"object F: TForm\nend\nend\n", "DOVEREFORM.layout:3: text after the last end"},
        {"object F: TDialog\nend\n", "DOVEREFORM.layout:1: unknown class TDialog for the form"},
        {"object F: TForm\n  Caption = 'x'#0\nend\n", "DOVEREFORM.layout:2: invalid character code #0"},
        {"object F: TForm\n  Caption = @\nend\n", "DOVEREFORM.layout:2: unexpected character '@'"},
        {"", "DOVEREFORM.layout:1: expected object"},
    };
    for (const auto& c : cases) EXPECT_EQ(LoadError(c.text, handlers), c.message) << c.text;

    EXPECT_EQ(LoadError("object F: TForm\n  // a comment\n  object G: TStringGrid\n    OnDrawCell = GridDrawCell\n"
                        "  end\nend\n",
                        handlers),
              "loaded");
}

TEST(Layout, TypedLookupNamesWhatIsMissingOrOfAnotherClass) {
    ui::ApplicationScope scope;
    TForm form(nullptr);
    form.LoadLayout("t.layout", "object F: TForm\n  object Panel1: TPanel\n  end\nend\n", ui::HandlerTable());
    EXPECT_NE(form.FindComponent<TPanel>("Panel1"), nullptr);
    try {
        form.FindComponent<TPanel>("Panel2");
        FAIL();
    } catch (const Exception& e) {
        EXPECT_EQ(e.Message(), "The layout has no component named Panel2");
    }
    try {
        form.FindComponent<TGroupBox>("Panel1");
        FAIL();
    } catch (const Exception& e) {
        EXPECT_EQ(e.Message(), "The component Panel1 is a TPanel, not a TGroupBox");
    }
}

TEST(Layout, TextValuesJoinQuotedPartsAndCharacterCodes) {
    ui::ApplicationScope scope;
    struct TextCase {
        const char* value;
        const char* text;
    };
    for (const TextCase& c : {TextCase{"'a'#10'b'", "a\nb"}, TextCase{"'It''s'", "It's"}, TextCase{"''", ""},
                              TextCase{"#$41'B'", "AB"}, TextCase{"'x' +\n 'y' + 'z'", "xyz"},
                              TextCase{"#945", "\xCE\xB1"}, TextCase{"'//not a comment'", "//not a comment"}}) {
        TForm form(nullptr);
        form.LoadLayout("t.layout", std::string("object F: TForm\n  Caption = ") + c.value + "\nend\n",
                        ui::HandlerTable());
        EXPECT_EQ(form.Caption(), c.text) << c.value;
    }
}

TEST(Layout, AnEditsNumberTextTakesTheUserSeparatorAndNothingElseDoes) {
    ui::ApplicationScope scope;
    const std::string layout =
        "object F: TForm\n  Caption = '0.5'\n"
        "  object A: TEdit\n    Text = '0.033'\n  end\n"
        "  object B: TLabeledEdit\n    Text = '-1.15'\n  end\n"
        "  object C: TEdit\n    Text = 'H594x302.5'\n  end\n"
        "  object D: TComboBox\n    Text = '1.5'\n  end\n"
        "end\n";
    struct Case {
        char separator;
        std::vector<std::string> texts;  // F, A, B, C, D
    };
    for (const Case& c : {Case{',', {"0.5", "0,033", "-1,15", "H594x302.5", "1.5"}},
                          Case{'.', {"0.5", "0.033", "-1.15", "H594x302.5", "1.5"}}}) {
        text::ScopedDecimalSeparator separator(c.separator);
        TForm form(nullptr);
        form.LoadLayout("t.layout", layout, ui::HandlerTable());
        EXPECT_EQ((std::vector<std::string>{form.Caption(), form.FindComponent<TEdit>("A")->Text(),
                                            form.FindComponent<TLabeledEdit>("B")->Text(),
                                            form.FindComponent<TEdit>("C")->Text(),
                                            form.FindComponent<TComboBox>("D")->Text()}),
                  c.texts)
            << c.separator;
    }
}

TEST(Layout, HandlerNamesAreRegisteredOnce) {
    ui::HandlerTable handlers;
    handlers.Add("A", TNotifyEvent([](TObject*) {}));
    EXPECT_THROW(handlers.Add("A", TNotifyEvent([](TObject*) {})), Exception);
    EXPECT_EQ(handlers.Count(), 1);
}

}  // namespace
