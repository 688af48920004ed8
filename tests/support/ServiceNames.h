// The ontology service's names as its tests use them, declared once for
// namespace qaxoi::test: the platform's model and the RDF layer's loaders.
#ifndef QAX_TESTS_SUPPORT_SERVICENAMES_H_
#define QAX_TESTS_SUPPORT_SERVICENAMES_H_

#include "host/qax/rdf/Rdf.h"

namespace qaxoi::test {

using QAX::QAXAmbassador;
using QAX::Ontology::AttrCardinality;
using QAX::Ontology::AttrRange;
using QAX::Ontology::AttrRangeTerm;
using QAX::Ontology::AttrValue;
using QAX::Ontology::MetaAttr;
using QAX::Ontology::MetaClass;
using QAX::Ontology::MetaClassLibrary;
using QAX::Ontology::OntologyModel;
using qaxoi::rdf::LoadedModel;
using qaxoi::rdf::LoadModelFile;
using qaxoi::rdf::LoadModelText;
using qaxoi::rdf::ParseRdfSyntaxName;
using qaxoi::rdf::RdfSyntax;

}  // namespace qaxoi::test

#endif  // QAX_TESTS_SUPPORT_SERVICENAMES_H_
