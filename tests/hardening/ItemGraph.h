// Helpers of the hardening tests, over qax_test::TestModel: preparing a
// channel, checking what must hold of every channel, and a small graph of an
// item channel of class lib.Child with a text, value and nested item child
// (itself an lib.Address channel with children of its own).
#ifndef QAX_TESTS_HARDENING_ITEMGRAPH_H_
#define QAX_TESTS_HARDENING_ITEMGRAPH_H_

#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "module/Module.h"
#include "ontology_item/Aco_QAXOntologyItem.h"
#include "tests/ontology_item/TestModel.h"

namespace qax_test {

// Selects `metaClass` in the editor, prepares `channel` for it and gives the
// channel that class.
inline void PrepareFor(Aco_QAXOntologyItem& channel, const TestModel& model,
                       const QAX::Ontology::MetaClass* metaClass) {
  Aco_QAXOntologyItem::SelectedLibrary = model.library();
  Aco_QAXOntologyItem::SelectedClass = metaClass;
  channel.PrepareLinks(true);
  channel.SetClassHandle(metaClass->GetInfo().handle);
}

// The host declares exactly the channel's link descriptions, and the
// channel's extension serves the channel itself (renames it to find out).
inline void ExpectConsistent(Aco_QAXOntologyItem& channel) {
  const std::vector<Aco_QAXOntologyItem::LinkDescription>& links = channel.GetLinkDescriptions();
  ASSERT_EQ(links.size(), static_cast<std::size_t>(channel.GetChildCount()));
  for (std::size_t i = 0; i < links.size(); ++i) {
    const ChildCreation* record = channel.GetChildCreation(static_cast<int>(i));
    // The records hold what of the (whole) descriptions fits their fields.
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

class ItemGraph {
 public:
  explicit ItemGraph(const TestModel& model) {
    text_.SetString("text");
    number_.SetFloat(2.5f);
    street_.SetString("Main Street");
    // Made here rather than by a host: they get their type as InitDLL's would.
    address_.SetChannelType(*GetType());
    item_.SetChannelType(*GetType());
    PrepareFor(address_, model, model.address());
    address_.LinkChild(0, &street_);
    address_.LinkChild(1, &number_);
    PrepareFor(item_, model, model.child());
    for (const auto& [slot, child] : {std::pair<int, A3d_Channel*>{0, &text_},
                                      {1, &number_},
                                      {3, &number_},
                                      {5, &address_},
                                      {7, &text_}}) {
      item_.LinkChild(slot, child);
    }
  }
  Aco_QAXOntologyItem& item() { return item_; }
  Aco_QAXOntologyItem& address() { return address_; }
  // Every channel, the item first: what a group file of the graph holds.
  std::vector<A3d_Channel*> Channels() { return {&item_, &address_, &text_, &number_, &street_}; }

 private:
  Aco_StringChannel text_, street_;
  Aco_FloatChannel number_;
  Aco_QAXOntologyItem address_, item_;
};

}  // namespace qax_test

#endif  // QAX_TESTS_HARDENING_ITEMGRAPH_H_
