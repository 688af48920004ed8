// An ontology model written out whole as text, through its public interface
// only, so that two models can be compared in one assertion and a
// difference read as a line of a diff.
#ifndef QAX_TESTS_SUPPORT_MODELDUMP_H_
#define QAX_TESTS_SUPPORT_MODELDUMP_H_

#include <string>

#include "host/qax/rdf/Rdf.h"

namespace qaxoi::test {

// Everything a user of `model` can see, in the model's own orders: each
// library (name, namespace) with its classes, each class's record, FQ name,
// parent, labels and documentation texts, successors and own attributes
// (record, namespace, cardinality, range terms and enumeration, texts,
// successors), the properties without class
// (with their successors), then the SHACL shapes the model states
// (DerivedShapesTurtle). Texts are quoted with control characters escaped,
// one fact a line.
std::string ModelDump(const QAX::Ontology::OntologyModel& model);

// ModelDump of `loaded.model` followed by its warnings, each with the
// document's name `sourceName` taken off its start, so that loads of one
// graph from differently named documents compare equal. Warnings that name
// a line of the document (`source:12: ...`, the RDF/XML parser's) are left
// out: they are about the document's syntax, not its graph. An empty
// model gives the warnings alone.
std::string LoadedModelDump(const rdf::LoadedModel& loaded, const std::string& sourceName);

}  // namespace qaxoi::test

#endif  // QAX_TESTS_SUPPORT_MODELDUMP_H_
