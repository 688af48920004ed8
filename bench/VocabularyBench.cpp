// Loading RDF vocabularies into an ontology model against serd's bare parse
// of the same files.
#include <fstream>

#include "bench/Baselines.h"
#include "bench/Benchmarks.h"

namespace qax_bench {

void RegisterVocabularyBenchmarks(const Plan& plan) {
  for (const char* name : SizesFor(plan, {"foaf", "prov", "schema", "dbo"})) {
    RegisterPair(plan, "LoadVocabulary", name, [plan, name](benchmark::State& state) {
      const std::string path = VocabularyDirectory() + "/" + name + ".nq";
      if (!std::ifstream(path)) {
        state.SkipWithError((path + " is missing; run scripts/fetch-vocabularies.sh").c_str());
        return;
      }
      bool loaded = true;
      const auto module = [&] {
        loaded = QAX::Ontology::OntologyModel::LoadFile(path).model != nullptr && loaded;
      };
      const auto baseline = [&] { loaded = ParseVocabularyBaseline(path) && loaded; };
      ComparePair(state, plan, module, baseline);
      if (!loaded) state.SkipWithError("a load failed");
    });
  }
}

}  // namespace qax_bench
