// Memory: bytes per channel and per link, and the heap that loading
// schema.org takes, against what the host or the document takes at least.
#include <fstream>

#include "bench/Baselines.h"
#include "bench/Benchmarks.h"
#include "bench/HeapCounter.h"
#include "module/Module.h"

namespace qax_bench {
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
                 [&model, metaClass, links](benchmark::State& state) {
                   // A first preparation of each side sizes the shared record
                   // list; the second channel's links are what is counted.
                   Aco_QAXOntologyItem first;
                   Aco_QAXOntologyItem second;
                   Aco_FloatChannel firstHost;
                   Aco_FloatChannel secondHost;
                   std::vector<ChildCreation> records;
                   LinkDescriptions firstDescriptions;
                   LinkDescriptions secondDescriptions;
                   const auto prepare = [&](Aco_QAXOntologyItem& channel) {
                     Aco_QAXOntologyItem::SelectedLibrary = model.library();
                     Aco_QAXOntologyItem::SelectedClass = metaClass;
                     channel.PrepareLinks(true);
                   };
                   prepare(first);
                   PrepareLinksBaseline(metaClass, firstHost, records, firstDescriptions);
                   std::size_t before = HeapInUse();
                   prepare(second);
                   const double module = static_cast<double>(HeapInUse() - before) / links;
                   before = HeapInUse();
                   PrepareLinksBaseline(metaClass, secondHost, records, secondDescriptions);
                   const double baseline = static_cast<double>(HeapInUse() - before) / links;
                   ReportFigures(state, Measure::kBytes, module, baseline);
                 })
        ->Iterations(1);
  }
}

// Loads schema.org and reports, against the document's size, the heap that
// `peak` picks: the peak while loading, or what the model keeps.
void RegisterVocabularyMemory(const Plan& plan, const char* name, bool peak) {
  RegisterPair(plan, name, "schema", [peak](benchmark::State& state) {
    const std::string path = VocabularyDirectory() + "/schema.nq";
    std::ifstream file(path, std::ios::binary | std::ios::ate);
    if (!file) {
      state.SkipWithError((path + " is missing; run scripts/fetch-vocabularies.sh").c_str());
      return;
    }
    const double document = static_cast<double>(file.tellg());
    file.close();
    const std::size_t before = HeapInUse();
    ResetHeapPeak();
    const QAX::Ontology::LoadResult loaded = QAX::Ontology::OntologyModel::LoadFile(path);
    if (!loaded.model) {
      state.SkipWithError("schema.org does not load");
      return;
    }
    const std::size_t used = peak ? HeapPeak() : HeapInUse();
    ReportFigures(state, Measure::kBytes, static_cast<double>(used - before), document);
  })->Iterations(1);
}

}  // namespace

void RegisterMemoryBenchmarks(const Plan& plan, BenchModel& model) {
  RegisterChannelMemory(plan);
  RegisterLinkMemory(plan, model);
  RegisterVocabularyMemory(plan, "Memory.loadPeak", true);
  RegisterVocabularyMemory(plan, "Memory.model", false);
}

}  // namespace qax_bench
