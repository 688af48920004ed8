#include "tools/qax-host/ChannelGraph.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdlib>
#include <set>

#include "tools/qax-host/ClassNames.h"

namespace qax_host {

using QAX::Ontology::MetaAttr;
using QAX::Ontology::MetaClass;

namespace {

// One attribute of the walk over a class and its parents, parents first:
// exactly the order of the channel's links.
struct WalkedAttribute {
  const QAX::Ontology::Info::MetaAttrInfo* info;
  int link;
};

std::vector<WalkedAttribute> AttributeWalk(const MetaClass& metaClass) {
  std::vector<const MetaClass*> chain;
  std::set<const MetaClass*> seen;
  for (const MetaClass* c = &metaClass; c != nullptr && seen.insert(c).second; c = c->GetParent()) {
    chain.push_back(c);
  }
  std::vector<WalkedAttribute> walk;
  int link = 0;
  for (auto it = chain.rbegin(); it != chain.rend(); ++it) {
    for (const MetaAttr* attribute : (*it)->GetAttributes()) {
      walk.push_back(WalkedAttribute{&attribute->GetInfo(), link++});
    }
  }
  return walk;
}

bool ParseBoolean(const std::string& text, float* value) {
  std::string lower = text;
  std::transform(lower.begin(), lower.end(), lower.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  if (lower == "true" || lower == "yes" || lower == "on" || lower == "1") {
    *value = 1.0f;
  } else if (lower == "false" || lower == "no" || lower == "off" || lower == "0") {
    *value = 0.0f;
  } else {
    return false;
  }
  return true;
}

bool ParseNumber(const std::string& text, float* value) {
  if (text.empty() || std::isspace(static_cast<unsigned char>(text[0]))) return false;
  errno = 0;
  char* end = nullptr;
  const float parsed = std::strtof(text.c_str(), &end);
  if (end != text.c_str() + text.size() || errno == ERANGE) return false;
  *value = parsed;
  return true;
}

std::string KnownAttributes(const std::vector<WalkedAttribute>& walk) {
  std::string names;
  for (const WalkedAttribute& attribute : walk) {
    if (!names.empty()) names += ", ";
    names += attribute.info->name;
  }
  return names.empty() ? "none" : names;
}

}  // namespace

bool ParseAssignments(const std::vector<std::string>& arguments, std::vector<Assignment>* out,
                      std::string* error) {
  for (const std::string& argument : arguments) {
    const std::size_t equals = argument.find('=');
    if (equals == std::string::npos || equals == 0) {
      *error = "expected attribute=value, got '" + argument + "'";
      return false;
    }
    out->push_back(Assignment{argument.substr(0, equals), argument.substr(equals + 1)});
  }
  return true;
}

std::unique_ptr<ChannelGraph> ChannelGraph::Build(const Session& session,
                                                  const MetaClass& metaClass,
                                                  const std::vector<Assignment>& assignments,
                                                  std::string* error) {
  std::unique_ptr<ChannelGraph> graph(new ChannelGraph());
  if (graph->BuildItem(session, metaClass, assignments, 0, error) == nullptr) return nullptr;
  return graph;
}

ChannelGraph::~ChannelGraph() = default;

Aco_QAXOntologyItem& ChannelGraph::root() const {
  return static_cast<Aco_QAXOntologyItem&>(*channels_.front());
}

std::vector<A3d_Channel*> ChannelGraph::Channels() const {
  std::vector<A3d_Channel*> channels;
  for (const std::unique_ptr<A3d_Channel>& channel : channels_) channels.push_back(channel.get());
  return channels;
}

Aco_QAXOntologyItem* ChannelGraph::BuildItem(const Session& session, const MetaClass& metaClass,
                                             const std::vector<Assignment>& assignments, int depth,
                                             std::string* error) {
  if (depth > kMaxDepth) {
    *error = "values nest deeper than " + std::to_string(kMaxDepth) + " items";
    return nullptr;
  }
  std::unique_ptr<Aco_QAXOntologyItem> owned = session.NewItemChannel();
  if (!owned) {
    *error = "the channel module made no ontology item channel";
    return nullptr;
  }
  Aco_QAXOntologyItem* item = owned.get();
  channels_.push_back(std::move(owned));

  // What the editor does: select the class, prepare, keep the class.
  Aco_QAXOntologyItem::SelectedLibrary = metaClass.GetLibrary();
  Aco_QAXOntologyItem::SelectedClass = &metaClass;
  item->PrepareLinks(true);
  item->SetClassHandle(metaClass.GetInfo().handle);
  item->SetAutoChannelName();
  Aco_QAXOntologyItem::SelectedLibrary = nullptr;
  Aco_QAXOntologyItem::SelectedClass = nullptr;

  const std::vector<WalkedAttribute> walk = AttributeWalk(metaClass);
  for (const Assignment& assignment : assignments) {
    const std::string head = assignment.path.substr(0, assignment.path.find('.'));
    const bool known = std::any_of(walk.begin(), walk.end(),
                                   [&](const WalkedAttribute& a) { return a.info->name == head; });
    if (!known) {
      *error = "class " + ShownName(metaClass) + " has no attribute '" + head +
               "' (attributes: " + KnownAttributes(walk) + ")";
      return nullptr;
    }
  }

  for (const WalkedAttribute& attribute : walk) {
    const std::string& name = attribute.info->name;
    const Assignment* direct = nullptr;
    std::vector<Assignment> nested;
    for (const Assignment& assignment : assignments) {
      if (assignment.path == name) {
        direct = &assignment;
      } else if (assignment.path.compare(0, name.size() + 1, name + ".") == 0) {
        nested.push_back(Assignment{assignment.path.substr(name.size() + 1), assignment.value});
      }
    }
    if (direct == nullptr && nested.empty()) continue;

    const std::int32_t kind = attribute.info->kind;
    std::unique_ptr<A3d_Channel> child;
    if (kind == 5) {
      std::string className = direct != nullptr ? direct->value : attribute.info->typeName;
      const MetaClass* nestedClass = FindClass(session.model(), className, error);
      if (nestedClass == nullptr) {
        *error = "attribute '" + name + "': " + *error;
        return nullptr;
      }
      Aco_QAXOntologyItem* nestedItem = BuildItem(session, *nestedClass, nested, depth + 1, error);
      if (nestedItem == nullptr) return nullptr;
      item->LinkChild(attribute.link, nestedItem);
      nestedItem->SetChannelName(name.c_str());
      continue;
    }
    if (!nested.empty()) {
      *error = "attribute '" + name + "' is not an item and has no attributes of its own";
      return nullptr;
    }
    if (kind == 0 || kind == 4) {
      auto text = std::make_unique<Aco_StringChannel>();
      text->SetString(direct->value.c_str());
      child = std::move(text);
    } else if (kind == 1 || kind == 2 || kind == 3) {
      float value = 0.0f;
      const bool parsed =
          kind == 1 ? ParseBoolean(direct->value, &value) : ParseNumber(direct->value, &value);
      if (!parsed) {
        *error = "attribute '" + name + "' needs " +
                 (kind == 1 ? std::string("true or false") : std::string("a number")) + ", not '" +
                 direct->value + "'";
        return nullptr;
      }
      auto number = std::make_unique<Aco_FloatChannel>();
      number->SetFloat(value);
      child = std::move(number);
    } else {
      *error = "attribute '" + name + "' has a type the ontology service cannot map (" +
               attribute.info->typeName + ") and takes no value";
      return nullptr;
    }
    child->SetChannelName(name.c_str());
    item->LinkChild(attribute.link, child.get());
    channels_.push_back(std::move(child));
  }
  return item;
}

}  // namespace qax_host
