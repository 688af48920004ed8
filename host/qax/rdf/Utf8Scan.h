// Finds the first byte of a document that no RDF text may hold, as the
// document is read in parts. Internal to the QAX library.
#ifndef QAX_HOST_QAX_RDF_UTF8SCAN_H_
#define QAX_HOST_QAX_RDF_UTF8SCAN_H_

#include <cstddef>
#include <cstdint>
#include <string>

namespace qaxoi::rdf {

// Checks a document for NUL bytes and bytes that are not well-formed UTF-8,
// part after part in document order; a character may be split between two
// parts. Offsets count from the document's first byte.
class Utf8Scan {
 public:
  static constexpr std::size_t kNone = static_cast<std::size_t>(-1);

  // Checks the next `size` bytes. Answers the offset of the first bad byte
  // (for a malformed character, its first byte, which may lie in an earlier
  // part), with `problem` saying what is wrong, or kNone. Once a bad byte
  // is found the scan is over: later calls answer kNone.
  std::size_t Feed(const char* bytes, std::size_t size, std::string& problem);

  // At the document's end: a character cut short by the end is malformed.
  // Answers its offset as Feed does, or kNone.
  std::size_t Finish(std::string& problem);

 private:
  std::size_t Malformed(std::size_t at, unsigned char lead, std::string& problem);

  std::size_t offset_ = 0;  // bytes fed so far
  bool over_ = false;
  // The character being read: bytes still to come, the bounds of the next
  // one, and where it started.
  unsigned need_ = 0;
  unsigned low_ = 0x80;
  unsigned high_ = 0xBF;
  std::size_t lead_ = 0;
  unsigned char leadByte_ = 0;
};

}  // namespace qaxoi::rdf

#endif  // QAX_HOST_QAX_RDF_UTF8SCAN_H_
