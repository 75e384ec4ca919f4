#pragma once
// The data module that the program creates beside the main window. It carries a
// REST connection and a lazily made proxy of the service's methods; no request goes
// through either, since every exchange is a plain GET of the service link.
#include <memory>
#include <string>
#include <vector>

#include "platform/ui/components.h"

// Connection settings of the REST transport.
class TDSRestConnection : public TComponent {
public:
    static constexpr const char* kClass = "TDSRestConnection";
    explicit TDSRestConnection(TComponent* owner);
    std::string ClassName() const override { return kClass; }

    std::string Protocol = "http";
    std::string Host;
    int Port = 8080;
    std::string UrlPath = "datasnap/";
    std::string Connection = "Keep-Alive";
    bool LoginPrompt = false;
};

// One method of the proxy: its name, its one text parameter and its text result.
struct TDSRestCommand {
    std::string Method;
    std::string Parameter = "value";
};

class TServerMethods1Client {
public:
    TServerMethods1Client(TDSRestConnection* connection, bool instance_owner);
    TDSRestConnection* Connection() const { return connection_; }
    bool InstanceOwner() const { return instance_owner_; }
    const std::vector<std::unique_ptr<TDSRestCommand>>& Commands() const { return commands_; }

private:
    TDSRestConnection* connection_;
    bool instance_owner_;
    std::vector<std::unique_ptr<TDSRestCommand>> commands_;
};

class TClientModule1 : public TComponent {
public:
    static constexpr const char* kClass = "TClientModule1";
    explicit TClientModule1(TComponent* owner);
    ~TClientModule1() override;
    std::string ClassName() const override { return kClass; }

    TDSRestConnection* DSRestConnection1;
    bool InstanceOwner() const { return instance_owner_; }
    // Made on first use.
    TServerMethods1Client* ServerMethods1Client();
    bool HasServerMethods1Client() const { return static_cast<bool>(server_methods_); }

private:
    bool instance_owner_ = true;
    std::unique_ptr<TServerMethods1Client> server_methods_;
};

extern TClientModule1* ClientModule1;
