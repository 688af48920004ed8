#include "ontology_item/WalkLinks.h"

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

// Appended to the link name of a complex attribute.
constexpr const char* kComplexLinkSuffix = " [TODO.TODO]";

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

ChildCreation LinkRecordOf(const QAX::Ontology::Info::MetaAttrInfo& info) {
  const AttrKind kind = AttrKindOf(info.kind);
  const auto typed = [&info, kind](const _GUID& typeGuid, const char* typeName) {
    ChildCreation record = MakeLinkRecord(typeGuid, typeName, "", 0, kDefaultLinkParam);
    // The qualified name, written in place rather than built as a string.
    CopyFieldPieces(
        record.LinkName, sizeof(record.LinkName),
        {info.scopeName, ".", info.name, kind == AttrKind::kComplex ? kComplexLinkSuffix : ""});
    return record;
  };
  switch (kind) {
    case AttrKind::kText:
    case AttrKind::kTemporal:
      return typed(kTextLinkGuid, kTextLinkTypeName);
    case AttrKind::kBoolean:
    case AttrKind::kInteger:
    case AttrKind::kReal:
      return typed(kValueLinkGuid, kValueLinkTypeName);
    case AttrKind::kComplex:
      return typed(kOntologyItemLinkGuid, kOntologyItemLinkTypeName);
    default:
      return ChildCreation();
  }
}

std::string AttributeIri(const QAX::Ontology::OntologyModel& model,
                         const QAX::Ontology::Info::MetaAttrInfo& info) {
  std::string iri = model.GetNamespace(info.scopeName);
  if (!iri.empty()) iri += info.name;
  return iri;
}

std::vector<WalkLink> WalkLinksOf(const QAX::Ontology::MetaClass* metaClass,
                                  const QAX::Ontology::OntologyModel& model, std::size_t limit) {
  std::vector<WalkLink> links;
  // Attributes come in runs of one scope: its namespace is looked up once
  // per run.
  const std::string* scope = nullptr;
  std::string ns;
  for (const QAX::Ontology::MetaClass* cls : ClassChainFromRoot(metaClass)) {
    for (const QAX::Ontology::MetaAttr* attribute : cls->GetAttributes()) {
      if (links.size() == limit) return links;
      const QAX::Ontology::Info::MetaAttrInfo& info = attribute->GetInfo();
      if (scope == nullptr || *scope != info.scopeName) {
        scope = &info.scopeName;
        ns = model.GetNamespace(info.scopeName);
      }
      links.push_back({LinkRecordOf(info), ns.empty() ? std::string() : ns + info.name, attribute});
    }
  }
  return links;
}

bool SavedLinksFollowWalk(const QAX::Ontology::MetaClass* metaClass,
                          const QAX::Ontology::OntologyModel& model,
                          const std::vector<std::pair<std::string, std::string>>& saved,
                          const std::vector<std::string>& savedIris,
                          std::vector<std::string>* iris) {
  constexpr std::size_t kLongestName = sizeof(ChildCreation::LinkName) - 1;
  const bool withIris = savedIris.size() == saved.size();
  std::size_t i = 0;
  const std::string* scope = nullptr;
  std::string ns;
  if (iris != nullptr) iris->clear();
  for (const QAX::Ontology::MetaClass* cls : ClassChainFromRoot(metaClass)) {
    for (const QAX::Ontology::MetaAttr* attribute : cls->GetAttributes()) {
      if (i == saved.size()) return false;
      const QAX::Ontology::Info::MetaAttrInfo& info = attribute->GetInfo();
      const AttrKind kind = AttrKindOf(info.kind);
      const std::string_view type = LinkTypeNameOf(kind);
      const std::string& name = saved[i].second;
      if (saved[i].first != type || name.size() > kLongestName) return false;
      const bool named =
          type.empty()
              ? name.empty()
              : IsConcatenation(name, {info.scopeName, ".", info.name,
                                       kind == AttrKind::kComplex ? kComplexLinkSuffix : ""});
      if (!named) return false;
      if (scope == nullptr || *scope != info.scopeName) {
        scope = &info.scopeName;
        ns = model.GetNamespace(info.scopeName);
      }
      if (withIris && !savedIris[i].empty() &&
          (ns.empty() || !IsConcatenation(savedIris[i], {ns, info.name})))
        return false;
      if (iris != nullptr) iris->push_back(ns.empty() ? std::string() : ns + info.name);
      ++i;
    }
  }
  return i == saved.size();
}

}  // namespace qaxoi::module
