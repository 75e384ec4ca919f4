#pragma once
// Real user locales for tests: compiles glibc locales from the system's
// locale sources into a folder of the build tree (ZORV_TEST_CACHE_DIR, kept for
// later runs and gone with the build) and points LOCPATH and the locale variables
// at them for the life of the object; the previous environment comes back afterwards. available() is
// false when the locale sources or localedef are missing.
#include <gnu/libc-version.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace test_support {

class LocaleEnvironment {
public:
    // Locale names as "de_DE.UTF-8"; each is compiled on first use.
    explicit LocaleEnvironment(const std::vector<std::string>& locales) {
        for (const char* name : {"LOCPATH", "LC_ALL", "LC_NUMERIC", "LC_TIME", "LANG"}) {
            const char* value = std::getenv(name);
            saved_[name] = value ? std::optional<std::string>(value) : std::nullopt;
            unsetenv(name);
        }
        available_ = true;
        for (const auto& locale : locales) available_ = available_ && Compile(locale);
        setenv("LOCPATH", Folder().c_str(), 1);
    }

    ~LocaleEnvironment() {
        for (const auto& [name, value] : saved_) {
            if (value) {
                setenv(name.c_str(), value->c_str(), 1);
            } else {
                unsetenv(name.c_str());
            }
        }
    }

    LocaleEnvironment(const LocaleEnvironment&) = delete;
    LocaleEnvironment& operator=(const LocaleEnvironment&) = delete;

    bool available() const { return available_; }

    void Set(const char* name, const std::string& value) { setenv(name, value.c_str(), 1); }
    void Unset(const char* name) { unsetenv(name); }

private:
    // Shared by the test processes of one user and C library version; each
    // locale is compiled aside and moved into place, so parallel tests agree.
    static const std::string& Folder() {
        static const std::string folder = [] {
            auto path = std::filesystem::path(ZORV_TEST_CACHE_DIR) /
                        ("locales-" + std::to_string(getuid()) + "-" + gnu_get_libc_version());
            std::filesystem::create_directories(path);
            return path.string();
        }();
        return folder;
    }

    static bool Complete(const std::filesystem::path& folder) {
        return std::filesystem::exists(folder / "LC_NUMERIC") &&
               std::filesystem::exists(folder / "LC_TIME");
    }

    static bool Compile(const std::string& locale) {
        auto target = std::filesystem::path(Folder()) / locale;
        if (Complete(target)) return true;
        auto dot = locale.find('.');
        if (dot == std::string::npos) return false;
        auto aside = std::filesystem::path(Folder()) /
                     (locale + ".part-" + std::to_string(getpid()));
        std::string command = "localedef -i " + locale.substr(0, dot) + " -f " +
                              locale.substr(dot + 1) + " " + aside.string() + " >/dev/null 2>&1";
        (void)std::system(command.c_str());
        std::error_code error;
        if (Complete(aside)) std::filesystem::rename(aside, target, error);
        std::filesystem::remove_all(aside, error);
        return Complete(target);
    }

    std::map<std::string, std::optional<std::string>> saved_;
    bool available_ = false;
};

}  // namespace test_support
