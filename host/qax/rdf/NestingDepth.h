// How deeply a Turtle document nests blank nodes and collections. Internal to
// the QAX library.
#ifndef QAX_HOST_QAX_RDF_NESTINGDEPTH_H_
#define QAX_HOST_QAX_RDF_NESTINGDEPTH_H_

#include <cstddef>
#include <string>

namespace QAX {
namespace Ontology {
namespace Rdf {

// The deepest nesting of blank nodes ("[") and collections ("(") a document
// may have. The parser descends one level of its own stack per level, so a
// document must not choose how deep that goes; real vocabularies nest a few
// levels.
inline constexpr std::size_t kMaxNestingDepth = 128;

// The offset of the first "[" or "(" that opens a level deeper than `limit`,
// or npos when there is none. Brackets inside IRIs, strings (short and long,
// with their escapes) and comments do not count. The scan never counts fewer
// levels than a parser that reads the document sees: where the document is
// malformed it may count more, and the parser stops at that fault anyway.
std::size_t FindNestingDeeperThan(const std::string& document, std::size_t limit);

}  // namespace Rdf
}  // namespace Ontology
}  // namespace QAX

#endif  // QAX_HOST_QAX_RDF_NESTINGDEPTH_H_
