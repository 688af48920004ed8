#include "tools/qax-host/ChannelGraph.h"

#include <algorithm>
#include <set>
#include <utility>
#include <vector>

#include "host/qax/rdf/ReferenceValues.h"
#include "ontology_item/ClassSelection.h"
#include "tools/qax-host/AttributeRange.h"
#include "tools/qax-host/AttributeValues.h"
#include "tools/qax-host/ClassNames.h"
#include "tools/qax-host/NearestNames.h"

namespace qaxoi::qax_host {

using QAX::Ontology::MetaAttr;
using QAX::Ontology::MetaClass;
using QAX::Ontology::Info::AttrKind;
using QAX::Ontology::Info::AttrKindOf;

namespace {

// The most digits of a value's number ("knows[12]"): enough for the link limit.
constexpr std::size_t kMaxValueDigits = 4;
// The most attributes that the refusal of an unknown one lists.
constexpr std::size_t kMaxListedAttributes = 12;

// One attribute of the walk over a class and its parents, parents first:
// exactly the order of the channel's links.
struct WalkedAttribute {
  const QAX::Ontology::Info::MetaAttrInfo* info;
  int link;
  const MetaAttr* attribute;
  const MetaClass* owner;  // the class of the walk that has the attribute
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
      walk.push_back(WalkedAttribute{&attribute->GetInfo(), link++, attribute, *it});
    }
  }
  return walk;
}

// "attribute 'PATH'" followed by `what`: how messages name an attribute, by
// its path as given.
std::string AttributeMessage(const std::string& path, const std::string& what) {
  return "attribute '" + path + "'" + what;
}

std::string NoLinkMessage(const std::string& path, const MetaClass& metaClass,
                          std::size_t attributes, int links) {
  return AttributeMessage(path, " has no link, so its value would be lost: class " +
                                    ShownName(metaClass) + " has " + std::to_string(attributes) +
                                    " attributes (parents' first) and a channel links only the "
                                    "first " +
                                    std::to_string(links));
}

std::string OutOfRangeMessage(const std::string& path, const ClassRange& range,
                              const MetaClass& given) {
  return AttributeMessage(path, " takes " + RangeText(range) + ", not " + ShownName(given));
}

// The channel that holds `value` for an attribute held by a host channel: a
// text channel for texts and dates, a float channel for booleans and
// numbers. Null and a message in `error` for a value the channel would
// change (AttributeValues.h) or an attribute of a kind that takes no value;
// a real number kept with fewer digits is taken and noted in `notes`.
std::unique_ptr<A3d_Channel> ValueChannel(const Session& session, const MetaAttr& attribute,
                                          const std::string& path, const std::string& value,
                                          std::vector<std::string>* notes, std::string* error) {
  const QAX::Ontology::Info::MetaAttrInfo& info = attribute.GetInfo();
  const AttrKind kind = AttrKindOf(info.kind);
  const QAX::Ontology::AttrValueType& valueType = attribute.GetValueType();
  if (valueType.IsReference()) {
    // Held as the full IRI, so that the group says the same whatever names
    // the model gives later.
    const std::string iri = qaxoi::rdf::ResolveReference(value, valueType, session.model());
    if (iri.empty()) {
      *error =
          AttributeMessage(path, valueType.individuals.empty()
                                     ? " needs an absolute IRI or library:Name, not '" + value + "'"
                                     : " needs one of " + qaxoi::rdf::AllowedValuesText(valueType) +
                                           " (by name, library:Name or IRI), not '" + value + "'");
      return nullptr;
    }
    auto text = std::make_unique<Aco_StringChannel>();
    text->SetString(iri.c_str());
    return text;
  }
  if (kind == AttrKind::kText || kind == AttrKind::kTemporal) {
    auto text = std::make_unique<Aco_StringChannel>();
    text->SetString(value.c_str());
    return text;
  }
  if (kind != AttrKind::kBoolean && kind != AttrKind::kInteger && kind != AttrKind::kReal) {
    *error = AttributeMessage(path, " has a type the ontology service cannot map (" +
                                        info.typeName + ") and takes no value");
    return nullptr;
  }
  float number = 0.0f;
  if (kind == AttrKind::kBoolean && !ParseBooleanValue(value, &number)) {
    *error = AttributeMessage(path, " needs true or false, not '" + value + "'");
    return nullptr;
  }
  if (kind == AttrKind::kInteger && !ParseIntegerValue(value, &number)) {
    *error =
        AttributeMessage(path, " needs a whole number from -" + std::to_string(kFloatExactInteger) +
                                   " to " + std::to_string(kFloatExactInteger) +
                                   " (what the float channel holds exactly), not '" + value + "'");
    return nullptr;
  }
  if (kind == AttrKind::kReal) {
    std::string written;
    const RealValue real = ParseRealValue(value, &number, &written);
    if (real == RealValue::kInvalid || real == RealValue::kTooLarge) {
      *error = AttributeMessage(
          path, std::string(" needs a decimal number") +
                    (real == RealValue::kTooLarge ? " within the float channel's range" : "") +
                    ", not '" + value + "'");
      return nullptr;
    }
    if (real == RealValue::kRounded) {
      notes->push_back(path + "=" + value + " is held by the float channel and written as " +
                       written);
    }
  }
  auto channel = std::make_unique<Aco_FloatChannel>();
  channel->SetFloat(number);
  return channel;
}

// The head of an assignment's path: the attribute's name, the number of the
// value it is for ("knows[2].name": 2; 0 when none is given), and the rest
// of the path behind the dot.
struct PathHead {
  std::string name;
  std::size_t ordinal = 0;
  bool nested = false;
  std::string rest;
};

// Splits `path`; false and a message in `error` for a value number that is
// not a whole number from 1 to the channel's link limit.
bool SplitPath(const std::string& path, PathHead* head, std::string* error) {
  const std::size_t dot = path.find('.');
  std::string first = path.substr(0, dot);
  head->nested = dot != std::string::npos;
  head->rest = head->nested ? path.substr(dot + 1) : std::string();
  head->ordinal = 0;
  const std::size_t open = first.find('[');
  if (open != std::string::npos && open > 0 && first.back() == ']') {
    const std::string digits = first.substr(open + 1, first.size() - open - 2);
    std::size_t ordinal = 0;
    bool valid = !digits.empty() && digits.size() <= kMaxValueDigits;
    for (const char c : digits) {
      valid = valid && c >= '0' && c <= '9';
      if (valid) ordinal = ordinal * 10 + static_cast<std::size_t>(c - '0');
    }
    if (!valid || ordinal == 0 || ordinal > static_cast<std::size_t>(A3d_Channel::kMaxChildLinks)) {
      *error = AttributeMessage(first, ": the value's number must be a whole number from 1 to " +
                                           std::to_string(A3d_Channel::kMaxChildLinks));
      return false;
    }
    head->ordinal = ordinal;
    first.resize(open);
  }
  head->name = std::move(first);
  return true;
}

// How messages name value `ordinal` (1 for the first) of the attribute at
// `path`: the path itself for the first, "path[n]" for the others.
std::string ValuePath(const std::string& path, std::size_t ordinal) {
  return ordinal <= 1 ? path : path + "[" + std::to_string(ordinal) + "]";
}

// Why an attribute takes at most one value, for the refusal of a second.
std::string SingleValueMessage(const std::string& path,
                               const QAX::Ontology::AttrCardinality& counts,
                               const MetaClass& metaClass) {
  return "'" + path + "' takes " + (counts.max == 0 ? "no value" : "one value") +
         ": the ontology allows at most " + std::to_string(counts.max) + " on " +
         ShownName(metaClass) + " (a functional property, a maximum cardinality or an sh:maxCount)";
}

// Why `name` names no attribute of `metaClass`, whose attributes are
// `walk`: the nearest names, and the attributes themselves when they are few
// enough to read in one line (else where to see them).
std::string UnknownAttributeMessage(const MetaClass& metaClass, const std::string& name,
                                    const std::vector<WalkedAttribute>& walk) {
  NearestNames nearest(name);
  std::string names;
  for (const WalkedAttribute& attribute : walk) {
    nearest.Offer(attribute.info->name, attribute.info->name);
    if (!names.empty()) names += ", ";
    names += attribute.info->name;
  }
  std::string message =
      "class " + ShownName(metaClass) + " has no attribute '" + name + "'" + nearest.DidYouMean();
  if (walk.size() <= kMaxListedAttributes) {
    return message + " (attributes: " + (names.empty() ? "none" : names) + ")";
  }
  return message + " (see: qax-host describe " + ShownName(metaClass) + ")";
}

// The path of a nested value numbered: "knows.name" as "knows[2].name".
std::string NumberedExample(const std::string& path) {
  const std::size_t dot = path.find('.');
  if (dot == std::string::npos || path.find('[') != std::string::npos) return path;
  return path.substr(0, dot) + "[2]" + path.substr(dot);
}

}  // namespace

qaxoi::Status ParseAssignments(const std::vector<std::string>& arguments,
                               std::vector<Assignment>* out) {
  std::set<std::string> paths;
  for (const std::string& argument : arguments) {
    const std::size_t equals = argument.find('=');
    if (equals == std::string::npos || equals == 0) {
      return qaxoi::Status::InvalidArgument(
          "'" + argument + "' is not ATTRIBUTE=VALUE" +
          (equals == 0 ? " (the attribute's name is missing)" : ""));
    }
    Assignment assignment{argument.substr(0, equals), argument.substr(equals + 1)};
    // A plain attribute given again is its next value; any other path given
    // twice would replace its first value.
    const bool plain = assignment.path.find_first_of(".[") == std::string::npos;
    if (!paths.insert(assignment.path).second && !plain) {
      return qaxoi::Status::InvalidInput(
          "attribute '" + assignment.path +
          "' is given more than once; give it one value, or number the values ('" +
          NumberedExample(assignment.path) + "')");
    }
    out->push_back(std::move(assignment));
  }
  return qaxoi::Status::Ok();
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
  qaxoi::module::ChooseClass(*item, metaClass, true, qaxoi::module::ChannelNaming::kNameAfterClass);

  const std::vector<WalkedAttribute> walk = AttributeWalk(metaClass);
  std::vector<PathHead> heads(assignments.size());
  for (std::size_t i = 0; i < assignments.size(); ++i) {
    if (!SplitPath(assignments[i].path, &heads[i], error)) return nullptr;
    const std::string& head = heads[i].name;
    const bool known = std::any_of(walk.begin(), walk.end(),
                                   [&](const WalkedAttribute& a) { return a.info->name == head; });
    if (!known) {
      *error = UnknownAttributeMessage(metaClass, head, walk);
      return nullptr;
    }
  }

  const int links = item->GetChildCount();
  // What is given for one value of an attribute: its own value (a text, a
  // number, or a nested item's class) and the nested item's values.
  struct GivenValue {
    const Assignment* direct = nullptr;
    std::vector<Assignment> nested;
  };
  std::vector<GivenValue> given;
  for (const WalkedAttribute& attribute : walk) {
    const std::string& name = attribute.info->name;
    given.clear();
    std::size_t plainValues = 0;  // values given as "name=value", numbered in order
    for (std::size_t i = 0; i < assignments.size(); ++i) {
      const PathHead& head = heads[i];
      if (head.name != name) continue;
      std::size_t ordinal = head.ordinal;
      if (ordinal == 0) ordinal = head.nested ? 1 : ++plainValues;
      if (ordinal > static_cast<std::size_t>(A3d_Channel::kMaxChildLinks)) {
        *error = AttributeMessage(pathPrefix + name,
                                  " is given more values than a channel links (" +
                                      std::to_string(A3d_Channel::kMaxChildLinks) + ")");
        return nullptr;
      }
      if (given.size() < ordinal) given.resize(ordinal);
      GivenValue& value = given[ordinal - 1];
      if (!head.nested) {
        if (value.direct != nullptr) {
          *error = AttributeMessage(ValuePath(pathPrefix + name, ordinal),
                                    " is given more than once; give it one value");
          return nullptr;
        }
        value.direct = &assignments[i];
      } else {
        value.nested.push_back(Assignment{head.rest, assignments[i].value});
      }
    }
    if (given.empty()) continue;
    const std::string path = pathPrefix.empty() ? name : pathPrefix + name;
    // Past the host's link limit an attribute gets no link: a value for it
    // would be in no item, no saved group and no export.
    if (attribute.link >= links) {
      *error = NoLinkMessage(path, metaClass, walk.size(), links);
      return nullptr;
    }
    if (given.size() > 1 && attribute.attribute->GetCardinality().max <= 1) {
      *error = SingleValueMessage(path, attribute.attribute->GetCardinality(), *attribute.owner);
      return nullptr;
    }
    for (std::size_t ordinal = 1; ordinal <= given.size(); ++ordinal) {
      const GivenValue& value = given[ordinal - 1];
      const std::string valuePath = ValuePath(path, ordinal);
      if (value.direct == nullptr && value.nested.empty()) {
        *error = AttributeMessage(
            ValuePath(path, given.size()),
            " is given, but not '" + valuePath + "' (values are numbered from 1, without gaps)");
        return nullptr;
      }
      // The first value takes the attribute's link, each further one a value
      // link of its own.
      int link = attribute.link;
      if (ordinal > 1 && (link = item->AddValueLink(attribute.link)) < 0) {
        *error = AttributeMessage(valuePath,
                                  " has no link, so its value would be lost: a channel "
                                  "links at most " +
                                      std::to_string(A3d_Channel::kMaxChildLinks));
        return nullptr;
      }
      if (AttrKindOf(attribute.info->kind) == AttrKind::kComplex) {
        // The nested item's class is the attribute's range, by IRI: its
        // local name may be that of classes of other vocabularies too.
        const ClassRange range = RangeOf(session.model(), *attribute.attribute);
        const MetaClass* nestedClass = range.first;
        if (value.direct != nullptr) {
          const qaxoi::Status found = FindClass(session.model(), value.direct->value, &nestedClass);
          if (!found.ok()) {
            *error = AttributeMessage(valuePath, ": " + found.message());
            return nullptr;
          }
          if (!InRange(*nestedClass, range)) {
            *error = OutOfRangeMessage(valuePath, range, *nestedClass);
            return nullptr;
          }
        } else if (nestedClass == nullptr) {
          *error = AttributeMessage(
              valuePath, " ranges over '" + attribute.info->typeName +
                             "', which names no one class of the ontology; give its class as '" +
                             valuePath + "=CLASS'");
          return nullptr;
        }
        Aco_QAXOntologyItem* nestedItem =
            BuildItem(session, *nestedClass, value.nested, valuePath + ".", depth + 1, error);
        if (nestedItem == nullptr) return nullptr;
        item->LinkChild(link, nestedItem);
        nestedItem->SetChannelName(name.c_str());
        continue;
      }
      if (!value.nested.empty()) {
        *error = AttributeMessage(valuePath, " is not an item and has no attributes of its own");
        return nullptr;
      }
      std::unique_ptr<A3d_Channel> child = ValueChannel(session, *attribute.attribute, valuePath,
                                                        value.direct->value, &notes_, error);
      if (!child) return nullptr;
      child->SetChannelName(name.c_str());
      item->LinkChild(link, child.get());
      channels_.push_back(std::move(child));
    }
  }
  return item;
}

}  // namespace qaxoi::qax_host
