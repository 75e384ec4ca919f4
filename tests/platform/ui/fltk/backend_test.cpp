// The desktop backend on a private Xvfb: a small form with one control of each kind,
// driven with FLTK events as the X server would deliver them, and read back from the
// window's pixels.
#include <gtest/gtest.h>

#include <FL/Fl.H>
#include <FL/Fl_Check_Browser.H>
#include <FL/Fl_Choice.H>
#include <FL/Fl_Input.H>
#include <FL/Fl_Window.H>
#include <FL/fl_draw.H>

#include <algorithm>
#include <chrono>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "platform/ui/fltk/fltk_backend.h"
#include "platform/ui/fltk/views.h"
#include "platform/ui/scoped_disable.h"
#include "platform/ui/ui.h"
#include "x_pointer.h"
#include "xvfb_display.h"

namespace {

using ui::Dispatch;

constexpr std::string_view kLayout = R"(
object TestForm: TTestForm
  Caption = 'Backend test'
  ClientWidth = 640
  ClientHeight = 480
  BorderStyle = bsSingle
  BorderIcons = [biSystemMenu, biMinimize]
  Position = poDesktopCenter
  Color = 11372551
  Font.Name = 'Arial Black'
  Font.Height = -13
  Font.Style = [fsBold]
  Font.Color = clCream
  OnPaint = Painted
  object Image1: TImage
    Left = -3
    Top = -3
    Width = 646
    Height = 486
    Stretch = True
    OnClick = Clicked
  end
  object Label_Title: TLabel
    Left = 10
    Top = 8
    Caption = 'Find your brace'
    Transparent = True
  end
  object Box_Frame: TGroupBox
    Left = 20
    Top = 40
    Width = 300
    Height = 220
    Caption = 'Frame'
    OnMouseEnter = Entered
    OnMouseLeave = Left
    OnClick = Clicked
    object Edit_H: TLabeledEdit
      Left = 80
      Top = 30
      Width = 80
      Height = 21
      Color = clMaroon
      EditLabel.Width = 30
      EditLabel.Height = 13
      EditLabel.Caption = 'Hcol'
      LabelPosition = lpLeft
      NumbersOnly = True
      TabOrder = 0
      Text = '4000'
      OnChange = Changed
      OnKeyPress = KeyPressed
    end
    object Edit_Name: TEdit
      Left = 80
      Top = 60
      Width = 120
      Height = 21
      Font.Color = clBlack
      TabOrder = 1
      OnChange = Changed
    end
    object Combo_cfg: TComboBox
      Left = 80
      Top = 90
      Width = 120
      Style = csDropDownList
      Font.Color = clBlack
      TabOrder = 2
      ItemIndex = 0
      Items.Strings = (
        'Diagonal'
        'Chevron'
        'A/B_C|D&E')
      OnChange = Changed
      OnClick = Clicked
    end
    object Check_adjust: TCheckBox
      Left = 80
      Top = 120
      Width = 120
      Caption = 'Adjust'
      TabOrder = 3
      OnClick = Clicked
    end
    object Radio_part: TRadioGroup
      Left = 80
      Top = 145
      Width = 200
      Height = 60
      Caption = 'Part'
      Columns = 3
      ItemIndex = 0
      TabOrder = 4
      Items.Strings = ('Left' 'Mid.' 'Right')
      OnClick = Clicked
    end
  end
  object Panel_Lamp: TPanel
    Left = 340
    Top = 40
    Width = 60
    Height = 30
    Caption = 'NG'
    BevelOuter = bvNone
    Color = clRed
    ParentBackground = False
    OnClick = Clicked
    OnDblClick = DoubleClicked
    OnMouseEnter = Entered
    OnMouseLeave = Left
  end
  object Panel_View: TPanel
    Left = 340
    Top = 80
    Width = 100
    Height = 80
    Color = 16744576
    ParentBackground = False
    OnMouseUp = MouseUp
  end
  object Gauge: TCGauge
    Left = 460
    Top = 80
    Width = 40
    Height = 80
    Kind = gkVerticalBar
    ForeColor = clLime
    BackColor = clWhite
    Progress = 50
  end
  object Grid: TStringGrid
    Left = 340
    Top = 180
    Width = 200
    Height = 100
    ColCount = 2
    RowCount = 3
    DefaultColWidth = 90
    DefaultRowHeight = 30
    DefaultDrawing = False
    FixedCols = 0
    FixedRows = 0
    TabOrder = 2
    OnDrawCell = DrawCell
    OnDblClick = DoubleClicked
  end
  object Button_Go: TButton
    Left = 20
    Top = 300
    Caption = 'Go'
    Font.Color = clBlack
    TabOrder = 3
    OnClick = Clicked
  end
  object Button_Report: TButton
    Left = 120
    Top = 300
    Width = 172
    Height = 33
    Caption = 'Caculations (*.txt)'
    OnClick = Clicked
  end
  object List_Batch: TCheckListBox
    Left = 20
    Top = 340
    Width = 150
    Height = 60
    TabOrder = 4
    Items.Strings = ('1' '2')
  end
  object Button_Design: TButton
    Left = 660
    Top = 400
    Caption = 'Design'
    TabOrder = 5
    OnClick = Clicked
  end
  object Box_Column: TGroupBox
    Left = 400
    Top = 300
    Width = 200
    Height = 80
    Caption = 'Right'
    OnMouseEnter = Narrow
    object Combo_Column: TComboBox
      Left = 150
      Top = 30
      Width = 22
      Height = 22
      Style = csDropDownList
      Font.Color = clBlack
      TabOrder = 0
      ItemIndex = 0
      Items.Strings = ('UC356' 'UC305')
      OnSelect = Picked
      OnMouseEnter = Widen
    end
  end
  object Timer1: TTimer
    Enabled = False
    Interval = 30
    OnTimer = Ticked
  end
end
)";

class TTestForm : public TForm {
public:
    static constexpr const char* kClass = "TTestForm";
    std::string ClassName() const override { return kClass; }

    TImage* Image1;
    TLabel* Label_Title;
    TGroupBox* Box_Frame;
    TLabeledEdit* Edit_H;
    TEdit* Edit_Name;
    TComboBox* Combo_cfg;
    TCheckBox* Check_adjust;
    TRadioGroup* Radio_part;
    TPanel* Panel_Lamp;
    TPanel* Panel_View;
    TCGauge* Gauge;
    TStringGrid* Grid;
    TButton* Button_Go;
    TButton* Button_Report;
    TCheckListBox* List_Batch;
    TButton* Button_Design;
    TGroupBox* Box_Column;
    TComboBox* Combo_Column;
    TTimer* Timer1;

    std::vector<std::string> log;
    int paints = 0;
    int ticks = 0;
    std::function<void(TObject*)> on_click;
    std::function<void(TObject*)> on_change;
    std::function<void(TObject*, char&)> on_key;
    std::function<void()> on_tick;
    std::function<void(int, int, const TRect&)> on_draw_cell;

    explicit TTestForm(TComponent* owner) : TForm(owner) {
        ui::HandlerTable h;
        h.Bind("Clicked", this, &TTestForm::Clicked);
        h.Bind("DoubleClicked", this, &TTestForm::DoubleClicked);
        h.Bind("Entered", this, &TTestForm::Entered);
        h.Bind("Left", this, &TTestForm::Left);
        h.Bind("Changed", this, &TTestForm::Changed);
        h.Bind("KeyPressed", this, &TTestForm::KeyPressed);
        h.Bind("MouseUp", this, &TTestForm::MouseUp);
        h.Bind("Painted", this, &TTestForm::Painted);
        h.Bind("Ticked", this, &TTestForm::Ticked);
        h.Bind("DrawCell", this, &TTestForm::DrawCell);
        h.Bind("Widen", this, &TTestForm::Widen);
        h.Bind("Narrow", this, &TTestForm::Narrow);
        h.Bind("Picked", this, &TTestForm::Picked);
        LoadLayout("test_form.layout", kLayout, h);
        Image1 = FindComponent<TImage>("Image1");
        Label_Title = FindComponent<TLabel>("Label_Title");
        Box_Frame = FindComponent<TGroupBox>("Box_Frame");
        Edit_H = FindComponent<TLabeledEdit>("Edit_H");
        Edit_Name = FindComponent<TEdit>("Edit_Name");
        Combo_cfg = FindComponent<TComboBox>("Combo_cfg");
        Check_adjust = FindComponent<TCheckBox>("Check_adjust");
        Radio_part = FindComponent<TRadioGroup>("Radio_part");
        Panel_Lamp = FindComponent<TPanel>("Panel_Lamp");
        Panel_View = FindComponent<TPanel>("Panel_View");
        Gauge = FindComponent<TCGauge>("Gauge");
        Grid = FindComponent<TStringGrid>("Grid");
        Button_Go = FindComponent<TButton>("Button_Go");
        Button_Report = FindComponent<TButton>("Button_Report");
        List_Batch = FindComponent<TCheckListBox>("List_Batch");
        Button_Design = FindComponent<TButton>("Button_Design");
        Box_Column = FindComponent<TGroupBox>("Box_Column");
        Combo_Column = FindComponent<TComboBox>("Combo_Column");
        Timer1 = FindComponent<TTimer>("Timer1");
    }

private:
    static std::string NameOf(TObject* sender) {
        auto* c = dynamic_cast<TComponent*>(sender);
        return c ? c->Name() : "?";
    }
    void Clicked(TObject* sender) {
        log.push_back(NameOf(sender) + " click");
        if (on_click) on_click(sender);
    }
    void DoubleClicked(TObject* sender) { log.push_back(NameOf(sender) + " dblclick"); }
    void Entered(TObject* sender) { log.push_back(NameOf(sender) + " enter"); }
    void Left(TObject* sender) { log.push_back(NameOf(sender) + " leave"); }
    void Changed(TObject* sender) {
        std::string value;
        if (auto* edit = dynamic_cast<TEdit*>(sender)) value = edit->Text();
        if (auto* combo = dynamic_cast<TComboBox*>(sender)) value = std::to_string(combo->ItemIndex());
        log.push_back(NameOf(sender) + " change " + value);
        if (on_change) on_change(sender);
    }
    void KeyPressed(TObject* sender, char& key) {
        log.push_back(NameOf(sender) + " key " + std::to_string(static_cast<int>(key)));
        if (on_key) on_key(sender, key);
    }
    void MouseUp(TObject* sender, TMouseButton button, TShiftState, int x, int y) {
        log.push_back(NameOf(sender) + " up " + std::to_string(button) + " " + std::to_string(x) + "," +
                      std::to_string(y));
    }
    void Painted(TObject*) { ++paints; }
    // A selector that widens under the pointer and narrows when its group is entered.
    void Widen(TObject* sender) {
        log.push_back(NameOf(sender) + " enter");
        Combo_Column->SetBounds(10, 30, 150, 22);
    }
    void Narrow(TObject* sender) {
        log.push_back(NameOf(sender) + " enter");
        Combo_Column->SetBounds(150, 30, 22, 22);
    }
    void Picked(TObject* sender) { log.push_back(NameOf(sender) + " select " + std::to_string(Combo_Column->ItemIndex())); }
    void Ticked(TObject*) {
        ++ticks;
        if (on_tick) on_tick();
    }
    void DrawCell(TObject*, int col, int row, const TRect& rect, TGridDrawState) {
        if (on_draw_cell) on_draw_cell(col, row, rect);
    }
};

using Clock = std::chrono::steady_clock;

class Desktop : public ::testing::Test {
protected:
    void SetUp() override {
        const std::string why = testing_x::StartXvfb();
        if (!why.empty()) GTEST_SKIP() << why;
        if (auto error = ui::OpenDisplay()) GTEST_SKIP() << *error;
        previous_ = Application;
        app_ = std::make_unique<TApplication>();
        Application = app_.get();
        backend_ = std::make_unique<ui::FltkBackend>(*app_);
        app_->CreateForm(form_);
        form_->Show();
        backend_->SyncNow();
        window_ = backend_->WindowFor(form_);
        ASSERT_NE(window_, nullptr);
        ASSERT_TRUE(RunUntil([&] { return window_->shown() && form_->paints > 0; }));
        Settle();
    }

    void TearDown() override {
        backend_.reset();
        app_.reset();
        if (previous_) Application = previous_;
    }

    bool RunUntil(const std::function<bool()>& done, int ms = 3000) {
        const auto end = Clock::now() + std::chrono::milliseconds(ms);
        while (!done() && Clock::now() < end) backend_->RunOnce(0.005);
        return done();
    }
    void RunFor(int ms) {
        const auto end = Clock::now() + std::chrono::milliseconds(ms);
        while (Clock::now() < end) backend_->RunOnce(0.005);
    }
    // Lets the repaints reach the server.
    void Settle() {
        backend_->RunOnce(0.0);
        Fl::flush();
    }

    Fl_Widget* W(const TControl* c) { return backend_->WidgetFor(c); }
    // The centre of a control, in window coordinates.
    int CX(const TControl* c) { return W(c)->x() + W(c)->w() / 2; }
    int CY(const TControl* c) { return W(c)->y() + W(c)->h() / 2; }

    ui::Rgb Pixel(int x, int y) {
        Fl::flush();
        return ShownPixel(x, y);
    }
    // What the window shows now, without drawing what is pending.
    ui::Rgb ShownPixel(int x, int y) {
        window_->make_current();
        unsigned char* p = fl_read_image(nullptr, x, y, 1, 1);
        ui::Rgb rgb{p[0], p[1], p[2]};
        delete[] p;
        return rgb;
    }
    // Pixels of a rectangle of the window within `tolerance` of a colour in each channel.
    int CountNear(int x, int y, int w, int h, ui::Rgb colour, int tolerance = 24) {
        Fl::flush();
        window_->make_current();
        unsigned char* p = fl_read_image(nullptr, x, y, w, h);
        int n = 0;
        for (int i = 0; i < w * h; ++i)
            n += std::abs(p[3 * i] - colour.r) <= tolerance && std::abs(p[3 * i + 1] - colour.g) <= tolerance &&
                 std::abs(p[3 * i + 2] - colour.b) <= tolerance;
        delete[] p;
        return n;
    }
    // Distinct colours in a rectangle of the window.
    int Colours(int x, int y, int w, int h) {
        Fl::flush();
        window_->make_current();
        unsigned char* p = fl_read_image(nullptr, x, y, w, h);
        std::vector<std::uint32_t> seen;
        for (int i = 0; i < w * h; ++i) {
            const std::uint32_t c = p[3 * i] << 16 | p[3 * i + 1] << 8 | p[3 * i + 2];
            if (std::find(seen.begin(), seen.end(), c) == seen.end()) seen.push_back(c);
        }
        delete[] p;
        return static_cast<int>(seen.size());
    }

    // ---- events as FLTK gets them from the server ----
    void Move(int x, int y) {
        Fl::e_x = x;
        Fl::e_y = y;
        Fl::e_x_root = window_->x() + x;
        Fl::e_y_root = window_->y() + y;
        Fl::e_state = 0;
        Fl::handle(FL_MOVE, window_);
    }
    void Press(int x, int y, int clicks = 0, int button = FL_LEFT_MOUSE) {
        Move(x, y);
        Fl::e_keysym = FL_Button + button;
        Fl::e_clicks = clicks;
        Fl::e_is_click = 1;
        Fl::e_state = button == FL_LEFT_MOUSE ? FL_BUTTON1 : FL_BUTTON3;
        Fl::handle(FL_PUSH, window_);
    }
    void Release(int x, int y, int button = FL_LEFT_MOUSE) {
        Fl::e_x = x;
        Fl::e_y = y;
        Fl::e_keysym = FL_Button + button;
        Fl::e_state = 0;
        Fl::handle(FL_RELEASE, window_);
    }
    void Click(int x, int y, int button = FL_LEFT_MOUSE) {
        Press(x, y, 0, button);
        Release(x, y, button);
    }
    void DoubleClick(int x, int y) {
        Click(x, y);
        Press(x, y, 1);
        Release(x, y);
    }
    void Key(int key, const std::string& text = "", int state = 0) {
        text_ = text;
        Fl::e_keysym = key;
        Fl::e_original_keysym = key;
        Fl::e_text = text_.data();
        Fl::e_length = static_cast<int>(text_.size());
        Fl::e_state = state;
        Fl::handle(FL_KEYBOARD, window_);
    }
    void Type(const std::string& text) {
        for (char c : text) Key(static_cast<unsigned char>(c), std::string(1, c));
    }
    // Logged entries that start with the prefix.
    std::vector<std::string> Logged(const std::string& prefix) {
        std::vector<std::string> out;
        for (const auto& e : form_->log)
            if (e.rfind(prefix, 0) == 0) out.push_back(e);
        return out;
    }

    TApplication* previous_ = nullptr;
    std::unique_ptr<TApplication> app_;
    std::unique_ptr<ui::FltkBackend> backend_;
    TTestForm* form_ = nullptr;
    Fl_Window* window_ = nullptr;
    std::string text_;
};

using Log = std::vector<std::string>;

bool Near(ui::Rgb a, ui::Rgb b) {
    auto d = [](int x, int y) { return std::abs(x - y) <= 2; };
    return d(a.r, b.r) && d(a.g, b.g) && d(a.b, b.b);
}

std::string Str(ui::Rgb c) {
    return std::to_string(c.r) + "," + std::to_string(c.g) + "," + std::to_string(c.b);
}

TEST_F(Desktop, WindowTakesTheFormsClientAreaCaptionAndPlace) {
    EXPECT_EQ(window_->w(), 640);
    EXPECT_EQ(window_->h(), 480);
    EXPECT_STREQ(window_->label(), "Backend test");
    // Centred on the 1280 x 1024 screen.
    EXPECT_EQ(window_->x(), 320);
    EXPECT_EQ(window_->y(), 272);
    EXPECT_GE(form_->paints, 1);

    Dispatch([&] { form_->SetCaption("Backend test : 42"); });
    EXPECT_STREQ(window_->label(), "Backend test : 42");
}

TEST_F(Desktop, ControlsStandAtTheirBoundsWithTheirColoursAndFonts) {
    // Children of the group box stand at the box's place plus their own.
    Fl_Widget* edit = W(form_->Edit_H);
    EXPECT_EQ(edit->x(), 100);
    EXPECT_EQ(edit->y(), 70);
    EXPECT_EQ(edit->w(), 80);
    EXPECT_EQ(edit->h(), 21);
    // The label of an edit on its left ends three pixels before it.
    Fl_Widget* label = W(form_->Edit_H->EditLabel());
    ASSERT_NE(label, nullptr);
    EXPECT_EQ(label->x() + label->w(), 97);

    EXPECT_TRUE(Near(Pixel(5, 470), {7, 135, 173})) << Str(Pixel(5, 470));        // the form
    EXPECT_TRUE(Near(Pixel(345, 45), {255, 0, 0})) << Str(Pixel(345, 45));        // the lamp
    EXPECT_TRUE(Near(Pixel(430, 150), {128, 128, 255})) << Str(Pixel(430, 150));   // the view
    EXPECT_TRUE(Near(Pixel(edit->x() + 70, edit->y() + 10), {128, 0, 0}));          // a maroon edit
    EXPECT_TRUE(Near(Pixel(470, 155), {0, 255, 0})) << Str(Pixel(470, 155));       // gauge, lower half
    EXPECT_TRUE(Near(Pixel(470, 90), {255, 255, 255})) << Str(Pixel(470, 90));     // gauge, upper half
    // Captions are drawn: more than the lamp's red in its middle.
    EXPECT_GT(Colours(350, 45, 40, 20), 2);
    EXPECT_GT(Colours(10, 8, 100, 16), 2);

    auto* input = dynamic_cast<Fl_Input*>(edit);
    ASSERT_NE(input, nullptr);
    EXPECT_EQ(input->textfont(), FL_HELVETICA_BOLD);  // "Arial Black"
    EXPECT_EQ(input->textsize(), 13);
    EXPECT_STREQ(input->value(), "4000");

    // The button beyond the window's right edge exists, out of sight.
    EXPECT_GE(W(form_->Button_Design)->x(), window_->w());
}

TEST_F(Desktop, AButtonsCaptionIsDrawnInTheButtonTextWhateverItsFontColour) {
    // Cream, as the form's font gives it, like the report buttons on their page.
    ASSERT_EQ(form_->Button_Report->Font().Color, clCream);
    Fl_Widget* button = W(form_->Button_Report);
    const int x = button->x() + 4, y = button->y() + 4, w = button->w() - 8, h = button->h() - 8;
    const ui::Rgb ink = ui::ColorToRgb(clBtnText), cream = ui::ColorToRgb(clCream);
    ASSERT_GT(CountNear(x, y, w, h, ui::ColorToRgb(clBtnFace), 4), w * h / 2) << "the face is the desktop's";
    EXPECT_GT(CountNear(x, y, w, h, ink), 40) << "the caption in the button text";
    EXPECT_EQ(CountNear(x, y, w, h, cream, 4), 0) << "nothing of the font colour";

    // Disabled: greyed, neither the button text nor the face.
    Dispatch([&] { form_->Button_Report->SetEnabled(false); });
    EXPECT_EQ(CountNear(x, y, w, h, ink), 0);
    EXPECT_GT(CountNear(x, y, w, h, {128, 128, 128}, 40), 40);

    // A label keeps its font colour.
    EXPECT_GT(CountNear(10, 8, 100, 16, cream, 4), 10);
}

TEST_F(Desktop, VisibilityEnabledStateAndModelChangesShowAtOnce) {
    Dispatch([&] {
        form_->Panel_Lamp->SetColor(clLime);
        form_->Panel_Lamp->SetCaption("DONE");
        form_->Button_Go->SetEnabled(false);
        form_->Gauge->Hide();
    });
    EXPECT_TRUE(Near(Pixel(345, 45), {0, 255, 0})) << Str(Pixel(345, 45));
    EXPECT_FALSE(W(form_->Button_Go)->active());
    EXPECT_FALSE(W(form_->Gauge)->visible());
    EXPECT_TRUE(Near(Pixel(470, 155), {7, 135, 173})) << Str(Pixel(470, 155));

    // A disabled container keeps its children's look but takes no input for them.
    Click(CX(form_->Edit_Name), CY(form_->Edit_Name));
    ASSERT_EQ(Fl::focus(), W(form_->Edit_Name));
    Dispatch([&] { form_->Box_Frame->SetEnabled(false); });
    EXPECT_TRUE(W(form_->Edit_H)->active());
    Type("x");
    Key(FL_BackSpace);
    EXPECT_EQ(form_->Edit_Name->Text(), "");
    EXPECT_STREQ(static_cast<Fl_Input*>(W(form_->Edit_Name))->value(), "");
}

TEST_F(Desktop, TypingEditsTheTextAndEnterGivesKeyPress13) {
    Click(CX(form_->Edit_Name), CY(form_->Edit_Name));
    EXPECT_EQ(form_->ActiveControl(), form_->Edit_Name);
    Type("ab");
    EXPECT_EQ(form_->Edit_Name->Text(), "ab");
    EXPECT_EQ(Logged("Edit_Name"), (Log{"Edit_Name change a", "Edit_Name change ab"}));
    Key(FL_BackSpace);
    EXPECT_EQ(form_->Edit_Name->Text(), "a");

    // Digits only from the keyboard; OnKeyPress sees every key, Enter as 13.
    Click(CX(form_->Edit_H), CY(form_->Edit_H));
    Key(FL_End);
    for (int i = 0; i < 4; ++i) Key(FL_BackSpace);
    Type("5x0");
    Key(FL_Enter);
    EXPECT_EQ(form_->Edit_H->Text(), "50");
    EXPECT_STREQ(static_cast<Fl_Input*>(W(form_->Edit_H))->value(), "50");
    const Log keys = Logged("Edit_H key");
    ASSERT_GE(keys.size(), 4u);
    EXPECT_EQ(keys.back(), "Edit_H key 13");
    EXPECT_EQ(Logged("Edit_H change").back(), "Edit_H change 50");

    // Text written by the program shows in the widget.
    Dispatch([&] { form_->Edit_H->SetText("6000"); });
    EXPECT_STREQ(static_cast<Fl_Input*>(W(form_->Edit_H))->value(), "6000");
}

TEST_F(Desktop, ComboChoiceAndArrowKeysFireOncePerMove) {
    auto* choice = dynamic_cast<Fl_Choice*>(W(form_->Combo_cfg));
    ASSERT_NE(choice, nullptr);
    // Menu syntax in an item stays text: three items, the last one whole.
    EXPECT_EQ(choice->size(), 4);
    EXPECT_STREQ(choice->menu()[2].label(), "A/B_C|D&&E");

    // The user picks "Chevron" from the list.
    choice->value(1);
    choice->do_callback();
    EXPECT_EQ(form_->Combo_cfg->ItemIndex(), 1);
    EXPECT_EQ(Logged("Combo_cfg"), (Log{"Combo_cfg click", "Combo_cfg change 1"}));

    form_->log.clear();
    Dispatch([&] { form_->Combo_cfg->SetFocus(); });
    Key(FL_Down);
    Key(FL_Down);
    Key(FL_Up);
    Key(FL_Up);
    Key(FL_Up);
    EXPECT_EQ(Logged("Combo_cfg change"),
              (Log{"Combo_cfg change 2", "Combo_cfg change 1", "Combo_cfg change 0"}));
    EXPECT_EQ(choice->value(), 0);

    // Items replaced from code show at once.
    Dispatch([&] { form_->Combo_cfg->Items().Assign({"One"}); });
    EXPECT_EQ(choice->size(), 2);
}

TEST_F(Desktop, ClicksDoubleClicksEnterAndLeave) {
    Move(5, 470);
    form_->log.clear();
    Move(CX(form_->Panel_Lamp), CY(form_->Panel_Lamp));
    Click(CX(form_->Panel_Lamp), CY(form_->Panel_Lamp));
    DoubleClick(CX(form_->Panel_Lamp), CY(form_->Panel_Lamp));
    Move(5, 470);
    EXPECT_EQ(Logged("Panel_Lamp"), (Log{"Panel_Lamp enter", "Panel_Lamp click", "Panel_Lamp click",
                                     "Panel_Lamp dblclick", "Panel_Lamp leave"}));

    // Into the group box, on into a child of it (leaving the box) and back to the box's
    // free area (entering it again).
    Move(25, 250);
    Move(CX(form_->Edit_Name), CY(form_->Edit_Name));
    EXPECT_EQ(Logged("Box_Frame"), (Log{"Box_Frame enter", "Box_Frame leave"}));
    Move(25, 250);
    Move(5, 470);
    EXPECT_EQ(Logged("Box_Frame"), (Log{"Box_Frame enter", "Box_Frame leave", "Box_Frame enter", "Box_Frame leave"}));
    Click(25, 250);
    EXPECT_EQ(Logged("Box_Frame click").size(), 1u);

    // The picture behind everything takes the clicks that nothing else takes.
    Click(600, 20);
    EXPECT_EQ(Logged("Image1"), (Log{"Image1 click"}));

    // Mouse up with the button and the place in the control.
    Click(345, 90, FL_RIGHT_MOUSE);
    EXPECT_EQ(Logged("Panel_View"), (Log{"Panel_View up 1 5,10"}));

    // Check box, radio group, button.
    Click(CX(form_->Check_adjust) - 50, CY(form_->Check_adjust));
    EXPECT_TRUE(form_->Check_adjust->Checked());
    Key(' ');
    EXPECT_FALSE(form_->Check_adjust->Checked());
    EXPECT_EQ(Logged("Check_adjust").size(), 2u);
    Fl_Widget* radio = W(form_->Radio_part);
    Click(radio->x() + radio->w() - 30, radio->y() + 35);
    EXPECT_EQ(form_->Radio_part->ItemIndex(), 2);
    Click(CX(form_->Button_Go), CY(form_->Button_Go));
    EXPECT_EQ(Logged("Button_Go"), (Log{"Button_Go click"}));

    // A check list box item checked with the mouse.
    auto* list = dynamic_cast<Fl_Check_Browser*>(W(form_->List_Batch));
    ASSERT_NE(list, nullptr);
    list->checked(2, 1);
    list->do_callback();
    EXPECT_TRUE(form_->List_Batch->Checked(1));
    EXPECT_FALSE(form_->List_Batch->Checked(0));
}

TEST_F(Desktop, EnterAndLeaveReachOnlyTheControlUnderThePointer) {
    Fl_Widget* selector = W(form_->Combo_Column);
    Move(5, 470);  // the picture behind everything
    form_->log.clear();
    // One jump from outside the group straight onto the narrow selector widens it, and
    // the group hears nothing of it.
    Move(400 + 161, 300 + 41);
    EXPECT_EQ(form_->log, (Log{"Combo_Column enter"}));
    EXPECT_EQ(selector->w(), 150);
    EXPECT_EQ(selector->x(), 410);
    // Across the widened selector, then onto the group's free area: narrowed again.
    Move(400 + 20, 300 + 41);
    EXPECT_EQ(form_->log.size(), 1u);
    Move(400 + 20, 300 + 70);
    EXPECT_EQ(form_->log, (Log{"Combo_Column enter", "Box_Column enter"}));
    EXPECT_EQ(selector->w(), 22);

    // The pointer leaves the window and comes back onto the selector.
    form_->log.clear();
    Move(400 + 161, 300 + 41);
    Fl::handle(FL_LEAVE, window_);
    Fl::e_x = 400 + 20;
    Fl::e_y = 300 + 70;
    Fl::handle(FL_ENTER, window_);
    EXPECT_EQ(form_->log, (Log{"Combo_Column enter", "Box_Column enter"}));
    EXPECT_EQ(form_->Hovered(), form_->Box_Column);
    Fl::handle(FL_LEAVE, window_);
    EXPECT_EQ(form_->Hovered(), nullptr);
}

TEST_F(Desktop, APickFromTheListReachesTheModelAlsoForTheItemShown) {
    // As the open list does when the user clicks the item already chosen.
    auto* column = dynamic_cast<Fl_Choice*>(W(form_->Combo_Column));
    ASSERT_NE(column, nullptr);
    column->picked(&column->menu()[0]);
    EXPECT_EQ(Logged("Combo_Column"), (Log{"Combo_Column select 0"}));
    column->picked(&column->menu()[1]);
    EXPECT_EQ(Logged("Combo_Column"), (Log{"Combo_Column select 0", "Combo_Column select 1"}));
    // Without OnSelect the item shown again is no change.
    auto* cfg = dynamic_cast<Fl_Choice*>(W(form_->Combo_cfg));
    cfg->picked(&cfg->menu()[0]);
    EXPECT_EQ(Logged("Combo_cfg"), Log{});
}

TEST_F(Desktop, PaintNowShowsWhatAHandlerChangedBeforeTheHandlerEnds) {
    // A handler that opens a box, then blocks as a request to the service does.
    ui::Rgb hole_before{}, hole_after{}, lamp_before{}, lamp_after{};
    int hole_x = 0, hole_y = 0;
    form_->on_tick = [&] {
        if (Fl_Window* box = backend_->OpenBox()) {
            hole_x = box->x() + box->w() / 4 - window_->x();
            hole_y = box->y() + box->h() / 2 - window_->y();
            box->hide();
        }
    };
    form_->on_click = [&](TObject* sender) {
        if (sender != form_->Button_Go) return;
        form_->Timer1->SetEnabled(true);
        ShowMessage("Select a thinner core plate!");
        form_->Timer1->SetEnabled(false);
        // Nothing changed in the model, yet the box left a hole.
        hole_before = ShownPixel(hole_x, hole_y);
        ui::PaintNow();
        hole_after = ShownPixel(hole_x, hole_y);
        form_->Panel_Lamp->SetColor(clLime);
        lamp_before = ShownPixel(345, 45);
        ui::PaintNow();
        lamp_after = ShownPixel(345, 45);
    };
    Click(CX(form_->Button_Go), CY(form_->Button_Go));
    RunFor(50);
    const ui::Rgb settled = Pixel(hole_x, hole_y);
    ASSERT_FALSE(Near(hole_before, settled)) << "the box left no hole to paint: " << Str(hole_before);
    EXPECT_TRUE(Near(hole_after, settled)) << Str(hole_after) << " where the window shows " << Str(settled);
    EXPECT_TRUE(Near(lamp_before, {255, 0, 0})) << "nothing was drawn before: " << Str(lamp_before);
    EXPECT_TRUE(Near(lamp_after, {0, 255, 0})) << Str(lamp_after);
}

TEST_F(Desktop, TheWindowShowsTheWaitPointerWhileARunWaitsAndTheArrowAfter) {
    testing_x::PointerProbe probe;
    if (!probe.Open()) GTEST_SKIP() << "the X server has no XFIXES to read the pointer with";
    const testing_x::PointerImage wait = probe.Wait(), arrow = probe.Arrow();
    ASSERT_FALSE(testing_x::SamePointer(wait, arrow)) << testing_x::Describe(wait);
    using testing_x::Describe;
    using testing_x::SamePointer;

    // The window's free corner, a grid, a panel and a group box.
    const std::pair<int, int> spots[] = {{620, 460},
                                         {CX(form_->Grid), CY(form_->Grid)},
                                         {CX(form_->Panel_Lamp), CY(form_->Panel_Lamp)},
                                         {CX(form_->Box_Frame) + 120, CY(form_->Box_Frame) + 90}};
    probe.MoveTo(window_, spots[0].first, spots[0].second);
    RunFor(50);
    ASSERT_TRUE(SamePointer(probe.Shown(), arrow)) << "before the run: " << Describe(probe.Shown());

    // A run as the design run is: the hourglass, the window shown, then a wait for the
    // service that lets no event through; the arrow however it ends.
    std::vector<testing_x::PointerImage> during;
    form_->on_click = [&](TObject* sender) {
        if (sender != form_->Button_Go) return;
        form_->SetCursor(crHourGlass);
        ui::PaintNow();
        for (const auto& [x, y] : spots) {
            probe.MoveTo(window_, x, y);
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
            during.push_back(probe.Shown());
        }
        form_->SetCursor(crArrow);
    };
    Click(CX(form_->Button_Go), CY(form_->Button_Go));
    ASSERT_EQ(during.size(), std::size(spots));
    for (std::size_t i = 0; i < during.size(); ++i)
        EXPECT_TRUE(SamePointer(during[i], wait))
            << "at " << spots[i].first << "," << spots[i].second << ": " << Describe(during[i]);
    // Once the run has ended, without the pointer moving.
    RunFor(50);
    EXPECT_TRUE(SamePointer(probe.Shown(), arrow)) << "after the run: " << Describe(probe.Shown());

    // A run that raises: the error box comes, and the window has the arrow again.
    form_->on_click = [&](TObject* sender) {
        if (sender != form_->Button_Go) return;
        form_->SetCursor(crHourGlass);
        ui::PaintNow();
        during.assign(1, probe.Shown());
        throw Exception("[Error] Check the connection(Port: 80,8080,8081)!");
    };
    struct Closer {
        ui::FltkBackend* backend;
        testing_x::PointerProbe* probe;
        Fl_Window* window;
        std::vector<testing_x::PointerImage> over_window;
        static void Run(void* data) {
            auto* c = static_cast<Closer*>(data);
            if (Fl_Window* box = c->backend->OpenBox(); box && box->shown()) {
                c->probe->MoveTo(c->window, 620, 460);
                c->over_window.push_back(c->probe->Shown());
                box->hide();
                return;
            }
            Fl::repeat_timeout(0.02, Run, data);
        }
    } closer{backend_.get(), &probe, window_, {}};
    Fl::add_timeout(0.02, Closer::Run, &closer);
    Click(CX(form_->Button_Go), CY(form_->Button_Go));
    Fl::remove_timeout(Closer::Run, &closer);
    ASSERT_EQ(backend_->Boxes().size(), 1u);
    ASSERT_EQ(during.size(), 1u);
    EXPECT_TRUE(SamePointer(during[0], wait)) << Describe(during[0]);
    ASSERT_EQ(closer.over_window.size(), 1u);
    EXPECT_TRUE(SamePointer(closer.over_window[0], arrow)) << "while the error box is open: "
                                                           << Describe(closer.over_window[0]);
    probe.MoveTo(window_, spots[1].first, spots[1].second);
    RunFor(50);
    EXPECT_TRUE(SamePointer(probe.Shown(), arrow)) << "after the error box: " << Describe(probe.Shown());
}

TEST_F(Desktop, TabFollowsTheModelsOrderBeyondTheWindowEdge) {
    const auto order = ui::TabOrderList(form_);
    ASSERT_NE(std::find(order.begin(), order.end(), form_->Button_Design), order.end());
    for (TWinControl* expected : order) {
        Key(FL_Tab);
        EXPECT_EQ(form_->ActiveControl(), expected) << expected->Name();
        EXPECT_EQ(Fl::focus(), W(expected)) << expected->Name();
    }
    // Round again to the button out of sight; Enter presses it.
    for (size_t i = 0; i < order.size() && form_->ActiveControl() != form_->Button_Design; ++i) Key(FL_Tab);
    ASSERT_EQ(form_->ActiveControl(), form_->Button_Design);
    Key(FL_Enter, "\r");
    EXPECT_EQ(Logged("Button_Design"), (Log{"Button_Design click"}));
    // Shift+Tab goes back; Escape does not close the window.
    const auto at = std::find(order.begin(), order.end(), form_->Button_Design) - order.begin();
    Key(FL_Tab, "", FL_SHIFT);
    EXPECT_EQ(form_->ActiveControl(), order[static_cast<size_t>((at + order.size() - 1) % order.size())]);
    Key(FL_Escape);
    EXPECT_FALSE(app_->Terminated());
}

TEST_F(Desktop, TheKeysStayWithTheControlThatAnEventDisabledForItsRun) {
    // As a design run does: the control that started it is disabled, the window shows
    // the run (the widget is deactivated), a box comes and goes, and the control is
    // enabled again; with `lock` it is left disabled, without a box.
    bool lock = false;
    const auto run = [&](TWinControl* control) {
        {
            const ui::ScopedDisable busy(control);
            ui::PaintNow();
            if (!lock) {
                form_->Timer1->SetEnabled(true);
                ShowMessage("Select a thinner core plate!");
                form_->Timer1->SetEnabled(false);
                ui::PaintNow();
            }
        }
        if (lock) control->SetEnabled(false);
    };
    form_->on_tick = [&] {
        if (Fl_Window* box = backend_->OpenBox()) box->hide();
    };
    form_->on_key = [&](TObject*, char& key) {
        if (key == 13) run(form_->Edit_H);
    };
    auto* input = static_cast<Fl_Input*>(W(form_->Edit_H));
    Click(CX(form_->Edit_H), CY(form_->Edit_H));
    Key(FL_End);
    for (int i = 0; i < 4; ++i) Key(FL_BackSpace);
    Type("4500");
    Key(FL_Enter);
    ASSERT_EQ(backend_->Boxes().size(), 1u) << "the run's box came and went";
    EXPECT_EQ(form_->ActiveControl(), form_->Edit_H);
    EXPECT_EQ(Fl::focus(), input);
    for (int i = 0; i < 4; ++i) Key(FL_BackSpace);
    Type("4600");
    EXPECT_EQ(form_->Edit_H->Text(), "4600");
    EXPECT_EQ(form_->Edit_Name->Text(), "") << "no key reached the next edit";
    EXPECT_EQ(Logged("Edit_Name"), Log{});
    // Tab goes on from the edit in the form's order.
    const auto order = ui::TabOrderList(form_);
    const auto after = std::find(order.begin(), order.end(), form_->Edit_H) + 1;
    ASSERT_NE(after, order.end());
    Key(FL_Tab);
    EXPECT_EQ(form_->ActiveControl(), *after);
    EXPECT_EQ(Fl::focus(), W(*after));

    // A selector moved with an arrow key: the next arrow key moves it again.
    form_->on_change = [&](TObject* sender) {
        if (sender == form_->Combo_cfg) run(form_->Combo_cfg);
    };
    Dispatch([&] { form_->Combo_cfg->SetFocus(); });
    form_->log.clear();
    Key(FL_Down);
    Key(FL_Down);
    Key(FL_Up);
    EXPECT_EQ(Logged("Combo_cfg change"),
              (Log{"Combo_cfg change 1", "Combo_cfg change 2", "Combo_cfg change 1"}));
    EXPECT_EQ(Fl::focus(), W(form_->Combo_cfg));
    form_->on_change = nullptr;

    // A check box whose run disables its whole group and shows a box: when the box
    // closes the group is still disabled, and the keys come back as the run ends.
    form_->on_click = [&](TObject* sender) {
        if (sender == form_->Check_adjust) run(form_->Box_Frame);
    };
    const size_t boxes = backend_->Boxes().size();
    Click(CX(form_->Check_adjust), CY(form_->Check_adjust));
    ASSERT_EQ(backend_->Boxes().size(), boxes + 1) << "the run's box came and went";
    ASSERT_TRUE(form_->Check_adjust->Checked());
    EXPECT_EQ(form_->ActiveControl(), form_->Check_adjust);
    EXPECT_EQ(Fl::focus(), W(form_->Check_adjust));
    Key(' ', " ");
    EXPECT_FALSE(form_->Check_adjust->Checked()) << "the space toggles the box";
    EXPECT_EQ(backend_->Boxes().size(), boxes + 2) << "and runs it again";
    form_->on_click = nullptr;
    // The window loses the keys to another window and gets them back: the same box.
    Fl::handle(FL_UNFOCUS, window_);
    Fl::handle(FL_FOCUS, window_);
    EXPECT_EQ(Fl::focus(), W(form_->Check_adjust));

    // An event that leaves the edit, or the group it is in, disabled leaves no control
    // with the keys: typing changes nothing, and Tab starts at the first control that
    // takes the focus.
    lock = true;
    for (TWinControl* locked : std::vector<TWinControl*>{form_->Edit_H, form_->Box_Frame}) {
        SCOPED_TRACE(locked->Name());
        Click(CX(form_->Edit_H), CY(form_->Edit_H));
        ASSERT_EQ(form_->ActiveControl(), form_->Edit_H);
        form_->on_key = [&](TObject*, char& key) {
            if (key == 13) run(locked);
        };
        Key(FL_Enter);
        EXPECT_EQ(form_->ActiveControl(), nullptr);
        EXPECT_EQ(Fl::focus(), window_);
        // Losing and regaining the window's focus picks no widget either.
        Fl::handle(FL_UNFOCUS, window_);
        Fl::handle(FL_FOCUS, window_);
        EXPECT_EQ(form_->ActiveControl(), nullptr);
        EXPECT_EQ(Fl::focus(), window_);
        form_->log.clear();
        Type("9");
        Key(FL_BackSpace);
        EXPECT_EQ(form_->Edit_H->Text(), "4600");
        EXPECT_STREQ(input->value(), "4600");
        EXPECT_EQ(Logged("Edit_"), Log{});
        Key(FL_Tab);
        const auto order = ui::TabOrderList(form_);
        ASSERT_FALSE(order.empty());
        ASSERT_NE(order.front(), form_->Edit_H);
        EXPECT_EQ(form_->ActiveControl(), order.front());
        EXPECT_EQ(Fl::focus(), W(order.front()));
        Dispatch([&] { locked->SetEnabled(true); });
    }
}

TEST_F(Desktop, GridIsPaintedThroughOnDrawCell) {
    form_->on_draw_cell = [&](int col, int row, const TRect& rect) {
        TCanvas* canvas = form_->Grid->Canvas();
        if (col == 0 && row == 0) {
            canvas->Brush.Color = clYellow;
            canvas->Font.Color = clBlack;
            canvas->TextRect(rect, rect.Left + 2, rect.Top + 2, "DCR-1");
        } else if (col == 1 && row == 0) {
            canvas->Brush.Color = clNavy;
            canvas->FillRect(rect);
            canvas->Brush.Color = clRed;
            canvas->FrameRect(rect);
        } else if (col == 0 && row == 1) {
            // Text wider than its cell stays inside it.
            canvas->Brush.Color = clWhite;
            canvas->Font.Color = clBlack;
            canvas->TextRect(rect, rect.Left + 2, rect.Top + 2, "WWWWWWWWWWWWWWWWWWWWWWWW");
        } else if (col == 1 && row == 1) {
            canvas->Brush.Color = clWhite;
            canvas->FillRect(rect);
        } else if (col == 0 && row == 2) {
            canvas->Brush.Color = clWhite;
            canvas->FillRect(rect);
            canvas->Font.Color = clBlack;
            canvas->DrawText(rect, "upper\nlower", DT_CENTER);
        }
    };
    Dispatch([&] { form_->Grid->SetCells(0, 0, "repaint"); });
    Fl_Widget* grid = W(form_->Grid);
    const int gx = grid->x(), gy = grid->y();
    EXPECT_TRUE(Near(Pixel(gx + 85, gy + 25), {255, 255, 0})) << Str(Pixel(gx + 85, gy + 25));
    EXPECT_GT(Colours(gx + 2, gy + 2, 60, 20), 1);                                    // the text
    EXPECT_TRUE(Near(Pixel(gx + 90, gy + 10), {192, 192, 192}));                      // grid line
    EXPECT_TRUE(Near(Pixel(gx + 91, gy + 10), {255, 0, 0}));                          // frame
    EXPECT_TRUE(Near(Pixel(gx + 120, gy + 15), {0, 0, 128}));                         // fill
    EXPECT_EQ(Colours(gx + 91, gy + 31, 89, 30), 1) << "the long text spilled over";  // cell (1, 1)
    EXPECT_GT(Colours(gx + 20, gy + 62, 50, 28), 1);                                  // two centred lines
}

TEST_F(Desktop, PanelShowsTheSurfaceSwappedIntoIt) {
    ui::PixelImage green;
    green.width = 100;
    green.height = 80;
    green.rgba.assign(100 * 80 * 4, 0);
    for (size_t i = 0; i < green.rgba.size(); i += 4) {
        green.rgba[i + 1] = 200;
        green.rgba[i + 3] = 0;  // a context's alpha is not transparency
    }
    Dispatch([&] { form_->Panel_View->SetSurface(green); });
    EXPECT_TRUE(Near(Pixel(345, 85), {0, 200, 0})) << Str(Pixel(345, 85));
    EXPECT_TRUE(Near(Pixel(439, 159), {0, 200, 0}));

    ui::PixelImage picture;
    picture.width = 2;
    picture.height = 2;
    picture.rgba = {10, 20, 30, 255, 10, 20, 30, 255, 10, 20, 30, 255, 10, 20, 30, 255};
    Dispatch([&] { form_->Image1->SetPicture(picture); });
    EXPECT_TRUE(Near(Pixel(5, 470), {10, 20, 30})) << Str(Pixel(5, 470));
    EXPECT_TRUE(Near(Pixel(345, 45), {255, 0, 0}));  // the lamp stays in front
}

TEST_F(Desktop, ModalBoxKeepsTimersAndRepaintsGoing) {
    ui::Rgb lamp_during_box{};
    form_->on_tick = [&] {
        if (form_->ticks == 1) form_->Panel_Lamp->SetColor(clLime);
        if (form_->ticks == 3) lamp_during_box = ShownPixel(345, 45);
        if (form_->ticks == 4 && backend_->OpenBox()) backend_->OpenBox()->hide();
    };
    form_->on_click = [&](TObject* sender) {
        if (sender == form_->Button_Go) {
            form_->Timer1->SetEnabled(true);
            ShowMessage("Select a thinner core plate! @home & away");
            form_->Timer1->SetEnabled(false);
        }
    };
    Click(CX(form_->Button_Go), CY(form_->Button_Go));
    EXPECT_GE(form_->ticks, 4);
    EXPECT_TRUE(Near(lamp_during_box, {0, 255, 0})) << Str(lamp_during_box);
    ASSERT_EQ(backend_->Boxes().size(), 1u);
    EXPECT_EQ(backend_->Boxes()[0].kind, ui::BoxKind::Message);
    EXPECT_EQ(backend_->Boxes()[0].text, "Select a thinner core plate! @home & away");
    EXPECT_EQ(backend_->OpenBox(), nullptr);
}

TEST_F(Desktop, ATimerThatOpensABoxEachTickStopsAtTheNestingLimit) {
    form_->on_tick = [&] { ShowNotice("tick " + std::to_string(form_->ticks)); };
    struct Closer {
        ui::FltkBackend* backend;
        TTimer* timer;
        static void Run(void* data) {
            auto* self = static_cast<Closer*>(data);
            if (self->backend->Boxes().size() >= ui::FltkBackend::kMaxNestedBoxes) self->timer->SetEnabled(false);
            if (!self->timer->Enabled() && self->backend->OpenBox()) self->backend->OpenBox()->hide();
            Fl::repeat_timeout(0.05, Run, data);
        }
    } closer{backend_.get(), form_->Timer1};
    Fl::add_timeout(0.05, Closer::Run, &closer);
    Dispatch([&] { form_->Timer1->SetEnabled(true); });
    RunUntil([&] { return !form_->Timer1->Enabled() && !backend_->OpenBox(); }, 5000);
    Fl::remove_timeout(Closer::Run, &closer);
    EXPECT_EQ(backend_->Boxes().size(), static_cast<size_t>(ui::FltkBackend::kMaxNestedBoxes));
    EXPECT_EQ(backend_->OpenBox(), nullptr);
}

TEST_F(Desktop, AnErrorInAHandlerOpensTheErrorBox) {
    form_->on_click = [&](TObject*) { throw Exception("Hcol is allowable between 2000mm and 20000mm"); };
    struct Closer {
        ui::FltkBackend* backend;
        static void Run(void* data) {
            auto* b = static_cast<Closer*>(data)->backend;
            if (b->OpenBox()) b->OpenBox()->hide();
            Fl::repeat_timeout(0.02, Run, data);
        }
    } closer{backend_.get()};
    Fl::add_timeout(0.02, Closer::Run, &closer);
    Dispatch([&] { form_->SetCursor(crHourGlass); });
    Click(CX(form_->Button_Go), CY(form_->Button_Go));
    Fl::remove_timeout(Closer::Run, &closer);
    ASSERT_EQ(backend_->Boxes().size(), 1u);
    EXPECT_EQ(backend_->Boxes()[0], (ui::FltkBackend::Box{ui::BoxKind::Error,
                                                         "Hcol is allowable between 2000mm and 20000mm"}));
    EXPECT_EQ(form_->Cursor(), crDefault);
}

TEST_F(Desktop, ControlsDeletedByAHandlerLeaveNoWidgetBehind) {
    form_->on_click = [&](TObject* sender) {
        if (sender == form_->Button_Go) {
            delete form_->Panel_Lamp;
            form_->Panel_Lamp = nullptr;
        }
    };
    Fl_Widget* lamp = W(form_->Panel_Lamp);
    ASSERT_NE(lamp, nullptr);
    Click(CX(form_->Button_Go), CY(form_->Button_Go));
    EXPECT_EQ(Logged("Button_Go"), (Log{"Button_Go click"}));
    // Where the lamp was, the mouse finds the form (and the picture behind).
    Move(345, 45);
    Click(345, 45);
    RunFor(30);
    EXPECT_TRUE(Near(Pixel(345, 45), {7, 135, 173})) << Str(Pixel(345, 45));
    EXPECT_TRUE(Logged("Panel_Lamp").empty());
}

TEST_F(Desktop, TheCloseBoxClosesTheFormEscapeDoesNot) {
    Key(FL_Escape);
    EXPECT_FALSE(app_->Terminated());
    Fl::handle(FL_CLOSE, window_);
    EXPECT_TRUE(app_->Terminated());
    // The loop ends at once and takes the window down.
    backend_->RunLoop(*app_);
    EXPECT_FALSE(window_->shown());
}

// FLTK drops the close of a window while a modal box is open; the form's close waits
// for the box and the handler that opened it, and then ends the program.
TEST_F(Desktop, TheCloseBoxDuringAModalBoxClosesTheFormAfterTheBoxAndItsHandler) {
    struct User {
        ui::FltkBackend* backend;
        Fl_Window* window;
        TApplication* app;
        int step = 0;
        bool ended_during_box = true;
        static void Run(void* data) {
            auto* self = static_cast<User*>(data);
            if (self->backend->OpenBox()) {
                if (self->step == 0) {
                    Fl::handle(FL_CLOSE, self->window);  // as the window manager's close
                    self->ended_during_box = self->app->Terminated();
                } else if (self->step == 1) {
                    self->backend->OpenBox()->hide();  // OK
                }
                ++self->step;
            }
            Fl::repeat_timeout(0.02, Run, data);
        }
    } user{backend_.get(), window_, app_.get()};
    bool ended_after_box = true;
    form_->on_click = [&](TObject* sender) {
        if (sender != form_->Button_Go) return;
        ShowMessage("[Error] Check the connection(Port: 80,8080,8081)!");
        ended_after_box = app_->Terminated();
    };
    Fl::add_timeout(0.02, User::Run, &user);
    Click(CX(form_->Button_Go), CY(form_->Button_Go));
    Fl::remove_timeout(User::Run, &user);
    EXPECT_GE(user.step, 2);
    EXPECT_FALSE(user.ended_during_box);
    EXPECT_FALSE(ended_after_box) << "the handler went on after its box";
    EXPECT_TRUE(app_->Terminated()) << "the close was carried out once the handler ended";
}

}  // namespace
