// Running out of memory at every allocation of the module's operations: each
// operation either completes or lets std::bad_alloc out, and leaves every
// object it touched valid (consistent, usable again with the same result,
// destructible). Leaks show in the sanitizer and valgrind runs.
#include <functional>
#include <iostream>
#include <memory>
#include <new>
#include <ostream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "host/qax/rdf/Rdf.h"
#include "host/sdk/ChannelTypeRegistry.h"
#include "host/sdk/GroupFile.h"
#include "tests/hardening/ItemGraph.h"
#include "tests/support/AllocationFailure.h"

namespace {

using qaxoi::test::ExpectConsistent;

// The model, the registry, and what the operations produce when nothing fails.
struct Shared {
  Shared() {
    registry.RegisterBuiltIns();
    registry.Register(*GetType(), [] { return std::unique_ptr<A3d_Channel>(InitDLL()); });
    qaxoi::test::ItemGraph graph(model);
    item = graph.item.GetOntologyItem(true)->ToText();
    links = graph.item.GetLinkDescriptions();
    const qaxoi::Status saved = SaveGroup("Group", graph.Channels(), &group);
    EXPECT_TRUE(saved.ok()) << saved.message();
  }
  qaxoi::test::TestModel model;
  ChannelTypeRegistry registry;
  std::string item;
  std::vector<unsigned char> group;
  std::vector<Aco_QAXOntologyItem::LinkDescription> links;
};
std::unique_ptr<Shared> shared;

// Everything one attempt at an operation may touch, made before it runs.
struct World {
  qaxoi::test::ItemGraph graph{shared->model};
  A3d_ChannelGroup group{"a group with a long name"};
  Aco_QAXOntologyItem channel;
  std::vector<unsigned char> bytes;
  std::string error;
  qaxoi::Status status;  // of the last save or load
  std::unique_ptr<Aco_QAXOntologyItem> copy;
  std::unique_ptr<LoadedGroup> loaded;
  qaxoi::rdf::LoadedModel vocabulary;

  void LoadSharedGroup() {
    status = LoadGroup(shared->group.data(), shared->group.size(), shared->registry, &loaded);
  }
  // Saving the group of `channels` again gives the bytes of a group that
  // nothing made fail.
  void ExpectSavesTheGroup(const std::vector<A3d_Channel*>& channels) {
    std::vector<unsigned char> again;
    const qaxoi::Status saved = SaveGroup("Group", channels, &again);
    EXPECT_TRUE(saved.ok()) << saved.message();
    EXPECT_EQ(shared->group, again);
  }
};

struct Operation {
  const char* name;
  std::function<void(World&)> act;
  // Checks the objects afterwards (nothing fails any more); `completed` is
  // false when `act` let std::bad_alloc out.
  std::function<void(World&, bool completed)> check;
  std::function<void(World&)> setUp = [](World&) {};
};
void PrintTo(const Operation& operation, std::ostream* out) { *out << operation.name; }

// RDF/XML, whose parser calls back into the loader from C code: the
// failure must reach the caller with the parser freed.
constexpr char kRdfXml[] =
    "<rdf:RDF xmlns=\"http://e.org/#\" xmlns:rdf=\"http://www.w3.org/1999/02/22-rdf-syntax-ns#\" "
    "xmlns:rdfs=\"http://www.w3.org/2000/01/rdf-schema#\" "
    "xmlns:owl=\"http://www.w3.org/2002/07/owl#\" xml:base=\"http://e.org/\">"
    "<owl:Class rdf:ID=\"A\"/><owl:Class rdf:ID=\"B\"><rdfs:subClassOf rdf:resource=\"#A\"/>"
    "<rdfs:subClassOf><owl:Restriction><owl:onProperty rdf:resource=\"#p\"/>"
    "</owl:Restriction></rdfs:subClassOf></owl:Class>"
    "<owl:DatatypeProperty rdf:ID=\"p\"><rdfs:domain rdf:resource=\"#B\"/>"
    "</owl:DatatypeProperty></rdf:RDF>";

const Operation kOperations[] = {
    {"PrepareLinks",
     [](World& w) {
       qaxoi::module::ChooseClass(w.channel, *shared->model.child, true,
                                  qaxoi::module::ChannelNaming::kKeepName);
     },
     [](World& w, bool) {
       ExpectConsistent(w.channel);
       // The selection is cleared even when the preparation ran out of memory.
       EXPECT_EQ(nullptr, Aco_QAXOntologyItem::SelectedClass);
       qaxoi::module::PrepareLinksFor(w.channel, shared->model.child, true);
       EXPECT_EQ(shared->links, w.channel.GetLinkDescriptions());
     }},
    {"GetOntologyItem", [](World& w) { w.graph.item.GetOntologyItem(true); },
     [](World& w, bool) {
       ExpectConsistent(w.graph.item);
       ExpectConsistent(w.graph.address);
       // A part-built item must still answer for and take every attribute.
       if (QAX::Onto::OntologyItem* item = w.graph.item.GetOntologyItem(false)) {
         for (const char* name : {"r_text", "r_bool", "p_int", "p_real", "c_address", "c_text"}) {
           item->GetAttributeString(name, w.error);
           item->SetAttribute(name, "set again");
         }
       }
       EXPECT_EQ(shared->item, w.graph.item.GetOntologyItem(true)->ToText());
     }},
    // Saving the group saves each channel's records.
    {"SaveGroup", [](World& w) { w.status = SaveGroup("Group", w.graph.Channels(), &w.bytes); },
     [](World& w, bool completed) {
       EXPECT_TRUE(!completed || shared->group == w.bytes) << w.status.message();
       w.ExpectSavesTheGroup(w.graph.Channels());
     }},
    {"LoadGroup", [](World& w) { w.LoadSharedGroup(); },
     [](World& w, bool) {
       // A module that cannot make a channel fails the load without throwing.
       if (!w.loaded) w.LoadSharedGroup();
       ASSERT_NE(nullptr, w.loaded) << w.status.message();
       for (std::size_t i = 0; i < 2; ++i) {
         ExpectConsistent(*dynamic_cast<Aco_QAXOntologyItem*>(w.loaded->Channel(i)));
       }
       w.ExpectSavesTheGroup(w.loaded->Channels());
     }},
    {"LoadRdfXml",
     [](World& w) {
       w.status = qaxoi::rdf::LoadModelText(kRdfXml, qaxoi::rdf::RdfSyntax::kRdfXml, "a.rdf", "",
                                            &w.vocabulary);
     },
     [](World& w, bool completed) {
       if (!completed) {
         w.status = qaxoi::rdf::LoadModelText(kRdfXml, qaxoi::rdf::RdfSyntax::kRdfXml, "a.rdf", "",
                                              &w.vocabulary);
       }
       ASSERT_NE(nullptr, w.vocabulary.model) << w.status.message();
       EXPECT_EQ(2u, w.vocabulary.model->GetClassCount());
     }},
    {"Copy", [](World& w) { w.copy = std::make_unique<Aco_QAXOntologyItem>(w.graph.item); },
     [](World& w, bool completed) {
       ASSERT_EQ(completed, w.copy != nullptr);
       for (Aco_QAXOntologyItem* channel : {&w.graph.item, w.copy.get()}) {
         if (channel == nullptr) continue;
         ExpectConsistent(*channel);
         for (bool rebuild : {false, true}) {
           EXPECT_EQ(shared->item, channel->GetOntologyItem(rebuild)->ToText());
         }
       }
     },
     [](World& w) { w.graph.item.GetOntologyItem(true); }},
    // The source's group name takes memory to copy, the target has none.
    {"Assignment", [](World& w) { w.channel = *w.copy; },
     [](World& w, bool completed) {
       // The target must serve itself, never the source it was assigned from.
       w.copy.reset();
       ExpectConsistent(w.channel);
       EXPECT_TRUE(!completed || shared->item == w.channel.GetOntologyItem(false)->ToText());
       w.channel.GetOntologyItem(true);
     },
     [](World& w) {
       w.graph.item.SetChannelGroup(&w.group);
       w.copy = std::make_unique<Aco_QAXOntologyItem>(w.graph.item);
       w.copy->GetOntologyItem(true);
       qaxoi::module::ChooseClass(w.channel, *shared->model.address, true,
                                  qaxoi::module::ChannelNaming::kKeepName);
       w.channel.GetOntologyItem(true);
     }},
};

class AllocationFailure : public ::testing::TestWithParam<Operation> {
 protected:
  static void SetUpTestSuite() { shared = std::make_unique<Shared>(); }
  static void TearDownTestSuite() { shared.reset(); }
};

// Fails allocation n = 1, 2, ... of the operation, each time on new objects,
// until it runs without reaching the failure.
TEST_P(AllocationFailure, CompletesOrThrowsAndLeavesValidObjects) {
  std::size_t n = 1;
  for (bool failed = true; failed && !HasFatalFailure(); ++n) {
    auto world = std::make_unique<World>();
    GetParam().setUp(*world);
    bool completed = true;
    {
      qaxoi::test::ScopedAllocationFailure failure(n);
      try {
        GetParam().act(*world);
      } catch (const std::bad_alloc&) {
        completed = false;
      }
      failed = qaxoi::test::AllocationFailureHappened();
    }
    EXPECT_TRUE(completed || failed) << "allocation " << n;
    GetParam().check(*world, completed);
  }
  EXPECT_GT(n, 2u);
  std::cout << GetParam().name << ": " << n - 2 << " allocations made to fail\n";
}

INSTANTIATE_TEST_SUITE_P(Operations, AllocationFailure, ::testing::ValuesIn(kOperations),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
