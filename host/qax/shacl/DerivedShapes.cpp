#include "host/qax/shacl/DerivedShapes.h"

#include <algorithm>
#include <string_view>
#include <unordered_map>
#include <utility>

#include "host/qax/model/MetaAttr.h"
#include "host/qax/model/MetaClassLibrary.h"
#include "host/qax/model/MetaInfo.h"
#include "host/qax/rdf/VocabularyTerms.h"
#include "host/qax/rdf/WritableNames.h"
#include "host/qax/shacl/ReportSyntax.h"

namespace qaxoi::shacl {
namespace {

// A class's node shape is named by the class's IRI with this appended.
constexpr std::string_view kShapeSuffix = "Shape";

// A local name written after a prefix without escapes: ASCII letters,
// digits and '_' first, then those, '-' and '.', not ending in '.'. Other
// names are written as whole IRIs.
bool IsPlainLocalName(std::string_view name) {
  if (name.empty() || name.back() == '.') return false;
  for (std::size_t i = 0; i < name.size(); ++i) {
    const char c = name[i];
    const bool word =
        (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_';
    if (!word && (i == 0 || (c != '-' && c != '.'))) return false;
  }
  return true;
}

// One shape's constraints, "predicate object" each, as written inside it.
using Constraints = std::vector<std::string>;

class Writer {
 public:
  explicit Writer(const QAX::Ontology::OntologyModel& model) : model_(model) {
    for (const QAX::Ontology::MetaClassLibrary* library : model.GetLibraries()) {
      Declare(library->GetName(), model.GetNamespace(library->GetName()));
    }
    Declare("rdf", ReportSyntax::kRdf);
    Declare("sh", ReportSyntax::kShacl);
    Declare("xsd", std::string(rdf::Iri::kXsd));
  }

  // The classes walked so far.
  std::size_t Walked() const { return walked_; }

  std::string Document(const std::vector<const QAX::Ontology::MetaClass*>& classes) {
    std::string body;
    for (const QAX::Ontology::MetaClass* metaClass : classes) {
      if (metaClass != nullptr) body += NodeShape(*metaClass);
    }
    std::string out;
    for (const auto& [name, ns] : prefixes_) {
      out.append("@prefix ").append(name).append(": <").append(ns).append("> .\n");
    }
    return out + body;
  }

 private:
  void Declare(const std::string& name, const std::string& ns) {
    if (!rdf::IsPrefixName(name) || !rdf::IsWritableIri(ns)) return;
    const bool taken = std::any_of(prefixes_.begin(), prefixes_.end(), [&](const auto& prefix) {
      return prefix.first == name || prefix.second == ns;
    });
    if (!taken) prefixes_.emplace_back(name, ns);
  }

  // `iri` as a prefixed name where a declared namespace and a plain local
  // name fit (the longest namespace wins), else as <iri>.
  std::string Name(const std::string& iri) const {
    const std::pair<std::string, std::string>* best = nullptr;
    for (const auto& prefix : prefixes_) {
      const std::string& ns = prefix.second;
      if (iri.size() > ns.size() && iri.compare(0, ns.size(), ns) == 0 &&
          IsPlainLocalName(std::string_view{iri}.substr(ns.size())) &&
          (best == nullptr || ns.size() > best->second.size())) {
        best = &prefix;
      }
    }
    if (best == nullptr) return "<" + iri + ">";
    return best->first + ":" + iri.substr(best->second.size());
  }

  std::string Sh(std::string_view local) const {
    return Name(ReportSyntax::kShacl + std::string(local));
  }
  std::string Xsd(std::string_view local) const {
    return Name(std::string(rdf::Iri::kXsd) + std::string(local));
  }

  // The IRI of a class: its handle when that is one, else its scope's
  // namespace and its name; empty when neither can be written.
  std::string ClassIri(const QAX::Ontology::MetaClass& metaClass) const {
    const QAX::Ontology::Info::MetaClassInfo& info = metaClass.GetInfo();
    if (rdf::IsWritableIri(info.handle)) return info.handle;
    const std::string iri = model_.GetNamespace(info.scopeName) + info.name;
    return rdf::IsWritableIri(iri) ? iri : std::string();
  }

  std::string NodeShape(const QAX::Ontology::MetaClass& metaClass) {
    const std::string iri = ClassIri(metaClass);
    if (iri.empty()) {
      return "# " + metaClass.GetFQName() + ": the class has no IRI, so it has no shape\n";
    }
    // The classes up the parents that have attributes, the class first:
    // classes without any are stepped over, so the walk costs what the
    // shape writes.
    std::vector<const QAX::Ontology::MetaClass*> chain;
    for (const QAX::Ontology::MetaClass* at = WithAttributes(&metaClass); at != nullptr;
         at = WithAttributes(at->GetParent())) {
      ++walked_;
      chain.push_back(at);
    }
    // Attributes left out are named in comments before the shape.
    std::string notes;
    std::string shape = Name(iri + std::string(kShapeSuffix)) + "\n  a " + Sh("NodeShape") +
                        " ;\n  " + Sh("targetClass") + " " + Name(iri);
    for (auto at = chain.rbegin(); at != chain.rend(); ++at) {
      const OwnShapes& own = Own(**at);
      notes += own.notes;
      shape += own.shapes;
    }
    return "\n" + notes + shape + " .\n";
  }

  // The property shapes of the attributes the walk of a class's links meets
  // at the class (its own and those it presents for its other
  // superclasses: GetAttributes), and the comments on those left out;
  // written once per class and copied into the shape of each class below
  // it, so that a shape covers every superclass's attributes.
  struct OwnShapes {
    std::string notes;
    std::string shapes;
  };
  const OwnShapes& Own(const QAX::Ontology::MetaClass& metaClass) {
    const auto known = own_.find(&metaClass);
    if (known != own_.end()) return known->second;
    OwnShapes own;
    for (const QAX::Ontology::MetaAttr* attribute : metaClass.GetAttributes()) {
      own.shapes += PropertyShape(*attribute, own.notes);
    }
    return own_.emplace(&metaClass, std::move(own)).first->second;
  }

  // The first class from `from` up its parents (itself included) that has
  // attributes; null when none has. Each class is walked once for the
  // whole document: the answer is kept for every class passed on the way
  // (the model's parents never loop).
  const QAX::Ontology::MetaClass* WithAttributes(const QAX::Ontology::MetaClass* from) {
    std::vector<const QAX::Ontology::MetaClass*> passed;
    const QAX::Ontology::MetaClass* found = nullptr;
    for (const QAX::Ontology::MetaClass* at = from; at != nullptr; at = at->GetParent()) {
      const auto known = withAttributes_.find(at);
      if (known != withAttributes_.end()) {
        found = known->second;
        break;
      }
      if (!at->GetAttributes().empty()) {
        found = at;
        break;
      }
      ++walked_;
      passed.push_back(at);
    }
    for (const QAX::Ontology::MetaClass* at : passed) withAttributes_.emplace(at, found);
    return found;
  }

  // " ;" and the property shape of `attribute`; nothing, and a comment line
  // added to `notes`, for one without a property IRI.
  std::string PropertyShape(const QAX::Ontology::MetaAttr& attribute, std::string& notes) const {
    const QAX::Ontology::Info::MetaAttrInfo& info = attribute.GetInfo();
    const std::string path = model_.GetNamespace(info.scopeName) + info.name;
    if (!rdf::IsWritableIri(path)) {
      notes += "# " + info.scopeName + "." + info.name +
               ": the attribute has no property IRI, so it has no shape\n";
      return "";
    }
    Constraints lines{Sh("path") + " " + Name(path),
                      Sh("name") + " " + ReportSyntax::Quoted(info.name)};
    const QAX::Ontology::AttrCardinality counts = attribute.GetCardinality();
    if (counts.min > 0) lines.push_back(Sh("minCount") + " " + std::to_string(counts.min));
    if (counts.max != QAX::Ontology::AttrCardinality::kUnbounded) {
      lines.push_back(Sh("maxCount") + " " + std::to_string(counts.max));
    }
    const QAX::Ontology::AttrValueType& valueType = attribute.GetValueType();
    if (valueType.IsReference()) {
      // What the writer writes: an IRI, one of the individuals when there
      // are any. Not sh:class: the individuals' types are the vocabulary's,
      // and data that names them rarely repeats them.
      lines.push_back(Sh("nodeKind") + " " + Sh("IRI"));
      std::string values;
      for (const QAX::Ontology::AttrIndividual& individual : valueType.individuals) {
        if (rdf::IsWritableIri(individual.iri)) values += " " + Name(individual.iri);
      }
      if (!values.empty()) lines.push_back(Sh("in") + " (" + values + " )");
    } else if (const QAX::Ontology::AttrRange* range = attribute.GetRange()) {
      ValueConstraints(*range, valueType, lines);
    }
    std::string out = " ;\n  " + Sh("property") + " [\n";
    for (std::size_t i = 0; i < lines.size(); ++i) {
      out += "    " + lines[i] + (i + 1 < lines.size() ? " ;\n" : "\n");
    }
    return out + "  ]";
  }

  // What a range says of each value, appended to `lines`: one group of
  // constraints per term that all hold, one for the terms of which any one
  // holds, and the enumeration; several groups are joined with sh:and.
  void ValueConstraints(const QAX::Ontology::AttrRange& range,
                        const QAX::Ontology::AttrValueType& valueType, Constraints& lines) const {
    std::vector<Constraints> groups;
    const auto addGroup = [&groups](Constraints group) {
      if (!group.empty() && std::find(groups.begin(), groups.end(), group) == groups.end()) {
        groups.push_back(std::move(group));
      }
    };
    for (const QAX::Ontology::AttrRangeTerm& term : range.allOf)
      addGroup(TermConstraints(term, valueType));
    std::vector<Constraints> alternatives;
    bool unchecked = false;  // an alternative no shape can check lets every value pass
    for (const QAX::Ontology::AttrRangeTerm& term : range.anyOf) {
      Constraints alternative = TermConstraints(term, valueType);
      unchecked = unchecked || alternative.empty();
      if (std::find(alternatives.begin(), alternatives.end(), alternative) == alternatives.end()) {
        alternatives.push_back(std::move(alternative));
      }
    }
    if (!unchecked && alternatives.size() == 1) addGroup(alternatives.front());
    if (!unchecked && alternatives.size() > 1) addGroup({Sh("or") + " " + List(alternatives)});
    if (!range.oneOf.empty()) {
      std::string values;
      for (const QAX::Ontology::AttrValue& value : range.oneOf) values += " " + Value(value);
      addGroup({Sh("in") + " (" + values + " )"});
    }
    if (groups.size() == 1) {
      lines.insert(lines.end(), groups.front().begin(), groups.front().end());
    } else if (groups.size() > 1) {
      lines.push_back(Sh("and") + " " + List(groups));
    }
  }

  // A list of shapes, each written as a blank node on one line.
  static std::string List(const std::vector<Constraints>& shapes) {
    std::string out = "(";
    for (const Constraints& shape : shapes) {
      out += " [";
      for (std::size_t i = 0; i < shape.size(); ++i) out += (i == 0 ? " " : " ; ") + shape[i];
      out += " ]";
    }
    return out + " )";
  }

  std::string Value(const QAX::Ontology::AttrValue& value) const {
    if (value.isIri)
      return rdf::IsWritableIri(value.text) ? Name(value.text) : ReportSyntax::Quoted(value.text);
    std::string out = ReportSyntax::Quoted(value.text);
    if (!value.language.empty()) return out + "@" + value.language;
    if (!value.datatype.empty() && value.datatype != rdf::Iri::kXsdString &&
        rdf::IsWritableIri(value.datatype)) {
      out += "^^" + Name(value.datatype);
    }
    return out;
  }

  // What one range term asks of a value, as the item writer writes values
  // (ItemWriter.h): a text is an xsd:string, where the range is no XML
  // Schema datatype also a language-tagged string; a number is an
  // xsd:integer, or an xsd:decimal or xsd:double; a date an xsd:date, a
  // date and time an xsd:dateTime, other times and durations any literal
  // (they are written as plain text); a class an item of it. A datatype that
  // the value type writes as itself (a single XML Schema datatype, an
  // unknown one, one of a union) is asked for as itself. Nothing for any
  // other datatype the service cannot map or an unknown IRI.
  Constraints TermConstraints(const QAX::Ontology::AttrRangeTerm& term,
                              const QAX::Ontology::AttrValueType& valueType) const {
    if (rdf::IsWritableIri(term.iri) &&
        (term.iri == valueType.datatype ||
         std::find(valueType.orDatatypes.begin(), valueType.orDatatypes.end(), term.iri) !=
             valueType.orDatatypes.end())) {
      return Constraints{Sh("datatype") + " " + Name(term.iri)};
    }
    const auto datatype = [this](std::string_view local) {
      return Constraints{Sh("datatype") + " " + Xsd(local)};
    };
    const auto either = [this](const std::string& a, const std::string& b) {
      return Constraints{Sh("or") + " ( [ " + Sh("datatype") + " " + a + " ] [ " + Sh("datatype") +
                         " " + b + " ] )"};
    };
    const std::string_view iri = term.iri;
    switch (QAX::Ontology::Info::AttrKindOf(term.kind)) {
      case QAX::Ontology::Info::AttrKind::kText:
        if (iri.substr(0, rdf::Iri::kXsd.size()) == rdf::Iri::kXsd) return datatype("string");
        return either(Xsd("string"), Name(std::string(rdf::Iri::kRdfLangString)));
      case QAX::Ontology::Info::AttrKind::kBoolean:
        return datatype("boolean");
      case QAX::Ontology::Info::AttrKind::kInteger:
        return datatype("integer");
      case QAX::Ontology::Info::AttrKind::kReal:
        return either(Xsd("decimal"), Xsd("double"));
      case QAX::Ontology::Info::AttrKind::kTemporal: {
        const std::string_view local = rdf::SplitIri(iri).localName;
        if (local == "date" || local == "Date") return datatype("date");
        if (local == "dateTime" || local == "DateTime" || local == "dateTimeStamp") {
          return datatype("dateTime");
        }
        return Constraints{Sh("nodeKind") + " " + Sh("Literal")};
      }
      case QAX::Ontology::Info::AttrKind::kComplex:
        return rdf::IsWritableIri(term.iri) ? Constraints{Sh("class") + " " + Name(term.iri)}
                                            : Constraints{};
      default:
        return Constraints{};
    }
  }

  const QAX::Ontology::OntologyModel& model_;
  std::vector<std::pair<std::string, std::string>> prefixes_;  // (name, namespace), in order
  std::unordered_map<const QAX::Ontology::MetaClass*, OwnShapes> own_;
  std::size_t walked_ = 0;
  std::unordered_map<const QAX::Ontology::MetaClass*, const QAX::Ontology::MetaClass*>
      withAttributes_;
};

}  // namespace

std::string DerivedShapesTurtle(const QAX::Ontology::OntologyModel& model,
                                const std::vector<const QAX::Ontology::MetaClass*>& classes,
                                std::size_t* classesWalked) {
  Writer writer(model);
  if (!classes.empty()) {
    std::string document = writer.Document(classes);
    if (classesWalked != nullptr) *classesWalked = writer.Walked();
    return document;
  }
  std::vector<const QAX::Ontology::MetaClass*> all;
  all.reserve(model.GetClassCount());
  for (const QAX::Ontology::MetaClassLibrary* library : model.GetLibraries()) {
    for (const QAX::Ontology::MetaClass* metaClass : library->GetClasses())
      all.push_back(metaClass);
  }
  std::string document = writer.Document(all);
  if (classesWalked != nullptr) *classesWalked = writer.Walked();
  return document;
}

}  // namespace qaxoi::shacl
