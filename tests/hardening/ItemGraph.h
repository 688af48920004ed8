// A small graph of channels for the hardening tests: an ontology item channel
// of class lib.Child with a text, value and nested item child (itself an
// lib.Address channel with children of its own), over qax_test::TestModel.
#ifndef QAX_TESTS_HARDENING_ITEMGRAPH_H_
#define QAX_TESTS_HARDENING_ITEMGRAPH_H_

#include <memory>
#include <vector>

#include "ontology_item/Aco_QAXOntologyItem.h"
#include "tests/ontology_item/TestModel.h"

namespace qax_test {

// Selects `metaClass` in the editor, prepares `channel` for it and gives the
// channel that class.
void PrepareFor(Aco_QAXOntologyItem& channel, const TestModel& model,
                const QAX::Ontology::MetaClass* metaClass);

// Checks what must hold of every channel whatever happened to it: the host
// declares exactly the channel's link descriptions, and the channel's
// extension serves the channel itself (renames the channel to find out).
void ExpectConsistent(Aco_QAXOntologyItem& channel);

// The records `channel` saves.
std::vector<unsigned char> SavedRecords(Aco_QAXOntologyItem& channel);

class ItemGraph {
 public:
  explicit ItemGraph(const TestModel& model);

  Aco_QAXOntologyItem& item() { return *item_; }
  Aco_QAXOntologyItem& address() { return *address_; }
  // Every channel, the item first: what a group file of the graph holds.
  std::vector<A3d_Channel*> Channels() const;

 private:
  std::unique_ptr<Aco_StringChannel> text_;
  std::unique_ptr<Aco_FloatChannel> number_;
  std::unique_ptr<Aco_StringChannel> street_;
  std::unique_ptr<Aco_QAXOntologyItem> address_;
  std::unique_ptr<Aco_QAXOntologyItem> item_;
};

}  // namespace qax_test

#endif  // QAX_TESTS_HARDENING_ITEMGRAPH_H_
