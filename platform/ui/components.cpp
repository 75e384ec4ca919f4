#include "platform/ui/components.h"

#include <algorithm>

#include "platform/ui/forms.h"

using ui::LayoutValue;

// ---- TComponent --------------------------------------------------------------------

TComponent::TComponent(TComponent* owner) {
    if (owner) owner->Adopt(this);
}

TComponent::~TComponent() {
    DestroyComponents();
    if (owner_) owner_->Release(this);
}

void TComponent::Adopt(TComponent* child) {
    child->owner_ = this;
    components_.push_back(child);
}

void TComponent::Release(TComponent* child) {
    std::erase(components_, child);
    child->owner_ = nullptr;
}

void TComponent::DestroyComponents() {
    while (!components_.empty()) delete components_.back();  // each one releases itself
}

void TComponent::SetName(const std::string& name) {
    if (owner_ && !name.empty()) {
        TComponent* other = owner_->FindComponent(name);
        if (other && other != this) throw Exception("A component named " + name + " already exists");
    }
    name_ = name;
}

TComponent* TComponent::FindComponent(std::string_view name) const {
    if (name.empty()) return nullptr;
    for (TComponent* c : components_)
        if (c->name_ == name) return c;
    return nullptr;
}

bool TComponent::SetLayoutProperty(std::string_view, const LayoutValue&) { return false; }

ui::EventSlot TComponent::LayoutEvent(std::string_view) { return {}; }

// ---- TControl ----------------------------------------------------------------------

TControl::TControl(TComponent* owner) : TComponent(owner) {}

TControl::~TControl() {
    if (TForm* form = ParentForm(); form && form != this) form->ControlGone(this);
    if (parent_) parent_->RemoveControl(this);
}

void TControl::SetParent(TWinControl* parent) {
    if (parent == parent_) return;
    for (const TControl* p = parent; p; p = p->parent_)
        if (p == this) throw Exception("A control cannot be placed inside itself");
    // A control taken out of its form is no longer its focus or under its pointer.
    TForm* old_form = ParentForm();
    if (old_form && old_form != this && (!parent || parent->ParentForm() != old_form)) old_form->ControlGone(this);
    if (parent_) parent_->RemoveControl(this);
    parent_ = parent;
    if (parent_) {
        parent_->InsertControl(this);
        if (parent_font_) font_ = parent_->Font();
    }
}

TForm* TControl::ParentForm() const {
    const TControl* top = this;
    while (top->parent_) top = top->parent_;
    return dynamic_cast<TForm*>(const_cast<TControl*>(top));
}

void TControl::SetBounds(int left, int top, int width, int height) {
    left_ = left;
    top_ = top;
    width_ = width;
    height_ = height;
}

void TControl::SetEnabled(bool enabled) {
    enabled_ = enabled;
}

TColor TControl::Color() const {
    if (parent_color_ && parent_) return parent_->Color();
    return color_;
}

void TControl::SetColor(TColor color) {
    color_ = color;
    parent_color_ = false;
}

void TControl::SetParentFont(bool v) {
    parent_font_ = v;
    if (parent_font_ && parent_) font_ = parent_->Font();
}

void TControl::BringToFront() {
    if (!parent_) return;
    auto& list = parent_->controls_;
    std::erase(list, this);
    list.push_back(this);
}

void TControl::SendToBack() {
    if (!parent_) return;
    auto& list = parent_->controls_;
    std::erase(list, this);
    list.insert(list.begin(), this);
}

void TControl::Click() {
    if (OnClick) OnClick(this);
}

void TControl::DblClick() {
    if (OnDblClick) OnDblClick(this);
}

bool TControl::SetLayoutProperty(std::string_view name, const LayoutValue& v) {
    if (name == "Left") SetLeft(ui::AsInt(v, name));
    else if (name == "Top") SetTop(ui::AsInt(v, name));
    else if (name == "Width") SetWidth(ui::AsInt(v, name));
    else if (name == "Height") SetHeight(ui::AsInt(v, name));
    else if (name == "ClientWidth") SetClientWidth(ui::AsInt(v, name));
    else if (name == "ClientHeight") SetClientHeight(ui::AsInt(v, name));
    else if (name == "Visible") SetVisible(ui::AsBool(v, name));
    else if (name == "Enabled") SetEnabled(ui::AsBool(v, name));
    else if (name == "Color") SetColor(ui::AsColor(v, name));
    else if (name == "ParentColor") SetParentColor(ui::AsBool(v, name));
    else if (name == "ParentFont") SetParentFont(ui::AsBool(v, name));
    else if (name == "Font.Name") Font().Name = ui::AsText(v, name);
    else if (name == "Font.Size") Font().Size = ui::AsInt(v, name);
    else if (name == "Font.Height") Font().SetHeight(ui::AsInt(v, name));
    else if (name == "Font.Color") Font().Color = ui::AsColor(v, name);
    else if (name == "Font.Style")
        Font().Style = ui::AsFlags(v, name,
                                   {{"fsBold", fsBold}, {"fsItalic", fsItalic}, {"fsUnderline", fsUnderline},
                                    {"fsStrikeOut", fsStrikeOut}});
    else if (name == "Caption" && HasCaption()) SetCaption(ui::AsText(v, name));
    else if (name == "Hint") SetHint(ui::AsText(v, name));
    else if (name == "ShowHint") SetShowHint(ui::AsBool(v, name));
    else if (name == "Cursor") SetCursor(ui::AsCursor(v, name));
    else return TComponent::SetLayoutProperty(name, v);
    return true;
}

ui::EventSlot TControl::LayoutEvent(std::string_view name) {
    if (name == "OnClick") return &OnClick;
    if (name == "OnDblClick") return &OnDblClick;
    if (name == "OnMouseEnter") return &OnMouseEnter;
    if (name == "OnMouseLeave") return &OnMouseLeave;
    if (name == "OnMouseUp") return &OnMouseUp;
    if (name == "OnMouseMove") return &OnMouseMove;
    return TComponent::LayoutEvent(name);
}

// ---- TWinControl --------------------------------------------------------------------

TWinControl::TWinControl(TComponent* owner) : TControl(owner) {}

TWinControl::~TWinControl() {
    // The form forgets a focus inside this container while the chain is intact.
    if (TForm* form = ParentForm(); form && form != this) form->ControlGone(this);
    for (TControl* child : controls_) child->parent_ = nullptr;
    controls_.clear();
    tab_list_.clear();
}

void TWinControl::InsertControl(TControl* control) {
    controls_.push_back(control);
    if (auto* win = dynamic_cast<TWinControl*>(control)) tab_list_.push_back(win);
}

void TWinControl::RemoveControl(TControl* control) {
    std::erase(controls_, control);
    std::erase_if(tab_list_, [control](TWinControl* w) { return w == control; });
}

int TWinControl::TabOrder() const {
    const TWinControl* parent = Parent();
    if (!parent) return -1;
    const auto& list = parent->tab_list_;
    auto it = std::find(list.begin(), list.end(), this);
    return it == list.end() ? -1 : static_cast<int>(it - list.begin());
}

void TWinControl::SetTabOrder(int order) {
    TWinControl* parent = Parent();
    if (!parent) return;
    auto& list = parent->tab_list_;
    std::erase(list, this);
    order = std::clamp(order, 0, static_cast<int>(list.size()));
    list.insert(list.begin() + order, this);
}

bool TWinControl::CanFocus() const {
    if (!ParentForm()) return false;
    for (const TControl* c = this; c; c = c->Parent()) {
        if (!c->Enabled()) return false;
        if (!c->Visible() && !dynamic_cast<const TForm*>(c)) return false;
    }
    return true;
}

bool TWinControl::Focused() const {
    const TForm* form = ParentForm();
    return form && form->ActiveControl() == this;
}

void TWinControl::SetFocus() {
    if (!CanFocus()) throw Exception("Cannot focus a disabled or invisible window");
    ParentForm()->SetActiveControl(this);
}

bool TWinControl::SetLayoutProperty(std::string_view name, const LayoutValue& v) {
    if (name == "TabOrder") SetTabOrder(ui::AsInt(v, name));
    else if (name == "TabStop") SetTabStop(ui::AsBool(v, name));
    else if (name == "ParentBackground") SetParentBackground(ui::AsBool(v, name));
    else if (name == "DoubleBuffered") SetDoubleBuffered(ui::AsBool(v, name));
    else if (name == "ParentDoubleBuffered") ui::AsBool(v, name);  // nothing inherits buffering here
    else return TControl::SetLayoutProperty(name, v);
    return true;
}

ui::EventSlot TWinControl::LayoutEvent(std::string_view name) {
    if (name == "OnKeyPress") return &OnKeyPress;
    if (name == "OnKeyDown") return &OnKeyDown;
    return TControl::LayoutEvent(name);
}
