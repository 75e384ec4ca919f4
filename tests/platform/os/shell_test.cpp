// The shell's open of a web address: xdg-open found on PATH and started with the
// address as its one argument, never through a shell; clear messages when it cannot.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>

#include "platform/os/shell.h"
#include "platform/text/exception.h"
#include "support/scoped_environment.h"
#include "wait_until.h"

namespace {

namespace fs = std::filesystem;

using testing_support::ScopedEnvironment;

class Shell : public ::testing::Test {
protected:
    void SetUp() override {
        std::string pattern = (fs::temp_directory_path() / "zorv-shell-XXXXXX").string();
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        folder = pattern;
    }
    void TearDown() override { fs::remove_all(folder); }

    void WriteProgram(const fs::path& path, const std::string& text, fs::perms perms) {
        fs::create_directories(path.parent_path());
        std::ofstream(path) << text;
        fs::permissions(path, perms);
    }

    std::string Message(const std::string& url) {
        try {
            os::OpenInBrowser(url);
        } catch (const Exception& e) {
            return e.Message();
        }
        return "opened";
    }

    fs::path folder;
};

TEST_F(Shell, FindsTheFirstExecutableProgramOnThePath) {
    const auto exec = fs::perms::owner_all;
    WriteProgram(folder / "a" / "xdg-open", "", fs::perms::owner_read);  // not executable
    WriteProgram(folder / "b" / "xdg-open", "", exec);
    WriteProgram(folder / "c" / "xdg-open", "", exec);
    fs::create_directories(folder / "d" / "xdg-open");  // a folder of that name
    const std::string a = (folder / "a").string(), b = (folder / "b").string(), c = (folder / "c").string(),
                      d = (folder / "d").string(), none = (folder / "none").string();
    EXPECT_EQ(os::FindProgramOnPath("xdg-open", a + ":" + d + ":" + c + ":" + b), c + "/xdg-open");
    EXPECT_EQ(os::FindProgramOnPath("xdg-open", none + "::" + b), b + "/xdg-open");
    EXPECT_EQ(os::FindProgramOnPath("xdg-open", a + ":" + d + ":" + none), "");
    EXPECT_EQ(os::FindProgramOnPath("xdg-open", ""), "");
}

TEST_F(Shell, TheAddressReachesXdgOpenAsItsOneArgument) {
    const fs::path out = folder / "args.txt";
    WriteProgram(folder / "bin" / "xdg-open",
                 "#!/bin/sh\nprintf '%s\\n' \"$#\" \"$@\" > \"$ZORV_SHELL_OUT.tmp\" && mv \"$ZORV_SHELL_OUT.tmp\" "
                 "\"$ZORV_SHELL_OUT\"\n",
                 fs::perms::owner_all);
    ScopedEnvironment path("PATH", (folder / "bin").string() + ":/usr/bin:/bin");
    ScopedEnvironment target("ZORV_SHELL_OUT", out.string());
    // The markers name this test's own folder: a shell that ran the address would
    // make them there, whatever folder the test runs in.
    const fs::path dollar = folder / "dollar", backtick = folder / "backtick";
    const std::string url = "localhost/Reports/a b/it's;$(touch " + dollar.string() + ")`touch " +
                            backtick.string() + "` & \"q\"";
    os::OpenInBrowser(url);
    ASSERT_TRUE(WaitUntil([&] { return fs::exists(out); }));
    std::ifstream in(out);
    const std::string text((std::istreambuf_iterator<char>(in)), {});
    EXPECT_EQ(text, "1\nhttp://" + url + "\n") << "one argument, taken as a web address";
    EXPECT_FALSE(fs::exists(dollar));
    EXPECT_FALSE(fs::exists(backtick));
}

TEST_F(Shell, SaysWhyItCannotOpen) {
    WriteProgram(folder / "broken" / "xdg-open", "#!/nonexistent/interpreter\n", fs::perms::owner_all);
    {
        ScopedEnvironment path("PATH", (folder / "none").string());
        EXPECT_EQ(Message("http://example.org/"),
                  "Cannot open \"http://example.org/\" in the web browser: the program xdg-open was not found (it "
                  "comes with the package xdg-utils).");
    }
    {
        ScopedEnvironment path("PATH", (folder / "broken").string());
        EXPECT_EQ(Message("a"), "Cannot open \"http://a\" in the web browser: " + (folder / "broken").string() +
                                    "/xdg-open: No such file or directory.");
    }
    EXPECT_EQ(Message(""), "Cannot open \"\" in the web browser: the address is empty.");
    EXPECT_EQ(Message("--help"), "Cannot open \"--help\" in the web browser: an address cannot begin with \"-\".");
}

TEST_F(Shell, TheTestOpenerTakesEveryAddressInstead) {
    std::vector<std::string> opened;
    os::SetBrowserOpenerForTests([&](const std::string& url) { opened.push_back(url); });
    ScopedEnvironment path("PATH", (folder / "none").string());
    os::OpenInBrowser("localhost/");
    os::OpenInBrowser("");
    os::UseSystemBrowserOpener();
    EXPECT_EQ(opened, (std::vector<std::string>{"localhost/", ""}));
    EXPECT_NE(Message("localhost/"), "opened");
}

}  // namespace

TEST(BrowserAddress, AnAddressWithoutSchemeIsAWebAddress) {
    struct Case {
        const char* url;
        const char* address;
    };
    const Case cases[] = {
        {"localhost/Reports/abc/my_zorv.txt", "http://localhost/Reports/abc/my_zorv.txt"},
        {"https://www.zorv.example/", "https://www.zorv.example/"},
        {"http://localhost:8080/x", "http://localhost:8080/x"},
        {"host/path?next=http://other/", "http://host/path?next=http://other/"},
    };
    for (const Case& c : cases) EXPECT_EQ(os::BrowserAddress(c.url), c.address) << c.url;
}
