// The RDF syntaxes an ontology model can be loaded from.
#ifndef QAX_HOST_QAX_RDFSYNTAX_H_
#define QAX_HOST_QAX_RDFSYNTAX_H_

#include <string>

#include "host/qax/QAXExport.h"

namespace QAX {
namespace Ontology {

enum class RdfSyntax {
  kFromExtension,  // tell from the file name: .ttl, .nt or .nq (any letter case)
  kTurtle,
  kNTriples,
  kNQuads,
};

// The syntax that the extension of `path` names; kFromExtension when the
// extension is none of the known ones.
QAX_API RdfSyntax RdfSyntaxFromPath(const std::string& path);

}  // namespace Ontology
}  // namespace QAX

#endif  // QAX_HOST_QAX_RDFSYNTAX_H_
