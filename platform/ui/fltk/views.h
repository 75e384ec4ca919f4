#pragma once
// The widgets that show the controls of the model. Each view keeps what it last
// showed; Sync compares the model with it and says what needs repainting. Input goes
// back through the ui::User... functions. A view whose control has gone keeps a null
// control and does nothing until the backend deletes it.
#include <FL/Fl_Button.H>
#include <FL/Fl_Check_Browser.H>
#include <FL/Fl_Check_Button.H>
#include <FL/Fl_Choice.H>
#include <FL/Fl_Double_Window.H>
#include <FL/Fl_Group.H>
#include <FL/Fl_Input.H>
#include <FL/Fl_Menu_Item.H>
#include <FL/Fl_RGB_Image.H>
#include <FL/Fl_Round_Button.H>
#include <FL/Fl_Widget.H>

#include <cstdint>
#include <memory>
#include <string>
#include <typeinfo>
#include <vector>

#include "platform/ui/ui.h"

namespace ui {

class FltkBackend;

// What a sync changed: nothing, the view's own pixels (an opaque view repaints
// alone), or the area the view covers or covered (its parent repaints).
enum class Change { Nothing, Self, Area };

// Where the control stands and whether it shows and takes input.
struct Frame {
    int x = 0, y = 0, w = 0, h = 0;
    bool visible = true;
    bool enabled = true;
    bool operator==(const Frame&) const = default;
};

class View {
public:
    explicit View(TControl* control) : control_(control), type_(&typeid(*control)) {}
    virtual ~View() = default;
    View(const View&) = delete;
    View& operator=(const View&) = delete;

    TControl* Control() const { return control_; }
    // The control has gone; the widget waits for deletion.
    void Forget() { control_ = nullptr; }
    virtual Fl_Widget* Widget() = 0;
    // The group that the views of the control's children go in, if any.
    virtual Fl_Group* Children() { return nullptr; }
    // The widgets of the view's own that are no model controls (radio items); they
    // stay in front of the children's order.
    virtual int PrivateChildren() const { return 0; }
    // Brings the widget up to date with the control at (x, y) of its window.
    virtual Change Sync(int x, int y) = 0;
    // Whether the view paints every pixel of its bounds.
    virtual bool Opaque() const { return false; }
    // A model change elsewhere in the form: owner-drawn views may show other state.
    virtual bool RepaintsWithForm() const { return false; }
    // Made for a control of this very class (an address may come back as another).
    bool Shows(const TControl* control) const { return typeid(*control) == *type_; }

    std::uint64_t seen = 0;

protected:
    // Input is handed to the model only when there is a control and no sync runs.
    bool Live() const;
    // Move, click, double click and mouse up of a control drawn here (enter and leave
    // go to the model from the window, FormWindow::TrackPointer).
    // Returns what FLTK's handle should return.
    int RouteMouse(Fl_Widget* widget, int event);
    // FLTK gave the widget the focus: so does the model.
    void RouteFocus();
    // A key on a focused button or check box: OnKeyDown, then Enter and space act on
    // the control (press, toggle) and other characters go to OnKeyPress. Returns what
    // FLTK's handle should return.
    int PressKey(TWinControl* control);
    // The cell a click lands on, for grids; the click itself otherwise.
    virtual void Clicked(int, int) { UserClick(control_); }
    virtual void DoubleClicked(int, int);
    // The control's frame with its top left at (x, y) of the window.
    Frame FrameAt(int x, int y) const;
    // Applies the frame to the widget (with use_active, the enabled state as FLTK's
    // own); a move, resize or change of visibility is an Area change.
    Change ApplyFrame(Fl_Widget* widget, const Frame& frame, bool use_active);

    TControl* control_;
    const std::type_info* type_;
    Frame frame_;
    bool applied_ = false;
    std::string tooltip_;  // the hint last given to the widget
    bool double_pressed_ = false;
};

// Applies the model's font to FLTK's drawing state.
void SetDrawFont(const TFont& font);
Fl_Color ToFlColor(TColor color);
// One line of text whose top is at y, with underline and strike-out.
void DrawTextLine(const std::string& text, int x, int y, const TFont& font);

// The canvas of an owner-drawn grid: model rectangles are relative to (origin_x,
// origin_y) of the window.
class FltkCanvas : public TCanvas {
public:
    FltkCanvas(int origin_x, int origin_y) : ox_(origin_x), oy_(origin_y) {}
    void FillRect(const TRect& rect) override;
    void FrameRect(const TRect& rect) override;
    void TextRect(const TRect& rect, int x, int y, const std::string& text) override;
    void DrawText(const TRect& rect, const std::string& text, unsigned format) override;

private:
    int ox_, oy_;
};

// ---- Forms --------------------------------------------------------------------------

class FormWindow : public Fl_Double_Window, public View {
public:
    explicit FormWindow(TForm* form);
    Fl_Widget* Widget() override { return this; }
    Fl_Group* Children() override { return this; }
    Change Sync(int x, int y) override;
    bool Opaque() const override { return true; }
    // Shows or hides the window as the form wants (placed once, when first shown);
    // true when that changed.
    bool SyncVisibility();
    int handle(int event) override;
    void draw() override;
    void hide() override;

private:
    // Tells the model where the pointer is (or that it left) after an enter, move or
    // leave of the window.
    void TrackPointer(int event);
    void position_at(int x, int y);
    struct Look {
        int w = 0, h = 0;
        std::string caption;
        TColor color = 0;
        bool fixed = true;
        bool operator==(const Look&) const = default;
    };
    static void CloseBox(Fl_Widget* widget, void*);
    // The window has the keyboard (again): the model's focused control takes it.
    int TakeKeys();
    Look look_;
    bool has_look_ = false;
    bool placed_ = false;
    bool drawn_ = false;
    bool had_keys_ = false;  // since it was last shown
    std::string caption_;
};

// ---- Containers -------------------------------------------------------------------------

// A container drawn here: its own background and decoration, then its children,
// clipped to its bounds.
class ContainerView : public Fl_Group, public View {
public:
    explicit ContainerView(TWinControl* control);
    Fl_Widget* Widget() override { return this; }
    Fl_Group* Children() override { return this; }
    Change Sync(int x, int y) override;
    int handle(int event) override;
    void draw() override;

protected:
    // The look of the container itself; a change repaints it (Self when opaque).
    virtual Change SyncOwn() { return Change::Nothing; }
    virtual void DrawOwn() {}
};

class PanelView : public ContainerView {
public:
    explicit PanelView(TPanel* panel) : ContainerView(panel) {}
    bool Opaque() const override { return !look_.see_through; }

protected:
    Change SyncOwn() override;
    void DrawOwn() override;

private:
    struct Look {
        TColor color = 0;
        bool see_through = false;
        TBevelCut bevel = bvNone;
        TAlignment alignment = taCenter;
        std::string caption;
        TFont font;
        bool enabled = true;
        std::uint64_t surface = 0;
        bool operator==(const Look&) const = default;
    };
    Look look_;
    bool has_look_ = false;
    PixelImage surface_;
};

class GroupBoxView : public ContainerView {
public:
    explicit GroupBoxView(TWinControl* box) : ContainerView(box) {}
    bool Opaque() const override { return !look_.see_through; }

protected:
    Change SyncOwn() override;
    void DrawOwn() override;
    // The group's frame and caption.
    void DrawFrame();

    struct Look {
        TColor color = 0;
        bool see_through = true;
        std::string caption;
        TFont font;
        bool enabled = true;
        bool operator==(const Look&) const = default;
    };
    Look look_;
    bool has_look_ = false;
};

class RadioGroupView : public GroupBoxView {
public:
    explicit RadioGroupView(TRadioGroup* radio);
    int PrivateChildren() const override { return static_cast<int>(items_.size()); }
    int handle(int event) override;

protected:
    Change SyncOwn() override;

private:
    static void Chosen(Fl_Widget* widget, void* data);
    void ShowChoice();
    std::vector<std::string> labels_;
    std::vector<std::string> escaped_;
    std::vector<Fl_Round_Button*> items_;
    Frame placed_;
    TFont item_font_;
    int index_ = -2;
    int columns_ = 0;
};

// ---- Graphic controls --------------------------------------------------------------------

class LabelView : public Fl_Widget, public View {
public:
    explicit LabelView(TLabel* label);
    Fl_Widget* Widget() override { return this; }
    Change Sync(int x, int y) override;
    bool Opaque() const override { return !look_.transparent; }
    int handle(int event) override { return RouteMouse(this, event); }
    void draw() override;

private:
    struct Look {
        std::string caption;
        TFont font;
        TColor color = 0;
        bool transparent = false;
        TAlignment alignment = taLeftJustify;
        bool word_wrap = false;
        bool auto_size = true;
        bool anchor_right = false;
        bool enabled = true;
        bool operator==(const Look&) const = default;
    };
    Look look_;
    bool has_look_ = false;
};

class ImageView : public Fl_Widget, public View {
public:
    explicit ImageView(TImage* image);
    Fl_Widget* Widget() override { return this; }
    Change Sync(int x, int y) override;
    bool Opaque() const override { return opaque_; }
    int handle(int event) override { return RouteMouse(this, event); }
    void draw() override;

private:
    struct Look {
        std::uint64_t revision = 0;
        bool stretch = false, center = false;
        int w = 0, h = 0;
        bool operator==(const Look&) const = default;
    };
    Look look_;
    bool has_look_ = false;
    bool opaque_ = false;
    std::vector<unsigned char> pixels_;  // the picture as drawn, RGB or RGBA
    std::unique_ptr<Fl_RGB_Image> image_;
    int image_x_ = 0, image_y_ = 0;  // where it goes, relative to the control
};

class GaugeView : public Fl_Widget, public View {
public:
    explicit GaugeView(TCGauge* gauge);
    Fl_Widget* Widget() override { return this; }
    Change Sync(int x, int y) override;
    bool Opaque() const override { return true; }
    int handle(int event) override { return RouteMouse(this, event); }
    void draw() override;

private:
    struct Look {
        TCGaugeKind kind = gkHorizontalBar;
        int percent = 0;
        TColor fore = 0, back = 0;
        bool show_text = true;
        TFont font;
        bool operator==(const Look&) const = default;
    };
    Look look_;
    bool has_look_ = false;
};

// ---- Input controls -----------------------------------------------------------------------

class GridView : public Fl_Widget, public View {
public:
    explicit GridView(TStringGrid* grid);
    Fl_Widget* Widget() override { return this; }
    Change Sync(int x, int y) override;
    bool Opaque() const override { return true; }
    bool RepaintsWithForm() const override { return true; }
    int handle(int event) override;
    void draw() override;

protected:
    void Clicked(int x, int y) override;
    void DoubleClicked(int x, int y) override;

private:
    // The cell at a point of the client area; false outside every cell.
    bool CellAt(int x, int y, int& col, int& row) const;
    std::uint64_t signature_ = 0;
    bool has_signature_ = false;
};

class EditView : public Fl_Input, public View {
public:
    explicit EditView(TEdit* edit);
    Fl_Widget* Widget() override { return this; }
    Change Sync(int x, int y) override;
    bool Opaque() const override { return true; }
    int handle(int event) override;

private:
    static void Edited(Fl_Widget* widget, void*);
    int Key();
    struct Look {
        std::string text;
        TColor color = 0;
        TFont font;
        bool operator==(const Look&) const = default;
    };
    Look look_;
    bool has_look_ = false;
};

class ComboView : public Fl_Choice, public View {
public:
    explicit ComboView(TComboBox* combo);
    Fl_Widget* Widget() override { return this; }
    Change Sync(int x, int y) override;
    bool Opaque() const override { return true; }
    int handle(int event) override;
    void draw() override;

private:
    static void Picked(Fl_Widget* widget, void*);
    void ShowChoice(int index);
    struct Look {
        int index = -1;
        std::string text;
        TColor color = 0;
        TFont font;
        bool operator==(const Look&) const = default;
    };
    Look look_;
    bool has_look_ = false;
    std::vector<std::string> items_;
    std::vector<std::string> escaped_;
    std::vector<Fl_Menu_Item> menu_;
    bool popped_ = false;  // the list is open
};

class CheckView : public Fl_Check_Button, public View {
public:
    explicit CheckView(TCheckBox* box);
    Fl_Widget* Widget() override { return this; }
    Change Sync(int x, int y) override;
    bool Opaque() const override { return !look_.see_through; }
    int handle(int event) override;

private:
    static void Toggled(Fl_Widget* widget, void*);
    struct Look {
        std::string caption;
        bool checked = false;
        TColor color = 0;
        bool see_through = true;
        TFont font;
        bool operator==(const Look&) const = default;
    };
    Look look_;
    bool has_look_ = false;
    std::string label_;
};

class ButtonView : public Fl_Button, public View {
public:
    explicit ButtonView(TButton* button);
    Fl_Widget* Widget() override { return this; }
    Change Sync(int x, int y) override;
    bool Opaque() const override { return true; }
    int handle(int event) override;

private:
    static void Pressed(Fl_Widget* widget, void*);
    struct Look {
        std::string caption;
        TFont font;  // its colour is not the caption's (the button text is)
        bool operator==(const Look&) const = default;
    };
    Look look_;
    bool has_look_ = false;
    std::string label_;
};

class CheckListView : public Fl_Check_Browser, public View {
public:
    explicit CheckListView(TCheckListBox* list);
    Fl_Widget* Widget() override { return this; }
    Change Sync(int x, int y) override;
    bool Opaque() const override { return true; }
    int handle(int event) override;

private:
    static void Changed(Fl_Widget* widget, void*);
    struct Look {
        std::vector<std::string> items;
        std::vector<bool> checked;
        TColor color = 0;
        TFont font;
        bool operator==(const Look&) const = default;
    };
    Look look_;
    bool has_look_ = false;
};

// A control of a class the backend does not draw: a plain container (or nothing).
class PlainView : public Fl_Group, public View {
public:
    explicit PlainView(TControl* control);
    Fl_Widget* Widget() override { return this; }
    Fl_Group* Children() override { return this; }
    Change Sync(int x, int y) override;
    void draw() override;
};

// The view for a control, of the class that suits it.
View* MakeView(TControl* control);

}  // namespace ui
