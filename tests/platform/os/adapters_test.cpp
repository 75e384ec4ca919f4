#include "platform/os/adapters.h"

#include <arpa/inet.h>
#include <gtest/gtest.h>

#include <set>

namespace {

using os::Adapter;

TEST(ClientAdapterAddress, LastAddressOfTheFirstUsableAdapter) {
    const Adapter lo{"lo", true, {"127.0.0.1"}};
    const Adapter eth0{"eth0", false, {"10.0.0.5", "10.0.0.6"}};
    const Adapter bare{"eth1", false, {}};
    const Adapter wlan{"wlan0", false, {"192.168.1.9"}};
    struct Case {
        std::vector<Adapter> adapters;
        std::optional<std::string> address;
    };
    const Case cases[] = {
        {{}, std::nullopt},
        {{lo}, std::nullopt},
        {{bare}, std::nullopt},
        {{lo, eth0}, "10.0.0.6"},
        {{lo, bare, wlan}, "192.168.1.9"},
        {{wlan, eth0}, "192.168.1.9"},
        {{eth0, lo}, "10.0.0.6"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(os::ClientAdapterAddress(c.adapters), c.address)
            << c.adapters.size() << " adapters";
    }
}

TEST(ListAdapters, TestListStandsInForTheSystemsUntilReleased) {
    const std::vector<Adapter> list{{"eth9", false, {"10.1.2.3"}}};
    os::SetAdaptersForTest(list);
    EXPECT_EQ(os::ListAdapters(), list);
    os::SetAdaptersForTest({});
    EXPECT_TRUE(os::ListAdapters().empty());
    os::UseSystemAdapters();
    EXPECT_NE(os::ListAdapters(), list);
}

TEST(ListAdapters, SystemListHasOneEntryPerAdapterWithDottedAddresses) {
    os::UseSystemAdapters();
    std::set<std::string> names;
    for (const Adapter& adapter : os::ListAdapters()) {
        EXPECT_FALSE(adapter.name.empty());
        EXPECT_TRUE(names.insert(adapter.name).second) << adapter.name << " listed twice";
        for (const std::string& address : adapter.ipv4_addresses) {
            in_addr parsed{};
            EXPECT_EQ(inet_pton(AF_INET, address.c_str(), &parsed), 1) << address;
        }
        if (adapter.name == "lo") {
            EXPECT_TRUE(adapter.loopback);
        }
    }
}

}  // namespace
