// An ontology model loaded from an RDF vocabulary.
#ifndef QAX_HOST_QAX_RDF_MODELLOAD_H_
#define QAX_HOST_QAX_RDF_MODELLOAD_H_

#include <string>

#include "host/qax/QAXExport.h"
#include "host/qax/rdf/LoadResult.h"
#include "host/qax/rdf/RdfSyntax.h"

namespace QAX {
namespace Ontology {

// Loads an RDF vocabulary (Turtle, N-Triples, N-Quads, TriG or RDF/XML)
// from the file at `path` into a new model; docs/vocabularies.md describes
// how statements become libraries, classes and attributes. A syntax given
// is used whatever the name; with kDetect the syntax comes from the file
// name, else from the first bytes (DetectRdfSyntax), and a document of a
// syntax that is not read is refused with a message that names it.
// Relative IRIs resolve against the file's own "file:" IRI. The file is
// read as host/files/InputFile.h says: a FIFO or pipe as a stream, "-" from
// standard input, a directory or device refused, at most 1 GiB. On any
// error (unreadable or refused file, syntax not read, bad syntax, bad
// encoding, undefined prefix) the result holds no model.
QAX_API LoadResult LoadModelFile(const std::string& path, RdfSyntax syntax = RdfSyntax::kDetect);

// Same as LoadModelFile for a document held in memory. `sourceName` names
// the document in messages (and, by its extension, the syntax for kDetect);
// `baseIri` resolves relative IRIs, and a relative IRI without a base is an
// error.
QAX_API LoadResult LoadModelText(const std::string& text, RdfSyntax syntax,
                                 const std::string& sourceName, const std::string& baseIri = "");

}  // namespace Ontology
}  // namespace QAX

#endif  // QAX_HOST_QAX_RDF_MODELLOAD_H_
