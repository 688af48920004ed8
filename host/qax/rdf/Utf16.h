// Tells a document written in UTF-16 by its first bytes. Internal to the QAX
// library.
#ifndef QAX_HOST_QAX_RDF_UTF16_H_
#define QAX_HOST_QAX_RDF_UTF16_H_

#include <string_view>

namespace qaxoi::rdf {

// The refusal of a document in UTF-16, after its source name and ": ".
inline constexpr std::string_view kUtf16Refusal =
    "the document is in UTF-16, which is not read; convert it to UTF-8";

// True when `head`, the first bytes of a document (any number), starts with
// a UTF-16 byte order mark (FE FF or FF FE), or with '<' as UTF-16 writes it
// without one ("<" then NUL, or NUL then "<"). No UTF-8 document starts so:
// FE and FF are never UTF-8, and a NUL is refused in every syntax anyway.
constexpr bool IsUtf16Document(std::string_view head) {
  if (head.size() < 2) return false;
  const auto first = static_cast<unsigned char>(head[0]);
  const auto second = static_cast<unsigned char>(head[1]);
  constexpr unsigned char kBomHigh = 0xFE;
  constexpr unsigned char kBomLow = 0xFF;
  return (first == kBomHigh && second == kBomLow) || (first == kBomLow && second == kBomHigh) ||
         (first == '<' && second == 0) || (first == 0 && second == '<');
}

}  // namespace qaxoi::rdf

#endif  // QAX_HOST_QAX_RDF_UTF16_H_
