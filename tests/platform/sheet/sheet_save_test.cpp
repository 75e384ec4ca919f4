// Where and how a save writes: through symbolic links, into hard-linked files, with
// the file's owner, mode, ACL and attributes, refusing read-only files, whole or not
// at all when the saving process is killed in the middle, beside the workbook when
// another program saved it meanwhile, on file systems that lack links or safe
// renames; and the lock files of office programs.
#include <gtest/gtest.h>
#include <poll.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <fcntl.h>

#include <fstream>

#include "platform/sheet/package.h"
#include "platform/sheet/sheet.h"
#include "support/xlsx_fixture.h"

namespace {

namespace fx = xlsx_fixture;
namespace fs = std::filesystem;
using sheet::Variant;

constexpr uid_t kNobody = 65534;

fx::Parts Parts() {
    return fx::Workbook(fx::SheetXml("<row r=\"2\"><c r=\"A2\"><v>100</v></c></row>", "A2"), fx::SharedStrings({}));
}

std::string ReadFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

struct stat StatOf(const fs::path& path) {
    struct stat st {};
    EXPECT_EQ(::stat(path.c_str(), &st), 0) << path;
    return st;
}

Variant Read(const fs::path& file, int row, int column) {
    sheet::Application app;
    return app.Workbooks().Open(file.string()).Worksheets().Item(1).Cells(row, column).Value();
}

// Opens the workbook, sets A2 and saves it under its own name.
void SetAndSave(const fs::path& file, double value) {
    sheet::Application app;
    sheet::Workbook& book = app.Workbooks().Open(file.string());
    book.Worksheets().Item(1).Cells(2, 1).SetValue(value);
    book.SaveAs(file.string());
}

// Runs the body in a child process as the unprivileged user "nobody"; its exit code.
int AsNobody(const std::function<int()>& body) {
    const pid_t child = fork();
    if (child == 0) {
        if (setgid(kNobody) != 0 || setuid(kNobody) != 0) _exit(90);
        int code = 91;
        try {
            code = body();
        } catch (...) {
        }
        _exit(code);
    }
    int status = 0;
    waitpid(child, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

class WorkbookSaves : public ::testing::Test {
protected:
    void SetUp() override { fx::Write(file, Parts()); }
    void TearDown() override { sheet::SetSaveTestHooks({}); }

    // The workbook written anew with the mode 0640, opened, and its A2 set to 5.
    sheet::Workbook& OpenChanged(sheet::Application& app) {
        fx::Write(file, Parts());
        ::chmod(file.c_str(), 0640);
        sheet::Workbook& book = app.Workbooks().Open(file.string());
        book.Worksheets().Item(1).Cells(2, 1).SetValue(5.0);
        return book;
    }

    std::vector<std::string> Names(const fs::path& path) const {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(path)) names.push_back(entry.path().filename());
        std::sort(names.begin(), names.end());
        return names;
    }

    fx::TempFolder folder;
    fs::path file = folder / "cases.xlsx";
};

TEST_F(WorkbookSaves, ALinkedWorkbookIsSavedIntoTheFileBehindTheLink) {
    fs::create_directory(folder / "real");
    const fs::path real = folder / "real" / "book.xlsx";
    fs::rename(file, real);
    fs::create_symlink("real/book.xlsx", file);
    ::chmod(real.c_str(), 0640);
    SetAndSave(file, 5);
    EXPECT_TRUE(fs::is_symlink(file)) << "the link stays a link";
    EXPECT_EQ(Read(real, 2, 1), Variant(5.0));
    EXPECT_EQ(StatOf(real).st_mode & 07777, 0640u);
    EXPECT_EQ(Names(folder.Path()), (std::vector<std::string>{"cases.xlsx", "real"}));
    EXPECT_EQ(Names(folder / "real"), std::vector<std::string>{"book.xlsx"});

    fs::remove(real);
    sheet::Application app;
    EXPECT_THROW(app.Workbooks().Open(file.string()), Exception);
}

TEST_F(WorkbookSaves, AHardLinkedWorkbookKeepsAllItsNames) {
    const fs::path other = folder / "other.xlsx";
    fs::create_hard_link(file, other);
    const ino_t inode = StatOf(file).st_ino;
    SetAndSave(file, 6);
    EXPECT_EQ(StatOf(file).st_ino, inode);
    EXPECT_EQ(StatOf(file).st_nlink, 2u);
    EXPECT_EQ(Read(other, 2, 1), Variant(6.0));
    EXPECT_EQ(ReadFile(other), ReadFile(file));
    // A smaller workbook leaves no old bytes at the end.
    sheet::Application app;
    sheet::Workbook& book = app.Workbooks().Open(file.string());
    book.Worksheets().Item(1).Cells(2, 1).SetValue(std::monostate{});
    book.SaveAs(file.string());
    EXPECT_EQ(Read(other, 2, 1), Variant(std::monostate{}));
    EXPECT_EQ(Names(folder.Path()), (std::vector<std::string>{"cases.xlsx", "other.xlsx"}));
}

TEST_F(WorkbookSaves, TheOwnerGroupAndModeStay) {
    if (geteuid() != 0) GTEST_SKIP() << "only root may give a file to another user";
    ASSERT_EQ(::chown(file.c_str(), kNobody, kNobody), 0);
    ASSERT_EQ(::chmod(file.c_str(), 0604), 0);
    SetAndSave(file, 7);
    const struct stat st = StatOf(file);
    EXPECT_EQ(st.st_uid, kNobody);
    EXPECT_EQ(st.st_gid, kNobody);
    EXPECT_EQ(st.st_mode & 07777, 0604u);
    EXPECT_EQ(Read(file, 2, 1), Variant(7.0));
    EXPECT_EQ(Names(folder.Path()), std::vector<std::string>{"cases.xlsx"});
}

TEST_F(WorkbookSaves, AWorkbookTheUserMayNotWriteIsRefused) {
    const std::string before = ReadFile(file);
    ::chmod(file.c_str(), 0444);
    {
        sheet::Application app;
        sheet::Workbook& book = app.Workbooks().Open(file.string());
        try {
            book.CheckSavable();
            ADD_FAILURE() << "a read-only workbook passed";
        } catch (const Exception& e) {
            EXPECT_EQ(e.Message(), "Cannot save the workbook \"" + file.string() + "\": it is read-only.");
        }
    }
    EXPECT_EQ(ReadFile(file), before);
    ::chmod(file.c_str(), 0644);
    sheet::Application app;
    EXPECT_NO_THROW(app.Workbooks().Open(file.string()).CheckSavable());

    if (geteuid() != 0) GTEST_SKIP() << "the rest needs another user";
    ASSERT_EQ(::chmod(folder.Path().c_str(), 0755), 0);
    // Root's file, writable for root only.
    const int code = AsNobody([&] {
        sheet::Application nobody;
        sheet::Workbook& book = nobody.Workbooks().Open(file.string());
        try {
            book.CheckSavable();
        } catch (const Exception& e) {
            return e.Message() == "Cannot save the workbook \"" + file.string() + "\": Permission denied." ? 0 : 2;
        }
        return 1;
    });
    EXPECT_EQ(code, 0);
}

TEST_F(WorkbookSaves, AFileInAFolderTheUserMayNotWriteIsWrittenInPlace) {
    if (geteuid() != 0) GTEST_SKIP() << "needs another user";
    ASSERT_EQ(::chmod(folder.Path().c_str(), 0755), 0);
    ASSERT_EQ(::chown(file.c_str(), kNobody, kNobody), 0);
    const ino_t inode = StatOf(file).st_ino;
    EXPECT_EQ(AsNobody([&] {
                  SetAndSave(file, 8);
                  return 0;
              }),
              0);
    EXPECT_EQ(StatOf(file).st_ino, inode);
    EXPECT_EQ(StatOf(file).st_uid, kNobody);
    EXPECT_EQ(Read(file, 2, 1), Variant(8.0));
    EXPECT_EQ(Names(folder.Path()), std::vector<std::string>{"cases.xlsx"});
}

// Starts a save of a changed workbook in a child process and kills it once half of the
// new workbook is written; the child's process id.
pid_t KillDuringSave(const fs::path& file, bool named_temporary) {
    int ready[2];
    if (pipe(ready) != 0) return -1;
    const pid_t child = fork();
    if (child == 0) {
        close(ready[0]);
        sheet::SaveTestHooks hooks;
        hooks.half_written = [&] {
            const char byte = 1;
            if (write(ready[1], &byte, 1) != 1) _exit(3);
            for (;;) pause();
        };
        hooks.named_temporary = named_temporary;
        sheet::SetSaveTestHooks(hooks);
        try {
            SetAndSave(file, 9);
        } catch (...) {
        }
        _exit(2);  // the hook never came
    }
    close(ready[1]);
    pollfd wait_for{ready[0], POLLIN, 0};
    const bool stopped = poll(&wait_for, 1, 20000) == 1;
    kill(child, SIGKILL);
    int status = 0;
    waitpid(child, &status, 0);
    close(ready[0]);
    EXPECT_TRUE(stopped) << "the save never reached its middle";
    EXPECT_TRUE(WIFSIGNALED(status));
    return child;
}

TEST_F(WorkbookSaves, AKillDuringTheSaveLeavesTheWorkbookWholeAndNoStrayFile) {
    const std::string before = ReadFile(file);
    KillDuringSave(file, false);
    EXPECT_EQ(ReadFile(file), before);
    EXPECT_EQ(Names(folder.Path()), std::vector<std::string>{"cases.xlsx"});
}

TEST_F(WorkbookSaves, TheNextSaveRemovesWhatAKilledSaveLeft) {
    const std::string before = ReadFile(file);
    // Where a file system gives temporary files no unnamed start, a kill leaves one.
    const pid_t killed = KillDuringSave(file, true);
    EXPECT_EQ(ReadFile(file), before);
    const std::vector<std::string> left = Names(folder.Path());
    ASSERT_EQ(left.size(), 2u);
    // ".cases.xlsx.zorv-<host and process space>-<process>-<count>.tmp"
    const std::string prefix = ".cases.xlsx.zorv-";
    ASSERT_EQ(left[0].rfind(prefix, 0), 0u) << left[0];
    const std::string space = left[0].substr(prefix.size(), 16);
    EXPECT_EQ(space.find_first_not_of("0123456789abcdef"), std::string::npos) << left[0];
    EXPECT_EQ(left[0].substr(prefix.size() + 16).rfind("-" + std::to_string(killed) + "-", 0), 0u) << left[0];
    EXPECT_EQ(left[1], "cases.xlsx");
    const std::string dead = std::to_string(killed);
    const std::string elsewhere = space == "0123456789abcdef" ? "fedcba9876543210" : "0123456789abcdef";
    const std::vector<std::string> staying = {
        ".cases.xlsx.tmp",                                        // someone else's
        prefix + elsewhere + "-" + dead + "-0.tmp",               // another host's save, which may be running
        prefix + dead + "-0.tmp",                                 // named without a host: not judged
        prefix + space + "-1-0.tmp",                              // a process that still runs
        prefix + space + "-" + dead + "-7.tmp",                   // a whole workbook that found no place
        prefix + space + "-99999999999999999999-0.tmp",           // no process id, nor a stop for the save
        ".other.xlsx.zorv-" + space + "-" + dead + "-0.tmp",      // another workbook's
        "cases.xlsx",
    };
    for (const std::string& name : staying)
        if (name != "cases.xlsx") std::ofstream(folder / name) << "busy";
    fx::Write(folder / staying[4], Parts());
    SetAndSave(file, 10);
    EXPECT_EQ(Read(file, 2, 1), Variant(10.0));
    std::vector<std::string> sorted = staying;
    std::sort(sorted.begin(), sorted.end());
    EXPECT_EQ(Names(folder.Path()), sorted);
}

// Another program saves the workbook while it is open here: what it saved stays, and
// the workbook as opened, with the cell set here, goes to a new file beside it.
TEST_F(WorkbookSaves, AnotherProgramsSaveMeanwhileStaysAndTheWorkbookGoesBeside) {
    const fs::path beside = folder / "cases (results).xlsx";
    const std::string theirs = fx::Bytes(fx::OpenpyxlShaped(
        fx::Workbook(fx::SheetXml("<row r=\"2\"><c r=\"A2\"><v>555</v></c></row>", "A2"), fx::SharedStrings({}),
                     fx::SheetXml("<row r=\"1\"><c r=\"A1\"><v>8</v></c></row>"))));
    // What the file holds after the other program, nothing when it is gone.
    using Writer = std::function<std::optional<std::string>()>;
    const auto same_size = [&] {
        std::string bytes = ReadFile(file);
        bytes[bytes.size() / 2] ^= 0x20;
        return bytes;
    };
    const auto same_size_and_time = [&]() -> std::optional<std::string> {
        const struct stat before = StatOf(file);
        const std::string bytes = same_size();
        fx::SaveInPlace(file, bytes);
        const timespec times[2] = {before.st_atim, before.st_mtim};
        EXPECT_EQ(::utimensat(AT_FDCWD, file.c_str(), times, 0), 0);
        EXPECT_EQ(StatOf(file).st_mtim.tv_nsec, before.st_mtim.tv_nsec);
        return bytes;
    };
    const struct {
        const char* what;
        Writer writer;
        std::string reason;
    } cases[] = {
        {"in place", [&] { fx::SaveInPlace(file, theirs); return std::optional(theirs); },
         "was changed by another program"},
        {"by rename", [&] { fx::SaveByRename(file, theirs); return std::optional(theirs); },
         "was replaced by another program"},
        {"in place, same size and time", same_size_and_time, "was changed by another program"},
        {"by rename, same size", [&] { fx::SaveByRename(file, same_size()); return std::optional(ReadFile(file)); },
         "was replaced by another program"},
        {"removed", [&] { fs::remove(file); return std::optional<std::string>(); },
         "was removed or renamed by another program"},
    };
    for (const auto& c : cases) {
        sheet::Application app;
        sheet::Workbook& book = OpenChanged(app);
        const std::optional<std::string> left = c.writer();
        EXPECT_EQ(book.SaveAs(file.string()), (sheet::SavedBeside{file.string(), beside.string(), c.reason})) << c.what;
        if (left) {
            EXPECT_EQ(ReadFile(file), *left) << c.what;
        } else {
            EXPECT_FALSE(fs::exists(file)) << c.what;
        }
        EXPECT_EQ(book.FullName(), beside.string()) << c.what;
        EXPECT_EQ(Read(beside, 2, 1), Variant(5.0)) << c.what;
        const fx::Parts saved = fx::Read(beside);
        for (const auto& [name, bytes] : Parts()) {
            if (name != "xl/worksheets/sheet1.xml" && name != "xl/workbook.xml") {
                EXPECT_EQ(fx::Part(saved, name), bytes) << c.what << ": " << name << " as opened";
            }
        }
        EXPECT_EQ(StatOf(beside).st_mode & 0777, 0640u) << c.what;
        std::vector<std::string> expected = {"cases (results).xlsx"};
        if (left) expected.push_back("cases.xlsx");
        EXPECT_EQ(Names(folder.Path()), expected) << c.what;
        fs::remove(beside);
    }
}

// What another program does without changing a byte sends nothing beside: a touch
// (a backup tool), a copy of the same bytes put in its place (as rsync and sync
// clients do), new permissions.
TEST_F(WorkbookSaves, AFileOnlyTouchedOrReplacedByTheSameBytesIsSavedAsUsual) {
    const auto copied_in = [&] {
        const fs::path copy = folder / ".cases.xlsx.sync";
        fs::copy_file(file, copy);
        const struct stat before = StatOf(file);
        const timespec times[2] = {before.st_atim, before.st_mtim};
        EXPECT_EQ(::utimensat(AT_FDCWD, copy.c_str(), times, 0), 0);
        fs::rename(copy, file);
    };
    const struct {
        const char* what;
        std::function<void()> other_program;
        mode_t mode;
    } cases[] = {
        {"touched", [&] {
             const timespec times[2] = {{0, UTIME_OMIT}, {1600000000, 0}};
             EXPECT_EQ(::utimensat(AT_FDCWD, file.c_str(), times, 0), 0);
         }, 0640},
        {"replaced by a copy", copied_in, 0640},
        {"given new permissions", [&] { ::chmod(file.c_str(), 0660); }, 0660},
    };
    for (const auto& c : cases) {
        sheet::Application app;
        sheet::Workbook& book = OpenChanged(app);
        c.other_program();
        EXPECT_EQ(book.SaveAs(file.string()), std::nullopt) << c.what;
        EXPECT_EQ(book.FullName(), file.string()) << c.what;
        EXPECT_EQ(Read(file, 2, 1), Variant(5.0)) << c.what;
        EXPECT_EQ(StatOf(file).st_mode & 07777, c.mode) << c.what;
        EXPECT_EQ(Names(folder.Path()), std::vector<std::string>{"cases.xlsx"}) << c.what;
    }
}

// Network and user-space file systems (sshfs without its hard-link extension, gvfs)
// answer a hard link with EPERM and a rename that must not replace with EINVAL.
sheet::SaveTestHooks LikeAShareWithoutLinks(int exclusive_write = 0) {
    sheet::SaveTestHooks hooks;
    hooks.failure = [=](sheet::SaveStep step) {
        switch (step) {
            case sheet::SaveStep::Link: return EPERM;
            case sheet::SaveStep::RenameNoReplace: return EINVAL;
            case sheet::SaveStep::CreateExclusive: return exclusive_write;
            default: return 0;
        }
    };
    return hooks;
}

const std::string kTheirs = fx::Bytes(fx::Workbook(fx::SheetXml("<row r=\"2\"><c r=\"A2\"><v>555</v></c></row>", "A2"),
                                                   fx::SharedStrings({})));

TEST_F(WorkbookSaves, OnAShareWithoutLinksTheWorkbookStillGoesBesideWithoutReplacingAFile) {
    const std::string someone = "someone's results";
    std::ofstream(folder / "cases (results).xlsx") << someone;
    sheet::SetSaveTestHooks(LikeAShareWithoutLinks());
    sheet::Application app;
    sheet::Workbook& book = OpenChanged(app);
    fx::SaveInPlace(file, kTheirs);
    const fs::path beside = folder / "cases (results 2).xlsx";
    EXPECT_EQ(book.SaveAs(file.string()),
              (sheet::SavedBeside{file.string(), beside.string(), "was changed by another program"}));
    EXPECT_EQ(Read(beside, 2, 1), Variant(5.0));
    EXPECT_EQ(StatOf(beside).st_mode & 07777, 0640u);
    EXPECT_EQ(ReadFile(folder / "cases (results).xlsx"), someone);
    EXPECT_EQ(ReadFile(file), kTheirs);
    EXPECT_EQ(Names(folder.Path()),
              (std::vector<std::string>{"cases (results 2).xlsx", "cases (results).xlsx", "cases.xlsx"}));
    // The next save there is a save as usual.
    book.Worksheets().Item(1).Cells(2, 1).SetValue(6.0);
    EXPECT_EQ(book.SaveAs(beside.string()), std::nullopt);
    EXPECT_EQ(Read(beside, 2, 1), Variant(6.0));
}

// A workbook that cannot be replaced (a file mounted on its own answers a rename with
// EBUSY) is written over in place.
TEST_F(WorkbookSaves, AWorkbookThatCannotBeReplacedIsWrittenOverInPlace) {
    sheet::SaveTestHooks hooks;
    hooks.failure = [](sheet::SaveStep step) { return step == sheet::SaveStep::Rename ? EBUSY : 0; };
    sheet::SetSaveTestHooks(hooks);
    const ino_t inode = StatOf(file).st_ino;
    SetAndSave(file, 5);
    EXPECT_EQ(StatOf(file).st_ino, inode);
    EXPECT_EQ(Read(file, 2, 1), Variant(5.0));
    EXPECT_EQ(Names(folder.Path()), std::vector<std::string>{"cases.xlsx"});
}

// When no way places the saved workbook, the complete temporary file stays where it
// was written and the message names it: nothing of what was saved is lost.
TEST_F(WorkbookSaves, ASaveThatFindsNoPlaceKeepsItsFileAndNamesIt) {
    sheet::SaveTestHooks nowhere;
    nowhere.failure = [](sheet::SaveStep step) {
        return step == sheet::SaveStep::Rename ? EBUSY : step == sheet::SaveStep::WriteInPlace ? EIO : 0;
    };
    sheet::SaveTestHooks no_rename;
    no_rename.failure = [](sheet::SaveStep step) { return step == sheet::SaveStep::Rename ? EIO : 0; };
    const std::string beside = (folder / "cases (results).xlsx").string();
    const std::string copy = (folder / "copy.xlsx").string();
    const struct {
        const char* what;
        sheet::SaveTestHooks hooks;
        std::function<void()> other_program;
        std::string target;
        std::string message;  // before the kept file's name
    } cases[] = {
        {"beside, on a full share", LikeAShareWithoutLinks(ENOSPC), [&] { fx::SaveInPlace(file, kTheirs); },
         file.string(),
         "The workbook \"" + file.string() + "\" was changed by another program since it was opened and is left as "
         "it is; it cannot be saved beside it: Cannot save the workbook \"" + beside +
         "\": No space left on device. The saved workbook is kept in \""},
        {"in place", nowhere, [] {}, file.string(),
         "Cannot save the workbook \"" + file.string() + "\": Input/output error. The saved workbook is kept in \""},
        {"under a new name", no_rename, [] {}, copy,
         "Cannot save the workbook \"" + copy + "\": Input/output error. The saved workbook is kept in \""},
    };
    for (const auto& c : cases) {
        sheet::Application app;
        sheet::Workbook& book = OpenChanged(app);
        c.other_program();
        const std::string left = ReadFile(file);
        sheet::SetSaveTestHooks(c.hooks);
        std::string message;
        try {
            book.SaveAs(c.target);
            ADD_FAILURE() << c.what << ": saved";
        } catch (const Exception& e) {
            message = e.Message();
        }
        sheet::SetSaveTestHooks({});
        const std::vector<std::string> names = Names(folder.Path());
        ASSERT_EQ(names.size(), 2u) << c.what;
        const fs::path kept = folder / names[0];
        EXPECT_EQ(message, c.message + kept.string() + "\"; give it a name ending in .xlsx to open it.") << c.what;
        EXPECT_EQ(Read(kept, 2, 1), Variant(5.0)) << c.what;
        EXPECT_EQ(ReadFile(file), left) << c.what;
        // A later save leaves it for the user.
        SetAndSave(file, 6);
        EXPECT_TRUE(fs::exists(kept)) << c.what;
        fs::remove(kept);
    }
}

TEST_F(WorkbookSaves, AWorkbookGoingBesideTakesANameNotYetTakenAndSavesAgainThere) {
    const std::string someone = "someone's results";
    std::ofstream(folder / "cases (results).xlsx") << someone;
    sheet::Application app;
    sheet::Workbook& book = app.Workbooks().Open(file.string());
    book.Worksheets().Item(1).Cells(2, 1).SetValue(5.0);
    fx::SaveInPlace(file, fx::Bytes(fx::Workbook(fx::SheetXml("<row r=\"2\"><c r=\"A2\"><v>555</v></c></row>", "A2"),
                                                 fx::SharedStrings({}))));
    const std::optional<sheet::SavedBeside> beside = book.SaveAs(file.string());
    ASSERT_TRUE(beside);
    EXPECT_EQ(beside->Written, (folder / "cases (results 2).xlsx").string());
    EXPECT_EQ(ReadFile(folder / "cases (results).xlsx"), someone);
    // Its next save goes to the file it went to, which nobody else wrote.
    book.Worksheets().Item(1).Cells(2, 1).SetValue(6.0);
    EXPECT_EQ(book.SaveAs(beside->Written), std::nullopt);
    EXPECT_EQ(Read(beside->Written, 2, 1), Variant(6.0));
    EXPECT_EQ(Names(folder.Path()),
              (std::vector<std::string>{"cases (results 2).xlsx", "cases (results).xlsx", "cases.xlsx"}));
}

TEST_F(WorkbookSaves, WhatAnotherProgramWritesAfterTheOpenNeverGetsIn) {
    sheet::Application app;
    sheet::Workbook& book = app.Workbooks().Open(file.string());
    // Rewritten in place before any part is read here.
    fx::SaveInPlace(file, fx::Bytes(fx::Workbook(fx::SheetXml("<row r=\"2\"><c r=\"A2\"><v>555</v></c></row>", "A2"),
                                                 fx::SharedStrings({}))));
    EXPECT_EQ(book.Worksheets().Item(1).Cells(2, 1).Value(), Variant(100.0));
    EXPECT_EQ(book.Worksheets().Item(2).Cells(1, 1).Value(), Variant(7.0));
}

// A POSIX access ACL as the kernel keeps it in "system.posix_acl_access": a version,
// then (tag, permissions, id) entries in the order of their tags.
std::string Acl(const std::vector<std::tuple<std::uint16_t, std::uint16_t, std::uint32_t>>& entries) {
    std::string bytes;
    const auto put = [&](std::uint32_t value, int size) {
        for (int i = 0; i < size; ++i) bytes += static_cast<char>((value >> (8 * i)) & 0xFF);
    };
    put(2, 4);
    for (const auto& [tag, permissions, id] : entries) {
        put(tag, 2);
        put(permissions, 2);
        put(id, 4);
    }
    return bytes;
}
constexpr std::uint32_t kNoId = 0xFFFFFFFF;
constexpr std::uint16_t kOwner = 0x01, kUser = 0x02, kGroup = 0x04, kMask = 0x10, kOther = 0x20;
const char* const kAcl = "system.posix_acl_access";

std::optional<std::string> Attribute(const fs::path& file, const char* name) {
    char value[1024];
    const ssize_t size = ::getxattr(file.c_str(), name, value, sizeof value);
    if (size < 0) return std::nullopt;
    return std::string(value, static_cast<size_t>(size));
}

// The workbook's ACL (the user "nobody" may write it; the group may only read) and a
// note of the user's own: a save keeps them, and the group gets no more rights.
TEST_F(WorkbookSaves, TheAclAndTheUsersAttributesStay) {
    const std::string acl = Acl({{kOwner, 6, kNoId}, {kUser, 6, kNobody}, {kGroup, 4, kNoId}, {kMask, 6, kNoId},
                                 {kOther, 4, kNoId}});
    const std::string note = "checked by R.";
    const auto mark = [&] {
        fx::Write(file, Parts());
        ::chmod(file.c_str(), 0644);
        return ::setxattr(file.c_str(), kAcl, acl.data(), acl.size(), 0) == 0 &&
               ::setxattr(file.c_str(), "user.note", note.data(), note.size(), 0) == 0;
    };
    if (!mark()) GTEST_SKIP() << "the file system of " << folder.Path() << " keeps no ACL or user attributes";
    const mode_t mode = StatOf(file).st_mode & 07777;  // 0664: the group bits show the mask
    const struct {
        const char* what;
        sheet::SaveStep failing;
        bool replaced;
    } cases[] = {
        {"carried to the replacement", sheet::SaveStep::Link, true},
        // Where they cannot be carried over, the file is written over in place.
        {"kept in place", sheet::SaveStep::CopyAttributes, false},
    };
    for (const auto& c : cases) {
        ASSERT_TRUE(mark());
        sheet::SaveTestHooks hooks;
        hooks.failure = [&](sheet::SaveStep step) { return step == c.failing ? EPERM : 0; };
        sheet::SetSaveTestHooks(hooks);
        const ino_t inode = StatOf(file).st_ino;
        SetAndSave(file, 5);
        EXPECT_EQ(StatOf(file).st_ino != inode, c.replaced) << c.what;
        EXPECT_EQ(Read(file, 2, 1), Variant(5.0)) << c.what;
        EXPECT_EQ(Attribute(file, kAcl), acl) << c.what;
        EXPECT_EQ(Attribute(file, "user.note"), note) << c.what;
        EXPECT_EQ(StatOf(file).st_mode & 07777, mode) << c.what;
        EXPECT_EQ(Names(folder.Path()), std::vector<std::string>{"cases.xlsx"}) << c.what;
    }
}

// A workbook without an ACL gets none from its folder's default ACL at a save.
TEST_F(WorkbookSaves, AWorkbookWithoutAnAclGetsNoneFromItsFolder) {
    const std::string wide = Acl({{kOwner, 7, kNoId}, {kUser, 7, kNobody}, {kGroup, 7, kNoId}, {kMask, 7, kNoId},
                                  {kOther, 5, kNoId}});
    if (::setxattr(folder.Path().c_str(), "system.posix_acl_default", wide.data(), wide.size(), 0) != 0)
        GTEST_SKIP() << "the file system of " << folder.Path() << " keeps no ACL";
    ::chmod(file.c_str(), 0640);
    SetAndSave(file, 5);
    EXPECT_EQ(Attribute(file, kAcl), std::nullopt);
    EXPECT_EQ(StatOf(file).st_mode & 07777, 0640u);
    EXPECT_EQ(Read(file, 2, 1), Variant(5.0));
}

TEST_F(WorkbookSaves, LockFilesOfOfficePrograms) {
    EXPECT_EQ(sheet::OfficeLockFile(file.string()), std::nullopt);
    std::ofstream(folder / ".~lock.other.xlsx#") << "another workbook's";
    std::ofstream(folder / "~$other.xlsx") << "another workbook's";
    EXPECT_EQ(sheet::OfficeLockFile(file.string()), std::nullopt);
    for (const std::string lock : {".~lock.cases.xlsx#", "~$cases.xlsx"}) {
        std::ofstream(folder / lock) << "x";
        EXPECT_EQ(sheet::OfficeLockFile(file.string()), (folder / lock).string());
        fs::remove(folder / lock);
    }
    // Through a link, beside the file behind it too.
    fs::create_directory(folder / "real");
    fs::rename(file, folder / "real" / "book.xlsx");
    fs::create_symlink("real/book.xlsx", file);
    const fs::path lock = fx::WriteLibreOfficeLock(folder / "real" / "book.xlsx");
    EXPECT_EQ(sheet::OfficeLockFile(file.string()), lock.string());
}

}  // namespace
