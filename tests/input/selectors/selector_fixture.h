#pragma once
// A main window built against the local design service, with what the input
// selectors' tests look at: the design runs that reached the service, their
// requests, and the state of the window while a run's request is on its way.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "support/form_environment.h"

namespace ui {
inline void PrintTo(const HeadlessBackend::Box& box, std::ostream* os) {
    *os << BoxKindName(box.kind) << ": " << box.text;
}
}  // namespace ui

namespace selector_tests {

inline const std::string kRunMethod = "RUN_ZORV_PROJECT/";

class SelectorTest : public ::testing::Test {
protected:
    void SetUp() override {
        form = env.Create();
        ASSERT_NE(form, nullptr);
        Forget();
    }

    // Starts the record of requests and boxes afresh.
    void Forget() {
        env.Service().ClearRequestTargets();
        env.Headless().TakeBoxes();
    }

    std::vector<std::string> Methods() const { return env.Methods(); }

    // The methods without their arguments, a run as "RUN_ZORV_PROJECT/".
    std::vector<std::string> MethodNames() const {
        std::vector<std::string> names;
        for (const std::string& m : env.Methods())
            names.push_back(m.rfind(kRunMethod, 0) == 0 ? kRunMethod : m);
        return names;
    }

    // The error boxes so far; a run's advice comes in plain message boxes.
    std::vector<ui::HeadlessBackend::Box> ErrorBoxes() {
        std::vector<ui::HeadlessBackend::Box> errors;
        for (const auto& box : env.Headless().Boxes())
            if (box.kind == ui::BoxKind::Error) errors.push_back(box);
        return errors;
    }

    int RunCount() const {
        int runs = 0;
        for (const std::string& m : env.Methods()) runs += m.rfind(kRunMethod, 0) == 0;
        return runs;
    }

    // The request of the last run that reached the service.
    nlohmann::json LastRunRequest() const {
        const std::vector<std::string> methods = env.Methods();
        for (auto m = methods.rbegin(); m != methods.rend(); ++m)
            if (m->rfind(kRunMethod, 0) == 0) return nlohmann::json::parse(m->substr(kRunMethod.size()));
        ADD_FAILURE() << "no design run reached the service";
        return nlohmann::json::object();
    }

    // Every run's request fails from now on, and `look` runs while the run shows its
    // connection error, that is in the middle of the run.
    void LookDuringRuns(std::function<void()> look) {
        zorv_service::Fault fault;
        fault.status = 500;
        env.Service().FailMethod("RUN_ZORV_PROJECT", fault);
        env.Headless().SetWhileBoxOpen([look = std::move(look)](const ui::HeadlessBackend::Box& box) {
            if (box == testing_support::ConnectionBox()) look();
        });
    }

    testing_support::FormEnvironment env;
    DOVEREForm* form = nullptr;
};

}  // namespace selector_tests
