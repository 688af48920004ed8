// One RDF document read whole into a TripleHandler, in whatever syntax it
// is. Internal to the QAX library.
#ifndef QAX_HOST_QAX_RDF_READDOCUMENT_H_
#define QAX_HOST_QAX_RDF_READDOCUMENT_H_

#include <cstdint>
#include <string>
#include <vector>

#include "host/qax/rdf/DocumentSource.h"
#include "host/qax/rdf/LoadBudget.h"
#include "host/qax/rdf/RdfSyntax.h"
#include "host/qax/rdf/TripleHandler.h"
#include "host/status/Status.h"

namespace qaxoi::rdf {

// Reads the document that `source` gives into `handler`. With `syntax`
// kDetect the syntax comes from `sourceName`'s extension, else from the
// document's first 64 kB. RDF/XML is parsed held whole: `text` when the
// caller holds the document (the same bytes as `source`), else a copy read
// from `source`. While the document is parsed, `heldBytes` (what the caller
// holds of it) and such a copy are charged to `budget`, which must be the
// one `handler` charges; both are taken back once it is parsed. A failure
// (see ReadRdf, ReadRdfXml; kNotSupported for a syntax detected and not
// read) leaves `warnings` as they were; success adds the parser's warnings.
// When the document does not parse in a syntax given or named by its
// extension, the message ends in what its first bytes look like instead
// (SyntaxMismatch.h); the document is not read in that syntax.
// Throws std::bad_alloc when memory runs out.
qaxoi::Status ReadDocument(DocumentSource& source, const std::string* text, std::uint64_t heldBytes,
                           RdfSyntax syntax, const std::string& sourceName,
                           const std::string& baseIri, TripleHandler& handler, LoadBudget& budget,
                           std::vector<std::string>& warnings);

}  // namespace qaxoi::rdf

#endif  // QAX_HOST_QAX_RDF_READDOCUMENT_H_
