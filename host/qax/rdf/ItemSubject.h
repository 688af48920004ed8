// An ontology item as the item writers take it: the item and its subject.
#ifndef QAX_HOST_QAX_RDF_ITEMSUBJECT_H_
#define QAX_HOST_QAX_RDF_ITEMSUBJECT_H_

#include <string>

#include "host/qax/model/OntologyItem.h"

namespace qaxoi::rdf {

// An item to write and the IRI to write it under; an empty IRI writes the
// item as a blank node. The item is the caller's and must outlive the call.
struct ItemSubject {
  const QAX::Onto::OntologyItem* item = nullptr;
  std::string iri;
};

}  // namespace qaxoi::rdf

#endif  // QAX_HOST_QAX_RDF_ITEMSUBJECT_H_
