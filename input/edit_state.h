#pragma once
// The state of an input edit in the editing cycle, which its colours show: committed
// on maroon (green for the joint plate thickness), pending on cream.
#include "platform/ui/ui.h"

inline bool IsPendingEdit(const TEdit& edit) { return edit.Color() == clCream; }
