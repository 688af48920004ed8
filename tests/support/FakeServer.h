// HTTP peers that misbehave, on loopback, for the store client's failure
// cases: a server that answers each request with bytes given in advance
// (an error, garbage, a redirect, a huge length), one that never answers,
// one whose answer never ends, and a port where nothing listens.
#ifndef QAX_TESTS_SUPPORT_FAKESERVER_H_
#define QAX_TESTS_SUPPORT_FAKESERVER_H_

#include <atomic>
#include <string>
#include <thread>
#include <vector>

namespace qaxoi::testing {

class FakeServer {
 public:
  enum class Behaviour {
    kAnswer,   // the next of `answers` (the last again once all are used)
    kSilent,   // reads the request, keeps the connection open, says nothing
    kEndless,  // a 200 header without a length, then bytes until the client goes
  };

  // Listens on a free loopback port at once and serves until destroyed.
  // In an answer, "{port}" stands for the server's own port.
  explicit FakeServer(Behaviour behaviour, std::vector<std::string> answers = {});
  // Stops serving, closes every connection and joins the thread.
  ~FakeServer();
  FakeServer(const FakeServer&) = delete;
  FakeServer& operator=(const FakeServer&) = delete;

  int port() const { return port_; }
  // "http://127.0.0.1:PORT" and `path`.
  std::string Url(const std::string& path) const;
  // How many requests arrived.
  int requests() const { return requests_.load(); }

  // A loopback port on which nothing listens (bound, then closed).
  static int RefusingPort();

 private:
  void Serve();

  Behaviour behaviour_;
  std::vector<std::string> answers_;
  int listener_ = -1;
  int port_ = 0;
  std::atomic<bool> stopping_{false};
  std::atomic<int> requests_{0};
  std::thread thread_;
};

}  // namespace qaxoi::testing

#endif  // QAX_TESTS_SUPPORT_FAKESERVER_H_
