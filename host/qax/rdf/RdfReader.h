// Reads an RDF document with serd, handing what it reads to a TripleHandler.
// Internal to the QAX library.
#ifndef QAX_HOST_QAX_RDF_RDFREADER_H_
#define QAX_HOST_QAX_RDF_RDFREADER_H_

#include <string>

#include "host/qax/rdf/DocumentSource.h"
#include "host/qax/rdf/RdfSyntax.h"
#include "host/qax/rdf/TripleHandler.h"
#include "host/status/Status.h"

namespace qaxoi::rdf {

// Parses the document that `source` gives (any bytes) as `syntax`, which
// must be one that serd reads (not kDetect or kRdfXml; graph names of TriG
// and N-Quads are left out), and hands every prefix and statement to `handler`. The
// document is read in pages, and read again from the start to place an
// error. `sourceName` names the document in the error; `baseIri` resolves
// relative IRIs (empty: there is no base, and a relative IRI is an error).
// Every problem is an error, so on success the whole document was read. A
// failure is "<sourceName>:<line>:<column>: <what>": kInvalidInput for the
// document's own problems, kResourceExhausted for nesting beyond the
// bound and for the handler's budget (no place then); the source's own
// failure when it cannot be read. `handler` has then been given a part of
// the document.
qaxoi::Status ReadRdf(DocumentSource& source, RdfSyntax syntax, const std::string& sourceName,
                      const std::string& baseIri, TripleHandler& handler);

// The same for a document held in memory.
qaxoi::Status ReadRdf(const std::string& document, RdfSyntax syntax, const std::string& sourceName,
                      const std::string& baseIri, TripleHandler& handler);

}  // namespace qaxoi::rdf

#endif  // QAX_HOST_QAX_RDF_RDFREADER_H_
