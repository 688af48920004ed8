// Helpers of the hardening tests, over qaxoi::test::TestModel: checking what
// must hold of every channel, and a small graph of an item channel of class
// lib.Child with a text, value and nested item child (itself an lib.Address
// channel with children of its own).
#ifndef QAX_TESTS_HARDENING_ITEMGRAPH_H_
#define QAX_TESTS_HARDENING_ITEMGRAPH_H_

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "module/Module.h"
#include "ontology_item/Aco_QAXOntologyItem.h"
#include "ontology_item/ClassSelection.h"
#include "tests/ontology_item/TestModel.h"

namespace qaxoi::test {

// The host declares exactly the channel's link descriptions (what of them fits
// the records' fields), and the channel's extension serves the channel itself
// (renames it to find out).
inline void ExpectConsistent(Aco_QAXOntologyItem& channel) {
  const auto& links = channel.GetLinkDescriptions();
  ASSERT_EQ(links.size(), static_cast<std::size_t>(channel.GetChildCount()));
  for (std::size_t i = 0; i < links.size(); ++i) {
    const ChildCreation* record = channel.GetChildCreation(static_cast<int>(i));
    EXPECT_EQ(links[i].first.substr(0, sizeof(record->Type.Name) - 1), record->Type.Name);
    EXPECT_EQ(links[i].second.substr(0, sizeof(record->LinkName) - 1), record->LinkName);
  }
  const std::string name = channel.GetChannelName() != nullptr ? channel.GetChannelName() : "";
  channel.SetChannelName("probe");
  EXPECT_STREQ("probe", channel.CE_GetOwnName());
  channel.SetChannelName(name.c_str());
}

inline std::vector<unsigned char> SavedRecords(Aco_QAXOntologyItem& channel) {
  A3dFileSaver saver;
  EXPECT_TRUE(channel.SaveChannel(saver));
  return saver.Data();
}

struct ItemGraph {
  explicit ItemGraph(const TestModel& model) {
    text.SetString("text");
    number.SetFloat(2.5f);
    street.SetString("Main Street");
    // Made here rather than by a host: they get their type as InitDLL's would.
    address.SetChannelType(*GetType());
    item.SetChannelType(*GetType());
    qaxoi::module::ChooseClass(address, *model.address, true,
                               qaxoi::module::ChannelNaming::kKeepName);
    address.LinkChild(0, &street);
    address.LinkChild(1, &number);
    qaxoi::module::ChooseClass(item, *model.child, true, qaxoi::module::ChannelNaming::kKeepName);
    for (auto [slot, child] : {std::pair<int, A3d_Channel*>{0, &text},
                               {1, &number},
                               {3, &number},
                               {5, &address},
                               {7, &text}}) {
      item.LinkChild(slot, child);
    }
  }
  // Every channel, the item first: what a group file of the graph holds.
  std::vector<A3d_Channel*> Channels() { return {&item, &address, &text, &number, &street}; }

  Aco_StringChannel text, street;
  Aco_FloatChannel number;
  Aco_QAXOntologyItem address, item;
};

}  // namespace qaxoi::test

#endif  // QAX_TESTS_HARDENING_ITEMGRAPH_H_
