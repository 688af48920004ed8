// The test suite's RDF store, as the store fixture describes it: the folder
// in $QAX_STORE_FIXTURE holds "endpoints", lines "store=URL" (the Graph
// Store Protocol endpoint) and "sparql=URL" (the SPARQL endpoint).
#ifndef QAX_TESTS_SUPPORT_STOREFIXTURE_H_
#define QAX_TESTS_SUPPORT_STOREFIXTURE_H_

#include <cstdlib>
#include <fstream>
#include <string>

namespace qaxoi::testing {

struct StoreEndpoints {
  std::string store;
  std::string sparql;
};

namespace internal {

// The endpoints read once, or why there are none.
struct StoreLookup {
  StoreEndpoints endpoints;
  std::string absence;
};

inline StoreLookup LookUpStore() {
  StoreLookup lookup;
  const char* folder = std::getenv("QAX_STORE_FIXTURE");
  if (folder == nullptr || *folder == '\0') {
    lookup.absence = "no store server: QAX_STORE_FIXTURE is not set (run the test through ctest)";
    return lookup;
  }
  std::ifstream in(std::string(folder) + "/endpoints");
  std::string line;
  while (std::getline(in, line)) {
    if (line.rfind("store=", 0) == 0) lookup.endpoints.store = line.substr(6);
    if (line.rfind("sparql=", 0) == 0) lookup.endpoints.sparql = line.substr(7);
  }
  if (lookup.endpoints.store.empty() || lookup.endpoints.sparql.empty()) {
    lookup.absence = std::string("no store server: ") + folder +
                     "/endpoints names no store= "
                     "and sparql= endpoints";
  }
  return lookup;
}

inline const StoreLookup& Store() {
  static const StoreLookup lookup = LookUpStore();
  return lookup;
}

}  // namespace internal

// The server's endpoints, or null when the suite has none.
inline const StoreEndpoints* StoreServer() {
  return internal::Store().absence.empty() ? &internal::Store().endpoints : nullptr;
}

// Why StoreServer() is null, for the test's skip message.
inline std::string StoreServerAbsence() { return internal::Store().absence; }

}  // namespace qaxoi::testing

#endif  // QAX_TESTS_SUPPORT_STOREFIXTURE_H_
