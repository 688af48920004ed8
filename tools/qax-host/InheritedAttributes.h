// The attributes a class inherits: those that a channel of the class links
// besides the class's own, grouped by the class they come from.
#ifndef QAX_TOOLS_QAX_HOST_INHERITEDATTRIBUTES_H_
#define QAX_TOOLS_QAX_HOST_INHERITEDATTRIBUTES_H_

#include <vector>

#include "host/qax/model/QAX.h"

namespace qaxoi::qax_host {

// The attributes that come from one class. The pointers belong to the model
// of the class asked about and are valid as long as it.
struct AttributeGroup {
  const QAX::Ontology::MetaClass* owner;
  std::vector<const QAX::Ontology::MetaAttr*> attributes;
};

// What a channel of `metaClass` links before the class's own attributes
// (MetaClass::GetAttributes, which the module's class description lists):
// the attributes of its parents, walked as the links go, root first. Each
// is put under the class that declares it, a superclass of `metaClass` (a
// class may present attributes of superclasses other than its parent); one
// the superclasses do not declare stays under the parent that presents it.
// Groups come in the order of their first attribute's link, the attributes
// of a group in link order. Empty for a root class. Each class of the
// parent chain and of the superclasses is visited once, so chains that loop
// end all the same.
std::vector<AttributeGroup> InheritedAttributes(const QAX::Ontology::MetaClass& metaClass);

}  // namespace qaxoi::qax_host

#endif  // QAX_TOOLS_QAX_HOST_INHERITEDATTRIBUTES_H_
