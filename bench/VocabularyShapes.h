// Generated vocabularies of one shape each, for measuring what the loader's
// memory costs per byte of input.
#ifndef QAX_BENCH_VOCABULARYSHAPES_H_
#define QAX_BENCH_VOCABULARYSHAPES_H_

#include <cstddef>
#include <string>
#include <vector>

namespace qaxoi::bench {

struct VocabularyShape {
  const char* name;       // also the file's base name
  const char* extension;  // ".ttl" or ".nt", which gives the syntax
};

// The shapes, in the order of the benchmark table: one-line class
// declarations (N-Triples, Turtle with full IRIs, Turtle with prefixes), a
// chain of subclasses, properties with domains and ranges, long comments,
// many prefixes, properties whose domains are unions, and two-class loops
// of parents (N-Triples).
const std::vector<VocabularyShape>& VocabularyShapes();

// A document of `shape` of at least `bytes` bytes (and at most one
// statement more).
std::string MakeVocabulary(const VocabularyShape& shape, std::size_t bytes);

}  // namespace qaxoi::bench

#endif  // QAX_BENCH_VOCABULARYSHAPES_H_
