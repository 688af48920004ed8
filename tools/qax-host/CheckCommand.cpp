// check: the items of a saved group, written as RDF in memory and validated
// against the shapes their ontology states (and any shapes given).
#include <cstdio>
#include <memory>
#include <set>
#include <string>

#include "host/qax/rdf/ItemWriter.h"
#include "host/qax/shacl/DerivedShapes.h"
#include "host/sdk/LoadedGroup.h"
#include "tools/qax-host/Activity.h"
#include "tools/qax-host/ChannelText.h"
#include "tools/qax-host/Commands.h"
#include "tools/qax-host/Output.h"
#include "tools/qax-host/RootItems.h"
#include "tools/qax-host/Validation.h"
#include "tools/qax-host/Verbosity.h"

namespace qaxoi::qax_host {

namespace shacl = qaxoi::shacl;

namespace {

// The IRIs of the root items: the namespace and the channel's position in
// the group, as load shows it ("#0" is channel:0 in the report).
constexpr const char* kChannelPrefix = "channel";
constexpr const char* kRdfType = "http://www.w3.org/1999/02/22-rdf-syntax-ns#type";
constexpr const char* kSubClassOf = "http://www.w3.org/2000/01/rdf-schema#subClassOf";

// One N-Triples statement "<class> rdfs:subClassOf <superclass>" per direct
// superclass of each class of `model`, the parent and the others alike, so
// that sh:class and class targets see an item of a subclass as an instance
// of every class above it.
std::string ClassHierarchy(const QAX::Ontology::OntologyModel& model) {
  std::string text;
  for (const QAX::Ontology::MetaClassLibrary* library : model.GetLibraries()) {
    for (const QAX::Ontology::MetaClass* metaClass : library->GetClasses()) {
      for (const QAX::Ontology::MetaClass* superclass : metaClass->GetSuperclasses()) {
        text += "<" + metaClass->GetInfo().handle + "> <" + kSubClassOf + "> <" +
                superclass->GetInfo().handle + "> .\n";
      }
    }
  }
  return text;
}

// The classes of `model` that items of `data` are typed with: those whose
// derived shapes the items are checked against.
std::vector<const QAX::Ontology::MetaClass*> ItemClasses(
    const shacl::Graph& data, const QAX::Ontology::OntologyModel& model) {
  std::vector<const QAX::Ontology::MetaClass*> classes;
  std::set<shacl::TermId> seen;
  const shacl::TermId type = data.FindIri(kRdfType);
  if (type == shacl::kNoTerm) return classes;
  for (const shacl::Triple& statement : data.WithPredicate(type)) {
    if (!seen.insert(statement.object).second) continue;
    const shacl::TermView term = data.Term(statement.object);
    const QAX::Ontology::MetaClass* metaClass = model.GetMetaClass(std::string(term.text));
    if (term.kind == shacl::TermKind::kIri && metaClass != nullptr) classes.push_back(metaClass);
  }
  return classes;
}

// The prefixes of the report: the root items' namespace, then the model's
// libraries.
std::vector<std::pair<std::string, std::string>> ReportPrefixes(
    const QAX::Ontology::OntologyModel& model) {
  std::vector<std::pair<std::string, std::string>> prefixes = {{kChannelPrefix, kChannelNamespace}};
  for (const QAX::Ontology::MetaClassLibrary* library : model.GetLibraries()) {
    const std::string ns = model.GetNamespace(library->GetName());
    if (!ns.empty()) prefixes.emplace_back(library->GetName(), ns);
  }
  return prefixes;
}

// Loads RDF that qax-host wrote itself into `graph`; false after printing
// why it did not load.
bool LoadWritten(const std::string& text, qaxoi::rdf::RdfSyntax syntax, const std::string& name,
                 shacl::Graph& graph) {
  shacl::GraphLoad loaded;
  const qaxoi::Status read = shacl::LoadGraphText(text, syntax, name, "", graph, &loaded);
  if (!read.ok()) {
    Fail("cannot read the " + name + ": " + Escaped(read.message(), Layout::kKeep));
    return false;
  }
  return true;
}

}  // namespace

int RunCheck(const Invocation& invocation) {
  ReportFormat format = ReportFormat::kText;
  if (const int failed = ReadReportFormat("check", invocation.format, &format)) return failed;
  if (invocation.arguments.size() != 1)
    return UsageError(OneArgumentMessage("check", "FILE", invocation.arguments));
  // As validate: what cannot be read or built gives no report, exit code 2.
  std::unique_ptr<Session> session = OpenSession(invocation);
  if (!session) return kExitUsage;
  const QAX::Ontology::OntologyModel& model = session->model();
  std::unique_ptr<LoadedGroup> group = LoadInput(invocation.arguments[0], *session);
  if (!group) return kExitUsage;

  std::vector<qaxoi::rdf::ItemSubject> subjects;
  if (!BuildRootItems(*group, *session, kChannelNamespace, &subjects)) return kExitUsage;
  // A report names a nested item by where it is (channel:0.habitat), which
  // load's items and build's values show, rather than by a blank node.
  for (qaxoi::rdf::ItemSubject& subject : subjects) subject.nestedByPath = true;
  qaxoi::rdf::WrittenItems written;
  qaxoi::Status status;
  {
    const Activity writing("writing the items as RDF");
    status = qaxoi::rdf::WriteItems(subjects, model, qaxoi::rdf::RdfSyntax::kNTriples, &written);
  }
  if (!status.ok()) {
    Fail(status);
    return kExitUsage;
  }
  for (const std::string& warning : written.warnings) {
    Warn(warning);
  }
  shacl::Graph data;
  if (!LoadWritten(written.text + ClassHierarchy(model), qaxoi::rdf::RdfSyntax::kNTriples,
                   "items as RDF", data)) {
    return kExitUsage;
  }

  // One shapes graph holds the derived shapes and the given ones: one
  // report, and a given shape may add to a derived one of the same IRI.
  shacl::Graph shapesGraph;
  {
    const Activity deriving("deriving the shapes of the items' classes");
    if (!LoadWritten(shacl::DerivedShapesTurtle(model, ItemClasses(data, model)),
                     qaxoi::rdf::RdfSyntax::kTurtle, "derived shapes", shapesGraph)) {
      return kExitUsage;
    }
  }
  std::string shapesName = "the ontology";
  if (!invocation.shapes.empty()) {
    if (!LoadRdfFile(invocation.shapes, invocation.session.network, shapesGraph)) return kExitUsage;
    shapesName += " and " + InputName(invocation.shapes);
  }
  const std::unique_ptr<shacl::Shapes> shapes = ReadShapes(shapesGraph, shapesName);
  if (!shapes) return kExitUsage;
  const Activity validating("validating the items");
  return WriteReport(shacl::Validate(data, *shapes), ReportPrefixes(model), format,
                     invocation.output);
}

}  // namespace qaxoi::qax_host
