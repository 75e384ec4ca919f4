#pragma once
// The report files of the service: written per client and project under one
// folder, and served back over GET at "/Reports/<client>/<file>", the path
// that the result names with backslashes ("Reports\<client>\<file>").
#include <cstddef>
#include <filesystem>
#include <memory>
#include <mutex>
#include <string>

namespace zorv_service {

inline constexpr char kReportPrefix[] = "/Reports/";
inline constexpr std::size_t kMaxReportBytes = 1u << 20;
inline constexpr std::size_t kMaxReportClients = 512;
inline constexpr std::size_t kMaxReportsPerClient = 64;

class ReportStore {
public:
    // Uses the folder, creating it; throws std::runtime_error when it cannot.
    explicit ReportStore(std::filesystem::path root);
    // A fresh folder under the system's temporary folder, removed with the store. It
    // is made when the first report is written, so a service that writes none needs
    // no writable temporary folder; until then the store holds no report.
    static std::unique_ptr<ReportStore> Temporary();
    ~ReportStore();
    ReportStore(const ReportStore&) = delete;
    ReportStore& operator=(const ReportStore&) = delete;

    // The folder; empty for a temporary store that has written nothing yet.
    std::filesystem::path Root() const;

    // The name a client or project text takes in a path: letters, digits, "_"
    // and "-" kept, anything else "_", at most 64 characters, never empty.
    static std::string SafeName(const std::string& text, const char* fallback);
    // "Reports\<client>\<file>" for names already made safe.
    static std::string WirePath(const std::string& client, const std::string& file);

    // Writes the whole file or nothing (a temporary file renamed into place).
    bool Write(const std::string& client, const std::string& file, const std::string& content, std::string& error);
    // Answers GET of a target under kReportPrefix: 200 with the file, 404 when
    // there is none, 400 for a path that could leave the folder.
    int Read(const std::string& target, std::string& body, std::string& content_type) const;
    // Removes the client's folder; true when there was one.
    bool RemoveClient(const std::string& client);

private:
    ReportStore() = default;
    // Makes the temporary folder if it is not there yet (mutex held).
    bool HaveRoot(std::string& error);

    std::filesystem::path root_;
    bool owned_ = false;
    mutable std::mutex mutex_;
};

inline bool IsReportTarget(const std::string& target) { return target.rfind(kReportPrefix, 0) == 0; }

}  // namespace zorv_service
