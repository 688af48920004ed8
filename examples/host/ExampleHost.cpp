// A host of the QAXOntologyItem channel module in one file, the program of
// docs/integrating.md: it reads schema.org, opens the module by path as an
// engine does, makes a restaurant's channels as the engine's editor does (a
// text, a value and a nested contact point, each linked by its attribute),
// builds the item, saves the channels as a group file and loads them back,
// writes the item as Turtle and as JSON-LD, and validates it against the
// shapes that schema.org states.
//
//   qax-example-host SCHEMA_ORG_FILE [GROUP_FILE]
//
// SCHEMA_ORG_FILE is schema.org in any syntax the service reads, with
// http://schema.org/ IRIs (schemaorg-current-http.ttl of a schema.org
// release); GROUP_FILE defaults to restaurant.grp in the current folder.
// The module is the installed one (QAX_EXAMPLE_MODULE, set by the build).
// Exits 0 when every step gives what it should, 1 with a message when not.
#include <cstdio>
#include <iostream>
#include <memory>
#include <string>
#include <vector>

#include "host/qax/rdf/Rdf.h"              // LoadModelFile, WriteItems, WriteItemsJsonLd
#include "host/qax/shacl/DerivedShapes.h"  // DerivedShapesTurtle
#include "host/qax/shacl/Graph.h"          // Graph, LoadGraphText
#include "host/qax/shacl/Validator.h"      // Shapes, Validate, WriteReportText
#include "host/sdk/ChannelTypeRegistry.h"  // ChannelTypeRegistry
#include "host/sdk/GroupFile.h"            // SaveGroupToFile, LoadGroupFromFile
#include "host/sdk/HighPoly.h"             // the channels, globalEngine
#include "host/sdk/LoadedGroup.h"          // LoadedGroup
#include "host/sdk/ModuleLoader.h"         // ChannelModule
#include "ontology_item/Aco_QAXOntologyItem.h"
#include "ontology_item/ClassSelection.h"  // ChooseClass

namespace {

using QAX::Ontology::MetaClass;

// Says what failed and answers the exit status for it.
int Fail(const std::string& what) {
  std::fprintf(stderr, "qax-example-host: %s\n", what.c_str());
  return 1;
}

// Hands `model` to the ontology service's ambassador for as long as it
// lives. The module asks the ambassador for the model whenever it resolves
// a class handle; the ambassador must let go of a model before the model is
// destroyed, which the destructor sees to.
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

// A new ontology item channel of `metaClass`: made by the module (its
// InitDLL), then prepared as the engine's editor prepares one: one link per
// attribute of the class and of its parents, the class handle, a name after
// the class. Null when the module made no ontology item channel.
std::unique_ptr<Aco_QAXOntologyItem> NewItemChannel(const ChannelModule& module,
                                                    const MetaClass& metaClass) {
  std::unique_ptr<A3d_Channel> made = module.NewChannel();
  auto* channel = dynamic_cast<Aco_QAXOntologyItem*>(made.get());
  if (channel == nullptr) return nullptr;
  made.release();
  std::unique_ptr<Aco_QAXOntologyItem> owned(channel);
  qaxoi::module::ChooseClass(*owned, metaClass, /*force=*/true,
                             qaxoi::module::ChannelNaming::kNameAfterClass);
  return owned;
}

// Links `child` to `parent` at the link of `attribute`, an IRI or a
// qualified name ("schema.name"). False when the parent's class has no such
// attribute. A child of another kind than the attribute takes (a text
// channel for a number) links, but gives the attribute no value.
bool Link(Aco_QAXOntologyItem& parent, const char* attribute, A3d_Channel& child) {
  return parent.LinkChild(parent.LinkOfAttribute(attribute), &child);
}

// The item `channel` builds from its children, or null after saying why it
// builds none. The item is the channel's, valid until its next rebuild.
const QAX::Onto::OntologyItem* BuildItem(Aco_QAXOntologyItem& channel) {
  // GetOntologyItem answers null without a word when the class handle does
  // not resolve in the model on the ambassador: asked first, to say so.
  if (channel.GetCurrentMetaClass() == nullptr) {
    Fail("the model has no class <" + channel.GetClassHandle() + ">");
    return nullptr;
  }
  const QAX::Onto::OntologyItem* item = channel.GetOntologyItem(true);
  if (item == nullptr) Fail("the channel built no item (the module said why)");
  return item;
}

int Run(const std::string& vocabularyPath, const std::string& groupPath) {
  // 1. The vocabulary, read into a model: the whole model, or a failure
  // whose message names the file and the place. Warnings tell what the
  // reader repaired or left out.
  qaxoi::rdf::LoadedModel loaded;
  qaxoi::Status status =
      qaxoi::rdf::LoadModelFile(vocabularyPath, qaxoi::rdf::RdfSyntax::kDetect, &loaded);
  if (!status.ok()) return Fail(status.message());
  for (const std::string& warning : loaded.warnings) Fail("warning: " + warning);
  const QAX::Ontology::OntologyModel& model = *loaded.model;

  // 2. The model on the ambassador, for as long as the channels use it.
  const CurrentModel current(loaded.model.get());

  // 3. The module, opened by path. Every channel it makes must be destroyed
  // before it is closed: declared before them, it is closed after them.
  std::unique_ptr<ChannelModule> module;
  status = ChannelModule::Open(QAX_EXAMPLE_MODULE, &module);
  if (!status.ok()) return Fail(status.message());

  // 4. The classes, by IRI, and a channel for each item: the restaurant and
  // its nested contact point.
  const MetaClass* restaurantClass = model.GetMetaClass("http://schema.org/Restaurant");
  const MetaClass* contactClass = model.GetMetaClass("http://schema.org/ContactPoint");
  if (restaurantClass == nullptr || contactClass == nullptr) {
    return Fail(vocabularyPath + " has no schema:Restaurant or schema:ContactPoint");
  }
  std::unique_ptr<Aco_QAXOntologyItem> restaurant = NewItemChannel(*module, *restaurantClass);
  std::unique_ptr<Aco_QAXOntologyItem> contact = NewItemChannel(*module, *contactClass);
  if (!restaurant || !contact) return Fail("the module made no ontology item channel");

  // 5. The children, each linked at its attribute's link: a text channel
  // for a text, a value channel for a number or a boolean, an item channel
  // for a nested item. The host owns every channel; links do not.
  Aco_StringChannel name;
  name.SetString("Chez Ami");
  Aco_FloatChannel capacity;
  capacity.SetFloat(48.0f);
  Aco_StringChannel telephone;
  telephone.SetString("+33 1 23 45 67 89");
  if (!Link(*restaurant, "schema.name", name) ||
      !Link(*restaurant, "http://schema.org/maximumAttendeeCapacity", capacity) ||
      !Link(*restaurant, "schema.contactPoint", *contact) ||
      !Link(*contact, "schema.telephone", telephone)) {
    return Fail("a child could not be linked");
  }

  // 6. The item, built from the children.
  const QAX::Onto::OntologyItem* item = BuildItem(*restaurant);
  if (item == nullptr) return 1;
  const std::string built = item->ToText();
  std::cout << built;

  // 7. The channels saved as a group, in the order given, with their links;
  // then loaded back, each channel made through a registry of channel types:
  // the engine's own and the module's.
  const std::vector<A3d_Channel*> channels = {restaurant.get(), &name, &capacity, contact.get(),
                                              &telephone};
  status = SaveGroupToFile(groupPath, "restaurant", channels);
  if (!status.ok()) return Fail(status.message());
  ChannelTypeRegistry registry;
  registry.RegisterBuiltIns();
  if (!registry.RegisterModule(*module)) return Fail("the module gives no channel type");
  std::unique_ptr<LoadedGroup> group;
  status = LoadGroupFromFile(groupPath, registry, &group);
  if (!status.ok()) return Fail(status.message());
  auto* reloaded = dynamic_cast<Aco_QAXOntologyItem*>(group->Channel(0));
  if (reloaded == nullptr) return Fail(groupPath + " starts with no ontology item channel");
  const QAX::Onto::OntologyItem* again = BuildItem(*reloaded);
  if (again == nullptr) return 1;
  if (again->ToText() != built) return Fail("the loaded group builds another item");
  std::cout << "saved " << channels.size() << " channels to " << groupPath
            << " and loaded them back: the same item\n";

  // 8. The item as RDF, under an IRI of its own: Turtle, then JSON-LD, each
  // one whole document. Warnings tell of values written otherwise than their
  // attribute's range says.
  const std::vector<qaxoi::rdf::ItemSubject> items = {
      {item, "http://example.org/restaurants/chez-ami"}};
  qaxoi::rdf::WrittenItems turtle;
  status = qaxoi::rdf::WriteItems(items, model, qaxoi::rdf::RdfSyntax::kTurtle, &turtle);
  if (!status.ok()) return Fail(status.message());
  qaxoi::rdf::WrittenItems jsonLd;
  status = qaxoi::rdf::WriteItemsJsonLd(items, model, &jsonLd);
  if (!status.ok()) return Fail(status.message());
  for (const std::string& warning : turtle.warnings) Fail("warning: " + warning);
  std::cout << turtle.text << jsonLd.text;

  // 9. The Turtle validated against the shapes schema.org states for the
  // two classes (ranges, counts, enumerations): both read into graphs, the
  // shapes read from theirs, the data checked, the report written.
  const std::string shapesText =
      qaxoi::shacl::DerivedShapesTurtle(model, {restaurantClass, contactClass});
  qaxoi::shacl::Graph shapesGraph;
  qaxoi::shacl::GraphLoad shapesLoad;
  status = qaxoi::shacl::LoadGraphText(shapesText, qaxoi::rdf::RdfSyntax::kTurtle, "shapes.ttl", "",
                                       shapesGraph, &shapesLoad);
  if (!status.ok()) return Fail(status.message());
  std::unique_ptr<qaxoi::shacl::Shapes> shapes;
  status = qaxoi::shacl::Shapes::Read(shapesGraph, &shapes);
  if (!status.ok()) return Fail(status.message());
  qaxoi::shacl::Graph data;
  qaxoi::shacl::GraphLoad dataLoad;
  status = qaxoi::shacl::LoadGraphText(turtle.text, qaxoi::rdf::RdfSyntax::kTurtle,
                                       "restaurant.ttl", "", data, &dataLoad);
  if (!status.ok()) return Fail(status.message());
  const qaxoi::shacl::ValidationReport report = qaxoi::shacl::Validate(data, *shapes);
  qaxoi::shacl::WriteReportText(std::cout, report, dataLoad.prefixes);
  if (!report.conforms) return Fail("the restaurant does not conform to schema.org");

  // Leaving, everything goes in the reverse order it was made in: the
  // loaded group and the channels, then the module is closed, then the
  // ambassador lets go of the model, then the model goes.
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  // 0. The module's messages reach the host through the engine: shown on
  // standard error.
  globalEngine->ShowDebugMessage.SetHandler(
      [](const char* text) { std::fprintf(stderr, "qax-example-host: module: %s\n", text); });
  if (argc < 2 || argc > 3) {
    std::fprintf(stderr, "usage: qax-example-host SCHEMA_ORG_FILE [GROUP_FILE]\n");
    return 2;
  }
  return Run(argv[1], argc > 2 ? argv[2] : "restaurant.grp");
}
