// Requests to the design service: the one guarded GET, the reply text and its cuts,
// the two senders, the start-up queries and the removal requests.
#include "service/service_link.h"

#include <optional>
#include <string_view>
#include <utility>

#include "app/DOVEREFORM.h"
#include "platform/http/TDSHTTP.h"
#include "platform/os/adapters.h"
#include "platform/text/number_text.h"
#include "platform/text/utf.h"

namespace service_link {

std::string ServiceUrl(const std::string& host, const std::string& port, const std::string& path,
                       const std::string& argument) {
    return "http://" + host + ":" + port + path + argument;
}

namespace {

bool IsContinuation(char c) { return (static_cast<unsigned char>(c) & 0xC0) == 0x80; }

}  // namespace

std::string DecodeReplyText(const std::vector<unsigned char>& body, std::size_t offset) {
    if (body.size() <= offset) return {};
    const unsigned char* data = body.data() + offset;
    const std::size_t size = body.size() - offset;
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    if (bytes.starts_with("\xEF\xBB\xBF")) return text::RepairUtf8(bytes.substr(3));
    if (size >= 2 && data[0] == 0xFF && data[1] == 0xFE) return text::Utf16ToUtf8(data + 2, size - 2, true);
    if (size >= 2 && data[0] == 0xFE && data[1] == 0xFF) return text::Utf16ToUtf8(data + 2, size - 2, false);
    // Labels and requests take only valid UTF-8.
    return text::RepairUtf8(bytes);
}

namespace {

// Where the text without its first `first` and last `last` characters lies; none when
// it is too short for the cut. A character is a lead byte with the continuation bytes
// after it (a text that starts with continuation bytes starts with one character made
// of them). Only the characters cut are walked, so a long reply costs nothing here.
std::optional<std::pair<std::size_t, std::size_t>> CutBounds(std::string_view text, std::size_t first,
                                                             std::size_t last) {
    std::size_t begin = 0;
    for (std::size_t k = 0; k < first; ++k) {
        if (begin >= text.size()) return std::nullopt;
        ++begin;
        while (begin < text.size() && IsContinuation(text[begin])) ++begin;
    }
    if (begin >= text.size()) return std::nullopt;
    std::size_t end = text.size();
    for (std::size_t k = 0; k < last; ++k) {
        // Back to the start of the character before `end`; the one at `begin` must stay.
        do --end;
        while (end > begin && IsContinuation(text[end]));
        if (end <= begin) return std::nullopt;
    }
    return std::pair{begin, end};
}

}  // namespace

std::string CutCharacters(const std::string& text, std::size_t first, std::size_t last) {
    const auto bounds = CutBounds(text, first, last);
    if (!bounds) return {};
    return text.substr(bounds->first, bounds->second - bounds->first);
}

std::string RewrapObject(const std::string& text) {
    const auto bounds = CutBounds(text, 1, 3);
    const std::string_view inner =
        bounds ? std::string_view(text).substr(bounds->first, bounds->second - bounds->first) : std::string_view();
    // Built once at its final size: a run result may be tens of megabytes.
    std::string object;
    object.reserve(inner.size() + 2);
    object += '{';
    object += inner;
    object += '}';
    return object;
}

std::string OwnVersionDigits(const std::string& client_version, bool nz_edition) {
    return CutCharacters(client_version, nz_edition ? 3 : 1, 0);
}

std::string UpdateNotice(const std::string& latest_digits) {
    return "The latest ZORV C" + latest_digits + " is available now! Please visit the web site: " + kZorvWebSite;
}

}  // namespace service_link

std::string HttpGetText(const std::string& url, TDSHTTP& client) {
    std::vector<unsigned char> stream;
    client.Get(url, stream);
    return service_link::DecodeReplyText(stream, service_link::kReplyPrefixBytes);
}

bool DOVEREForm::GuardedGet(const std::string& path, const std::string& argument,
                            const std::function<void(const std::string& text)>& use_reply, TServiceWait wait) {
    RequestUrl = service_link::ServiceUrl(ServiceHost, ServicePort, path, argument);
    bool done = false;
    {
        HttpClient = std::make_unique<TDSHTTP>();
        HttpClient->HTTPOptions << hoKeepOrigProtocol;
        if (wait == TServiceWait::Query) {
            HttpClient->ConnectTimeout = service_link::kQueryConnectTimeoutMs;
            HttpClient->ResponseTimeout = service_link::kQueryTimeoutMs;
        }
        struct Release {
            std::unique_ptr<TDSHTTP>& client;
            ~Release() { client.reset(); }
        } release{HttpClient};
        try {
            const std::string text = HttpGetText(RequestUrl, *HttpClient);
            ServiceAnswered = true;
            use_reply(text);
            done = true;
        } catch (...) {
            // Whatever failed, the GET or what the caller made of the reply, the user
            // sees the one connection message below.
        }
    }
    if (!done) Application->ShowException(Exception(kConnectionMessage));
    return done;
}

bool DOVEREForm::SendRunRequest() {
    // The service may take long to answer: the window shows the run so far first.
    ui::PaintNow();
    const bool silent_at_start = StartingUp && !ServiceAnswered;
    return GuardedGet(
        RunPath, UrlTail, [this](const std::string& text) { ReplyText = service_link::RewrapObject(text); },
        silent_at_start ? TServiceWait::Query : TServiceWait::Run);
}

bool DOVEREForm::SendCatalogueRequest() {
    return GuardedGet(CataloguePath, UrlTail,
                      [this](const std::string& text) { ReplyText = service_link::RewrapObject(text); });
}

void DOVEREForm::QueryRandomClientId() {
    QueryPath = service_link::kClientIdPath;
    GuardedGet(QueryPath, "", [this](const std::string& text) {
        ReplyText = service_link::CutCharacters(text, 1, 3);
        ClientId = ReplyText;
        SetCaption(Caption() + " : " + ClientId);
    });
}

void DOVEREForm::QueryServerVersion() {
    QueryPath = service_link::kServerVersionPath;
    GuardedGet(QueryPath, "", [this](const std::string& text) {
        ReplyText = service_link::CutCharacters(text, 1, 3);
        Label_Server_Version->SetCaption(ReplyText);
    });
}

void DOVEREForm::CheckLatestClientVersion() {
    // Shown whatever the check finds.
    Label_ZORV_Client->SetCaption(ClientVersion);
    QueryPath = service_link::kLatestClientVersionPath;
    GuardedGet(QueryPath, "", [this](const std::string& text) {
        // "C" and digits: the cut leaves the digits. A reply that does not convert is
        // reported as a failed exchange.
        const std::string latest_digits = service_link::CutCharacters(text, 2, 3);
        const int own = ParseIntegerText(service_link::OwnVersionDigits(ClientVersion, NzEdition));
        const int latest = ParseIntegerText(latest_digits);
        ReplyText = latest_digits;
        if (own < latest) ShowNotice(service_link::UpdateNotice(latest_digits));
    });
}

void DOVEREForm::RemoveClientFiles() {
    RemovePath = service_link::kRemoveClientFilesPath;
    GuardedGet(RemovePath, ClientIp + "-" + ClientId, [this](const std::string& text) { ReplyText = text; });
}

void DOVEREForm::RemoveClientId() {
    RemovePath = service_link::kRemoveClientIdPath;
    GuardedGet(RemovePath, ClientId, [this](const std::string& text) { ReplyText = text; });
}

void DOVEREForm::FindClientIpAddress() {
    // The first adapter that is not the loopback one; Linux lists loopback first.
    if (const auto address = os::ClientAdapterAddress(os::ListAdapters())) ClientIp = *address;
}
