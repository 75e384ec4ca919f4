#pragma once
// A main window built against the in-process design service, through the real HTTP
// layer: the form's service address is routed to the local service (or to a port
// where nothing listens), the adapter list is fixed, and the headless backend records
// every box.
//
//   testing_support::FormEnvironment env;          // a service that answers
//   env.Service().SetLatestClientVersion("C2");    // prepare it
//   DOVEREForm* form = env.Create();               // the constructor runs
//   EXPECT_TRUE(env.Headless().Boxes().empty());
#include <optional>
#include <string>
#include <vector>

#include "app/DOVEREFORM.h"
#include "design_service/design_service.h"
#include "design_service/local_service.h"
#include "platform/http/TDSHTTP.h"
#include "platform/os/adapters.h"
#include "platform/ui/ui.h"
#include "service/service_link.h"

namespace testing_support {

// The connect-to entry that sends the form's requests to a local port.
inline std::string ServiceRoute(unsigned short port) {
    return std::string(ZORV_SERVICE_HOST) + ":" + service_link::kServicePort + ":127.0.0.1:" + std::to_string(port);
}

// The adapters of a machine whose loopback adapter comes first, as Linux lists them.
inline std::vector<os::Adapter> TestAdapters() {
    return {{"lo", true, {"127.0.0.1"}}, {"eth0", false, {"192.168.10.20"}}};
}

// A box as the headless backend records it.
inline ui::HeadlessBackend::Box ErrorBox(const std::string& text) { return {ui::BoxKind::Error, text}; }
inline ui::HeadlessBackend::Box NoticeBox(const std::string& text) { return {ui::BoxKind::Notice, text}; }
inline ui::HeadlessBackend::Box ConnectionBox() { return ErrorBox(kConnectionMessage); }

// The service answers with this body, status 200, in place of its own reply.
inline zorv_service::Fault ReplyFault(std::string body) {
    zorv_service::Fault fault;
    fault.body = std::move(body);
    return fault;
}

class FormEnvironment {
public:
    enum class Reach { Answers, Unreachable };

    explicit FormEnvironment(Reach reach = Reach::Answers)
        : timeouts_(2000, 10000) {
        service_.Start();
        route_.emplace(std::vector<std::string>{ServiceRoute(reach == Reach::Answers ? service_.Port() : ClosedPort())});
        os::SetAdaptersForTest(TestAdapters());
        scope_.emplace();
        scope_->Headless().SetEcho(false);
    }

    ~FormEnvironment() {
        scope_.reset();  // the forms go while the service still answers
        RORERForm = nullptr;
        os::UseSystemAdapters();
    }

    FormEnvironment(const FormEnvironment&) = delete;
    FormEnvironment& operator=(const FormEnvironment&) = delete;

    // Runs the constructor (and OnCreate) into RORERForm, as the program does.
    DOVEREForm* Create() {
        Application->CreateForm(RORERForm);
        return RORERForm;
    }

    zorv_service::DesignService& Service() { return service_; }
    ui::HeadlessBackend& Headless() { return scope_->Headless(); }
    TApplication& App() { return scope_->App(); }

    // The request targets so far, each without the method root of the service.
    std::vector<std::string> Methods() const {
        std::vector<std::string> methods;
        const std::string root = "/datasnap/rest/TServerMethods1/";
        for (const std::string& target : service_.RequestTargets())
            methods.push_back(target.rfind(root, 0) == 0 ? target.substr(root.size()) : target);
        return methods;
    }

private:
    zorv_service::DesignService service_;
    http::ScopedTimeouts timeouts_;
    std::optional<http::ScopedConnectTo> route_;
    std::optional<ui::ApplicationScope> scope_;
};

}  // namespace testing_support
