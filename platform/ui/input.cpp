#include "platform/ui/input.h"

#include <algorithm>

#include "platform/ui/controls.h"
#include "platform/ui/forms.h"
#include "platform/ui/grid.h"

namespace ui {

bool AcceptsInput(const TControl* control) {
    if (!control) return false;
    for (const TControl* c = control; c; c = c->Parent()) {
        if (!c->Enabled()) return false;
        if (!c->Visible() && !dynamic_cast<const TForm*>(c)) return false;
    }
    return true;
}

namespace {

// Runs the event when the control takes input.
void Deliver(const TControl* control, const std::function<void()>& event) {
    if (AcceptsInput(control)) Dispatch(event);
}

void TakeFocus(TWinControl* control) {
    if (control->TabStop() && control->CanFocus()) control->ParentForm()->SetActiveControl(control);
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// OnKeyPress, then the digits-only rule; 0 when the key is dropped.
char RunKeyPress(TWinControl* control, char key) {
    if (control->OnKeyPress) control->OnKeyPress(control, key);
    if (key == 0) return 0;
    auto* edit = dynamic_cast<TEdit*>(control);
    if (edit && edit->NumbersOnly() && static_cast<unsigned char>(key) >= 32 && !IsDigit(key)) return 0;
    return key;
}

// What the control does with a key that got through.
void ActOnKey(TWinControl* control, char key) {
    if (auto* edit = dynamic_cast<TEdit*>(control)) {
        if (key == '\r' || key == 27) return;
        std::string text = edit->Text();
        if (key == '\b') {
            if (!text.empty()) text.pop_back();
        } else if (static_cast<unsigned char>(key) >= 32 || key == '\t') {
            text.push_back(key);
        } else {
            return;
        }
        edit->SetText(text);
    } else if (auto* box = dynamic_cast<TCheckBox*>(control)) {
        if (key == ' ') box->SetChecked(!box->Checked());
    } else if (dynamic_cast<TButton*>(control)) {
        if (key == '\r' || key == ' ') control->Click();
    }
}

// A choice made by the user: OnClick, then OnSelect where it is bound, else OnChange.
// Only a pick from the list of the item already chosen counts without a move, and only
// for OnSelect: a selector whose first item is shown before anything was applied can
// apply it.
void MoveComboChoice(TComboBox* combo, int index, bool from_list) {
    if (index < 0 || index >= combo->Items().Count()) return;
    if (index == combo->ItemIndex() && !(from_list && combo->OnSelect)) return;
    combo->SetItemIndex(index);
    combo->Click();
    if (combo->OnSelect) combo->OnSelect(combo);
    else if (combo->OnChange) combo->OnChange(combo);
}

void CollectTabOrder(const TWinControl* container, std::vector<TWinControl*>& out) {
    for (TWinControl* child : container->TabList()) {
        if (child->TabStop() && child->CanFocus()) out.push_back(child);
        CollectTabOrder(child, out);
    }
}

}  // namespace

void UserClick(TControl* control) {
    Deliver(control, [control] {
        if (auto* win = dynamic_cast<TWinControl*>(control)) TakeFocus(win);
        if (auto* box = dynamic_cast<TCheckBox*>(control)) box->SetChecked(!box->Checked());
        else control->Click();
    });
}

void UserDoubleClick(TControl* control) {
    UserClick(control);
    Deliver(control, [control] { control->DblClick(); });
}

void UserDoubleClickCell(TStringGrid* grid, int col, int row) {
    Deliver(grid, [grid, col, row] {
        grid->SetCol(col);
        grid->SetRow(row);
        TakeFocus(grid);
        grid->Click();
    });
    Deliver(grid, [grid] { grid->DblClick(); });
}

void UserChooseItem(TControl* control, int index) {
    Deliver(control, [control, index] {
        if (auto* combo = dynamic_cast<TComboBox*>(control)) {
            TakeFocus(combo);
            MoveComboChoice(combo, index, true);
        } else if (auto* radio = dynamic_cast<TRadioGroup*>(control)) {
            if (index >= 0 && index < radio->Items().Count()) radio->SetItemIndex(index);
        } else if (auto* list = dynamic_cast<TCheckListBox*>(control)) {
            TakeFocus(list);
            list->SetItemIndex(index);
        }
    });
}

void UserKeyPress(TWinControl* control, char key) {
    Deliver(control, [control, key] {
        TakeFocus(control);
        if (const char k = RunKeyPress(control, key)) ActOnKey(control, k);
    });
}

void UserTypeText(TWinControl* control, std::string_view text) {
    for (char c : text) UserKeyPress(control, c);
}

void UserPressEnter(TWinControl* control) { UserKeyPress(control, '\r'); }

void UserKeyDown(TWinControl* control, std::uint16_t key, TShiftState shift) {
    Deliver(control, [control, key, shift] {
        TakeFocus(control);
        std::uint16_t k = key;
        if (control->OnKeyDown) control->OnKeyDown(control, k, shift);
        if (k == 0) return;
        if (auto* combo = dynamic_cast<TComboBox*>(control)) {
            if (k == VK_DOWN) MoveComboChoice(combo, combo->ItemIndex() + 1, false);
            else if (k == VK_UP && combo->ItemIndex() > 0) MoveComboChoice(combo, combo->ItemIndex() - 1, false);
        }
    });
}

char FilterKeyPress(TWinControl* control, char key) {
    char result = 0;
    Deliver(control, [control, key, &result] { result = RunKeyPress(control, key); });
    return result;
}

void UserEditText(TEdit* edit, const std::string& text) {
    Deliver(edit, [edit, &text] { edit->SetText(text); });
}

void UserMouseEnter(TControl* control) {
    Deliver(control, [control] {
        if (control->OnMouseEnter) control->OnMouseEnter(control);
    });
}

void UserMouseLeave(TControl* control) {
    Deliver(control, [control] {
        if (control->OnMouseLeave) control->OnMouseLeave(control);
    });
}

namespace {

// The visible child of the container at (x, y) of it, or nullptr; the order is the
// backend's painting order read from the front.
TControl* ChildAt(const TWinControl* container, int x, int y) {
    const auto& children = container->Controls();
    for (const bool graphic : {false, true})
        for (auto it = children.rbegin(); it != children.rend(); ++it) {
            TControl* child = *it;
            if ((dynamic_cast<TGraphicControl*>(child) != nullptr) != graphic || !child->Visible()) continue;
            const int cx = x - child->Left(), cy = y - child->Top();
            if (cx < 0 || cy < 0 || cx >= child->Width() || cy >= child->Height()) continue;
            if (const auto* inner = dynamic_cast<const TWinControl*>(child))
                if (TControl* found = ChildAt(inner, cx, cy)) return found;
            return child;
        }
    return nullptr;
}

void MoveHover(TForm* form, TControl* now) {
    TControl* before = form->Hovered();
    if (before == now) return;
    form->SetHovered(now);
    if (before) UserMouseLeave(before);
    // The leave handler may have freed the control the pointer is on.
    if (now && form->Hovered() == now) UserMouseEnter(now);
}

}  // namespace

TControl* ControlAtPoint(TForm* form, int x, int y) {
    if (!form || x < 0 || y < 0 || x >= form->ClientWidth() || y >= form->ClientHeight()) return nullptr;
    if (TControl* child = ChildAt(form, x, y)) return child;
    return form;
}

void UserPointAt(TForm* form, int x, int y) { MoveHover(form, ControlAtPoint(form, x, y)); }

void UserPointerLeft(TForm* form) { MoveHover(form, nullptr); }

void UserMouseMove(TControl* control, TShiftState shift, int x, int y) {
    Deliver(control, [=] {
        if (control->OnMouseMove) control->OnMouseMove(control, shift, x, y);
    });
}

void UserMouseUp(TControl* control, TMouseButton button, TShiftState shift, int x, int y) {
    Deliver(control, [=] {
        if (control->OnMouseUp) control->OnMouseUp(control, button, shift, x, y);
    });
}

std::vector<TWinControl*> TabOrderList(const TWinControl* root) {
    std::vector<TWinControl*> list;
    if (root) CollectTabOrder(root, list);
    return list;
}

TWinControl* UserTab(TForm* form, bool forward) {
    const auto list = TabOrderList(form);
    if (list.empty()) return nullptr;
    TWinControl* next = nullptr;
    Dispatch([&] {
        const auto it = std::find(list.begin(), list.end(), form->ActiveControl());
        const int n = static_cast<int>(list.size());
        int index;
        if (it == list.end()) index = forward ? 0 : n - 1;
        else index = (static_cast<int>(it - list.begin()) + (forward ? 1 : n - 1)) % n;
        next = list[static_cast<size_t>(index)];
        form->SetActiveControl(next);
    });
    return next;
}

void UserFocus(TWinControl* control) {
    Deliver(control, [control] { TakeFocus(control); });
}

void UserClose(TForm* form) {
    // Inside another event (its modal box is open, or it lets messages through) the
    // close waits for that event to end, which may still need the form.
    if (DispatchDepth() > 0) {
        form->CloseLater();
        return;
    }
    Dispatch([form] { form->Close(); });
}

void PaintForm(TForm* form) {
    Dispatch([form] {
        if (form->OnPaint) form->OnPaint(form);
    });
}

void PaintGrid(TStringGrid* grid, TCanvas& canvas) {
    Dispatch([grid, &canvas] { PaintGridCells(*grid, canvas); });
}

TColor EffectiveBackground(const TControl* control) {
    const TControl* c = control;
    while (c) {
        const auto* win = dynamic_cast<const TWinControl*>(c);
        const bool see_through = (win && win->ParentBackground()) || c->ParentColor();
        if (!see_through || !c->Parent()) return c->Color();
        c = c->Parent();
    }
    return clBtnFace;
}

}  // namespace ui
