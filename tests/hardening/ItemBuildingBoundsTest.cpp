// Item building stays bounded on graphs that are well formed but hostile:
// every item held is at most kMaxNestingDepth levels deep and costs at most
// kMaxRebuildCost, whatever the channels held before, and each case runs
// under a memory ceiling so that a regression fails instead of swapping.
#include <deque>
#include <functional>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "tests/hardening/ItemGraph.h"
#include "tests/support/AllocationFailure.h"
#include "tests/support/ItemExtent.h"

namespace {

using QAX::Onto::OntologyItem;
using QAX::Ontology::MetaClass;
using QAX::Ontology::Info::AttrKind;
using Texts = std::set<std::string>;

constexpr std::size_t kCeiling = std::size_t{96} << 20;
constexpr int kLinks = A3d_Channel::kMaxChildLinks;

std::string Message(const std::string& function, const std::string& text) {
  return "Aco_QAXOntologyItem::" + function + "()." + text;
}

class ItemBuildingBounds : public qaxoi::test::ItemTest {
 protected:
  Aco_QAXOntologyItem& Add(const MetaClass* metaClass) {
    Aco_QAXOntologyItem& channel = channels_.emplace_back();
    Prepare(channel, metaClass);
    return channel;
  }
  // A class of `count` attributes of `kind`.
  MetaClass* Wide(const std::string& name, int count, AttrKind kind) {
    MetaClass* metaClass = model_.AddClass(name, nullptr);
    for (int i = 0; i < count; ++i)
      qaxoi::test::AddAttribute(metaClass, "a" + std::to_string(i), kind);
    return metaClass;
  }
  // Rebuilds `roots` in order under the memory ceiling, then checks every
  // item that any channel holds; answers the messages shown.
  Texts Rebuild(const std::vector<Aco_QAXOntologyItem*>& roots) {
    globalEngine->ShowDebugMessage.Clear();
    {
      const qaxoi::test::ScopedHeapCeiling ceiling(kCeiling);
      for (Aco_QAXOntologyItem* root : roots) EXPECT_NE(nullptr, root->GetOntologyItem(true));
    }
    for (Aco_QAXOntologyItem& channel : channels_) {
      if (const OntologyItem* item = channel.GetOntologyItem(false)) {
        const auto [levels, cost] = qaxoi::test::LevelsAndCost(*item);
        EXPECT_LE(levels, Aco_QAXOntologyItem::kMaxNestingDepth);
        EXPECT_LE(cost, std::size_t{Aco_QAXOntologyItem::kMaxRebuildCost});
      }
    }
    return Texts(Shown().begin(), Shown().end());
  }

  std::deque<Aco_QAXOntologyItem> channels_;
  Aco_StringChannel text_;
};

TEST_F(ItemBuildingBounds, HostileGraphsBuildBoundedItemsAndSayWhatTheyLeftOut) {
  const std::string tooLarge = Message("GetOntologyItem", "RebuildTooLarge.Limit[1048576]");
  const std::string tooDeep = Message("GetOntologyItem", "NestingTooDeep.Limit[256]");
  MetaClass* node = model_.AddClass("Node", nullptr);
  qaxoi::test::AddAttribute(node, "next", AttrKind::kComplex);
  const std::vector<std::pair<const char*, std::function<Texts()>>> cases = {
      {"two channels each linked twice to the next, forty deep: 2^40 paths",
       [&] {
         MetaClass* pair = Wide("Pair", 2, AttrKind::kComplex);
         std::vector<Aco_QAXOntologyItem*> chain;
         for (int i = 0; i < 40; ++i) chain.push_back(&Add(pair));
         for (int i = 0; i + 1 < 40; ++i) {
           for (int slot : {0, 1}) chain[i]->LinkChild(slot, chain[i + 1]);
         }
         return Rebuild({chain.front()});
       }},
      {"fan-in of 4,096 links to a channel whose class is gone, which held a 70 KB nested item",
       [&] {
         MetaClass* texts = Wide("Texts", 64, AttrKind::kText);
         text_.SetString(std::string(1000, 'x').c_str());
         Aco_QAXOntologyItem& leaf = Add(texts);
         for (int i = 0; i < 64; ++i) leaf.LinkChild(i, &text_);
         Aco_QAXOntologyItem& held = Add(Wide("Holder", 1, AttrKind::kComplex));
         held.LinkChild(0, &leaf);
         EXPECT_NE(nullptr, held.GetOntologyItem(true));
         held.SetClassHandle("urn:lib:Gone");
         MetaClass* fan = Wide("Fan", kLinks, AttrKind::kComplex);
         Aco_QAXOntologyItem& inner = Add(fan);
         Aco_QAXOntologyItem& outer = Add(fan);
         for (int i = 0; i < kLinks; ++i) {
           inner.LinkChild(i, &held);
           outer.LinkChild(i, &inner);
         }
         return Rebuild({&outer});
       }},
      {"a chain longer than the nesting limit, rebuilt from its end: held items never graft deeper",
       [&] {
         std::vector<Aco_QAXOntologyItem*> chain;
         for (int i = 0; i < 600; ++i) chain.push_back(&Add(node));
         for (int i = 0; i + 1 < 600; ++i) chain[i]->LinkChild(0, chain[i + 1]);
         return Rebuild({chain.rbegin(), chain.rend()});
       }},
  };
  const std::vector<Texts> expected = {
      {tooLarge},
      {tooLarge},
      {tooDeep, Message("GetOntologyItem", "HeldItemTooDeep.Channel[QAXOntologyItem].Limit[256]")},
  };
  for (std::size_t i = 0; i < cases.size(); ++i) {
    channels_.clear();
    EXPECT_EQ(expected[i], cases[i].second()) << cases[i].first;
  }
}

TEST_F(ItemBuildingBounds, AClassChainIsWalkedOncePerRebuildAndOnlyAsFarAsTheLinksGo) {
  // 50,000 classes, the root's attribute an item of the chain's end: walking
  // the chain for each of 100 nested channels would spend 5,000,000 steps.
  MetaClass* at = model_.AddClass("C0", nullptr);
  qaxoi::test::AddAttribute(at, "next", AttrKind::kComplex);
  for (int i = 1; i < 50000; ++i) {
    at = model_.AddClass("C" + std::to_string(i), at);
    qaxoi::test::AddAttribute(at, "t" + std::to_string(i), AttrKind::kText);
  }
  Aco_QAXOntologyItem& first = Add(at);
  for (int i = 1; i < 100; ++i) channels_.emplace_back(first);
  for (std::size_t i = 0; i + 1 < channels_.size(); ++i) {
    channels_[i].LinkChild(0, &channels_[i + 1]);
  }
  EXPECT_EQ(Texts{}, Rebuild({&first}));
  EXPECT_EQ(100, qaxoi::test::LevelsAndCost(*first.GetOntologyItem(false)).first);
}

// Costs, to the unit: an item 64 and its class name's bytes, a value 64 and
// its attribute name's and text's bytes, each class and attribute walked 1.
// A held item taken costs what its build spent on items and values; an item
// set costs what measuring it counts, its attributes walked included.
TEST_F(ItemBuildingBounds, ARebuildATakenItemAndASetItemMayCostTheLimitToTheUnit) {
  constexpr std::size_t kLimit = Aco_QAXOntologyItem::kMaxRebuildCost;
  MetaClass* texts = Wide("Texts", 3, AttrKind::kText);
  Aco_QAXOntologyItem& built = Add(texts);
  Aco_QAXOntologyItem& valued = Add(texts);
  qaxoi::test::AddAttribute(texts, "a3", AttrKind::kText);  // walked, but past the links
  Aco_StringChannel second;  // the second value of a0, on a value link
  second.SetString("y");
  ASSERT_EQ(3, valued.AddValueLink(0));
  valued.LinkChild(0, &text_);
  valued.LinkChild(3, &second);
  Aco_StringChannel none;  // no text: sets nothing
  Aco_FloatChannel value;  // a value for a text attribute: sets nothing
  built.LinkChild(0, &text_);
  built.LinkChild(1, &none);
  built.LinkChild(2, &value);
  Aco_QAXOntologyItem& holder = Add(Wide("Holder", 1, AttrKind::kComplex));
  holder.LinkChild(0, &built);
  Aco_QAXOntologyItem& set = channels_.emplace_back();
  const std::string tooLarge = Message("GetOntologyItem", "RebuildTooLarge.Limit[1048576]");
  const struct {
    const char* what;
    std::size_t cost;  // without the text
    std::function<Texts()> run;
    std::string refused;
  } cases[] = {
      {"built: lib::Texts, 5 walked, 3 links, a0", 74 + 5 + 3 + 66,
       [&] { return Rebuild({&built}); }, tooLarge},
      {"values: lib::Texts, 5 walked, 4 attributes, 1 value link, a0 twice",
       74 + 5 + 4 + 1 + 66 + 67, [&] { return Rebuild({&valued}); }, tooLarge},
      {"set with a list: lib::Texts, 4 walked, a0 twice", 74 + 4 + 66 + 67,
       [&] {
         OntologyItem item("lib::Texts");
         item.PutBaseTypeListAttribute("a0", {text_.GetString(), "y"});
         globalEngine->ShowDebugMessage.Clear();
         set.SetOntologyItem(&item);
         return Texts(Shown().begin(), Shown().end());
       },
       Message("SetOntologyItem", "ItemTooLarge.Limit[1048576]")},
      {"taken: lib::Holder, 2 walked, 1 link, a0, what built held (lib::Texts, a0)",
       75 + 2 + 1 + 66 + 74 + 66,
       [&] {
         built.SetClassHandle(texts->GetInfo().handle);
         EXPECT_NE(nullptr, built.GetOntologyItem(true));
         built.SetClassHandle("urn:lib:Gone");
         return Rebuild({&holder});
       },
       tooLarge},
      {"set: lib::Texts, 4 walked, a0", 74 + 4 + 66,
       [&] {
         OntologyItem item("lib::Texts");
         item.SetAttribute("a0", text_.GetString());
         globalEngine->ShowDebugMessage.Clear();
         set.SetOntologyItem(&item);
         return Texts(Shown().begin(), Shown().end());
       },
       Message("SetOntologyItem", "ItemTooLarge.Limit[1048576]")},
  };
  for (const auto& c : cases) {
    for (std::size_t over : {0, 1}) {
      text_.SetString(std::string(kLimit - c.cost + over, 'x').c_str());
      EXPECT_EQ(over == 0 ? Texts{} : Texts{c.refused}, c.run()) << c.what << " +" << over;
    }
  }
}

// A channel holds an item of at most kMaxNestingDepth levels, and a rebuild
// takes what a child held only when it fits under the rebuilding channel.
TEST_F(ItemBuildingBounds, HeldItemsAreKeptAndTakenOnlyWithinTheNestingLimit) {
  MetaClass* node = model_.AddClass("Node", nullptr);
  qaxoi::test::AddAttribute(node, "next", AttrKind::kComplex);
  const std::string fqName = node->GetFQName();
  // A channel without class, set an item of `levels` levels.
  const auto set = [&](int levels) {
    OntologyItem root(fqName);
    OntologyItem* end = &root;
    for (int i = 1; i < levels; ++i) {
      auto* nested = new OntologyItem(fqName);
      end->SetAttribute("next", nested);
      end = nested;
    }
    Aco_QAXOntologyItem& channel = channels_.emplace_back();
    channel.SetOntologyItem(&root);
    return &channel;
  };
  // The first of a chain of `levels` channels, built, then of a class gone.
  const auto built = [&](int levels) {
    std::vector<Aco_QAXOntologyItem*> chain;
    for (int i = 0; i < levels; ++i) chain.push_back(&Add(node));
    for (int i = 0; i + 1 < levels; ++i) chain[i]->LinkChild(0, chain[i + 1]);
    EXPECT_NE(nullptr, chain[0]->GetOntologyItem(true));
    chain[0]->SetClassHandle("urn:lib:Gone");
    return chain[0];
  };
  const std::string notHeld = Message("SetOntologyItem", "ItemTooDeep.Limit[256]");
  const std::string notTaken =
      Message("GetOntologyItem", "HeldItemTooDeep.Channel[QAXOntologyItem].Limit[256]");
  const struct {
    const char* what;
    std::function<Aco_QAXOntologyItem*()> child;
    Texts shown;
    int levels;  // of the item built over the child
  } cases[] = {
      {"set, 257 levels: not held", [&] { return set(257); }, {notHeld}, 1},
      {"set, 256 levels: held, too deep to take", [&] { return set(256); }, {notTaken}, 1},
      {"set, 255 levels: held and taken", [&] { return set(255); }, {}, 256},
      {"built, 256 levels: too deep to take", [&] { return built(256); }, {notTaken}, 1},
  };
  for (const auto& c : cases) {
    channels_.clear();
    globalEngine->ShowDebugMessage.Clear();
    Aco_QAXOntologyItem* child = c.child();
    Texts shown(Shown().begin(), Shown().end());
    Aco_QAXOntologyItem& over = Add(node);
    over.LinkChild(0, child);
    shown.merge(Rebuild({&over}));
    EXPECT_EQ(c.shown, shown) << c.what;
    EXPECT_EQ(c.levels, qaxoi::test::LevelsAndCost(*over.GetOntologyItem(false)).first) << c.what;
  }
}

}  // namespace
