#include "tools/qax-host/InheritedAttributes.h"

#include <unordered_map>
#include <unordered_set>

namespace qaxoi::qax_host {

using QAX::Ontology::MetaAttr;
using QAX::Ontology::MetaClass;

std::vector<AttributeGroup> InheritedAttributes(const MetaClass& metaClass) {
  // The class that declares each attribute of a superclass, near or far.
  std::unordered_map<const MetaAttr*, const MetaClass*> declarer;
  std::unordered_set<const MetaClass*> seen{&metaClass};
  std::vector<const MetaClass*> pending{&metaClass};
  while (!pending.empty()) {
    const MetaClass* const c = pending.back();
    pending.pop_back();
    for (const MetaClass* superclass : c->GetSuperclasses()) {
      if (!seen.insert(superclass).second) continue;
      pending.push_back(superclass);
      for (const MetaAttr* attribute : superclass->GetDeclaredAttributes()) {
        declarer.emplace(attribute, superclass);
      }
    }
  }
  // The parents, root first: the order of the channel's links.
  std::vector<const MetaClass*> chain;
  std::unordered_set<const MetaClass*> inChain{&metaClass};
  for (const MetaClass* c = metaClass.GetParent(); c != nullptr && inChain.insert(c).second;
       c = c->GetParent()) {
    chain.push_back(c);
  }
  std::vector<AttributeGroup> groups;
  std::unordered_map<const MetaClass*, std::size_t> groupOf;
  for (auto it = chain.rbegin(); it != chain.rend(); ++it) {
    for (const MetaAttr* attribute : (*it)->GetAttributes()) {
      const auto declared = declarer.find(attribute);
      const MetaClass* owner = declared != declarer.end() ? declared->second : *it;
      const auto [at, added] = groupOf.emplace(owner, groups.size());
      if (added) groups.push_back(AttributeGroup{owner, {}});
      groups[at->second].attributes.push_back(attribute);
    }
  }
  return groups;
}

}  // namespace qaxoi::qax_host
