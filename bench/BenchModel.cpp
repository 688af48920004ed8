#include "bench/BenchModel.h"

#include <cstdio>
#include <utility>

#include "module/Module.h"
#include "ontology_item/ClassSelection.h"

namespace qaxoi::bench {
namespace {

using QAX::Ontology::MetaClass;
using QAX::Ontology::OntologyModel;
using QAX::Ontology::Info::AttrKind;
using QAX::Ontology::Info::AttrKindOf;
using QAX::Ontology::Info::KindValue;
using QAX::Ontology::Info::MetaAttrInfo;
using QAX::Ontology::Info::MetaClassInfo;

constexpr const char* kLibraryName = "schema";
constexpr const char* kNamespace = "http://schema.org/";

MetaAttrInfo Attribute(const std::string& name, AttrKind kind) {
  MetaAttrInfo info;
  info.name = name;
  info.scopeName = kLibraryName;
  info.kind = KindValue(kind);
  info.typeName = kind == AttrKind::kComplex ? "Thing" : "Text";
  return info;
}

// The `index`-th of the kinds from kText up to `last`, taken in turn.
AttrKind InTurn(int index, AttrKind last) { return AttrKindOf(index % (KindValue(last) + 1)); }

std::string Numbered(const char* stem, int number) {
  char text[64];
  std::snprintf(text, sizeof(text), "%s%04d", stem, number);
  return text;
}

}  // namespace

BenchModel::BenchModel()
    : model_(std::make_unique<OntologyModel>()), library_(model_->AddLibrary(kLibraryName)) {
  QAX::Util::SingletonObject<QAX::QAXAmbassador>::Instance().SetOntologyModel(model_.get());
}

BenchModel::~BenchModel() {
  QAX::Util::SingletonObject<QAX::QAXAmbassador>::Instance().SetOntologyModel(nullptr);
}

AttrKind KindOf(AttributeMix mix, int index) {
  switch (mix) {
    case AttributeMix::kText:
      return AttrKind::kText;
    case AttributeMix::kBoolean:
      return AttrKind::kBoolean;
    case AttributeMix::kInteger:
      return AttrKind::kInteger;
    case AttributeMix::kReal:
      return AttrKind::kReal;
    case AttributeMix::kValues:
      return InTurn(index, AttrKind::kTemporal);
    case AttributeMix::kAllKinds:
      return InTurn(index, AttrKind::kComplex);
  }
  return AttrKind::kText;
}

const MetaClass* BenchModel::AddChain(const std::string& name, int attributes, AttributeMix mix) {
  const MetaClass* parent = nullptr;
  int next = 0;
  for (int level = 0; level < kChainLength; ++level) {
    MetaClassInfo info;
    info.name = name + std::to_string(level);
    info.scopeName = kLibraryName;
    info.handle = kNamespace + info.name;
    if (parent != nullptr) {
      info.parentName = parent->GetInfo().name;
      info.parentScopeName = kLibraryName;
    }
    MetaClass* added = model_->AddClass(library_, info, parent);
    const int last = attributes * (level + 1) / kChainLength;
    for (; next < last; ++next) {
      added->AddAttribute(Attribute(Numbered("propertyName", next), KindOf(mix, next)));
    }
    parent = added;
  }
  return parent;
}

const MetaClass* BenchModel::AddNestingClass(const std::string& name, int complex) {
  MetaClassInfo info;
  info.name = name;
  info.scopeName = kLibraryName;
  info.handle = kNamespace + name;
  MetaClass* added = model_->AddClass(library_, info, nullptr);
  added->AddAttribute(Attribute("label", AttrKind::kText));
  for (int i = 0; i < complex; ++i) {
    added->AddAttribute(Attribute(Numbered("member", i), AttrKind::kComplex));
  }
  return added;
}

std::unique_ptr<Aco_QAXOntologyItem> NewItemChannel(const BenchModel& /*model*/,
                                                    const MetaClass* metaClass) {
  auto channel = std::make_unique<Aco_QAXOntologyItem>();
  // As the host's registry does for every channel it makes.
  channel->SetChannelType(*GetType());
  qaxoi::module::ChooseClass(*channel, *metaClass, false, qaxoi::module::ChannelNaming::kKeepName);
  return channel;
}

ChannelGraph ValueGraph(const BenchModel& model, const MetaClass* metaClass) {
  ChannelGraph graph;
  std::unique_ptr<Aco_QAXOntologyItem> root = NewItemChannel(model, metaClass);
  graph.root = root.get();
  graph.itemChannels = 1;
  const std::vector<Aco_QAXOntologyItem::LinkDescription>& links = root->GetLinkDescriptions();
  for (std::size_t i = 0; i < links.size(); ++i) {
    std::unique_ptr<A3d_Channel> child;
    if (links[i].first == "Text") {
      auto text = std::make_unique<Aco_StringChannel>();
      text->SetString(
          Numbered("A text value of a real length, number ", static_cast<int>(i)).c_str());
      child = std::move(text);
    } else if (links[i].first == "Value") {
      auto number = std::make_unique<Aco_FloatChannel>();
      number->SetFloat(static_cast<float>(i) * 3.71f - 250.25f);
      child = std::move(number);
    } else {
      continue;
    }
    root->LinkChild(static_cast<int>(i), child.get());
    graph.channels.push_back(std::move(child));
  }
  graph.channels.push_back(std::move(root));
  return graph;
}

namespace {

// Makes an item channel at `level` and, below the last level, its item
// children; answers the new channel.
Aco_QAXOntologyItem* AddNested(const BenchModel& model, const MetaClass* nestingClass, int level,
                               int levels, int fanOut, ChannelGraph& graph) {
  std::unique_ptr<Aco_QAXOntologyItem> channel = NewItemChannel(model, nestingClass);
  Aco_QAXOntologyItem* const added = channel.get();
  graph.channels.push_back(std::move(channel));
  ++graph.itemChannels;

  auto label = std::make_unique<Aco_StringChannel>();
  label->SetString(Numbered("A label of a nested item, level ", level).c_str());
  added->LinkChild(0, label.get());
  graph.channels.push_back(std::move(label));
  if (level + 1 < levels) {
    for (int i = 0; i < fanOut; ++i) {
      added->LinkChild(1 + i, AddNested(model, nestingClass, level + 1, levels, fanOut, graph));
    }
  }
  return added;
}

}  // namespace

ChannelGraph NestedGraph(const BenchModel& model, const MetaClass* nestingClass, int levels,
                         int fanOut) {
  ChannelGraph graph;
  graph.root = AddNested(model, nestingClass, 0, levels, fanOut, graph);
  return graph;
}

}  // namespace qaxoi::bench
