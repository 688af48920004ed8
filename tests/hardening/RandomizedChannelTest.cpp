// A long randomized run with a fixed seed: channels are created, copied,
// assigned, prepared, linked, rebuilt, given items, saved, loaded and
// destroyed in random order, and after every step checked against a simple
// model of what must hold. A failure names the seed and the step.
#include <cstdlib>
#include <iterator>
#include <memory>
#include <random>
#include <set>

#include <gtest/gtest.h>

#include "tests/hardening/ItemGraph.h"

namespace {

using Link = Aco_QAXOntologyItem::LinkDescription;
using QAX::Onto::OntologyItem;
using QAX::Ontology::MetaAttr;
using QAX::Ontology::MetaClass;
using QAX::Ontology::Info::AttrKind;
using QAX::Ontology::Info::AttrKindOf;

// Exposes the multi-mode channel's instance count.
struct Instances : Aco_QAXOntologyItem {
  using MultiModeChannel::_refCount;
};

// The attributes of a class and its ancestors, the root's first.
std::vector<const MetaAttr*> AttributesOf(const MetaClass* metaClass) {
  if (metaClass == nullptr) return {};
  std::vector<const MetaAttr*> all = AttributesOf(metaClass->GetParent());
  all.insert(all.end(), metaClass->GetAttributes().begin(), metaClass->GetAttributes().end());
  return all;
}

// The links a class gets, worked out apart from the channel: by attribute kind.
std::vector<Link> LinksOf(const MetaClass* metaClass) {
  std::vector<Link> links;
  for (const MetaAttr* attribute : AttributesOf(metaClass)) {
    const QAX::Ontology::Info::MetaAttrInfo& info = attribute->GetInfo();
    const std::string name = info.scopeName + "." + info.name;
    const AttrKind kind = AttrKindOf(info.kind);
    links.push_back(
        kind == AttrKind::kComplex ? Link{"QAXOntologyItem", name + " [TODO.TODO]"}
        : kind < AttrKind::kText || kind > AttrKind::kComplex
            ? Link{ChildCreation().Type.Name, ChildCreation().LinkName}
            : Link{kind == AttrKind::kText || kind == AttrKind::kTemporal ? "Text" : "Value",
                   name});
  }
  return links;
}

// What the model says of one channel.
struct Expected {
  std::vector<Link> links;
  std::vector<A3d_Channel*> children;  // by link: the child linked there, or null
  std::string handle;
  bool holdsItem = false;
};
struct Live : Expected {
  std::unique_ptr<Aco_QAXOntologyItem> channel;
};

class RandomizedRun {
 public:
  explicit RandomizedRun(unsigned seed) : random_(seed) {
    MetaClass* node = model_.AddClass("Node", model_.root);
    qaxoi::test::AddAttribute(node, "label", AttrKind::kText);
    qaxoi::test::AddAttribute(node, "next", AttrKind::kComplex);
    classes_ = {model_.root, model_.parent, model_.child, model_.address, node};
    text_.SetString("text");
    number_.SetFloat(1.5f);
  }

  // Runs `steps` random operations, each on a channel drawn at random, by
  // weight (those listed twice come twice as often); answers how many
  // channels were created.
  int Run(int steps) {
    using R = RandomizedRun;
    static constexpr void (R::*kOperations[])(Live&) = {
        &R::Create,         &R::Create,      &R::Copy,    &R::Assign, &R::Prepare,
        &R::Prepare,        &R::Prepare,     &R::Link,    &R::Link,   &R::Rebuild,
        &R::SetOrClearItem, &R::SaveAndLoad, &R::Destroy, &R::Destroy};
    for (int step = 0; step < steps && !::testing::Test::HasFailure(); ++step) {
      SCOPED_TRACE("step " + std::to_string(step));
      if (live_.empty()) Create();
      (this->*kOperations[Pick(std::size(kOperations))])(Any());
      CheckAll();
    }
    while (!live_.empty()) Destroy(live_.back());
    CheckAll();
    return created_;
  }

 private:
  std::size_t Pick(std::size_t n) { return static_cast<std::size_t>(random_() % n); }
  Live& Any() { return live_[Pick(live_.size())]; }

  // A channel as InitDLL makes it, or a copy; at most 48 live at once.
  void Create(Live&) { Create(); }
  void Create() {
    Add(Live{{},
             std::unique_ptr<Aco_QAXOntologyItem>(static_cast<Aco_QAXOntologyItem*>(InitDLL()))});
  }
  void Copy(Live& source) {
    Add(Live{source, std::make_unique<Aco_QAXOntologyItem>(*source.channel)});
  }
  void Add(Live live) {
    if (live_.size() >= kMostLive) return;
    live_.push_back(std::move(live));
    ++created_;
  }
  void Assign(Live& target) {
    const Live& source = Any();
    *target.channel = *source.channel;
    static_cast<Expected&>(target) = source;
  }

  void Prepare(Live& live) {
    const MetaClass* chosen = Pick(6) == 0 ? nullptr : classes_[Pick(classes_.size())];
    const bool force = Pick(2) == 0;
    qaxoi::module::PrepareLinksFor(*live.channel, chosen, force);
    if (force || (chosen != nullptr && chosen->GetInfo().handle != live.handle)) {
      live.links = LinksOf(chosen);
      live.children.assign(live.links.size(), nullptr);
    }
    // The class given may be the one prepared for, none or an unknown one.
    if (Pick(2) == 0) {
      live.handle = chosen != nullptr ? chosen->GetInfo().handle
                    : Pick(2) == 0    ? ""
                                      : "urn:lib:Nowhere";
      live.channel->SetClassHandle(live.handle);
    }
  }

  void Link(Live& parent) {
    if (parent.links.empty()) return;
    const std::size_t slot = Pick(parent.links.size());
    A3d_Channel* const choices[] = {nullptr, &text_, &number_, Any().channel.get()};
    A3d_Channel* const child = choices[Pick(4)];
    EXPECT_TRUE(parent.channel->LinkChild(static_cast<int>(slot), child));
    parent.children[slot] = child;
  }

  Live* Find(const A3d_Channel* channel) {
    for (Live& live : live_) {
      if (live.channel.get() == channel) return &live;
    }
    return nullptr;
  }

  // What GetOntologyItem(true) does to the model: true when it builds. A
  // channel's item nests the items of the item channels linked at its item
  // attributes, except along a cycle and below the depth limit (the graphs
  // drawn here stay far within a rebuild's budget).
  bool Simulate(Live& live, int depth) {
    const MetaClass* metaClass = model_.model->GetMetaClass(live.handle);
    if (metaClass == nullptr || running_.count(&live) != 0 ||
        depth >= Aco_QAXOntologyItem::kMaxNestingDepth) {
      return false;
    }
    running_.insert(&live);
    live.holdsItem = true;
    const std::vector<const MetaAttr*> attributes = AttributesOf(metaClass);
    for (std::size_t i = 0; i < attributes.size() && i < live.children.size(); ++i) {
      Live* nested = Find(live.children[i]);
      if (AttrKindOf(attributes[i]->GetInfo().kind) == AttrKind::kComplex && nested != nullptr) {
        Simulate(*nested, depth + 1);
      }
    }
    running_.erase(&live);
    return true;
  }

  void Rebuild(Live& live) {
    const bool builds = Simulate(live, 0);
    OntologyItem* item = live.channel->GetOntologyItem(true);
    ASSERT_EQ(builds, item != nullptr);
    if (item != nullptr) {
      EXPECT_EQ(model_.model->GetMetaClass(live.handle)->GetFQName(), item->GetFQName());
    }
  }

  void SetOrClearItem(Live& live) {
    live.holdsItem = Pick(3) != 0;
    if (!live.holdsItem) return live.channel->ClearOntologyItem();
    OntologyItem fresh("lib::Root");
    OntologyItem* given = Any().channel->GetOntologyItem(false);
    live.channel->SetOntologyItem(given != nullptr ? given : &fresh);
  }

  void SaveAndLoad(Live& source) {
    const std::vector<unsigned char> records = qaxoi::test::SavedRecords(*source.channel);
    const Expected saved = source;
    if (Pick(2) == 0) Create();  // `source` may move
    Live& target = Pick(2) == 0 ? live_.back() : Any();
    A3dFileLoader loader(records.data(), records.size());
    ASSERT_TRUE(target.channel->LoadChannel(loader, nullptr));
    EXPECT_TRUE(loader.AtEnd());
    target.links = saved.links;
    if (!saved.handle.empty()) {
      target.handle = saved.handle;
      // Links saved for a class the model has are bound to its attributes
      // by name: each saved link keeps its place, and the attributes none is
      // bound to get links behind them.
      if (const MetaClass* cls = model_.model->GetMetaClass(saved.handle)) {
        const auto walk = LinksOf(cls);
        if (walk != saved.links) {
          std::vector<bool> bound(walk.size(), false);
          for (const auto& link : saved.links) {
            for (std::size_t j = 0; j < walk.size(); ++j) {
              if (bound[j] || walk[j] != link) continue;
              bound[j] = true;
              break;
            }
          }
          for (std::size_t j = 0; j < walk.size(); ++j) {
            if (!bound[j]) target.links.push_back(walk[j]);
          }
        }
      }
    }
    target.children.assign(target.links.size(), nullptr);
  }

  // Unlinks the channel everywhere first: children are never owned.
  void Destroy(Live& gone) {
    for (Live& live : live_) {
      for (std::size_t slot = 0; slot < live.children.size(); ++slot) {
        if (live.children[slot] != gone.channel.get()) continue;
        live.channel->LinkChild(static_cast<int>(slot), nullptr);
        live.children[slot] = nullptr;
      }
    }
    live_.erase(live_.begin() + (&gone - live_.data()));
  }

  void CheckAll() {
    EXPECT_EQ(live_.size(), Instances::_refCount);
    std::set<const OntologyItem*> items;
    for (Live& live : live_) {
      ASSERT_EQ(live.links, live.channel->GetLinkDescriptions());
      qaxoi::test::ExpectConsistent(*live.channel);
      for (std::size_t slot = 0; slot < live.children.size(); ++slot) {
        EXPECT_EQ(live.children[slot], live.channel->GetChild(static_cast<int>(slot)));
      }
      EXPECT_EQ(live.handle, live.channel->GetClassHandle());
      EXPECT_EQ(0u, live.channel->GetModeCount());
      OntologyItem* item = live.channel->GetOntologyItem(false);
      ASSERT_EQ(live.holdsItem, item != nullptr);
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
  qaxoi::test::TestModel model_;
  std::vector<const MetaClass*> classes_;
  Aco_StringChannel text_;
  Aco_FloatChannel number_;
  std::vector<Live> live_;
  std::mt19937 random_;
  std::set<const Live*> running_;
  int created_ = 0;
};

// QAX_RANDOMIZED_STEPS shortens the run where every step is slow (valgrind).
TEST(RandomizedRun, ThousandsOfChannelsKeepTheModel) {
  const char* env = std::getenv("QAX_RANDOMIZED_STEPS");
  const int steps = env != nullptr ? std::atoi(env) : 20000;
  const unsigned seed = 20240611;
  SCOPED_TRACE("seed " + std::to_string(seed));
  EXPECT_GT(RandomizedRun(seed).Run(steps), steps / 10);  // channels created
}

}  // namespace
