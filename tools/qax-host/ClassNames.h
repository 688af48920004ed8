// Naming ontology classes on the command line.
#ifndef QAX_TOOLS_QAX_HOST_CLASSNAMES_H_
#define QAX_TOOLS_QAX_HOST_CLASSNAMES_H_

#include <string>

#include "host/qax/model/QAX.h"

namespace qax_host {

// The class that `name` names in `model`: a full IRI (the class's handle),
// bare or in angle brackets "<IRI>", a prefixed name "library:Local" or
// "library.Local", ":Local" in the namespace of the document's empty prefix,
// or a bare local name when exactly one class has it. Null and a message in `error` otherwise; an
// ambiguous bare name lists the candidates.
const QAX::Ontology::MetaClass* FindClass(const QAX::Ontology::OntologyModel& model,
                                          const std::string& name, std::string* error);

// How qax-host shows a class: "library:Local".
std::string ShownName(const QAX::Ontology::MetaClass& metaClass);

}  // namespace qax_host

#endif  // QAX_TOOLS_QAX_HOST_CLASSNAMES_H_
