// RDF graphs compared as graphs, for tests that read back what a store
// holds: statement order, blank node labels, duplicate statements and the
// way a literal's xsd:string type is spelt do not matter.
#ifndef QAX_TESTS_SUPPORT_SAMEGRAPH_H_
#define QAX_TESTS_SUPPORT_SAMEGRAPH_H_

#include <string>
#include <vector>

namespace qaxoi::test {

// The canonical form of a graph whose blank nodes form trees (each blank
// node the object of at most one statement, none on a cycle), as the item
// writers write nested items.
struct CanonicalGraph {
  // One line per statement whose subject is an IRI, and one per blank node
  // that is no statement's object, sorted. A blank node is written as the
  // sorted list of its own statements in brackets, "[<p> o; <p> o]", so two
  // graphs are isomorphic exactly when their lines are equal. IRIs are
  // <iri>, literals "text" with N-Triples escapes and @language or
  // ^^<datatype> (none for xsd:string, which is what a plain literal is).
  std::vector<std::string> lines;
  // Why the document has no canonical form here: the parser's error, or a
  // blank node shared, on a cycle or nested beyond kMaxBlankDepth. Empty
  // when `lines` holds the graph.
  std::string error;
};

// The deepest nesting of blank nodes a canonical form follows.
inline constexpr int kMaxBlankDepth = 64;

// The canonical form of the Turtle (or, with `ntriples`, N-Triples)
// document `text`, parsed strictly.
CanonicalGraph Canonical(const std::string& text, bool ntriples = false);

// Empty when both are the same graph; else what differs: the lines only
// one side has ("- " expected, "+ " actual), at most `maxLines` of them, or
// why a side has no canonical form.
std::string GraphDifference(const CanonicalGraph& expected, const CanonicalGraph& actual,
                            std::size_t maxLines = 10);

}  // namespace qaxoi::test

#endif  // QAX_TESTS_SUPPORT_SAMEGRAPH_H_
