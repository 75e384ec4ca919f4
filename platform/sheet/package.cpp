#include "platform/sheet/package.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>
#include <zip.h>

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>
#include <vector>

#include "platform/text/exception.h"

namespace sheet {
namespace {

// A part larger than this is taken for a damaged or hostile package.
constexpr zip_uint64_t kMaxPartSize = zip_uint64_t(1) << 30;

std::string ZipErrorText(int code) {
    zip_error_t error;
    zip_error_init_with_code(&error, code);
    std::string text = zip_error_strerror(&error);
    zip_error_fini(&error);
    return text;
}

std::string SaveFailure(const std::string& file_name, const std::string& reason) {
    return "Cannot save the workbook \"" + file_name + "\": " + reason + ".";
}

// A failed step of a save: the message, the reason alone for the messages that
// build on it, and whether the file written to still holds what it held.
class SaveError : public Exception {
public:
    SaveError(const std::string& file_name, const std::string& reason, bool intact = true)
        : Exception(SaveFailure(file_name, reason)), reason_(reason), intact_(intact) {}
    const std::string& Reason() const { return reason_; }
    bool Intact() const { return intact_; }

private:
    std::string reason_;
    bool intact_;
};

struct SourceCloser {
    void operator()(zip_source_t* s) const { zip_source_free(s); }
};

// The bytes of an in-memory source that an archive was written into.
std::string BufferBytes(zip_source_t* buffer) {
    if (zip_source_open(buffer) < 0) throw Exception(zip_error_strerror(zip_source_error(buffer)));
    std::string bytes;
    char chunk[65536];
    for (;;) {
        const zip_int64_t n = zip_source_read(buffer, chunk, sizeof chunk);
        if (n < 0) {
            std::string reason = zip_error_strerror(zip_source_error(buffer));
            zip_source_close(buffer);
            throw Exception(reason);
        }
        if (n == 0) break;
        bytes.append(chunk, static_cast<size_t>(n));
    }
    zip_source_close(buffer);
    return bytes;
}

// The package built in memory: the parts in their stored order.
std::string BuildArchive(zip_t* source, const std::map<std::string, std::string>& replaced,
                         const std::set<std::string>& dropped) {
    zip_error_t error;
    zip_error_init(&error);
    std::unique_ptr<zip_source_t, SourceCloser> buffer(zip_source_buffer_create(nullptr, 0, 0, &error));
    if (!buffer) throw Exception(zip_error_strerror(&error));
    zip_source_keep(buffer.get());
    zip_t* out = zip_open_from_source(buffer.get(), ZIP_TRUNCATE, &error);
    if (!out) {
        std::string reason = zip_error_strerror(&error);
        zip_error_fini(&error);
        throw Exception(reason);
    }
    const auto fail = [&](zip_t* archive) {
        std::string reason = zip_error_strerror(zip_get_error(archive));
        zip_discard(out);
        throw Exception(reason);
    };
    const zip_int64_t count = zip_get_num_entries(source, 0);
    for (zip_int64_t i = 0; i < count; ++i) {
        zip_stat_t st;
        if (zip_stat_index(source, i, 0, &st) < 0) fail(source);
        const std::string name = st.name;
        if (dropped.count(name)) continue;
        zip_int64_t index = -1;
        if (!name.empty() && name.back() == '/') {
            index = zip_dir_add(out, name.c_str(), ZIP_FL_ENC_GUESS);
            if (index < 0) fail(out);
        } else if (auto it = replaced.find(name); it != replaced.end()) {
            zip_source_t* part = zip_source_buffer(out, it->second.data(), it->second.size(), 0);
            if (!part) fail(out);
            index = zip_file_add(out, name.c_str(), part, ZIP_FL_ENC_GUESS);
            if (index < 0) {
                zip_source_free(part);
                fail(out);
            }
            zip_set_file_compression(out, static_cast<zip_uint64_t>(index), ZIP_CM_DEFLATE, 0);
            continue;
        } else {
            // Copied as stored: the compressed bytes are not touched.
            zip_source_t* part = zip_source_zip(out, source, static_cast<zip_uint64_t>(i), ZIP_FL_COMPRESSED, 0, -1);
            if (!part) fail(out);
            index = zip_file_add(out, name.c_str(), part, ZIP_FL_ENC_GUESS);
            if (index < 0) {
                zip_source_free(part);
                fail(out);
            }
        }
        if (st.valid & ZIP_STAT_MTIME) zip_file_set_mtime(out, static_cast<zip_uint64_t>(index), st.mtime, 0);
    }
    int comment_length = 0;
    if (const char* comment = zip_get_archive_comment(source, &comment_length, ZIP_FL_ENC_RAW))
        zip_set_archive_comment(out, comment, static_cast<zip_uint16_t>(comment_length));
    if (zip_close(out) < 0) fail(out);
    return BufferBytes(buffer.get());
}

std::atomic<unsigned> temp_counter{0};
SaveTestHooks test_hooks;

// True, with errno set, when a test makes the step fail.
bool Fails(SaveStep step) {
    const int code = test_hooks.failure ? test_hooks.failure(step) : 0;
    if (code != 0) errno = code;
    return code != 0;
}

// The space this process's id belongs to: the host and its process-id namespace, as
// 16 hex digits. A folder shared between machines or containers holds temporary
// files of processes that a process id of ours does not name.
const std::string& ProcessSpace() {
    static const std::string space = [] {
        std::string identity;
        char host[256] = {};
        if (::gethostname(host, sizeof host - 1) == 0) identity += host;
        identity += '\n';
        std::ifstream machine("/etc/machine-id");
        identity += std::string(std::istreambuf_iterator<char>(machine), {});
        char ns[64] = {};
        if (::readlink("/proc/self/ns/pid", ns, sizeof ns - 1) > 0) identity += ns;
        std::uint64_t hash = 14695981039346656037ull;  // FNV-1a
        for (unsigned char c : identity) hash = (hash ^ c) * 1099511628211ull;
        char text[17];
        std::snprintf(text, sizeof text, "%016llx", static_cast<unsigned long long>(hash));
        return std::string(text);
    }();
    return space;
}

// Temporary files of this process space beside a workbook:
// ".<name>.zorv-<space>-<process>-<count>.tmp".
std::string TemporaryPrefix(const std::string& name) { return "." + name + ".zorv-" + ProcessSpace() + "-"; }

bool EndsWith(const std::string& text, const std::string& end) {
    return text.size() >= end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}

constexpr const char* kAclAttribute = "system.posix_acl_access";

bool AllDigits(const std::string& text, size_t at_most) {
    return !text.empty() && text.size() <= at_most && text.find_first_not_of("0123456789") == std::string::npos;
}

// A whole package: what a save wrote in full and could place nowhere, which its
// message named.
bool WholePackage(const std::string& file) {
    int error = 0;
    zip_t* archive = zip_open(file.c_str(), ZIP_RDONLY | ZIP_CHECKCONS, &error);
    if (!archive) return false;
    zip_discard(archive);
    return true;
}

// Removes the temporary files that a save of this workbook left half-written when
// its process ended during the save, and returns the complete ones, which hold a
// workbook that such a save could not place. Those of a process still running are
// its own business, and those of another host or container are never judged here.
std::vector<std::string> RemoveStaleTemporaries(const std::filesystem::path& folder, const std::string& name) {
    namespace fs = std::filesystem;
    const std::string prefix = TemporaryPrefix(name);
    std::vector<std::string> whole;
    std::error_code error;
    for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
        const std::string entry = it->path().filename().string();
        if (entry.rfind(prefix, 0) != 0 || !EndsWith(entry, ".tmp")) continue;
        const std::string rest = entry.substr(prefix.size(), entry.size() - prefix.size() - 4);
        const size_t dash = rest.find('-');
        if (dash == std::string::npos) continue;
        const std::string process = rest.substr(0, dash);
        // A process id has at most 7 digits; a longer run is not one of ours.
        if (!AllDigits(process, 9) || !AllDigits(rest.substr(dash + 1), 10)) continue;
        const pid_t pid = static_cast<pid_t>(std::stol(process));
        if (pid == getpid() || pid <= 0) continue;
        if (::kill(pid, 0) != 0 && errno == ESRCH) {
            if (WholePackage(it->path())) {
                whole.push_back(it->path().string());
            } else {
                ::unlink(it->path().c_str());
            }
        }
    }
    return whole;
}

// The folder a file stands in; "." for a bare name.
std::filesystem::path FolderOf(const std::filesystem::path& file) {
    return file.has_parent_path() ? file.parent_path() : std::filesystem::path(".");
}

// The file a save writes into: the one behind a symbolic link, or the name itself
// for a file that does not exist yet.
std::string RealTarget(const std::string& file_name) {
    struct stat link;
    if (::lstat(file_name.c_str(), &link) != 0 || !S_ISLNK(link.st_mode)) return file_name;
    char* real = ::realpath(file_name.c_str(), nullptr);
    if (!real) throw SaveError(file_name, std::string("the link leads nowhere (") + std::strerror(errno) + ")");
    std::string out = real;
    std::free(real);
    return out;
}

// Writes the bytes from the start of the file (seek) or at its offset. The writes
// that step names are seams for the tests: told when half is written, and the
// in-place write can be made to fail there.
bool WriteAll(int fd, const std::string& bytes, bool seek, std::optional<SaveStep> step = std::nullopt) {
    const size_t half = bytes.size() / 2;
    for (size_t done = 0; done < bytes.size();) {
        const size_t chunk = done < half ? half - done : bytes.size() - done;
        const ssize_t n = seek ? ::pwrite(fd, bytes.data() + done, chunk, static_cast<off_t>(done))
                               : ::write(fd, bytes.data() + done, chunk);
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        done += static_cast<size_t>(n);
        if (step && done == half) {
            if (test_hooks.half_written) test_hooks.half_written(*step);
            if (step == SaveStep::WriteInPlace && Fails(SaveStep::SecondHalf)) return false;
        }
    }
    return true;
}

void SyncFolder(const std::filesystem::path& folder) {
    const int dir = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir >= 0) {
        ::fsync(dir);
        ::close(dir);
    }
}

Package::FileState StateOf(const struct stat& st) {
    return {st.st_dev, st.st_ino, st.st_size,
            static_cast<std::int64_t>(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec, st.st_mode};
}

bool IsCarried(const std::string& attribute) {
    return attribute == kAclAttribute || attribute.rfind("user.", 0) == 0;
}

// An extended attribute's value; nothing when it is gone.
std::optional<std::string> AttributeOf(const std::string& file, const std::string& name) {
    for (;;) {
        const ssize_t size = ::getxattr(file.c_str(), name.c_str(), nullptr, 0);
        if (size < 0) return std::nullopt;
        std::string value(static_cast<size_t>(size), '\0');
        const ssize_t got = ::getxattr(file.c_str(), name.c_str(), value.data(), value.size());
        if (got >= 0) {
            value.resize(static_cast<size_t>(got));
            return value;
        }
        if (errno != ERANGE) return std::nullopt;
    }
}

// Gives the new file the access ACL and the user extended attributes of the file it
// replaces, and no ACL when that has none (as one inherited from the folder would
// be). False when they cannot all be carried over. Before the mode is set, which
// then sets the ACL's mask as the file had it.
bool CopyAttributes(const std::string& from, int to) {
    if (Fails(SaveStep::CopyAttributes)) return false;
    std::string names;
    for (;;) {
        const ssize_t size = ::listxattr(from.c_str(), nullptr, 0);
        if (size < 0) return errno == ENOTSUP;  // a file system without them
        names.assign(static_cast<size_t>(size), '\0');
        const ssize_t got = ::listxattr(from.c_str(), names.data(), names.size());
        if (got >= 0) {
            names.resize(static_cast<size_t>(got));
            break;
        }
        if (errno != ERANGE) return false;
    }
    bool acl = false;
    for (size_t at = 0; at < names.size();) {
        const std::string name = names.c_str() + at;
        at += name.size() + 1;
        if (!IsCarried(name)) continue;
        const std::optional<std::string> value = AttributeOf(from, name);
        if (!value) continue;
        if (::fsetxattr(to, name.c_str(), value->data(), value->size(), 0) != 0) return false;
        acl = acl || name == kAclAttribute;
    }
    if (!acl && ::fremovexattr(to, kAclAttribute) != 0 && errno != ENODATA && errno != ENOTSUP) return false;
    return true;
}

// Writes the bytes into a new file in the folder, complete and on disk, and gives it
// a temporary name there (returned), for the caller to put in its place. The file has
// the owner, group, mode, ACL and user attributes of the existing file when one is
// given, else the mode given. It has no name while it is written where the file
// system allows, so a process killed meanwhile leaves nothing behind. Nothing when no
// such file can be made here (a folder the user may not write) or given the existing
// file's owner or attributes.
std::optional<std::string> WriteTemporary(const std::string& file_name, const std::filesystem::path& folder,
                                          const std::string& base_name, const struct stat* existing, mode_t mode,
                                          const std::string& bytes, Package::FileState& state) {
    const std::filesystem::path temp = folder / (TemporaryPrefix(base_name) + std::to_string(getpid()) + "-" +
                                                 std::to_string(temp_counter++) + ".tmp");
    const mode_t create_mode = existing || mode != 0 ? 0600 : 0666;
    bool named = false;
    int fd = -1;
    if (!Fails(SaveStep::WriteTemporary)) {
        if (!test_hooks.named_temporary) fd = ::open(folder.c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, create_mode);
        if (fd < 0 && (test_hooks.named_temporary || errno == EOPNOTSUPP || errno == EISDIR || errno == EINVAL)) {
            fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, create_mode);
            named = true;
        }
    }
    if (fd < 0) {
        if (existing && (errno == EACCES || errno == EPERM || errno == EROFS)) return std::nullopt;
        throw SaveError(file_name, std::strerror(errno));
    }
    const auto fail = [&](int code) {
        ::close(fd);
        if (named) ::unlink(temp.c_str());
        throw SaveError(file_name, std::strerror(code));
    };
    if (existing) {
        struct stat mine;
        if (::fstat(fd, &mine) != 0) fail(errno);
        if (((mine.st_uid != existing->st_uid || mine.st_gid != existing->st_gid) &&
             ::fchown(fd, existing->st_uid, existing->st_gid) != 0) ||
            !CopyAttributes((folder / base_name).string(), fd)) {
            ::close(fd);
            if (named) ::unlink(temp.c_str());
            return std::nullopt;
        }
        // After the owner, which clears the set-id bits.
        if (::fchmod(fd, existing->st_mode & 07777) != 0) fail(errno);
    } else if (mode != 0 && ::fchmod(fd, mode & 0777) != 0) {
        fail(errno);
    }
    if (!WriteAll(fd, bytes, false, SaveStep::WriteTemporary) || ::fsync(fd) != 0) fail(errno);
    struct stat written;
    if (::fstat(fd, &written) != 0) fail(errno);
    state = StateOf(written);
    if (!named) {
        const std::string self = "/proc/self/fd/" + std::to_string(fd);
        if (::linkat(AT_FDCWD, self.c_str(), AT_FDCWD, temp.c_str(), AT_SYMLINK_FOLLOW) != 0) fail(errno);
        named = true;
    }
    if (::close(fd) != 0) {
        const int code = errno;
        ::unlink(temp.c_str());
        throw SaveError(file_name, std::strerror(code));
    }
    return temp.string();
}

// Takes the space for a file of the given size before its old bytes are touched, so
// that a full disk stops the save while the file is as it was. 0, or the error. A
// file system without reservations (NFS before 4.2, sshfs and other user-space
// mounts) answers the system call itself with EOPNOTSUPP or ENOSYS, and the save goes
// on without one: the C library's posix_fallocate would instead emulate it by
// reading the file, which a descriptor opened for writing only refuses. The size
// stays as it is; the writes that follow make it.
int Reserve(int fd, off_t size) {
    for (;;) {
        if (!Fails(SaveStep::Reserve) && ::fallocate(fd, FALLOC_FL_KEEP_SIZE, 0, size) == 0) return 0;
        if (errno != EINTR) break;
    }
    return errno == EOPNOTSUPP || errno == ENOSYS ? 0 : errno;
}

// Writes the bytes over the target's own content, for a file that must keep its
// place: one with several names (hard links), or one whose owner or folder does not
// let us make its replacement. A failed reservation or write leaves the old bytes and
// the old size; a SaveError that is not Intact() says the old bytes could not be
// written back.
Package::FileState WriteInPlace(const std::string& file_name, const std::string& target, const std::string& bytes) {
    std::string old;
    {
        const int in = ::open(target.c_str(), O_RDONLY | O_CLOEXEC);
        if (in < 0) throw SaveError(file_name, std::strerror(errno));
        char chunk[65536];
        for (;;) {
            const ssize_t n = ::read(in, chunk, sizeof chunk);
            if (n < 0 && errno == EINTR) continue;
            if (n < 0) {
                const int code = errno;
                ::close(in);
                throw SaveError(file_name, std::strerror(code));
            }
            if (n == 0) break;
            old.append(chunk, static_cast<size_t>(n));
        }
        ::close(in);
    }
    const int fd = Fails(SaveStep::WriteInPlace) ? -1 : ::open(target.c_str(), O_WRONLY | O_CLOEXEC);
    if (fd < 0) throw SaveError(file_name, std::strerror(errno));
    if (bytes.size() > old.size()) {
        if (const int code = Reserve(fd, static_cast<off_t>(bytes.size()))) {
            // Gives back what a partial reservation took past the end.
            (void)::ftruncate(fd, static_cast<off_t>(old.size()));
            ::close(fd);
            throw SaveError(file_name, std::strerror(code));
        }
    }
    if (!WriteAll(fd, bytes, true, SaveStep::WriteInPlace) || ::ftruncate(fd, static_cast<off_t>(bytes.size())) != 0 ||
        ::fsync(fd) != 0) {
        const int code = errno;
        const bool back =
            WriteAll(fd, old, true) && ::ftruncate(fd, static_cast<off_t>(old.size())) == 0 && ::fsync(fd) == 0;
        const int restore_code = errno;
        ::close(fd);
        if (back) throw SaveError(file_name, std::strerror(code));
        throw SaveError(file_name,
                        std::string(std::strerror(code)) + ", and its old bytes could not be written back (" +
                            std::strerror(restore_code) + ")",
                        false);
    }
    struct stat written;
    const bool known = ::fstat(fd, &written) == 0;
    // The new bytes are on disk already; the file is no longer the old one.
    if (::close(fd) != 0 || !known) throw SaveError(file_name, std::strerror(errno), false);
    return StateOf(written);
}

// Gives the finished temporary file the name without replacing a file that has it: a
// second name, else a rename that refuses to replace, else, on file systems that
// have neither (many network and user-space mounts), a new file made under the name
// and written in full. False when the name is taken. Raises Exception when no way
// works; the temporary file is then left as it is.
bool PlaceWithoutReplacing(const std::string& temp, const std::string& name, const std::string& bytes, mode_t mode,
                           Package::FileState& state) {
    if (!Fails(SaveStep::Link) && ::link(temp.c_str(), name.c_str()) == 0) {
        ::unlink(temp.c_str());
        return true;
    }
    if (errno == EEXIST) return false;
    if (!Fails(SaveStep::RenameNoReplace) &&
        ::renameat2(AT_FDCWD, temp.c_str(), AT_FDCWD, name.c_str(), RENAME_NOREPLACE) == 0)
        return true;
    if (errno == EEXIST) return false;
    const int fd = ::open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (fd < 0) {
        if (errno == EEXIST) return false;
        throw SaveError(name, std::strerror(errno));
    }
    struct stat written;
    bool whole = !Fails(SaveStep::CreateExclusive) && ::fchmod(fd, mode) == 0 && WriteAll(fd, bytes, false) &&
                 ::fsync(fd) == 0 && ::fstat(fd, &written) == 0;
    int code = errno;
    if (::close(fd) != 0 && whole) {
        whole = false;
        code = errno;
    }
    if (!whole) {
        ::unlink(name.c_str());  // the file made here, never one of another program
        throw SaveError(name, std::strerror(code));
    }
    state = StateOf(written);
    ::unlink(temp.c_str());
    return true;
}

// "cases.xlsx" gives "cases (results).xlsx", then "cases (results 2).xlsx"; likewise
// for the other tags.
std::string NumberedName(const std::filesystem::path& file, const std::string& tag, int number) {
    const std::string suffix = number == 1 ? " (" + tag + ")" : " (" + tag + " " + std::to_string(number) + ")";
    return (file.parent_path() / (file.stem().string() + suffix + file.extension().string())).string();
}

constexpr const char* kBesideTag = "results";
constexpr const char* kCopyTag = "saved copy";

// Added to the message of a failed save that kept the complete new workbook, so that
// what was saved is not lost. A temporary file (hidden) is kept only where the folder
// took no other name.
std::string KeptIn(const std::string& kept, bool as_it_was = true) {
    std::string text = as_it_was ? " The workbook is as it was; the" : " The";
    text += " saved workbook is kept in \"" + kept + "\"";
    if (EndsWith(kept, ".tmp")) text += "; give it a name ending in .xlsx to open it";
    return text + ".";
}

// Added to the message of a failed save that could keep the new workbook nowhere.
std::string NotKept(bool as_it_was = true, const std::string& why = {}) {
    std::string text = as_it_was ? " The workbook is as it was, and the" : " The";
    text += " changes could not be kept in another file";
    if (!why.empty()) text += " either: its folder takes no new file (" + why + ")";
    return text + ".";
}

struct Placed {
    std::string file_name;
    Package::FileState state;
    std::string diverted_because;
    std::string notice;
};

// The workbook asked for is left as another program made it: the bytes go to a new
// file beside it, with the mode of the workbook as it was read.
Placed WriteBeside(const std::string& file_name, const std::string& bytes, mode_t mode, const std::string& reason) {
    namespace fs = std::filesystem;
    const fs::path path(file_name);
    const fs::path folder = FolderOf(path);
    const auto cannot = [&](const std::string& why) {
        return Exception("The workbook \"" + file_name + "\" " + reason +
                         " since it was opened and is left as it is; it cannot be saved beside it: " + why);
    };
    Placed placed;
    placed.diverted_because = reason;
    const mode_t beside_mode = (mode & 0777) | 0600;
    std::optional<std::string> temp;
    try {
        temp = WriteTemporary(NumberedName(path, kBesideTag, 1), folder, path.filename().string(), nullptr,
                              beside_mode, bytes, placed.state);
    } catch (const Exception& e) {
        throw cannot(e.Message() + NotKept(false));
    }
    for (int number = 1; number <= 1000; ++number) {
        placed.file_name = NumberedName(path, kBesideTag, number);
        try {
            if (!PlaceWithoutReplacing(*temp, placed.file_name, bytes, beside_mode, placed.state)) continue;
        } catch (const Exception& e) {
            throw cannot(e.Message() + KeptIn(*temp, false));
        }
        SyncFolder(folder);
        return placed;
    }
    throw cannot("every name for it is taken." + KeptIn(*temp, false));
}

// Gives a complete temporary file of the workbook a visible name that says what it
// is, "<name> (saved copy).xlsx" (or "(saved copy 2)", ..., never over a file); that
// name, or nothing when the folder takes none.
std::optional<std::string> CopyName(const std::string& temp, const std::filesystem::path& target,
                                    const std::string& bytes, mode_t mode) {
    Package::FileState ignored;
    for (int number = 1; number <= 1000; ++number) {
        const std::string name = NumberedName(target, kCopyTag, number);
        try {
            if (PlaceWithoutReplacing(temp, name, bytes, mode, ignored)) return name;
        } catch (const Exception&) {
            return std::nullopt;
        }
    }
    return std::nullopt;
}

// What guards a save that writes over the workbook's own bytes.
struct Guard {
    std::string file;     // a complete copy of the new workbook, empty when none
    std::string why_not;  // why none could be made
};

// Puts a complete copy of the new workbook in the workbook's folder, flushed with its
// name, "<name> (saved copy).xlsx" (or "(saved copy 2)", ..., never over a file), so
// that a save cut off while the workbook is written over keeps the changes. From the
// complete temporary file when one is given, else written anew with the workbook's
// mode. A temporary file that finds no such name guards the save itself.
Guard KeepCopy(const std::filesystem::path& target, const std::filesystem::path& folder, const std::string& bytes,
               mode_t mode, std::optional<std::string> temp) {
    Guard guard;
    const mode_t copy_mode = (mode & 0777) | 0600;
    Package::FileState ignored;
    if (!temp) {
        try {
            temp = WriteTemporary(NumberedName(target, kCopyTag, 1), folder, target.filename().string(), nullptr,
                                  copy_mode, bytes, ignored);
        } catch (const SaveError& e) {
            guard.why_not = e.Reason();
            return guard;
        }
    }
    guard.file = CopyName(*temp, target, bytes, copy_mode).value_or(*temp);
    SyncFolder(folder);
    return guard;
}

// Writes the bytes to the file (target: its real path), whole or not at all, keeping
// its owner, group, mode, ACL, user attributes and other names. When still_as_read
// says the file is no longer the one read, the bytes go beside it; it is asked last
// before the file is replaced or written over.
Placed PlaceBytes(const std::string& file_name, const std::string& target, const std::string& bytes,
                  const std::function<std::optional<std::string>()>& still_as_read, mode_t mode_read) {
    namespace fs = std::filesystem;
    const fs::path path(target);
    const fs::path folder = FolderOf(path);
    const auto changed = [&]() -> std::optional<std::string> {
        return still_as_read ? still_as_read() : std::nullopt;
    };
    struct stat existing;
    const bool exists = ::stat(target.c_str(), &existing) == 0;
    if (exists && S_ISDIR(existing.st_mode)) throw SaveError(file_name, std::strerror(EISDIR));
    if (exists && !S_ISREG(existing.st_mode)) throw SaveError(file_name, "it is no regular file");
    // Written over in place only while a complete copy waits beside it (a temporary
    // file written already becomes that copy); the copy goes once the workbook holds
    // the bytes, and is kept and named when it does not. Where the folder takes no
    // new file, the save says so.
    const auto in_place = [&](std::optional<std::string> temp) -> Placed {
        const Guard guard = KeepCopy(path, folder, bytes, existing.st_mode, std::move(temp));
        if (const std::optional<std::string> reason = changed()) {
            if (!guard.file.empty()) ::unlink(guard.file.c_str());
            return WriteBeside(file_name, bytes, mode_read, *reason);
        }
        Placed placed{file_name, {}, {}, {}};
        try {
            placed.state = WriteInPlace(file_name, target, bytes);
        } catch (const SaveError& e) {
            throw Exception(e.Message() + (guard.file.empty() ? NotKept(e.Intact(), guard.why_not)
                                                              : KeptIn(guard.file, e.Intact())));
        }
        if (guard.file.empty()) {
            placed.notice = "The workbook \"" + file_name +
                            "\" is saved; it was written over in place with no copy of the changes beside it "
                            "first, since its folder takes no new file (" + guard.why_not + ").";
        } else {
            ::unlink(guard.file.c_str());
        }
        return placed;
    };
    if (!exists) {
        if (const std::optional<std::string> reason = changed()) return WriteBeside(file_name, bytes, mode_read, *reason);
    } else if (existing.st_nlink > 1) {
        return in_place(std::nullopt);
    }
    Placed placed{file_name, {}, {}, {}};
    std::optional<std::string> temp;
    try {
        temp = WriteTemporary(file_name, folder, path.filename().string(), exists ? &existing : nullptr, 0, bytes,
                              placed.state);
    } catch (const SaveError& e) {
        throw Exception(e.Message() + NotKept());
    }
    if (!temp) return in_place(std::nullopt);
    if (const std::optional<std::string> reason = changed()) {
        ::unlink(temp->c_str());
        return WriteBeside(file_name, bytes, mode_read, *reason);
    }
    if (Fails(SaveStep::Rename) || ::rename(temp->c_str(), target.c_str()) != 0) {
        const int code = errno;
        // A file that cannot be replaced (one mounted on its own, say) can still be
        // written over.
        if (exists) return in_place(temp);
        struct stat made;
        const mode_t mode = ::stat(temp->c_str(), &made) == 0 ? made.st_mode : 0600;
        throw Exception(SaveFailure(file_name, std::strerror(code)) +
                        KeptIn(KeepCopy(path, folder, bytes, mode, temp).file, false));
    }
    SyncFolder(folder);
    return placed;
}

std::string ReadWhole(const std::string& file_name, Package::FileState& state);

// The bytes to the file through its real path (see PlaceBytes). The complete
// workbooks that saves cut off earlier left hidden beside it get visible names
// first, which the notice gives.
Placed ReplaceFile(const std::string& file_name, const std::string& bytes,
                   const std::function<std::optional<std::string>()>& still_as_read, mode_t mode_read) {
    namespace fs = std::filesystem;
    const std::string target = RealTarget(file_name);
    const fs::path path(target);
    const fs::path folder = FolderOf(path);
    std::vector<std::string> recovered;
    for (const std::string& temp : RemoveStaleTemporaries(folder, path.filename().string())) {
        try {
            Package::FileState state;
            const std::string left = ReadWhole(temp, state);
            if (const std::optional<std::string> name = CopyName(temp, path, left, (state.mode & 0777) | 0600))
                recovered.push_back(*name);
        } catch (const Exception&) {
        }
    }
    if (!recovered.empty()) SyncFolder(folder);
    Placed placed = PlaceBytes(file_name, target, bytes, still_as_read, mode_read);
    for (const std::string& name : recovered)
        placed.notice += std::string(placed.notice.empty() ? "" : " ") + "A save of \"" + file_name +
                         "\" that was cut off earlier left the workbook it was saving; it is kept in \"" + name +
                         "\".";
    return placed;
}

// The whole file as it is now, and its state; raises Exception with the reason.
std::string ReadWhole(const std::string& file_name, Package::FileState& state) {
    // A file that changes while it is read is read again.
    for (int attempt = 0; attempt < 3; ++attempt) {
        const int fd = ::open(file_name.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
        if (fd < 0) {
            if (errno == ENOENT) throw Exception(OpenFailure(file_name, "the file does not exist"));
            throw Exception(OpenFailure(file_name, std::strerror(errno)));
        }
        const auto fail = [&](const std::string& reason) {
            ::close(fd);
            throw Exception(OpenFailure(file_name, reason));
        };
        struct stat before, after;
        if (::fstat(fd, &before) != 0) fail(std::strerror(errno));
        if (S_ISDIR(before.st_mode)) fail(std::strerror(EISDIR));
        if (!S_ISREG(before.st_mode)) fail("it is no regular file");
        if (static_cast<zip_uint64_t>(before.st_size) > kMaxPartSize) fail("it is too large");
        std::string bytes;
        bytes.reserve(static_cast<size_t>(before.st_size));
        char chunk[65536];
        for (;;) {
            const ssize_t n = ::read(fd, chunk, sizeof chunk);
            if (n < 0 && errno == EINTR) continue;
            if (n < 0) fail(std::strerror(errno));
            if (n == 0) break;
            bytes.append(chunk, static_cast<size_t>(n));
            if (bytes.size() > kMaxPartSize) fail("it is too large");
        }
        if (::fstat(fd, &after) != 0) fail(std::strerror(errno));
        ::close(fd);
        state = StateOf(after);
        const Package::FileState first = StateOf(before);
        if (first.size == state.size && first.modified_ns == state.modified_ns &&
            bytes.size() == static_cast<size_t>(state.size))
            return bytes;
    }
    throw Exception(OpenFailure(file_name, "another program keeps writing it"));
}

bool SameFileName(const std::string& a, const std::string& b) {
    namespace fs = std::filesystem;
    if (a == b) return true;
    std::error_code error;
    const fs::path x = fs::absolute(a, error).lexically_normal();
    if (error) return false;
    const fs::path y = fs::absolute(b, error).lexically_normal();
    return !error && x == y;
}

zip_t* OpenArchive(const std::string& file_name, const std::string& bytes) {
    zip_error_t error;
    zip_error_init(&error);
    zip_source_t* source = zip_source_buffer_create(bytes.data(), bytes.size(), 0, &error);
    if (!source) {
        const std::string reason = zip_error_strerror(&error);
        zip_error_fini(&error);
        throw Exception(OpenFailure(file_name, reason));
    }
    zip_t* archive = zip_open_from_source(source, ZIP_RDONLY | ZIP_CHECKCONS, &error);
    if (archive) return archive;
    zip_source_free(source);
    const int code = zip_error_code_zip(&error);
    zip_error_fini(&error);
    if (code == ZIP_ER_NOZIP || code == ZIP_ER_INCONS)
        throw Exception(OpenFailure(file_name, "it is no .xlsx workbook (the file is damaged, encrypted or of "
                                               "another format)"));
    throw Exception(OpenFailure(file_name, ZipErrorText(code)));
}

}  // namespace

std::string OpenFailure(const std::string& file_name, const std::string& reason) {
    return "Cannot open the workbook \"" + file_name + "\": " + reason + ".";
}

void SetSaveTestHooks(SaveTestHooks hooks) { test_hooks = std::move(hooks); }

std::string WithKeptCopy(const std::string& file_name, const std::string& message) {
    namespace fs = std::filesystem;
    std::string target;
    try {
        target = RealTarget(file_name);
    } catch (const Exception&) {
        return message;
    }
    const fs::path path(target);
    const fs::path folder = FolderOf(path);
    // "<stem> (saved copy).<ext>" or "<stem> (saved copy <n>).<ext>"
    const std::string start = path.stem().string() + " (" + kCopyTag;
    const std::string end = ")" + path.extension().string();
    std::string newest;
    std::int64_t newest_ns = 0;
    std::error_code error;
    for (fs::directory_iterator it(folder, error), last; !error && it != last; it.increment(error)) {
        const std::string entry = it->path().filename().string();
        if (entry.size() < start.size() + end.size() || entry.rfind(start, 0) != 0 || !EndsWith(entry, end)) continue;
        const std::string number = entry.substr(start.size(), entry.size() - start.size() - end.size());
        if (!number.empty() && (number[0] != ' ' || !AllDigits(number.substr(1), 4))) continue;
        struct stat st;
        if (::stat(it->path().c_str(), &st) != 0 || !S_ISREG(st.st_mode) || !WholePackage(it->path())) continue;
        const std::int64_t ns = StateOf(st).modified_ns;
        if (newest.empty() || ns > newest_ns) {
            newest = it->path().string();
            newest_ns = ns;
        }
    }
    if (newest.empty()) return message;
    return message + " A save of it may have been cut off while it wrote the workbook over; the workbook it was "
                     "saving is kept in \"" + newest + "\".";
}

std::optional<std::string> SaveRefusal(const std::string& file_name) {
    struct stat st;
    if (::stat(file_name.c_str(), &st) != 0) return SaveFailure(file_name, std::strerror(errno));
    // Marked read-only by its owner: kept so even for a user who could override it.
    if ((st.st_mode & 0222) == 0) return SaveFailure(file_name, "it is read-only");
    if (::access(file_name.c_str(), W_OK) != 0) return SaveFailure(file_name, std::strerror(errno));
    return std::nullopt;
}

Package::Package(const std::string& file_name) : file_name_(file_name) {
    bytes_ = std::make_unique<const std::string>(ReadWhole(file_name, state_));
    try {
        archive_ = OpenArchive(file_name, *bytes_);
    } catch (const Exception& e) {
        throw Exception(WithKeptCopy(file_name, e.Message()));
    }
}

Package::~Package() {
    if (archive_) zip_discard(archive_);
}

std::string Package::StoredName(const std::string& part) const {
    const zip_int64_t index = zip_name_locate(archive_, part.c_str(), ZIP_FL_NOCASE);
    if (index < 0) return {};
    const char* name = zip_get_name(archive_, static_cast<zip_uint64_t>(index), 0);
    return name ? name : "";
}

std::string Package::Read(const std::string& part) const {
    const zip_int64_t index = zip_name_locate(archive_, part.c_str(), ZIP_FL_NOCASE);
    if (index < 0) throw Exception(OpenFailure(file_name_, "the part " + part + " is missing"));
    zip_stat_t st;
    if (zip_stat_index(archive_, static_cast<zip_uint64_t>(index), 0, &st) < 0 || !(st.valid & ZIP_STAT_SIZE))
        throw Exception(OpenFailure(file_name_, "the part " + part + " cannot be read"));
    if (st.size > kMaxPartSize) throw Exception(OpenFailure(file_name_, "the part " + part + " is too large"));
    zip_file_t* file = zip_fopen_index(archive_, static_cast<zip_uint64_t>(index), 0);
    if (!file)
        throw Exception(OpenFailure(file_name_, "the part " + part + " cannot be read: " +
                                                    zip_error_strerror(zip_get_error(archive_))));
    std::string bytes(static_cast<size_t>(st.size), '\0');
    zip_uint64_t done = 0;
    while (done < st.size) {
        const zip_int64_t n = zip_fread(file, bytes.data() + done, st.size - done);
        if (n <= 0) {
            std::string reason = n < 0 ? zip_error_strerror(zip_file_get_error(file)) : "it ends early";
            zip_fclose(file);
            throw Exception(OpenFailure(file_name_, "the part " + part + " is damaged: " + reason));
        }
        done += static_cast<zip_uint64_t>(n);
    }
    char extra;
    const zip_int64_t more = zip_fread(file, &extra, 1);  // also where the checksum is tested
    zip_fclose(file);
    if (more != 0) throw Exception(OpenFailure(file_name_, "the part " + part + " is damaged"));
    return bytes;
}

WriteOutcome Package::Write(const std::string& file_name, const std::map<std::string, std::string>& replaced,
                           const std::set<std::string>& dropped) {
    std::unique_ptr<const std::string> bytes;
    try {
        bytes = std::make_unique<const std::string>(BuildArchive(archive_, replaced, dropped));
    } catch (const Exception& e) {
        throw SaveError(file_name, e.Message());
    }
    std::function<std::optional<std::string>()> still_as_read;
    if (SameFileName(file_name, file_name_)) still_as_read = [this] { return ChangeOnDisk(); };
    const Placed placed = ReplaceFile(file_name, *bytes, still_as_read, state_.mode);
    zip_t* reopened = OpenArchive(placed.file_name, *bytes);
    zip_discard(archive_);
    archive_ = reopened;
    bytes_ = std::move(bytes);
    state_ = placed.state;
    file_name_ = placed.file_name;
    return {placed.file_name, placed.diverted_because, placed.notice};
}

std::optional<std::string> Package::ChangeOnDisk() const {
    struct stat now;
    if (::stat(file_name_.c_str(), &now) != 0) {
        if (errno == ENOENT) return std::string("was removed or renamed by another program");
        return std::string("can no longer be reached (") + std::strerror(errno) + ")";
    }
    // Only the bytes count: a touch, or a copy of the same bytes put in its place (as
    // backup and sync tools do), leaves nothing to keep.
    const FileState state = StateOf(now);
    const std::string changed = state.device != state_.device || state.inode != state_.inode
                                    ? "was replaced by another program"
                                    : "was changed by another program";
    if (state.size != state_.size) return changed;
    try {
        FileState ignored;
        if (ReadWhole(file_name_, ignored) != *bytes_) return changed;
    } catch (const Exception&) {
        return std::string("can no longer be read");
    }
    return std::nullopt;
}

std::optional<std::string> OfficeLockFile(const std::string& file_name) {
    namespace fs = std::filesystem;
    std::vector<fs::path> places = {fs::path(file_name)};
    try {
        const std::string real = RealTarget(file_name);
        if (real != file_name) places.emplace_back(real);
    } catch (const Exception&) {
    }
    for (const fs::path& place : places) {
        const std::string name = place.filename().string();
        for (const std::string& lock : {".~lock." + name + "#", "~$" + name}) {
            const fs::path candidate = place.parent_path() / lock;
            struct stat st;
            if (::lstat(candidate.c_str(), &st) == 0) return candidate.string();
        }
    }
    return std::nullopt;
}

}  // namespace sheet
