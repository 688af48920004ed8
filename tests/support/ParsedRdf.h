// RDF documents parsed back by serd in strict mode, for tests of what the
// project writes.
#ifndef QAX_TESTS_SUPPORT_PARSEDRDF_H_
#define QAX_TESTS_SUPPORT_PARSEDRDF_H_

#include <string>
#include <vector>

namespace qaxoi::test {

// The statements of the Turtle (or, with `ntriples`, N-Triples) document
// `text`, one line each in document order: "S P O" with IRIs as <iri>, blank
// nodes as _:1, _:2, ... numbered by first appearance, and literals as
// "text" or "text"^^<datatype>, their text unescaped. A document that a
// strict parser refuses gives one line "error: ...".
std::vector<std::string> ParsedStatements(const std::string& text, bool ntriples = false);

}  // namespace qaxoi::test

#endif  // QAX_TESTS_SUPPORT_PARSEDRDF_H_
