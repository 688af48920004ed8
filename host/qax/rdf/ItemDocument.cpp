#include "host/qax/rdf/ItemDocument.h"

#include <deque>
#include <set>
#include <unordered_map>

#include "host/qax/model/MetaAttr.h"
#include "host/qax/model/MetaClass.h"
#include "host/qax/model/MetaClassLibrary.h"
#include "host/qax/rdf/LexicalForms.h"
#include "host/qax/rdf/ReferenceValues.h"

namespace qaxoi::rdf {

namespace {

class Describer {
 public:
  Describer(const QAX::Ontology::OntologyModel& model, ItemDocument& document, std::string& error)
      : model_(model), document_(document), error_(error) {}

  bool Describe(const std::vector<ItemSubject>& items) {
    DeclarePrefixes();
    for (const ItemSubject& subject : items) {
      if (subject.item == nullptr) return Fail("an item to write is null");
      if (!subject.iri.empty() && !IsWritableIri(subject.iri)) {
        return Fail("'" + subject.iri + "' is no absolute IRI that RDF can write");
      }
      // Nested items follow their parent, breadth first, so that deep
      // nesting costs no stack. Each pending item's node is made when it is
      // met, so that labels count up in node order.
      std::deque<std::pair<const QAX::Onto::OntologyItem*, std::size_t>> pending;
      nestedByPath_ = subject.nestedByPath && !subject.iri.empty();
      pending.emplace_back(subject.item, NewNode(subject.iri, 1));
      while (!pending.empty()) {
        const auto [item, node] = pending.front();
        pending.pop_front();
        if (!DescribeItem(*item, node, pending)) return false;
      }
    }
    return true;
  }

 private:
  bool Fail(const std::string& message) {
    error_ = message;
    return false;
  }

  void DeclarePrefixes() {
    bool xsdTaken = false;
    for (const QAX::Ontology::MetaClassLibrary* library : model_.GetLibraries()) {
      const std::string ns = model_.GetNamespace(library->GetName());
      if (!IsPrefixName(library->GetName()) || !IsWritableIri(ns)) continue;
      xsdTaken = xsdTaken || library->GetName() == "xsd";
      document_.prefixes.emplace_back(library->GetName(), ns);
    }
    if (!xsdTaken) document_.prefixes.emplace_back("xsd", kXsdNamespace);
  }

  // A new node under `iri`, or a blank one when `iri` is empty; its index.
  std::size_t NewNode(const std::string& iri, std::size_t depth) {
    ItemNode node;
    node.blank = iri.empty();
    node.subject = node.blank ? "b" + std::to_string(++blanks_) : iri;
    node.depth = depth;
    document_.nodes.push_back(std::move(node));
    return document_.nodes.size() - 1;
  }

  bool DescribeItem(const QAX::Onto::OntologyItem& item, std::size_t node,
                    std::deque<std::pair<const QAX::Onto::OntologyItem*, std::size_t>>& pending) {
    const QAX::Ontology::MetaClass* metaClass = model_.GetMetaClassByFQName(item.GetFQName());
    if (metaClass == nullptr) {
      return Fail("the ontology has no class '" + item.GetFQName() + "' for an item to write");
    }
    if (!IsWritableIri(metaClass->GetInfo().handle)) {
      return Fail("the class '" + item.GetFQName() + "' has no IRI that RDF can write ('" +
                  metaClass->GetInfo().handle + "')");
    }
    document_.nodes[node].classIri = metaClass->GetInfo().handle;
    const std::size_t depth = document_.nodes[node].depth;
    bool failed = false;
    // How many values of each attribute came so far: a nested item's path
    // numbers its value.
    std::unordered_map<std::string, std::size_t> valuesSeen;
    item.ForEachValue([&](const std::string& name, const std::string* text,
                          const QAX::Onto::OntologyItem* nested) {
      if (failed) return;
      const std::size_t number = ++valuesSeen[name];
      const QAX::Ontology::MetaAttr* meta = Find(*metaClass, name);
      const QAX::Ontology::Info::MetaAttrInfo* attribute =
          meta != nullptr ? &meta->GetInfo() : nullptr;
      if (attribute == nullptr) {
        Warn(item.GetFQName() + ": '" + name +
             "' is no attribute of the class; its values are left out");
        return;
      }
      std::string property = model_.GetNamespace(attribute->scopeName) + attribute->name;
      if (!IsWritableIri(property)) {
        // The value is the item's, and the model knows its attribute: left
        // out, the document would say less than the item without a failure.
        failed = true;
        Fail(item.GetFQName() + ": the " +
             (nested != nullptr ? std::string("nested item") : "value '" + Cut(*text) + "'") +
             " of '" + name + "' cannot be written: its property IRI '" + Cut(property) +
             "' is not one that RDF can write");
        return;
      }
      if (nested != nullptr) {
        const std::size_t index = NewNode(
            nestedByPath_ ? document_.nodes[node].subject + "." + name +
                                (number > 1 ? "[" + std::to_string(number) + "]" : std::string())
                          : std::string(),
            depth + 1);
        document_.nodes[node].values.push_back({std::move(property), "", "", index});
        pending.emplace_back(nested, index);
        return;
      }
      bool repaired = false;
      std::string value = WellFormedUtf8(*text, &repaired);
      if (repaired) {
        Warn(item.GetFQName() + ": a value of '" + name +
             "' is not UTF-8; its bad bytes are written as U+FFFD");
      }
      const QAX::Ontology::AttrValueType& valueType = meta->GetValueType();
      if (valueType.IsReference()) {
        std::string iri = ResolveReference(value, valueType, model_);
        if (iri.empty()) {
          failed = true;
          Fail(item.GetFQName() + ": the value '" + Cut(value) + "' of '" + name +
               "' names no resource: " +
               (valueType.individuals.empty() ? std::string("give an absolute IRI or library:Name")
                                              : "give one of " + AllowedValuesText(valueType)));
          return;
        }
        ItemValue reference{std::move(property), std::move(iri), "", kNoNode};
        reference.iri = true;
        document_.nodes[node].values.push_back(std::move(reference));
        return;
      }
      std::string datatype = Datatype(item, name, *attribute, valueType, value);
      // Writers may print a boolean bare, where only the canonical form reads
      // back as one.
      if (datatype == std::string(kXsdNamespace) + "boolean") {
        value = value == "1" || value == "true" ? "true" : "false";
      }
      document_.nodes[node].values.push_back(
          {std::move(property), std::move(value), std::move(datatype), kNoNode});
    });
    return !failed;
  }

  // The datatype a literal `value` of `attribute` is written with: the first
  // of the value type's alternatives it is a lexical form of, else its
  // datatype (as given when unchecked), else what the kind gives. Empty for
  // a plain string; a value the range's datatypes do not take is one, with
  // a warning.
  std::string Datatype(const QAX::Onto::OntologyItem& item, const std::string& name,
                       const QAX::Ontology::Info::MetaAttrInfo& attribute,
                       const QAX::Ontology::AttrValueType& valueType, const std::string& value) {
    for (const std::string& datatype : valueType.orDatatypes) {
      if (CheckLexicalForm(datatype, value, true) == LexicalCheck::kValid) return datatype;
    }
    const auto notOf = [&](const std::string& what) {
      Warn(item.GetFQName() + ": '" + Cut(value) + "' is no " + what + ", so the value of '" +
           name + "' is written as a plain string");
      return std::string();
    };
    if (!valueType.datatype.empty()) {
      if (!IsWritableIri(valueType.datatype)) {
        return notOf("literal of <" + Cut(valueType.datatype) + ">, an IRI RDF cannot write");
      }
      if (CheckLexicalForm(valueType.datatype, value) != LexicalCheck::kInvalid) {
        return valueType.datatype;
      }
      return notOf("lexical form of <" + valueType.datatype + ">");
    }
    if (!valueType.orDatatypes.empty()) {
      if (valueType.textAllowed) return std::string();
      std::string names;
      for (const std::string& datatype : valueType.orDatatypes) {
        names += (names.empty() ? "<" : ", <") + datatype + ">";
      }
      return notOf("lexical form of " + names);
    }
    return LiteralDatatype(QAX::Ontology::Info::AttrKindOf(attribute.kind), value);
  }

  // `text` for a message of one line: control characters as spaces, cut to
  // kMaxQuotedValueBytes with "..." (at a character's start).
  static std::string Cut(const std::string& text) {
    constexpr std::size_t kMaxQuotedValueBytes = 80;
    constexpr unsigned char kFirstPrintable = 0x20;
    constexpr unsigned char kContinuationMask = 0xC0;
    constexpr unsigned char kContinuation = 0x80;
    std::size_t end = text.size();
    if (end > kMaxQuotedValueBytes) {
      end = kMaxQuotedValueBytes;
      while (end > 0 &&
             (static_cast<unsigned char>(text[end]) & kContinuationMask) == kContinuation) {
        --end;
      }
    }
    std::string out = text.substr(0, end);
    for (char& c : out) {
      if (static_cast<unsigned char>(c) < kFirstPrintable) c = ' ';
    }
    if (end < text.size()) out += "...";
    return out;
  }

  // The attribute called `name` of `metaClass`: the first met up the parent
  // chain from the class, each class's GetAttributes() holding what it
  // presents for its other superclasses too.
  const QAX::Ontology::MetaAttr* Find(const QAX::Ontology::MetaClass& metaClass,
                                      const std::string& name) {
    auto& byName = attributes_[&metaClass];
    if (byName.empty()) {
      std::unordered_map<std::string, const QAX::Ontology::MetaAttr*> found;
      for (const QAX::Ontology::MetaClass* at = &metaClass; at != nullptr; at = at->GetParent()) {
        for (const QAX::Ontology::MetaAttr* attribute : at->GetAttributes()) {
          found.emplace(attribute->GetInfo().name, attribute);
        }
      }
      byName = std::move(found);
    }
    const auto it = byName.find(name);
    return it != byName.end() ? it->second : nullptr;
  }

  void Warn(const std::string& warning) {
    if (warned_.insert(warning).second) document_.warnings.push_back(warning);
  }

  const QAX::Ontology::OntologyModel& model_;
  ItemDocument& document_;
  std::string& error_;
  std::unordered_map<const QAX::Ontology::MetaClass*,
                     std::unordered_map<std::string, const QAX::Ontology::MetaAttr*>>
      attributes_;
  std::set<std::string> warned_;
  std::size_t blanks_ = 0;
  // Whether the nested items of the item being described are named by path
  // (ItemSubject::nestedByPath).
  bool nestedByPath_ = false;
};

}  // namespace

qaxoi::Status DescribeItems(const std::vector<ItemSubject>& items,
                            const QAX::Ontology::OntologyModel& model, ItemDocument& document) {
  std::string error;
  if (Describer(model, document, error).Describe(items)) return qaxoi::Status::Ok();
  return qaxoi::Status::InvalidInput(std::move(error));
}

}  // namespace qaxoi::rdf
