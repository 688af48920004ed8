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

std::vector<ItemAttribute> ItemAttributes(const QAX::Onto::OntologyItem& item) {
  // The item gives each attribute's values one after another, in attribute
  // order; an attribute that holds no single text or item holds a list.
  std::vector<ItemAttribute> attributes;
  item.ForEachValue(
      [&](const std::string& name, const std::string* text, const QAX::Onto::OntologyItem* nested) {
        if (attributes.empty() || attributes.back().name != name) {
          ItemAttribute attribute;
          attribute.name = name;
          std::string single;
          const QAX::Onto::OntologyItem* one = nullptr;
          attribute.list =
              !item.GetAttributeString(name, single) && !item.GetAttributeInstance(name, one);
          attributes.push_back(std::move(attribute));
        }
        if (text != nullptr) attributes.back().texts.push_back(*text);
        if (nested != nullptr) attributes.back().items.push_back(nested);
      });
  // A list that holds nothing gives no value, but is an attribute all the same.
  if (attributes.size() < item.GetAttributeNames().size()) {
    std::vector<ItemAttribute> all;
    std::size_t next = 0;
    for (std::string& name : item.GetAttributeNames()) {
      if (next < attributes.size() && attributes[next].name == name) {
        all.push_back(std::move(attributes[next++]));
      } else {
        all.push_back(ItemAttribute{std::move(name), true, {}, {}});
      }
    }
    attributes = std::move(all);
  }
  return attributes;
}

std::string ItemText(const QAX::Onto::OntologyItem& item,
                     const QAX::Ontology::OntologyModel& model) {
  std::string text = Escaped(ItemClassName(item, model)) + "\n";
  // The items being written, innermost last, each with its attributes, the
  // next one to write and, in a list of items, the next element.
  struct Frame {
    std::vector<ItemAttribute> attributes;
    std::size_t next;
    std::size_t element;
    std::size_t depth;
  };
  std::vector<Frame> frames;
  frames.push_back({ItemAttributes(item), 0, 0, 1});
  while (!frames.empty()) {
    Frame& frame = frames.back();
    if (frame.next == frame.attributes.size()) {
      frames.pop_back();
      continue;
    }
    const ItemAttribute& attribute = frame.attributes[frame.next];
    const std::size_t depth = frame.depth;
    if (!attribute.list) {
      ++frame.next;
      text.append(depth * kIndent, ' ').append(Escaped(attribute.name)).append(" = ");
      if (!attribute.texts.empty()) {
        text += Quoted(attribute.texts.front()) + "\n";
      } else if (!attribute.items.empty()) {
        const QAX::Onto::OntologyItem* nested = attribute.items.front();
        text += Escaped(ItemClassName(*nested, model)) + "\n";
        frames.push_back({ItemAttributes(*nested), 0, 0, depth + 1});  // `frame` is stale
      }
      continue;
    }
    if (attribute.items.empty()) {
      ++frame.next;
      text.append(depth * kIndent, ' ').append(Escaped(attribute.name)).append(" = [");
      const char* separator = "";
      for (const std::string& value : attribute.texts) {
        text.append(separator).append(Quoted(value));
        separator = ", ";
      }
      text += "]\n";
      continue;
    }
    if (frame.element == 0) {
      text.append(depth * kIndent, ' ').append(Escaped(attribute.name)).append(" = [\n");
    }
    if (frame.element < attribute.items.size()) {
      const QAX::Onto::OntologyItem* nested = attribute.items[frame.element++];
      text.append((depth + 1) * kIndent, ' ')
          .append("- ")
          .append(Escaped(ItemClassName(*nested, model)))
          .append("\n");
      frames.push_back({ItemAttributes(*nested), 0, 0, depth + 2});  // `frame` is stale
      continue;
    }
    text.append(depth * kIndent, ' ').append("]\n");
    frame.element = 0;
    ++frame.next;
  }
  return text;
}

}  // namespace qaxoi::qax_host
