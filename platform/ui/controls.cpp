#include "platform/ui/controls.h"

#include <algorithm>

#include "platform/text/number_text.h"
#include "platform/ui/forms.h"

using ui::LayoutValue;

namespace {

const ui::EnumNames<TAlignment> kAlignments = {
    {"taLeftJustify", taLeftJustify}, {"taRightJustify", taRightJustify}, {"taCenter", taCenter}};

}  // namespace

// ---- TLabel -------------------------------------------------------------------------

TLabel::TLabel(TComponent* owner) : TGraphicControl(owner) {
    SetParentColor(true);
    SetBounds(0, 0, 65, 13);
}

bool TLabel::SetLayoutProperty(std::string_view name, const LayoutValue& v) {
    if (name == "Transparent") SetTransparent(ui::AsBool(v, name));
    else if (name == "AutoSize") SetAutoSize(ui::AsBool(v, name));
    else if (name == "WordWrap") SetWordWrap(ui::AsBool(v, name));
    else if (name == "Alignment") SetAlignment(ui::AsEnum(v, name, kAlignments));
    else return TGraphicControl::SetLayoutProperty(name, v);
    return true;
}

TBoundLabel::TBoundLabel(TLabeledEdit* edit) : TLabel(edit), edit_(edit) { SetName("SubLabel"); }

void TBoundLabel::SetBounds(int left, int top, int width, int height) {
    const bool resized = width != Width() || height != Height();
    TLabel::SetBounds(left, top, width, height);
    if (resized) edit_->PlaceLabel();
}

// ---- TPanel, TGroupBox ------------------------------------------------------------------

TPanel::TPanel(TComponent* owner) : TWinControl(owner) { SetBounds(0, 0, 185, 41); }

void TPanel::SetSurface(ui::PixelImage image) {
    surface_ = std::move(image);
    ++surface_revision_;
}

bool TPanel::SetLayoutProperty(std::string_view name, const LayoutValue& v) {
    if (name == "BevelOuter")
        SetBevelOuter(ui::AsEnum<TBevelCut>(
            v, name, {{"bvNone", bvNone}, {"bvLowered", bvLowered}, {"bvRaised", bvRaised}, {"bvSpace", bvSpace}}));
    else if (name == "Alignment") SetAlignment(ui::AsEnum(v, name, kAlignments));
    else return TWinControl::SetLayoutProperty(name, v);
    return true;
}

TGroupBox::TGroupBox(TComponent* owner) : TWinControl(owner) {
    SetParentColor(true);
    SetBounds(0, 0, 185, 105);
}

// ---- TEdit, TLabeledEdit ------------------------------------------------------------------

TEdit::TEdit(TComponent* owner) : TWinControl(owner) {
    SetColor(clWindow);
    SetTabStop(true);
    SetBounds(0, 0, 121, 21);
}

void TEdit::SetText(const std::string& text) {
    if (text == text_) return;
    text_ = text;
    if (!Loading() && OnChange) OnChange(this);
}

bool TEdit::SetLayoutProperty(std::string_view name, const LayoutValue& v) {
    // The layout writes its numbers with a point; the user reads and types them
    // with the regional separator.
    if (name == "Text") SetText(ServiceToUserNumberText(ui::AsText(v, name)));
    else if (name == "NumbersOnly") SetNumbersOnly(ui::AsBool(v, name));
    else return TWinControl::SetLayoutProperty(name, v);
    return true;
}

ui::EventSlot TEdit::LayoutEvent(std::string_view name) {
    if (name == "OnChange") return &OnChange;
    return TWinControl::LayoutEvent(name);
}

TLabeledEdit::TLabeledEdit(TComponent* owner) : TEdit(owner), label_(new TBoundLabel(this)) {}

void TLabeledEdit::SetLabelPosition(TLabelPosition v) {
    label_position_ = v;
    PlaceLabel();
}

void TLabeledEdit::SetLabelSpacing(int v) {
    label_spacing_ = v;
    PlaceLabel();
}

void TLabeledEdit::SetParent(TWinControl* parent) {
    TEdit::SetParent(parent);
    label_->SetParent(parent);
    PlaceLabel();
}

void TLabeledEdit::SetBounds(int left, int top, int width, int height) {
    TEdit::SetBounds(left, top, width, height);
    PlaceLabel();
}

void TLabeledEdit::SetVisible(bool visible) {
    TEdit::SetVisible(visible);
    label_->SetVisible(visible);
}

void TLabeledEdit::SetEnabled(bool enabled) {
    TEdit::SetEnabled(enabled);
    label_->SetEnabled(enabled);
}

void TLabeledEdit::PlaceLabel() {
    if (placing_ || !label_) return;
    placing_ = true;
    const TPoint p =
        ui::BoundLabelPosition(BoundsRect(), label_->Width(), label_->Height(), label_position_, label_spacing_);
    label_->TLabel::SetBounds(p.X, p.Y, label_->Width(), label_->Height());
    placing_ = false;
}

bool TLabeledEdit::SetLayoutProperty(std::string_view name, const LayoutValue& v) {
    constexpr std::string_view prefix = "EditLabel.";
    if (name.starts_with(prefix)) {
        const std::string_view sub = name.substr(prefix.size());
        // The label's place follows the edit; only its size and look are its own.
        if (sub == "Left" || sub == "Top") return true;
        return label_->SetLayoutProperty(sub, v);
    }
    if (name == "LabelPosition")
        SetLabelPosition(ui::AsEnum<TLabelPosition>(
            v, name, {{"lpAbove", lpAbove}, {"lpBelow", lpBelow}, {"lpLeft", lpLeft}, {"lpRight", lpRight}}));
    else if (name == "LabelSpacing") SetLabelSpacing(ui::AsInt(v, name));
    else return TEdit::SetLayoutProperty(name, v);
    return true;
}

namespace ui {

TPoint BoundLabelPosition(const TRect& edit, int label_width, int label_height, TLabelPosition position,
                          int spacing) {
    switch (position) {
        case lpBelow: return {edit.Left, edit.Bottom + spacing};
        case lpLeft: return {edit.Left - label_width - spacing, edit.Top + (edit.Height() - label_height) / 2};
        case lpRight: return {edit.Right + spacing, edit.Top + (edit.Height() - label_height) / 2};
        case lpAbove: break;
    }
    return {edit.Left, edit.Top - label_height - spacing};
}

}  // namespace ui

// ---- TButton --------------------------------------------------------------------------

TButton::TButton(TComponent* owner) : TWinControl(owner) {
    SetTabStop(true);
    SetBounds(0, 0, 75, 25);
}

// ---- TComboBox -------------------------------------------------------------------------

TComboBox::TComboBox(TComponent* owner) : TWinControl(owner) {
    SetColor(clWindow);
    SetTabStop(true);
    SetBounds(0, 0, 145, 21);
    items_.SetChangeHook([this](TStrings::Change c, int i) { ItemsChanged(c, i); });
}

void TComboBox::ItemsChanged(TStrings::Change change, int index) {
    if (!Loading()) item_index_ = TStrings::SelectionAfter(item_index_, change, index);
}

void TComboBox::SetItemIndex(int index) {
    if (Loading()) {
        item_index_ = index;  // the items may come later in the layout
        return;
    }
    item_index_ = (index >= 0 && index < items_.Count()) ? index : -1;
}

std::string TComboBox::Text() const {
    if (item_index_ >= 0 && item_index_ < items_.Count()) return items_[item_index_];
    return style_ == csDropDownList ? std::string() : text_;
}

void TComboBox::SetText(const std::string& text) {
    text_ = text;
    if (Loading()) return;
    const int found = items_.IndexOf(text);
    if (style_ == csDropDownList || found >= 0) item_index_ = found;
}

void TComboBox::Loaded() {
    TWinControl::Loaded();
    if (item_index_ < -1 || item_index_ >= items_.Count()) item_index_ = -1;
    if (item_index_ == -1 && !text_.empty()) SetText(text_);
}

bool TComboBox::SetLayoutProperty(std::string_view name, const LayoutValue& v) {
    if (name == "Items.Strings") items_.Assign(ui::AsTextList(v, name));
    else if (name == "ItemIndex") SetItemIndex(ui::AsInt(v, name));
    else if (name == "Text") SetText(ui::AsText(v, name));
    else if (name == "Style")
        SetStyle(ui::AsEnum<TComboBoxStyle>(
            v, name, {{"csDropDown", csDropDown}, {"csSimple", csSimple}, {"csDropDownList", csDropDownList}}));
    else return TWinControl::SetLayoutProperty(name, v);
    return true;
}

ui::EventSlot TComboBox::LayoutEvent(std::string_view name) {
    if (name == "OnChange") return &OnChange;
    if (name == "OnSelect") return &OnSelect;
    return TWinControl::LayoutEvent(name);
}

// ---- TCheckBox ------------------------------------------------------------------------------

TCheckBox::TCheckBox(TComponent* owner) : TWinControl(owner) {
    SetParentColor(true);
    SetTabStop(true);
    SetBounds(0, 0, 97, 17);
}

void TCheckBox::SetChecked(bool checked) {
    if (checked == checked_) return;
    checked_ = checked;
    if (!Loading()) Click();
}

bool TCheckBox::SetLayoutProperty(std::string_view name, const LayoutValue& v) {
    if (name == "Checked") SetChecked(ui::AsBool(v, name));
    else return TWinControl::SetLayoutProperty(name, v);
    return true;
}

// ---- TRadioGroup ------------------------------------------------------------------------------

TRadioGroup::TRadioGroup(TComponent* owner) : TWinControl(owner) {
    SetParentColor(true);
    SetTabStop(true);
    SetBounds(0, 0, 185, 105);
    items_.SetChangeHook([this](TStrings::Change c, int i) { ItemsChanged(c, i); });
}

void TRadioGroup::ItemsChanged(TStrings::Change, int) {
    if (Loading()) return;
    // A selection past the end moves to the last item (or none) without a click.
    if (item_index_ >= items_.Count()) item_index_ = items_.Count() - 1;
}

void TRadioGroup::SetItemIndex(int index) {
    if (Loading()) {
        item_index_ = index;
        return;
    }
    index = std::clamp(index, -1, items_.Count() - 1);
    if (index == item_index_) return;
    item_index_ = index;
    if (index >= 0) Click();
}

void TRadioGroup::Loaded() {
    TWinControl::Loaded();
    item_index_ = std::clamp(item_index_, -1, items_.Count() - 1);
}

bool TRadioGroup::SetLayoutProperty(std::string_view name, const LayoutValue& v) {
    if (name == "Items.Strings") items_.Assign(ui::AsTextList(v, name));
    else if (name == "ItemIndex") SetItemIndex(ui::AsInt(v, name));
    else if (name == "Columns") SetColumns(ui::AsInt(v, name));
    else return TWinControl::SetLayoutProperty(name, v);
    return true;
}

// ---- TCheckListBox --------------------------------------------------------------------------

TCheckListBox::TCheckListBox(TComponent* owner) : TWinControl(owner) {
    SetColor(clWindow);
    SetTabStop(true);
    SetBounds(0, 0, 121, 97);
    items_.SetChangeHook([this](TStrings::Change c, int i) { ItemsChanged(c, i); });
}

void TCheckListBox::ItemsChanged(TStrings::Change change, int index) {
    switch (change) {
        case TStrings::Change::Cleared: checked_.clear(); break;
        case TStrings::Change::Added: checked_.push_back(false); break;
        case TStrings::Change::Inserted: checked_.insert(checked_.begin() + index, false); break;
        case TStrings::Change::Deleted: checked_.erase(checked_.begin() + index); break;
        case TStrings::Change::Replaced: break;
    }
    if (!Loading()) item_index_ = TStrings::SelectionAfter(item_index_, change, index);
}

bool TCheckListBox::Checked(int index) const {
    if (index < 0 || index >= items_.Count()) TStrings::OutOfBounds(index);
    return checked_[static_cast<size_t>(index)];
}

void TCheckListBox::SetChecked(int index, bool checked) {
    if (index < 0 || index >= items_.Count()) TStrings::OutOfBounds(index);
    checked_[static_cast<size_t>(index)] = checked;
}

void TCheckListBox::SetItemIndex(int index) {
    if (Loading()) {
        item_index_ = index;
        return;
    }
    item_index_ = (index >= 0 && index < items_.Count()) ? index : -1;
}

void TCheckListBox::Loaded() {
    TWinControl::Loaded();
    if (item_index_ < -1 || item_index_ >= items_.Count()) item_index_ = -1;
}

bool TCheckListBox::SetLayoutProperty(std::string_view name, const LayoutValue& v) {
    if (name == "Items.Strings") items_.Assign(ui::AsTextList(v, name));
    else if (name == "ItemIndex") SetItemIndex(ui::AsInt(v, name));
    else return TWinControl::SetLayoutProperty(name, v);
    return true;
}

// ---- TImage, TCGauge ----------------------------------------------------------------------------

TImage::TImage(TComponent* owner) : TGraphicControl(owner) { SetBounds(0, 0, 105, 105); }

void TImage::SetPicture(ui::PixelImage picture) {
    picture_ = std::move(picture);
    ++picture_revision_;
}

bool TImage::SetLayoutProperty(std::string_view name, const LayoutValue& v) {
    if (name == "Stretch") SetStretch(ui::AsBool(v, name));
    else if (name == "Center") SetCenter(ui::AsBool(v, name));
    else if (name == "Transparent") SetTransparent(ui::AsBool(v, name));
    else return TGraphicControl::SetLayoutProperty(name, v);
    return true;
}

TCGauge::TCGauge(TComponent* owner) : TGraphicControl(owner) { SetBounds(0, 0, 100, 100); }

void TCGauge::SetProgress(int v) { progress_ = std::clamp(v, std::min(min_, max_), std::max(min_, max_)); }

void TCGauge::SetMinValue(int v) {
    min_ = v;
    if (progress_ < min_) progress_ = min_;
}

void TCGauge::SetMaxValue(int v) {
    max_ = v;
    if (progress_ > max_) progress_ = max_;
}

int TCGauge::PercentDone() const {
    if (max_ <= min_) return 0;
    return static_cast<int>(100.0 * (progress_ - min_) / (max_ - min_));
}

bool TCGauge::SetLayoutProperty(std::string_view name, const LayoutValue& v) {
    if (name == "Kind")
        SetKind(ui::AsEnum<TCGaugeKind>(v, name,
                                        {{"gkText", gkText},
                                         {"gkHorizontalBar", gkHorizontalBar},
                                         {"gkVerticalBar", gkVerticalBar},
                                         {"gkPie", gkPie},
                                         {"gkNeedle", gkNeedle}}));
    else if (name == "MinValue") SetMinValue(ui::AsInt(v, name));
    else if (name == "MaxValue") SetMaxValue(ui::AsInt(v, name));
    else if (name == "Progress") SetProgress(ui::AsInt(v, name));
    else if (name == "ForeColor") SetForeColor(ui::AsColor(v, name));
    else if (name == "BackColor") SetBackColor(ui::AsColor(v, name));
    else if (name == "ShowText") SetShowText(ui::AsBool(v, name));
    else return TGraphicControl::SetLayoutProperty(name, v);
    return true;
}

// ---- TTimer -----------------------------------------------------------------------------------

TTimer::TTimer(TComponent* owner) : TComponent(owner), app_(Application) { Rearm(); }

TTimer::~TTimer() {
    if (app_) app_->DisarmTimer(this);
}

void TTimer::Rearm() {
    if (!app_) return;
    if (enabled_ && interval_ > 0 && !Loading()) app_->ArmTimer(this);
    else app_->DisarmTimer(this);
}

void TTimer::SetInterval(unsigned ms) {
    interval_ = ms;
    Rearm();
}

void TTimer::SetEnabled(bool enabled) {
    enabled_ = enabled;
    Rearm();
}

void TTimer::Loaded() {
    TComponent::Loaded();
    Rearm();
}

bool TTimer::SetLayoutProperty(std::string_view name, const LayoutValue& v) {
    if (name == "Interval") {
        const int ms = ui::AsInt(v, name);
        if (ms < 0) throw ui::LayoutValueError("Interval expects a whole number of milliseconds from 0");
        SetInterval(static_cast<unsigned>(ms));
    } else if (name == "Enabled") {
        SetEnabled(ui::AsBool(v, name));
    } else {
        return TComponent::SetLayoutProperty(name, v);
    }
    return true;
}

ui::EventSlot TTimer::LayoutEvent(std::string_view name) {
    if (name == "OnTimer") return &OnTimer;
    return TComponent::LayoutEvent(name);
}

// ---- TOpenDialog -------------------------------------------------------------------------------

TOpenDialog::TOpenDialog(TComponent* owner) : TComponent(owner) {}

bool TOpenDialog::Execute() {
    auto chosen = Application->Backend().ChooseFile({title_, filter_, file_name_, initial_dir_});
    if (!chosen) return false;
    file_name_ = *chosen;
    return true;
}

bool TOpenDialog::SetLayoutProperty(std::string_view name, const LayoutValue& v) {
    if (name == "FileName") SetFileName(ui::AsText(v, name));
    else if (name == "Filter") SetFilter(ui::AsText(v, name));
    else if (name == "Title") SetTitle(ui::AsText(v, name));
    else if (name == "InitialDir") SetInitialDir(ui::AsText(v, name));
    else return TComponent::SetLayoutProperty(name, v);
    return true;
}
