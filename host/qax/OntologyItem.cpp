#include "host/qax/OntologyItem.h"

#include <utility>

#include "host/qax/OntologyModel.h"
#include "host/qax/QAXAmbassador.h"

namespace QAX {
namespace Onto {

struct OntologyItem::Attribute {
  enum class Type { kText, kItem, kTextList, kItemList };

  explicit Attribute(std::string attributeName) : name(std::move(attributeName)) {}

  Attribute(const Attribute& other)
      : name(other.name), type(other.type), text(other.text), texts(other.texts) {
    if (other.item) item = std::make_unique<OntologyItem>(*other.item);
    items.reserve(other.items.size());
    for (const auto& element : other.items)
      items.push_back(std::make_unique<OntologyItem>(*element));
  }

  // Drops the current value. Nested items are taken out before they are
  // destroyed, so that their destruction never sees a half-cleared slot.
  void Clear() {
    std::unique_ptr<OntologyItem> oldItem = std::move(item);
    std::vector<std::unique_ptr<OntologyItem>> oldItems = std::move(items);
    items.clear();
    text.clear();
    texts.clear();
  }

  const std::string name;
  Type type = Type::kText;
  std::string text;
  std::unique_ptr<OntologyItem> item;
  std::vector<std::string> texts;
  std::vector<std::unique_ptr<OntologyItem>> items;
};

namespace {

void AppendQuoted(std::string& out, const std::string& text) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  out.push_back('"');
  for (const char c : text) {
    switch (c) {
      case '"':
        out.append("\\\"");
        break;
      case '\\':
        out.append("\\\\");
        break;
      case '\n':
        out.append("\\n");
        break;
      case '\r':
        out.append("\\r");
        break;
      case '\t':
        out.append("\\t");
        break;
      default: {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte == 0x7F) {
          out.append("\\x");
          out.push_back(kHex[byte >> 4]);
          out.push_back(kHex[byte & 0x0F]);
        } else {
          out.push_back(c);
        }
      }
    }
  }
  out.push_back('"');
}

void AppendIndent(std::string& out, int depth) {
  out.append(static_cast<std::size_t>(depth) * 2, ' ');
}

}  // namespace

OntologyItem::OntologyItem(const std::string& fqName) : fqName_(fqName) {}

OntologyItem::OntologyItem(const OntologyItem& other)
    : IOntologyItemCruncher(),
      IOntologyItemBase(),
      fqName_(other.fqName_),
      indexByName_(other.indexByName_) {
  attributes_.reserve(other.attributes_.size());
  for (const auto& attribute : other.attributes_) {
    attributes_.push_back(std::make_unique<Attribute>(*attribute));
  }
}

OntologyItem::~OntologyItem() = default;

OntologyItem* OntologyItem::Clone() const { return new OntologyItem(*this); }

OntologyItem::Attribute& OntologyItem::Slot(const std::string& name) {
  const auto it = indexByName_.find(name);
  if (it != indexByName_.end()) return *attributes_[it->second];
  // The attribute first, then its index: running out of memory in between
  // must never leave an index to an attribute that is not there.
  attributes_.push_back(std::make_unique<Attribute>(name));
  try {
    indexByName_.emplace(name, attributes_.size() - 1);
  } catch (...) {
    attributes_.pop_back();
    throw;
  }
  return *attributes_.back();
}

const OntologyItem::Attribute* OntologyItem::Find(const std::string& name) const {
  const auto it = indexByName_.find(name);
  return it == indexByName_.end() ? nullptr : attributes_[it->second].get();
}

void OntologyItem::SetAttribute(const std::string& name, const std::string& value) {
  // Copy first: `value` may be the very text being replaced.
  std::string text = value;
  Attribute& slot = Slot(name);
  slot.Clear();
  slot.type = Attribute::Type::kText;
  slot.text = std::move(text);
}

void OntologyItem::SetAttribute(const std::string& name, OntologyItem* value) {
  if (value == nullptr || value == this) return;
  const Attribute* const current = Find(name);
  if (current != nullptr && current->item.get() == value) return;
  std::unique_ptr<OntologyItem> owned(value);
  Attribute& slot = Slot(name);
  slot.Clear();
  slot.type = Attribute::Type::kItem;
  slot.item = std::move(owned);
}

bool OntologyItem::GetAttributeString(const std::string& name, std::string& value) const {
  const Attribute* const attribute = Find(name);
  if (attribute == nullptr || attribute->type != Attribute::Type::kText) return false;
  value = attribute->text;
  return true;
}

bool OntologyItem::GetAttributeInstance(const std::string& name, OntologyItem*& value) {
  const Attribute* const attribute = Find(name);
  if (attribute == nullptr || attribute->type != Attribute::Type::kItem) return false;
  value = attribute->item.get();
  return true;
}

std::string OntologyItem::GetClassHandle() const {
  const Ontology::OntologyModel* const model = _GetOntology();
  if (model == nullptr) return std::string();
  const Ontology::MetaClass* const cls = model->GetMetaClassByFQName(fqName_);
  return cls == nullptr ? std::string() : cls->GetInfo().handle;
}

std::vector<std::string> OntologyItem::GetAttributeNames() const {
  std::vector<std::string> names;
  names.reserve(attributes_.size());
  for (const auto& attribute : attributes_) names.push_back(attribute->name);
  return names;
}

std::string OntologyItem::ToText() const {
  std::string out;
  out.append(fqName_).push_back('\n');
  AppendText(out, 1);
  return out;
}

// Appends the attribute lines of this item at `depth` (its own name line is
// written by the caller).
void OntologyItem::AppendText(std::string& out, int depth) const {
  for (const auto& attribute : attributes_) {
    AppendIndent(out, depth);
    out.append(attribute->name).append(" = ");
    switch (attribute->type) {
      case Attribute::Type::kText:
        AppendQuoted(out, attribute->text);
        out.push_back('\n');
        break;
      case Attribute::Type::kItem:
        out.append(attribute->item->fqName_).push_back('\n');
        attribute->item->AppendText(out, depth + 1);
        break;
      case Attribute::Type::kTextList: {
        out.push_back('[');
        const char* separator = "";
        for (const std::string& text : attribute->texts) {
          out.append(separator);
          AppendQuoted(out, text);
          separator = ", ";
        }
        out.append("]\n");
        break;
      }
      case Attribute::Type::kItemList:
        out.append("[\n");
        for (const auto& element : attribute->items) {
          AppendIndent(out, depth + 1);
          out.append("- ").append(element->fqName_).push_back('\n');
          element->AppendText(out, depth + 2);
        }
        AppendIndent(out, depth);
        out.append("]\n");
        break;
    }
  }
}

void OntologyItem::DeclareConcept(const std::string& fqName) {
  std::string name = fqName;
  // Take the values out first: `fqName` may live inside one of them.
  std::vector<std::unique_ptr<Attribute>> old = std::move(attributes_);
  attributes_.clear();
  indexByName_.clear();
  fqName_ = std::move(name);
}

void OntologyItem::PutBaseTypeAttribute(const std::string& name, const std::string& value) {
  SetAttribute(name, value);
}

void OntologyItem::PutComplexTypeAttribute(const std::string& name, OntologyItem* value) {
  SetAttribute(name, value);
}

void OntologyItem::PutBaseTypeListAttribute(const std::string& name,
                                            const std::vector<std::string>& values) {
  std::vector<std::string> texts = values;
  Attribute& slot = Slot(name);
  slot.Clear();
  slot.type = Attribute::Type::kTextList;
  slot.texts = std::move(texts);
}

void OntologyItem::PutComplexTypeListAttribute(const std::string& name,
                                               const std::vector<OntologyItem*>& values) {
  std::vector<std::unique_ptr<OntologyItem>> items;
  items.reserve(values.size());
  for (OntologyItem* const value : values) {
    if (value != nullptr && value != this) items.emplace_back(value);
  }
  Attribute& slot = Slot(name);
  slot.Clear();
  slot.type = Attribute::Type::kItemList;
  slot.items = std::move(items);
}

bool OntologyItem::ConstructConcept() {
  const Ontology::OntologyModel* const model = _GetOntology();
  return model != nullptr && model->GetMetaClassByFQName(fqName_) != nullptr;
}

std::string OntologyItem::_GetType() const { return fqName_; }

const Ontology::OntologyModel* OntologyItem::_GetOntology() const {
  return Util::SingletonObject<QAXAmbassador>::Instance().GetOntologyModel();
}

bool OntologyItem::_Get(const std::string& name, std::string& value) const {
  return GetAttributeString(name, value);
}

void OntologyItem::_SetAttributeBaseType(const std::string& name, const std::string& value) {
  SetAttribute(name, value);
}

void OntologyItem::_SetAttributeComplexType(const std::string& name, OntologyItem* value) {
  SetAttribute(name, value);
}

void OntologyItem::_SetAttributeBaseTypeList(const std::string& name,
                                             const std::vector<std::string>& values) {
  PutBaseTypeListAttribute(name, values);
}

void OntologyItem::_SetAttributeComplexTypeList(const std::string& name,
                                                const std::vector<OntologyItem*>& values) {
  PutComplexTypeListAttribute(name, values);
}

}  // namespace Onto
}  // namespace QAX
