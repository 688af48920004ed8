// What an RDF/XML document may ask of the XML parser: checked on the bytes
// before the parser sees them. Internal to the QAX library.
#ifndef QAX_HOST_QAX_RDF_XMLBOUNDS_H_
#define QAX_HOST_QAX_RDF_XMLBOUNDS_H_

#include <cstddef>
#include <string>

namespace qaxoi::rdf {

// The deepest nesting of elements, the root counting 1. The RDF/XML parser
// walks the open elements for each new one, so its time grows with the square
// of the depth (4,000 levels take 0.7 s); 256 is libxml2's own default limit,
// and 128 nested blank nodes, the Turtle limit, take 256 levels.
inline constexpr std::size_t kMaxXmlDepth = 256;
// How deeply entity declarations may refer to each other.
inline constexpr std::size_t kMaxEntityNesting = 32;
// The text that entity references in a document may stand for, in all:
// kEntityBytesPerDocumentByte times the document's size plus kEntityBaseBytes.
inline constexpr std::size_t kEntityBytesPerDocumentByte = 10;
inline constexpr std::size_t kEntityBaseBytes = std::size_t{1} << 20;

// The first thing in `document` that the XML parser must not be given, or
// none.
struct XmlProblem {
  std::size_t at = std::string::npos;  // byte offset of the problem; npos: none
  std::string what;
  // True when the document goes beyond a bound (nesting, entity text), false
  // when it holds what is not read at all.
  bool beyondBound = false;
};

// Scans `document` (any bytes, an XML document in UTF-8 or another encoding
// that writes markup in ASCII) once and answers its first problem: a NUL
// byte; elements nested deeper than kMaxXmlDepth; in the DOCTYPE, a parameter
// entity, an entity whose text holds markup ('<', or a character reference
// to '<', '&' or '%'), entities that refer to each other in a loop or deeper
// than kMaxEntityNesting, or anything other than declarations, comments and
// processing instructions; entity references that stand for more text than
// the allowance above. The scan never counts less depth or less text than the
// parser would meet; where the document is malformed it may count more, and
// the parser stops at that fault anyway. Real ontologies declare entities
// only as short names of namespaces, which all of this leaves alone.
XmlProblem FindXmlBeyondBounds(const std::string& document);

}  // namespace qaxoi::rdf

#endif  // QAX_HOST_QAX_RDF_XMLBOUNDS_H_
