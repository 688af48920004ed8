// The ontology model and the channel graphs that the benchmarks work on.
#ifndef QAX_BENCH_BENCHMODEL_H_
#define QAX_BENCH_BENCHMODEL_H_

#include <memory>
#include <string>
#include <vector>

#include "host/qax/model/QAX.h"
#include "host/sdk/HighPoly.h"
#include "ontology_item/Aco_QAXOntologyItem.h"

namespace qaxoi::bench {

// The attribute kinds that a benchmark class carries.
enum class AttributeMix {
  kText,      // AttrKind::kText
  kBoolean,   // AttrKind::kBoolean
  kInteger,   // AttrKind::kInteger
  kReal,      // AttrKind::kReal
  kValues,    // kText to kTemporal in turn: every kind a value child supplies
  kAllKinds,  // kText to kComplex in turn
};

// Classes are spread over a chain of this many classes, root first.
constexpr int kChainLength = 5;

// An ontology model built for the benchmarks and set on the ambassador for
// the lifetime of the object. Names have the length of real vocabularies'
// ("schema.propertyName0042"), so that texts are as long as in real use.
class BenchModel {
 public:
  BenchModel();
  ~BenchModel();
  BenchModel(const BenchModel&) = delete;
  BenchModel& operator=(const BenchModel&) = delete;

  QAX::Ontology::OntologyModel& model() { return *model_; }
  const QAX::Ontology::MetaClassLibrary* library() const { return library_; }

  // The last class of a new chain of kChainLength classes that together
  // declare `attributes` attributes of `mix`, spread evenly, the root's first.
  const QAX::Ontology::MetaClass* AddChain(const std::string& name, int attributes,
                                           AttributeMix mix);

  // A root class with one text attribute ("label") followed by `complex`
  // attributes of kind kComplex, for nested items.
  const QAX::Ontology::MetaClass* AddNestingClass(const std::string& name, int complex);

 private:
  std::unique_ptr<QAX::Ontology::OntologyModel> model_;
  QAX::Ontology::MetaClassLibrary* library_;
};

// The kind of the `index`-th attribute of `mix`.
QAX::Ontology::Info::AttrKind KindOf(AttributeMix mix, int index);

// Owns channels: a graph's root and everything linked below it.
struct ChannelGraph {
  Aco_QAXOntologyItem* root = nullptr;
  std::vector<std::unique_ptr<A3d_Channel>> channels;
  int itemChannels = 0;  // ontology item channels, the root included
};

// A new ontology item channel of `metaClass`, a class of `model`, as the
// host and the editor make one: its type set, its class chosen (ChooseClass:
// links prepared, class handle set, nothing left selected).
std::unique_ptr<Aco_QAXOntologyItem> NewItemChannel(const BenchModel& model,
                                                    const QAX::Ontology::MetaClass* metaClass);

// A channel of `metaClass` whose every link holds a child of the attribute's
// kind: a text channel for kText and kTemporal, a float channel for kBoolean,
// kInteger and kReal. kComplex links stay empty.
ChannelGraph ValueGraph(const BenchModel& model, const QAX::Ontology::MetaClass* metaClass);

// Ontology item channels of `nestingClass` (from AddNestingClass), each with
// a text child, nested `levels` deep with `fanOut` item children each (so a
// chain for a fan-out of 1). The deepest channels' complex links stay empty.
ChannelGraph NestedGraph(const BenchModel& model, const QAX::Ontology::MetaClass* nestingClass,
                         int levels, int fanOut);

}  // namespace qaxoi::bench

#endif  // QAX_BENCH_BENCHMODEL_H_
