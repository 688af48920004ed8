#include <string>

#include "fuzz/FuzzTargets.h"
#include "host/qax/store/QueryResultsJson.h"

namespace qaxoi::fuzz {

std::string FuzzQueryResults(const std::uint8_t* data, std::size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  // A sentinel that a failure must leave as it was.
  store::QueryResults results;
  results.variables = {"untouched"};
  const Status read = store::ReadQueryResultsJson(text, "fuzz", &results);
  if (!read.ok()) {
    if (results.variables != std::vector<std::string>{"untouched"} || !results.rows.empty()) {
      return "a failed read changed the results";
    }
    if (read.message().compare(0, 6, "fuzz: ") != 0) return "a failure does not name its source";
    if (read.message().find('\n') != std::string::npos) return "a failure is not one line";
    return "";
  }
  if (results.isBoolean && !results.rows.empty()) return "an ASK answer with rows";
  for (const std::vector<store::ResultTerm>& row : results.rows) {
    if (row.size() != results.variables.size()) return "a row without a term per variable";
    for (const store::ResultTerm& term : row) {
      if (term.kind == store::ResultTerm::Kind::kUnbound && !term.value.empty()) {
        return "an unbound term with a value";
      }
    }
  }
  return "";
}

}  // namespace qaxoi::fuzz
