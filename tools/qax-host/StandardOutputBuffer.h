// A stream buffer over stdio's standard output, for writers that take a
// std::ostream (the validation reports).
#ifndef QAX_TOOLS_QAX_HOST_STANDARDOUTPUTBUFFER_H_
#define QAX_TOOLS_QAX_HOST_STANDARDOUTPUTBUFFER_H_

#include <ios>
#include <streambuf>

namespace qaxoi::qax_host {

// Writes through `stdout`, the stream HoldStandardStreams sets up, so that
// a failed write is remembered and reported by FinishOutput as any other
// write to standard output. Adds no buffer of its own: stdio's is the one.
// Once standard output has failed, every write fails, so that the stream
// over it turns bad and its writer stops.
class StandardOutputBuffer : public std::streambuf {
 protected:
  int_type overflow(int_type c) override;
  std::streamsize xsputn(const char* bytes, std::streamsize count) override;
  int sync() override;
};

}  // namespace qaxoi::qax_host

#endif  // QAX_TOOLS_QAX_HOST_STANDARDOUTPUTBUFFER_H_
