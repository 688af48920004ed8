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
// an ambiguous bare name, whose message lists the candidates; the message of
// a name that names no class suggests the nearest (SimilarClasses).
qaxoi::Status FindClass(const QAX::Ontology::OntologyModel& model, const std::string& name,
                        const QAX::Ontology::MetaClass** found);

// "; did you mean A, B or C?" for the classes of `model` nearest to the
// name `name` that names none (NearestNames.h): compared by their local and
// prefixed names ("Restaurant", "schema:Restaurant"), or by IRI when `name`
// is one; empty when none is near.
std::string SimilarClasses(const QAX::Ontology::OntologyModel& model, const std::string& name);

// How qax-host shows a class: "library:Local".
std::string ShownName(const QAX::Ontology::MetaClass& metaClass);

}  // namespace qaxoi::qax_host

#endif  // QAX_TOOLS_QAX_HOST_CLASSNAMES_H_
