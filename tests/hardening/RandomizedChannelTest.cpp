// A long randomized run with a fixed seed: channels are created, copied,
// assigned, prepared, linked, rebuilt, given items, saved, loaded and
// destroyed in random order, and after every step checked against a simple
// model of what must hold.
#include <cstdlib>
#include <functional>
#include <iostream>
#include <memory>
#include <random>
#include <set>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "tests/hardening/ItemGraph.h"

namespace {

using Link = Aco_QAXOntologyItem::LinkDescription;
using QAX::Onto::OntologyItem;
using QAX::Ontology::MetaClass;

// Exposes the multi-mode channel's instance count.
struct Instances : Aco_QAXOntologyItem {
  using MultiModeChannel::_refCount;
};

// What the model says of one channel.
struct Expected {
  std::vector<Link> links;
  std::vector<A3d_Channel*> children;  // by link: the child linked there, or null
  std::string handle;
  bool holdsItem = false;
};

struct Live {
  std::unique_ptr<Aco_QAXOntologyItem> channel;
  Expected expected;
};

// The links a class gets, worked out apart from the channel: the attributes
// of the root first, each by its kind.
std::vector<Link> LinksOf(const MetaClass* metaClass) {
  if (metaClass == nullptr) return {};
  std::vector<Link> links = LinksOf(metaClass->GetParent());
  for (const QAX::Ontology::MetaAttr* attribute : metaClass->GetAttributes()) {
    const QAX::Ontology::Info::MetaAttrInfo& info = attribute->GetInfo();
    const std::string name = info.scopeName + "." + info.name;
    static const char* const kTypes[] = {"Text", "Value", "Value", "Value", "Text"};
    if (info.kind >= 0 && info.kind <= 4) {
      links.emplace_back(kTypes[info.kind], name);
    } else if (info.kind == 5) {
      links.emplace_back("QAXOntologyItem", name + " [TODO.TODO]");
    } else {
      links.emplace_back(ChildCreation().Type.Name, ChildCreation().LinkName);
    }
  }
  return links;
}

class RandomizedRun {
 public:
  RandomizedRun() {
    MetaClass* node = model_.AddClass("Node", model_.root());
    qax_test::AddAttribute(node, "label", 0);
    qax_test::AddAttribute(node, "next", 5);
    classes_ = {model_.root(), model_.parent(), model_.child(), model_.address(), node};
    text_.SetString("text");
    number_.SetFloat(1.5f);
  }

  // Runs `steps` random operations; answers how many channels were created.
  int Run(int steps) {
    for (int step = 0; step < steps && !::testing::Test::HasFailure(); ++step) {
      SCOPED_TRACE("step " + std::to_string(step));
      Step();
      CheckAll();
    }
    while (!live_.empty()) Destroy(live_.size() - 1);
    CheckAll();
    return created_;
  }

 private:
  std::size_t Pick(std::size_t n) { return static_cast<std::size_t>(random_() % n); }
  Live& Any() { return live_[Pick(live_.size())]; }

  // One random operation, by weight: the operations listed twice come twice
  // as often. At most 48 channels live at once.
  void Step() {
    const std::function<void()> operations[] = {
        [&] { Create(); },
        [&] { Create(); },
        [&] {
          if (live_.size() < kMostLive) CopyOf(Any());
        },
        [&] {
          const Live& source = Any();  // drawn first, as arguments were
          Assign(Any(), source);
        },
        [&] { Prepare(Any()); },
        [&] { Prepare(Any()); },
        [&] { SetHandle(Any()); },
        [&] { LinkChild(Any()); },
        [&] { LinkChild(Any()); },
        [&] { Rebuild(Any()); },
        [&] { SetOrClearItem(Any()); },
        [&] { SaveAndLoad(Any()); },
        [&] { Destroy(Pick(live_.size())); },
        [&] { Destroy(Pick(live_.size())); },
    };
    operations[live_.empty() ? 0 : Pick(14)]();
  }

  void Assign(Live& target, const Live& source) {
    *target.channel = *source.channel;
    target.expected = source.expected;
  }

  void SetHandle(Live& live) {
    const std::size_t n = Pick(classes_.size() + 2);
    live.expected.handle = n < classes_.size()    ? classes_[n]->GetInfo().handle
                           : n == classes_.size() ? ""
                                                  : "urn:lib:Nowhere";
    live.channel->SetClassHandle(live.expected.handle);
  }

  void Create() {
    if (live_.size() >= kMostLive) return;
    live_.push_back(
        Live{std::unique_ptr<Aco_QAXOntologyItem>(static_cast<Aco_QAXOntologyItem*>(InitDLL())),
             Expected()});
    ++created_;
  }

  void CopyOf(const Live& source) {
    live_.push_back(Live{std::make_unique<Aco_QAXOntologyItem>(*source.channel), source.expected});
    ++created_;
  }

  void Prepare(Live& live) {
    const MetaClass* chosen = Pick(6) == 0 ? nullptr : classes_[Pick(classes_.size())];
    const bool force = Pick(2) == 0;
    Aco_QAXOntologyItem::SelectedLibrary = chosen != nullptr ? model_.library() : nullptr;
    Aco_QAXOntologyItem::SelectedClass = chosen;
    live.channel->PrepareLinks(force);
    if (force || (chosen != nullptr && chosen->GetInfo().handle != live.expected.handle)) {
      live.expected.links = LinksOf(chosen);
      live.expected.children.assign(live.expected.links.size(), nullptr);
    }
    if (chosen != nullptr && Pick(2) == 0) {
      live.expected.handle = chosen->GetInfo().handle;
      live.channel->SetClassHandle(live.expected.handle);
    }
  }

  void LinkChild(Live& parent) {
    if (parent.expected.links.empty()) return;
    const std::size_t slot = Pick(parent.expected.links.size());
    A3d_Channel* const choices[] = {nullptr, &text_, &number_, Any().channel.get()};
    A3d_Channel* const child = choices[Pick(4)];
    EXPECT_TRUE(parent.channel->LinkChild(static_cast<int>(slot), child));
    parent.expected.children[slot] = child;
  }

  Live* Find(const A3d_Channel* channel) {
    for (Live& live : live_) {
      if (live.channel.get() == channel) return &live;
    }
    return nullptr;
  }

  // What GetOntologyItem(true) does to the model: true when it builds.
  bool Simulate(Live& live, int depth, std::set<const Live*>& running, int& taken) {
    const MetaClass* metaClass = model_.model().GetMetaClass(live.expected.handle);
    if (metaClass == nullptr || running.count(&live) != 0) return false;
    if (depth >= Aco_QAXOntologyItem::kMaxNestingDepth) return false;
    running.insert(&live);
    live.expected.holdsItem = true;
    std::vector<const MetaClass*> chain;
    for (const MetaClass* at = metaClass; at != nullptr; at = at->GetParent()) {
      chain.insert(chain.begin(), at);
    }
    std::size_t position = 0;
    for (const MetaClass* at : chain) {
      for (const QAX::Ontology::MetaAttr* attribute : at->GetAttributes()) {
        Live* nested = position < live.expected.children.size()
                           ? Find(live.expected.children[position])
                           : nullptr;
        ++position;
        if (attribute->GetInfo().kind != 5 || nested == nullptr) continue;
        if (taken >= Aco_QAXOntologyItem::kMaxNestedItems) continue;
        ++taken;
        Simulate(*nested, depth + 1, running, taken);
      }
    }
    running.erase(&live);
    return true;
  }

  void Rebuild(Live& live) {
    std::set<const Live*> running;
    int taken = 0;
    const bool builds = Simulate(live, 0, running, taken);
    OntologyItem* item = live.channel->GetOntologyItem(true);
    ASSERT_EQ(builds, item != nullptr);
    if (item != nullptr) {
      EXPECT_EQ(model_.model().GetMetaClass(live.expected.handle)->GetFQName(), item->GetFQName());
    }
  }

  void SetOrClearItem(Live& live) {
    live.expected.holdsItem = Pick(3) != 0;
    if (!live.expected.holdsItem) return live.channel->ClearOntologyItem();
    OntologyItem fresh("lib::Root");
    OntologyItem* given = Any().channel->GetOntologyItem(false);
    live.channel->SetOntologyItem(given != nullptr ? given : &fresh);
  }

  void SaveAndLoad(const Live& source) {
    const std::vector<unsigned char> records = qax_test::SavedRecords(*source.channel);
    const std::vector<Link> links = source.expected.links;
    const std::string handle = source.expected.handle;
    if (Pick(2) == 0) Create();  // `source` may move
    Live& target = Pick(2) == 0 ? live_.back() : Any();
    A3dFileLoader loader(records.data(), records.size());
    ASSERT_TRUE(target.channel->LoadChannel(loader, nullptr));
    EXPECT_TRUE(loader.AtEnd());
    target.expected.links = links;
    target.expected.children.assign(links.size(), nullptr);
    if (!handle.empty()) target.expected.handle = handle;
  }

  // Unlinks the channel everywhere first: children are never owned.
  void Destroy(std::size_t index) {
    A3d_Channel* const gone = live_[index].channel.get();
    for (Live& live : live_) {
      for (std::size_t slot = 0; slot < live.expected.children.size(); ++slot) {
        if (live.expected.children[slot] != gone) continue;
        live.channel->LinkChild(static_cast<int>(slot), nullptr);
        live.expected.children[slot] = nullptr;
      }
    }
    live_.erase(live_.begin() + static_cast<std::ptrdiff_t>(index));
  }

  void CheckAll() {
    EXPECT_EQ(live_.size(), Instances::_refCount);
    std::set<const OntologyItem*> items;
    for (Live& live : live_) {
      Aco_QAXOntologyItem& channel = *live.channel;
      ASSERT_EQ(live.expected.links, channel.GetLinkDescriptions());
      qax_test::ExpectConsistent(channel);
      for (std::size_t slot = 0; slot < live.expected.children.size(); ++slot) {
        EXPECT_EQ(live.expected.children[slot], channel.GetChild(static_cast<int>(slot)));
      }
      EXPECT_EQ(live.expected.handle, channel.GetClassHandle());
      EXPECT_EQ(0u, channel.GetModeCount());
      OntologyItem* item = channel.GetOntologyItem(false);
      ASSERT_EQ(live.expected.holdsItem, item != nullptr);
      // Each item is held by one channel only, and nested items are its own.
      if (item == nullptr) continue;
      EXPECT_TRUE(items.insert(item).second);
      for (const std::string& name : item->GetAttributeNames()) {
        OntologyItem* nested = nullptr;
        EXPECT_TRUE(!item->GetAttributeInstance(name, nested) || items.insert(nested).second);
      }
    }
  }

  static constexpr std::size_t kMostLive = 48;
  qax_test::TestModel model_;
  std::vector<const MetaClass*> classes_;
  Aco_StringChannel text_;
  Aco_FloatChannel number_;
  std::vector<Live> live_;
  std::mt19937 random_{20240611};
  int created_ = 0;
};

// QAX_RANDOMIZED_STEPS shortens the run where every step is slow (valgrind).
TEST(RandomizedRun, ThousandsOfChannelsKeepTheModel) {
  const char* env = std::getenv("QAX_RANDOMIZED_STEPS");
  const int steps = env != nullptr ? std::atoi(env) : 20000;
  const int created = RandomizedRun().Run(steps);
  EXPECT_GT(created, steps / 10);
  std::cout << steps << " steps, " << created << " channels created\n";
}

}  // namespace
