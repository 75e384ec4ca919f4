#pragma once
// Records every event of the watched controls as "Name.OnEvent", so that a test can
// show what fired and that nothing else did.
#include <string>
#include <vector>

#include "platform/ui/ui.h"

class EventLog {
public:
    void Watch(TControl* c) {
        const std::string n = c->Name();
        c->OnClick = [this, n](TObject*) { Add(n + ".OnClick"); };
        c->OnDblClick = [this, n](TObject*) { Add(n + ".OnDblClick"); };
        c->OnMouseEnter = [this, n](TObject*) { Add(n + ".OnMouseEnter"); };
        c->OnMouseLeave = [this, n](TObject*) { Add(n + ".OnMouseLeave"); };
        c->OnMouseUp = [this, n](TObject*, TMouseButton, TShiftState, int x, int y) {
            Add(n + ".OnMouseUp(" + std::to_string(x) + "," + std::to_string(y) + ")");
        };
        c->OnMouseMove = [this, n](TObject*, TShiftState, int x, int y) {
            Add(n + ".OnMouseMove(" + std::to_string(x) + "," + std::to_string(y) + ")");
        };
        if (auto* w = dynamic_cast<TWinControl*>(c)) {
            w->OnKeyPress = [this, n](TObject*, char& key) { Add(n + ".OnKeyPress(" + std::to_string(key) + ")"); };
            w->OnKeyDown = [this, n](TObject*, std::uint16_t& key, TShiftState) {
                Add(n + ".OnKeyDown(" + std::to_string(key) + ")");
            };
        }
        if (auto* e = dynamic_cast<TEdit*>(c))
            e->OnChange = [this, n, e](TObject*) { Add(n + ".OnChange(" + e->Text() + ")"); };
        if (auto* b = dynamic_cast<TComboBox*>(c))
            b->OnChange = [this, n, b](TObject*) { Add(n + ".OnChange(" + std::to_string(b->ItemIndex()) + ")"); };
    }

    void Add(std::string entry) { entries.push_back(std::move(entry)); }
    std::vector<std::string> Take() {
        std::vector<std::string> taken;
        taken.swap(entries);
        return taken;
    }

    std::vector<std::string> entries;
};
