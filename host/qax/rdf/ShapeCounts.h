// The counts that a vocabulary's own SHACL node shapes give its classes'
// attributes. Internal to the QAX library.
#ifndef QAX_HOST_QAX_RDF_SHAPECOUNTS_H_
#define QAX_HOST_QAX_RDF_SHAPECOUNTS_H_

#include "host/qax/rdf/RdfStatements.h"

namespace qaxoi::rdf {

// Turns each property shape of `statements.shapeUses` that names one IRI
// sh:path and an sh:maxCount into one record of `statements.shapeCounts`
// per class the node shape is stated for: the shape itself when it is a
// class typed sh:NodeShape, and each class it names in sh:targetClass.
// Property paths other than one IRI, and shapes of no class, give nothing.
// Each record is charged to the statements' budget, which ends the work
// once it is spent (the caller refuses the document then). Must come before
// statements.Group(), since it needs the anonymous nodes. O(n log n) in the
// shapes' statements, plus one step per record made.
void ResolveShapeCounts(RdfStatements& statements);

}  // namespace qaxoi::rdf

#endif  // QAX_HOST_QAX_RDF_SHAPECOUNTS_H_
