// Status: how every reader, writer and loader of the host code, the
// ontology service and the tools says whether it did its work, and if not,
// what went wrong where.
#ifndef QAX_HOST_STATUS_STATUS_H_
#define QAX_HOST_STATUS_STATUS_H_

#include <cstdint>
#include <string>
#include <utility>

namespace qaxoi {

// Either success, or a failure: a code that says what kind of failure it is
// and a message of one line for people, naming the input and the place in
// it, e.g. "vocab/bad.ttl:12:5: bad verb" or "cannot read 'x.grp': No such
// file or directory". A successful status has no message. Copyable and
// cheap to move; an operation that fails leaves its outputs as its own
// contract says (most leave them unchanged).
class [[nodiscard]] Status {
 public:
  // What kind of failure, for callers that act on it (qax-host's exit codes
  // do not depend on it: every failure of the work asked for is the same
  // exit code).
  enum class Code : std::uint8_t {
    kOk = 0,
    // The input is not well-formed or not acceptable: bad syntax, bad
    // encoding, an undefined prefix, a shapes graph that is not SHACL, a
    // damaged group file, an item that cannot be written.
    kInvalidInput,
    // The caller asked for something that cannot be done as asked: an
    // unknown syntax name, a syntax a writer does not write.
    kInvalidArgument,
    // The operating system refused to read or write: a missing file, a
    // directory where a file is expected, a full disk, a closed stream.
    kIoError,
    // A syntax or feature that is recognised and not read (OWL/XML, JSON-LD),
    // or left out of this build.
    kNotSupported,
    // A documented bound refused the input: its size, its depth, the
    // memory a load may take.
    kResourceExhausted,
  };

  // Success.
  Status() = default;
  static Status Ok() { return Status(); }

  // Failures; `message` is one line, without a line end.
  static Status InvalidInput(std::string message) {
    return Status(Code::kInvalidInput, std::move(message));
  }
  static Status InvalidArgument(std::string message) {
    return Status(Code::kInvalidArgument, std::move(message));
  }
  static Status IoError(std::string message) { return Status(Code::kIoError, std::move(message)); }
  static Status NotSupported(std::string message) {
    return Status(Code::kNotSupported, std::move(message));
  }
  static Status ResourceExhausted(std::string message) {
    return Status(Code::kResourceExhausted, std::move(message));
  }
  // A failure of `code`, for code that decides the kind elsewhere; kOk gives
  // success, and the message is then dropped.
  static Status WithCode(Code code, std::string message) {
    return code == Code::kOk ? Status() : Status(code, std::move(message));
  }

  bool ok() const { return code_ == Code::kOk; }
  Code code() const { return code_; }
  // Empty on success.
  const std::string& message() const { return message_; }

  // The same failure with `prefix` put before its message ("x.ttl: " +
  // message), so that a caller can name the input that a lower layer did
  // not know; success stays success.
  Status Prefixed(const std::string& prefix) const {
    return ok() ? Status() : Status(code_, prefix + message_);
  }

 private:
  Status(Code code, std::string message) : code_(code), message_(std::move(message)) {}

  Code code_ = Code::kOk;
  std::string message_;
};

}  // namespace qaxoi

#endif  // QAX_HOST_STATUS_STATUS_H_
