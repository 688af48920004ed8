#include "ontology_item/WalkLinks.h"

#include <algorithm>
#include <cstring>
#include <initializer_list>
#include <string_view>

#include "channel_extension/BoundedCopy.h"
#include "channel_extension/LinkRecord.h"
#include "channel_extension/LinkTypes.h"
#include "ontology_item/ClassChain.h"

namespace qaxoi::module {

namespace {

using QAX::Ontology::Info::AttrKind;
using QAX::Ontology::Info::AttrKindOf;

// Writes `pieces` one after another into the text field `field` of `size`
// bytes, as CopyFieldText writes their concatenation: cut to fit with its
// terminator, ending at a zero character, zero-filled behind.
void CopyFieldPieces(char* field, std::size_t size,
                     std::initializer_list<std::string_view> pieces) {
  std::size_t n = 0;
  for (const std::string_view piece : pieces) {
    const std::size_t length = CopyPrefix(field + n, size - 1 - n, piece.data(), piece.size());
    n += length;
    if (length < piece.size()) break;  // cut at a zero character or at the field's end
  }
  std::memset(field + n, 0, size - n);
}

// The type name of a link of `kind`; empty for a kind that gets the default
// record (whose type name is empty too).
std::string_view LinkTypeNameOf(AttrKind kind) {
  switch (kind) {
    case AttrKind::kText:
    case AttrKind::kTemporal:
      return kTextLinkTypeName;
    case AttrKind::kBoolean:
    case AttrKind::kInteger:
    case AttrKind::kReal:
      return kValueLinkTypeName;
    case AttrKind::kComplex:
      return kOntologyItemLinkTypeName;
    default:
      return std::string_view();
  }
}

// Whether `text` is `pieces` one after another.
bool IsConcatenation(std::string_view text, std::initializer_list<std::string_view> pieces) {
  for (const std::string_view piece : pieces) {
    if (text.substr(0, piece.size()) != piece) return false;
    text.remove_prefix(piece.size());
  }
  return text.empty();
}

}  // namespace

bool LinkGuidForTypeName(std::string_view typeName, _GUID* guid) {
  if (typeName == kTextLinkTypeName) {
    *guid = kTextLinkGuid;
  } else if (typeName == kValueLinkTypeName) {
    *guid = kValueLinkGuid;
  } else if (typeName == kOntologyItemLinkTypeName) {
    *guid = kOntologyItemLinkGuid;
  } else {
    return false;
  }
  return true;
}

ChildCreation LinkRecordOf(const QAX::Ontology::Info::MetaAttrInfo& info) {
  const AttrKind kind = AttrKindOf(info.kind);
  const std::string_view type = LinkTypeNameOf(kind);
  _GUID guid = kAnyTypeLinkGuid;
  if (!LinkGuidForTypeName(type, &guid)) return ChildCreation();
  // The type names are static texts, zero-terminated.
  ChildCreation record = MakeLinkRecord(guid, type.data(), "", 0, kDefaultLinkParam);
  // The qualified name, written in place rather than built as a string.
  CopyFieldPieces(record.LinkName, sizeof(record.LinkName),
                  {info.scopeName, ".", info.name,
                   kind == AttrKind::kComplex ? kComplexLinkSuffix : std::string_view()});
  return record;
}

std::string AttributeIri(const QAX::Ontology::OntologyModel& model,
                         const QAX::Ontology::Info::MetaAttrInfo& info) {
  std::string iri = model.GetNamespace(info.scopeName);
  if (!iri.empty()) iri += info.name;
  return iri;
}

bool WalkLink::NameIs(std::string_view text) const {
  if (named_ || attribute == nullptr) return Name() == text;
  const QAX::Ontology::Info::MetaAttrInfo& info = attribute->GetInfo();
  if (type.empty()) return text.empty();
  constexpr std::size_t kLongestName = sizeof(ChildCreation::LinkName) - 1;
  const bool complex = AttrKindOf(info.kind) == AttrKind::kComplex;
  const std::size_t length =
      info.scopeName.size() + 1 + info.name.size() + (complex ? kComplexLinkSuffix.size() : 0);
  // A name the field would cut is compared as cut.
  if (length > kLongestName || info.scopeName.find('\0') != std::string::npos ||
      info.name.find('\0') != std::string::npos)
    return Name() == text;
  return IsConcatenation(
      text, {info.scopeName, ".", info.name, complex ? kComplexLinkSuffix : std::string_view()});
}

const std::string& WalkLink::Name() const {
  if (named_) return name_;
  named_ = true;
  if (attribute == nullptr || type.empty()) return name_;
  constexpr std::size_t kLongestName = sizeof(ChildCreation::LinkName) - 1;
  const QAX::Ontology::Info::MetaAttrInfo& info = attribute->GetInfo();
  const bool complex = AttrKindOf(info.kind) == AttrKind::kComplex;
  // As the record's field holds it: up to a zero character, at most
  // kLongestName characters.
  name_.reserve(info.scopeName.size() + 1 + info.name.size() +
                (complex ? kComplexLinkSuffix.size() : 0));
  name_.append(info.scopeName).append(".").append(info.name);
  if (complex) name_.append(kComplexLinkSuffix);
  name_.resize(std::min({name_.size(), name_.find('\0'), kLongestName}));
  return name_;
}

bool WalkLink::IriIs(std::string_view text) const {
  if (ns.empty()) return text.empty();
  return IsConcatenation(text, {ns, Local()});
}

std::string WalkLink::Iri() const {
  if (ns.empty()) return std::string();
  std::string iri;
  iri.reserve(ns.size() + Local().size());
  iri.append(ns).append(Local());
  return iri;
}

std::string_view WalkLink::Local() const {
  if (attribute == nullptr) return {};
  return attribute->GetInfo().name;
}

Walk WalkLinksOf(const QAX::Ontology::MetaClass* metaClass,
                 const QAX::Ontology::OntologyModel& model, std::size_t limit) {
  Walk walk;
  std::vector<WalkLink>& links = walk.links;
  const std::vector<const QAX::Ontology::MetaClass*> chain = ClassChainFromRoot(metaClass);
  std::size_t count = 0;
  for (const QAX::Ontology::MetaClass* cls : chain) count += cls->GetAttributes().size();
  links.reserve(std::min(count, limit));
  // Attributes come in runs of one scope: its namespace is looked up once
  // per run, and kept once per run.
  constexpr std::size_t kNamespacesLookedBack = 8;
  const std::string* scope = nullptr;
  std::string_view ns;
  std::size_t space = 0;
  for (const QAX::Ontology::MetaClass* cls : chain) {
    for (const QAX::Ontology::MetaAttr* attribute : cls->GetAttributes()) {
      if (links.size() == limit) return walk;
      const QAX::Ontology::Info::MetaAttrInfo& info = attribute->GetInfo();
      if (scope == nullptr || *scope != info.scopeName) {
        scope = &info.scopeName;
        std::string found = model.GetNamespace(info.scopeName);
        if (found.empty()) {
          ns = std::string_view();
        } else {
          // Kept once among the last few kept: scopes alternate between a
          // few vocabularies.
          space = walk.namespaces.size();
          for (std::size_t back = 0; back < kNamespacesLookedBack && back < walk.namespaces.size();
               ++back) {
            if (walk.namespaces[walk.namespaces.size() - 1 - back] == found) {
              space = walk.namespaces.size() - 1 - back;
              break;
            }
          }
          if (space == walk.namespaces.size()) walk.namespaces.push_back(std::move(found));
          ns = walk.namespaces[space];
        }
      }
      WalkLink link;
      link.type = LinkTypeNameOf(AttrKindOf(info.kind));
      link.ns = ns;
      link.space = space;
      link.attribute = attribute;
      links.push_back(std::move(link));
    }
  }
  return walk;
}

bool SavedLinksFollowWalk(const QAX::Ontology::MetaClass* metaClass,
                          const QAX::Ontology::OntologyModel& model,
                          const std::vector<std::pair<std::string, std::string>>& saved,
                          const std::vector<std::string>& savedIris, std::vector<std::string>* iris,
                          std::size_t* walkCount) {
  constexpr std::size_t kLongestName = sizeof(ChildCreation::LinkName) - 1;
  const bool withIris = savedIris.size() == saved.size();
  if (iris != nullptr) iris->clear();
  // Another number of attributes is told before any text is compared.
  std::size_t count = 0;
  for (const QAX::Ontology::MetaClass* cls = metaClass; cls != nullptr && count <= saved.size();
       cls = cls->GetParent())
    count += cls->GetAttributes().size();
  if (count > saved.size() || (walkCount == nullptr && count != saved.size())) return false;
  if (walkCount != nullptr) *walkCount = count;
  // The walk read backwards, from the class's last attribute up to the
  // root's first, so that no list of the chain is needed: saved link i - 1
  // is the attribute before saved link i.
  std::size_t i = count;
  const std::string* scope = nullptr;
  std::string ns;
  for (const QAX::Ontology::MetaClass* cls = metaClass; cls != nullptr; cls = cls->GetParent()) {
    const std::vector<const QAX::Ontology::MetaAttr*>& attributes = cls->GetAttributes();
    for (auto it = attributes.rbegin(); it != attributes.rend(); ++it) {
      if (i == 0) return false;
      --i;
      const QAX::Ontology::Info::MetaAttrInfo& info = (*it)->GetInfo();
      const AttrKind kind = AttrKindOf(info.kind);
      const std::string_view type = LinkTypeNameOf(kind);
      const std::string& name = saved[i].second;
      if (saved[i].first != type || name.size() > kLongestName) return false;
      const bool named =
          type.empty() ? name.empty()
                       : IsConcatenation(name, {info.scopeName, ".", info.name,
                                                kind == AttrKind::kComplex ? kComplexLinkSuffix
                                                                           : std::string_view()});
      if (!named) return false;
      const bool iriWanted = iris != nullptr || (withIris && !savedIris[i].empty());
      if (!iriWanted) continue;
      if (scope == nullptr || *scope != info.scopeName) {
        scope = &info.scopeName;
        ns = model.GetNamespace(info.scopeName);
      }
      if (withIris && !savedIris[i].empty() &&
          (ns.empty() || !IsConcatenation(savedIris[i], {ns, info.name})))
        return false;
      // Only a model that knows namespaces gives IRIs to fill in.
      if (iris != nullptr && !ns.empty()) {
        if (iris->empty()) iris->resize(saved.size());
        (*iris)[i] = ns + info.name;
      }
    }
  }
  return i == 0;
}

}  // namespace qaxoi::module
