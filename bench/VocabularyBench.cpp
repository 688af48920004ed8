// Loading RDF vocabularies into an ontology model against serd's bare parse
// of the same files, and RDF/XML against raptor's.
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "bench/Baselines.h"
#include "bench/Benchmarks.h"
#include "host/qax/rdf/Rdf.h"

namespace qaxoi::bench {
namespace {

// A hierarchy of `classes` classes as N-Triples: a chain in which each class
// is named as a parent before it is declared (`chain`), or two-class loops
// of parents (`loops`), the shapes that walking chains per class would make
// quadratic. Each parent choice is a few steps of a union-find, so the cost
// per statement should stay flat from size to size.
std::string Hierarchy(const std::string& shape, int classes) {
  const std::string type =
      " <http://www.w3.org/1999/02/22-rdf-syntax-ns#type> <http://www.w3.org/2002/07/owl#Class> "
      ".\n";
  const std::string sub = " <http://www.w3.org/2000/01/rdf-schema#subClassOf> ";
  const auto cls = [](int i) { return "<http://e.org/h/C" + std::to_string(i) + ">"; };
  std::string text;
  for (int i = 0; i < classes; ++i) {
    text += cls(i) + type;
    const int parent = shape == "chain" ? i + 1 : (i % 2 == 0 ? i + 1 : i - 1);
    if (parent < classes) text += cls(i) + sub + cls(parent) + " .\n";
  }
  return text;
}

}  // namespace

void RegisterVocabularyBenchmarks(const Plan& plan) {
  // Hierarchies of 2,000, 20,000 and 200,000 classes, written to a
  // temporary file before they are timed.
  for (const char* shape : {"chain", "loops"}) {
    for (const int classes : SizesFor(plan, {2000, 20000, 200000})) {
      const std::string size = std::string(shape) + "-" + std::to_string(classes);
      benchmark::internal::Benchmark* registered = RegisterPair(
          plan, "LoadHierarchy", size, [plan, shape, classes, size](benchmark::State& state) {
            const std::string path =
                (std::filesystem::temp_directory_path() / ("qax-bench-" + size + ".nt")).string();
            std::ofstream(path, std::ios::binary) << Hierarchy(shape, classes);
            if (!LoadsVocabulary(path) || !ParseVocabularyBaseline(path)) {
              std::remove(path.c_str());
              state.SkipWithError((path + " does not load").c_str());
              return;
            }
            const auto module = [&] { benchmark::DoNotOptimize(LoadsVocabulary(path)); };
            const auto baseline = [&] { benchmark::DoNotOptimize(ParseVocabularyBaseline(path)); };
            ComparePair(state, plan, module, baseline, classes);
            std::remove(path.c_str());
          });
      if (!plan.once) registered->MinTime(2.0);
    }
  }
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
