// Which RDF syntax an answer is in, from the media type the server gave.
// Internal to the QAX library.
#ifndef QAX_HOST_QAX_STORE_ANSWERSYNTAX_H_
#define QAX_HOST_QAX_STORE_ANSWERSYNTAX_H_

#include <string>

#include "host/qax/rdf/RdfSyntax.h"
#include "host/status/Status.h"

namespace qaxoi::store {

// The Accept header's value for an RDF document: every syntax the readers
// know, N-Triples preferred (it keeps every literal's datatype), then anything (a server with one
// representation answers it, and the bytes tell the syntax).
std::string RdfAcceptHeader();

// The syntax of an answer from `url` of media type `mediaType`: a syntax
// of the readers' table, kDetect for a type that does not tell (none,
// text/plain, application/octet-stream, XML), and a kInvalidInput failure
// naming the URL and the type for any other (HTML, JSON, JSON-LD, images):
// "<url>: the answer is not RDF in a syntax that is read (text/html)".
qaxoi::Status AnswerSyntax(const std::string& url, const std::string& mediaType,
                           qaxoi::rdf::RdfSyntax* syntax);

}  // namespace qaxoi::store

#endif  // QAX_HOST_QAX_STORE_ANSWERSYNTAX_H_
