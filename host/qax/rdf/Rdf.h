// The QAX ontology service with its RDF layer: the model (host/qax/model/QAX.h),
// models loaded from RDF vocabularies, the syntaxes read and how a
// document's syntax is told, and items written as Turtle, N-Triples or
// JSON-LD. Including this header gives all of it.
#ifndef QAX_HOST_QAX_RDF_RDF_H_
#define QAX_HOST_QAX_RDF_RDF_H_

#include "host/qax/model/QAX.h"
#include "host/qax/rdf/ItemSubject.h"
#include "host/qax/rdf/ItemWriter.h"
#include "host/qax/rdf/JsonLdWriter.h"
#include "host/qax/rdf/LoadedModel.h"
#include "host/qax/rdf/ModelLoad.h"
#include "host/qax/rdf/RdfSyntax.h"
#include "host/qax/rdf/ReferenceValues.h"
#include "host/qax/rdf/SyntaxMismatch.h"

#endif  // QAX_HOST_QAX_RDF_RDF_H_
