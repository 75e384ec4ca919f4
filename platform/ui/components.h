#pragma once
// The base classes of the control model. A component is owned by its owner (the form
// for everything a layout creates) and deleted with it; a control also has a parent,
// the container it is shown in, which does not own it.
#include <string>
#include <string_view>
#include <vector>

#include "platform/text/exception.h"
#include "platform/ui/layout_value.h"
#include "platform/ui/types.h"

class TForm;
class TWinControl;

class TObject {
public:
    virtual ~TObject() = default;
    static constexpr const char* kClass = "TObject";
    virtual std::string ClassName() const { return kClass; }
};

class TComponent : public TObject {
public:
    // A non-null owner takes the new component over and deletes it with itself.
    explicit TComponent(TComponent* owner);
    ~TComponent() override;
    TComponent(const TComponent&) = delete;
    TComponent& operator=(const TComponent&) = delete;

    static constexpr const char* kClass = "TComponent";
    std::string ClassName() const override { return kClass; }

    const std::string& Name() const { return name_; }
    // Throws when the owner already has a component of that name.
    void SetName(const std::string& name);
    TComponent* Owner() const { return owner_; }
    int ComponentCount() const { return static_cast<int>(components_.size()); }
    TComponent* Components(int index) const { return components_.at(static_cast<size_t>(index)); }
    // A component that this one owns, by name; nullptr when there is none.
    TComponent* FindComponent(std::string_view name) const;
    // The same, of class T; throws an Exception naming the component when it is
    // missing or of another class.
    template <class T>
    T* FindComponent(std::string_view name) const;
    // Deletes every owned component, the last created first.
    void DestroyComponents();

    // ---- Hooks of the layout loader ----
    // While loading, setters fire no events.
    bool Loading() const { return loading_; }
    void BeginLoading() { loading_ = true; }
    // Runs once the layout has set every property of every component.
    virtual void Loaded() { loading_ = false; }
    // Applies one property line; false for a name this class does not have. Throws
    // LayoutValueError for a value that does not suit.
    virtual bool SetLayoutProperty(std::string_view name, const ui::LayoutValue& value);
    // The event member of that name, or monostate.
    virtual ui::EventSlot LayoutEvent(std::string_view name);

private:
    void Adopt(TComponent* child);
    void Release(TComponent* child);

    std::string name_;
    TComponent* owner_ = nullptr;
    std::vector<TComponent*> components_;
    bool loading_ = false;
};

class TControl : public TComponent {
public:
    explicit TControl(TComponent* owner);
    ~TControl() override;
    static constexpr const char* kClass = "TControl";
    std::string ClassName() const override { return kClass; }

    TWinControl* Parent() const { return parent_; }
    virtual void SetParent(TWinControl* parent);
    // The form that holds the control; the form itself for a form.
    TForm* ParentForm() const;

    int Left() const { return left_; }
    int Top() const { return top_; }
    int Width() const { return width_; }
    int Height() const { return height_; }
    void SetLeft(int v) { SetBounds(v, top_, width_, height_); }
    void SetTop(int v) { SetBounds(left_, v, width_, height_); }
    void SetWidth(int v) { SetBounds(left_, top_, v, height_); }
    void SetHeight(int v) { SetBounds(left_, top_, width_, v); }
    virtual void SetBounds(int left, int top, int width, int height);
    TRect BoundsRect() const { return TRect(left_, top_, left_ + width_, top_ + height_); }
    // The area children are placed in, from (0, 0); the whole control but for a form.
    virtual int ClientWidth() const { return width_; }
    virtual int ClientHeight() const { return height_; }
    virtual void SetClientWidth(int v) { SetWidth(v); }
    virtual void SetClientHeight(int v) { SetHeight(v); }
    TRect ClientRect() const { return TRect(0, 0, ClientWidth(), ClientHeight()); }

    bool Visible() const { return visible_; }
    virtual void SetVisible(bool visible) { visible_ = visible; }
    void Show() { SetVisible(true); }
    void Hide() { SetVisible(false); }
    // A disabled control, or one inside a disabled container, takes no user input.
    bool Enabled() const { return enabled_; }
    virtual void SetEnabled(bool enabled);

    // With ParentColor the control shows its parent's colour.
    TColor Color() const;
    void SetColor(TColor color);
    bool ParentColor() const { return parent_color_; }
    void SetParentColor(bool v) { parent_color_ = v; }
    // With ParentFont (the default) a control takes a copy of its parent's font when
    // it is placed in the parent; later changes of the parent's font stay there.
    const TFont& Font() const { return font_; }
    TFont& Font() { return font_; }
    bool ParentFont() const { return parent_font_; }
    // True takes the parent's font now.
    void SetParentFont(bool v);

    const std::string& Caption() const { return caption_; }
    virtual void SetCaption(const std::string& caption) { caption_ = caption; }
    const std::string& Hint() const { return hint_; }
    void SetHint(const std::string& hint) { hint_ = hint; }
    bool ShowHint() const { return show_hint_; }
    void SetShowHint(bool v) { show_hint_ = v; }
    TCursor Cursor() const { return cursor_; }
    void SetCursor(TCursor c) { cursor_ = c; }

    // Z-order among the parent's children: the last one is in front.
    void BringToFront();
    void SendToBack();

    // Runs OnClick or OnDblClick directly, as a click from code does.
    virtual void Click();
    virtual void DblClick();

    TNotifyEvent OnClick;
    TNotifyEvent OnDblClick;
    TNotifyEvent OnMouseEnter;
    TNotifyEvent OnMouseLeave;
    TMouseEvent OnMouseUp;
    TMouseMoveEvent OnMouseMove;

    bool SetLayoutProperty(std::string_view name, const ui::LayoutValue& value) override;
    ui::EventSlot LayoutEvent(std::string_view name) override;

protected:
    // Whether the control publishes a Caption for layouts.
    virtual bool HasCaption() const { return false; }

private:
    friend class TWinControl;
    TWinControl* parent_ = nullptr;
    int left_ = 0, top_ = 0, width_ = 0, height_ = 0;
    bool visible_ = true;
    bool enabled_ = true;
    TColor color_ = clBtnFace;
    bool parent_color_ = false;
    TFont font_;
    bool parent_font_ = true;
    std::string caption_;
    std::string hint_;
    bool show_hint_ = false;
    TCursor cursor_ = crDefault;
};

// A control drawn on its parent, without keyboard focus (labels, images, gauges).
class TGraphicControl : public TControl {
public:
    using TControl::TControl;
    static constexpr const char* kClass = "TGraphicControl";
    std::string ClassName() const override { return kClass; }
};

// A control that can hold other controls and take the keyboard focus.
class TWinControl : public TControl {
public:
    explicit TWinControl(TComponent* owner);
    ~TWinControl() override;
    static constexpr const char* kClass = "TWinControl";
    std::string ClassName() const override { return kClass; }

    // The children, back to front.
    const std::vector<TControl*>& Controls() const { return controls_; }
    int ControlCount() const { return static_cast<int>(controls_.size()); }

    // Position in the parent's tab sequence; -1 without a parent.
    int TabOrder() const;
    void SetTabOrder(int order);
    bool TabStop() const { return tab_stop_; }
    void SetTabStop(bool v) { tab_stop_ = v; }
    // The focusable children in tab order.
    const std::vector<TWinControl*>& TabList() const { return tab_list_; }

    // Visible and enabled, itself and every container up to the form.
    bool CanFocus() const;
    bool Focused() const;
    // Throws when the control cannot take the focus.
    void SetFocus();

    // With ParentBackground the control shows its parent's background, not its colour.
    bool ParentBackground() const { return parent_background_; }
    void SetParentBackground(bool v) { parent_background_ = v; }
    bool DoubleBuffered() const { return double_buffered_; }
    void SetDoubleBuffered(bool v) { double_buffered_ = v; }

    TKeyPressEvent OnKeyPress;
    TKeyEvent OnKeyDown;

    bool SetLayoutProperty(std::string_view name, const ui::LayoutValue& value) override;
    ui::EventSlot LayoutEvent(std::string_view name) override;

private:
    friend class TControl;
    void InsertControl(TControl* control);
    void RemoveControl(TControl* control);

    std::vector<TControl*> controls_;
    std::vector<TWinControl*> tab_list_;
    bool tab_stop_ = false;
    bool parent_background_ = false;
    bool double_buffered_ = false;
};

template <class T>
T* TComponent::FindComponent(std::string_view name) const {
    TComponent* found = FindComponent(name);
    if (!found) throw Exception("The layout has no component named " + std::string(name));
    auto* typed = dynamic_cast<T*>(found);
    if (!typed)
        throw Exception("The component " + std::string(name) + " is a " + found->ClassName() + ", not a " +
                        std::string(T::kClass));
    return typed;
}
