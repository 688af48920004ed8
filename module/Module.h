// The QAXOntologyItem channel module: its two entry points and its channel
// type.
//
// A host loads the module by path and resolves GetType and InitDLL by those
// plain names. The module contributes one channel type, "QAXOntologyItem":
// a float channel that stands for one class of the QAX ontology service.
// Diagnostics reach the host through module/Diagnostics.h.
#ifndef QAX_MODULE_MODULE_H_
#define QAX_MODULE_MODULE_H_

#include "host/sdk/HighPoly.h"
#include "module/Diagnostics.h"
#include "module/Export.h"
#include "module/TypeGuid.h"

extern "C" {

// The module's channel type descriptor: always the same record, owned by the
// module and never freed. Each call restores the name ("QAXOntologyItem",
// zero-filled), both GUIDs, TypeFlags (7) and TypeExtra (0); the other fields
// keep what the host wrote into them.
QAXOI_API ChannelType* GetType();

// A new "QAXOntologyItem" channel made with its default constructor. The
// caller owns it and destroys it through its virtual destructor. Answers
// null, and constructs nothing, when no storage can be had.
QAXOI_API A3d_Channel* InitDLL();

}  // extern "C"

#endif  // QAX_MODULE_MODULE_H_
