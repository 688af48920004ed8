// How a store client talks to a server: its timeouts, how much of an answer
// it takes, and where credentials come from.
#ifndef QAX_HOST_QAX_STORE_STOREOPTIONS_H_
#define QAX_HOST_QAX_STORE_STOREOPTIONS_H_

#include <chrono>
#include <cstdint>
#include <string>

namespace qaxoi::store {

// The longest a client waits for a connection to be made (TCP and TLS).
inline constexpr std::chrono::milliseconds kDefaultConnectTimeout{10'000};
// The longest one request may take, from connecting to the last byte of the
// answer, redirects included.
inline constexpr std::chrono::milliseconds kDefaultTotalTimeout{120'000};
// The largest answer a client takes, as the file reader's largest file: an
// answer that announces or grows beyond it is refused, never truncated.
inline constexpr std::uint64_t kDefaultMaxResponseBytes = std::uint64_t{1} << 30;
// How many redirects a request follows, each to the same scheme and host.
inline constexpr int kMaxRedirects = 5;
// How many times a GET, PUT or DELETE is sent when the server answers with
// a failure that may pass (500, 502, 503, 504: a store's deadlock among
// them); queries and updates, which are POSTs, are sent once.
inline constexpr int kMaxAttempts = 3;

struct StoreOptions {
  std::chrono::milliseconds connectTimeout = kDefaultConnectTimeout;
  std::chrono::milliseconds totalTimeout = kDefaultTotalTimeout;
  std::uint64_t maxResponseBytes = kDefaultMaxResponseBytes;
  // "user:password" for the server's HTTP authentication (basic or digest,
  // as the server asks), or empty. Never written into a message.
  std::string credentials;
  // A .netrc-style file whose entry for the URL's host gives the
  // credentials when `credentials` is empty; empty: none is read.
  std::string netrcFile;
  // Verify an https server's certificate and host name (the default; off
  // only for a test server with a certificate of its own).
  bool verifyTls = true;
};

}  // namespace qaxoi::store

#endif  // QAX_HOST_QAX_STORE_STOREOPTIONS_H_
