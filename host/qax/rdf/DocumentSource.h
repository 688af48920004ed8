// Where a parser takes the bytes of a document from. Internal to the QAX
// library.
#ifndef QAX_HOST_QAX_RDF_DOCUMENTSOURCE_H_
#define QAX_HOST_QAX_RDF_DOCUMENTSOURCE_H_

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

#include "host/status/Status.h"

namespace qaxoi::rdf {

// The bytes of one document, read in parts and from any offset, as often as
// asked: a parse reads them once in order, and placing an error reads them
// again from the start. The source need not hold the document.
class DocumentSource {
 public:
  virtual ~DocumentSource() = default;

  // The document's size as known before reading; the load's budget is
  // measured against it.
  virtual std::uint64_t Size() const = 0;

  // Copies up to `count` bytes from byte `offset` into `buffer` and sets
  // `got` to how many: fewer than `count` only at the document's end. A
  // failure names the document, when the bytes cannot be read.
  virtual qaxoi::Status Read(std::uint64_t offset, char* buffer, std::size_t count,
                             std::size_t& got) = 0;
};

// A document held in memory by the caller, who keeps it alive and unchanged
// while the source is used.
class TextSource : public DocumentSource {
 public:
  explicit TextSource(std::string_view text) : text_(text) {}

  std::uint64_t Size() const override { return text_.size(); }

  qaxoi::Status Read(std::uint64_t offset, char* buffer, std::size_t count,
                     std::size_t& got) override {
    got = 0;
    if (offset < text_.size()) {
      got = count < text_.size() - offset ? count : static_cast<std::size_t>(text_.size() - offset);
      std::memcpy(buffer, text_.data() + offset, got);
    }
    return qaxoi::Status::Ok();
  }

 private:
  std::string_view text_;
};

}  // namespace qaxoi::rdf

#endif  // QAX_HOST_QAX_RDF_DOCUMENTSOURCE_H_
