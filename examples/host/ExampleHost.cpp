// A small host and editor program: it loads a vocabulary, opens the channel
// module by path as an engine does, makes a penguin's channels the way the
// engine's editor does, builds and prints the item, saves the channel group,
// loads it back and checks that the loaded group builds the same item.
//
//   qax-example-host [MODULE [VOCABULARY [GROUP_FILE]]]
//
// MODULE defaults to the installed QAXOntologyItem module, VOCABULARY to
// zoo.ttl beside this file, GROUP_FILE to penguin.grp in the current folder.
// Exits 0 when every step gives what it should, 1 (with a message) when not.
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "host/qax/rdf/Rdf.h"
#include "host/sdk/ChannelTypeRegistry.h"
#include "host/sdk/GroupFile.h"
#include "host/sdk/HighPoly.h"
#include "host/sdk/ModuleLoader.h"
#include "ontology_item/Aco_QAXOntologyItem.h"
#include "ontology_item/ClassSelection.h"

namespace {

using QAX::Ontology::MetaAttr;
using QAX::Ontology::MetaClass;

// What the penguin's channels build, as OntologyItem::ToText writes it.
const char* const kExpectedItem =
    "zoo::Penguin\n"
    "  legs = \"2\"\n"
    "  name = \"Pingu\"\n"
    "  habitat = geo::Place\n"
    "    placeName = \"Ross Sea\"\n";

// Hands a model to the ontology service's ambassador for as long as it
// lives: the ambassador must let go of a model before the model is destroyed.
class CurrentModel {
 public:
  explicit CurrentModel(QAX::Ontology::OntologyModel* model) {
    QAX::Util::SingletonObject<QAX::QAXAmbassador>::Instance().SetOntologyModel(model);
  }
  ~CurrentModel() {
    QAX::Util::SingletonObject<QAX::QAXAmbassador>::Instance().SetOntologyModel(nullptr);
  }
  CurrentModel(const CurrentModel&) = delete;
  CurrentModel& operator=(const CurrentModel&) = delete;
};

int Fail(const std::string& what) {
  std::fprintf(stderr, "qax-example-host: %s\n", what.c_str());
  return 1;
}

// The link of attribute `name` on a channel of class `metaClass`: a channel
// has one link per attribute of its class and of the class's parents,
// parents first. -1 when the class has no such attribute. A model's parent
// chains are finite and loop-free, so the walk ends.
int LinkOf(const MetaClass& metaClass, const std::string& name) {
  std::vector<const MetaClass*> chain;
  for (const MetaClass* c = &metaClass; c != nullptr; c = c->GetParent()) {
    chain.insert(chain.begin(), c);
  }
  int link = 0;
  for (const MetaClass* c : chain) {
    for (const MetaAttr* attribute : c->GetAttributes()) {
      if (attribute->GetInfo().name == name) return link;
      ++link;
    }
  }
  return -1;
}

// A new ontology item channel of class `metaClass`, made by the module and
// prepared as the editor prepares one; null when the module made none.
std::unique_ptr<Aco_QAXOntologyItem> NewItemChannel(const ChannelModule& module,
                                                    const MetaClass& metaClass) {
  std::unique_ptr<A3d_Channel> made = module.NewChannel();
  if (dynamic_cast<Aco_QAXOntologyItem*>(made.get()) == nullptr) return nullptr;
  std::unique_ptr<Aco_QAXOntologyItem> channel(static_cast<Aco_QAXOntologyItem*>(made.release()));

  // Select the class, prepare the links from the selection and clear it
  // again (it is shared by all channels), then give the channel its class
  // handle and a name after it. Without the class handle the channel would
  // have links but no class: GetOntologyItem(true) would answer null, and
  // say nothing.
  qaxoi::module::ChooseClass(*channel, metaClass, true,
                             qaxoi::module::ChannelNaming::kNameAfterClass);
  return channel;
}

// Links `child` to `parent` at the link of attribute `name`; false when the
// class has no such attribute or the link refuses the child.
bool Link(Aco_QAXOntologyItem& parent, const MetaClass& parentClass, const std::string& name,
          A3d_Channel& child) {
  child.SetChannelName(name.c_str());
  return parent.LinkChild(LinkOf(parentClass, name), &child);
}

// The item `channel` builds from its children, as text; why it builds none
// otherwise.
qaxoi::Status BuildItemText(Aco_QAXOntologyItem& channel, std::string* text) {
  // The one silent failure: a class handle that the loaded model does not
  // resolve. Asked first so that it is not silent here.
  if (channel.GetCurrentMetaClass() == nullptr) {
    return qaxoi::Status::InvalidInput("the model has no class <" + channel.GetClassHandle() + ">");
  }
  const QAX::Onto::OntologyItem* item = channel.GetOntologyItem(true);
  if (item == nullptr) {
    return qaxoi::Status::InvalidInput("the channel built no item (the module said why, above)");
  }
  *text = item->ToText();
  return qaxoi::Status::Ok();
}

int Run(const std::string& modulePath, const std::string& vocabularyPath,
        const std::string& groupPath) {
  // 1. The vocabulary. The model must outlive every channel that uses it.
  qaxoi::rdf::LoadedModel loaded;
  qaxoi::Status status =
      qaxoi::rdf::LoadModelFile(vocabularyPath, qaxoi::rdf::RdfSyntax::kDetect, &loaded);
  if (!status.ok()) return Fail(status.message());

  // 2. The ontology service works with the model handed to its ambassador.
  const CurrentModel current(loaded.model.get());

  // 3. The module, opened by path. Every channel it makes must be destroyed
  // before it is closed: it is declared before them, so it is closed after.
  std::unique_ptr<ChannelModule> module;
  status = ChannelModule::Open(modulePath, &module);
  if (!status.ok()) return Fail(status.message());

  const QAX::Ontology::OntologyModel& model = *loaded.model;
  const MetaClass* penguin = model.GetMetaClass("http://example.org/zoo#Penguin");
  const MetaClass* place = model.GetMetaClass("http://example.org/geo#Place");
  if (penguin == nullptr || place == nullptr) return Fail(vocabularyPath + " has no penguins");

  // 4. The channels: the penguin, a text and a value child, and a nested
  // place with a text child of its own. The host owns every channel; links
  // do not.
  std::unique_ptr<Aco_QAXOntologyItem> pingu = NewItemChannel(*module, *penguin);
  std::unique_ptr<Aco_QAXOntologyItem> habitat = NewItemChannel(*module, *place);
  if (!pingu || !habitat) return Fail("the module made no ontology item channel");
  Aco_StringChannel name;
  name.SetString("Pingu");
  Aco_FloatChannel legs;
  legs.SetFloat(2.0f);
  Aco_StringChannel placeName;
  placeName.SetString("Ross Sea");

  // 5. The children, each at the link of its attribute.
  if (!Link(*pingu, *penguin, "name", name) || !Link(*pingu, *penguin, "legs", legs) ||
      !Link(*pingu, *penguin, "habitat", *habitat) ||
      !Link(*habitat, *place, "placeName", placeName)) {
    return Fail("a child could not be linked");
  }

  // 6. The item, built from the children.
  std::string built;
  status = BuildItemText(*pingu, &built);
  if (!status.ok()) return Fail(status.message());
  std::fputs(built.c_str(), stdout);
  if (built != kExpectedItem) return Fail("the item is not the expected penguin");

  // 7. The group, saved and loaded back. Loading makes each channel through
  // the registry: the host's own channel types and the module's.
  const std::vector<A3d_Channel*> channels = {pingu.get(), &name, &legs, habitat.get(), &placeName};
  status = SaveGroupToFile(groupPath, "example", channels);
  if (!status.ok()) return Fail(status.message());
  std::printf("saved %zu channels to %s\n", channels.size(), groupPath.c_str());

  ChannelTypeRegistry registry;
  registry.RegisterBuiltIns();
  if (!registry.RegisterModule(*module)) return Fail("the module gives no channel type");
  std::unique_ptr<LoadedGroup> group;
  status = LoadGroupFromFile(groupPath, registry, &group);
  if (!status.ok()) return Fail(status.message());
  if (group->ChannelCount() != channels.size()) return Fail("the group lost channels");

  // 8. The loaded penguin builds the same item.
  auto* reloaded = dynamic_cast<Aco_QAXOntologyItem*>(group->Channel(0));
  if (reloaded == nullptr) return Fail("the loaded group starts with no ontology item channel");
  std::string rebuilt;
  status = BuildItemText(*reloaded, &rebuilt);
  if (!status.ok()) return Fail(status.message());
  if (rebuilt != built) return Fail("the loaded group builds another item:\n" + rebuilt);
  std::printf("loaded them back: the same item\n");
  // Leaving, the loaded group and the channels are destroyed first, then the
  // module is closed, then the ambassador lets go of the model, then the
  // model goes: the reverse of the order they were made in.
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  // The module's messages reach the host through the engine.
  globalEngine->ShowDebugMessage.SetHandler(
      [](const char* text) { std::fprintf(stderr, "qax-example-host: module: %s\n", text); });
  const std::string modulePath = argc > 1 ? argv[1] : QAX_EXAMPLE_MODULE;
  const std::string vocabularyPath = argc > 2 ? argv[2] : QAX_EXAMPLE_VOCABULARY;
  const std::string groupPath = argc > 3 ? argv[3] : "penguin.grp";
  return Run(modulePath, vocabularyPath, groupPath);
}
