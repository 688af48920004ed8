// A stream buffer that drops the blanks and tabs ending each line before
// they reach another: qax-host's lines never end in one, and a message of a
// shapes graph may.
#ifndef QAX_TOOLS_QAX_HOST_TRIMMEDLINES_H_
#define QAX_TOOLS_QAX_HOST_TRIMMEDLINES_H_

#include <ios>
#include <streambuf>
#include <string>

namespace qaxoi::qax_host {

// Passes what is written to `target`, which must outlive it, except blanks
// and tabs followed by a line end or by the end of what is written. Holds
// back one run of blanks and tabs until it sees what follows: in a text
// report, whose texts are cut and whose tabs are escaped, a few kilobytes at
// most.
class TrimmedLines : public std::streambuf {
 public:
  explicit TrimmedLines(std::streambuf& target) : target_(target) {}

 protected:
  int_type overflow(int_type c) override;
  std::streamsize xsputn(const char* bytes, std::streamsize count) override;
  int sync() override { return target_.pubsync(); }

 private:
  // Passes `count` bytes, none a blank, tab or line end, after the held run.
  bool Pass(const char* bytes, std::streamsize count);

  std::streambuf& target_;
  std::string blanks_;
};

}  // namespace qaxoi::qax_host

#endif  // QAX_TOOLS_QAX_HOST_TRIMMEDLINES_H_
