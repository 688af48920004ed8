// Child links from ontology classes: one typed link per attribute of the
// selected class and of its parents, parents first.
#include "channel_extension/ChannelExtension.h"
#include "channel_extension/LinkRecord.h"
#include "channel_extension/LinkTypes.h"
#include "module/Diagnostics.h"
#include "ontology_item/Aco_QAXOntologyItem.h"
#include "ontology_item/ClassChain.h"
#include "ontology_item/WalkLinks.h"

namespace {

using QAX::Ontology::MetaAttr;
using QAX::Ontology::MetaClass;
using QAX::Ontology::MetaClassLibrary;
using QAX::Ontology::OntologyModel;
using qaxoi::module::LinkRecordOf;

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
  _identity = LinkIdentity();
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
    // The links follow the walk; their attributes' IRIs go with them into the
    // file, so that a later release of the vocabulary binds them by identity.
    if (const OntologyModel* model = LoadedModel()) {
      _identity.iris.reserve(count);
      for (const QAX::Ontology::MetaClass* cls : qaxoi::module::ClassChainFromRoot(SelectedClass)) {
        for (const MetaAttr* attribute : cls->GetAttributes()) {
          if (_identity.iris.size() == count) break;
          _identity.iris.push_back(qaxoi::module::AttributeIri(*model, attribute->GetInfo()));
        }
      }
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
