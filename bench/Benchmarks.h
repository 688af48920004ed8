// The benchmark families; each registers its benchmarks for a plan.
#ifndef QAX_BENCH_BENCHMARKS_H_
#define QAX_BENCH_BENCHMARKS_H_

#include "bench/BenchModel.h"
#include "bench/Harness.h"

namespace qaxoi::bench {

// PrepareLinks for classes of 10, 100 and 1,000 attributes.
void RegisterLinkBenchmarks(const Plan& plan, BenchModel& model);

// GetOntologyItem(true) over value children, and over nested item channels.
void RegisterItemBenchmarks(const Plan& plan, BenchModel& model);

// Number texts against std::ostringstream.
void RegisterNumberTextBenchmarks(const Plan& plan);

// SaveChannel, LoadChannel and whole channel group files.
void RegisterPersistenceBenchmarks(const Plan& plan, BenchModel& model);

// LoadGroup of 100, 1,000 and 10,000 item channels, each with a value on
// every link, against the next release of their vocabulary (every link
// re-bound), against LoadGroup against their own release.
void RegisterRebindingBenchmarks(const Plan& plan);

// Loading RDF vocabularies, and generated hierarchies of classes (long
// chains, many loops), against serd's bare parse.
void RegisterVocabularyBenchmarks(const Plan& plan);

// Validating 10,000 and 100,000 schema.org postal addresses against the
// shapes derived from schema.org, against loading the same data graph.
void RegisterValidationBenchmarks(const Plan& plan);

// Bytes per channel and per link, the heap the schema.org model keeps, and
// the peak heap of loading every vocabulary of the package and generated
// vocabularies of each shape.
void RegisterMemoryBenchmarks(const Plan& plan, BenchModel& model);

// The folder of the test vocabularies: $QAX_VOCABULARY_DIR, else the one
// scripts/fetch-vocabularies.sh fills.
std::string VocabularyDirectory();

// Whether the vocabulary at `path` loads (the model is made and let go).
bool LoadsVocabulary(const std::string& path);

}  // namespace qaxoi::bench

#endif  // QAX_BENCH_BENCHMARKS_H_
