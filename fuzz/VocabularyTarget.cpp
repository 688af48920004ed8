#include <algorithm>
#include <string>
#include <unordered_set>

#include "fuzz/FuzzSupport.h"
#include "fuzz/FuzzTargets.h"
#include "host/qax/rdf/Rdf.h"
#include "host/qax/shacl/DerivedShapes.h"
#include "host/qax/shacl/Graph.h"
#include "host/qax/shacl/Validator.h"
#include "ontology_item/ClassSelection.h"

namespace qaxoi::fuzz {
namespace {

using QAX::Ontology::MetaClass;
using QAX::Ontology::OntologyModel;

// At most this many classes of a model are prepared and built per input.
constexpr std::size_t kClassesTried = 16;

std::string CheckModel(OntologyModel& model) {
  std::size_t classes = 0;
  std::vector<const MetaClass*> tried;
  for (const QAX::Ontology::MetaClassLibrary* library : model.GetLibraries()) {
    for (const MetaClass* metaClass : library->GetClasses()) {
      ++classes;
      if (model.GetMetaClass(metaClass->GetInfo().handle) != metaClass) {
        return "class <" + metaClass->GetInfo().handle + "> does not resolve by its handle";
      }
      if (model.GetMetaClassByFQName(metaClass->GetFQName()) != metaClass) {
        return "class " + metaClass->GetFQName() + " does not resolve by its FQ name";
      }
      std::size_t depth = 0;
      for (const MetaClass* at = metaClass; at != nullptr; at = at->GetParent()) {
        if (++depth > model.GetClassCount()) return "a parent chain loops";
      }
      if (tried.size() < kClassesTried) tried.push_back(metaClass);
    }
  }
  if (classes != model.GetClassCount()) return "the libraries do not hold every class";

  // The shapes the model states read back as SHACL.
  qaxoi::shacl::Graph shapesGraph;
  qaxoi::shacl::GraphLoad loaded;
  const qaxoi::Status shapesLoad = qaxoi::shacl::LoadGraphText(
      qaxoi::shacl::DerivedShapesTurtle(model, {}), qaxoi::rdf::RdfSyntax::kTurtle, "shapes.ttl",
      "", shapesGraph, &loaded);
  if (!shapesLoad.ok()) return "the derived shapes do not read: " + shapesLoad.message();
  std::unique_ptr<qaxoi::shacl::Shapes> shapes;
  const qaxoi::Status read = qaxoi::shacl::Shapes::Read(shapesGraph, &shapes);
  if (!read.ok()) return "the derived shapes are not SHACL: " + read.message();

  QAX::Util::SingletonObject<QAX::QAXAmbassador>::Instance().SetOntologyModel(&model);
  for (const MetaClass* metaClass : tried) {
    Aco_QAXOntologyItem channel;
    qaxoi::module::ChooseClass(channel, *metaClass, true, qaxoi::module::ChannelNaming::kKeepName);
    std::string problem = LinksMismatch(channel);
    if (!problem.empty()) return problem;
    LinkChildrenByType(channel, nullptr);
    if (channel.GetOntologyItem(true) == nullptr) return "a class of the model builds no item";
    channel.GetClassDescription(metaClass);
  }
  return "";
}

}  // namespace

std::string FuzzVocabulary(const std::uint8_t* data, std::size_t size) {
  globalEngine->ShowDebugMessage.Clear();
  const std::string text(reinterpret_cast<const char*>(data), size);
  using qaxoi::rdf::RdfSyntax;
  for (const auto syntax :
       {RdfSyntax::kTurtle, RdfSyntax::kNQuads, RdfSyntax::kTriG, RdfSyntax::kRdfXml}) {
    qaxoi::rdf::LoadedModel result;
    const qaxoi::Status load =
        LoadModelText(text, syntax, "fuzz", "http://example.org/base/", &result);
    if (!load.ok()) {
      if (load.message().compare(0, 5, "fuzz:") != 0) return "an error without its place";
      continue;
    }
    // ChooseClass leaves nothing selected, so that nothing points into the
    // model once it is gone.
    std::string problem = CheckModel(*result.model);
    UseSampleOntology();
    if (!problem.empty()) return problem;
  }
  return "";
}

}  // namespace qaxoi::fuzz
