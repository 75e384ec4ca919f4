#pragma once
// Keeps a control disabled for a scope and enables it on every way out, a throw
// included; for handlers that are also called from code, outside any dispatched event.
#include "platform/ui/components.h"

namespace ui {

class ScopedDisable {
public:
    explicit ScopedDisable(TControl* control) : control_(control) { control_->SetEnabled(false); }
    ~ScopedDisable() { control_->SetEnabled(true); }
    ScopedDisable(const ScopedDisable&) = delete;
    ScopedDisable& operator=(const ScopedDisable&) = delete;

private:
    TControl* control_;
};

}  // namespace ui
