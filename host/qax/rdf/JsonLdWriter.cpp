#include "host/qax/rdf/JsonLdWriter.h"

#include <nlohmann/json.hpp>

#include <string>
#include <unordered_map>
#include <unordered_set>
#include <utility>

#include "host/qax/rdf/ItemDocument.h"
#include "host/qax/rdf/LexicalForms.h"

namespace qaxoi::rdf {

namespace {

// Keys keep the order they are added in, so that properties follow the
// item's attribute order.
using Json = nlohmann::ordered_json;
using Members = std::vector<std::pair<std::string, Json>>;

constexpr int kIndent = 2;
constexpr double kJsonLdVersion = 1.1;
// The characters a namespace must end in for a plain prefix definition to
// serve compact IRIs (JSON-LD 1.1's "prefix flag").
constexpr char kGenDelims[] = ":/?#[]@";

// `members` as an object, in their order. Keys must be distinct. Appends to
// the object's storage directly: adding keys one by one would look each up
// among those before it.
Json ObjectOf(Members&& members) {
  Json object = Json::object();
  auto& storage = static_cast<Json::object_t::Container&>(object.get_ref<Json::object_t&>());
  // Reserved first, so that no value is copied when the storage grows.
  storage.reserve(members.size());
  for (auto& [key, value] : members) storage.emplace_back(std::move(key), std::move(value));
  return object;
}

// An IRI's scheme when the IRI would read as a compact IRI of a prefix of
// that name (its rest does not start with "//"); empty otherwise.
std::string SchemeReadAsPrefix(const std::string& iri) {
  const std::size_t colon = iri.find(':');
  if (colon == std::string::npos || iri.compare(colon + 1, 2, "//") == 0) return "";
  return iri.substr(0, colon);
}

class JsonLdDocument {
 public:
  explicit JsonLdDocument(const ItemDocument& document) : document_(document) {}

  // The document as JSON text.
  std::string Text() {
    ChoosePrefixes();
    std::vector<Json> built(document_.nodes.size());
    // A nested item's node comes after its parent's: built from the last
    // node back, each node's nested nodes are whole when it is built.
    for (std::size_t i = built.size(); i-- > 0;) built[i] = NodeObject(document_.nodes[i], built);
    Json graph = Json::array();
    for (std::size_t i = 0; i < built.size(); ++i) {
      if (document_.nodes[i].depth == 1) graph.push_back(std::move(built[i]));
    }
    Members top;
    top.emplace_back("@context", Context());
    top.emplace_back("@graph", std::move(graph));
    return ObjectOf(std::move(top)).dump(kIndent) + "\n";
  }

 private:
  // The document's prefixes, less those named like the scheme of an IRI the
  // document holds: a processor would read that IRI, written whole, as a
  // compact IRI of the prefix.
  void ChoosePrefixes() {
    std::unordered_set<std::string> schemes;
    const auto see = [&](const std::string& iri) { schemes.insert(SchemeReadAsPrefix(iri)); };
    for (const ItemNode& node : document_.nodes) {
      if (!node.blank) see(node.subject);
      see(node.classIri);
      for (const ItemValue& value : node.values) {
        see(value.property);
        if (!value.datatype.empty()) see(value.datatype);
        if (value.iri) see(value.text);
      }
    }
    for (const auto& prefix : document_.prefixes) {
      if (schemes.count(prefix.first) == 0) prefixes_.push_back(prefix);
    }
  }

  Json Context() const {
    Members members;
    bool flagged = false;
    for (const auto& [name, ns] : prefixes_) {
      if (std::string(kGenDelims).find(ns.back()) != std::string::npos) {
        members.emplace_back(name, ns);
      } else {
        members.emplace_back(name, Json{{"@id", ns}, {"@prefix", true}});
        flagged = true;
      }
    }
    if (flagged) members.insert(members.begin(), {"@version", kJsonLdVersion});
    return ObjectOf(std::move(members));
  }

  // `iri` as prefix:suffix with the longest namespace that leaves a suffix
  // not starting with "//"; `iri` itself when none does. Each distinct IRI
  // is looked at once.
  const std::string& Compact(const std::string& iri) {
    const auto known = compacted_.find(iri);
    if (known != compacted_.end()) return known->second;
    const std::pair<std::string, std::string>* best = nullptr;
    for (const auto& prefix : prefixes_) {
      const std::string& ns = prefix.second;
      if (iri.size() > ns.size() && iri.compare(0, ns.size(), ns) == 0 &&
          iri.compare(ns.size(), 2, "//") != 0 &&
          (best == nullptr || ns.size() > best->second.size())) {
        best = &prefix;
      }
    }
    std::string compact =
        best == nullptr ? iri : best->first + ":" + iri.substr(best->second.size());
    return compacted_.emplace(iri, std::move(compact)).first->second;
  }

  Json NodeObject(const ItemNode& node, std::vector<Json>& built) {
    // The values of each property, properties in the order first met.
    std::vector<std::pair<std::string, std::vector<Json>>> properties;
    std::unordered_map<std::string, std::size_t> slots;
    for (const ItemValue& value : node.values) {
      const auto slot = slots.emplace(value.property, properties.size());
      if (slot.second) properties.emplace_back(Compact(value.property), std::vector<Json>());
      std::vector<Json>& values = properties[slot.first->second].second;
      if (value.nested != kNoNode) {
        values.push_back(std::move(built[value.nested]));
      } else if (value.iri) {
        Members reference;
        reference.emplace_back("@id", Compact(value.text));
        values.push_back(ObjectOf(std::move(reference)));
      } else if (value.datatype.empty()) {
        values.emplace_back(value.text);
      } else if (IsNativeJsonLiteral(value.datatype, value.text)) {
        // Read back as the same literal: true/false as xsd:boolean, an
        // integer as xsd:integer in its canonical form.
        if (value.text == "true" || value.text == "false") {
          values.emplace_back(value.text == "true");
        } else {
          values.emplace_back(std::stoll(value.text));
        }
      } else {
        Members literal;
        literal.emplace_back("@value", value.text);
        literal.emplace_back("@type", Compact(value.datatype));
        values.push_back(ObjectOf(std::move(literal)));
      }
    }
    Members members;
    members.reserve(properties.size() + 2);
    if (!node.blank) members.emplace_back("@id", node.subject);
    members.emplace_back("@type", Compact(node.classIri));
    for (auto& [key, values] : properties) {
      Json value = values.size() == 1 ? std::move(values.front()) : Json(std::move(values));
      members.emplace_back(std::move(key), std::move(value));
    }
    return ObjectOf(std::move(members));
  }

  const ItemDocument& document_;
  std::vector<std::pair<std::string, std::string>> prefixes_;
  std::unordered_map<std::string, std::string> compacted_;
};

}  // namespace

qaxoi::Status WriteItemsJsonLd(const std::vector<ItemSubject>& items,
                               const QAX::Ontology::OntologyModel& model, WrittenItems* written) {
  ItemDocument document;
  qaxoi::Status described = DescribeItems(items, model, document);
  if (!described.ok()) return described;
  for (const ItemNode& node : document.nodes) {
    if (node.depth > kMaxJsonLdItemDepth) {
      return qaxoi::Status::ResourceExhausted("an item nests deeper than " +
                                              std::to_string(kMaxJsonLdItemDepth) +
                                              " levels, the most that JSON-LD is written for");
    }
  }
  WrittenItems result;
  try {
    result.text = JsonLdDocument(document).Text();
  } catch (const nlohmann::json::exception& e) {
    // Every text is well-formed UTF-8 by now; this is a fault of the writer.
    return qaxoi::Status::InvalidInput(std::string("the JSON-LD writer failed: ") + e.what());
  }
  result.warnings = std::move(document.warnings);
  *written = std::move(result);
  return qaxoi::Status::Ok();
}

}  // namespace qaxoi::rdf
