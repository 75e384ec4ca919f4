#include "platform/os/adapters.h"

#include <arpa/inet.h>
#include <ifaddrs.h>
#include <net/if.h>
#include <netinet/in.h>

#include <algorithm>
#include <mutex>

namespace os {
namespace {

std::mutex test_mutex;
std::optional<std::vector<Adapter>> test_adapters;

std::vector<Adapter> SystemAdapters() {
    ifaddrs* list = nullptr;
    if (getifaddrs(&list) != 0) return {};
    std::vector<Adapter> adapters;
    for (ifaddrs* entry = list; entry != nullptr; entry = entry->ifa_next) {
        if (entry->ifa_name == nullptr) continue;
        auto found = std::find_if(adapters.begin(), adapters.end(),
                                  [&](const Adapter& a) { return a.name == entry->ifa_name; });
        if (found == adapters.end()) {
            adapters.push_back({entry->ifa_name, (entry->ifa_flags & IFF_LOOPBACK) != 0, {}});
            found = adapters.end() - 1;
        }
        if (entry->ifa_addr != nullptr && entry->ifa_addr->sa_family == AF_INET) {
            char text[INET_ADDRSTRLEN] = {};
            const auto* address = reinterpret_cast<const sockaddr_in*>(entry->ifa_addr);
            if (inet_ntop(AF_INET, &address->sin_addr, text, sizeof text) != nullptr) {
                found->ipv4_addresses.emplace_back(text);
            }
        }
    }
    freeifaddrs(list);
    return adapters;
}

}  // namespace

std::vector<Adapter> ListAdapters() {
    {
        std::lock_guard lock(test_mutex);
        if (test_adapters) return *test_adapters;
    }
    return SystemAdapters();
}

std::optional<std::string> ClientAdapterAddress(const std::vector<Adapter>& adapters) {
    for (const Adapter& adapter : adapters) {
        if (!adapter.loopback && !adapter.ipv4_addresses.empty()) {
            return adapter.ipv4_addresses.back();
        }
    }
    return std::nullopt;
}

void SetAdaptersForTest(std::vector<Adapter> adapters) {
    std::lock_guard lock(test_mutex);
    test_adapters = std::move(adapters);
}

void UseSystemAdapters() {
    std::lock_guard lock(test_mutex);
    test_adapters.reset();
}

}  // namespace os
