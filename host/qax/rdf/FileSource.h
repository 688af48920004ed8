// A file as an RDF document: its bytes and its IRI. Internal to the QAX
// library.
#ifndef QAX_HOST_QAX_RDF_FILESOURCE_H_
#define QAX_HOST_QAX_RDF_FILESOURCE_H_

#include <cstddef>
#include <cstdint>
#include <string>

#include "host/files/InputFile.h"
#include "host/qax/rdf/DocumentSource.h"

namespace qaxoi::rdf {

// What the parser holds of a file that it reads as it parses: one page.
inline constexpr std::uint64_t kFilePageBytes = std::uint64_t{64} << 10;

// The bytes of an opened file, which the caller keeps open while the source
// is used.
class FileSource : public DocumentSource {
 public:
  explicit FileSource(qaxoi::files::InputFile& file) : file_(file) {}
  std::uint64_t Size() const override { return file_.Size(); }
  qaxoi::Status Read(std::uint64_t offset, char* buffer, std::size_t count,
                     std::size_t& got) override {
    return file_.ReadAt(offset, buffer, count, &got);
  }
  // What a load holds of the file while it is parsed: the whole file when
  // it was read whole (a stream), else a page.
  std::uint64_t HeldBytes() const;

 private:
  qaxoi::files::InputFile& file_;
};

// The "file:" IRI of `path`, made absolute first so that relative IRIs in a
// document resolve to the file's own folder; empty when it cannot be made.
std::string FileIri(const std::string& path);

}  // namespace qaxoi::rdf

#endif  // QAX_HOST_QAX_RDF_FILESOURCE_H_
