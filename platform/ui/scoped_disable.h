#pragma once
// The busy guard of a handler: keeps a control disabled for a scope and enables it on
// every way out, a throw included, inside a dispatched event or outside any. The
// dispatcher enables nothing itself, so a control the program locks on purpose with a
// plain SetEnabled(false) stays locked through an error.
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
