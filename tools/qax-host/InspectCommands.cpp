// Commands that show what the module and the ontology offer: type, classes,
// describe, links.
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <map>
#include <set>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "host/qax/rdf/ReferenceValues.h"
#include "ontology_item/ClassSelection.h"
#include "tools/qax-host/ChannelGraph.h"
#include "tools/qax-host/ChannelText.h"
#include "tools/qax-host/ClassNames.h"
#include "tools/qax-host/Commands.h"
#include "tools/qax-host/DisplayTexts.h"
#include "tools/qax-host/InheritedAttributes.h"
#include "tools/qax-host/Output.h"
#include "tools/qax-host/Verbosity.h"

namespace qaxoi::qax_host {

namespace {

// links' table: the room for its first two columns, and where its name
// column starts (after the type, which may be wider than its column).
constexpr std::size_t kColumnsSize = 32;
constexpr std::size_t kNameColumn = 29;

}  // namespace

std::string OneArgumentMessage(const char* command, const char* what,
                               const std::vector<std::string>& arguments) {
  if (arguments.empty()) return std::string(command) + " needs a " + what;
  return std::string(command) + " takes one " + what + ", not also '" + arguments[1] + "'";
}

int CheckSource(const char* command, const Invocation& invocation) {
  if (invocation.file.empty() && invocation.arguments.empty()) {
    return UsageError(std::string(command) + " needs a class (with values) or --file FILE");
  }
  if (!invocation.file.empty() && !invocation.arguments.empty()) {
    return UsageError(std::string(command) + " takes a class (with values) or --file FILE, not " +
                      "both: '" + invocation.arguments[0] + "' and --file '" + invocation.file +
                      "'");
  }
  return kExitOk;
}

void PrintNotes(const ChannelGraph& graph) {
  for (const std::string& note : graph.Notes()) Note(Escaped(note));
}

std::unique_ptr<Session> OpenSession(const Invocation& invocation) {
  std::unique_ptr<Session> session;
  const qaxoi::Status opened = Session::Open(invocation.session, &session);
  if (!opened.ok()) Fail(opened);
  return session;
}

namespace {

// What describe and links work on: the session, the class the one argument
// names, and a channel the module made.
struct ClassAndChannel {
  std::unique_ptr<Session> session;
  const QAX::Ontology::MetaClass* metaClass = nullptr;
  std::unique_ptr<Aco_QAXOntologyItem> channel;
};

// Fills `target` for `command`; answers 0, or the exit code after printing
// why it could not.
int OpenClassAndChannel(const Invocation& invocation, const char* command,
                        ClassAndChannel* target) {
  if (invocation.arguments.size() != 1) {
    return UsageError(OneArgumentMessage(command, "CLASS", invocation.arguments));
  }
  target->session = OpenSession(invocation);
  if (!target->session) return kExitFailure;
  const qaxoi::Status found =
      FindClass(target->session->model(), invocation.arguments[0], &target->metaClass);
  if (!found.ok()) return Fail(found);
  target->channel = target->session->NewItemChannel();
  if (!target->channel) return Fail("the channel module made no ontology item channel");
  return kExitOk;
}

}  // namespace

int RunType(const Invocation& invocation) {
  if (!invocation.arguments.empty()) {
    return UsageError("type takes no arguments, not '" + invocation.arguments[0] + "'");
  }
  std::unique_ptr<ChannelModule> module;
  const qaxoi::Status opened = ChannelModule::Open(invocation.session.modulePath, &module);
  if (!opened.ok()) return Fail(opened);
  const ChannelType* type = module->GetType();
  if (type == nullptr) return Fail(module->Path() + ": GetType gave no channel type");
  std::printf("module     %s\n", Escaped(module->Path()).c_str());
  std::printf("name       %s\n",
              Escaped(std::string(type->Name, ::strnlen(type->Name, sizeof(type->Name)))).c_str());
  std::printf("type guid  %s\n", GuidToString(type->TypeGuid).c_str());
  std::printf("base guid  %s\n", GuidToString(type->BaseGuid).c_str());
  std::printf("flags      %d\n", type->TypeFlags);
  std::printf("extra      %d\n", type->TypeExtra);
  std::unique_ptr<A3d_Channel> channel = module->NewChannel();
  if (!channel) return Fail(module->Path() + ": InitDLL gave no channel");
  const char* name = channel->GetChannelName();
  std::printf("new channel named %s\n", Quoted(name != nullptr ? name : "").c_str());
  return kExitOk;
}

int RunClasses(const Invocation& invocation) {
  if (!invocation.arguments.empty()) {
    return UsageError("classes takes no arguments, not '" + invocation.arguments[0] + "'");
  }
  std::unique_ptr<Session> session = OpenSession(invocation);
  if (!session) return kExitFailure;
  if (invocation.json) {
    Json libraries = Json::array();
    for (const QAX::Ontology::MetaClassLibrary* library : session->model().GetLibraries()) {
      Json classes = Json::array();
      for (const QAX::Ontology::MetaClass* metaClass : library->GetClasses()) {
        const QAX::Ontology::MetaClass* parent = metaClass->GetParent();
        Json entry = {{"name", ShownName(*metaClass)},
                      {"iri", metaClass->GetInfo().handle},
                      {"parent", parent != nullptr ? Json(ShownName(*parent)) : Json()}};
        const QAX::Ontology::TermTexts* texts = metaClass->GetTexts();
        entry["labels"] = TextsByLanguage(
            texts != nullptr ? texts->labels : std::vector<QAX::Ontology::LangText>());
        classes.push_back(std::move(entry));
      }
      libraries.push_back({{"name", library->GetName()}, {"classes", std::move(classes)}});
    }
    PrintJson({{"ontology", session->ontologyName()}, {"libraries", std::move(libraries)}});
    return kExitOk;
  }
  for (const QAX::Ontology::MetaClassLibrary* library : session->model().GetLibraries()) {
    std::printf("library %s (%s)\n", Escaped(library->GetName()).c_str(),
                Counted(library->GetClasses().size(), "class", "classes").c_str());
    for (const QAX::Ontology::MetaClass* metaClass : library->GetClasses()) {
      // The label, when there is one, follows the name in its column.
      std::string name = ShownName(*metaClass);
      const std::string label =
          DisplayLabel(metaClass->GetTexts(), session->model().GetLanguages());
      if (!label.empty()) name += " " + Quoted(label);
      std::printf("  %-28s <%s>", Escaped(name).c_str(),
                  Escaped(metaClass->GetInfo().handle).c_str());
      if (metaClass->GetParent() != nullptr) {
        std::printf("  is a %s", Escaped(ShownName(*metaClass->GetParent())).c_str());
      }
      std::printf("\n");
    }
  }
  return kExitOk;
}

namespace {

// describe LIBRARY: the library's namespace, its classes and the properties
// of its namespace that no class has as an attribute.
int DescribeLibrary(const Invocation& invocation, const std::string& name) {
  std::unique_ptr<Session> session = OpenSession(invocation);
  if (!session) return kExitFailure;
  const QAX::Ontology::OntologyModel& model = session->model();
  const QAX::Ontology::MetaClassLibrary* library = model.GetLibrary(name);
  std::vector<const QAX::Ontology::Info::MetaAttrInfo*> properties;
  for (const QAX::Ontology::Info::MetaAttrInfo& property : model.GetPropertiesWithoutClass()) {
    if (property.scopeName == name) properties.push_back(&property);
  }
  const std::string ns = model.GetNamespace(name);
  if (library == nullptr && properties.empty() && ns.empty()) {
    return Fail("no library '" + name + "' in the ontology (see: qax-host classes)");
  }
  const std::vector<const QAX::Ontology::MetaClass*> none;
  const std::vector<const QAX::Ontology::MetaClass*>& classes =
      library != nullptr ? library->GetClasses() : none;
  if (invocation.json) {
    Json classNames = Json::array();
    for (const QAX::Ontology::MetaClass* metaClass : classes) {
      classNames.push_back(ShownName(*metaClass));
    }
    Json withoutClass = Json::array();
    for (const QAX::Ontology::Info::MetaAttrInfo* property : properties) {
      withoutClass.push_back({{"name", name + ":" + property->name},
                              {"iri", model.GetNamespace(property->scopeName) + property->name},
                              {"type", property->typeName}});
    }
    PrintJson({{"library", name},
               {"namespace", ns},
               {"classes", std::move(classNames)},
               {"propertiesWithoutClass", std::move(withoutClass)}});
    return kExitOk;
  }
  std::printf("Library:\t%s\nNamespace:\t%s\nClasses:\t%zu\n", Escaped(name).c_str(),
              Escaped(ns).c_str(), classes.size());
  if (properties.empty()) return kExitOk;
  std::printf("\n-------- properties without a class --------\n\n");
  for (const QAX::Ontology::Info::MetaAttrInfo* property : properties) {
    std::printf("%s\t%s\n", Escaped(property->name).c_str(),
                Escaped(property->typeName.empty() ? "text" : property->typeName).c_str());
  }
  return kExitOk;
}

}  // namespace

// The attributes of `metaClass` and its parents, parents first: the
// order of a channel's links.
std::vector<const QAX::Ontology::MetaAttr*> LinkAttributes(
    const QAX::Ontology::MetaClass& metaClass) {
  std::vector<const QAX::Ontology::MetaClass*> chain;
  for (const QAX::Ontology::MetaClass* at = &metaClass; at != nullptr; at = at->GetParent()) {
    if (std::find(chain.begin(), chain.end(), at) != chain.end()) break;
    chain.push_back(at);
  }
  std::vector<const QAX::Ontology::MetaAttr*> attributes;
  for (auto at = chain.rbegin(); at != chain.rend(); ++at) {
    for (const QAX::Ontology::MetaAttr* attribute : (*at)->GetAttributes()) {
      attributes.push_back(attribute);
    }
  }
  return attributes;
}

// The name JSON gives an attribute kind (host/qax/model/AttrKind.h).
const char* KindName(std::int32_t kind) {
  using QAX::Ontology::Info::AttrKind;
  switch (QAX::Ontology::Info::AttrKindOf(kind)) {
    case AttrKind::kText:
      return "text";
    case AttrKind::kBoolean:
      return "boolean";
    case AttrKind::kInteger:
      return "integer";
    case AttrKind::kReal:
      return "real";
    case AttrKind::kTemporal:
      return "temporal";
    case AttrKind::kComplex:
      return "complex";
    case AttrKind::kUnmapped:
      return "unmapped";
  }
  return "unknown";
}

// describe's JSON of the attributes of a class whose links `channel` has
// prepared: each one's name, IRI (null when its library names no
// namespace), type, kind, link position and the link's type name (both
// null past the channel's links). `links` gives each attribute's position
// among them.
Json AttributesJson(const std::vector<const QAX::Ontology::MetaAttr*>& attributes,
                    const std::unordered_map<const QAX::Ontology::MetaAttr*, int>& links,
                    Aco_QAXOntologyItem& channel, const QAX::Ontology::OntologyModel& model) {
  Json entries = Json::array();
  for (const QAX::Ontology::MetaAttr* attribute : attributes) {
    const QAX::Ontology::Info::MetaAttrInfo& info = attribute->GetInfo();
    const std::string ns = model.GetNamespace(info.scopeName);
    const auto found = links.find(attribute);
    const int link =
        found != links.end() && found->second < channel.GetChildCount() ? found->second : -1;
    entries.push_back(
        {{"name", info.name},
         {"iri", ns.empty() ? Json() : Json(ns + info.name)},
         {"type", info.typeName},
         {"kind", KindName(info.kind)},
         {"link", link < 0 ? Json() : Json(link)},
         {"linkType",
          link < 0 ? Json() : Json(FieldText(channel.GetChildCreation(link)->Type.Name))}});
  }
  return entries;
}

// The shown names of a reference's allowed values.
Json AllowedValues(const QAX::Ontology::AttrValueType& valueType) {
  Json values = Json::array();
  for (const QAX::Ontology::AttrIndividual& individual : valueType.individuals) {
    values.push_back(individual.name);
  }
  return values;
}

int RunDescribe(const Invocation& invocation) {
  // "LIBRARY:" describes a library rather than a class.
  if (invocation.arguments.size() == 1 && invocation.arguments[0].size() > 1 &&
      invocation.arguments[0].back() == ':') {
    const std::string& argument = invocation.arguments[0];
    return DescribeLibrary(invocation, argument.substr(0, argument.size() - 1));
  }
  ClassAndChannel target;
  if (const int failed = OpenClassAndChannel(invocation, "describe", &target)) return failed;
  const QAX::Ontology::MetaClass* metaClass = target.metaClass;
  std::unique_ptr<Aco_QAXOntologyItem>& channel = target.channel;
  // The module's text ends its lines in "\r\n"; a terminal wants "\n", and
  // no blanks before it.
  std::string text = channel->GetClassDescription(metaClass);
  std::string shown;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') continue;
    shown += text[i];
  }
  // What a channel links besides the class's own attributes, which the
  // module's text lists: the parents' attributes, by the class each comes
  // from.
  const std::vector<AttributeGroup> inherited = InheritedAttributes(*metaClass);
  std::string inheritedLines;
  for (const AttributeGroup& group : inherited) {
    inheritedLines += "\n-------- inherited from " + ShownName(*group.owner) + " --------\n\n";
    for (const QAX::Ontology::MetaAttr* attribute : group.attributes) {
      inheritedLines += attribute->GetInfo().name + "\t" + attribute->GetInfo().typeName + "\n";
    }
  }
  const std::vector<const QAX::Ontology::MetaClass*> superclasses = metaClass->GetSuperclasses();
  const std::string label =
      DisplayLabel(metaClass->GetTexts(), target.session->model().GetLanguages());
  // The attributes whose values name resources, with their allowed values.
  Json references = Json::array();
  std::string referenceLines;
  for (const QAX::Ontology::MetaAttr* attribute : LinkAttributes(*metaClass)) {
    const QAX::Ontology::AttrValueType& valueType = attribute->GetValueType();
    if (!valueType.IsReference()) continue;
    references.push_back(
        {{"attribute", attribute->GetInfo().name}, {"values", AllowedValues(valueType)}});
    referenceLines +=
        attribute->GetInfo().name + "\t" +
        (valueType.individuals.empty() ? std::string("an IRI")
                                       : "one of " + qaxoi::rdf::AllowedValuesText(valueType)) +
        "\n";
  }
  if (invocation.json) {
    const QAX::Ontology::MetaClass* parent = metaClass->GetParent();
    Json names = Json::array();
    for (const QAX::Ontology::MetaClass* superclass : superclasses) {
      names.push_back(ShownName(*superclass));
    }
    const QAX::Ontology::Info::MetaClassInfo& info = metaClass->GetInfo();
    qaxoi::module::PrepareLinksFor(*channel, metaClass, true);
    std::unordered_map<const QAX::Ontology::MetaAttr*, int> links;
    for (const QAX::Ontology::MetaAttr* attribute : LinkAttributes(*metaClass)) {
      links.emplace(attribute, static_cast<int>(links.size()));
    }
    const QAX::Ontology::OntologyModel& model = target.session->model();
    Json groups = Json::array();
    for (const AttributeGroup& group : inherited) {
      groups.push_back({{"class", ShownName(*group.owner)},
                        {"attributes", AttributesJson(group.attributes, links, *channel, model)}});
    }
    Json document = {{"class", ShownName(*metaClass)},
                     {"iri", info.handle},
                     {"qualifiedName", metaClass->GetFQName()},
                     {"parent", parent != nullptr ? Json(ShownName(*parent)) : Json()},
                     {"superclasses", std::move(names)},
                     {"abstract", info.isAbstract},
                     {"label", label.empty() ? Json() : Json(label)}};
    AddTexts(metaClass->GetTexts(), document);
    document["doc"] = info.doc;
    document["attributes"] = AttributesJson(metaClass->GetAttributes(), links, *channel, model);
    document["inherited"] = std::move(groups);
    document["description"] = shown;
    document["references"] = std::move(references);
    PrintJson(document);
    return kExitOk;
  }
  // The module's text stands as the module gives it; what qax-host knows
  // besides comes after it: the label and every direct superclass (the
  // module names the parent alone), the inherited attributes, the
  // references.
  std::string aboutLines;
  if (!label.empty()) aboutLines += "Label:\t" + label + "\n";
  for (std::size_t i = 0; i < superclasses.size(); ++i) {
    aboutLines += (i == 0 ? "Superclasses:\t" : ", ") + ShownName(*superclasses[i]);
    if (i + 1 == superclasses.size()) aboutLines += "\n";
  }
  if (!aboutLines.empty()) shown += "\n-------- label and superclasses --------\n\n" + aboutLines;
  shown += inheritedLines;
  if (!referenceLines.empty()) {
    shown += "\n-------- references --------\n\n" + referenceLines;
  }
  const std::string escaped = Escaped(shown, Layout::kKeep);
  for (std::size_t start = 0; start < escaped.size();) {
    std::size_t end = escaped.find('\n', start);
    if (end == std::string::npos) end = escaped.size();
    PrintLine(escaped.substr(start, end - start));
    start = end + 1;
  }
  return kExitOk;
}

std::string ValueLinkNote(Aco_QAXOntologyItem& channel, int link,
                          std::unordered_set<std::string>& namesSeen) {
  // A value link carries its attribute link's name: only a name met before
  // asks the channel.
  const std::string name = FieldText(channel.GetChildCreation(link)->LinkName);
  if (namesSeen.insert(name).second) return std::string();
  const std::vector<int> links = channel.GetValueLinks(link);
  if (links.size() < 2 || links.front() == link) return std::string();
  const auto at = std::find(links.begin(), links.end(), link);
  if (at == links.end()) return std::string();
  return "value " + std::to_string(at - links.begin() + 1) + " of link " +
         std::to_string(links.front());
}

int RunLinks(const Invocation& invocation) {
  ClassAndChannel target;
  std::unique_ptr<ChannelGraph> graph;
  Aco_QAXOntologyItem* channel = nullptr;
  if (invocation.arguments.size() > 1) {
    // With values: the channel that build makes for them.
    std::vector<Assignment> assignments;
    if (const int failed = ReadAssignments(invocation.arguments, 1, &assignments)) return failed;
    target.session = OpenSession(invocation);
    if (!target.session) return kExitFailure;
    graph = GraphFor(*target.session, invocation.arguments[0], assignments);
    if (!graph) return kExitFailure;
    channel = &graph->root();
    target.metaClass = channel->GetCurrentMetaClass();
  } else {
    if (const int failed = OpenClassAndChannel(invocation, "links", &target)) return failed;
    channel = target.channel.get();
    qaxoi::module::PrepareLinksFor(*channel, target.metaClass, true);
  }
  const QAX::Ontology::MetaClass* metaClass = target.metaClass;
  std::unordered_set<std::string> namesSeen;
  // Each link's attribute, by the "library.name" its link name begins with.
  std::map<std::string, const QAX::Ontology::MetaAttr*> attributeByLink;
  std::set<const QAX::Ontology::MetaClass*> seen;
  for (const auto* c = metaClass; c != nullptr && seen.insert(c).second; c = c->GetParent()) {
    for (const QAX::Ontology::MetaAttr* attribute : c->GetAttributes()) {
      const QAX::Ontology::Info::MetaAttrInfo& info = attribute->GetInfo();
      attributeByLink.emplace(info.scopeName + "." + info.name, attribute);
    }
  }
  const auto textsOf = [&](const ChildCreation* record) -> const QAX::Ontology::TermTexts* {
    const std::string name = FieldText(record->LinkName);
    const auto found = attributeByLink.find(name.substr(0, name.find(' ')));
    return found == attributeByLink.end() ? nullptr : found->second->GetTexts();
  };
  const auto labelOf = [&](const ChildCreation* record) {
    return DisplayLabel(textsOf(record), target.session->model().GetLanguages());
  };
  if (invocation.json) {
    const std::vector<const QAX::Ontology::MetaAttr*> attributes = LinkAttributes(*metaClass);
    Json links = Json::array();
    for (int i = 0; i < channel->GetChildCount(); ++i) {
      const ChildCreation* record = channel->GetChildCreation(i);
      Json link = {{"link", i},
                   {"index", record->Index},
                   {"type", FieldText(record->Type.Name)},
                   {"name", FieldText(record->LinkName)}};
      const std::string label = labelOf(record);
      link["label"] = label.empty() ? Json() : Json(label);
      AddTexts(textsOf(record), link);
      // A value link is typed as the attribute of its attribute link.
      std::size_t at = static_cast<std::size_t>(i);
      if (!ValueLinkNote(*channel, i, namesSeen).empty()) {
        const int first = channel->GetValueLinks(i).front();
        link["valueOf"] = first;
        at = static_cast<std::size_t>(first);
      }
      if (at < attributes.size() && attributes[at]->GetValueType().IsReference()) {
        link["reference"] = true;
        link["values"] = AllowedValues(attributes[at]->GetValueType());
      }
      links.push_back(std::move(link));
    }
    PrintJson({{"class", ShownName(*metaClass)},
               {"iri", metaClass->GetInfo().handle},
               {"links", std::move(links)}});
    return kExitOk;
  }
  std::printf("%s declares %s\n", Escaped(ShownName(*metaClass)).c_str(),
              Counted(static_cast<std::size_t>(channel->GetChildCount()), "link", "links").c_str());
  std::printf("%-5s %-6s %-16s %s\n", "link", "index", "type", "name");
  char columns[kColumnsSize];
  for (int i = 0; i < channel->GetChildCount(); ++i) {
    const ChildCreation* record = channel->GetChildCreation(i);
    const std::string type = FieldText(record->Type.Name);
    std::snprintf(columns, sizeof(columns), "%-5d %-6d ", i, record->Index);
    std::string line = columns;
    line += type.empty() ? "(none)" : Escaped(type);
    if (line.size() < kNameColumn) line.resize(kNameColumn, ' ');
    line += " " + Escaped(FieldText(record->LinkName));
    const std::string note = ValueLinkNote(*channel, i, namesSeen);
    if (!note.empty()) line += " (" + note + ")";
    const std::string label = labelOf(record);
    PrintLine(line + (label.empty() ? std::string() : "  " + Quoted(label)));
  }
  return kExitOk;
}

}  // namespace qaxoi::qax_host
