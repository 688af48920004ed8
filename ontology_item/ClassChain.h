// The chain of a class and its parents, root first. Internal to the module.
#ifndef QAX_ONTOLOGY_ITEM_CLASSCHAIN_H_
#define QAX_ONTOLOGY_ITEM_CLASSCHAIN_H_

#include <vector>

#include "host/qax/model/QAX.h"

namespace qaxoi::module {

// `metaClass`, its parent, its parent's parent ... up to the root class, in
// the reverse order: root first, `metaClass` last. Empty for null. Built
// without recursion, so a hierarchy of any depth (a vocabulary may chain
// hundreds of thousands of classes) costs heap, not stack.
std::vector<const QAX::Ontology::MetaClass*> ClassChainFromRoot(
    const QAX::Ontology::MetaClass* metaClass);

}  // namespace qaxoi::module

#endif  // QAX_ONTOLOGY_ITEM_CLASSCHAIN_H_
