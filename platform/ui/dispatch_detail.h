#pragma once
// Bookkeeping of the dispatcher that the controls feed: which controls an event
// disabled, so that an event that throws does not leave them disabled.
class TControl;

namespace ui::detail {

// A control went from enabled to disabled.
void NoteDisabled(TControl* control);
// A control is being destroyed.
void NoteDestroyed(TControl* control);

}  // namespace ui::detail
