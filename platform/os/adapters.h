#pragma once
// The network adapters of the machine, for the client address that every run
// request carries.
#include <optional>
#include <string>
#include <vector>

namespace os {

struct Adapter {
    std::string name;
    bool loopback = false;
    std::vector<std::string> ipv4_addresses;  // dotted texts, in the system's order

    bool operator==(const Adapter&) const = default;
};

// Every adapter in the system's order (the test list when one is set); empty
// when the system cannot list them.
std::vector<Adapter> ListAdapters();

// The last IPv4 address of the first adapter that is not loopback and has
// one; nothing when there is no such adapter.
std::optional<std::string> ClientAdapterAddress(const std::vector<Adapter>& adapters);

// Test seam: ListAdapters returns this list until UseSystemAdapters.
void SetAdaptersForTest(std::vector<Adapter> adapters);
void UseSystemAdapters();

}  // namespace os
