#include "tools/qax-host/ItemText.h"

#include <vector>

#include "tools/qax-host/ChannelText.h"
#include "tools/qax-host/ClassNames.h"

namespace qaxoi::qax_host {

namespace {

// Blanks of indentation per level of nesting.
constexpr std::size_t kIndent = 2;

}  // namespace

std::string ItemClassName(const QAX::Onto::OntologyItem& item,
                          const QAX::Ontology::OntologyModel& model) {
  const QAX::Ontology::MetaClass* metaClass = model.GetMetaClassByFQName(item.GetFQName());
  return metaClass != nullptr ? ShownName(*metaClass) : item.GetFQName();
}

std::string ItemText(const QAX::Onto::OntologyItem& item,
                     const QAX::Ontology::OntologyModel& model) {
  std::string text = Escaped(ItemClassName(item, model)) + "\n";
  // The items being written, innermost last, each with its attributes and
  // the next one to write.
  struct Frame {
    const QAX::Onto::OntologyItem* item;
    std::vector<std::string> names;
    std::size_t next;
    std::size_t depth;
  };
  std::vector<Frame> frames;
  frames.push_back({&item, item.GetAttributeNames(), 0, 1});
  while (!frames.empty()) {
    Frame& frame = frames.back();
    if (frame.next == frame.names.size()) {
      frames.pop_back();
      continue;
    }
    const QAX::Onto::OntologyItem* current = frame.item;
    const std::string name = frame.names[frame.next++];
    const std::size_t depth = frame.depth;
    text.append(depth * kIndent, ' ').append(Escaped(name)).append(" = ");
    std::string value;
    const QAX::Onto::OntologyItem* nested = nullptr;
    if (current->GetAttributeString(name, value)) {
      text += Quoted(value) + "\n";
    } else if (current->GetAttributeInstance(name, nested) && nested != nullptr) {
      text += Escaped(ItemClassName(*nested, model)) + "\n";
      frames.push_back({nested, nested->GetAttributeNames(), 0, depth + 1});  // `frame` is stale
    } else {
      text += "(a list)\n";
    }
  }
  return text;
}

}  // namespace qaxoi::qax_host
