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

}  // namespace qaxoi::shacl

#endif  // QAX_HOST_QAX_SHACL_TERMTEXT_H_
