// Child links from ontology classes: one typed link per attribute of the
// selected class and of its parents, parents first.
#include <cstring>
#include <initializer_list>
#include <string_view>

#include "channel_extension/BoundedCopy.h"
#include "channel_extension/ChannelExtension.h"
#include "channel_extension/LinkRecord.h"
#include "channel_extension/LinkTypes.h"
#include "module/Diagnostics.h"
#include "ontology_item/Aco_QAXOntologyItem.h"
#include "ontology_item/ClassChain.h"

namespace {

using QAX::Ontology::MetaAttr;
using QAX::Ontology::MetaClass;
using QAX::Ontology::MetaClassLibrary;
using QAX::Ontology::OntologyModel;
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
    const std::size_t length =
        qaxoi::module::CopyPrefix(field + n, size - 1 - n, piece.data(), piece.size());
    n += length;
    if (length < piece.size()) break;  // cut at a zero character or at the field's end
  }
  std::memset(field + n, 0, size - n);
}

// The record of one attribute's link: typed by the attribute's kind, named by
// its qualified name. kUnmapped and an unknown kind give a default record, so
// that the attribute still takes its position.
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

// A copy of `record` to declare at `position`: a record with a non-negative
// Index carries its position.
ChildCreation DeclaredAt(const ChildCreation& record, std::size_t position) {
  ChildCreation declared = record;
  if (declared.Index >= 0) declared.Index = static_cast<std::int32_t>(position);
  return declared;
}

OntologyModel* LoadedModel() {
  return QAX::Util::SingletonObject<QAX::QAXAmbassador>::Instance().GetOntologyModel();
}

}  // namespace

void Aco_QAXOntologyItem::PrepareLinks(bool force) {
  const bool selected = SelectedLibrary != nullptr && SelectedClass != nullptr;
  const bool otherClass = selected && SelectedClass->GetInfo().handle != _classHandle;
  if (!otherClass && !force) return;

  SetChildCreationCount(0);
  SelectedClassLinks.clear();
  _linkDescriptions.clear();
  if (!selected) return;

  AllLinksOrNone([this] {
    PrepareLinksRec(SelectedClass);
    // The host declares no more links than its limit; the descriptions stay
    // equal to what it declared, so that a save loads back whole.
    std::size_t count = SelectedClassLinks.size();
    if (count > static_cast<std::size_t>(kMaxChildLinks)) {
      ReportError("Aco_QAXOntologyItem::PrepareLinks", "TooManyLinks.Count[%zu].Limit[%d]", count,
                  kMaxChildLinks);
      count = static_cast<std::size_t>(kMaxChildLinks);
    }
    _linkDescriptions.reserve(count);
    for (std::size_t i = 0; i < count; ++i) {
      const ChildCreation& record = SelectedClassLinks[i];
      SetChildCreateType(DeclaredAt(record, i), static_cast<int>(i));
      _linkDescriptions.emplace_back(record.Type.Name, record.LinkName);
    }
    CE_SetSelf(this);
  });
  ModeIsSet();
}

void Aco_QAXOntologyItem::PrepareLinksRec(const MetaClass* metaClass) {
  for (const MetaClass* cls : qaxoi::module::ClassChainFromRoot(metaClass)) {
    // The service keeps the list unchanged between calls; nothing here
    // changes the model, so the list is walked in place.
    for (const MetaAttr* attribute : cls->GetAttributes()) {
      SelectedClassLinks.push_back(LinkRecordOf(attribute->GetInfo()));
    }
  }
}

void Aco_QAXOntologyItem::ResetTemp() {
  SelectedLibrary = nullptr;
  SelectedClass = nullptr;
}

const MetaClass* Aco_QAXOntologyItem::GetCurrentMetaClass() const {
  const OntologyModel* model = LoadedModel();
  return model != nullptr ? model->GetMetaClass(_classHandle) : nullptr;
}

const std::vector<const MetaClassLibrary*> Aco_QAXOntologyItem::GetLibraries() const {
  const OntologyModel* model = LoadedModel();
  if (model == nullptr) return {};
  return model->GetLibraries();
}
