#pragma once
// User input as a backend reports it (and as the headless tests play it). Every call
// goes through the dispatcher; a control that is hidden or disabled, itself or any
// container above it, takes no input and the call does nothing.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/ui/canvas.h"
#include "platform/ui/types.h"

class TControl;
class TWinControl;
class TForm;
class TEdit;
class TStringGrid;

namespace ui {

// Visible and enabled up to the form (the form's own visibility does not count).
bool AcceptsInput(const TControl* control);

// A click: a control that can take the focus takes it; a check box toggles (and so
// fires OnClick); anything else fires OnClick.
void UserClick(TControl* control);
// A double click: the click first, then OnDblClick, as two events.
void UserDoubleClick(TControl* control);
// A double click on a grid cell: the cell becomes current (Col, Row), then the
// click and OnDblClick.
void UserDoubleClickCell(TStringGrid* grid, int col, int row);
// An item chosen with the mouse in a combo box, radio group or check list box. A combo
// box fires OnClick and OnChange when the choice changes, or OnClick and OnSelect on
// every pick where OnSelect is bound (see TComboBox::OnSelect); a radio group OnClick; a
// check list box only selects.
void UserChooseItem(TControl* control, int index);

// A typed character: the control takes the focus, OnKeyPress runs first and may
// change or drop the key (0); then the control acts on it: an edit inserts it at its
// end (backspace, 8, removes the last character; Enter, 13, and Escape change
// nothing; a digits-only edit refuses anything but "0" to "9"); a button is pressed
// by Enter or space, a check box toggled by space.
void UserKeyPress(TWinControl* control, char key);
// Each byte of the text as UserKeyPress.
void UserTypeText(TWinControl* control, std::string_view text);
// Enter (character 13).
void UserPressEnter(TWinControl* control);
// A key going down: OnKeyDown runs first and may drop the key (0); then up and down
// move a combo box's choice by one, firing OnClick and OnChange when it moves.
void UserKeyDown(TWinControl* control, std::uint16_t key, TShiftState shift = 0);

// For a backend whose own edit widget inserts the text: OnKeyPress and the
// digits-only rule for one typed character; the key to let through, 0 to drop it.
char FilterKeyPress(TWinControl* control, char key);
// The backend's edit widget has changed its text (typing, pasting): fires OnChange.
void UserEditText(TEdit* edit, const std::string& text);

void UserMouseEnter(TControl* control);
void UserMouseLeave(TControl* control);

// The control that lies at (x, y) of the form's client area: the innermost visible
// one, windowed controls in front of those drawn on their parent and later siblings in
// front of earlier ones, each clipped to its container; the form itself where no
// control is, nullptr outside the form.
TControl* ControlAtPoint(TForm* form, int x, int y);
// The mouse pointer is now at (x, y) of the form's client area. When that puts it on
// another control, the control it was on gets OnMouseLeave and the one it is on now
// OnMouseEnter; containers above them get neither (entering a child is leaving its
// container, and coming back to the container's free area is entering it again).
void UserPointAt(TForm* form, int x, int y);
// The pointer has left the form: the control it was on gets OnMouseLeave.
void UserPointerLeft(TForm* form);
void UserMouseMove(TControl* control, TShiftState shift, int x, int y);
void UserMouseUp(TControl* control, TMouseButton button, TShiftState shift, int x, int y);

// The controls that Tab visits, in order: containers are walked by their children's
// TabOrder; a control counts when it is a tab stop that can take the focus, wherever
// it is placed (beyond the window's edge too).
std::vector<TWinControl*> TabOrderList(const TWinControl* root);
// Tab (or Shift+Tab): the focus moves to the next (previous) control of the form's
// tab order, wrapping round; returns the control that has it, or nullptr.
TWinControl* UserTab(TForm* form, bool forward = true);
// A click into a control that can take the focus.
void UserFocus(TWinControl* control);

// The window's close box. Asked for during another event (a modal box of a handler
// is open), the close waits until that event has ended.
void UserClose(TForm* form);
// The window needs painting: OnPaint.
void PaintForm(TForm* form);
// The grid needs painting on this canvas (see PaintGridCells), as one event.
void PaintGrid(TStringGrid* grid, TCanvas& canvas);

// The colour a control's background shows: its own colour, or with ParentBackground
// (or ParentColor) its parent's background.
TColor EffectiveBackground(const TControl* control);

}  // namespace ui
