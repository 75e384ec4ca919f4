#include "platform/sheet/package.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <zip.h>

#include <atomic>
#include <cerrno>
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

// Writes bytes to the file through a temporary file beside it, which takes the
// file's place only once it is complete and on disk.
void ReplaceFile(const std::string& file_name, const std::string& bytes) {
    namespace fs = std::filesystem;
    const fs::path target(file_name);
    const fs::path folder = target.has_parent_path() ? target.parent_path() : fs::path(".");
    const fs::path temp = folder / ("." + target.filename().string() + "." + std::to_string(getpid()) + "-" +
                                    std::to_string(temp_counter++) + ".tmp");
    const int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0) throw Exception(SaveFailure(file_name, std::strerror(errno)));
    const auto fail = [&](int code) {
        ::close(fd);
        ::unlink(temp.c_str());
        throw Exception(SaveFailure(file_name, std::strerror(code)));
    };
    struct stat existing;
    if (::stat(file_name.c_str(), &existing) == 0 && ::fchmod(fd, existing.st_mode & 07777) != 0) fail(errno);
    for (size_t done = 0; done < bytes.size();) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0) {
            if (errno == EINTR) continue;
            fail(errno);
        }
        done += static_cast<size_t>(n);
    }
    if (::fsync(fd) != 0) fail(errno);
    if (::close(fd) != 0) {
        const int code = errno;
        ::unlink(temp.c_str());
        throw Exception(SaveFailure(file_name, std::strerror(code)));
    }
    if (::rename(temp.c_str(), file_name.c_str()) != 0) {
        const int code = errno;
        ::unlink(temp.c_str());
        throw Exception(SaveFailure(file_name, std::strerror(code)));
    }
    const int dir = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir >= 0) {
        ::fsync(dir);
        ::close(dir);
    }
}

zip_t* OpenArchive(const std::string& file_name) {
    int code = 0;
    zip_t* archive = zip_open(file_name.c_str(), ZIP_RDONLY | ZIP_CHECKCONS, &code);
    if (archive) return archive;
    if (code == ZIP_ER_NOENT) throw Exception(OpenFailure(file_name, "the file does not exist"));
    if (code == ZIP_ER_OPEN || code == ZIP_ER_READ)
        throw Exception(OpenFailure(file_name, ZipErrorText(code) + " (" + std::strerror(errno) + ")"));
    if (code == ZIP_ER_NOZIP || code == ZIP_ER_INCONS)
        throw Exception(OpenFailure(file_name, "it is no .xlsx workbook (the file is damaged, encrypted or of "
                                               "another format)"));
    throw Exception(OpenFailure(file_name, ZipErrorText(code)));
}

}  // namespace

std::string OpenFailure(const std::string& file_name, const std::string& reason) {
    return "Cannot open the workbook \"" + file_name + "\": " + reason + ".";
}

Package::Package(const std::string& file_name) : file_name_(file_name), archive_(OpenArchive(file_name)) {}

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

void Package::Write(const std::string& file_name, const std::map<std::string, std::string>& replaced,
                    const std::set<std::string>& dropped) {
    std::string bytes;
    try {
        bytes = BuildArchive(archive_, replaced, dropped);
    } catch (const Exception& e) {
        throw Exception(SaveFailure(file_name, e.Message()));
    }
    ReplaceFile(file_name, bytes);
    zip_t* reopened = OpenArchive(file_name);
    zip_discard(archive_);
    archive_ = reopened;
    file_name_ = file_name;
}

}  // namespace sheet
