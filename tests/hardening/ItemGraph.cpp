#include "tests/hardening/ItemGraph.h"

#include <string>

#include <gtest/gtest.h>

#include "module/Module.h"

namespace qax_test {

void PrepareFor(Aco_QAXOntologyItem& channel, const TestModel& model,
                const QAX::Ontology::MetaClass* metaClass) {
  Aco_QAXOntologyItem::SelectedLibrary = model.library();
  Aco_QAXOntologyItem::SelectedClass = metaClass;
  channel.PrepareLinks(true);
  channel.SetClassHandle(metaClass->GetInfo().handle);
}

void ExpectConsistent(Aco_QAXOntologyItem& channel) {
  const std::vector<Aco_QAXOntologyItem::LinkDescription>& links = channel.GetLinkDescriptions();
  const std::size_t declared = static_cast<std::size_t>(channel.GetChildCount());
  EXPECT_EQ(links.size(), declared);
  for (std::size_t i = 0; i < links.size() && i < declared; ++i) {
    const ChildCreation* record = channel.GetChildCreation(static_cast<int>(i));
    EXPECT_EQ(links[i].first, record->Type.Name) << i;
    EXPECT_EQ(links[i].second, record->LinkName) << i;
  }
  const std::string name = channel.GetChannelName() != nullptr ? channel.GetChannelName() : "";
  channel.SetChannelName("probe");
  EXPECT_STREQ("probe", channel.CE_GetOwnName());
  channel.SetChannelName(name.c_str());
}

std::vector<unsigned char> SavedRecords(Aco_QAXOntologyItem& channel) {
  A3dFileSaver saver;
  EXPECT_TRUE(channel.SaveChannel(saver));
  return saver.Data();
}

ItemGraph::ItemGraph(const TestModel& model)
    : text_(std::make_unique<Aco_StringChannel>()),
      number_(std::make_unique<Aco_FloatChannel>()),
      street_(std::make_unique<Aco_StringChannel>()),
      address_(std::make_unique<Aco_QAXOntologyItem>()),
      item_(std::make_unique<Aco_QAXOntologyItem>()) {
  text_->SetString("text");
  number_->SetFloat(2.5f);
  street_->SetString("Main Street");
  // Made here rather than by a host: they get their type as InitDLL's would.
  address_->SetChannelType(*GetType());
  item_->SetChannelType(*GetType());
  PrepareFor(*address_, model, model.address());
  address_->LinkChild(0, street_.get());
  address_->LinkChild(1, number_.get());
  PrepareFor(*item_, model, model.child());
  item_->LinkChild(0, text_.get());
  item_->LinkChild(1, number_.get());
  item_->LinkChild(3, number_.get());
  item_->LinkChild(5, address_.get());
  item_->LinkChild(7, text_.get());
}

std::vector<A3d_Channel*> ItemGraph::Channels() const {
  return {item_.get(), address_.get(), text_.get(), number_.get(), street_.get()};
}

}  // namespace qax_test
