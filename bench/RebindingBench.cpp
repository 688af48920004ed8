// Loading a group saved against one release of a vocabulary against the
// next release, where every saved link must be bound to its attribute by
// identity, against loading it against its own release.
#include <memory>
#include <string>
#include <vector>

#include "bench/Benchmarks.h"
#include "channel_extension/LinkTypes.h"
#include "host/qax/rdf/Rdf.h"
#include "host/sdk/ChannelTypeRegistry.h"
#include "host/sdk/GroupFile.h"
#include "host/sdk/LoadedGroup.h"
#include "module/Module.h"
#include "ontology_item/Aco_QAXOntologyItem.h"
#include "ontology_item/ClassSelection.h"
#include "ontology_item/LoadBinding.h"

namespace qaxoi::bench {

namespace {

// A chain of kChainLength classes declaring ten attributes, texts and
// integers in turn, two per class; `grown` adds one to the root class whose
// IRI sorts first, so that every link of the last class moves one place.
std::string Release(bool grown) {
  std::string text =
      "@prefix rdfs: <http://www.w3.org/2000/01/rdf-schema#> .\n"
      "@prefix owl: <http://www.w3.org/2002/07/owl#> .\n"
      "@prefix xsd: <http://www.w3.org/2001/XMLSchema#> .\n"
      "@prefix b: <http://example.org/bench#> .\n";
  for (int c = 0; c < kChainLength; ++c) {
    text += "b:Class" + std::to_string(c) + " a owl:Class";
    if (c > 0) text += " ; rdfs:subClassOf b:Class" + std::to_string(c - 1);
    text += " .\n";
  }
  for (int a = 0; a < 10; ++a) {
    text += "b:propertyName00" + std::to_string(10 + a) + " a owl:DatatypeProperty ; " +
            "rdfs:domain b:Class" + std::to_string(a / 2) + " ; rdfs:range " +
            (a % 2 == 0 ? "xsd:string" : "xsd:integer") + " .\n";
  }
  if (grown) text += "b:propertyName0000 a owl:DatatypeProperty ; rdfs:domain b:Class0 .\n";
  return text;
}

std::unique_ptr<QAX::Ontology::OntologyModel> Load(const std::string& text) {
  qaxoi::rdf::LoadedModel loaded;
  if (!qaxoi::rdf::LoadModelText(text, qaxoi::rdf::RdfSyntax::kTurtle, "bench.ttl", "", &loaded)
           .ok())
    return nullptr;
  return std::move(loaded.model);
}

QAX::QAXAmbassador& Ambassador() {
  return QAX::Util::SingletonObject<QAX::QAXAmbassador>::Instance();
}

}  // namespace

void RegisterRebindingBenchmarks(const Plan& plan) {
  for (const int channels : SizesFor(plan, {100, 1000, 10000})) {
    RegisterPair(
        plan, "LoadGroupAgainstNextRelease", std::to_string(channels),
        [plan, channels](benchmark::State& state) {
          QAX::Ontology::OntologyModel* const previous = Ambassador().GetOntologyModel();
          const std::unique_ptr<QAX::Ontology::OntologyModel> own = Load(Release(false));
          const std::unique_ptr<QAX::Ontology::OntologyModel> next = Load(Release(true));
          const std::string handle = "http://example.org/bench#Class4";
          if (!own || !next || own->GetMetaClass(handle) == nullptr) {
            state.SkipWithError("the generated vocabularies do not load");
            return;
          }
          ChannelTypeRegistry registry;
          registry.RegisterBuiltIns();
          registry.Register(*GetType(), [] { return std::unique_ptr<A3d_Channel>(InitDLL()); });
          // The group, saved against its own release.
          Ambassador().SetOntologyModel(own.get());
          std::vector<unsigned char> bytes;
          {
            std::vector<std::unique_ptr<A3d_Channel>> owned;
            std::vector<A3d_Channel*> list;
            for (int i = 0; i < channels; ++i) {
              owned.push_back(registry.NewChannel(GetType()->TypeGuid));
              auto* item = static_cast<Aco_QAXOntologyItem*>(owned.back().get());
              qaxoi::module::ChooseClass(*item, *own->GetMetaClass(handle), true,
                                         qaxoi::module::ChannelNaming::kNameAfterClass);
              list.push_back(item);
              // A value on every link, as a scene saves them.
              const auto& links = item->GetLinkDescriptions();
              for (std::size_t link = 0; link < links.size(); ++link) {
                const bool text = links[link].first == kTextLinkTypeName;
                owned.push_back(registry.NewChannel(text ? kTextLinkGuid : kValueLinkGuid));
                if (text) {
                  static_cast<Aco_StringChannel&>(*owned.back()).SetString("a value");
                } else {
                  static_cast<Aco_FloatChannel&>(*owned.back()).SetFloat(static_cast<float>(link));
                }
                item->LinkChild(static_cast<int>(link), owned.back().get());
                list.push_back(owned.back().get());
              }
            }
            static_cast<void>(SaveGroup("bench", list, &bytes));
          }
          const auto loadAgainst = [&](QAX::Ontology::OntologyModel* model) {
            Ambassador().SetOntologyModel(model);
            std::unique_ptr<LoadedGroup> group;
            benchmark::DoNotOptimize(LoadGroup(bytes.data(), bytes.size(), registry, &group));
            return group;
          };
          // Both sides load, and the next release really re-binds.
          const std::unique_ptr<LoadedGroup> rebound = loadAgainst(next.get());
          const std::unique_ptr<LoadedGroup> same = loadAgainst(own.get());
          const auto* first =
              rebound ? dynamic_cast<Aco_QAXOntologyItem*>(rebound->Channel(0)) : nullptr;
          if (!same || first == nullptr || !first->GetLoadBinding().rebound) {
            Ambassador().SetOntologyModel(previous);
            state.SkipWithError("the group does not load, or is not re-bound");
            return;
          }
          ComparePair(
              state, plan, [&] { loadAgainst(next.get()); }, [&] { loadAgainst(own.get()); }, 1.0,
              static_cast<double>(bytes.size()));
          Ambassador().SetOntologyModel(previous);
        });
  }
}

}  // namespace qaxoi::bench
