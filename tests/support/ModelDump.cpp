#include "tests/support/ModelDump.h"

#include <cstdio>
#include <utility>

#include "host/qax/shacl/DerivedShapes.h"

namespace qaxoi::test {
namespace {

using QAX::Ontology::AttrCardinality;
using QAX::Ontology::AttrRangeTerm;
using QAX::Ontology::AttrValue;
using QAX::Ontology::MetaAttr;
using QAX::Ontology::MetaClass;
using QAX::Ontology::MetaClassLibrary;
using QAX::Ontology::OntologyModel;
using QAX::Ontology::TermSuccession;

// `text` in double quotes, with '"', '\' and control bytes escaped, so that
// every fact stays on its line.
std::string Quoted(const std::string& text) {
  std::string out = "\"";
  for (const char c : text) {
    if (c == '"' || c == '\\') {
      out += '\\';
      out += c;
    } else if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) {
      char escaped[8];
      std::snprintf(escaped, sizeof(escaped), "\\x%02X", static_cast<unsigned char>(c));
      out += escaped;
    } else {
      out += c;
    }
  }
  return out + "\"";
}

std::string Cardinality(const AttrCardinality& counts) {
  return std::to_string(counts.min) + ".." +
         (counts.max == AttrCardinality::kUnbounded ? std::string("*")
                                                    : std::to_string(counts.max));
}

void Successors(const OntologyModel& model, const std::string& iri, const std::string& indent,
                std::string& out) {
  for (const QAX::Ontology::TermSuccessor& successor : model.GetSuccessors(iri)) {
    out += indent +
           (successor.how == TermSuccession::kReplacedBy ? "replaced by <" : "equivalent to <") +
           successor.iri + ">\n";
  }
}

void Terms(const char* what, const std::vector<AttrRangeTerm>& terms, std::string& out) {
  for (const AttrRangeTerm& term : terms) {
    out += std::string("    ") + what + " <" + term.iri + "> " + std::to_string(term.kind) + "\n";
  }
}

void Value(const AttrValue& value, std::string& out) {
  out += "    oneOf " + (value.isIri ? "<" + value.text + ">" : Quoted(value.text)) +
         (value.datatype.empty() ? "" : " ^^<" + value.datatype + ">") +
         (value.language.empty() ? "" : " @" + value.language) + "\n";
}

// One line per label and documentation text: "label @pt "Americana"".
void Texts(const QAX::Ontology::TermTexts* texts, const char* indent, std::string& out) {
  if (texts == nullptr) return;
  for (const auto& [kind, list] :
       {std::make_pair("label", &texts->labels), std::make_pair("text", &texts->docs)}) {
    for (const QAX::Ontology::LangText& text : *list) {
      out += std::string(indent) + kind + " @" + text.language + " " + Quoted(text.text) + "\n";
    }
  }
}

void Attribute(const OntologyModel& model, const MetaAttr& attribute, std::string& out) {
  const QAX::Ontology::Info::MetaAttrInfo& info = attribute.GetInfo();
  const std::string iri = model.GetNamespace(info.scopeName) + info.name;
  out += "  attribute " + Quoted(info.name) + " scope " + Quoted(info.scopeName) + " kind " +
         std::to_string(info.kind) + " type " + Quoted(info.typeName) + " <" + iri + "> " +
         Cardinality(attribute.GetCardinality()) + "\n";
  if (const QAX::Ontology::AttrRange* range = attribute.GetRange()) {
    Terms("allOf", range->allOf, out);
    Terms("anyOf", range->anyOf, out);
    for (const AttrValue& value : range->oneOf) Value(value, out);
  }
  const QAX::Ontology::AttrValueType& type = attribute.GetValueType();
  out += std::string("    value ") + (type.IsReference() ? "reference" : "literal") + " <" +
         type.datatype + ">" + (type.textAllowed ? " or text" : "");
  for (const std::string& datatype : type.orDatatypes) out += " <" + datatype + ">";
  out += "\n";
  for (const QAX::Ontology::AttrIndividual& individual : type.individuals) {
    out += "    individual <" + individual.iri + "> " + Quoted(individual.name) + "\n";
  }
  Texts(attribute.GetTexts(), "    ", out);
  Successors(model, iri, "    ", out);
}

void Class(const OntologyModel& model, const MetaClass& metaClass, std::string& out) {
  const QAX::Ontology::Info::MetaClassInfo& info = metaClass.GetInfo();
  out += "class " + Quoted(metaClass.GetFQName()) + " <" + info.handle + ">\n";
  out += "  name " + Quoted(info.name) + " scope " + Quoted(info.scopeName) + " parent " +
         Quoted(info.parentName) + " scope " + Quoted(info.parentScopeName) +
         (info.isAbstract ? " abstract" : "") + "\n";
  if (const MetaClass* parent = metaClass.GetParent()) {
    out += "  parent " + Quoted(parent->GetFQName()) + "\n";
  }
  if (!info.doc.empty()) out += "  doc " + Quoted(info.doc) + "\n";
  Texts(metaClass.GetTexts(), "  ", out);
  Successors(model, info.handle, "  ", out);
  for (const MetaClass* superclass : metaClass.GetSuperclasses()) {
    out += "  superclass " + Quoted(superclass->GetFQName()) + "\n";
  }
  for (const MetaAttr* attribute : metaClass.GetDeclaredAttributes()) {
    Attribute(model, *attribute, out);
  }
  // What the walk meets here, by name: the declared ones and those
  // presented for other superclasses alike.
  for (const MetaAttr* attribute : metaClass.GetAttributes()) {
    out += "  presents " +
           Quoted(attribute->GetInfo().scopeName + "." + attribute->GetInfo().name) + "\n";
  }
}

}  // namespace

std::string ModelDump(const OntologyModel& model) {
  std::string out;
  for (const MetaClassLibrary* library : model.GetLibraries()) {
    out += "library " + Quoted(library->GetName()) + " <" + model.GetNamespace(library->GetName()) +
           ">\n";
    for (const MetaClass* metaClass : library->GetClasses()) Class(model, *metaClass, out);
  }
  for (const QAX::Ontology::Info::MetaAttrInfo& info : model.GetPropertiesWithoutClass()) {
    const std::string iri = model.GetNamespace(info.scopeName) + info.name;
    out += "without class " + Quoted(info.name) + " scope " + Quoted(info.scopeName) + " kind " +
           std::to_string(info.kind) + " type " + Quoted(info.typeName) + " <" + iri + ">\n";
    Successors(model, iri, "  ", out);
  }
  out += "shapes\n" + shacl::DerivedShapesTurtle(model, {});
  return out;
}

std::string LoadedModelDump(const rdf::LoadedModel& loaded, const std::string& sourceName) {
  std::string out = loaded.model != nullptr ? ModelDump(*loaded.model) : std::string();
  out += "warnings\n";
  for (const std::string& warning : loaded.warnings) {
    const bool named = warning.compare(0, sourceName.size(), sourceName) == 0;
    const std::string text = named ? warning.substr(sourceName.size()) : warning;
    // ":12: ..." names a line of the document: a parser's word about the
    // document's syntax, not about the graph.
    const std::size_t digits = text.find_first_not_of("0123456789", 1);
    if (text.size() > 1 && text[0] == ':' && digits > 1 && digits != std::string::npos &&
        text[digits] == ':') {
      continue;
    }
    out += text + "\n";
  }
  return out;
}

}  // namespace qaxoi::test
