#include "fuzz/FuzzSupport.h"

#include <cstring>
#include <memory>

#include "examples/sample/SampleOntology.h"
#include "host/qax/rdf/Rdf.h"
#include "module/Module.h"

namespace qaxoi::fuzz {

const QAX::Ontology::OntologyModel& UseSampleOntology() {
  static const std::unique_ptr<QAX::Ontology::OntologyModel> model = [] {
    qaxoi::rdf::LoadedModel loaded;
    // The sample is the project's own document and always loads.
    static_cast<void>(qaxoi::rdf::LoadModelText(qaxoi::sample::SampleOntologyTurtle(),
                                                qaxoi::rdf::RdfSyntax::kTurtle,
                                                qaxoi::sample::kSampleOntologyName, "", &loaded));
    return std::move(loaded.model);
  }();
  QAX::Util::SingletonObject<QAX::QAXAmbassador>::Instance().SetOntologyModel(model.get());
  return *model;
}

const ChannelTypeRegistry& Registry() {
  static const ChannelTypeRegistry* const registry = [] {
    auto* made = new ChannelTypeRegistry();
    made->RegisterBuiltIns();
    made->Register(*GetType(), [] { return std::unique_ptr<A3d_Channel>(InitDLL()); });
    return made;
  }();
  return *registry;
}

std::string LinksMismatch(const Aco_QAXOntologyItem& channel) {
  const std::vector<Aco_QAXOntologyItem::LinkDescription>& links = channel.GetLinkDescriptions();
  if (links.size() != static_cast<std::size_t>(channel.GetChildCount())) {
    return "the channel describes " + std::to_string(links.size()) + " links, the host declares " +
           std::to_string(channel.GetChildCount());
  }
  for (std::size_t i = 0; i < links.size(); ++i) {
    const ChildCreation* record = channel.GetChildCreation(static_cast<int>(i));
    // The descriptions keep whole texts; the records hold what fits.
    if (links[i].first.substr(0, sizeof(record->Type.Name) - 1) != record->Type.Name ||
        links[i].second.substr(0, sizeof(record->LinkName) - 1) != record->LinkName) {
      return "link " + std::to_string(i) + " is declared other than described";
    }
  }
  return "";
}

void LinkChildrenByType(Aco_QAXOntologyItem& channel, Aco_QAXOntologyItem* nested) {
  static Aco_StringChannel* const text = [] {
    auto* made = new Aco_StringChannel();
    made->SetString("text");
    return made;
  }();
  static Aco_FloatChannel* const value = [] {
    auto* made = new Aco_FloatChannel();
    made->SetFloat(-2.5f);
    return made;
  }();
  const std::vector<Aco_QAXOntologyItem::LinkDescription>& links = channel.GetLinkDescriptions();
  for (std::size_t i = 0; i < links.size(); ++i) {
    A3d_Channel* child = nullptr;
    if (links[i].first == "Text") child = text;
    if (links[i].first == "Value") child = value;
    if (links[i].first == "QAXOntologyItem") child = nested;
    channel.LinkChild(static_cast<int>(i), child);
  }
}

}  // namespace qaxoi::fuzz
