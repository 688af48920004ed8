#include "tools/qax-host/ChannelGraph.h"

#include <algorithm>
#include <set>
#include <utility>

#include "tools/qax-host/AttributeValues.h"
#include "tools/qax-host/ClassNames.h"

namespace qax_host {

using QAX::Ontology::MetaAttr;
using QAX::Ontology::MetaClass;
namespace AttrKind = QAX::Ontology::Info::AttrKind;

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

// Whether `given` is the class that an attribute of complex kind ranges over,
// or a subclass of it. The service names the range by its local name
// (`typeName`); when that name resolves to one class only that class counts,
// otherwise every class of that name does. Parent chains are finite and
// loop-free in a model, and the walk stops at a repeat all the same.
bool InRange(const Session& session, const MetaClass& given, const std::string& typeName) {
  std::string unused;
  const MetaClass* range = FindClass(session.model(), typeName, &unused);
  std::set<const MetaClass*> seen;
  for (const MetaClass* c = &given; c != nullptr && seen.insert(c).second; c = c->GetParent()) {
    if (range != nullptr ? c == range : c->GetInfo().name == typeName) return true;
  }
  return false;
}

// How the range of an attribute is named in messages.
std::string RangeName(const Session& session, const std::string& typeName) {
  std::string unused;
  const MetaClass* range = FindClass(session.model(), typeName, &unused);
  return range != nullptr ? ShownName(*range) : typeName;
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
  std::set<std::string> paths;
  for (const std::string& argument : arguments) {
    const std::size_t equals = argument.find('=');
    if (equals == std::string::npos || equals == 0) {
      *error = "expected attribute=value, got '" + argument + "'";
      return false;
    }
    Assignment assignment{argument.substr(0, equals), argument.substr(equals + 1)};
    if (!paths.insert(assignment.path).second) {
      *error = "attribute '" + assignment.path + "' is given more than once; give it one value";
      return false;
    }
    out->push_back(std::move(assignment));
  }
  return true;
}

std::unique_ptr<ChannelGraph> ChannelGraph::Build(const Session& session,
                                                  const MetaClass& metaClass,
                                                  const std::vector<Assignment>& assignments,
                                                  std::string* error) {
  std::unique_ptr<ChannelGraph> graph(new ChannelGraph());
  if (graph->BuildItem(session, metaClass, assignments, "", 0, error) == nullptr) return nullptr;
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
                                             const std::vector<Assignment>& assignments,
                                             const std::string& pathPrefix, int depth,
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

  const int links = item->GetChildCount();
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
    // Past the host's link limit an attribute gets no link: a value for it
    // would be in no item, no saved group and no export.
    if (attribute.link >= links) {
      *error = "attribute '" + pathPrefix + name +
               "' has no link, so its value would be lost: class " + ShownName(metaClass) +
               " has " + std::to_string(walk.size()) +
               " attributes (parents' first) and a channel links only the first " +
               std::to_string(links);
      return nullptr;
    }

    const std::int32_t kind = attribute.info->kind;
    std::unique_ptr<A3d_Channel> child;
    if (kind == AttrKind::kComplex) {
      std::string className = direct != nullptr ? direct->value : attribute.info->typeName;
      const MetaClass* nestedClass = FindClass(session.model(), className, error);
      if (nestedClass == nullptr) {
        *error = "attribute '" + pathPrefix + name + "': " + *error;
        return nullptr;
      }
      if (direct != nullptr && !InRange(session, *nestedClass, attribute.info->typeName)) {
        *error = "attribute '" + pathPrefix + name + "' takes a " +
                 RangeName(session, attribute.info->typeName) + " or a subclass of it, not " +
                 ShownName(*nestedClass);
        return nullptr;
      }
      Aco_QAXOntologyItem* nestedItem =
          BuildItem(session, *nestedClass, nested, pathPrefix + name + ".", depth + 1, error);
      if (nestedItem == nullptr) return nullptr;
      item->LinkChild(attribute.link, nestedItem);
      nestedItem->SetChannelName(name.c_str());
      continue;
    }
    if (!nested.empty()) {
      *error =
          "attribute '" + pathPrefix + name + "' is not an item and has no attributes of its own";
      return nullptr;
    }
    const std::string shown = pathPrefix + name + "=" + direct->value;
    if (kind == AttrKind::kText || kind == AttrKind::kTemporal) {
      auto text = std::make_unique<Aco_StringChannel>();
      text->SetString(direct->value.c_str());
      child = std::move(text);
    } else if (kind == AttrKind::kBoolean || kind == AttrKind::kInteger ||
               kind == AttrKind::kReal) {
      float value = 0.0f;
      if (kind == AttrKind::kBoolean && !ParseBooleanValue(direct->value, &value)) {
        *error = "attribute '" + pathPrefix + name + "' needs true or false, not '" +
                 direct->value + "'";
        return nullptr;
      }
      if (kind == AttrKind::kInteger && !ParseIntegerValue(direct->value, &value)) {
        *error = "attribute '" + pathPrefix + name + "' needs a whole number from -" +
                 std::to_string(kFloatExactInteger) + " to " + std::to_string(kFloatExactInteger) +
                 " (what the float channel holds exactly), not '" + direct->value + "'";
        return nullptr;
      }
      if (kind == AttrKind::kReal) {
        std::string written;
        const RealValue real = ParseRealValue(direct->value, &value, &written);
        if (real == RealValue::kInvalid || real == RealValue::kTooLarge) {
          *error = "attribute '" + pathPrefix + name + "' needs a decimal number" +
                   (real == RealValue::kTooLarge ? " within the float channel's range" : "") +
                   ", not '" + direct->value + "'";
          return nullptr;
        }
        if (real == RealValue::kRounded) {
          notes_.push_back(shown + " is held by the float channel and written as " + written);
        }
      }
      auto number = std::make_unique<Aco_FloatChannel>();
      number->SetFloat(value);
      child = std::move(number);
    } else {
      *error = "attribute '" + pathPrefix + name +
               "' has a type the ontology service cannot map (" + attribute.info->typeName +
               ") and takes no value";
      return nullptr;
    }
    child->SetChannelName(name.c_str());
    item->LinkChild(attribute.link, child.get());
    channels_.push_back(std::move(child));
  }
  return item;
}

}  // namespace qax_host
