// Reads an RDF document with serd, handing what it reads to a TripleHandler.
// Internal to the QAX library.
#ifndef QAX_HOST_QAX_RDF_RDFREADER_H_
#define QAX_HOST_QAX_RDF_RDFREADER_H_

#include <string>

#include "host/qax/rdf/DocumentSource.h"
#include "host/qax/rdf/RdfSyntax.h"
#include "host/qax/rdf/TripleHandler.h"

namespace QAX {
namespace Ontology {
namespace Rdf {

// Parses the document that `source` gives (any bytes) as `syntax`, which
// must be one that serd reads (not kDetect or kRdfXml; graph names of TriG
// and N-Quads are left out), and hands every prefix and statement to `handler`. The
// document is read in pages, and read again from the start to place an
// error. `sourceName` names the document in the error; `baseIri` resolves
// relative IRIs (empty: there is no base, and a relative IRI is an error).
// Every problem is an error, so on success the whole document was read. On
// failure answers false and sets `error` to
// "<sourceName>:<line>:<column>: <what>" (the source's own message when it
// cannot be read); `handler` has then been given a part of the document.
bool ReadRdf(DocumentSource& source, RdfSyntax syntax, const std::string& sourceName,
             const std::string& baseIri, TripleHandler& handler, std::string& error);

// The same for a document held in memory.
bool ReadRdf(const std::string& document, RdfSyntax syntax, const std::string& sourceName,
             const std::string& baseIri, TripleHandler& handler, std::string& error);

}  // namespace Rdf
}  // namespace Ontology
}  // namespace QAX

#endif  // QAX_HOST_QAX_RDF_RDFREADER_H_
