#include "design_service/reports.h"

#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstring>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <system_error>
#include <vector>

namespace zorv_service {
namespace fs = std::filesystem;
namespace {

// One path segment as the store writes them: a safe name, with at most one
// extension of its own.
bool IsSegment(const std::string& s) {
    if (s.empty() || s.size() > 80 || s[0] == '.') return false;
    for (char c : s) {
        bool ok = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_' ||
                  c == '-' || c == '.';
        if (!ok) return false;
    }
    return s.find("..") == std::string::npos;
}

const char* ContentType(const std::string& file) {
    if (file.size() > 4 && file.compare(file.size() - 4, 4, ".xls") == 0) return "application/vnd.ms-excel";
    return "text/plain; charset=utf-8";
}

std::size_t Count(const fs::path& folder) {
    std::error_code ec;
    std::size_t n = 0;
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) ++n;
    return n;
}

}  // namespace

ReportStore::ReportStore(fs::path root) : root_(std::move(root)) {
    std::error_code ec;
    fs::create_directories(root_, ec);
    if (ec || !fs::is_directory(root_)) throw std::runtime_error("cannot make the report folder " + root_.string());
}

std::unique_ptr<ReportStore> ReportStore::Temporary() {
    std::unique_ptr<ReportStore> store(new ReportStore);
    store->owned_ = true;
    return store;
}

bool ReportStore::HaveRoot(std::string& error) {
    if (!root_.empty()) return true;
    std::error_code ec;
    fs::path base = fs::temp_directory_path(ec);
    if (ec) base = "/tmp";
    std::string pattern = (base / "zorv-reports-XXXXXX").string();
    std::vector<char> name(pattern.begin(), pattern.end());
    name.push_back('\0');
    if (!::mkdtemp(name.data())) {
        error = "cannot make a temporary report folder in " + base.string() + " (" + std::strerror(errno) + ")";
        return false;
    }
    root_ = name.data();
    return true;
}

fs::path ReportStore::Root() const {
    std::lock_guard lock(mutex_);
    return root_;
}

ReportStore::~ReportStore() {
    if (!owned_ || root_.empty()) return;
    std::error_code ec;
    fs::remove_all(root_, ec);
}

std::string ReportStore::SafeName(const std::string& text, const char* fallback) {
    std::string out;
    for (char c : text) {
        if (out.size() >= 64) break;
        bool keep = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_' || c == '-';
        out += keep ? c : '_';
    }
    return out.empty() ? fallback : out;
}

std::string ReportStore::WirePath(const std::string& client, const std::string& file) {
    return "Reports\\" + client + "\\" + file;
}

bool ReportStore::Write(const std::string& client, const std::string& file, const std::string& content,
                        std::string& error) {
    if (!IsSegment(client) || !IsSegment(file)) {
        error = "not a report name";
        return false;
    }
    if (content.size() > kMaxReportBytes) {
        error = "the report is larger than the service keeps";
        return false;
    }
    std::lock_guard lock(mutex_);
    if (!HaveRoot(error)) return false;
    const fs::path folder = root_ / client;
    std::error_code ec;
    if (!fs::is_directory(folder, ec)) {
        if (Count(root_) >= kMaxReportClients) {
            error = "the service keeps reports for no more clients";
            return false;
        }
        fs::create_directories(folder, ec);
        if (ec) {
            error = "cannot make the client's report folder";
            return false;
        }
    }
    const fs::path target = folder / file;
    if (!fs::exists(target, ec) && Count(folder) >= kMaxReportsPerClient) {
        error = "the service keeps no more reports for this client";
        return false;
    }
    static std::atomic<unsigned> serial{0};
    const fs::path temporary =
        folder / ("." + file + ".part" + std::to_string(::getpid()) + "-" + std::to_string(serial++));
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        out.write(content.data(), static_cast<std::streamsize>(content.size()));
        out.close();
        if (!out) {
            fs::remove(temporary, ec);
            error = "cannot write the report";
            return false;
        }
    }
    fs::rename(temporary, target, ec);
    if (ec) {
        fs::remove(temporary, ec);
        error = "cannot put the report in place";
        return false;
    }
    return true;
}

int ReportStore::Read(const std::string& target, std::string& body, std::string& content_type) const {
    content_type = "text/plain";
    const std::string rest = target.substr(std::char_traits<char>::length(kReportPrefix));
    const std::size_t slash = rest.find('/');
    const std::string client = slash == std::string::npos ? rest : rest.substr(0, slash);
    const std::string file = slash == std::string::npos ? "" : rest.substr(slash + 1);
    if (!IsSegment(client) || !IsSegment(file)) {
        body = "Not a report path\n";
        return rest.find("..") != std::string::npos || rest.find('\\') != std::string::npos || rest.empty() ||
                       rest[0] == '/'
                   ? 400
                   : 404;
    }
    std::lock_guard lock(mutex_);
    if (root_.empty()) {
        body = "No such report\n";
        return 404;
    }
    const fs::path path = root_ / client / file;
    std::error_code ec;
    if (!fs::is_regular_file(path, ec) || fs::file_size(path, ec) > kMaxReportBytes) {
        body = "No such report\n";
        return 404;
    }
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    if (!in && !in.eof()) {
        body = "No such report\n";
        return 404;
    }
    body = text.str();
    content_type = ContentType(file);
    return 200;
}

bool ReportStore::RemoveClient(const std::string& client) {
    const std::string name = SafeName(client, "");
    if (name.empty()) return false;
    std::lock_guard lock(mutex_);
    if (root_.empty()) return false;
    std::error_code ec;
    const fs::path folder = root_ / name;
    if (!fs::is_directory(folder, ec)) return false;
    return fs::remove_all(folder, ec) > 0 && !ec;
}

}  // namespace zorv_service
