// Loading RDF vocabularies into an ontology model against serd's bare parse
// of the same files.
#include <fstream>

#include "bench/Baselines.h"
#include "bench/Benchmarks.h"

namespace qax_bench {

void RegisterVocabularyBenchmarks(const Plan& plan) {
  for (const char* name : SizesFor(plan, {"foaf", "prov", "schema", "dbo"})) {
    benchmark::internal::Benchmark* registered =
        RegisterPair(plan, "LoadVocabulary", name, [plan, name](benchmark::State& state) {
          const std::string path = VocabularyDirectory() + "/" + name + ".nq";
          if (!std::ifstream(path)) {
            state.SkipWithError((path + " is missing; run scripts/fetch-vocabularies.sh").c_str());
            return;
          }
          if (!QAX::Ontology::OntologyModel::LoadFile(path).model ||
              !ParseVocabularyBaseline(path)) {
            state.SkipWithError((path + " does not load").c_str());
            return;
          }
          const auto module = [&] {
            benchmark::DoNotOptimize(QAX::Ontology::OntologyModel::LoadFile(path).model.get());
          };
          const auto baseline = [&] { benchmark::DoNotOptimize(ParseVocabularyBaseline(path)); };
          ComparePair(state, plan, module, baseline);
        });
    // A load takes milliseconds: run longer, for enough batches to find an
    // undisturbed one.
    if (!plan.once) registered->MinTime(2.0);
  }
}

}  // namespace qax_bench
