#pragma once
// What the design-run tests look at: the status lamp as a whole, the boxes of a kind,
// and the service's sample results, edited and answered in place of a design.
#include <ostream>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "design_service/run_support.h"
#include "support/form_environment.h"

namespace design_run_tests {

using json = nlohmann::ordered_json;

struct Lamp {
    bool group_visible;
    bool visible;
    std::string caption;
    int font_size;
    bool parent_background;
    TColor color;
    bool operator==(const Lamp&) const = default;
};

inline std::ostream& operator<<(std::ostream& out, const Lamp& l) {
    return out << "{group " << l.group_visible << ", visible " << l.visible << ", \"" << l.caption << "\", size "
               << l.font_size << ", parent background " << l.parent_background << ", colour " << l.color << "}";
}

inline Lamp LampOf(const DOVEREForm& f) {
    return {f.GroupBoxRUN->Visible(), f.Panel_RUN->Visible(), f.Panel_RUN->Caption(), f.Panel_RUN->Font().Size,
            f.Panel_RUN->ParentBackground(), f.Panel_RUN->Color()};
}

// The lamp's state before the first run: nothing lit, no text.
inline bool LampHidden(const DOVEREForm& f) {
    return !f.GroupBoxRUN->Visible() && !f.Panel_RUN->Visible() && f.Panel_RUN->Caption().empty();
}

inline bool ShowsVerdict(const DOVEREForm& f) {
    const std::string caption = f.Panel_RUN->Caption();
    return f.GroupBoxRUN->Visible() && f.Panel_RUN->Visible() && (caption == "DONE" || caption == "NG");
}

inline const Lamp kDone{true, true, "DONE", 12, true, clRed};
inline const Lamp kRunning{true, true, "RUN", 14, false, clRed};
inline const Lamp kFailedChecks{true, true, "NG", 14, true, clRed};

inline std::vector<std::string> Texts(const std::vector<ui::HeadlessBackend::Box>& boxes, ui::BoxKind kind) {
    std::vector<std::string> texts;
    for (const auto& b : boxes)
        if (b.kind == kind) texts.push_back(b.text);
    return texts;
}

// A sample result of tests/fixtures ("diagonal-welded", "chevron-bolted", ...).
inline json Sample(const std::string& family) {
    return json::parse(testing_support::ReadFile(testing_support::FixturePath("run-result-" + family + ".json")));
}

// The service answers the next design runs with this result, as it wraps its own.
inline zorv_service::Fault Answer(const json& result) {
    return testing_support::ReplyFault("{\"result\":[" + result.dump() + "]}");
}

inline zorv_service::Fault ServerError() {
    zorv_service::Fault fault;
    fault.status = 500;
    return fault;
}

}  // namespace design_run_tests
