#include "host/qax/model/OntologyItem.h"

#include <cstdint>
#include <utility>
#include <vector>

#include "host/qax/model/NameIndex.h"
#include "host/qax/model/OntologyModel.h"
#include "host/qax/model/QAXAmbassador.h"

namespace QAX {
namespace Onto {

struct OntologyItem::Attribute {
  enum class Type { kText, kItem, kTextList, kItemList };

  Attribute(std::string attributeName, std::uint32_t nameHash)
      : name(std::move(attributeName)), hash(nameHash) {}

  // A copy for another body without the nested items, which the copy of the
  // body fills in (CopyBody).
  Attribute(const Attribute& other)
      : name(other.name),
        hash(other.hash),
        type(other.type),
        text(other.text),
        texts(other.texts) {}
  Attribute(Attribute&&) noexcept = default;
  Attribute& operator=(const Attribute&) = delete;
  Attribute& operator=(Attribute&&) noexcept = default;

  std::string name;
  std::uint32_t hash;
  Type type = Type::kText;
  // Someone outside may hold a pointer to `item` or to an element of
  // `items`: the item took it over, or GetAttributeInstance handed it out.
  bool exposed = false;
  std::string text;
  std::unique_ptr<OntologyItem> item;
  std::vector<std::string> texts;
  std::vector<std::unique_ptr<OntologyItem>> items;
};

struct OntologyItem::Body {
  explicit Body(std::string name) : fqName(std::move(name)) {}
  // A copy of the attribute list without nested items (CopyBody adds them)
  // that nobody outside points into.
  Body(const Body& other)
      : fqName(other.fqName), attributes(other.attributes), index(other.index), exposed(0) {}
  Body& operator=(const Body&) = delete;

  // Drops the value of `slot`. Nested items are taken out before they are
  // destroyed, so that their destruction never sees a half-cleared slot.
  void Clear(Attribute& slot) {
    std::unique_ptr<OntologyItem> oldItem = std::move(slot.item);
    std::vector<std::unique_ptr<OntologyItem>> oldItems = std::move(slot.items);
    slot.items.clear();
    slot.text.clear();
    slot.texts.clear();
    if (slot.exposed) {
      slot.exposed = false;
      --exposed;
    }
  }

  void Expose(Attribute& slot) {
    if (slot.exposed) return;
    slot.exposed = true;
    ++exposed;
  }

  std::size_t Find(const std::string& name, std::uint32_t hash) const {
    return index.Find(name, hash, [this](std::size_t position) -> const std::string& {
      return attributes[position].name;
    });
  }

  std::string fqName;
  std::vector<Attribute> attributes;
  Util::NameIndex index;
  int exposed = 0;  // attributes with `exposed` set
  // Links the bodies that ReleaseBody has still to destroy.
  std::shared_ptr<Body> nextToRelease;
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

OntologyItem::OntologyItem(const std::string& fqName) : body_(std::make_shared<Body>(fqName)) {}

OntologyItem::OntologyItem(std::shared_ptr<Body> body) : body_(std::move(body)) {}

OntologyItem::OntologyItem(const OntologyItem& other)
    : IOntologyItemCruncher(),
      IOntologyItemBase(),
      body_(other.body_->exposed == 0 ? other.body_ : CopyBody(*other.body_)) {}

OntologyItem::~OntologyItem() { ReleaseBody(std::move(body_)); }

std::shared_ptr<OntologyItem::Body> OntologyItem::CopyBody(const Body& source) {
  auto copy = std::make_shared<Body>(source);
  // Bodies copied whose nested items are still to copy, level by level.
  std::vector<std::pair<Body*, const Body*>> pending{{copy.get(), &source}};
  const auto copyItem = [&pending](const OntologyItem& item) {
    std::unique_ptr<OntologyItem> clone(new OntologyItem(item.body_));
    if (item.body_->exposed != 0) {
      clone->body_ = std::make_shared<Body>(*item.body_);
      pending.emplace_back(clone->body_.get(), item.body_.get());
    }
    return clone;
  };
  while (!pending.empty()) {
    const auto [to, from] = pending.back();
    pending.pop_back();
    for (std::size_t i = 0; i < from->attributes.size(); ++i) {
      const Attribute& original = from->attributes[i];
      Attribute& attribute = to->attributes[i];
      if (original.item) attribute.item = copyItem(*original.item);
      attribute.items.reserve(original.items.size());
      for (const auto& element : original.items) attribute.items.push_back(copyItem(*element));
    }
  }
  return copy;
}

void OntologyItem::ReleaseBody(std::shared_ptr<Body> body) noexcept {
  // Bodies this call holds alone, chained through nextToRelease: each is
  // destroyed after its nested items' bodies are moved onto the chain, so
  // that destroying an item of any depth never recurses.
  std::shared_ptr<Body> chain;
  const auto adopt = [&chain](std::shared_ptr<Body>& owned) {
    if (!owned) return;
    if (owned.use_count() > 1) {
      owned.reset();  // others hold it: only this reference goes
      return;
    }
    owned->nextToRelease = std::move(chain);
    chain = std::move(owned);
  };
  adopt(body);
  while (chain) {
    std::shared_ptr<Body> doomed = std::move(chain);
    chain = std::move(doomed->nextToRelease);
    for (Attribute& attribute : doomed->attributes) {
      if (attribute.item) adopt(attribute.item->body_);
      for (auto& element : attribute.items) adopt(element->body_);
    }
  }  // `doomed` goes here, its nested items without bodies
}

OntologyItem* OntologyItem::Clone() const { return new OntologyItem(*this); }

const std::string& OntologyItem::GetFQName() const { return body_->fqName; }

OntologyItem::Body& OntologyItem::Own() {
  if (body_.use_count() > 1) body_ = CopyBody(*body_);
  return *body_;
}

OntologyItem::Attribute& OntologyItem::Slot(Body& body, const std::string& name) {
  const std::uint32_t hash = Util::NameIndex::Hash(name);
  const std::size_t found = body.Find(name, hash);
  if (found != Util::NameIndex::kNone) return body.attributes[found];
  // The attribute first, then its index: running out of memory in between
  // must never leave an index to an attribute that is not there.
  body.attributes.emplace_back(name, hash);
  try {
    body.index.Add(body.attributes.size() - 1, hash);
  } catch (...) {
    body.attributes.pop_back();
    throw;
  }
  return body.attributes.back();
}

const OntologyItem::Attribute* OntologyItem::Find(const std::string& name) const {
  const std::size_t found = body_->Find(name, Util::NameIndex::Hash(name));
  return found == Util::NameIndex::kNone ? nullptr : &body_->attributes[found];
}

void OntologyItem::SetAttribute(const std::string& name, const std::string& value) {
  // Copy first: `value` may be the very text being replaced.
  std::string text = value;
  Body& body = Own();
  Attribute& slot = Slot(body, name);
  body.Clear(slot);
  slot.type = Attribute::Type::kText;
  slot.text = std::move(text);
}

void OntologyItem::SetAttribute(const std::string& name, OntologyItem* value) {
  if (value == nullptr || value == this) return;
  const Attribute* const current = Find(name);
  if (current != nullptr && current->item.get() == value) return;
  std::unique_ptr<OntologyItem> owned(value);
  Body& body = Own();
  Attribute& slot = Slot(body, name);
  body.Clear(slot);
  slot.type = Attribute::Type::kItem;
  slot.item = std::move(owned);
  // The caller had the pointer and may keep it.
  body.Expose(slot);
}

bool OntologyItem::GetAttributeString(const std::string& name, std::string& value) const {
  const Attribute* const attribute = Find(name);
  if (attribute == nullptr || attribute->type != Attribute::Type::kText) return false;
  value = attribute->text;
  return true;
}

bool OntologyItem::GetAttributeInstance(const std::string& name, OntologyItem*& value) {
  const std::size_t position = body_->Find(name, Util::NameIndex::Hash(name));
  if (position == Util::NameIndex::kNone ||
      body_->attributes[position].type != Attribute::Type::kItem) {
    return false;
  }
  // The caller may change the item through the pointer: it must be this
  // item's alone.
  Body& body = Own();
  Attribute& slot = body.attributes[position];
  body.Expose(slot);
  value = slot.item.get();
  return true;
}

bool OntologyItem::GetAttributeInstance(const std::string& name, const OntologyItem*& value) const {
  const Attribute* const attribute = Find(name);
  if (attribute == nullptr || attribute->type != Attribute::Type::kItem) return false;
  value = attribute->item.get();
  return true;
}

std::string OntologyItem::GetClassHandle() const {
  const Ontology::OntologyModel* const model = _GetOntology();
  if (model == nullptr) return std::string();
  const Ontology::MetaClass* const cls = model->GetMetaClassByFQName(body_->fqName);
  return cls == nullptr ? std::string() : cls->GetInfo().handle;
}

std::vector<std::string> OntologyItem::GetAttributeNames() const {
  std::vector<std::string> names;
  names.reserve(body_->attributes.size());
  for (const Attribute& attribute : body_->attributes) names.push_back(attribute.name);
  return names;
}

void OntologyItem::ForEachValue(const std::function<void(const std::string&, const std::string*,
                                                         const OntologyItem*)>& visit) const {
  for (const Attribute& attribute : body_->attributes) {
    switch (attribute.type) {
      case Attribute::Type::kText:
        visit(attribute.name, &attribute.text, nullptr);
        break;
      case Attribute::Type::kItem:
        visit(attribute.name, nullptr, attribute.item.get());
        break;
      case Attribute::Type::kTextList:
        for (const std::string& text : attribute.texts) visit(attribute.name, &text, nullptr);
        break;
      case Attribute::Type::kItemList:
        for (const auto& element : attribute.items) visit(attribute.name, nullptr, element.get());
        break;
    }
  }
}

std::string OntologyItem::ToText() const {
  std::string out;
  out.append(body_->fqName).push_back('\n');
  // The items being written, innermost last: where each stands in its
  // attribute list (and in a list attribute's elements) and how deep.
  struct Frame {
    const Body* body;
    int depth;
    std::size_t attribute = 0;
    std::size_t element = 0;
  };
  std::vector<Frame> frames{{body_.get(), 1}};
  while (!frames.empty()) {
    Frame& frame = frames.back();
    if (frame.attribute == frame.body->attributes.size()) {
      frames.pop_back();
      continue;
    }
    const Attribute& attribute = frame.body->attributes[frame.attribute];
    const int depth = frame.depth;
    if (attribute.type != Attribute::Type::kItemList || frame.element == 0) {
      AppendIndent(out, depth);
      out.append(attribute.name).append(" = ");
    }
    switch (attribute.type) {
      case Attribute::Type::kText:
        AppendQuoted(out, attribute.text);
        out.push_back('\n');
        ++frame.attribute;
        break;
      case Attribute::Type::kItem:
        out.append(attribute.item->GetFQName()).push_back('\n');
        ++frame.attribute;
        frames.push_back({attribute.item->body_.get(), depth + 1});  // `frame` is stale now
        break;
      case Attribute::Type::kTextList: {
        out.push_back('[');
        const char* separator = "";
        for (const std::string& text : attribute.texts) {
          out.append(separator);
          AppendQuoted(out, text);
          separator = ", ";
        }
        out.append("]\n");
        ++frame.attribute;
        break;
      }
      case Attribute::Type::kItemList:
        if (frame.element == 0) out.append("[\n");
        if (frame.element < attribute.items.size()) {
          const OntologyItem& element = *attribute.items[frame.element++];
          AppendIndent(out, depth + 1);
          out.append("- ").append(element.GetFQName()).push_back('\n');
          frames.push_back({element.body_.get(), depth + 2});  // `frame` is stale now
        } else {
          AppendIndent(out, depth);
          out.append("]\n");
          frame.element = 0;
          ++frame.attribute;
        }
        break;
    }
  }
  return out;
}

void OntologyItem::DeclareConcept(const std::string& fqName) {
  // A new body, from a copy of `fqName` taken first: it may live inside one
  // of the values that go with the old body.
  std::shared_ptr<Body> fresh = std::make_shared<Body>(std::string(fqName));
  ReleaseBody(std::exchange(body_, std::move(fresh)));
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
  Body& body = Own();
  Attribute& slot = Slot(body, name);
  body.Clear(slot);
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
  Body& body = Own();
  Attribute& slot = Slot(body, name);
  body.Clear(slot);
  slot.type = Attribute::Type::kItemList;
  slot.items = std::move(items);
  // The caller had the pointers and may keep them.
  if (!slot.items.empty()) body.Expose(slot);
}

bool OntologyItem::ConstructConcept() {
  const Ontology::OntologyModel* const model = _GetOntology();
  return model != nullptr && model->GetMetaClassByFQName(body_->fqName) != nullptr;
}

std::string OntologyItem::_GetType() const { return body_->fqName; }

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
