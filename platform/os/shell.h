#pragma once
// The shell's "open" of a web address: the user's browser through xdg-open, which
// runs on its own; the caller does not wait for the browser.
#include <functional>
#include <string>

namespace os {

// Starts xdg-open with the address (BrowserAddress) as its one argument (no shell in
// between) and returns once it runs. Raises Exception when it cannot be started
// (xdg-open missing from PATH, an empty address, or one that xdg-open would take for
// an option).
void OpenInBrowser(const std::string& url);

// The address given to the browser: one without a scheme ("host/path") is taken as
// a web address, as the browser the client was written for took it.
std::string BrowserAddress(const std::string& url);

// Test seam: OpenInBrowser hands the address to opener instead, until
// UseSystemBrowserOpener.
void SetBrowserOpenerForTests(std::function<void(const std::string& url)> opener);
void UseSystemBrowserOpener();

// The first executable file of that name in the ':'-separated folders, or "".
std::string FindProgramOnPath(const std::string& program, const std::string& path_list);

}  // namespace os
