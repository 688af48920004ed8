// Where the report writers put their bytes: a stream, reached in blocks.
// Internal to the QAX library.
#ifndef QAX_HOST_QAX_SHACL_REPORTOUTPUT_H_
#define QAX_HOST_QAX_SHACL_REPORTOUTPUT_H_

#include <cstddef>
#include <ostream>
#include <string>
#include <string_view>

namespace qaxoi::shacl {

// Bytes on their way to `out`, gathered into blocks of about kBlockBytes
// so that a report is written in a few large writes; written as they are,
// or, between OpenJsonString and CloseJsonString, escaped as the inside of
// a JSON string. Holds a reference to `out`, which must outlive it; the
// rest is written when it is destroyed or flushed.
class ReportOutput {
 public:
  // Bytes gathered before they go to the stream: what one result costs
  // beyond its texts, whatever the report holds.
  static constexpr std::size_t kBlockBytes = std::size_t{64} * 1024;

  explicit ReportOutput(std::ostream& out) : out_(out) { block_.reserve(kBlockBytes); }
  ~ReportOutput() { Flush(); }
  ReportOutput(const ReportOutput&) = delete;
  ReportOutput& operator=(const ReportOutput&) = delete;

  // `bytes` must be well-formed UTF-8 inside a JSON string (PutValidUtf8 in
  // ReportSyntax.h makes it so).
  void Put(std::string_view bytes);
  void Put(char byte);
  // A JSON string's opening quote; what is put until CloseJsonString is
  // escaped as JSON writes it: \" \\ \b \f \n \r \t, other control
  // characters as \u00xx, everything else as it is. Not nested.
  void OpenJsonString();
  void CloseJsonString();
  // Writes the gathered bytes to the stream; answers whether the stream is
  // still good, so that a writer stops writing into a failed one.
  bool Flush();
  // Whether the stream has not failed so far.
  bool Good() const { return out_.good(); }

 private:
  void PutEscaped(char byte);

  std::ostream& out_;
  std::string block_;
  bool json_ = false;
};

}  // namespace qaxoi::shacl

#endif  // QAX_HOST_QAX_SHACL_REPORTOUTPUT_H_
