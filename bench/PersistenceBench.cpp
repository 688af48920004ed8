// SaveChannel and LoadChannel against records written and read by hand, and
// whole channel group files of module channels against groups of channels
// that write the same records by hand.
#include "bench/Baselines.h"
#include "bench/Benchmarks.h"
#include "host/sdk/ChannelTypeRegistry.h"
#include "host/sdk/Crc32c.h"
#include "host/sdk/GroupFile.h"
#include "module/Module.h"

namespace qaxoi::bench {
namespace {

// A channel that writes by hand what `channel` writes through the module.
std::unique_ptr<HandRecordChannel> HandCopyOf(Aco_QAXOntologyItem& channel) {
  auto hand = std::make_unique<HandRecordChannel>();
  hand->SetChannelName(channel.GetChannelName());
  ItemRecords& records = hand->records();
  records.mode = channel.GetCurrentMode();
  records.autoName = channel.GetUseAutoChannelName();
  records.classHandle = channel.GetClassHandle();
  records.links = channel.GetLinkDescriptions();
  for (int i = 0; i < channel.GetChildCount(); ++i) {
    hand->SetChildCreateType(*channel.GetChildCreation(i), i);
  }
  return hand;
}

std::vector<unsigned char> Saved(A3d_Channel& channel) {
  A3dFileSaver saver;
  channel.SaveChannel(saver);
  return saver.Data();
}

void RegisterChannelRecords(const Plan& plan, BenchModel& model) {
  for (const int links : SizesFor(plan, {10, 100, 1000})) {
    const QAX::Ontology::MetaClass* metaClass =
        model.AddChain("Persist" + std::to_string(links), links, AttributeMix::kAllKinds);
    RegisterPair(plan, "SaveChannel", std::to_string(links),
                 [plan, &model, metaClass](benchmark::State& state) {
                   std::unique_ptr<Aco_QAXOntologyItem> channel = NewItemChannel(model, metaClass);
                   std::unique_ptr<HandRecordChannel> hand = HandCopyOf(*channel);
                   if (Saved(*channel) != Saved(*hand)) {
                     state.SkipWithError("the baseline writes other bytes");
                     return;
                   }
                   const auto module = [&] {
                     A3dFileSaver saver;
                     channel->SaveChannel(saver);
                     benchmark::DoNotOptimize(saver.Data().data());
                   };
                   const auto baseline = [&] {
                     A3dFileSaver saver;
                     hand->SaveChannel(saver);
                     benchmark::DoNotOptimize(saver.Data().data());
                   };
                   ComparePair(state, plan, module, baseline);
                 });
    RegisterPair(plan, "LoadChannel", std::to_string(links),
                 [plan, &model, metaClass](benchmark::State& state) {
                   std::unique_ptr<Aco_QAXOntologyItem> source = NewItemChannel(model, metaClass);
                   const std::vector<unsigned char> bytes = Saved(*source);
                   Aco_QAXOntologyItem channel;
                   HandRecordChannel hand;
                   const auto module = [&] {
                     A3dFileLoader loader(bytes.data(), bytes.size());
                     channel.LoadChannel(loader, nullptr);
                   };
                   const auto baseline = [&] {
                     A3dFileLoader loader(bytes.data(), bytes.size());
                     hand.LoadChannel(loader, nullptr);
                   };
                   module();
                   baseline();
                   if (channel.GetLinkDescriptions() != hand.records().links ||
                       channel.GetClassHandle() != hand.records().classHandle ||
                       channel.GetChildCount() != hand.GetChildCount()) {
                     state.SkipWithError("the baseline reads other records");
                     return;
                   }
                   ComparePair(state, plan, module, baseline);
                 });
  }
}

// Owns two groups of the same records: module channels and hand channels.
struct Groups {
  std::vector<std::unique_ptr<A3d_Channel>> owned;
  std::vector<A3d_Channel*> module;
  std::vector<A3d_Channel*> hand;
};

Groups MakeGroups(BenchModel& model, const QAX::Ontology::MetaClass* metaClass, int channels) {
  Groups groups;
  for (int i = 0; i < channels; ++i) {
    std::unique_ptr<Aco_QAXOntologyItem> channel = NewItemChannel(model, metaClass);
    std::unique_ptr<HandRecordChannel> hand = HandCopyOf(*channel);
    groups.module.push_back(channel.get());
    groups.hand.push_back(hand.get());
    groups.owned.push_back(std::move(channel));
    groups.owned.push_back(std::move(hand));
  }
  return groups;
}

void RegisterGroupFiles(const Plan& plan, BenchModel& model) {
  const QAX::Ontology::MetaClass* metaClass =
      model.AddChain("GroupMember", 10, AttributeMix::kAllKinds);
  for (const int channels : SizesFor(plan, {100, 1000, 10000})) {
    RegisterPair(plan, "SaveGroup", std::to_string(channels),
                 [plan, &model, metaClass, channels](benchmark::State& state) {
                   Groups groups = MakeGroups(model, metaClass, channels);
                   std::vector<unsigned char> moduleBytes;
                   std::vector<unsigned char> handBytes;
                   const auto module = [&] {
                     benchmark::DoNotOptimize(SaveGroup("bench", groups.module, &moduleBytes));
                   };
                   const auto baseline = [&] {
                     benchmark::DoNotOptimize(SaveGroup("bench", groups.hand, &handBytes));
                   };
                   qaxoi::Status saved = SaveGroup("bench", groups.module, &moduleBytes);
                   if (saved.ok()) saved = SaveGroup("bench", groups.hand, &handBytes);
                   if (!saved.ok()) {
                     state.SkipWithError(saved.message().c_str());
                     return;
                   }
                   if (moduleBytes.size() != handBytes.size()) {
                     state.SkipWithError("the baseline group has another size");
                     return;
                   }
                   ComparePair(state, plan, module, baseline, 1.0,
                               static_cast<double>(moduleBytes.size()));
                 });
    RegisterPair(
        plan, "LoadGroup", std::to_string(channels),
        [plan, &model, metaClass, channels](benchmark::State& state) {
          std::vector<unsigned char> moduleBytes;
          std::vector<unsigned char> handBytes;
          {
            Groups groups = MakeGroups(model, metaClass, channels);
            // A failed save leaves no bytes, which the loads below refuse.
            static_cast<void>(SaveGroup("bench", groups.module, &moduleBytes));
            static_cast<void>(SaveGroup("bench", groups.hand, &handBytes));
          }
          ChannelTypeRegistry registry;
          registry.RegisterBuiltIns();
          registry.Register(*GetType(), [] { return std::unique_ptr<A3d_Channel>(InitDLL()); });
          registry.Register(HandRecordChannel::Type(), [] {
            return std::unique_ptr<A3d_Channel>(std::make_unique<HandRecordChannel>());
          });
          const auto module = [&] {
            std::unique_ptr<LoadedGroup> group;
            benchmark::DoNotOptimize(
                LoadGroup(moduleBytes.data(), moduleBytes.size(), registry, &group));
          };
          const auto baseline = [&] {
            std::unique_ptr<LoadedGroup> group;
            benchmark::DoNotOptimize(
                LoadGroup(handBytes.data(), handBytes.size(), registry, &group));
          };
          for (const std::vector<unsigned char>* bytes : {&moduleBytes, &handBytes}) {
            std::unique_ptr<LoadedGroup> group;
            GroupFileError error;
            if (!LoadGroup(bytes->data(), bytes->size(), registry, &group, &error).ok()) {
              const std::string side = bytes == &moduleBytes ? "module" : "baseline";
              state.SkipWithError((side + " group: " + error.reason).c_str());
              return;
            }
          }
          ComparePair(state, plan, module, baseline, 1.0, static_cast<double>(moduleBytes.size()));
        });
    // What checking a file's checksums costs, against the whole load that
    // checks them: the CRC-32C of every byte, once, as LoadGroup computes it.
    RegisterPair(
        plan, "GroupChecksumsInLoadGroup", std::to_string(channels),
        [plan, &model, metaClass, channels](benchmark::State& state) {
          std::vector<unsigned char> bytes;
          {
            Groups groups = MakeGroups(model, metaClass, channels);
            // A failed save leaves no bytes, which the load below refuses.
            static_cast<void>(SaveGroup("bench", groups.module, &bytes));
          }
          ChannelTypeRegistry registry;
          registry.RegisterBuiltIns();
          registry.Register(*GetType(), [] { return std::unique_ptr<A3d_Channel>(InitDLL()); });
          std::unique_ptr<LoadedGroup> loaded;
          GroupFileError error;
          if (!LoadGroup(bytes.data(), bytes.size(), registry, &loaded, &error).ok()) {
            state.SkipWithError(error.reason.c_str());
            return;
          }
          const auto checksums = [&] {
            benchmark::DoNotOptimize(Crc32c(bytes.data(), bytes.size()));
          };
          const auto load = [&] {
            std::unique_ptr<LoadedGroup> group;
            benchmark::DoNotOptimize(LoadGroup(bytes.data(), bytes.size(), registry, &group));
          };
          ComparePair(state, plan, checksums, load, 1.0, static_cast<double>(bytes.size()));
        });
  }
}

}  // namespace

void RegisterPersistenceBenchmarks(const Plan& plan, BenchModel& model) {
  RegisterChannelRecords(plan, model);
  RegisterGroupFiles(plan, model);
}

}  // namespace qaxoi::bench
