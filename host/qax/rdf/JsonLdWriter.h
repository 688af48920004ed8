// Ontology items written as JSON-LD 1.1 instance data.
#ifndef QAX_HOST_QAX_RDF_JSONLDWRITER_H_
#define QAX_HOST_QAX_RDF_JSONLDWRITER_H_

#include <cstddef>
#include <vector>

#include "host/qax/QAXExport.h"
#include "host/qax/model/OntologyModel.h"
#include "host/qax/rdf/ItemWriter.h"

namespace qaxoi::rdf {

// The deepest item WriteItemsJsonLd writes, the item itself being level 1:
// the JSON is written by recursion, one call per level of nesting.
inline constexpr std::size_t kMaxJsonLdItemDepth = 256;

// Writes `items` as one JSON-LD 1.1 document that reads back, under the
// standard JSON-LD to-RDF algorithm, as exactly the graph that WriteItems
// writes as Turtle (blank node labels aside). The document is an object of
// "@context", the prefixes the Turtle document declares (a namespace that
// does not end in one of : / ? # [ ] @ is declared with "@prefix": true and
// "@version": 1.1), and "@graph", one node object per item in `items`
// order: "@id" the item's IRI (none for a blank node), "@type" the class IRI,
// then one key per property in attribute order. A literal is
// {"@value": text, "@type": datatype}, or JSON's own value where that reads
// back as the same literal (an xsd:boolean true or false; an xsd:integer in
// canonical form of at most 15 digits), a plain string a JSON string, a
// reference {"@id": IRI}, a nested item an embedded node object without
// "@id" (with the IRI of its path under ItemSubject::nestedByPath), and several values of one
// property (a list) an array without
// "@list", as the Turtle export writes one statement per element. IRIs are
// written as prefix:suffix with the longest namespace that fits, else
// whole. Warns and fails as WriteItems does, and fails with
// kResourceExhausted for an item nested deeper than kMaxJsonLdItemDepth
// levels; `written` is left as it was on failure.
QAX_API qaxoi::Status WriteItemsJsonLd(const std::vector<ItemSubject>& items,
                                       const QAX::Ontology::OntologyModel& model,
                                       WrittenItems* written);

}  // namespace qaxoi::rdf

#endif  // QAX_HOST_QAX_RDF_JSONLDWRITER_H_
