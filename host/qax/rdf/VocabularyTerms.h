// The IRIs the vocabulary loader reads, how it splits IRIs, which datatypes
// it maps to attribute kinds and which namespace prefixes it knows by heart.
// Internal to the QAX library.
#ifndef QAX_HOST_QAX_RDF_VOCABULARYTERMS_H_
#define QAX_HOST_QAX_RDF_VOCABULARYTERMS_H_

#include <cstdint>
#include <string_view>

#include "host/qax/model/AttrKind.h"

namespace qaxoi::rdf {

namespace Iri {
constexpr std::string_view kRdfType = "http://www.w3.org/1999/02/22-rdf-syntax-ns#type";
constexpr std::string_view kRdfProperty = "http://www.w3.org/1999/02/22-rdf-syntax-ns#Property";
constexpr std::string_view kRdfsClass = "http://www.w3.org/2000/01/rdf-schema#Class";
constexpr std::string_view kRdfsDatatype = "http://www.w3.org/2000/01/rdf-schema#Datatype";
constexpr std::string_view kRdfsSubClassOf = "http://www.w3.org/2000/01/rdf-schema#subClassOf";
constexpr std::string_view kRdfsComment = "http://www.w3.org/2000/01/rdf-schema#comment";
constexpr std::string_view kRdfsLabel = "http://www.w3.org/2000/01/rdf-schema#label";
constexpr std::string_view kSkosPrefLabel = "http://www.w3.org/2004/02/skos/core#prefLabel";
constexpr std::string_view kRdfsDomain = "http://www.w3.org/2000/01/rdf-schema#domain";
constexpr std::string_view kRdfsRange = "http://www.w3.org/2000/01/rdf-schema#range";
constexpr std::string_view kOwlClass = "http://www.w3.org/2002/07/owl#Class";
constexpr std::string_view kRdfNil = "http://www.w3.org/1999/02/22-rdf-syntax-ns#nil";
constexpr std::string_view kOwlDatatypeProperty = "http://www.w3.org/2002/07/owl#DatatypeProperty";
constexpr std::string_view kOwlObjectProperty = "http://www.w3.org/2002/07/owl#ObjectProperty";
constexpr std::string_view kOwlFunctionalProperty =
    "http://www.w3.org/2002/07/owl#FunctionalProperty";
constexpr std::string_view kOwlNamedIndividual = "http://www.w3.org/2002/07/owl#NamedIndividual";
constexpr std::string_view kOwlThing = "http://www.w3.org/2002/07/owl#Thing";
constexpr std::string_view kRdfsResource = "http://www.w3.org/2000/01/rdf-schema#Resource";
constexpr std::string_view kXsd = "http://www.w3.org/2001/XMLSchema#";
constexpr std::string_view kXsdString = "http://www.w3.org/2001/XMLSchema#string";
constexpr std::string_view kRdfLangString = "http://www.w3.org/1999/02/22-rdf-syntax-ns#langString";
// schema.org publishes under both schemes; the loader reads both alike.
constexpr std::string_view kSchemaHttp = "http://schema.org/";
constexpr std::string_view kSchemaHttps = "https://schema.org/";
}  // namespace Iri

// What a predicate means to the loader.
enum class Predicate {
  kOther,
  kType,
  kSubClassOf,
  kComment,        // rdfs:comment
  kDefinition,     // skos:definition
  kDescription,    // dcterms:description
  kLabel,          // rdfs:label
  kPrefLabel,      // skos:prefLabel
  kDomain,         // rdfs:domain or schema:domainIncludes
  kRange,          // rdfs:range: every one holds
  kRangeIncludes,  // schema:rangeIncludes: any one holds
  // What anonymous class expressions in domains and ranges are made of.
  kFirst,           // rdf:first
  kRest,            // rdf:rest
  kUnionOf,         // owl:unionOf
  kIntersectionOf,  // owl:intersectionOf
  kComplementOf,    // owl:complementOf
  kOneOf,           // owl:oneOf
  kOnProperty,      // owl:onProperty, which only restrictions have
  kOnDatatype,      // owl:onDatatype, which only datatype restrictions have
  // The parts of restrictions in rdfs:subClassOf and owl:equivalentClass.
  kEquivalentClass,  // owl:equivalentClass
  kSomeValuesFrom,   // owl:someValuesFrom
  kAllValuesFrom,    // owl:allValuesFrom
  kHasValue,         // owl:hasValue
  kMinCardinality,   // owl:minCardinality, owl:minQualifiedCardinality
  kMaxCardinality,   // owl:maxCardinality, owl:maxQualifiedCardinality
  kCardinality,      // owl:cardinality, owl:qualifiedCardinality
  kOnClass,          // owl:onClass, owl:onDataRange
  // What names an ontology's namespace.
  kPreferredPrefix,     // vann:preferredNamespacePrefix
  kPreferredNamespace,  // vann:preferredNamespaceUri
  // What names a term in another's place (owl:equivalentClass too).
  kReplacedBy,          // dcterms:isReplacedBy, schema:supersededBy
  kEquivalentProperty,  // owl:equivalentProperty
  // What a node shape that the vocabulary states for a class says of its
  // properties' counts.
  kShapeProperty,  // sh:property
  kShapePath,      // sh:path
  kShapeMaxCount,  // sh:maxCount
  kTargetClass,    // sh:targetClass
};
Predicate ClassifyPredicate(std::string_view iri);

// What an rdf:type object makes its subject.
// kFunctional: owl:FunctionalProperty, which limits a property to one value
// and makes it no property by itself (a property is typed as one, too).
// kNodeShape: sh:NodeShape, whose property shapes may limit a class's
// attributes.
// kObjectProperty and kDatatypeProperty are properties too;
// kNamedIndividual marks an owl:NamedIndividual.
enum class TypeMeaning {
  kOther,
  kClass,
  kProperty,
  kObjectProperty,
  kDatatypeProperty,
  kDatatype,
  kRestriction,
  kOntology,
  kNamedIndividual,
  kFunctional,
  kNodeShape
};
TypeMeaning ClassifyType(std::string_view iri);

// An IRI cut after its last '#' or '/' (after its last ':' when it has
// neither): the namespace keeps the separator, the local name is the rest.
struct IriParts {
  std::string_view ns;
  std::string_view localName;
};
IriParts SplitIri(std::string_view iri);

// What MappedDatatypeKind answers for an IRI it does not map: an unknown
// kind, so that it equals none of the kinds a datatype maps to.
constexpr QAX::Ontology::Info::AttrKind kNotMapped = QAX::Ontology::Info::AttrKindOf(-1);

// The attribute kind (kText to kTemporal) of a datatype the loader maps,
// e.g. kInteger for xsd:int or schema:Integer; kNotMapped for any other IRI.
QAX::Ontology::Info::AttrKind MappedDatatypeKind(std::string_view iri);

// True for IRIs that are datatypes whatever the document says: the XML
// Schema namespace and the literal types of RDF and RDFS.
bool IsBuiltInDatatype(std::string_view iri);

// The customary prefix of a namespace (e.g. "foaf" for
// "http://xmlns.com/foaf/0.1/"); empty when the loader knows none.
std::string_view WellKnownPrefix(std::string_view ns);

}  // namespace qaxoi::rdf

#endif  // QAX_HOST_QAX_RDF_VOCABULARYTERMS_H_
