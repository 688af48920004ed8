#include "tools/qax-host/RootItems.h"

#include <set>

#include "tools/qax-host/Commands.h"

namespace qaxoi::qax_host {

bool BuildRootItems(const LoadedGroup& group, const Session& session,
                    const std::string& subjectPrefix,
                    std::vector<qaxoi::rdf::ItemSubject>* subjects) {
  const std::vector<A3d_Channel*> channels = group.Channels();
  const std::set<const A3d_Channel*> nested = NestedChannels(channels);
  for (std::size_t i = 0; i < channels.size(); ++i) {
    auto* itemChannel = dynamic_cast<Aco_QAXOntologyItem*>(channels[i]);
    if (itemChannel == nullptr || nested.count(channels[i]) != 0) continue;
    QAX::Onto::OntologyItem* item = BuildItem(*itemChannel, session);
    if (item == nullptr) return false;
    subjects->push_back({item, subjectPrefix + std::to_string(i)});
  }
  return true;
}

}  // namespace qaxoi::qax_host
