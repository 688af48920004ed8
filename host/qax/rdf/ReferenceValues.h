// The values of reference attributes: texts that name resources, resolved
// to the IRIs that items are written with.
#ifndef QAX_HOST_QAX_RDF_REFERENCEVALUES_H_
#define QAX_HOST_QAX_RDF_REFERENCEVALUES_H_

#include <cstddef>
#include <string>

#include "host/qax/QAXExport.h"
#include "host/qax/model/AttrValueType.h"
#include "host/qax/model/OntologyModel.h"

namespace qaxoi::rdf {

// The IRI that `text`, a value of a reference attribute of `valueType`,
// names: with allowed values, one of them given by IRI, by its shown name
// ("library:Local") or by its local name when no other has it; without, an
// IRI that IsWritableIri takes, or "library:Local" of a library of `model`
// that has a namespace. Empty when it names none.
QAX_API std::string ResolveReference(const std::string& text,
                                     const QAX::Ontology::AttrValueType& valueType,
                                     const QAX::Ontology::OntologyModel& model);

// The allowed values of `valueType` for a message: their shown names, at
// most `shown` of them, then how many more there are.
QAX_API std::string AllowedValuesText(const QAX::Ontology::AttrValueType& valueType,
                                      std::size_t shown = 10);

}  // namespace qaxoi::rdf

#endif  // QAX_HOST_QAX_RDF_REFERENCEVALUES_H_
