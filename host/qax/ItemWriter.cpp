#include "host/qax/ItemWriter.h"

#include <serd/serd.h>

#include <cstdint>
#include <deque>
#include <memory>
#include <set>
#include <unordered_map>
#include <utility>

#include "host/qax/MetaAttr.h"
#include "host/qax/MetaClass.h"
#include "host/qax/MetaClassLibrary.h"
#include "host/qax/rdf/LexicalForms.h"

namespace QAX {
namespace Ontology {

namespace {

constexpr char kRdfType[] = "http://www.w3.org/1999/02/22-rdf-syntax-ns#type";
constexpr char kXsdNamespace[] = "http://www.w3.org/2001/XMLSchema#";

// An absolute IRI (a scheme, then ':') without the characters that neither
// Turtle nor N-Triples allow between '<' and '>'.
bool IsWritableIri(const std::string& iri) {
  const std::size_t colon = iri.find(':');
  if (colon == 0 || colon == std::string::npos) return false;
  for (std::size_t i = 0; i < colon; ++i) {
    const char c = iri[i];
    const bool letter = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
    const bool other = (c >= '0' && c <= '9') || c == '+' || c == '-' || c == '.';
    if (!letter && (i == 0 || !other)) return false;
  }
  for (const char c : iri) {
    if (static_cast<unsigned char>(c) <= 0x20) return false;
    for (const char bad : std::string("<>\"{}|^`\\")) {
      if (c == bad) return false;
    }
  }
  return true;
}

// A name that Turtle takes as a prefix: a letter, then letters, digits, '_',
// '-' or '.', not ending in '.'.
bool IsPrefixName(const std::string& name) {
  if (name.empty() || name.back() == '.') return false;
  for (std::size_t i = 0; i < name.size(); ++i) {
    const char c = name[i];
    const bool letter = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
    const bool other = (c >= '0' && c <= '9') || c == '_' || c == '-' || c == '.';
    if (!letter && (i == 0 || !other)) return false;
  }
  return true;
}

// One statement, decided before anything is written.
struct Statement {
  enum class Object { kIri, kBlank, kLiteral };
  std::string subject;  // an IRI, or a blank node label when `blankSubject`
  bool blankSubject;
  std::string predicate;
  Object objectType;
  std::string object;
  std::string datatype;  // for literals; empty: a plain string
};

SerdNode Node(SerdType type, const std::string& text) {
  return serd_node_from_substring(type, reinterpret_cast<const std::uint8_t*>(text.data()),
                                  text.size());
}

std::size_t AppendToString(const void* bytes, std::size_t length, void* stream) {
  static_cast<std::string*>(stream)->append(static_cast<const char*>(bytes), length);
  return length;
}

struct FreeWriter {
  void operator()(SerdWriter* writer) const { serd_writer_free(writer); }
};
struct FreeEnv {
  void operator()(SerdEnv* env) const { serd_env_free(env); }
};

class Writer {
 public:
  Writer(const OntologyModel& model, ItemWriteResult& result) : model_(model), result_(result) {}

  // Turns `items` into statements; false after setting the error.
  bool Collect(const std::vector<ItemSubject>& items) {
    for (const ItemSubject& subject : items) {
      if (subject.item == nullptr) return Fail("an item to write is null");
      if (!subject.iri.empty() && !IsWritableIri(subject.iri)) {
        return Fail("'" + subject.iri + "' is no absolute IRI that RDF can write");
      }
      // Nested items follow their parent, breadth first, so that deep
      // nesting costs no stack.
      std::deque<std::pair<const Onto::OntologyItem*, std::string>> pending;
      pending.emplace_back(subject.item, subject.iri.empty() ? NewBlank() : subject.iri);
      bool blank = subject.iri.empty();
      while (!pending.empty()) {
        const auto [item, name] = pending.front();
        pending.pop_front();
        if (!CollectItem(*item, name, blank, pending)) return false;
        blank = true;
      }
    }
    return true;
  }

  // Writes the collected statements; false after setting the error.
  bool Write(RdfSyntax syntax) {
    const bool turtle = syntax == RdfSyntax::kTurtle;
    std::unique_ptr<SerdEnv, FreeEnv> env(serd_env_new(nullptr));
    std::string text;
    std::unique_ptr<SerdWriter, FreeWriter> writer(
        serd_writer_new(turtle ? SERD_TURTLE : SERD_NTRIPLES,
                        turtle ? static_cast<SerdStyle>(SERD_STYLE_ABBREVIATED | SERD_STYLE_CURIED)
                               : static_cast<SerdStyle>(0),
                        env.get(), nullptr, &AppendToString, &text));
    if (!env || !writer) return Fail("the RDF writer could not be made");
    if (turtle) {
      bool xsdTaken = false;
      for (const MetaClassLibrary* library : model_.GetLibraries()) {
        const std::string ns = model_.GetNamespace(library->GetName());
        if (!IsPrefixName(library->GetName()) || !IsWritableIri(ns)) continue;
        xsdTaken = xsdTaken || library->GetName() == "xsd";
        SetPrefix(writer.get(), library->GetName(), ns);
      }
      if (!xsdTaken) SetPrefix(writer.get(), "xsd", kXsdNamespace);
    }
    for (const Statement& s : statements_) {
      const SerdNode subject = Node(s.blankSubject ? SERD_BLANK : SERD_URI, s.subject);
      const SerdNode predicate = Node(SERD_URI, s.predicate);
      const SerdNode object = Node(s.objectType == Statement::Object::kIri     ? SERD_URI
                                   : s.objectType == Statement::Object::kBlank ? SERD_BLANK
                                                                               : SERD_LITERAL,
                                   s.object);
      const SerdNode datatype = Node(SERD_URI, s.datatype);
      if (serd_writer_write_statement(writer.get(), 0, nullptr, &subject, &predicate, &object,
                                      s.datatype.empty() ? nullptr : &datatype,
                                      nullptr) != SERD_SUCCESS) {
        return Fail("the RDF writer refused a statement about " + s.subject);
      }
    }
    serd_writer_finish(writer.get());
    result_.text = std::move(text);
    return true;
  }

  bool Fail(const std::string& message) {
    result_.error = message;
    return false;
  }

 private:
  std::string NewBlank() { return "b" + std::to_string(++blanks_); }

  static void SetPrefix(SerdWriter* writer, const std::string& name, const std::string& ns) {
    const SerdNode nameNode = Node(SERD_LITERAL, name);
    const SerdNode nsNode = Node(SERD_URI, ns);
    serd_writer_set_prefix(writer, &nameNode, &nsNode);
  }

  bool CollectItem(const Onto::OntologyItem& item, const std::string& subject, bool blank,
                   std::deque<std::pair<const Onto::OntologyItem*, std::string>>& pending) {
    const MetaClass* metaClass = model_.GetMetaClassByFQName(item.GetFQName());
    if (metaClass == nullptr) {
      return Fail("the ontology has no class '" + item.GetFQName() + "' for an item to write");
    }
    if (!IsWritableIri(metaClass->GetInfo().handle)) {
      return Fail("the class '" + item.GetFQName() + "' has no IRI that RDF can write ('" +
                  metaClass->GetInfo().handle + "')");
    }
    statements_.push_back(
        {subject, blank, kRdfType, Statement::Object::kIri, metaClass->GetInfo().handle, ""});
    item.ForEachValue([&](const std::string& name, const std::string* text,
                          const Onto::OntologyItem* nested) {
      const Info::MetaAttrInfo* attribute = Find(*metaClass, name);
      const std::string property =
          attribute != nullptr ? model_.GetNamespace(attribute->scopeName) + attribute->name : "";
      if (attribute == nullptr || !IsWritableIri(property)) {
        Warn(item.GetFQName() + ": '" + name +
             (attribute == nullptr ? "' is no attribute of the class"
                                   : "' has no property IRI that RDF can write") +
             "; its values are left out");
        return;
      }
      if (nested != nullptr) {
        const std::string label = NewBlank();
        statements_.push_back({subject, blank, property, Statement::Object::kBlank, label, ""});
        pending.emplace_back(nested, label);
        return;
      }
      bool repaired = false;
      std::string value = Rdf::WellFormedUtf8(*text, &repaired);
      if (repaired) {
        Warn(item.GetFQName() + ": a value of '" + name +
             "' is not UTF-8; its bad bytes are written as U+FFFD");
      }
      std::string datatype = Rdf::LiteralDatatype(attribute->kind, value);
      // Writers may print a boolean bare, where only the canonical form reads
      // back as one.
      if (datatype == std::string(kXsdNamespace) + "boolean") {
        value = value == "1" || value == "true" ? "true" : "false";
      }
      statements_.push_back({subject, blank, property, Statement::Object::kLiteral,
                             std::move(value), std::move(datatype)});
    });
    return true;
  }

  // The attribute called `name` of `metaClass`, its own before its parents'.
  const Info::MetaAttrInfo* Find(const MetaClass& metaClass, const std::string& name) {
    auto& byName = attributes_[&metaClass];
    if (byName.empty()) {
      std::unordered_map<std::string, const Info::MetaAttrInfo*> found;
      for (const MetaClass* at = &metaClass; at != nullptr; at = at->GetParent()) {
        for (const MetaAttr* attribute : at->GetAttributes()) {
          found.emplace(attribute->GetInfo().name, &attribute->GetInfo());
        }
      }
      byName = std::move(found);
    }
    const auto it = byName.find(name);
    return it != byName.end() ? it->second : nullptr;
  }

  void Warn(const std::string& warning) {
    if (warned_.insert(warning).second) result_.warnings.push_back(warning);
  }

  const OntologyModel& model_;
  ItemWriteResult& result_;
  std::vector<Statement> statements_;
  std::unordered_map<const MetaClass*, std::unordered_map<std::string, const Info::MetaAttrInfo*>>
      attributes_;
  std::set<std::string> warned_;
  std::size_t blanks_ = 0;
};

}  // namespace

ItemWriteResult WriteItems(const std::vector<ItemSubject>& items, const OntologyModel& model,
                           RdfSyntax syntax) {
  ItemWriteResult result;
  Writer writer(model, result);
  if (syntax != RdfSyntax::kTurtle && syntax != RdfSyntax::kNTriples) {
    writer.Fail("items are written as Turtle or N-Triples only");
  } else if (writer.Collect(items)) {
    writer.Write(syntax);
  }
  if (!result.error.empty()) {
    result.text.clear();
    result.warnings.clear();
  }
  return result;
}

}  // namespace Ontology
}  // namespace QAX
