#pragma once
// The picture behind a window's controls: the window colour in a soft light from
// the top, with a faint square grid like drawing paper. Calm enough that text and
// edits on it read as on the plain colour.
#include "platform/ui/controls.h"
#include "platform/ui/types.h"

namespace ui {

// Opaque, width x height; empty for a size of zero or less.
PixelImage CalmBackdrop(int width, int height, TColor base);

}  // namespace ui
