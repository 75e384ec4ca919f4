#pragma once
// The link to the design service: every exchange is one GET of
// "http://" + host + ":" + port + path + argument, whose reply the service wraps as
// {"result":[X]}. The client never parses the wrapper: it skips its first 11 bytes
// and cuts the rest by position.
#include <cstddef>
#include <string>
#include <vector>

class TDSHTTP;

// The one message of every failed exchange with the service.
inline constexpr char kConnectionMessage[] = "[Error] Check the connection(Port: 80,8080,8081)!";

// One GET of the URL through the client; the reply from its twelfth byte on, as
// text. Throws what the client throws.
std::string HttpGetText(const std::string& url, TDSHTTP& client);

namespace service_link {

inline constexpr std::size_t kReplyPrefixBytes = 11;  // {"result":[

inline constexpr char kRunPath[] = "/datasnap/rest/TServerMethods1/RUN_ZORV_PROJECT/";
inline constexpr char kCrossTypePath[] = "/datasnap/rest/TServerMethods1/Get_tcBc_Colls_for_Cross_Type/";
inline constexpr char kSinglePlatePath[] = "/datasnap/rest/TServerMethods1/Get_tcBc_Colls_for_Single_Plate_Type/";
inline constexpr char kUniversalBeamsPath[] = "/datasnap/rest/TServerMethods1/Get_Universal_Beams/NZ";
inline constexpr char kUniversalColumnsPath[] = "/datasnap/rest/TServerMethods1/Get_Universal_Columns/NZ";
inline constexpr char kClientIdPath[] = "/datasnap/rest/TServerMethods1/Get_Random_Client_ID/";
inline constexpr char kServerVersionPath[] = "/datasnap/rest/TServerMethods1/Get_Server_Version/";
inline constexpr char kLatestClientVersionPath[] = "/datasnap/rest/TServerMethods1/Get_Latest_Client_Version/";
inline constexpr char kRemoveClientFilesPath[] = "/datasnap/rest/TServerMethods1/Remove_Random_Client_FILES/";
inline constexpr char kRemoveClientIdPath[] = "/datasnap/rest/TServerMethods1/Remove_Random_Client_ID/";

inline constexpr char kServicePort[] = "8080";

// The start-up queries, the catalogues and the removals are small answers that a
// working service gives at once: they wait this long (ms) to connect and in all,
// where design and report runs, which may compute for long, keep the HTTP client's
// own limits.
inline constexpr long kQueryConnectTimeoutMs = 3000;
inline constexpr long kQueryTimeoutMs = 3000;
inline constexpr char kClientVersion[] = "NZC21062501";
// Where the update notice sends the user.
inline constexpr char kZorvWebSite[] = "https://zorv.example/";

// The URL by plain concatenation; nothing is escaped.
std::string ServiceUrl(const std::string& host, const std::string& port, const std::string& path,
                       const std::string& argument);

// The reply's body from byte `offset` on as UTF-8 text: a UTF-8 byte-order mark is
// dropped, a UTF-16 one decodes the rest; without a mark the bytes are UTF-8, and
// what is not valid UTF-8 becomes U+FFFD. Empty when the body is no longer than the
// offset.
std::string DecodeReplyText(const std::vector<unsigned char>& body, std::size_t offset);

// The text without its first `first` and last `last` characters; empty when it is
// too short for the cut.
std::string CutCharacters(const std::string& text, std::size_t first, std::size_t last);

// The value X of a reply whose X is an object, braces restored: "{" + the text
// without its first and last three characters + "}". A short text gives "{}".
std::string RewrapObject(const std::string& text);

// The digits of the client's own version: from the fourth character of the NZ
// edition's text on, else from the second.
std::string OwnVersionDigits(const std::string& client_version, bool nz_edition);

// The notice of a newer client version.
std::string UpdateNotice(const std::string& latest_digits);

}  // namespace service_link
