#include "host/qax/rdf/VocabularyTerms.h"

#include <utility>

#include "host/qax/model/MetaInfo.h"

namespace qaxoi::rdf {
namespace {

using QAX::Ontology::Info::AttrKind;

constexpr std::string_view kRdf = "http://www.w3.org/1999/02/22-rdf-syntax-ns#";
constexpr std::string_view kRdfs = "http://www.w3.org/2000/01/rdf-schema#";
constexpr std::string_view kOwl = "http://www.w3.org/2002/07/owl#";
constexpr std::string_view kVann = "http://purl.org/vocab/vann/";
constexpr std::string_view kShacl = "http://www.w3.org/ns/shacl#";

bool StartsWith(std::string_view text, std::string_view prefix) {
  return text.size() >= prefix.size() && text.compare(0, prefix.size(), prefix) == 0;
}

// The local name of `iri` within schema.org (either scheme); empty when the
// IRI is not schema.org's.
std::string_view SchemaLocalName(std::string_view iri) {
  if (StartsWith(iri, Iri::kSchemaHttp)) return iri.substr(Iri::kSchemaHttp.size());
  if (StartsWith(iri, Iri::kSchemaHttps)) return iri.substr(Iri::kSchemaHttps.size());
  return std::string_view();
}

// The value that `key` has in `table`, or `none`. The tables are a few dozen
// entries, searched in place: no heap, nothing built on first use (which a
// load would otherwise pay inside its own peak).
template <typename Value, std::size_t kSize>
Value Lookup(const std::pair<std::string_view, Value> (&table)[kSize], std::string_view key,
             Value none) {
  for (const auto& [name, value] : table) {
    if (name == key) return value;
  }
  return none;
}

}  // namespace

Predicate ClassifyPredicate(std::string_view iri) {
  if (iri == Iri::kRdfType) return Predicate::kType;
  if (iri == Iri::kRdfsSubClassOf) return Predicate::kSubClassOf;
  if (iri == Iri::kRdfsComment) return Predicate::kComment;
  if (iri == Iri::kRdfsLabel) return Predicate::kLabel;
  if (iri == Iri::kSkosPrefLabel) return Predicate::kPrefLabel;
  if (iri == "http://www.w3.org/2004/02/skos/core#definition") return Predicate::kDefinition;
  if (iri == "http://purl.org/dc/terms/description") return Predicate::kDescription;
  if (iri == Iri::kRdfsDomain) return Predicate::kDomain;
  if (iri == Iri::kRdfsRange) return Predicate::kRange;
  if (StartsWith(iri, kRdf)) {
    const std::string_view name = iri.substr(kRdf.size());
    if (name == "first") return Predicate::kFirst;
    if (name == "rest") return Predicate::kRest;
  }
  if (StartsWith(iri, kOwl)) {
    const std::string_view name = iri.substr(kOwl.size());
    if (name == "unionOf") return Predicate::kUnionOf;
    if (name == "intersectionOf") return Predicate::kIntersectionOf;
    if (name == "complementOf") return Predicate::kComplementOf;
    if (name == "oneOf") return Predicate::kOneOf;
    if (name == "onProperty") return Predicate::kOnProperty;
    if (name == "onDatatype") return Predicate::kOnDatatype;
    if (name == "equivalentClass") return Predicate::kEquivalentClass;
    if (name == "someValuesFrom") return Predicate::kSomeValuesFrom;
    if (name == "allValuesFrom") return Predicate::kAllValuesFrom;
    if (name == "hasValue") return Predicate::kHasValue;
    if (name == "minCardinality" || name == "minQualifiedCardinality") {
      return Predicate::kMinCardinality;
    }
    if (name == "maxCardinality" || name == "maxQualifiedCardinality") {
      return Predicate::kMaxCardinality;
    }
    if (name == "cardinality" || name == "qualifiedCardinality") return Predicate::kCardinality;
    if (name == "onClass" || name == "onDataRange") return Predicate::kOnClass;
    if (name == "equivalentProperty") return Predicate::kEquivalentProperty;
  }
  if (iri == "http://purl.org/dc/terms/isReplacedBy") return Predicate::kReplacedBy;
  if (StartsWith(iri, kVann)) {
    const std::string_view name = iri.substr(kVann.size());
    if (name == "preferredNamespacePrefix") return Predicate::kPreferredPrefix;
    if (name == "preferredNamespaceUri") return Predicate::kPreferredNamespace;
  }
  if (StartsWith(iri, kShacl)) {
    const std::string_view name = iri.substr(kShacl.size());
    if (name == "property") return Predicate::kShapeProperty;
    if (name == "path") return Predicate::kShapePath;
    if (name == "maxCount") return Predicate::kShapeMaxCount;
    if (name == "targetClass") return Predicate::kTargetClass;
  }
  const std::string_view schemaName = SchemaLocalName(iri);
  if (schemaName == "domainIncludes") return Predicate::kDomain;
  if (schemaName == "rangeIncludes") return Predicate::kRangeIncludes;
  if (schemaName == "supersededBy") return Predicate::kReplacedBy;
  return Predicate::kOther;
}

TypeMeaning ClassifyType(std::string_view iri) {
  if (iri == Iri::kRdfsClass || iri == Iri::kOwlClass) return TypeMeaning::kClass;
  if (iri == Iri::kRdfProperty) return TypeMeaning::kProperty;
  if (iri == Iri::kOwlObjectProperty) return TypeMeaning::kObjectProperty;
  if (iri == Iri::kOwlDatatypeProperty) return TypeMeaning::kDatatypeProperty;
  if (iri == Iri::kOwlNamedIndividual) return TypeMeaning::kNamedIndividual;
  if (iri == Iri::kRdfsDatatype) return TypeMeaning::kDatatype;
  if (iri == Iri::kOwlFunctionalProperty) return TypeMeaning::kFunctional;
  if (iri == "http://www.w3.org/ns/shacl#NodeShape") return TypeMeaning::kNodeShape;
  if (iri == "http://www.w3.org/2002/07/owl#Restriction") return TypeMeaning::kRestriction;
  if (iri == "http://www.w3.org/2002/07/owl#Ontology") return TypeMeaning::kOntology;
  return TypeMeaning::kOther;
}

IriParts SplitIri(std::string_view iri) {
  // One backward pass for the last '#' or '/' (find_last_of looks each byte
  // up in its set of characters), which the loader does for every IRI.
  std::size_t cut = iri.size();
  while (cut > 0 && iri[cut - 1] != '#' && iri[cut - 1] != '/') --cut;
  if (cut == 0) {
    const std::size_t colon = iri.rfind(':');
    if (colon == std::string_view::npos) return IriParts{std::string_view(), iri};
    cut = colon + 1;
  }
  return IriParts{iri.substr(0, cut), iri.substr(cut)};
}

AttrKind MappedDatatypeKind(std::string_view iri) {
  static constexpr std::pair<std::string_view, AttrKind> kXsdKinds[] = {
      {"string", AttrKind::kText},
      {"normalizedString", AttrKind::kText},
      {"token", AttrKind::kText},
      {"language", AttrKind::kText},
      {"Name", AttrKind::kText},
      {"NCName", AttrKind::kText},
      {"NMTOKEN", AttrKind::kText},
      {"anyURI", AttrKind::kText},
      {"boolean", AttrKind::kBoolean},
      {"integer", AttrKind::kInteger},
      {"int", AttrKind::kInteger},
      {"long", AttrKind::kInteger},
      {"short", AttrKind::kInteger},
      {"byte", AttrKind::kInteger},
      {"nonNegativeInteger", AttrKind::kInteger},
      {"positiveInteger", AttrKind::kInteger},
      {"nonPositiveInteger", AttrKind::kInteger},
      {"negativeInteger", AttrKind::kInteger},
      {"unsignedLong", AttrKind::kInteger},
      {"unsignedInt", AttrKind::kInteger},
      {"unsignedShort", AttrKind::kInteger},
      {"unsignedByte", AttrKind::kInteger},
      {"decimal", AttrKind::kReal},
      {"float", AttrKind::kReal},
      {"double", AttrKind::kReal},
      {"date", AttrKind::kTemporal},
      {"dateTime", AttrKind::kTemporal},
      {"dateTimeStamp", AttrKind::kTemporal},
      {"time", AttrKind::kTemporal},
      {"duration", AttrKind::kTemporal},
      {"dayTimeDuration", AttrKind::kTemporal},
      {"yearMonthDuration", AttrKind::kTemporal},
      {"gYear", AttrKind::kTemporal},
      {"gYearMonth", AttrKind::kTemporal},
      {"gMonth", AttrKind::kTemporal},
      {"gMonthDay", AttrKind::kTemporal},
      {"gDay", AttrKind::kTemporal},
  };
  static constexpr std::pair<std::string_view, AttrKind> kSchemaKinds[] = {
      {"Text", AttrKind::kText},       {"URL", AttrKind::kText},
      {"Boolean", AttrKind::kBoolean}, {"Integer", AttrKind::kInteger},
      {"Number", AttrKind::kReal},     {"Float", AttrKind::kReal},
      {"Date", AttrKind::kTemporal},   {"DateTime", AttrKind::kTemporal},
      {"Time", AttrKind::kTemporal},
  };
  if (StartsWith(iri, Iri::kXsd))
    return Lookup(kXsdKinds, iri.substr(Iri::kXsd.size()), kNotMapped);
  const std::string_view schemaName = SchemaLocalName(iri);
  if (!schemaName.empty()) return Lookup(kSchemaKinds, schemaName, kNotMapped);
  if (iri == "http://www.w3.org/1999/02/22-rdf-syntax-ns#langString" ||
      iri == "http://www.w3.org/1999/02/22-rdf-syntax-ns#PlainLiteral" ||
      iri == "http://www.w3.org/1999/02/22-rdf-syntax-ns#XMLLiteral" ||
      iri == "http://www.w3.org/1999/02/22-rdf-syntax-ns#HTML" ||
      iri == "http://www.w3.org/2000/01/rdf-schema#Literal") {
    return AttrKind::kText;
  }
  return kNotMapped;
}

bool IsBuiltInDatatype(std::string_view iri) {
  if (StartsWith(iri, Iri::kXsd)) return true;
  if (iri == "http://www.w3.org/2000/01/rdf-schema#Literal") return true;
  if (!StartsWith(iri, kRdf)) return false;
  const std::string_view name = iri.substr(kRdf.size());
  return name == "langString" || name == "PlainLiteral" || name == "XMLLiteral" || name == "HTML" ||
         name == "JSON" || name == "CompoundLiteral";
}

std::string_view WellKnownPrefix(std::string_view ns) {
  static constexpr std::pair<std::string_view, std::string_view> kPrefixes[] = {
      {kRdf, "rdf"},
      {kRdfs, "rdfs"},
      {"http://www.w3.org/2002/07/owl#", "owl"},
      {Iri::kXsd, "xsd"},
      {Iri::kSchemaHttp, "schema"},
      {Iri::kSchemaHttps, "schema"},
      {"http://xmlns.com/foaf/0.1/", "foaf"},
      {"http://www.w3.org/ns/prov#", "prov"},
      {"http://purl.org/dc/terms/", "dcterms"},
      {"http://purl.org/dc/elements/1.1/", "dc"},
      {"http://purl.org/dc/dcmitype/", "dctype"},
      {"http://www.w3.org/2004/02/skos/core#", "skos"},
      {"http://dbpedia.org/ontology/", "dbo"},
      {"http://dbpedia.org/resource/", "dbr"},
      {"http://www.w3.org/2003/01/geo/wgs84_pos#", "geo"},
      {"http://www.w3.org/2006/vcard/ns#", "vcard"},
      {"http://www.w3.org/ns/dcat#", "dcat"},
      {"http://www.w3.org/ns/org#", "org"},
      {"http://www.w3.org/2006/time#", "time"},
      {"http://www.w3.org/ns/shacl#", "sh"},
      {"http://rdfs.org/ns/void#", "void"},
      {"http://rdfs.org/sioc/ns#", "sioc"},
      {"http://usefulinc.com/ns/doap#", "doap"},
      {kVann, "vann"},
      {"http://creativecommons.org/ns#", "cc"},
      {"https://www.w3.org/ns/activitystreams#", "as"},
      {"http://www.w3.org/ns/ldp#", "ldp"},
      {"http://purl.org/linked-data/cube#", "qb"},
      {"http://www.w3.org/ns/sosa/", "sosa"},
      {"http://www.w3.org/ns/ssn/", "ssn"},
      {"http://purl.org/ontology/bibo/", "bibo"},
      {"http://purl.org/goodrelations/v1#", "gr"},
      {"http://xmlns.com/wot/0.1/", "wot"},
  };
  return Lookup(kPrefixes, ns, std::string_view());
}

}  // namespace qaxoi::rdf
