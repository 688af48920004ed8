// Shapes that an ontology model states by itself: what a vocabulary says of
// its classes' attributes (ranges, unions, counts, enumerations), written as
// a SHACL shapes graph that a user can read, edit and validate with.
#ifndef QAX_HOST_QAX_SHACL_DERIVEDSHAPES_H_
#define QAX_HOST_QAX_SHACL_DERIVEDSHAPES_H_

#include <string>
#include <vector>

#include "host/qax/QAXExport.h"
#include "host/qax/model/MetaClass.h"
#include "host/qax/model/OntologyModel.h"

namespace qaxoi::shacl {

// A Turtle document with one sh:NodeShape per class of `classes` (each a
// class of `model`; null entries are skipped), targeting the class
// (sh:targetClass) and holding one property shape per attribute of the class
// and of its parents, as docs/validation.md maps them. The document declares
// the model's prefixes and sh:, and reads back into the same shapes with
// Shapes::Read. An empty `classes` gives every class of the model.
QAX_API std::string DerivedShapesTurtle(
    const QAX::Ontology::OntologyModel& model,
    const std::vector<const QAX::Ontology::MetaClass*>& classes);

}  // namespace qaxoi::shacl

#endif  // QAX_HOST_QAX_SHACL_DERIVEDSHAPES_H_
