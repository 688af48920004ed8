// The module's static objects, defined in one translation unit so that they
// are built in this order when the library is loaded and destroyed in the
// reverse order when it is unloaded: the diagnostic message text, the last
// prepared link records, the type descriptor. (The multi-mode registry is a
// static member of its class template, defined with the template.)
#include "module/StaticState.h"
#include "module/Diagnostics.h"
#include "ontology_item/Aco_QAXOntologyItem.h"

char DebugMessageBuffer[kDebugMessageBufferSize];
std::string DebugMessageText;

// The editor selection is plain pointers, zero before any code runs.
const QAX::Ontology::MetaClassLibrary* Aco_QAXOntologyItem::SelectedLibrary = nullptr;
const QAX::Ontology::MetaClass* Aco_QAXOntologyItem::SelectedClass = nullptr;
std::vector<ChildCreation> Aco_QAXOntologyItem::SelectedClassLinks;

namespace qax_module {

ChannelType TypeDescriptor;

}  // namespace qax_module
