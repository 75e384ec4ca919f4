// Where and how a save writes: through symbolic links, into hard-linked files, with
// the file's owner, mode, ACL and attributes, refusing read-only files, whole or not
// at all when the saving process is killed in the middle, beside the workbook when
// another program saved it meanwhile, on file systems that lack links or safe
// renames; and the lock files of office programs.
#include <gtest/gtest.h>
#include <linux/filter.h>
#include <linux/seccomp.h>
#include <poll.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/syscall.h>
#include <sys/stat.h>
#include <grp.h>
#include <sys/wait.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <fcntl.h>

#include <cstddef>
#include <cstring>
#include <fstream>

#include "platform/sheet/cell_text.h"
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

// Opens the workbook, sets A2, and the cells of row 4 from column 2 on to as many
// numbers as grow says (which makes it larger), and saves it under its own name.
sheet::SaveOutcome SetAndSave(const fs::path& file, double value, int grow = 0) {
    sheet::Application app;
    sheet::Workbook& book = app.Workbooks().Open(file.string());
    sheet::Worksheet& cases = book.Worksheets().Item(1);
    cases.Cells(2, 1).SetValue(value);
    for (int column = 2; column < 2 + grow; ++column) cases.Cells(4, column).SetValue(column * 7.25);
    return book.SaveAs(file.string());
}

// A workbook of some pages, as saved workbooks of design cases are.
fx::Parts LargeParts() {
    std::string row;
    for (int column = 1; column <= 800; ++column)
        row += "<c r=\"" + sheet::ColumnLetters(column) + "3\"><v>" + std::to_string(column * 7919 % 100003) + "</v></c>";
    return fx::Workbook(fx::SheetXml("<row r=\"2\"><c r=\"A2\"><v>100</v></c></row><row r=\"3\">" + row + "</row>",
                                     "A2:ADT3"),
                        fx::SharedStrings({}));
}

// Runs the body in a child process, as the user and group given unless they are
// -1; its exit code.
int InChild(const std::function<int()>& body, uid_t user = static_cast<uid_t>(-1),
            gid_t group = static_cast<gid_t>(-1)) {
    const pid_t child = fork();
    if (child == 0) {
        if (group != static_cast<gid_t>(-1) && (setgroups(0, nullptr) != 0 || setgid(group) != 0)) _exit(90);
        if (user != static_cast<uid_t>(-1) && setuid(user) != 0) _exit(90);
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

// Runs the body in a child process as the unprivileged user "nobody".
int AsNobody(const std::function<int()>& body) { return InChild(body, kNobody, kNobody); }

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

// Starts a save of a changed (and larger) workbook in a child process, with the hooks
// given, and kills it once the write of the step given is half done; the child's
// process id.
pid_t KillDuringSave(const fs::path& file, sheet::SaveStep at, sheet::SaveTestHooks hooks = {}) {
    int ready[2];
    if (pipe(ready) != 0) return -1;
    const pid_t child = fork();
    if (child == 0) {
        close(ready[0]);
        hooks.half_written = [&](sheet::SaveStep step) {
            if (step != at) return;
            const char byte = 1;
            if (write(ready[1], &byte, 1) != 1) _exit(3);
            for (;;) pause();
        };
        sheet::SetSaveTestHooks(hooks);
        try {
            SetAndSave(file, 9, 300);
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

sheet::SaveTestHooks NamedTemporaries() {
    sheet::SaveTestHooks hooks;
    hooks.named_temporary = true;
    return hooks;
}

TEST_F(WorkbookSaves, AKillDuringTheSaveLeavesTheWorkbookWholeAndNoStrayFile) {
    const std::string before = ReadFile(file);
    KillDuringSave(file, sheet::SaveStep::WriteTemporary);
    EXPECT_EQ(ReadFile(file), before);
    EXPECT_EQ(Names(folder.Path()), std::vector<std::string>{"cases.xlsx"});
}

TEST_F(WorkbookSaves, TheNextSaveTidiesWhatAKilledSaveLeft) {
    const std::string before = ReadFile(file);
    // Where a file system gives temporary files no unnamed start, a kill leaves one.
    const pid_t killed = KillDuringSave(file, sheet::SaveStep::WriteTemporary, NamedTemporaries());
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
        prefix + space + "-99999999999999999999-0.tmp",           // no process id, nor a stop for the save
        ".other.xlsx.zorv-" + space + "-" + dead + "-0.tmp",      // another workbook's
        "cases.xlsx",
    };
    for (const std::string& name : staying)
        if (name != "cases.xlsx") std::ofstream(folder / name) << "busy";
    // A whole workbook that a save killed before it placed it left: it is given a
    // visible name, and the save says so.
    const fs::path whole = folder / (prefix + space + "-" + dead + "-7.tmp");
    fx::Write(whole, Parts());
    ::chmod(whole.c_str(), 0640);
    const fs::path recovered = folder / "cases (saved copy).xlsx";
    EXPECT_EQ(SetAndSave(file, 10).Notice, "A save of \"" + file.string() + "\" that was cut off earlier left the "
                                           "workbook it was saving; it is kept in \"" + recovered.string() + "\".");
    EXPECT_EQ(Read(file, 2, 1), Variant(10.0));
    EXPECT_EQ(Read(recovered, 2, 1), Variant(100.0));
    EXPECT_EQ(StatOf(recovered).st_mode & 0777, 0640u);
    std::vector<std::string> sorted = staying;
    sorted.push_back(recovered.filename());
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
        EXPECT_EQ(book.SaveAs(file.string()).Beside, (sheet::SavedBeside{file.string(), beside.string(), c.reason})) << c.what;
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
        EXPECT_EQ(book.SaveAs(file.string()).Beside, std::nullopt) << c.what;
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
    EXPECT_EQ(book.SaveAs(file.string()).Beside,
              (sheet::SavedBeside{file.string(), beside.string(), "was changed by another program"}));
    EXPECT_EQ(Read(beside, 2, 1), Variant(5.0));
    EXPECT_EQ(StatOf(beside).st_mode & 07777, 0640u);
    EXPECT_EQ(ReadFile(folder / "cases (results).xlsx"), someone);
    EXPECT_EQ(ReadFile(file), kTheirs);
    EXPECT_EQ(Names(folder.Path()),
              (std::vector<std::string>{"cases (results 2).xlsx", "cases (results).xlsx", "cases.xlsx"}));
    // The next save there is a save as usual.
    book.Worksheets().Item(1).Cells(2, 1).SetValue(6.0);
    EXPECT_EQ(book.SaveAs(beside.string()).Beside, std::nullopt);
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

// When no way places the saved workbook, it is kept complete in a file that the
// message names: under a visible name where the folder takes one, else the temporary
// file where it was written.
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
        std::string kept;     // empty: the temporary file, the one other name in the folder
        std::string message;  // before the kept file's name, and after it
        std::string end;
    } cases[] = {
        {"beside, on a full share", LikeAShareWithoutLinks(ENOSPC), [&] { fx::SaveInPlace(file, kTheirs); },
         file.string(), "",
         "The workbook \"" + file.string() + "\" was changed by another program since it was opened and is left as "
         "it is; it cannot be saved beside it: Cannot save the workbook \"" + beside +
         "\": No space left on device. The saved workbook is kept in \"",
         "\"; give it a name ending in .xlsx to open it."},
        {"in place", nowhere, [] {}, file.string(), (folder / "cases (saved copy).xlsx").string(),
         "Cannot save the workbook \"" + file.string() + "\": Input/output error. The workbook is as it was; the "
         "saved workbook is kept in \"", "\"."},
        {"under a new name", no_rename, [] {}, copy, (folder / "copy (saved copy).xlsx").string(),
         "Cannot save the workbook \"" + copy + "\": Input/output error. The saved workbook is kept in \"", "\"."},
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
        const fs::path kept = c.kept.empty() ? folder / names[0] : fs::path(c.kept);
        if (c.kept.empty()) {
            EXPECT_EQ(names[0][0], '.') << c.what;
        }
        EXPECT_EQ(message, c.message + kept.string() + c.end) << c.what;
        EXPECT_EQ(Read(kept, 2, 1), Variant(5.0)) << c.what;
        EXPECT_EQ(ReadFile(file), left) << c.what;
        // A later save leaves it for the user.
        SetAndSave(file, 6);
        EXPECT_TRUE(fs::exists(kept)) << c.what;
        fs::remove(kept);
    }
}

// The roads that write a workbook over in place, as the tests' hooks make them.
struct InPlaceRoad {
    const char* what;
    bool second_name;  // a hard link "other.xlsx"
    sheet::SaveTestHooks hooks;
};

std::vector<InPlaceRoad> InPlaceRoads() {
    const auto refusing_rename = [](sheet::SaveTestHooks hooks) {
        const std::function<int(sheet::SaveStep)> before = hooks.failure;
        hooks.failure = [before](sheet::SaveStep step) {
            if (step == sheet::SaveStep::Rename) return EBUSY;
            return before ? before(step) : 0;
        };
        return hooks;
    };
    return {
        {"a workbook with a second name", true, {}},
        {"a workbook that refuses a rename over it", false, refusing_rename({})},
        {"the same, where temporary files are named from the start", false, refusing_rename(NamedTemporaries())},
        {"the same on a share without links", false, refusing_rename(LikeAShareWithoutLinks())},
    };
}

// With the failure of the step given added to the road's.
sheet::SaveTestHooks Failing(sheet::SaveTestHooks hooks, sheet::SaveStep failing, int code) {
    const std::function<int(sheet::SaveStep)> before = hooks.failure;
    hooks.failure = [=](sheet::SaveStep step) {
        if (step == failing) return code;
        return before ? before(step) : 0;
    };
    return hooks;
}

std::string SaveMessage(const fs::path& file, double value, int grow) {
    try {
        SetAndSave(file, value, grow);
    } catch (const Exception& e) {
        return e.Message();
    }
    return "saved";
}

// A file system without space reservation (NFS before 4.2, sshfs and other
// user-space mounts) answers it with EOPNOTSUPP or ENOSYS: a workbook of some
// pages with a second name, growing, is saved all the same.
TEST_F(WorkbookSaves, AWorkbookIsWrittenOverInPlaceWhereTheFileSystemHasNoReservation) {
    const fs::path other = folder / "other.xlsx";
    for (const int answer : {EOPNOTSUPP, ENOSYS}) {
        fx::Write(file, LargeParts());
        fs::remove(other);
        fs::create_hard_link(file, other);
        const std::uintmax_t before = fs::file_size(file);
        ASSERT_GT(before, 8192u);
        int asked = 0;
        sheet::SaveTestHooks hooks;
        hooks.failure = [&](sheet::SaveStep step) {
            if (step != sheet::SaveStep::Reserve) return 0;
            ++asked;
            return answer;
        };
        sheet::SetSaveTestHooks(hooks);
        EXPECT_EQ(SaveMessage(file, 5, 300), "saved") << answer;
        sheet::SetSaveTestHooks({});
        EXPECT_EQ(asked, 1) << answer;
        EXPECT_GT(fs::file_size(file), before) << answer;
        EXPECT_EQ(Read(other, 2, 1), Variant(5.0)) << answer;
        EXPECT_EQ(Read(other, 4, 301), Variant(301 * 7.25)) << answer;
        EXPECT_EQ(Read(other, 3, 800), Variant(35011.0)) << answer << ": 800 * 7919 mod 100003, as it was";
        EXPECT_EQ(StatOf(file).st_nlink, 2u) << answer;
        EXPECT_EQ(Names(folder.Path()), (std::vector<std::string>{"cases.xlsx", "other.xlsx"})) << answer;
    }
}

// Makes the fallocate system call of this process answer EOPNOTSUPP, as the file
// systems without reservations do; false where the kernel filters no system calls.
bool WithoutReservations() {
    sock_filter filter[] = {
        BPF_STMT(BPF_LD | BPF_W | BPF_ABS, offsetof(seccomp_data, nr)),
        BPF_JUMP(BPF_JMP | BPF_JEQ | BPF_K, SYS_fallocate, 0, 1),
        BPF_STMT(BPF_RET | BPF_K, SECCOMP_RET_ERRNO | (EOPNOTSUPP & SECCOMP_RET_DATA)),
        BPF_STMT(BPF_RET | BPF_K, SECCOMP_RET_ALLOW),
    };
    sock_fprog program{static_cast<unsigned short>(sizeof filter / sizeof filter[0]), filter};
    return prctl(PR_SET_NO_NEW_PRIVS, 1, 0, 0, 0) == 0 && prctl(PR_SET_SECCOMP, SECCOMP_MODE_FILTER, &program) == 0;
}

// The same where the system call itself answers so: the save runs nothing that
// emulates a reservation, which would read the file through a descriptor opened for
// writing and fail with "Bad file descriptor".
TEST_F(WorkbookSaves, AWorkbookIsWrittenOverInPlaceWhereTheSystemCallHasNoReservation) {
    fx::Write(file, LargeParts());
    const fs::path other = folder / "other.xlsx";
    fs::create_hard_link(file, other);
    char message[512] = {};
    int pipe_ends[2];
    ASSERT_EQ(pipe(pipe_ends), 0);
    const int code = InChild([&] {
        close(pipe_ends[0]);
        if (!WithoutReservations()) return 77;
        const std::string text = SaveMessage(file, 5, 300);
        if (write(pipe_ends[1], text.data(), std::min(text.size(), sizeof message - 1)) < 0) return 3;
        return text == "saved" ? 0 : 1;
    });
    close(pipe_ends[1]);
    if (read(pipe_ends[0], message, sizeof message - 1) < 0) message[0] = 0;
    close(pipe_ends[0]);
    if (code == 77) GTEST_SKIP() << "this kernel filters no system calls";
    EXPECT_EQ(code, 0) << message;
    EXPECT_EQ(Read(other, 2, 1), Variant(5.0));
    EXPECT_EQ(Read(other, 4, 301), Variant(301 * 7.25));
    EXPECT_EQ(Names(folder.Path()), (std::vector<std::string>{"cases.xlsx", "other.xlsx"}));
}

// Whatever fails while the workbook is written over in place (the reservation on a
// full disk, the open, a write after its first half), the workbook is given back its
// old bytes and size under every name, and the saved workbook is kept complete
// beside it under a name the message gives; a second failure takes the next name.
TEST_F(WorkbookSaves, AFailedSaveInPlaceLeavesTheWorkbookAsItWasAndKeepsWhatItSaved) {
    const fs::path other = folder / "other.xlsx";
    const struct {
        sheet::SaveStep step;
        int code;
    } failures[] = {
        {sheet::SaveStep::Reserve, ENOSPC},
        {sheet::SaveStep::WriteInPlace, EACCES},
        {sheet::SaveStep::SecondHalf, EIO},
    };
    for (const InPlaceRoad& road : InPlaceRoads()) {
        for (const auto& f : failures) {
            const std::string what = std::string(road.what) + ", " + std::strerror(f.code);
            fx::Write(file, LargeParts());
            if (road.second_name) fs::create_hard_link(file, other);
            const std::string before = ReadFile(file);
            sheet::SetSaveTestHooks(Failing(road.hooks, f.step, f.code));
            std::vector<std::string> copies;
            for (const char* name : {"cases (saved copy).xlsx", "cases (saved copy 2).xlsx"}) {
                const fs::path copy = folder / name;
                EXPECT_EQ(SaveMessage(file, copies.size() + 5.0, 300),
                          "Cannot save the workbook \"" + file.string() + "\": " + std::strerror(f.code) +
                              ". The workbook is as it was; the saved workbook is kept in \"" + copy.string() + "\".")
                    << what;
                EXPECT_EQ(ReadFile(file), before) << what;
                if (road.second_name) {
                    EXPECT_EQ(ReadFile(other), before) << what;
                }
                EXPECT_EQ(Read(copy, 2, 1), Variant(copies.size() + 5.0)) << what;
                EXPECT_EQ(Read(copy, 4, 301), Variant(301 * 7.25)) << what;
                copies.push_back(name);
            }
            sheet::SetSaveTestHooks({});
            std::vector<std::string> expected = copies;
            expected.push_back("cases.xlsx");
            if (road.second_name) expected.push_back("other.xlsx");
            std::sort(expected.begin(), expected.end());
            EXPECT_EQ(Names(folder.Path()), expected) << what;
            for (const std::string& name : expected)
                if (name != "cases.xlsx") fs::remove(folder / name);
        }
    }
}

// A folder that takes no new file: the save says so and writes the workbook over in
// place without a copy; when that fails too, the message says that the changes could
// not be kept, and the workbook is as it was.
TEST_F(WorkbookSaves, WhereTheFolderTakesNoNewFileTheSaveSaysSo) {
    fx::Write(file, LargeParts());
    const fs::path other = folder / "other.xlsx";
    fs::create_hard_link(file, other);
    sheet::SetSaveTestHooks(Failing({}, sheet::SaveStep::WriteTemporary, EACCES));
    EXPECT_EQ(SetAndSave(file, 5, 300).Notice,
              "The workbook \"" + file.string() + "\" is saved; it was written over in place with no copy of the "
              "changes beside it first, since its folder takes no new file (Permission denied).");
    EXPECT_EQ(Read(other, 2, 1), Variant(5.0));

    const std::string before = ReadFile(file);
    sheet::SetSaveTestHooks(Failing(Failing({}, sheet::SaveStep::WriteTemporary, ENOSPC), sheet::SaveStep::SecondHalf,
                                    EIO));
    EXPECT_EQ(SaveMessage(file, 6, 400),
              "Cannot save the workbook \"" + file.string() + "\": Input/output error. The workbook is as it was, and "
              "the changes could not be kept in another file either: its folder takes no new file (No space left on "
              "device).");
    EXPECT_EQ(ReadFile(file), before);
    EXPECT_EQ(Names(folder.Path()), (std::vector<std::string>{"cases.xlsx", "other.xlsx"}));

    // A workbook replaced as usual whose new file cannot be written.
    fs::remove(other);
    sheet::SetSaveTestHooks(Failing({}, sheet::SaveStep::WriteTemporary, ENOSPC));
    EXPECT_EQ(SaveMessage(file, 7, 0),
              "Cannot save the workbook \"" + file.string() + "\": No space left on device. The workbook is as it was, "
              "and the changes could not be kept in another file.");
    EXPECT_EQ(ReadFile(file), before);
    EXPECT_EQ(Names(folder.Path()), std::vector<std::string>{"cases.xlsx"});
}

// A save killed while it writes the workbook over (at the middle of that write): the
// complete copy waits beside it, and the open of the damaged workbook names it.
// Killed while it writes the copy, it leaves the workbook as it was and nothing
// visible.
TEST_F(WorkbookSaves, ASaveKilledWhileItWritesTheWorkbookOverLosesNothing) {
    const fs::path other = folder / "other.xlsx";
    const fs::path copy = folder / "cases (saved copy).xlsx";
    for (const InPlaceRoad& road : InPlaceRoads()) {
        fx::Write(file, LargeParts());
        if (road.second_name) fs::create_hard_link(file, other);
        KillDuringSave(file, sheet::SaveStep::WriteInPlace, road.hooks);
        ASSERT_TRUE(fs::exists(copy)) << road.what;
        EXPECT_EQ(Read(copy, 2, 1), Variant(9.0)) << road.what;
        EXPECT_EQ(Read(copy, 4, 301), Variant(301 * 7.25)) << road.what;
        // Half of the new bytes over the old ones is no workbook.
        std::string message = "opened";
        try {
            Read(file, 2, 1);
        } catch (const Exception& e) {
            message = e.Message();
        }
        EXPECT_EQ(message, sheet::OpenFailure(file.string(), "it is no .xlsx workbook (the file is damaged, encrypted "
                                                             "or of another format)") +
                               " A save of it may have been cut off while it wrote the workbook over; the workbook it "
                               "was saving is kept in \"" + copy.string() + "\".")
            << road.what;
        std::vector<std::string> expected = {"cases (saved copy).xlsx", "cases.xlsx"};
        if (road.second_name) expected.push_back("other.xlsx");
        EXPECT_EQ(Names(folder.Path()), expected) << road.what;
        fs::remove(copy);
        if (road.second_name) fs::remove(other);
    }
    // Killed while the copy is written (from the start on a second name).
    fx::Write(file, LargeParts());
    fs::create_hard_link(file, other);
    const std::string before = ReadFile(file);
    KillDuringSave(file, sheet::SaveStep::WriteTemporary);
    EXPECT_EQ(ReadFile(file), before);
    EXPECT_EQ(Names(folder.Path()), (std::vector<std::string>{"cases.xlsx", "other.xlsx"}));
}

// Another program saves the workbook while it is open here, and the save here would
// write it over in place: theirs stays, under every name, and the workbook as opened
// goes beside it.
TEST_F(WorkbookSaves, AnotherProgramsSaveMeanwhileStaysOnTheInPlaceRoadToo) {
    const fs::path other = folder / "other.xlsx";
    const fs::path beside = folder / "cases (results).xlsx";
    for (const InPlaceRoad& road : InPlaceRoads()) {
        fx::Write(file, LargeParts());
        if (road.second_name) fs::create_hard_link(file, other);
        sheet::Application app;
        sheet::Workbook& book = app.Workbooks().Open(file.string());
        book.Worksheets().Item(1).Cells(2, 1).SetValue(5.0);
        fx::SaveInPlace(file, kTheirs);
        sheet::SetSaveTestHooks(road.hooks);
        EXPECT_EQ(book.SaveAs(file.string()).Beside,
                  (sheet::SavedBeside{file.string(), beside.string(), "was changed by another program"}))
            << road.what;
        sheet::SetSaveTestHooks({});
        EXPECT_EQ(ReadFile(file), kTheirs) << road.what;
        if (road.second_name) {
            EXPECT_EQ(ReadFile(other), kTheirs) << road.what;
        }
        EXPECT_EQ(Read(beside, 2, 1), Variant(5.0)) << road.what;
        std::vector<std::string> expected = {"cases (results).xlsx", "cases.xlsx"};
        if (road.second_name) expected.push_back("other.xlsx");
        EXPECT_EQ(Names(folder.Path()), expected) << road.what;
        fs::remove(beside);
        if (road.second_name) fs::remove(other);
    }
}

// A colleague's workbook in a group folder, which a member of the group may write
// but not give away: written over in place, it stays theirs and the group's.
TEST_F(WorkbookSaves, AColleaguesWorkbookInAGroupFolderKeepsItsOwnerAndGroup) {
    if (geteuid() != 0) GTEST_SKIP() << "needs other users";
    constexpr uid_t kColleague = 4242;
    constexpr gid_t kGroup = 4343;
    ASSERT_EQ(::chown(folder.Path().c_str(), 0, kGroup), 0);
    ASSERT_EQ(::chmod(folder.Path().c_str(), 02775), 0);
    fx::Write(file, LargeParts());
    ASSERT_EQ(::chown(file.c_str(), kColleague, kGroup), 0);
    ASSERT_EQ(::chmod(file.c_str(), 0664), 0);
    const ino_t inode = StatOf(file).st_ino;
    // The member: "nobody", in the group only.
    EXPECT_EQ(InChild(
                  [&] {
                      const sheet::SaveOutcome outcome = SetAndSave(file, 8, 300);
                      return outcome.Notice.empty() && !outcome.Beside ? 0 : 1;
                  },
                  kNobody, kGroup),
              0);
    const struct stat st = StatOf(file);
    EXPECT_EQ(st.st_ino, inode);
    EXPECT_EQ(st.st_uid, kColleague);
    EXPECT_EQ(st.st_gid, kGroup);
    EXPECT_EQ(st.st_mode & 07777, 0664u);
    EXPECT_EQ(Read(file, 2, 1), Variant(8.0));
    EXPECT_EQ(Names(folder.Path()), std::vector<std::string>{"cases.xlsx"});
}

// Opening a damaged workbook names the newest complete copy that a save of it kept
// beside it; copies of other workbooks, and incomplete files, are not named.
TEST_F(WorkbookSaves, ADamagedWorkbookNamesTheCopyASaveKeptBesideIt) {
    const std::string whole = fx::Bytes(LargeParts());
    std::ofstream(file, std::ios::binary) << whole.substr(0, whole.size() / 2);
    const std::string no_workbook = sheet::OpenFailure(
        file.string(), "it is no .xlsx workbook (the file is damaged, encrypted or of another format)");
    const auto open_message = [&]() -> std::string {
        try {
            sheet::Application app;
            app.Workbooks().Open(file.string()).Worksheets().Item(1);
        } catch (const Exception& e) {
            return e.Message();
        }
        return "opened";
    };
    const auto kept = [&](const fs::path& copy) {
        return no_workbook + " A save of it may have been cut off while it wrote the workbook over; the workbook it "
                             "was saving is kept in \"" + copy.string() + "\".";
    };
    EXPECT_EQ(open_message(), no_workbook);
    const auto put = [&](const std::string& name, const std::string& bytes, std::int64_t seconds) {
        std::ofstream(folder / name, std::ios::binary) << bytes;
        const timespec times[2] = {{seconds, 0}, {seconds, 0}};
        EXPECT_EQ(::utimensat(AT_FDCWD, (folder / name).c_str(), times, 0), 0);
    };
    put("other (saved copy).xlsx", whole, 1700000300);
    put("cases (saved copy x).xlsx", whole, 1700000300);
    put("cases (saved copy 2).xlsx", whole.substr(0, whole.size() / 2), 1700000300);
    EXPECT_EQ(open_message(), no_workbook);
    put("cases (saved copy).xlsx", whole, 1700000000);
    EXPECT_EQ(open_message(), kept(folder / "cases (saved copy).xlsx"));
    put("cases (saved copy 3).xlsx", whole, 1700000100);
    EXPECT_EQ(open_message(), kept(folder / "cases (saved copy 3).xlsx"));

    // A package whose worksheet is damaged says so when the worksheet is reached.
    const fx::Parts parts = fx::Workbook(fx::SheetXml("<row r=\"2\"><c r=\"A2\"><v>1</v></c>"), fx::SharedStrings({}));
    fx::Write(file, parts);
    const std::string message = open_message();
    EXPECT_EQ(message.rfind("Cannot open the workbook \"" + file.string() + "\": the part xl/worksheets/sheet1.xml is "
                            "damaged (", 0), 0u) << message;
    EXPECT_NE(message.find("). A save of it may have been cut off while it wrote the workbook over; the workbook it was "
                           "saving is kept in \"" + (folder / "cases (saved copy 3).xlsx").string() + "\"."),
              std::string::npos)
        << message;
}

TEST_F(WorkbookSaves, AWorkbookGoingBesideTakesANameNotYetTakenAndSavesAgainThere) {
    const std::string someone = "someone's results";
    std::ofstream(folder / "cases (results).xlsx") << someone;
    sheet::Application app;
    sheet::Workbook& book = app.Workbooks().Open(file.string());
    book.Worksheets().Item(1).Cells(2, 1).SetValue(5.0);
    fx::SaveInPlace(file, fx::Bytes(fx::Workbook(fx::SheetXml("<row r=\"2\"><c r=\"A2\"><v>555</v></c></row>", "A2"),
                                                 fx::SharedStrings({}))));
    const std::optional<sheet::SavedBeside> beside = book.SaveAs(file.string()).Beside;
    ASSERT_TRUE(beside);
    EXPECT_EQ(beside->Written, (folder / "cases (results 2).xlsx").string());
    EXPECT_EQ(ReadFile(folder / "cases (results).xlsx"), someone);
    // Its next save goes to the file it went to, which nobody else wrote.
    book.Worksheets().Item(1).Cells(2, 1).SetValue(6.0);
    EXPECT_EQ(book.SaveAs(beside->Written).Beside, std::nullopt);
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
