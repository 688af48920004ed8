// The SPARQL 1.1 query results JSON format, read.
#ifndef QAX_HOST_QAX_STORE_QUERYRESULTSJSON_H_
#define QAX_HOST_QAX_STORE_QUERYRESULTSJSON_H_

#include <string>

#include "host/qax/QAXExport.h"
#include "host/qax/store/QueryResults.h"
#include "host/status/Status.h"

namespace qaxoi::store {

// The deepest nesting of arrays and objects read; the format itself nests
// five deep.
inline constexpr std::size_t kMaxResultsDepth = 16;

// Reads `text` into `results` (left as it was on failure: kInvalidInput,
// the message prefixed with `source`, for text that is no JSON, is not in
// the format, or nests deeper than kMaxResultsDepth). Read as a stream of
// events, so that memory follows the text's size and no recursion its
// depth. "typed-literal", the older spelling of some servers, is taken as
// "literal".
QAX_API qaxoi::Status ReadQueryResultsJson(const std::string& text, const std::string& source,
                                           QueryResults* results);

}  // namespace qaxoi::store

#endif  // QAX_HOST_QAX_STORE_QUERYRESULTSJSON_H_
