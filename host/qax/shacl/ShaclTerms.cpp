#include "host/qax/shacl/ShaclTerms.h"

namespace qaxoi::shacl {

ShaclTerms::ShaclTerms(const Graph& graph) {
#define QAX_SHACL_FIND(field, iri) field = graph.FindIri(iri);
  QAX_SHACL_TERMS(QAX_SHACL_FIND)
#undef QAX_SHACL_FIND
}

}  // namespace qaxoi::shacl
