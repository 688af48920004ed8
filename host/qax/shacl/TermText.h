// Terms written for messages: one line, IRIs of the well-known namespaces
// shortened (xsd:, rdf:, rdfs:, sh:), long texts cut. Internal to the QAX
// library.
#ifndef QAX_HOST_QAX_SHACL_TERMTEXT_H_
#define QAX_HOST_QAX_SHACL_TERMTEXT_H_

#include <cstddef>
#include <string>

#include "host/qax/shacl/Graph.h"

namespace qaxoi::shacl {

// Texts longer than this are cut in messages, with "..." after them.
inline constexpr std::size_t kMaxTermTextBytes = 120;

// `term` as Turtle would write it (<iri>, a prefixed name, _:label,
// "text"@lang, "text"^^type), control characters as spaces.
std::string TermText(const TermView& term);

// A term of the shapes graph for a message: as TermText, save that a blank
// node is named as the reports name the shapes graph's blank nodes
// (ReportSyntax's Term with Origin::kShapes: "_:s_" and its label), so that
// a message and a report about one shape agree.
std::string ShapesTermText(const TermView& term);

}  // namespace qaxoi::shacl

#endif  // QAX_HOST_QAX_SHACL_TERMTEXT_H_
