// The data module: its REST connection settings and the proxy that no request uses.
#include <gtest/gtest.h>

#include "platform/ui/ui.h"
#include "service/client_module.h"

namespace {

TEST(ClientModule, HoldsItsConnectionAndMakesTheProxyOnlyWhenAsked) {
    ui::ApplicationScope scope;
    auto* module = new TClientModule1(&scope.App());
    const TDSRestConnection& c = *module->DSRestConnection1;
    EXPECT_EQ(c.Protocol, "http");
    EXPECT_EQ(c.Port, 8080);
    EXPECT_EQ(c.UrlPath, "datasnap/");
    EXPECT_EQ(c.Connection, "Keep-Alive");
    EXPECT_FALSE(c.LoginPrompt);
    EXPECT_EQ(c.Host, "");
    EXPECT_TRUE(module->InstanceOwner());
    EXPECT_FALSE(module->HasServerMethods1Client());

    TServerMethods1Client* proxy = module->ServerMethods1Client();
    EXPECT_EQ(module->ServerMethods1Client(), proxy);
    EXPECT_EQ(proxy->Connection(), module->DSRestConnection1);
    std::vector<std::string> methods;
    for (const auto& command : proxy->Commands()) methods.push_back(command->Method);
    EXPECT_EQ(methods, (std::vector<std::string>{"TServerMethods1.EchoString", "TServerMethods1.ReverseString",
                                                 "TServerMethods1.RUN_ZORV_PROJECT"}));
}

}  // namespace
