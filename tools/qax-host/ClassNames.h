// Naming ontology classes on the command line.
#ifndef QAX_TOOLS_QAX_HOST_CLASSNAMES_H_
#define QAX_TOOLS_QAX_HOST_CLASSNAMES_H_

#include <string>

#include "host/qax/model/QAX.h"
#include "host/status/Status.h"

namespace qaxoi::qax_host {

// The class that `name` names in `model`: a full IRI (the class's handle),
// bare or in angle brackets "<IRI>", a prefixed name "library:Local" or
// "library.Local", ":Local" in the namespace of the document's empty prefix,
// or a bare local name when exactly one class has it; it goes to `found`.
// Otherwise kInvalidArgument, with `found` left as it was: no such class, or
// an ambiguous bare name, whose message lists the candidates.
qaxoi::Status FindClass(const QAX::Ontology::OntologyModel& model, const std::string& name,
                        const QAX::Ontology::MetaClass** found);

// How qax-host shows a class: "library:Local".
std::string ShownName(const QAX::Ontology::MetaClass& metaClass);

}  // namespace qaxoi::qax_host

#endif  // QAX_TOOLS_QAX_HOST_CLASSNAMES_H_
