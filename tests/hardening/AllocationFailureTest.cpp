// Running out of memory at every allocation of the module's operations: each
// operation either completes or lets std::bad_alloc out, and leaves every
// object it touched valid (consistent, usable again with the same result,
// destructible). Leaks show in the sanitizer and valgrind runs.
#include <functional>
#include <iostream>
#include <memory>
#include <new>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "host/sdk/ChannelTypeRegistry.h"
#include "host/sdk/GroupFile.h"
#include "module/Module.h"
#include "tests/hardening/ItemGraph.h"
#include "tests/support/AllocationFailure.h"

namespace {

using QAX::Onto::OntologyItem;
using qax_test::ExpectConsistent;
using qax_test::ItemGraph;
using qax_test::PrepareFor;
using qax_test::SavedRecords;
using qax_test::TestModel;

// What the operations produce when nothing fails.
struct Reference {
  explicit Reference(const TestModel& model) {
    ItemGraph graph(model);
    item = graph.item().GetOntologyItem(true)->ToText();
    records = SavedRecords(graph.item());
    links = graph.item().GetLinkDescriptions();
    std::string error;
    EXPECT_TRUE(SaveGroup("Group", graph.Channels(), &group, &error)) << error;
  }
  std::string item;
  std::vector<unsigned char> records;
  std::vector<Aco_QAXOntologyItem::LinkDescription> links;
  std::vector<unsigned char> group;
};

// One operation under test, on objects of its own made before it runs.
class Operation {
 public:
  virtual ~Operation() = default;
  // Runs the operation; allocations may fail.
  virtual void Act() = 0;
  // Checks the objects afterwards (nothing fails any more); `completed` is
  // false when Act let std::bad_alloc out.
  virtual void Check(bool completed) = 0;
};

struct Context {
  const TestModel& model;
  const Reference& reference;
  const ChannelTypeRegistry& registry;
};

class PrepareLinks : public Operation {
 public:
  explicit PrepareLinks(const Context& c) : c_(c) {
    Aco_QAXOntologyItem::SelectedLibrary = c.model.library();
    Aco_QAXOntologyItem::SelectedClass = c.model.child();
  }
  void Act() override { channel_.PrepareLinks(true); }
  void Check(bool) override {
    ExpectConsistent(channel_);
    channel_.PrepareLinks(true);
    EXPECT_EQ(c_.reference.links, channel_.GetLinkDescriptions());
  }

 private:
  const Context& c_;
  Aco_QAXOntologyItem channel_;
};

class Rebuild : public Operation {
 public:
  explicit Rebuild(const Context& c) : c_(c), graph_(c.model) {}
  void Act() override { graph_.item().GetOntologyItem(true); }
  void Check(bool) override {
    ExpectConsistent(graph_.item());
    ExpectConsistent(graph_.address());
    // A part-built item must still answer for and take every attribute.
    if (OntologyItem* item = graph_.item().GetOntologyItem(false)) {
      for (const char* name : {"r_text", "r_bool", "p_int", "p_real", "c_address", "c_text"}) {
        std::string value;
        item->GetAttributeString(name, value);
        item->SetAttribute(name, "set again");
      }
    }
    EXPECT_EQ(c_.reference.item, graph_.item().GetOntologyItem(true)->ToText());
  }

 private:
  const Context& c_;
  ItemGraph graph_;
};

class SaveChannel : public Operation {
 public:
  explicit SaveChannel(const Context& c) : c_(c), graph_(c.model) {}
  void Act() override { graph_.item().SaveChannel(saver_); }
  void Check(bool completed) override {
    if (completed) {
      EXPECT_EQ(c_.reference.records, saver_.Data());
    }
    EXPECT_EQ(c_.reference.records, SavedRecords(graph_.item()));
  }

 private:
  const Context& c_;
  ItemGraph graph_;
  A3dFileSaver saver_;
};

class LoadChannel : public Operation {
 public:
  explicit LoadChannel(const Context& c) : c_(c) {
    PrepareFor(channel_, c.model, c.model.address());
  }
  void Act() override {
    A3dFileLoader loader(c_.reference.records.data(), c_.reference.records.size());
    channel_.LoadChannel(loader, nullptr);
  }
  void Check(bool) override {
    ExpectConsistent(channel_);
    A3dFileLoader loader(c_.reference.records.data(), c_.reference.records.size());
    EXPECT_TRUE(channel_.LoadChannel(loader, nullptr));
    EXPECT_EQ(c_.reference.links, channel_.GetLinkDescriptions());
    EXPECT_EQ("urn:lib:Child", channel_.GetClassHandle());
  }

 private:
  const Context& c_;
  Aco_QAXOntologyItem channel_;
};

class SaveGroupOperation : public Operation {
 public:
  explicit SaveGroupOperation(const Context& c) : c_(c), graph_(c.model) {}
  void Act() override { SaveGroup("Group", graph_.Channels(), &bytes_, &error_); }
  void Check(bool completed) override {
    if (completed) {
      EXPECT_EQ(c_.reference.group, bytes_) << error_;
    }
    std::vector<unsigned char> again;
    EXPECT_TRUE(SaveGroup("Group", graph_.Channels(), &again, &error_)) << error_;
    EXPECT_EQ(c_.reference.group, again);
  }

 private:
  const Context& c_;
  ItemGraph graph_;
  std::vector<unsigned char> bytes_;
  std::string error_;
};

class LoadGroupOperation : public Operation {
 public:
  explicit LoadGroupOperation(const Context& c) : c_(c) {}
  void Act() override {
    loaded_ = LoadGroup(c_.reference.group.data(), c_.reference.group.size(), c_.registry, &error_);
  }
  void Check(bool) override {
    // A module that cannot make a channel fails the load without throwing.
    if (!loaded_) {
      loaded_ =
          LoadGroup(c_.reference.group.data(), c_.reference.group.size(), c_.registry, &error_);
    }
    ASSERT_NE(nullptr, loaded_) << error_.Message();
    for (std::size_t i = 0; i < 2; ++i) {
      ExpectConsistent(*dynamic_cast<Aco_QAXOntologyItem*>(loaded_->Channel(i)));
    }
    std::vector<unsigned char> again;
    std::string error;
    EXPECT_TRUE(SaveGroup("Group", loaded_->Channels(), &again, &error)) << error;
    EXPECT_EQ(c_.reference.group, again);
  }

 private:
  const Context& c_;
  std::unique_ptr<LoadedGroup> loaded_;
  GroupFileError error_;
};

class Copy : public Operation {
 public:
  explicit Copy(const Context& c) : c_(c), graph_(c.model) { graph_.item().GetOntologyItem(true); }
  void Act() override { copy_ = std::make_unique<Aco_QAXOntologyItem>(graph_.item()); }
  void Check(bool completed) override {
    ExpectConsistent(graph_.item());
    EXPECT_EQ(c_.reference.item, graph_.item().GetOntologyItem(false)->ToText());
    ASSERT_EQ(completed, copy_ != nullptr);
    if (!completed) return;
    ExpectConsistent(*copy_);
    EXPECT_EQ(c_.reference.item, copy_->GetOntologyItem(false)->ToText());
    EXPECT_EQ(c_.reference.item, copy_->GetOntologyItem(true)->ToText());
  }

 private:
  const Context& c_;
  ItemGraph graph_;
  std::unique_ptr<Aco_QAXOntologyItem> copy_;
};

class Assign : public Operation {
 public:
  explicit Assign(const Context& c) : c_(c), graph_(c.model), group_("a group with a long name") {
    // The source's group name takes memory to copy, the target has none.
    graph_.item().SetChannelGroup(&group_);
    source_ = std::make_unique<Aco_QAXOntologyItem>(graph_.item());
    source_->GetOntologyItem(true);
    PrepareFor(target_, c.model, c.model.address());
    target_.GetOntologyItem(true);
  }
  void Act() override { target_ = *source_; }
  void Check(bool completed) override {
    // The target must serve itself, never the source it was assigned from.
    source_.reset();
    ExpectConsistent(target_);
    if (completed) {
      EXPECT_EQ(c_.reference.item, target_.GetOntologyItem(false)->ToText());
    }
    target_.GetOntologyItem(true);
  }

 private:
  const Context& c_;
  ItemGraph graph_;
  A3d_ChannelGroup group_;
  std::unique_ptr<Aco_QAXOntologyItem> source_;
  Aco_QAXOntologyItem target_;
};

using Factory = std::function<std::unique_ptr<Operation>(const Context&)>;

template <class T>
Factory Make() {
  return [](const Context& c) { return std::make_unique<T>(c); };
}

// Fails allocation n = 1, 2, ... of the operation, each time on new objects,
// until it runs without reaching the failure. Answers the number of
// allocations that were made to fail.
std::size_t FailEachAllocation(const Factory& make, const Context& context) {
  for (std::size_t n = 1;; ++n) {
    std::unique_ptr<Operation> operation = make(context);
    bool completed = true;
    bool failed = false;
    {
      qax_test::ScopedAllocationFailure failure(n);
      try {
        operation->Act();
      } catch (const std::bad_alloc&) {
        completed = false;
      }
      failed = qax_test::AllocationFailureHappened();
    }
    EXPECT_TRUE(completed || failed) << "allocation " << n;
    operation->Check(completed);
    operation.reset();
    if (!failed || ::testing::Test::HasFatalFailure()) return n - 1;
  }
}

class AllocationFailure : public ::testing::TestWithParam<std::pair<const char*, Factory>> {
 protected:
  static void SetUpTestSuite() {
    model_ = new TestModel();
    reference_ = new Reference(*model_);
    registry_ = new ChannelTypeRegistry();
    registry_->RegisterBuiltIns();
    registry_->Register(*GetType(), [] { return std::unique_ptr<A3d_Channel>(InitDLL()); });
  }
  static void TearDownTestSuite() {
    delete registry_;
    delete reference_;
    delete model_;
  }

  static TestModel* model_;
  static Reference* reference_;
  static ChannelTypeRegistry* registry_;
};

TestModel* AllocationFailure::model_ = nullptr;
Reference* AllocationFailure::reference_ = nullptr;
ChannelTypeRegistry* AllocationFailure::registry_ = nullptr;

TEST_P(AllocationFailure, CompletesOrThrowsAndLeavesValidObjects) {
  const std::size_t points =
      FailEachAllocation(GetParam().second, Context{*model_, *reference_, *registry_});
  EXPECT_GT(points, 0u);
  std::cout << GetParam().first << ": " << points << " allocations made to fail\n";
}

INSTANTIATE_TEST_SUITE_P(Operations, AllocationFailure,
                         ::testing::Values(std::make_pair("PrepareLinks", Make<PrepareLinks>()),
                                           std::make_pair("GetOntologyItem", Make<Rebuild>()),
                                           std::make_pair("SaveChannel", Make<SaveChannel>()),
                                           std::make_pair("LoadChannel", Make<LoadChannel>()),
                                           std::make_pair("SaveGroup", Make<SaveGroupOperation>()),
                                           std::make_pair("LoadGroup", Make<LoadGroupOperation>()),
                                           std::make_pair("Copy", Make<Copy>()),
                                           std::make_pair("Assignment", Make<Assign>())),
                         [](const auto& info) { return std::string(info.param.first); });

}  // namespace
