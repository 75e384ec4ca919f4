#pragma once
// The controls that the main window's layout uses. Events from code follow the
// rules the form relies on: writing an edit's text fires OnChange (the same text is no
// change); changing a check box's Checked fires OnClick; choosing a combo box item from
// code fires nothing; a radio group's ItemIndex fires OnClick when the selection moves
// to another item. Nothing fires while the layout is being loaded.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/ui/components.h"
#include "platform/ui/strings.h"

class TApplication;

namespace ui {

// Pixels for a panel's rendering surface or an image's picture: 8-bit red, green,
// blue and alpha per pixel, rows from the top.
struct PixelImage {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> rgba;  // width * height * 4 bytes

    bool Empty() const { return width <= 0 || height <= 0; }
    bool operator==(const PixelImage&) const = default;
};

}  // namespace ui

class TLabel : public TGraphicControl {
public:
    static constexpr const char* kClass = "TLabel";
    explicit TLabel(TComponent* owner);
    std::string ClassName() const override { return kClass; }

    bool Transparent() const { return transparent_; }
    void SetTransparent(bool v) { transparent_ = v; }
    bool AutoSize() const { return auto_size_; }
    void SetAutoSize(bool v) { auto_size_ = v; }
    bool WordWrap() const { return word_wrap_; }
    void SetWordWrap(bool v) { word_wrap_ = v; }
    TAlignment Alignment() const { return alignment_; }
    void SetAlignment(TAlignment v) { alignment_ = v; }

    bool SetLayoutProperty(std::string_view name, const ui::LayoutValue& value) override;

protected:
    bool HasCaption() const override { return true; }

private:
    bool transparent_ = false;
    bool auto_size_ = true;
    bool word_wrap_ = false;
    TAlignment alignment_ = taLeftJustify;
};

class TLabeledEdit;

// The caption of a TLabeledEdit; it follows the edit when the edit moves.
class TBoundLabel : public TLabel {
public:
    static constexpr const char* kClass = "TBoundLabel";
    explicit TBoundLabel(TLabeledEdit* edit);
    std::string ClassName() const override { return kClass; }
    void SetBounds(int left, int top, int width, int height) override;

private:
    TLabeledEdit* edit_;
};

class TPanel : public TWinControl {
public:
    static constexpr const char* kClass = "TPanel";
    explicit TPanel(TComponent* owner);
    std::string ClassName() const override { return kClass; }

    TBevelCut BevelOuter() const { return bevel_outer_; }
    void SetBevelOuter(TBevelCut v) { bevel_outer_ = v; }
    TAlignment Alignment() const { return alignment_; }
    void SetAlignment(TAlignment v) { alignment_ = v; }

    // The picture a rendering context swapped into the panel, client-sized; empty
    // until the first swap. The revision grows with every swap.
    const ui::PixelImage& Surface() const { return surface_; }
    void SetSurface(ui::PixelImage image);
    std::uint64_t SurfaceRevision() const { return surface_revision_; }

    bool SetLayoutProperty(std::string_view name, const ui::LayoutValue& value) override;

protected:
    bool HasCaption() const override { return true; }

private:
    TBevelCut bevel_outer_ = bvRaised;
    TAlignment alignment_ = taCenter;
    ui::PixelImage surface_;
    std::uint64_t surface_revision_ = 0;
};

class TGroupBox : public TWinControl {
public:
    static constexpr const char* kClass = "TGroupBox";
    explicit TGroupBox(TComponent* owner);
    std::string ClassName() const override { return kClass; }

protected:
    bool HasCaption() const override { return true; }
};

class TEdit : public TWinControl {
public:
    static constexpr const char* kClass = "TEdit";
    explicit TEdit(TComponent* owner);
    std::string ClassName() const override { return kClass; }

    const std::string& Text() const { return text_; }
    // A different text fires OnChange, whether the program or the user wrote it.
    // A layout's Text that is a number with a decimal point takes the user's
    // decimal separator.
    void SetText(const std::string& text);
    // Only "0" to "9" are taken from the keyboard.
    bool NumbersOnly() const { return numbers_only_; }
    void SetNumbersOnly(bool v) { numbers_only_ = v; }

    TNotifyEvent OnChange;

    bool SetLayoutProperty(std::string_view name, const ui::LayoutValue& value) override;
    ui::EventSlot LayoutEvent(std::string_view name) override;

private:
    std::string text_;
    bool numbers_only_ = false;
};

class TLabeledEdit : public TEdit {
public:
    static constexpr const char* kClass = "TLabeledEdit";
    explicit TLabeledEdit(TComponent* owner);
    std::string ClassName() const override { return kClass; }

    TBoundLabel* EditLabel() const { return label_; }
    TLabelPosition LabelPosition() const { return label_position_; }
    void SetLabelPosition(TLabelPosition v);
    int LabelSpacing() const { return label_spacing_; }
    void SetLabelSpacing(int v);

    void SetParent(TWinControl* parent) override;
    void SetBounds(int left, int top, int width, int height) override;
    void SetVisible(bool visible) override;
    void SetEnabled(bool enabled) override;

    bool SetLayoutProperty(std::string_view name, const ui::LayoutValue& value) override;

private:
    friend class TBoundLabel;
    void PlaceLabel();

    TBoundLabel* label_;  // owned as a sub-component
    TLabelPosition label_position_ = lpAbove;
    int label_spacing_ = 3;
    bool placing_ = false;
};

namespace ui {
// Where a labeled edit puts its label (the label's size is its own).
TPoint BoundLabelPosition(const TRect& edit, int label_width, int label_height, TLabelPosition position,
                          int spacing);
}  // namespace ui

class TButton : public TWinControl {
public:
    static constexpr const char* kClass = "TButton";
    explicit TButton(TComponent* owner);
    std::string ClassName() const override { return kClass; }

protected:
    bool HasCaption() const override { return true; }
};

class TComboBox : public TWinControl {
public:
    static constexpr const char* kClass = "TComboBox";
    explicit TComboBox(TComponent* owner);
    std::string ClassName() const override { return kClass; }

    TStrings& Items() { return items_; }
    const TStrings& Items() const { return items_; }
    int ItemIndex() const { return item_index_; }
    // From code: fires nothing. An index outside the items, or clearing them, gives -1.
    void SetItemIndex(int index);
    // The chosen item's text; for a csDropDown box without a chosen item, the typed text.
    std::string Text() const;
    // csDropDownList: chooses the item of that text (or none); csDropDown: the typed text.
    void SetText(const std::string& text);
    TComboBoxStyle Style() const { return style_; }
    void SetStyle(TComboBoxStyle v) { style_ = v; }

    TNotifyEvent OnChange;
    // A user's pick (from the list, or an arrow key that moves the choice). Where it is
    // bound it fires in place of OnChange, also when the item picked from the list is
    // the one already chosen.
    TNotifyEvent OnSelect;

    void Loaded() override;
    bool SetLayoutProperty(std::string_view name, const ui::LayoutValue& value) override;
    ui::EventSlot LayoutEvent(std::string_view name) override;

private:
    void ItemsChanged(TStrings::Change change, int index);

    TStrings items_;
    int item_index_ = -1;
    std::string text_;
    TComboBoxStyle style_ = csDropDown;
};

class TCheckBox : public TWinControl {
public:
    static constexpr const char* kClass = "TCheckBox";
    explicit TCheckBox(TComponent* owner);
    std::string ClassName() const override { return kClass; }

    bool Checked() const { return checked_; }
    // A change fires OnClick, as a click does.
    void SetChecked(bool checked);
    // The same without OnClick.
    void SetCheckedSilent(bool checked) { checked_ = checked; }

    bool SetLayoutProperty(std::string_view name, const ui::LayoutValue& value) override;

protected:
    bool HasCaption() const override { return true; }

private:
    bool checked_ = false;
};

class TRadioGroup : public TWinControl {
public:
    static constexpr const char* kClass = "TRadioGroup";
    explicit TRadioGroup(TComponent* owner);
    std::string ClassName() const override { return kClass; }

    TStrings& Items() { return items_; }
    const TStrings& Items() const { return items_; }
    int ItemIndex() const { return item_index_; }
    // Kept within -1 and the last item. Moving the selection to another item fires
    // OnClick; clearing it (-1) or choosing the chosen item fires nothing.
    void SetItemIndex(int index);
    int Columns() const { return columns_; }
    void SetColumns(int v) { columns_ = v < 1 ? 1 : v; }

    void Loaded() override;
    bool SetLayoutProperty(std::string_view name, const ui::LayoutValue& value) override;

protected:
    bool HasCaption() const override { return true; }

private:
    void ItemsChanged(TStrings::Change change, int index);

    TStrings items_;
    int item_index_ = -1;
    int columns_ = 1;
};

class TCheckListBox : public TWinControl {
public:
    static constexpr const char* kClass = "TCheckListBox";
    explicit TCheckListBox(TComponent* owner);
    std::string ClassName() const override { return kClass; }

    TStrings& Items() { return items_; }
    const TStrings& Items() const { return items_; }
    // Throws EStringListError for an index outside the items.
    bool Checked(int index) const;
    void SetChecked(int index, bool checked);
    // The selected entry; -1 for none. From code: fires nothing; outside the items: -1.
    int ItemIndex() const { return item_index_; }
    void SetItemIndex(int index);

    void Loaded() override;
    bool SetLayoutProperty(std::string_view name, const ui::LayoutValue& value) override;

private:
    void ItemsChanged(TStrings::Change change, int index);

    TStrings items_;
    std::vector<bool> checked_;
    int item_index_ = -1;
};

class TImage : public TGraphicControl {
public:
    static constexpr const char* kClass = "TImage";
    explicit TImage(TComponent* owner);
    std::string ClassName() const override { return kClass; }

    const ui::PixelImage& Picture() const { return picture_; }
    void SetPicture(ui::PixelImage picture);
    std::uint64_t PictureRevision() const { return picture_revision_; }
    // Stretched to the control's bounds, else drawn at its size from the top left
    // (or centred with Center).
    bool Stretch() const { return stretch_; }
    void SetStretch(bool v) { stretch_ = v; }
    bool Center() const { return center_; }
    void SetCenter(bool v) { center_ = v; }
    bool Transparent() const { return transparent_; }
    void SetTransparent(bool v) { transparent_ = v; }

    bool SetLayoutProperty(std::string_view name, const ui::LayoutValue& value) override;

private:
    ui::PixelImage picture_;
    std::uint64_t picture_revision_ = 0;
    bool stretch_ = false;
    bool center_ = false;
    bool transparent_ = false;
};

class TCGauge : public TGraphicControl {
public:
    static constexpr const char* kClass = "TCGauge";
    explicit TCGauge(TComponent* owner);
    std::string ClassName() const override { return kClass; }

    TCGaugeKind Kind() const { return kind_; }
    void SetKind(TCGaugeKind v) { kind_ = v; }
    // Kept within MinValue and MaxValue.
    int Progress() const { return progress_; }
    void SetProgress(int v);
    int MinValue() const { return min_; }
    void SetMinValue(int v);
    int MaxValue() const { return max_; }
    void SetMaxValue(int v);
    // The progress in percent of the range, cut toward zero; 0 for an empty range.
    int PercentDone() const;
    TColor ForeColor() const { return fore_; }
    void SetForeColor(TColor v) { fore_ = v; }
    TColor BackColor() const { return back_; }
    void SetBackColor(TColor v) { back_ = v; }
    bool ShowText() const { return show_text_; }
    void SetShowText(bool v) { show_text_ = v; }

    bool SetLayoutProperty(std::string_view name, const ui::LayoutValue& value) override;

private:
    TCGaugeKind kind_ = gkHorizontalBar;
    int progress_ = 0;
    int min_ = 0;
    int max_ = 100;
    TColor fore_ = clBlack;
    TColor back_ = clWhite;
    bool show_text_ = true;
};

// Fires OnTimer every Interval milliseconds while enabled, from the application loop.
class TTimer : public TComponent {
public:
    static constexpr const char* kClass = "TTimer";
    explicit TTimer(TComponent* owner);
    ~TTimer() override;
    std::string ClassName() const override { return kClass; }

    unsigned Interval() const { return interval_; }
    // Restarts the count.
    void SetInterval(unsigned ms);
    bool Enabled() const { return enabled_; }
    // Enabling restarts the count; disabling stops the timer.
    void SetEnabled(bool enabled);

    TNotifyEvent OnTimer;

    void Loaded() override;
    bool SetLayoutProperty(std::string_view name, const ui::LayoutValue& value) override;
    ui::EventSlot LayoutEvent(std::string_view name) override;

private:
    void Rearm();

    TApplication* app_;
    unsigned interval_ = 1000;
    bool enabled_ = true;
};

class TOpenDialog : public TComponent {
public:
    static constexpr const char* kClass = "TOpenDialog";
    explicit TOpenDialog(TComponent* owner);
    std::string ClassName() const override { return kClass; }

    // Shows the dialog; true with FileName set when the user chose a file, false
    // when they cancelled.
    bool Execute();

    const std::string& FileName() const { return file_name_; }
    void SetFileName(const std::string& v) { file_name_ = v; }
    // "Workbooks (*.xlsx)|*.xlsx|All files (*.*)|*.*"
    const std::string& Filter() const { return filter_; }
    void SetFilter(const std::string& v) { filter_ = v; }
    const std::string& Title() const { return title_; }
    void SetTitle(const std::string& v) { title_ = v; }
    const std::string& InitialDir() const { return initial_dir_; }
    void SetInitialDir(const std::string& v) { initial_dir_ = v; }

    bool SetLayoutProperty(std::string_view name, const ui::LayoutValue& value) override;

private:
    std::string file_name_, filter_, title_, initial_dir_;
};
