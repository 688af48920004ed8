// One HTTP request and its answer over libcurl, with the client's bounds:
// timeouts, the answer's size, redirects only to the same server. Internal
// to the QAX library.
#ifndef QAX_HOST_QAX_STORE_HTTPEXCHANGE_H_
#define QAX_HOST_QAX_STORE_HTTPEXCHANGE_H_

#include <array>
#include <chrono>
#include <string>
#include <string_view>
#include <vector>

#include "host/qax/store/StoreOptions.h"
#include "host/status/Status.h"

namespace qaxoi::store {

struct HttpRequest {
  // "GET", "PUT", "POST" or "DELETE".
  std::string method = "GET";
  std::string url;
  // Whole header lines, "Accept: text/turtle".
  std::vector<std::string> headers;
  // Sent for PUT and POST; the caller keeps the text alive while the
  // request is sent.
  std::string_view body;
};

struct HttpAnswer {
  long status = 0;
  // The status line's reason phrase ("Not Found"), or empty.
  std::string reason;
  // The Content-Type's media type, lower case, without parameters.
  std::string mediaType;
  // The URL answered, after redirects.
  std::string url;
  std::string body;
};

// One client's connection to servers: a libcurl handle, kept between
// requests so that connections are reused. Not safe to share between
// threads.
class HttpExchange {
 public:
  explicit HttpExchange(StoreOptions options);
  ~HttpExchange();
  HttpExchange(const HttpExchange&) = delete;
  HttpExchange& operator=(const HttpExchange&) = delete;

  // Sends `request` and takes the answer, following redirects to the same
  // scheme, host and port (a write only for 307 and 308, which keep the
  // method). A GET, PUT or DELETE answered 500, 502, 503 or 504 is sent
  // again, at most kMaxAttempts times in all, 50 ms later the first time
  // and twice as late each next, within the total timeout. A transport
  // failure, a refused redirect or an answer beyond the size bound fails,
  // naming the URL; an HTTP error status is no failure here: `answer` has
  // it, and HttpFailure words it.
  qaxoi::Status Send(const HttpRequest& request, HttpAnswer* answer);

 private:
  qaxoi::Status SendOnce(const HttpRequest& request, std::chrono::steady_clock::time_point deadline,
                         HttpAnswer* answer);

  StoreOptions options_;
  void* handle_;  // CURL*, owned: curl_easy_cleanup in the destructor.
  // libcurl's words for the last failure: the handle holds on to it.
  std::array<char, 256> detail_{};
};

// "<url>: HTTP <status> <reason>: <the body's first line>" as a kIoError,
// the line cut to a readable length and stripped of control characters.
qaxoi::Status HttpFailure(const HttpAnswer& answer);

// Checks that `url` is an http or https URL without credentials in it:
// kInvalidArgument naming it otherwise.
qaxoi::Status CheckUrl(const std::string& url);

// `text` percent-encoded for a URL's query.
std::string PercentEncoded(const std::string& text);

}  // namespace qaxoi::store

#endif  // QAX_HOST_QAX_STORE_HTTPEXCHANGE_H_
