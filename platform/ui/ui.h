#pragma once
// The control model in one include: controls, grid and canvas, forms, the
// application, dialogs, user input and the layout loader.
#include "platform/ui/canvas.h"
#include "platform/ui/components.h"
#include "platform/ui/controls.h"
#include "platform/ui/forms.h"
#include "platform/ui/grid.h"
#include "platform/ui/headless.h"
#include "platform/ui/input.h"
#include "platform/ui/layout.h"
#include "platform/ui/strings.h"
#include "platform/ui/types.h"
