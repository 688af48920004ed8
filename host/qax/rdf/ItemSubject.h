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
  // How the item's nested items are written: false, as blank nodes; true
  // (with an IRI), each under its parent's IRI followed by '.' and the
  // attribute's name, and "[N]" for the attribute's Nth value from the
  // second on, as values are given on a command line ("<urn:x:0>" holds
  // "<urn:x:0.habitat>", "<urn:x:0.habitat[2]>" and
  // "<urn:x:0.habitat.address>"), so that a report names them by where
  // they are.
  bool nestedByPath = false;
};

}  // namespace qaxoi::rdf

#endif  // QAX_HOST_QAX_RDF_ITEMSUBJECT_H_
