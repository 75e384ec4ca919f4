// Where and how a save writes: through symbolic links, into hard-linked files, with
// the file's owner and mode, refusing read-only files, whole or not at all when the
// saving process is killed in the middle, beside the workbook when another program
// saved it meanwhile; and the lock files of office programs.
#include <gtest/gtest.h>
#include <poll.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
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
        sheet::SetSaveTestHooks({[&] {
                                     const char byte = 1;
                                     if (write(ready[1], &byte, 1) != 1) _exit(3);
                                     for (;;) pause();
                                 },
                                 named_temporary});
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
    EXPECT_EQ(left[0].rfind(".cases.xlsx.zorv-" + std::to_string(killed) + "-", 0), 0u) << left[0];
    EXPECT_EQ(left[1], "cases.xlsx");
    // One of a process that still runs, and files that are not ours, stay.
    std::ofstream(folder / ".cases.xlsx.zorv-1-0.tmp") << "busy";
    std::ofstream(folder / ".other.xlsx.zorv-999999999-0.tmp") << "another workbook's";
    std::ofstream(folder / ".cases.xlsx.tmp") << "someone else's";
    // A number no process id can be, which must not stop the save either.
    std::ofstream(folder / ".cases.xlsx.zorv-99999999999999999999-0.tmp") << "not ours";
    SetAndSave(file, 10);
    EXPECT_EQ(Read(file, 2, 1), Variant(10.0));
    EXPECT_EQ(Names(folder.Path()),
              (std::vector<std::string>{".cases.xlsx.tmp", ".cases.xlsx.zorv-1-0.tmp",
                                        ".cases.xlsx.zorv-99999999999999999999-0.tmp",
                                        ".other.xlsx.zorv-999999999-0.tmp", "cases.xlsx"}));
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
    const auto same_size_and_time = [&]() -> std::optional<std::string> {
        const struct stat before = StatOf(file);
        std::string bytes = ReadFile(file);
        bytes[bytes.size() / 2] ^= 0x20;
        fx::SaveInPlace(file, bytes);
        const timespec times[2] = {before.st_atim, before.st_mtim};
        EXPECT_EQ(::utimensat(AT_FDCWD, file.c_str(), times, 0), 0);
        EXPECT_EQ(StatOf(file).st_mtim.tv_nsec, before.st_mtim.tv_nsec);
        return bytes;
    };
    const auto touched = [&]() -> std::optional<std::string> {
        const timespec times[2] = {{0, UTIME_OMIT}, {1600000000, 0}};
        EXPECT_EQ(::utimensat(AT_FDCWD, file.c_str(), times, 0), 0);
        return ReadFile(file);
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
        {"only touched", touched, "was changed by another program"},
        {"removed", [&] { fs::remove(file); return std::optional<std::string>(); },
         "was removed or renamed by another program"},
    };
    for (const auto& c : cases) {
        fx::Write(file, Parts());
        ::chmod(file.c_str(), 0640);
        sheet::Application app;
        sheet::Workbook& book = app.Workbooks().Open(file.string());
        book.Worksheets().Item(1).Cells(2, 1).SetValue(5.0);
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
