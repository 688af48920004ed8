// Choosing the class of an ontology item channel as the engine's editor
// does: select the class, prepare the channel's links from the selection,
// and clear the selection again.
//
// The selection, Aco_QAXOntologyItem::SelectedLibrary and SelectedClass, is
// static state shared by every channel of the process, used from the host's
// one thread like the channels themselves. Null in both means that nothing
// is selected: PrepareLinks(true) then leaves a channel without links, and
// PrepareLinks(false) leaves it as it is. The functions here hold a
// selection only while the channel is prepared: when they return, and when
// PrepareLinks lets std::bad_alloc out, both are null again, so that no
// later preparation takes a class chosen for another channel and nothing
// keeps pointing into a model that may be destroyed.
//
// Everything here is inline: the module exports nothing more for it. The
// names are the project's own, in qaxoi::module.
#ifndef QAX_ONTOLOGY_ITEM_CLASSSELECTION_H_
#define QAX_ONTOLOGY_ITEM_CLASSSELECTION_H_

#include "host/qax/model/QAX.h"
#include "ontology_item/Aco_QAXOntologyItem.h"

namespace qaxoi::module {

// Selects `metaClass` for as long as it lives: SelectedClass is `metaClass`
// and SelectedLibrary the library it belongs to (MetaClass::GetLibrary);
// a null class selects nothing (both null). Sets both to null when it goes,
// whatever was selected in between.
class ClassSelection {
 public:
  explicit ClassSelection(const QAX::Ontology::MetaClass* metaClass) {
    Aco_QAXOntologyItem::SelectedLibrary = metaClass != nullptr ? metaClass->GetLibrary() : nullptr;
    Aco_QAXOntologyItem::SelectedClass = metaClass;
  }
  ~ClassSelection() {
    Aco_QAXOntologyItem::SelectedLibrary = nullptr;
    Aco_QAXOntologyItem::SelectedClass = nullptr;
  }
  ClassSelection(const ClassSelection&) = delete;
  ClassSelection& operator=(const ClassSelection&) = delete;
};

// Prepares the links of `channel` from `metaClass` (null: no class):
// PrepareLinks(force) while ClassSelection selects it. `force` as for
// PrepareLinks: false rebuilds the links only for another class than the
// channel's handle. The class handle, the channel's name and its item stay
// as they are.
inline void PrepareLinksFor(Aco_QAXOntologyItem& channel, const QAX::Ontology::MetaClass* metaClass,
                            bool force) {
  const ClassSelection selection(metaClass);
  channel.PrepareLinks(force);
}

// Whether ChooseClass names the channel after its class.
enum class ChannelNaming {
  kKeepName,        // the channel keeps the name it has
  kNameAfterClass,  // SetAutoChannelName: "OItem:" and the class handle
};

// Gives `channel` the class `metaClass`: PrepareLinksFor(channel,
// &metaClass, force), then SetClassHandle with the class's handle (without
// it the channel's links take children but it builds no item), then, for
// kNameAfterClass, SetAutoChannelName.
inline void ChooseClass(Aco_QAXOntologyItem& channel, const QAX::Ontology::MetaClass& metaClass,
                        bool force, ChannelNaming naming) {
  PrepareLinksFor(channel, &metaClass, force);
  channel.SetClassHandle(metaClass.GetInfo().handle);
  if (naming == ChannelNaming::kNameAfterClass) channel.SetAutoChannelName();
}

}  // namespace qaxoi::module

#endif  // QAX_ONTOLOGY_ITEM_CLASSSELECTION_H_
