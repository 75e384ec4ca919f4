#include "service/client_module.h"

TClientModule1* ClientModule1 = nullptr;

TDSRestConnection::TDSRestConnection(TComponent* owner) : TComponent(owner) {}

TServerMethods1Client::TServerMethods1Client(TDSRestConnection* connection, bool instance_owner)
    : connection_(connection), instance_owner_(instance_owner) {
    for (const char* method :
         {"TServerMethods1.EchoString", "TServerMethods1.ReverseString", "TServerMethods1.RUN_ZORV_PROJECT"}) {
        commands_.push_back(std::make_unique<TDSRestCommand>(TDSRestCommand{method}));
    }
}

TClientModule1::TClientModule1(TComponent* owner) : TComponent(owner), DSRestConnection1(new TDSRestConnection(this)) {
    SetName("ClientModule1");
    DSRestConnection1->SetName("DSRestConnection1");
}

TClientModule1::~TClientModule1() = default;

TServerMethods1Client* TClientModule1::ServerMethods1Client() {
    if (!server_methods_) server_methods_ = std::make_unique<TServerMethods1Client>(DSRestConnection1, instance_owner_);
    return server_methods_.get();
}
