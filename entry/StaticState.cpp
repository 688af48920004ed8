// The module's static objects, defined in one translation unit so that they
// are built in this order when the library is loaded and destroyed in the
// reverse order when it is unloaded: the diagnostic message text, the last
// prepared link records, the type descriptor, then the multi-mode registry's
// scratch lists, registration order and modes. Plain statics (pointers,
// counts, flags) are zero before any code runs.
#include "entry/StaticState.h"
#include "module/Diagnostics.h"
#include "ontology_item/Aco_QAXOntologyItem.h"

char DebugMessageBuffer[kDebugMessageBufferSize];
std::string DebugMessageText;

const QAX::Ontology::MetaClassLibrary* Aco_QAXOntologyItem::SelectedLibrary = nullptr;
const QAX::Ontology::MetaClass* Aco_QAXOntologyItem::SelectedClass = nullptr;
std::vector<ChildCreation> Aco_QAXOntologyItem::SelectedClassLinks;

namespace qaxoi::module {

ChannelType TypeDescriptor;

}  // namespace qaxoi::module

using ModuleModeChannel = MultiModeChannel<Aco_FloatChannel, Aco_QAXOntologyItem>;

template <>
std::vector<std::vector<ChildCreation>> ModuleModeChannel::_tempLinks{};
template <>
std::vector<unsigned int> ModuleModeChannel::_modeOrder{};
template <>
std::map<unsigned int, ModeDescription> ModuleModeChannel::_modes{};
template <>
unsigned int ModuleModeChannel::_refCount = 0;
template <>
bool ModuleModeChannel::_bModesInitialized = false;
