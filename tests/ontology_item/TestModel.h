// A small ontology model for the ontology item channel's tests, set on the
// ambassador for the lifetime of the object.
//
//   lib.Root    r_text (text), r_bool (boolean)
//   lib.Parent  p_int (integer), p_real (real)            parent Root
//   lib.Child   c_date (date), c_address (Address),       parent Parent
//               c_odd (unmapped), c_text (text)
//   lib.Address street (text), number (integer)
#ifndef QAX_TESTS_ONTOLOGY_ITEM_TESTMODEL_H_
#define QAX_TESTS_ONTOLOGY_ITEM_TESTMODEL_H_

#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "host/qax/model/QAX.h"
#include "ontology_item/Aco_QAXOntologyItem.h"
#include "ontology_item/ClassSelection.h"

namespace qaxoi::test {

// Sets its model on the ambassador for its lifetime; the class pointers are
// the model's own.
struct TestModel {
  TestModel();
  ~TestModel();
  TestModel(const TestModel&) = delete;
  TestModel& operator=(const TestModel&) = delete;

  // Adds a class to the library (null parent: a root class).
  QAX::Ontology::MetaClass* AddClass(const std::string& name,
                                     const QAX::Ontology::MetaClass* parentClass);

  std::unique_ptr<QAX::Ontology::OntologyModel> model;
  QAX::Ontology::MetaClassLibrary* library = nullptr;
  QAX::Ontology::MetaClass *root = nullptr, *parent = nullptr, *child = nullptr, *address = nullptr;
};

// Adds an attribute of `kind` with scope "lib".
void AddAttribute(QAX::Ontology::MetaClass* metaClass, const std::string& name,
                  QAX::Ontology::Info::AttrKind kind, const std::string& typeName = "T");

// The test model set for each test, with the engine's message log emptied.
class ItemTest : public ::testing::Test {
 protected:
  void SetUp() override { globalEngine->ShowDebugMessage.Clear(); }
  static const std::vector<std::string>& Shown() { return globalEngine->ShowDebugMessage.Shown(); }

  // Selects `metaClass` in the editor.
  void Select(const QAX::Ontology::MetaClass* metaClass) {
    Aco_QAXOntologyItem::SelectedLibrary = model_.library;
    Aco_QAXOntologyItem::SelectedClass = metaClass;
  }
  // Prepares `channel` for `metaClass` and gives it that class.
  static void Prepare(Aco_QAXOntologyItem& channel, const QAX::Ontology::MetaClass* metaClass) {
    qaxoi::module::ChooseClass(channel, *metaClass, true, qaxoi::module::ChannelNaming::kKeepName);
  }

  TestModel model_;
};

}  // namespace qaxoi::test

#endif  // QAX_TESTS_ONTOLOGY_ITEM_TESTMODEL_H_
