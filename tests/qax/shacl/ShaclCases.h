// The validator's tests state each case as a data graph, a shapes graph and
// the results expected, one compact line per result:
//   focus|path|value|Component|Severity
// with ex: for http://e.org/, xsd:, rdf:, sh: shortened, "-" for a node
// shape's path or a result without value, "_" for any blank node, the
// component without "ConstraintComponent". Paths are written ex:p, ^path,
// (a/b) for a sequence, alt(a,b), path*, path+, path?.
#ifndef QAX_TESTS_QAX_SHACL_SHACLCASES_H_
#define QAX_TESTS_QAX_SHACL_SHACLCASES_H_

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "host/qax/shacl/ValidationReport.h"

namespace qaxoi::test::ShaclCases {

// One case of a table.
struct Case {
  const char* name;
  const char* data;  // Turtle; the prefixes ex:, sh:, xsd:, rdf:, rdfs: are declared
  // Turtle, with the same prefixes; one that starts with "[" is the property
  // shapes of ex:S, which targets ex:a: "[ sh:path ex:p ; sh:minCount 1 ] ."
  const char* shapes;
  std::vector<std::string> expected;  // result lines, in any order
};

// The report's results as sorted lines; `withMessages` appends
// "|message@lang;message" to each.
std::vector<std::string> Lines(const qaxoi::shacl::ValidationReport& report,
                               bool withMessages = false);

// Loads both graphs (`shapes` as Case::shapes), reads the shapes and
// validates; the result lines, or one line "error: ..." when loading or
// reading the shapes fails.
std::vector<std::string> Validate(const std::string& data, const std::string& shapes,
                                  bool withMessages = false);

// Runs every case of `table`, each failure naming its case; a case's
// `conforms` must also match whether it expects no result.
void RunTable(const std::vector<Case>& table, bool withMessages = false);

}  // namespace qaxoi::test::ShaclCases

#endif  // QAX_TESTS_QAX_SHACL_SHACLCASES_H_
