// PrepareLinks against its baseline.
#include "bench/Baselines.h"
#include "bench/Benchmarks.h"
#include "ontology_item/ClassSelection.h"

namespace qaxoi::bench {

void RegisterLinkBenchmarks(const Plan& plan, BenchModel& model) {
  for (const int attributes : SizesFor(plan, {10, 100, 1000})) {
    const QAX::Ontology::MetaClass* metaClass =
        model.AddChain("Prepare" + std::to_string(attributes), attributes, AttributeMix::kAllKinds);
    RegisterPair(plan, "PrepareLinks", std::to_string(attributes),
                 [plan, metaClass](benchmark::State& state) {
                   Aco_QAXOntologyItem channel;
                   Aco_FloatChannel host;
                   std::vector<ChildCreation> records;
                   LinkDescriptions descriptions;
                   const auto module = [&] {
                     qaxoi::module::PrepareLinksFor(channel, metaClass, true);
                   };
                   const auto baseline = [&] {
                     PrepareLinksBaseline(metaClass, host, records, descriptions);
                   };
                   module();
                   baseline();
                   if (channel.GetLinkDescriptions() != descriptions ||
                       channel.GetChildCount() != host.GetChildCount()) {
                     state.SkipWithError("the baseline declares other links");
                     return;
                   }
                   ComparePair(state, plan, module, baseline);
                 });
  }
}

}  // namespace qaxoi::bench
