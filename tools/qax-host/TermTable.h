// A store's query results as qax-host shows them: a table, or the SPARQL
// results JSON format.
#ifndef QAX_TOOLS_QAX_HOST_TERMTABLE_H_
#define QAX_TOOLS_QAX_HOST_TERMTABLE_H_

#include <string>

#include "host/qax/store/QueryResults.h"
#include "tools/qax-host/Output.h"

namespace qaxoi::qax_host {

// A term as N-Triples writes it (<IRI>, "text"@en, "1"^^<datatype>,
// _:label), control characters escaped; empty for an unbound one.
std::string TermText(const qaxoi::store::ResultTerm& term);

// A header line of the variables ("?name"), then a line per row, each
// column as wide as its widest term and two spaces apart; ASK's answer is
// "true" or "false" on a line. Every line ends in a line end.
std::string ResultsTable(const qaxoi::store::QueryResults& results);

// The SPARQL 1.1 query results JSON format of `results`.
Json ResultsJson(const qaxoi::store::QueryResults& results);

}  // namespace qaxoi::qax_host

#endif  // QAX_TOOLS_QAX_HOST_TERMTABLE_H_
