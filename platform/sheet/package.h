#pragma once
// The zip package of a workbook: its parts read by name, and the whole package
// written anew with some parts replaced or dropped and every other part copied as
// it is stored.
#include <sys/types.h>

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>

struct zip;

namespace sheet {

// What a save found of the file the package came from, and where the package went.
struct WriteOutcome {
    std::string file_name;  // the file written
    // Empty, or how the file asked for differs from the one read ("was changed by
    // another program"); the package then went to file_name beside it.
    std::string diverted_because;
    // Empty, or what the user should know of a save that went through.
    std::string notice;
};

class Package {
public:
    // Reads the whole file now, so that nothing another program does to it later
    // reaches the parts or a save. Raises Exception when the file cannot be read or
    // is no zip package.
    explicit Package(const std::string& file_name);
    ~Package();
    Package(const Package&) = delete;
    Package& operator=(const Package&) = delete;

    // Part names compare without letter case, as in the package format.
    bool Has(const std::string& part) const { return !StoredName(part).empty(); }
    // The name the part is stored under, empty when there is none.
    std::string StoredName(const std::string& part) const;
    // The part's bytes; raises Exception when it is missing or cannot be read.
    std::string Read(const std::string& part) const;

    // Writes the package (parts named as stored) to file_name, whole or not at all:
    // through a temporary file in its folder that replaces the file only when it is
    // complete, into the file behind a symbolic link, with the file's owner, group,
    // mode, access ACL and user extended attributes. A file with other names (hard
    // links), or one whose folder, owner or attributes let us make no replacement that
    // is like it, or that cannot be replaced, is written over in place, while a
    // complete copy of the package waits beside it as "<name> (saved copy).xlsx"
    // (that goes afterwards); where the folder takes no new file, the outcome's notice
    // says it was written over without one. Complete workbooks that saves killed
    // earlier left hidden beside it get such visible names first, and the notice
    // names them. Raises Exception on failure, and the file
    // is then as it was unless the message says otherwise; the message names the
    // complete package that it kept, or says that none could be kept. Afterwards this
    // package reads what it wrote.
    //
    // A save under the name the package was read from (or last written to) overwrites
    // nothing that another program wrote meanwhile: when that file is gone, unreadable
    // or holds other bytes than were read, it is left alone and the package goes to a
    // new file beside it, "<name> (results).xlsx" or "<name> (results 2).xlsx" and so
    // on, never over an existing file. A file only touched, or replaced by a copy of
    // the same bytes, is saved as usual.
    WriteOutcome Write(const std::string& file_name, const std::map<std::string, std::string>& replaced,
                       const std::set<std::string>& dropped);

    const std::string& FileName() const { return file_name_; }

    // The file as it was read or written: what a later save compares with.
    struct FileState {
        dev_t device = 0;
        ino_t inode = 0;
        off_t size = 0;
        std::int64_t modified_ns = 0;
        mode_t mode = 0;
    };

private:
    std::optional<std::string> ChangeOnDisk() const;

    std::string file_name_;
    std::unique_ptr<const std::string> bytes_;  // the package as read or written
    FileState state_;
    zip* archive_ = nullptr;                    // over bytes_
};

// Why a save into the existing file would be refused (the user may not write it, or
// it is marked read-only), or nothing.
std::optional<std::string> SaveRefusal(const std::string& file_name);

// Steps of a save that the tests make fail as some file systems do.
enum class SaveStep {
    Link,             // a second name for the temporary file
    RenameNoReplace,  // a rename that never replaces
    CreateExclusive,  // a new file under a name not yet taken, written in full
    Rename,           // the temporary file over the workbook
    WriteTemporary,   // a temporary file made in the folder for the new bytes
    WriteInPlace,     // the workbook opened to write its own bytes over
    Reserve,          // the space for a larger workbook taken before that
    SecondHalf,       // the second half of the bytes written over the workbook's own
    CopyAttributes,   // the ACL and extended attributes onto the temporary file
};

// Seams for the tests of the save.
struct SaveTestHooks {
    // Called when half of the new bytes are written by the write of that step
    // (WriteTemporary or WriteInPlace).
    std::function<void(SaveStep)> half_written;
    bool named_temporary = false;          // the temporary file has a name from the start
    std::function<int(SaveStep)> failure;  // the errno a step fails with, 0 to let it run
};
void SetSaveTestHooks(SaveTestHooks hooks);

// "Cannot open the workbook \"<file>\": <reason>."
std::string OpenFailure(const std::string& file_name, const std::string& reason);

// The message of a workbook that cannot be opened for damage, naming the newest
// complete copy that a save of it kept beside it, if there is one: a save cut off
// while it wrote the workbook over leaves its changes there.
std::string WithKeptCopy(const std::string& file_name, const std::string& message);

}  // namespace sheet
