// Shapes that an ontology model states by itself: what a vocabulary says of
// its classes' attributes (ranges, unions, counts, enumerations), written as
// a SHACL shapes graph that a user can read, edit and validate with.
#ifndef QAX_HOST_QAX_SHACL_DERIVEDSHAPES_H_
#define QAX_HOST_QAX_SHACL_DERIVEDSHAPES_H_

#include <cstddef>
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
// Each class is walked once for the whole document, and a class's own
// property shapes are written once and copied to the classes below it, so
// the cost is the model's classes plus the document's size; when
// `classesWalked` is not null it gets the count of classes walked (at most
// the model's classes plus the parents the shapes name, with attributes).
QAX_API std::string DerivedShapesTurtle(const QAX::Ontology::OntologyModel& model,
                                        const std::vector<const QAX::Ontology::MetaClass*>& classes,
                                        std::size_t* classesWalked = nullptr);

}  // namespace qaxoi::shacl

#endif  // QAX_HOST_QAX_SHACL_DERIVEDSHAPES_H_
