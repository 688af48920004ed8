#include <algorithm>
#include <deque>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "fuzz/FuzzSupport.h"
#include "fuzz/FuzzTargets.h"
#include "host/sdk/GroupFile.h"
#include "module/Module.h"
#include "ontology_item/ClassSelection.h"
#include "tests/support/ItemExtent.h"

namespace qaxoi::fuzz {
namespace {

using QAX::Onto::OntologyItem;
using QAX::Ontology::MetaClass;
using QAX::Ontology::OntologyModel;
using QAX::Ontology::Info::AttrKind;

// What a generated group may hold, small enough that one input runs in well
// under a second yet large enough for every shape: chains past the nesting
// limit, fan-ins of the link limit, classes at the end of long chains.
constexpr std::size_t kMostClasses = 8;
constexpr std::size_t kMostItemChannels = 300;
constexpr std::size_t kMostTexts = 4;
constexpr int kLongestClassChain = 5000;
constexpr std::size_t kWidestClass = A3d_Channel::kMaxChildLinks + 8;
// The links all channels of a group declare together; past it channels are
// of a narrow class of one item attribute.
constexpr int kMostLinks = 1 << 15;

// Reads the input as a stream of choices; past its end every choice is 0.
class Choices {
 public:
  Choices(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}
  unsigned Byte() { return at_ < size_ ? data_[at_++] : 0; }
  // A number below `bound` (> 0).
  std::size_t Pick(std::size_t bound) {
    const std::size_t drawn = (Byte() << 8) | Byte();
    return drawn % bound;
  }

 private:
  const std::uint8_t* data_;
  std::size_t size_;
  std::size_t at_ = 0;
};

// A model of generated classes: some narrow, some at the link limit, some at
// the end of a long chain, attributes of every kind, item attributes most.
std::unique_ptr<OntologyModel> GenerateModel(Choices& choices, std::vector<const MetaClass*>& out) {
  auto model = std::make_unique<OntologyModel>();
  QAX::Ontology::MetaClassLibrary* library = model->AddLibrary("gen");
  const auto addClass = [&](const std::string& name, const MetaClass* parent) {
    QAX::Ontology::Info::MetaClassInfo info;
    info.name = name;
    info.scopeName = "gen";
    info.handle = "urn:gen:" + name;
    return model->AddClass(library, info, parent);
  };
  static constexpr AttrKind kKinds[] = {AttrKind::kText,    AttrKind::kInteger, AttrKind::kReal,
                                        AttrKind::kComplex, AttrKind::kComplex, AttrKind::kComplex};
  const std::size_t classes = 1 + choices.Pick(kMostClasses);
  for (std::size_t c = 0; c < classes; ++c) {
    const MetaClass* parent =
        !out.empty() && choices.Pick(3) == 0 ? out[choices.Pick(out.size())] : nullptr;
    if (choices.Pick(8) == 0) {
      // A long chain of classes of one text attribute each.
      const int length = static_cast<int>(choices.Pick(kLongestClassChain));
      for (int i = 0; i < length; ++i) {
        MetaClass* link = addClass("L" + std::to_string(c) + "_" + std::to_string(i), parent);
        link->AddAttribute({"t" + std::to_string(i), "gen", KindValue(AttrKind::kText), "string"});
        parent = link;
      }
    }
    MetaClass* made = addClass("C" + std::to_string(c), parent);
    made->AddAttribute({"first", "gen", KindValue(AttrKind::kComplex), "T"});
    const std::size_t attributes =
        choices.Pick(4) == 0 ? choices.Pick(kWidestClass) : 1 + choices.Pick(6);
    for (std::size_t a = 0; a < attributes; ++a) {
      made->AddAttribute({"a" + std::to_string(a), "gen",
                          KindValue(kKinds[choices.Pick(std::size(kKinds))]), "T"});
    }
    out.push_back(made);
  }
  MetaClass* narrow = addClass("Narrow", nullptr);
  narrow->AddAttribute({"next", "gen", KindValue(AttrKind::kComplex), "T"});
  out.push_back(narrow);
  return model;
}

}  // namespace

std::string FuzzWellFormedGroup(const std::uint8_t* data, std::size_t size) {
  Choices choices(data, size);
  std::vector<const MetaClass*> classes;
  const std::unique_ptr<OntologyModel> model = GenerateModel(choices, classes);
  auto& ambassador = QAX::Util::SingletonObject<QAX::QAXAmbassador>::Instance();
  ambassador.SetOntologyModel(model.get());
  globalEngine->ShowDebugMessage.Clear();
  std::string problem;

  std::vector<unsigned char> file;
  std::size_t itemChannels = 0;
  {
    // The group as an editor makes it: item channels prepared for their
    // classes, text and value channels, links in chains, fan-ins and at
    // random, sharing and cycles included.
    std::deque<Aco_QAXOntologyItem> items(1 + choices.Pick(kMostItemChannels));
    std::deque<Aco_StringChannel> texts(1 + choices.Pick(kMostTexts));
    Aco_FloatChannel value;
    value.SetFloat(static_cast<float>(choices.Byte()) / 3.0f);
    for (Aco_StringChannel& text : texts) {
      text.SetString(std::string(choices.Pick(1 << 16), 'x').c_str());
    }
    int links = 0;
    for (Aco_QAXOntologyItem& item : items) {
      item.SetChannelType(*GetType());
      const MetaClass* chosen =
          links < kMostLinks ? classes[choices.Pick(classes.size())] : classes.back();
      qaxoi::module::PrepareLinksFor(item, chosen, true);
      links += item.GetChildCount();
      item.SetClassHandle(choices.Pick(16) == 0 ? std::string("urn:gen:Gone")
                                                : chosen->GetInfo().handle);
    }
    for (std::size_t i = 0; i < items.size(); ++i) {
      const std::size_t pattern = choices.Pick(4);
      const std::size_t hub = choices.Pick(items.size());
      const auto& links = items[i].GetLinkDescriptions();
      for (std::size_t link = 0; link < links.size(); ++link) {
        A3d_Channel* child = nullptr;
        if (links[link].first == "QAXOntologyItem") {
          child = pattern == 0   ? &items[(i + 1) % items.size()]
                  : pattern == 1 ? &items[hub]
                  : pattern == 2 ? &items[choices.Pick(items.size())]
                                 : nullptr;
        } else if (links[link].first == "Text") {
          child = &texts[pattern == 2 ? choices.Pick(texts.size()) : 0];
        } else if (links[link].first == "Value") {
          child = &value;
        }
        items[i].LinkChild(static_cast<int>(link), child);
      }
    }
    std::vector<A3d_Channel*> channels;
    channels.reserve(items.size() + texts.size() + 1);
    for (Aco_QAXOntologyItem& item : items) channels.push_back(&item);
    for (Aco_StringChannel& text : texts) channels.push_back(&text);
    channels.push_back(&value);
    itemChannels = items.size();
    const qaxoi::Status saved = SaveGroup("generated", channels, &file);
    if (!saved.ok()) problem = "a generated group fails to save: " + saved.message();
  }

  if (problem.empty()) {
    std::unique_ptr<LoadedGroup> loaded;
    const qaxoi::Status load = LoadGroup(file.data(), file.size(), Registry(), &loaded);
    if (!load.ok()) {
      problem = "a generated group fails to load: " + load.message();
    } else {
      // Every item channel built twice, in orders the input chooses, so that
      // rebuilds meet the items that earlier ones left.
      std::vector<Aco_QAXOntologyItem*> order;
      for (std::size_t i = 0; i < loaded->ChannelCount(); ++i) {
        if (auto* item = dynamic_cast<Aco_QAXOntologyItem*>(loaded->Channel(i)))
          order.push_back(item);
      }
      for (int pass = 0; pass < 2 && problem.empty(); ++pass) {
        if (choices.Pick(2) == 0) std::reverse(order.begin(), order.end());
        for (Aco_QAXOntologyItem* item : order) item->GetOntologyItem(true);
      }
      std::size_t total = 0;
      for (Aco_QAXOntologyItem* item : order) {
        const OntologyItem* held = item->GetOntologyItem(false);
        if (held == nullptr) continue;
        const auto [levels, cost] = qaxoi::test::LevelsAndCost(*held);
        total += cost;
        if (levels > Aco_QAXOntologyItem::kMaxNestingDepth) {
          problem = "an item nests " + std::to_string(levels) + " levels deep";
        } else if (cost > std::size_t{Aco_QAXOntologyItem::kMaxRebuildCost}) {
          problem = "an item costs " + std::to_string(cost) + " units";
        }
      }
      if (problem.empty() &&
          total > itemChannels * std::size_t{Aco_QAXOntologyItem::kMaxRebuildCost}) {
        problem = "the items of " + std::to_string(itemChannels) + " channels cost " +
                  std::to_string(total) + " units";
      }
    }
  }
  ambassador.SetOntologyModel(nullptr);
  return problem;
}

}  // namespace qaxoi::fuzz
