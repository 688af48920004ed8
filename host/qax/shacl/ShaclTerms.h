// The IRIs that reading shapes and validating look up: SHACL's vocabulary
// and the few RDF and RDFS terms it leans on, interned once per graph so
// that the hot loops compare term numbers, never texts. Internal to the QAX
// library.
#ifndef QAX_HOST_QAX_SHACL_SHACLTERMS_H_
#define QAX_HOST_QAX_SHACL_SHACLTERMS_H_

#include "host/qax/shacl/Graph.h"

namespace qaxoi::shacl {

#define QAX_SHACL_NS "http://www.w3.org/ns/shacl#"
#define QAX_RDF_NS "http://www.w3.org/1999/02/22-rdf-syntax-ns#"
#define QAX_RDFS_NS "http://www.w3.org/2000/01/rdf-schema#"
#define QAX_XSD_NS "http://www.w3.org/2001/XMLSchema#"

// X(field, IRI) for every term of ShaclTerms.
#define QAX_SHACL_TERMS(X)                                          \
  X(rdfType, QAX_RDF_NS "type")                                     \
  X(rdfFirst, QAX_RDF_NS "first")                                   \
  X(rdfRest, QAX_RDF_NS "rest")                                     \
  X(rdfNil, QAX_RDF_NS "nil")                                       \
  X(subClassOf, QAX_RDFS_NS "subClassOf")                           \
  X(rdfsClass, QAX_RDFS_NS "Class")                                 \
  X(nodeShape, QAX_SHACL_NS "NodeShape")                            \
  X(propertyShape, QAX_SHACL_NS "PropertyShape")                    \
  X(targetClass, QAX_SHACL_NS "targetClass")                        \
  X(targetNode, QAX_SHACL_NS "targetNode")                          \
  X(targetSubjectsOf, QAX_SHACL_NS "targetSubjectsOf")              \
  X(targetObjectsOf, QAX_SHACL_NS "targetObjectsOf")                \
  X(path, QAX_SHACL_NS "path")                                      \
  X(inversePath, QAX_SHACL_NS "inversePath")                        \
  X(alternativePath, QAX_SHACL_NS "alternativePath")                \
  X(zeroOrMorePath, QAX_SHACL_NS "zeroOrMorePath")                  \
  X(oneOrMorePath, QAX_SHACL_NS "oneOrMorePath")                    \
  X(zeroOrOnePath, QAX_SHACL_NS "zeroOrOnePath")                    \
  X(deactivated, QAX_SHACL_NS "deactivated")                        \
  X(severity, QAX_SHACL_NS "severity")                              \
  X(message, QAX_SHACL_NS "message")                                \
  X(shClass, QAX_SHACL_NS "class")                                  \
  X(datatype, QAX_SHACL_NS "datatype")                              \
  X(nodeKind, QAX_SHACL_NS "nodeKind")                              \
  X(minCount, QAX_SHACL_NS "minCount")                              \
  X(maxCount, QAX_SHACL_NS "maxCount")                              \
  X(minExclusive, QAX_SHACL_NS "minExclusive")                      \
  X(minInclusive, QAX_SHACL_NS "minInclusive")                      \
  X(maxExclusive, QAX_SHACL_NS "maxExclusive")                      \
  X(maxInclusive, QAX_SHACL_NS "maxInclusive")                      \
  X(minLength, QAX_SHACL_NS "minLength")                            \
  X(maxLength, QAX_SHACL_NS "maxLength")                            \
  X(pattern, QAX_SHACL_NS "pattern")                                \
  X(flags, QAX_SHACL_NS "flags")                                    \
  X(languageIn, QAX_SHACL_NS "languageIn")                          \
  X(uniqueLang, QAX_SHACL_NS "uniqueLang")                          \
  X(equals, QAX_SHACL_NS "equals")                                  \
  X(disjoint, QAX_SHACL_NS "disjoint")                              \
  X(lessThan, QAX_SHACL_NS "lessThan")                              \
  X(lessThanOrEquals, QAX_SHACL_NS "lessThanOrEquals")              \
  X(shNot, QAX_SHACL_NS "not")                                      \
  X(shAnd, QAX_SHACL_NS "and")                                      \
  X(shOr, QAX_SHACL_NS "or")                                        \
  X(xone, QAX_SHACL_NS "xone")                                      \
  X(node, QAX_SHACL_NS "node")                                      \
  X(property, QAX_SHACL_NS "property")                              \
  X(qualifiedValueShape, QAX_SHACL_NS "qualifiedValueShape")        \
  X(qualifiedMinCount, QAX_SHACL_NS "qualifiedMinCount")            \
  X(qualifiedMaxCount, QAX_SHACL_NS "qualifiedMaxCount")            \
  X(qualifiedDisjoint, QAX_SHACL_NS "qualifiedValueShapesDisjoint") \
  X(closed, QAX_SHACL_NS "closed")                                  \
  X(ignoredProperties, QAX_SHACL_NS "ignoredProperties")            \
  X(hasValue, QAX_SHACL_NS "hasValue")                              \
  X(in, QAX_SHACL_NS "in")                                          \
  X(kindIri, QAX_SHACL_NS "IRI")                                    \
  X(kindBlankNode, QAX_SHACL_NS "BlankNode")                        \
  X(kindLiteral, QAX_SHACL_NS "Literal")                            \
  X(kindBlankNodeOrIri, QAX_SHACL_NS "BlankNodeOrIRI")              \
  X(kindBlankNodeOrLiteral, QAX_SHACL_NS "BlankNodeOrLiteral")      \
  X(kindIriOrLiteral, QAX_SHACL_NS "IRIOrLiteral")

// The terms of one graph; a field is kNoTerm when the graph does not hold
// that IRI (then no statement uses it either).
struct ShaclTerms {
#define QAX_SHACL_FIELD(field, iri) TermId field = kNoTerm;
  QAX_SHACL_TERMS(QAX_SHACL_FIELD)
#undef QAX_SHACL_FIELD

  explicit ShaclTerms(const Graph& graph);
};

}  // namespace qaxoi::shacl

#endif  // QAX_HOST_QAX_SHACL_SHACLTERMS_H_
