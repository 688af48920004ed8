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
// The most attributes of one element, namespace declarations included.
// libxml2 checks each attribute of a tag against those before it, so one
// tag costs the square of its attributes (200,000 took 45 s); at this bound
// a tag costs at most about a million comparisons, some 200 per byte of the
// tag. Real documents give the root element a few dozen declarations.
inline constexpr std::size_t kMaxXmlAttributes = 1024;
// The most namespace declarations that the open elements make together.
// Both parsers look a prefix up by walking the declarations in scope, and
// check each new declaration against them (200,000 took 80 s).
inline constexpr std::size_t kMaxXmlNamespaces = 1024;
// The most bytes from a tag's '<' to its '>', and of a comment, CDATA section
// or processing instruction: libxml2 refuses more ("Huge input lookup") unless
// told otherwise, which raptor does not do.
inline constexpr std::size_t kMaxXmlMarkupBytes = 10'000'000;
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
  // The bytes between the tags of the largest element that an attribute
  // parseType="Literal" makes an XML literal, with the text its entity
  // references stand for (any prefix counts, so never fewer than the parser
  // meets; an element left open runs to the end), and
  // the offset of its '<' (npos: the document has none). The XML parser
  // holds such a literal while it reads it, at many times its size.
  std::size_t literalBytes = 0;
  std::size_t literalAt = std::string::npos;
};

// Scans `document` (any bytes, an XML document in UTF-8 or another encoding
// that writes markup in ASCII) once and answers its first problem: a NUL
// byte; elements nested deeper than kMaxXmlDepth; an element of more than
// kMaxXmlAttributes attributes, open elements that declare more than
// kMaxXmlNamespaces namespaces, markup longer than kMaxXmlMarkupBytes; a
// document in UTF-16 (told by its byte order mark, or by a NUL byte next to
// its first '<'); in the DOCTYPE, a parameter
// entity, an entity whose text holds markup ('<', or a character reference
// to '<', '&' or '%'), entities that refer to each other in a loop or deeper
// than kMaxEntityNesting, or anything other than declarations, comments and
// processing instructions; entity references that stand for more text than
// the allowance above. The scan never counts less depth or less text than the
// parser would meet; where the document is malformed it may count more, and
// the parser stops at that fault anyway. It measures the XML literals too
// (literalBytes above). Real ontologies declare entities
// only as short names of namespaces, which all of this leaves alone.
XmlProblem FindXmlBeyondBounds(const std::string& document);

}  // namespace qaxoi::rdf

#endif  // QAX_HOST_QAX_RDF_XMLBOUNDS_H_
