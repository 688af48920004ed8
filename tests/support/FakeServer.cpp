#include "tests/support/FakeServer.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/time.h>
#include <unistd.h>

#include <cctype>
#include <cerrno>
#include <chrono>
#include <vector>

namespace qaxoi::testing {

namespace {

// How often a waiting server looks whether it is to stop.
constexpr int kPollMilliseconds = 20;
// The most a request may take to arrive (headers and a small body).
constexpr int kRequestMilliseconds = 2000;
// The chunk an endless answer is written in.
constexpr std::size_t kChunkBytes = std::size_t{64} << 10;

int BoundSocket(int* port) {
  const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
  const int yes = 1;
  ::setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  address.sin_port = 0;
  ::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address);
  socklen_t length = sizeof address;
  ::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length);
  *port = ntohs(address.sin_port);
  return fd;
}

bool Readable(int fd, int milliseconds) {
  pollfd waiting{fd, POLLIN, 0};
  return ::poll(&waiting, 1, milliseconds) > 0;
}

// The body's length that the request's headers announce, or 0.
std::size_t ContentLength(const std::string& headers) {
  std::string lower;
  for (const char c : headers)
    lower.push_back(static_cast<char>(std::tolower(static_cast<unsigned char>(c))));
  const std::size_t at = lower.find("\r\ncontent-length:");
  return at == std::string::npos ? 0 : std::stoul(lower.substr(at + 17));
}

// Reads the request: its headers, then the body they announce.
void ReadRequest(int connection) {
  std::string request;
  char buffer[4096];
  const auto deadline =
      std::chrono::steady_clock::now() + std::chrono::milliseconds(kRequestMilliseconds);
  while (std::chrono::steady_clock::now() < deadline) {
    const std::size_t end = request.find("\r\n\r\n");
    if (end != std::string::npos &&
        request.size() >= end + 4 + ContentLength(request.substr(0, end + 2))) {
      return;
    }
    if (!Readable(connection, kPollMilliseconds)) continue;
    const ssize_t got = ::recv(connection, buffer, sizeof buffer, 0);
    if (got <= 0) return;
    request.append(buffer, static_cast<std::size_t>(got));
  }
}

void WriteAll(int fd, const std::string& bytes) {
  std::size_t sent = 0;
  while (sent < bytes.size()) {
    const ssize_t wrote = ::send(fd, bytes.data() + sent, bytes.size() - sent, MSG_NOSIGNAL);
    if (wrote <= 0) return;
    sent += static_cast<std::size_t>(wrote);
  }
}

}  // namespace

FakeServer::FakeServer(Behaviour behaviour, std::vector<std::string> answers)
    : behaviour_(behaviour), answers_(std::move(answers)) {
  listener_ = BoundSocket(&port_);
  ::listen(listener_, SOMAXCONN);
  for (std::string& answer : answers_) {
    for (std::size_t at = answer.find("{port}"); at != std::string::npos;
         at = answer.find("{port}")) {
      answer.replace(at, 6, std::to_string(port_));
    }
  }
  thread_ = std::thread([this] { Serve(); });
}

FakeServer::~FakeServer() {
  stopping_ = true;
  thread_.join();
  ::close(listener_);
}

std::string FakeServer::Url(const std::string& path) const {
  return "http://127.0.0.1:" + std::to_string(port_) + path;
}

int FakeServer::RefusingPort() {
  int port = 0;
  ::close(BoundSocket(&port));
  return port;
}

void FakeServer::Serve() {
  std::vector<int> held;
  while (!stopping_) {
    if (!Readable(listener_, kPollMilliseconds)) continue;
    const int connection = ::accept(listener_, nullptr, nullptr);
    if (connection < 0) continue;
    ReadRequest(connection);
    const int number = requests_++;
    if (behaviour_ == Behaviour::kSilent) {
      held.push_back(connection);  // answered never; closed on stopping
      continue;
    }
    if (behaviour_ == Behaviour::kEndless) {
      WriteAll(connection,
               "HTTP/1.1 200 OK\r\nContent-Type: text/turtle\r\nConnection: close\r\n\r\n");
      // A send that cannot go on returns after a while, so that stopping
      // is seen even when the client reads no more and stays.
      timeval patience{0, kPollMilliseconds * 1000};
      ::setsockopt(connection, SOL_SOCKET, SO_SNDTIMEO, &patience, sizeof patience);
      const std::string chunk(kChunkBytes, '#');
      while (!stopping_) {
        const ssize_t wrote = ::send(connection, chunk.data(), chunk.size(), MSG_NOSIGNAL);
        if (wrote <= 0 && errno != EAGAIN && errno != EWOULDBLOCK) break;
      }
    } else if (!answers_.empty()) {
      const std::size_t index = static_cast<std::size_t>(number) < answers_.size()
                                    ? static_cast<std::size_t>(number)
                                    : answers_.size() - 1;
      WriteAll(connection, answers_[index]);
    }
    ::shutdown(connection, SHUT_RDWR);
    ::close(connection);
  }
  for (const int connection : held) ::close(connection);
}

}  // namespace qaxoi::testing
