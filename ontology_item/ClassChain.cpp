#include "ontology_item/ClassChain.h"

#include <algorithm>

namespace qaxoi::module {

std::vector<const QAX::Ontology::MetaClass*> ClassChainFromRoot(
    const QAX::Ontology::MetaClass* metaClass) {
  std::vector<const QAX::Ontology::MetaClass*> chain;
  for (const QAX::Ontology::MetaClass* at = metaClass; at != nullptr; at = at->GetParent()) {
    chain.push_back(at);
  }
  std::reverse(chain.begin(), chain.end());
  return chain;
}

}  // namespace qaxoi::module
