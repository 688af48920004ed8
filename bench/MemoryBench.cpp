// Memory: bytes per channel and per link, and the heap that loading
// vocabularies takes, against what the host or the document takes at least.
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "bench/Baselines.h"
#include "bench/Benchmarks.h"
#include "bench/HeapCounter.h"
#include "bench/VocabularyShapes.h"
#include "host/qax/rdf/Rdf.h"
#include "module/Module.h"
#include "ontology_item/ClassSelection.h"

namespace qaxoi::bench {
namespace {

constexpr int kChannels = 1000;

// The heap that kChannels channels from `make` take, per channel.
double BytesPerChannel(std::unique_ptr<A3d_Channel> (*make)()) {
  std::vector<std::unique_ptr<A3d_Channel>> channels;
  channels.reserve(kChannels);
  const std::size_t before = HeapInUse();
  for (int i = 0; i < kChannels; ++i) channels.push_back(make());
  return static_cast<double>(HeapInUse() - before) / kChannels;
}

void RegisterChannelMemory(const Plan& plan) {
  RegisterPair(plan, "Memory.channel", "per channel", [](benchmark::State& state) {
    const double module = BytesPerChannel([] { return std::unique_ptr<A3d_Channel>(InitDLL()); });
    const double baseline = BytesPerChannel(
        [] { return std::unique_ptr<A3d_Channel>(std::make_unique<Aco_FloatChannel>()); });
    ReportFigures(state, Measure::kBytes, module, baseline);
  })->Iterations(1);
}

void RegisterLinkMemory(const Plan& plan, BenchModel& model) {
  for (const int links : SizesFor(plan, {10, 100, 1000})) {
    const QAX::Ontology::MetaClass* metaClass =
        model.AddChain("Memory" + std::to_string(links), links, AttributeMix::kAllKinds);
    RegisterPair(plan, "Memory.link", std::to_string(links),
                 [metaClass, links](benchmark::State& state) {
                   // A first preparation of each side sizes the shared record
                   // list; the second channel's links are what is counted.
                   Aco_QAXOntologyItem first;
                   Aco_QAXOntologyItem second;
                   Aco_FloatChannel firstHost;
                   Aco_FloatChannel secondHost;
                   std::vector<ChildCreation> records;
                   LinkDescriptions firstDescriptions;
                   LinkDescriptions secondDescriptions;
                   qaxoi::module::PrepareLinksFor(first, metaClass, true);
                   PrepareLinksBaseline(metaClass, firstHost, records, firstDescriptions);
                   std::size_t before = HeapInUse();
                   qaxoi::module::PrepareLinksFor(second, metaClass, true);
                   const double module = static_cast<double>(HeapInUse() - before) / links;
                   before = HeapInUse();
                   PrepareLinksBaseline(metaClass, secondHost, records, secondDescriptions);
                   const double baseline = static_cast<double>(HeapInUse() - before) / links;
                   ReportFigures(state, Measure::kBytes, module, baseline);
                 })
        ->Iterations(1);
  }
}

// The heap that loading the file at `path` takes at its peak, and whether
// a model came of it (a document may be refused).
struct LoadPeak {
  double bytes = 0;
  bool loaded = false;
};
LoadPeak MeasureLoadPeak(const std::string& path) {
  const std::size_t before = HeapInUse();
  ResetHeapPeak();
  const bool loaded = LoadsVocabulary(path);
  return LoadPeak{static_cast<double>(HeapPeak() - before), loaded};
}

double FileSize(const std::string& path) {
  std::ifstream file(path, std::ios::binary | std::ios::ate);
  return file ? static_cast<double>(file.tellg()) : -1.0;
}

// Loads schema.org and reports, against the document's size, the heap that
// the model keeps.
void RegisterModelMemory(const Plan& plan) {
  RegisterPair(plan, "Memory.model", "schema", [](benchmark::State& state) {
    const std::string path = VocabularyDirectory() + "/schema.nq";
    const double document = FileSize(path);
    if (document < 0) {
      state.SkipWithError((path + " is missing; run scripts/fetch-vocabularies.sh").c_str());
      return;
    }
    const std::size_t before = HeapInUse();
    qaxoi::rdf::LoadedModel loaded;
    if (!qaxoi::rdf::LoadModelFile(path, qaxoi::rdf::RdfSyntax::kDetect, &loaded).ok()) {
      state.SkipWithError("schema.org does not load");
      return;
    }
    ReportFigures(state, Measure::kBytes, static_cast<double>(HeapInUse() - before), document);
  })->Iterations(1);
}

// The peak heap of loading each vocabulary of the package, against its size.
void RegisterVocabularyPeaks(const Plan& plan) {
  std::vector<std::string> names;
  std::error_code error;
  for (const auto& entry : std::filesystem::directory_iterator(VocabularyDirectory(), error)) {
    if (entry.path().extension() == ".nq" && entry.path().stem() != "_index") {
      names.push_back(entry.path().stem().string());
    }
  }
  std::sort(names.begin(), names.end());
  if (plan.smallestOnly || names.empty()) names = {"foaf"};
  for (const std::string& name : names) {
    RegisterPair(plan, "Memory.loadPeak", name, [name](benchmark::State& state) {
      const std::string path = VocabularyDirectory() + "/" + name + ".nq";
      const double document = FileSize(path);
      if (document < 0) {
        state.SkipWithError((path + " is missing; run scripts/fetch-vocabularies.sh").c_str());
        return;
      }
      const LoadPeak peak = MeasureLoadPeak(path);
      if (!peak.loaded) {
        state.SkipWithError((path + " does not load").c_str());
        return;
      }
      ReportFigures(state, Measure::kBytes, peak.bytes, document);
    })->Iterations(1);
  }
}

// The peak heap of loading generated vocabularies of each shape (about 10 MB;
// 64 kB for a smoke run), against their size. Refused documents count too:
// what refusing them costs is the peak.
void RegisterShapePeaks(const Plan& plan) {
  constexpr std::size_t kShapeBytes = std::size_t{10} << 20;
  constexpr std::size_t kSmokeBytes = std::size_t{64} << 10;
  const std::size_t bytes = plan.smallestOnly ? kSmokeBytes : kShapeBytes;
  for (const VocabularyShape& shape : VocabularyShapes()) {
    RegisterPair(plan, "Memory.loadPeak", shape.name, [shape, bytes](benchmark::State& state) {
      const std::string path = (std::filesystem::temp_directory_path() /
                                (std::string("qax-bench-") + shape.name + shape.extension))
                                   .string();
      {
        const std::string text = MakeVocabulary(shape, bytes);
        std::ofstream(path, std::ios::binary)
            .write(text.data(), static_cast<std::streamsize>(text.size()));
      }
      const double document = FileSize(path);
      const LoadPeak peak = MeasureLoadPeak(path);
      std::remove(path.c_str());
      state.counters["loaded"] = peak.loaded ? 1 : 0;
      ReportFigures(state, Measure::kBytes, peak.bytes, document);
    })->Iterations(1);
  }
}

}  // namespace

void RegisterMemoryBenchmarks(const Plan& plan, BenchModel& model) {
  RegisterChannelMemory(plan);
  RegisterLinkMemory(plan, model);
  RegisterModelMemory(plan);
  RegisterVocabularyPeaks(plan);
  RegisterShapePeaks(plan);
}

}  // namespace qaxoi::bench
