// The names and IRIs that the item writers can write as they stand. Internal
// to the QAX library.
#ifndef QAX_HOST_QAX_RDF_WRITABLENAMES_H_
#define QAX_HOST_QAX_RDF_WRITABLENAMES_H_

#include <string>
#include <string_view>

namespace qaxoi::rdf {

// A name that Turtle takes as a prefix: a letter, then letters, digits, '_',
// '-' or '.', not ending in '.'.
bool IsPrefixName(std::string_view name);

// An absolute IRI (a scheme, then ':') of well-formed UTF-8 without the
// characters that neither Turtle nor N-Triples allow between '<' and '>'.
bool IsWritableIri(const std::string& iri);

}  // namespace qaxoi::rdf

#endif  // QAX_HOST_QAX_RDF_WRITABLENAMES_H_
