// Loading RDF vocabularies into an ontology model against serd's bare parse
// of the same files, and RDF/XML against raptor's.
#include <cstdio>
#include <filesystem>
#include <fstream>

#include "bench/Baselines.h"
#include "bench/Benchmarks.h"
#include "host/qax/rdf/Rdf.h"

namespace qaxoi::bench {

void RegisterVocabularyBenchmarks(const Plan& plan) {
  for (const char* name : SizesFor(plan, {"foaf", "prov", "schema", "dbo"})) {
    benchmark::internal::Benchmark* registered =
        RegisterPair(plan, "LoadVocabulary", name, [plan, name](benchmark::State& state) {
          const std::string path = VocabularyDirectory() + "/" + name + ".nq";
          if (!std::ifstream(path)) {
            state.SkipWithError((path + " is missing; run scripts/fetch-vocabularies.sh").c_str());
            return;
          }
          if (!LoadsVocabulary(path) || !ParseVocabularyBaseline(path)) {
            state.SkipWithError((path + " does not load").c_str());
            return;
          }
          const auto module = [&] { benchmark::DoNotOptimize(LoadsVocabulary(path)); };
          const auto baseline = [&] { benchmark::DoNotOptimize(ParseVocabularyBaseline(path)); };
          ComparePair(state, plan, module, baseline);
        });
    // A load takes milliseconds: run longer, for enough batches to find an
    // undisturbed one.
    if (!plan.once) registered->MinTime(2.0);
  }
  // The same vocabularies as RDF/XML, converted from the N-Quads file into
  // a temporary file before they are timed.
  for (const char* name : SizesFor(plan, {"foaf", "schema", "dbo"})) {
    benchmark::internal::Benchmark* registered = RegisterPair(
        plan, "LoadVocabulary", std::string(name) + ".rdf", [plan, name](benchmark::State& state) {
          const std::string source = VocabularyDirectory() + "/" + name + ".nq";
          const std::string path =
              (std::filesystem::temp_directory_path() / ("qax-bench-" + std::string(name) + ".rdf"))
                  .string();
          if (!WriteRdfXml(source, path)) {
            state.SkipWithError((source + " cannot be written as RDF/XML").c_str());
            return;
          }
          if (!LoadsVocabulary(path) || !ParseRdfXmlBaseline(path)) {
            std::remove(path.c_str());
            state.SkipWithError((path + " does not load").c_str());
            return;
          }
          const auto module = [&] { benchmark::DoNotOptimize(LoadsVocabulary(path)); };
          const auto baseline = [&] { benchmark::DoNotOptimize(ParseRdfXmlBaseline(path)); };
          ComparePair(state, plan, module, baseline);
          std::remove(path.c_str());
        });
    if (!plan.once) registered->MinTime(2.0);
  }
}

}  // namespace qaxoi::bench
