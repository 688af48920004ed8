#include "host/qax/store/HttpExchange.h"

#include <curl/curl.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <memory>
#include <mutex>
#include <string_view>
#include <thread>

#include "host/files/ByteCountText.h"

namespace qaxoi::store {

namespace {

// How much of a server's text a message repeats.
constexpr std::size_t kMaxQuotedBytes = 200;
// How far into an error answer its first words are looked for.
constexpr std::size_t kMaxScannedBytes = std::size_t{64} << 10;

constexpr long kInternalServerError = 500;
constexpr long kBadGateway = 502;
constexpr long kServiceUnavailable = 503;
constexpr long kGatewayTimeout = 504;
constexpr std::chrono::milliseconds kFirstRetryPause{50};

constexpr long kMovedPermanently = 301;
constexpr long kFound = 302;
constexpr long kSeeOther = 303;
constexpr long kTemporaryRedirect = 307;
constexpr long kPermanentRedirect = 308;

// libcurl's process-wide set-up, which is not safe to race: done once, by
// the first client made, and never undone (the process may make clients
// until it ends).
void SetUpCurlOnce() {
  static std::once_flag once;
  std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

struct UrlDeleter {
  void operator()(CURLU* url) const { curl_url_cleanup(url); }
};
using UrlHandle = std::unique_ptr<CURLU, UrlDeleter>;

struct ListDeleter {
  void operator()(curl_slist* list) const { curl_slist_free_all(list); }
};

// A part of a parsed URL, empty when it has none.
std::string UrlPart(CURLU* url, CURLUPart part, unsigned int flags = 0) {
  char* text = nullptr;
  if (curl_url_get(url, part, &text, flags) != CURLUE_OK || text == nullptr) return "";
  std::string copy(text);
  curl_free(text);
  return copy;
}

std::string Lowered(std::string text) {
  for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return text;
}

// `text` with control characters replaced and cut to kMaxQuotedBytes, so
// that a server's words fit in one line of a message.
std::string Quoted(std::string_view text) {
  std::string quoted;
  for (const char c : text.substr(0, kMaxQuotedBytes)) {
    const auto byte = static_cast<unsigned char>(c);
    quoted.push_back(byte < 0x20 || byte == 0x7f ? '?' : c);
  }
  if (text.size() > kMaxQuotedBytes) quoted += "...";
  return quoted;
}

std::string Seconds(std::chrono::milliseconds duration) {
  char text[32];
  std::snprintf(text, sizeof text, "%g s", static_cast<double>(duration.count()) / 1000.0);
  return text;
}

// What the client keeps of an answer while it arrives.
struct Receiving {
  std::string* body = nullptr;
  std::uint64_t maxBytes = 0;
  bool tooLarge = false;
  std::string statusLine;
};

std::size_t TakeBody(char* data, std::size_t size, std::size_t count, void* user) {
  auto* receiving = static_cast<Receiving*>(user);
  const std::size_t bytes = size * count;
  if (receiving->body->size() + bytes > receiving->maxBytes) {
    receiving->tooLarge = true;
    return 0;  // libcurl ends the transfer with CURLE_WRITE_ERROR
  }
  receiving->body->append(data, bytes);
  return bytes;
}

std::size_t TakeHeader(char* data, std::size_t size, std::size_t count, void* user) {
  auto* receiving = static_cast<Receiving*>(user);
  const std::size_t bytes = size * count;
  std::string_view line(data, bytes);
  // Each answer of a redirect or a 100 Continue starts with its own status
  // line: the last one is the answer's.
  if (line.substr(0, 5) == "HTTP/") {
    while (!line.empty() && (line.back() == '\r' || line.back() == '\n')) line.remove_suffix(1);
    receiving->statusLine = std::string(line);
  }
  return bytes;
}

// The reason phrase of "HTTP/1.1 404 Not Found".
std::string ReasonPhrase(const std::string& statusLine) {
  const std::size_t first = statusLine.find(' ');
  if (first == std::string::npos) return "";
  const std::size_t second = statusLine.find(' ', first + 1);
  return second == std::string::npos ? "" : Quoted(statusLine.substr(second + 1));
}

std::string MediaType(const char* contentType) {
  if (contentType == nullptr) return "";
  std::string type(contentType);
  if (const std::size_t semicolon = type.find(';'); semicolon != std::string::npos) {
    type.resize(semicolon);
  }
  const auto notSpace = [](unsigned char c) { return std::isspace(c) == 0; };
  type.erase(type.begin(), std::find_if(type.begin(), type.end(), notSpace));
  type.erase(std::find_if(type.rbegin(), type.rend(), notSpace).base(), type.end());
  return Lowered(type);
}

bool SameServer(const std::string& from, const std::string& to) {
  const UrlHandle a(curl_url());
  const UrlHandle b(curl_url());
  if (!a || !b || curl_url_set(a.get(), CURLUPART_URL, from.c_str(), 0) != CURLUE_OK ||
      curl_url_set(b.get(), CURLUPART_URL, to.c_str(), 0) != CURLUE_OK) {
    return false;
  }
  return Lowered(UrlPart(a.get(), CURLUPART_SCHEME)) ==
             Lowered(UrlPart(b.get(), CURLUPART_SCHEME)) &&
         Lowered(UrlPart(a.get(), CURLUPART_HOST)) == Lowered(UrlPart(b.get(), CURLUPART_HOST)) &&
         UrlPart(a.get(), CURLUPART_PORT, CURLU_DEFAULT_PORT) ==
             UrlPart(b.get(), CURLUPART_PORT, CURLU_DEFAULT_PORT);
}

bool IsRedirect(long status) {
  return status == kMovedPermanently || status == kFound || status == kSeeOther ||
         status == kTemporaryRedirect || status == kPermanentRedirect;
}

// The failure of a transfer that libcurl ended with `code`, in the words
// of what a user can act on.
qaxoi::Status TransportFailure(const std::string& url, CURLcode code, const char* detail,
                               const Receiving& receiving, CURL* curl,
                               const StoreOptions& options) {
  const std::string what = detail[0] != '\0' ? std::string(detail) : curl_easy_strerror(code);
  switch (code) {
    case CURLE_WRITE_ERROR:
      if (!receiving.tooLarge) break;
      [[fallthrough]];
    case CURLE_FILESIZE_EXCEEDED:
      return qaxoi::Status::ResourceExhausted(
          url + ": the answer is larger than " +
          qaxoi::files::ByteCountText(options.maxResponseBytes));
    case CURLE_COULDNT_CONNECT: {
      long osError = 0;
      curl_easy_getinfo(curl, CURLINFO_OS_ERRNO, &osError);
      return qaxoi::Status::IoError(url + (osError == ECONNREFUSED
                                               ? std::string(": connection refused")
                                               : ": cannot connect (" + what + ")"));
    }
    case CURLE_COULDNT_RESOLVE_HOST:
      return qaxoi::Status::IoError(url + ": unknown host (" + what + ")");
    case CURLE_OPERATION_TIMEDOUT: {
      curl_off_t connected = 0;
      curl_easy_getinfo(curl, CURLINFO_CONNECT_TIME_T, &connected);
      return qaxoi::Status::IoError(
          url + (connected == 0 ? ": no connection within " + Seconds(options.connectTimeout)
                                : ": no answer within " + Seconds(options.totalTimeout)));
    }
    case CURLE_GOT_NOTHING:
      return qaxoi::Status::IoError(url + ": the server closed the connection without answering");
    case CURLE_UNSUPPORTED_PROTOCOL:
    case CURLE_WEIRD_SERVER_REPLY:
      return qaxoi::Status::IoError(url + ": the answer is not HTTP (" + what + ")");
    case CURLE_PEER_FAILED_VERIFICATION:
    case CURLE_SSL_CONNECT_ERROR:
    case CURLE_SSL_CERTPROBLEM:
    case CURLE_SSL_CACERT_BADFILE:
      return qaxoi::Status::IoError(url + ": TLS failed (" + what + ")");
    default:
      break;
  }
  return qaxoi::Status::IoError(url + ": " + what);
}

}  // namespace

HttpExchange::HttpExchange(StoreOptions options) : options_(std::move(options)), handle_(nullptr) {
  SetUpCurlOnce();
  handle_ = curl_easy_init();
}

HttpExchange::~HttpExchange() { curl_easy_cleanup(static_cast<CURL*>(handle_)); }

qaxoi::Status HttpExchange::Send(const HttpRequest& request, HttpAnswer* answer) {
  if (qaxoi::Status checked = CheckUrl(request.url); !checked.ok()) return checked;
  const auto deadline = std::chrono::steady_clock::now() + options_.totalTimeout;
  // A request that changes nothing when sent twice (GET, PUT, DELETE) is
  // sent again after a server's failure that may pass (a store's deadlock
  // is a 500), a little later each time, while the deadline allows.
  const bool idempotent = request.method != "POST";
  for (int attempt = 1;; ++attempt) {
    qaxoi::Status sent = SendOnce(request, deadline, answer);
    const bool passing =
        sent.ok() && (answer->status == kInternalServerError || answer->status == kBadGateway ||
                      answer->status == kServiceUnavailable || answer->status == kGatewayTimeout);
    if (!passing || !idempotent || attempt == kMaxAttempts) return sent;
    const auto pause = kFirstRetryPause * (1 << (attempt - 1));
    if (std::chrono::steady_clock::now() + pause >= deadline) return sent;
    std::this_thread::sleep_for(pause);
  }
}

qaxoi::Status HttpExchange::SendOnce(const HttpRequest& request,
                                     std::chrono::steady_clock::time_point deadline,
                                     HttpAnswer* answer) {
  auto* curl = static_cast<CURL*>(handle_);
  if (curl == nullptr) {
    return qaxoi::Status::ResourceExhausted(request.url + ": cannot start libcurl");
  }
  std::string url = request.url;
  for (int redirects = 0;; ++redirects) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
        deadline - std::chrono::steady_clock::now());
    if (left.count() <= 0) {
      return qaxoi::Status::IoError(url + ": no answer within " + Seconds(options_.totalTimeout));
    }
    curl_easy_reset(curl);
    std::string body;
    Receiving receiving;
    receiving.body = &body;
    receiving.maxBytes = options_.maxResponseBytes;
    static_assert(sizeof detail_ >= CURL_ERROR_SIZE, "libcurl's error buffer");
    char* const detail = detail_.data();
    detail[0] = '\0';
    std::unique_ptr<curl_slist, ListDeleter> headers;
    // An upload waits for no "100 Continue": servers that never send one
    // would cost each request a second.
    std::vector<std::string> lines = request.headers;
    lines.emplace_back("Expect:");
    for (const std::string& line : lines) {
      curl_slist* grown = curl_slist_append(headers.get(), line.c_str());
      if (grown == nullptr) return qaxoi::Status::ResourceExhausted(url + ": out of memory");
      static_cast<void>(headers.release());
      headers.reset(grown);
    }
    curl_easy_setopt(curl, CURLOPT_URL, url.c_str());
    curl_easy_setopt(curl, CURLOPT_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(curl, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(curl, CURLOPT_ERRORBUFFER, detail);
    curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, TakeBody);
    curl_easy_setopt(curl, CURLOPT_WRITEDATA, &receiving);
    curl_easy_setopt(curl, CURLOPT_HEADERFUNCTION, TakeHeader);
    curl_easy_setopt(curl, CURLOPT_HEADERDATA, &receiving);
    curl_easy_setopt(curl, CURLOPT_CONNECTTIMEOUT_MS,
                     static_cast<long>(std::min(options_.connectTimeout, left).count()));
    curl_easy_setopt(curl, CURLOPT_TIMEOUT_MS, static_cast<long>(left.count()));
    curl_easy_setopt(curl, CURLOPT_MAXFILESIZE_LARGE,
                     static_cast<curl_off_t>(options_.maxResponseBytes));
    curl_easy_setopt(curl, CURLOPT_ACCEPT_ENCODING, "");
    curl_easy_setopt(curl, CURLOPT_SSL_VERIFYPEER, options_.verifyTls ? 1L : 0L);
    curl_easy_setopt(curl, CURLOPT_SSL_VERIFYHOST, options_.verifyTls ? 2L : 0L);
    curl_easy_setopt(curl, CURLOPT_HTTPHEADER, headers.get());
    if (!options_.credentials.empty()) {
      curl_easy_setopt(curl, CURLOPT_HTTPAUTH, CURLAUTH_ANY);
      curl_easy_setopt(curl, CURLOPT_USERPWD, options_.credentials.c_str());
    } else if (!options_.netrcFile.empty()) {
      curl_easy_setopt(curl, CURLOPT_HTTPAUTH, CURLAUTH_ANY);
      curl_easy_setopt(curl, CURLOPT_NETRC, static_cast<long>(CURL_NETRC_OPTIONAL));
      curl_easy_setopt(curl, CURLOPT_NETRC_FILE, options_.netrcFile.c_str());
    }
    if (request.method == "GET") {
      curl_easy_setopt(curl, CURLOPT_HTTPGET, 1L);
    } else {
      curl_easy_setopt(curl, CURLOPT_CUSTOMREQUEST, request.method.c_str());
      if (request.method == "PUT" || request.method == "POST") {
        curl_easy_setopt(curl, CURLOPT_POSTFIELDSIZE_LARGE,
                         static_cast<curl_off_t>(request.body.size()));
        curl_easy_setopt(curl, CURLOPT_POSTFIELDS, request.body.data());
      }
    }
    const CURLcode code = curl_easy_perform(curl);
    if (code != CURLE_OK) return TransportFailure(url, code, detail, receiving, curl, options_);

    long status = 0;
    curl_easy_getinfo(curl, CURLINFO_RESPONSE_CODE, &status);
    const char* location = nullptr;
    curl_easy_getinfo(curl, CURLINFO_REDIRECT_URL, &location);
    if (IsRedirect(status) && location != nullptr) {
      const std::string next(location);
      if (redirects == kMaxRedirects) {
        return qaxoi::Status::IoError(request.url + ": more than " + std::to_string(kMaxRedirects) +
                                      " redirects");
      }
      if (!SameServer(url, next)) {
        return qaxoi::Status::IoError(url + ": redirected to another server (" + Quoted(next) +
                                      "), not followed");
      }
      if (request.method != "GET" && status != kTemporaryRedirect && status != kPermanentRedirect) {
        return qaxoi::Status::IoError(url + ": the server answers the " + request.method +
                                      " with a redirect (" + std::to_string(status) +
                                      ") that would turn it into a GET, not followed");
      }
      url = next;
      continue;
    }
    const char* contentType = nullptr;
    curl_easy_getinfo(curl, CURLINFO_CONTENT_TYPE, &contentType);
    answer->status = status;
    answer->reason = ReasonPhrase(receiving.statusLine);
    answer->mediaType = MediaType(contentType);
    answer->url = url;
    answer->body = std::move(body);
    return qaxoi::Status::Ok();
  }
}

qaxoi::Status HttpFailure(const HttpAnswer& answer) {
  std::string message = answer.url + ": HTTP " + std::to_string(answer.status);
  if (!answer.reason.empty()) message += " " + answer.reason;
  // The first line of words: an HTML page's markup is skipped, so that its
  // title or first text is said rather than its document type.
  std::string_view body(answer.body);
  body = body.substr(0, kMaxScannedBytes);
  const bool markup = answer.mediaType == "text/html" || (!body.empty() && body.front() == '<');
  std::string words;
  bool inTag = false;
  for (const char c : body) {
    if (markup && (c == '<' || inTag)) {
      inTag = c != '>';
      continue;
    }
    if (c == '\r' || c == '\n') {
      if (words.find_first_not_of(" \t") != std::string::npos) break;
      words.clear();
      continue;
    }
    words.push_back(c);
  }
  const std::size_t start = words.find_first_not_of(" \t");
  if (start != std::string::npos) message += ": " + Quoted(std::string_view{words}.substr(start));
  return qaxoi::Status::IoError(message);
}

qaxoi::Status CheckUrl(const std::string& url) {
  SetUpCurlOnce();
  const UrlHandle parsed(curl_url());
  if (!parsed) return qaxoi::Status::ResourceExhausted("out of memory");
  if (curl_url_set(parsed.get(), CURLUPART_URL, url.c_str(), 0) != CURLUE_OK) {
    return qaxoi::Status::InvalidArgument("'" + Quoted(url) + "' is no URL");
  }
  const std::string scheme = Lowered(UrlPart(parsed.get(), CURLUPART_SCHEME));
  if (!UrlPart(parsed.get(), CURLUPART_USER).empty() ||
      !UrlPart(parsed.get(), CURLUPART_PASSWORD).empty()) {
    // The message must not repeat them.
    curl_url_set(parsed.get(), CURLUPART_USER, nullptr, 0);
    curl_url_set(parsed.get(), CURLUPART_PASSWORD, nullptr, 0);
    return qaxoi::Status::InvalidArgument(
        UrlPart(parsed.get(), CURLUPART_URL) +
        ": credentials do not go in the URL (give them in a .netrc file or the environment)");
  }
  if (scheme != "http" && scheme != "https") {
    return qaxoi::Status::InvalidArgument("'" + Quoted(url) + "' is no http or https URL");
  }
  return qaxoi::Status::Ok();
}

std::string PercentEncoded(const std::string& text) {
  static const char kHex[] = "0123456789ABCDEF";
  std::string encoded;
  for (const char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    if (std::isalnum(byte) != 0 || c == '-' || c == '.' || c == '_' || c == '~') {
      encoded.push_back(c);
    } else {
      encoded.push_back('%');
      encoded.push_back(kHex[byte >> 4]);
      encoded.push_back(kHex[byte & 0xf]);
    }
  }
  return encoded;
}

}  // namespace qaxoi::store
