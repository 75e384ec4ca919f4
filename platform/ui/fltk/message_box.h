#pragma once
// The modal box of ShowMessage, the notice box and the error box: the text, an icon
// for notices and errors, and one OK button (Enter or Escape close it too).
#include <FL/Fl_Double_Window.H>

#include <string>

#include "platform/ui/forms.h"

namespace ui {

// A modal window, not yet shown, centred over `over` (or the screen without one).
// Closing it hides it.
Fl_Double_Window* MakeMessageBox(BoxKind kind, const std::string& text, const std::string& title,
                                 Fl_Window* over);

}  // namespace ui
