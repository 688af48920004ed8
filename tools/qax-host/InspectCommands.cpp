// Commands that show what the module and the ontology offer: type, classes,
// describe, links.
#include <cstdio>
#include <cstring>
#include <map>
#include <set>

#include "ontology_item/ClassSelection.h"
#include "tools/qax-host/ChannelGraph.h"
#include "tools/qax-host/ChannelText.h"
#include "tools/qax-host/ClassNames.h"
#include "tools/qax-host/Commands.h"
#include "tools/qax-host/DisplayTexts.h"
#include "tools/qax-host/Output.h"

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
  for (const std::string& note : graph.Notes()) {
    std::fprintf(stderr, "qax-host: %s\n", Escaped(note).c_str());
  }
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
  const std::string label =
      DisplayLabel(metaClass->GetTexts(), target.session->model().GetLanguages());
  if (invocation.json) {
    const QAX::Ontology::MetaClass* parent = metaClass->GetParent();
    Json document = {{"class", ShownName(*metaClass)},
                     {"iri", metaClass->GetInfo().handle},
                     {"parent", parent != nullptr ? Json(ShownName(*parent)) : Json()},
                     {"label", label.empty() ? Json() : Json(label)}};
    AddTexts(metaClass->GetTexts(), document);
    document["description"] = shown;
    PrintJson(document);
    return kExitOk;
  }
  // The display label goes after the module's first line, which names the
  // class.
  if (!label.empty()) {
    const std::size_t firstLineEnd = shown.find('\n');
    shown.insert(firstLineEnd == std::string::npos ? shown.size() : firstLineEnd + 1,
                 "Label:\t" + Escaped(label) + "\n");
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

int RunLinks(const Invocation& invocation) {
  ClassAndChannel target;
  if (const int failed = OpenClassAndChannel(invocation, "links", &target)) return failed;
  const QAX::Ontology::MetaClass* metaClass = target.metaClass;
  std::unique_ptr<Aco_QAXOntologyItem>& channel = target.channel;
  qaxoi::module::PrepareLinksFor(*channel, metaClass, true);
  // Each link's attribute, by the "library.name" its link name begins with.
  std::map<std::string, const QAX::Ontology::MetaAttr*> attributeByLink;
  std::set<const QAX::Ontology::MetaClass*> seen;
  for (const auto* c = metaClass; c != nullptr && seen.insert(c).second; c = c->GetParent()) {
    for (const QAX::Ontology::MetaAttr* attribute : c->GetAttributes()) {
      const QAX::Ontology::Info::MetaAttrInfo& info = attribute->GetInfo();
      attributeByLink.emplace(info.scopeName + "." + info.name, attribute);
    }
  }
  const auto labelOf = [&](const ChildCreation* record) {
    const std::string name = FieldText(record->LinkName);
    const auto found = attributeByLink.find(name.substr(0, name.find(' ')));
    return found == attributeByLink.end()
               ? std::string()
               : DisplayLabel(found->second->GetTexts(), target.session->model().GetLanguages());
  };
  if (invocation.json) {
    Json links = Json::array();
    for (int i = 0; i < channel->GetChildCount(); ++i) {
      const ChildCreation* record = channel->GetChildCreation(i);
      const std::string label = labelOf(record);
      links.push_back({{"link", i},
                       {"index", record->Index},
                       {"type", FieldText(record->Type.Name)},
                       {"name", FieldText(record->LinkName)},
                       {"label", label.empty() ? Json() : Json(label)}});
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
    const std::string label = labelOf(record);
    PrintLine(line + " " + Escaped(FieldText(record->LinkName)) +
              (label.empty() ? std::string() : "  " + Quoted(label)));
  }
  return kExitOk;
}

}  // namespace qaxoi::qax_host
