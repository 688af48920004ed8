// An ontology model loaded from an RDF vocabulary.
#ifndef QAX_HOST_QAX_RDF_MODELLOAD_H_
#define QAX_HOST_QAX_RDF_MODELLOAD_H_

#include <string>

#include "host/qax/QAXExport.h"
#include "host/qax/rdf/LoadedModel.h"
#include "host/qax/rdf/RdfSyntax.h"
#include "host/status/Status.h"

namespace qaxoi::rdf {

// Loads an RDF vocabulary (Turtle, N-Triples, N-Quads, TriG or RDF/XML)
// from the file at `path` into a new model; docs/vocabularies.md describes
// how statements become libraries, classes and attributes. A syntax given
// is used whatever the name; with kDetect the syntax comes from the file
// name, else from the first bytes (DetectRdfSyntax), and a document of a
// syntax that is not read is refused with a message that names it.
// Relative IRIs resolve against the file's own "file:" IRI. The file is
// read as host/files/InputFile.h says: a FIFO or pipe as a stream, "-" from
// standard input, a directory or device refused, at most 1 GiB. On any
// The model and the loader's warnings go to `loaded`, which is left as it
// was on any error: kIoError (or kResourceExhausted for its size) for a
// file that cannot be read or is refused, kNotSupported for a syntax that
// is not read, kInvalidInput for bad syntax, bad encoding or an undefined
// prefix, kResourceExhausted for a document beyond the loader's bounds. The
// message is one line, "<source>:<line>:<column>: <what>" (line and column
// left out where the failure has no place in the text).
QAX_API qaxoi::Status LoadModelFile(const std::string& path, RdfSyntax syntax, LoadedModel* loaded);

// Same as LoadModelFile for a document held in memory. `sourceName` names
// the document in messages (and, by its extension, the syntax for kDetect);
// `baseIri` resolves relative IRIs (empty: there is none, and a relative
// IRI is an error).
QAX_API qaxoi::Status LoadModelText(const std::string& text, RdfSyntax syntax,
                                    const std::string& sourceName, const std::string& baseIri,
                                    LoadedModel* loaded);

}  // namespace qaxoi::rdf

#endif  // QAX_HOST_QAX_RDF_MODELLOAD_H_
