// What a SPARQL query asks for, from its first keyword. Internal to the QAX
// library.
#ifndef QAX_HOST_QAX_STORE_QUERYFORM_H_
#define QAX_HOST_QAX_STORE_QUERYFORM_H_

#include <string_view>

namespace qaxoi::store {

// Whether `query` is an ASK query: its first keyword after the prologue
// (white space, comments, BASE and PREFIX declarations) is ASK, in any
// letter case. Looks at each byte at most once.
bool IsAskQuery(std::string_view query);

}  // namespace qaxoi::store

#endif  // QAX_HOST_QAX_STORE_QUERYFORM_H_
