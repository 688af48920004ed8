// GetOntologyItem(true) against its baseline: over value children of each
// kind, and over nested item channels (chains and trees), per item.
#include "bench/Baselines.h"
#include "bench/Benchmarks.h"

namespace qaxoi::bench {
namespace {

using QAX::Onto::OntologyItem;

// Registers one comparison over `graph`, after checking that both sides
// build the same item.
void CompareBuild(benchmark::State& state, const Plan& plan, BenchModel& model, ChannelGraph& graph,
                  double itemsPerOperation) {
  std::unique_ptr<OntologyItem> built;
  const auto module = [&] { benchmark::DoNotOptimize(graph.root->GetOntologyItem(true)); };
  const auto baseline = [&] { BuildItemBaseline(model.model(), *graph.root, built); };
  module();
  baseline();
  const OntologyItem* item = graph.root->GetOntologyItem(false);
  if (item == nullptr || !built || item->ToText() != built->ToText()) {
    state.SkipWithError("the baseline builds another item");
    return;
  }
  ComparePair(state, plan, module, baseline, itemsPerOperation);
}

struct Mix {
  const char* name;
  AttributeMix mix;
};

}  // namespace

void RegisterItemBenchmarks(const Plan& plan, BenchModel& model) {
  const Mix mixes[] = {{"texts", AttributeMix::kText},
                       {"booleans", AttributeMix::kBoolean},
                       {"integers", AttributeMix::kInteger},
                       {"reals", AttributeMix::kReal},
                       {"mixed", AttributeMix::kValues}};
  for (const Mix& mix : mixes) {
    for (const int attributes : SizesFor(plan, {10, 100, 1000})) {
      const QAX::Ontology::MetaClass* metaClass = model.AddChain(
          std::string("Build_") + mix.name + std::to_string(attributes), attributes, mix.mix);
      RegisterPair(plan, std::string("GetOntologyItem.") + mix.name, std::to_string(attributes),
                   [plan, &model, metaClass](benchmark::State& state) {
                     ChannelGraph graph = ValueGraph(model, metaClass);
                     CompareBuild(state, plan, model, graph, 1.0);
                   });
    }
  }

  const QAX::Ontology::MetaClass* chainNode = model.AddNestingClass("ChainNode", 1);
  for (const int depth : SizesFor(plan, {1, 8, 64})) {
    RegisterPair(plan, "NestedChain.perItem", std::to_string(depth),
                 [plan, &model, chainNode, depth](benchmark::State& state) {
                   ChannelGraph graph = NestedGraph(model, chainNode, depth, 1);
                   CompareBuild(state, plan, model, graph, graph.itemChannels);
                 });
  }
  const QAX::Ontology::MetaClass* treeNode = model.AddNestingClass("TreeNode", 4);
  for (const int levels : SizesFor(plan, {2, 4, 6})) {
    const int items = ((1 << (2 * levels)) - 1) / 3;
    RegisterPair(plan, "NestedTree4.perItem", std::to_string(items),
                 [plan, &model, treeNode, levels](benchmark::State& state) {
                   ChannelGraph graph = NestedGraph(model, treeNode, levels, 4);
                   CompareBuild(state, plan, model, graph, graph.itemChannels);
                 });
  }
}

}  // namespace qaxoi::bench
