#include "platform/sheet/package.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>
#include <zip.h>

#include <atomic>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
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

// Temporary files of ours beside a workbook: ".<name>.zorv-<process>-<count>.tmp".
std::string TemporaryPrefix(const std::string& name) { return "." + name + ".zorv-"; }

bool EndsWith(const std::string& text, const std::string& end) {
    return text.size() >= end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}

// Removes the temporary files that a save of this workbook left when its process
// ended during the save; those of a process still running are its own business.
void RemoveStaleTemporaries(const std::filesystem::path& folder, const std::string& name) {
    namespace fs = std::filesystem;
    const std::string prefix = TemporaryPrefix(name);
    std::error_code error;
    for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
        const std::string entry = it->path().filename().string();
        if (entry.rfind(prefix, 0) != 0 || !EndsWith(entry, ".tmp")) continue;
        const std::string process = entry.substr(prefix.size(), entry.find('-', prefix.size()) - prefix.size());
        // A process id has at most 7 digits; a longer run is not one of ours.
        if (process.empty() || process.size() > 9 || process.find_first_not_of("0123456789") != std::string::npos)
            continue;
        const pid_t pid = static_cast<pid_t>(std::stol(process));
        if (pid == getpid() || pid <= 0) continue;
        if (::kill(pid, 0) != 0 && errno == ESRCH) ::unlink(it->path().c_str());
    }
}

// The file a save writes into: the one behind a symbolic link, or the name itself
// for a file that does not exist yet.
std::string RealTarget(const std::string& file_name) {
    struct stat link;
    if (::lstat(file_name.c_str(), &link) != 0 || !S_ISLNK(link.st_mode)) return file_name;
    char* real = ::realpath(file_name.c_str(), nullptr);
    if (!real) throw Exception(SaveFailure(file_name, std::string("the link leads nowhere (") + std::strerror(errno) + ")"));
    std::string out = real;
    std::free(real);
    return out;
}

bool WriteAll(int fd, const std::string& bytes, bool seek, bool hook = true) {
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
        if (hook && done == half && test_hooks.half_written) test_hooks.half_written();
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

// Writes the bytes into a new file in the folder, complete and on disk, and gives it
// a temporary name there (returned), for the caller to put in its place. The file has
// the owner, group and mode of the existing file when one is given, else the mode
// given. It has no name while it is written where the file system allows, so a
// process killed meanwhile leaves nothing behind. Nothing when no such file can be
// made here (a folder the user may not write) or given the existing file's owner.
std::optional<std::string> WriteTemporary(const std::string& file_name, const std::filesystem::path& folder,
                                          const std::string& base_name, const struct stat* existing, mode_t mode,
                                          const std::string& bytes, Package::FileState& state) {
    const std::filesystem::path temp = folder / (TemporaryPrefix(base_name) + std::to_string(getpid()) + "-" +
                                                 std::to_string(temp_counter++) + ".tmp");
    const mode_t create_mode = existing || mode != 0 ? 0600 : 0666;
    bool named = false;
    int fd = test_hooks.named_temporary ? -1 : ::open(folder.c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, create_mode);
    if (fd < 0 && (test_hooks.named_temporary || errno == EOPNOTSUPP || errno == EISDIR || errno == EINVAL)) {
        fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, create_mode);
        named = true;
    }
    if (fd < 0) {
        if (existing && (errno == EACCES || errno == EPERM || errno == EROFS)) return std::nullopt;
        throw Exception(SaveFailure(file_name, std::strerror(errno)));
    }
    const auto fail = [&](int code) {
        ::close(fd);
        if (named) ::unlink(temp.c_str());
        throw Exception(SaveFailure(file_name, std::strerror(code)));
    };
    if (existing) {
        struct stat mine;
        if (::fstat(fd, &mine) != 0) fail(errno);
        if ((mine.st_uid != existing->st_uid || mine.st_gid != existing->st_gid) &&
            ::fchown(fd, existing->st_uid, existing->st_gid) != 0) {
            ::close(fd);
            if (named) ::unlink(temp.c_str());
            return std::nullopt;
        }
        // After the owner, which clears the set-id bits.
        if (::fchmod(fd, existing->st_mode & 07777) != 0) fail(errno);
    } else if (mode != 0 && ::fchmod(fd, mode & 0777) != 0) {
        fail(errno);
    }
    if (!WriteAll(fd, bytes, false) || ::fsync(fd) != 0) fail(errno);
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
        throw Exception(SaveFailure(file_name, std::strerror(code)));
    }
    return temp.string();
}

// Writes the bytes over the target's own content, for a file that must keep its
// place: one with several names (hard links), or one whose owner or folder does not
// let us make its replacement. The space is taken first, so a full disk stops the
// save before anything changes; a write that fails then puts the old bytes back.
Package::FileState WriteInPlace(const std::string& file_name, const std::string& target, const std::string& bytes) {
    std::string old;
    {
        const int in = ::open(target.c_str(), O_RDONLY | O_CLOEXEC);
        if (in < 0) throw Exception(SaveFailure(file_name, std::strerror(errno)));
        char chunk[65536];
        for (;;) {
            const ssize_t n = ::read(in, chunk, sizeof chunk);
            if (n < 0 && errno == EINTR) continue;
            if (n < 0) {
                const int code = errno;
                ::close(in);
                throw Exception(SaveFailure(file_name, std::strerror(code)));
            }
            if (n == 0) break;
            old.append(chunk, static_cast<size_t>(n));
        }
        ::close(in);
    }
    const int fd = ::open(target.c_str(), O_WRONLY | O_CLOEXEC);
    if (fd < 0) throw Exception(SaveFailure(file_name, std::strerror(errno)));
    if (bytes.size() > old.size()) {
        const int code = ::posix_fallocate(fd, 0, static_cast<off_t>(bytes.size()));
        if (code != 0 && code != EOPNOTSUPP && code != EINVAL) {
            ::close(fd);
            throw Exception(SaveFailure(file_name, std::strerror(code)));
        }
    }
    if (!WriteAll(fd, bytes, true) || ::ftruncate(fd, static_cast<off_t>(bytes.size())) != 0 || ::fsync(fd) != 0) {
        const int code = errno;
        // Best effort: the old workbook back as it was.
        if (WriteAll(fd, old, true, false)) {
            (void)::ftruncate(fd, static_cast<off_t>(old.size()));
            ::fsync(fd);
        }
        ::close(fd);
        throw Exception(SaveFailure(file_name, std::strerror(code)));
    }
    struct stat written;
    const bool known = ::fstat(fd, &written) == 0;
    if (::close(fd) != 0 || !known) throw Exception(SaveFailure(file_name, std::strerror(errno)));
    return StateOf(written);
}

// Gives the finished temporary file the name without replacing a file that has it;
// false when one has.
bool PlaceWithoutReplacing(const std::string& temp, const std::string& name) {
    if (::link(temp.c_str(), name.c_str()) == 0) {
        ::unlink(temp.c_str());
        return true;
    }
    if (errno == EEXIST) return false;
    // File systems without hard links.
    if ((errno == EPERM || errno == EOPNOTSUPP || errno == ENOSYS) &&
        ::renameat2(AT_FDCWD, temp.c_str(), AT_FDCWD, name.c_str(), RENAME_NOREPLACE) == 0)
        return true;
    const int code = errno;
    if (code == EEXIST) return false;
    ::unlink(temp.c_str());
    throw Exception(SaveFailure(name, std::strerror(code)));
}

// "cases.xlsx" gives "cases (results).xlsx", then "cases (results 2).xlsx".
std::string BesideName(const std::filesystem::path& file, int number) {
    const std::string tag = number == 1 ? " (results)" : " (results " + std::to_string(number) + ")";
    return (file.parent_path() / (file.stem().string() + tag + file.extension().string())).string();
}

struct Placed {
    std::string file_name;
    Package::FileState state;
    std::string diverted_because;
};

// The workbook asked for is left as another program made it: the bytes go to a new
// file beside it, with the mode of the workbook as it was read.
Placed WriteBeside(const std::string& file_name, const std::string& bytes, mode_t mode, const std::string& reason) {
    namespace fs = std::filesystem;
    const fs::path path(file_name);
    const fs::path folder = path.has_parent_path() ? path.parent_path() : fs::path(".");
    const auto cannot = [&](const std::string& why) {
        return Exception("The workbook \"" + file_name + "\" " + reason +
                         " since it was opened and is left as it is; it cannot be saved beside it: " + why);
    };
    Placed placed;
    placed.diverted_because = reason;
    std::optional<std::string> temp;
    try {
        temp = WriteTemporary(BesideName(path, 1), folder, path.filename().string(), nullptr, (mode & 0777) | 0600,
                              bytes, placed.state);
    } catch (const Exception& e) {
        throw cannot(e.Message());
    }
    for (int number = 1; number <= 1000; ++number) {
        placed.file_name = BesideName(path, number);
        try {
            if (!PlaceWithoutReplacing(*temp, placed.file_name)) continue;
        } catch (const Exception& e) {
            throw cannot(e.Message());
        }
        SyncFolder(folder);
        return placed;
    }
    ::unlink(temp->c_str());
    throw cannot("every name for it is taken.");
}

// Writes the bytes to the file, whole or not at all, through its real path, keeping
// its owner, group, mode and other names. When still_as_read says the file is no
// longer the one read, the bytes go beside it; it is asked last before the file is
// replaced.
Placed ReplaceFile(const std::string& file_name, const std::string& bytes,
                   const std::function<std::optional<std::string>()>& still_as_read, mode_t mode_read) {
    namespace fs = std::filesystem;
    const std::string target = RealTarget(file_name);
    const fs::path path(target);
    const fs::path folder = path.has_parent_path() ? path.parent_path() : fs::path(".");
    RemoveStaleTemporaries(folder, path.filename().string());
    const auto changed = [&]() -> std::optional<std::string> {
        return still_as_read ? still_as_read() : std::nullopt;
    };
    struct stat existing;
    const bool exists = ::stat(target.c_str(), &existing) == 0;
    if (exists && S_ISDIR(existing.st_mode)) throw Exception(SaveFailure(file_name, std::strerror(EISDIR)));
    if (exists && !S_ISREG(existing.st_mode)) throw Exception(SaveFailure(file_name, "it is no regular file"));
    const auto in_place = [&]() -> Placed {
        if (const std::optional<std::string> reason = changed()) return WriteBeside(file_name, bytes, mode_read, *reason);
        return {file_name, WriteInPlace(file_name, target, bytes), {}};
    };
    if (!exists) {
        if (const std::optional<std::string> reason = changed()) return WriteBeside(file_name, bytes, mode_read, *reason);
    } else if (existing.st_nlink > 1) {
        return in_place();
    }
    Placed placed{file_name, {}, {}};
    const std::optional<std::string> temp = WriteTemporary(file_name, folder, path.filename().string(),
                                                           exists ? &existing : nullptr, 0, bytes, placed.state);
    if (!temp) return in_place();
    if (const std::optional<std::string> reason = changed()) {
        ::unlink(temp->c_str());
        return WriteBeside(file_name, bytes, mode_read, *reason);
    }
    if (::rename(temp->c_str(), target.c_str()) != 0) {
        const int code = errno;
        ::unlink(temp->c_str());
        throw Exception(SaveFailure(file_name, std::strerror(code)));
    }
    SyncFolder(folder);
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
    archive_ = OpenArchive(file_name, *bytes_);
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
        throw Exception(SaveFailure(file_name, e.Message()));
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
    return {placed.file_name, placed.diverted_because};
}

std::optional<std::string> Package::ChangeOnDisk() const {
    struct stat now;
    if (::stat(file_name_.c_str(), &now) != 0) {
        if (errno == ENOENT) return std::string("was removed or renamed by another program");
        return std::string("can no longer be reached (") + std::strerror(errno) + ")";
    }
    const FileState state = StateOf(now);
    if (state.device != state_.device || state.inode != state_.inode) return std::string("was replaced by another program");
    if (state.size != state_.size || state.modified_ns != state_.modified_ns)
        return std::string("was changed by another program");
    // A coarse file clock can hide a rewrite of the same size; the bytes cannot.
    try {
        FileState ignored;
        if (ReadWhole(file_name_, ignored) != *bytes_) return std::string("was changed by another program");
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
