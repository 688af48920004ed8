// The multi-mode channel that the module's channel class derives from:
// MultiModeChannel<Aco_FloatChannel, Aco_QAXOntologyItem>, instantiated once
// in the module (ItemModeChannel.cpp) and exported with its registry.
//
// The registry's static members are explicit specializations defined in
// entry/StaticState.cpp, with the module's other static objects, so that it
// is built after them when the module is loaded and destroyed before them
// when it is unloaded. They are declared here, before anything could
// instantiate them.
//
// Clients use the module's instantiation and never make their own copy of its
// registry. GCC takes the visibility of a class when the class is first
// named: on ELF the specializations name it first, the attribute on the
// instantiation is reported as ignored, and the visibility of the class
// template and of its arguments exports it. A DLL exports only what carries
// dllexport, so on Windows the instantiation is declared first, imported or
// exported, and each specialization carries the attribute itself.
#ifndef QAX_ONTOLOGY_ITEM_ITEMMODECHANNEL_H_
#define QAX_ONTOLOGY_ITEM_ITEMMODECHANNEL_H_

#include <map>
#include <vector>

#include "host/sdk/HighPoly.h"
#include "module/Export.h"
#include "multimode/MultiModeChannel.h"

class QAXOI_API Aco_QAXOntologyItem;
#if defined(_WIN32)
extern template class QAXOI_API MultiModeChannel<Aco_FloatChannel, Aco_QAXOntologyItem>;
#define QAXOI_REGISTRY_API QAXOI_API
#else
#define QAXOI_REGISTRY_API
#endif
template <>
QAXOI_REGISTRY_API std::vector<std::vector<ChildCreation>>
    MultiModeChannel<Aco_FloatChannel, Aco_QAXOntologyItem>::_tempLinks;
template <>
QAXOI_REGISTRY_API std::vector<unsigned int>
    MultiModeChannel<Aco_FloatChannel, Aco_QAXOntologyItem>::_modeOrder;
template <>
QAXOI_REGISTRY_API std::map<unsigned int, ModeDescription>
    MultiModeChannel<Aco_FloatChannel, Aco_QAXOntologyItem>::_modes;
template <>
QAXOI_REGISTRY_API unsigned int MultiModeChannel<Aco_FloatChannel, Aco_QAXOntologyItem>::_refCount;
template <>
QAXOI_REGISTRY_API bool MultiModeChannel<Aco_FloatChannel, Aco_QAXOntologyItem>::_bModesInitialized;
#undef QAXOI_REGISTRY_API

#if !defined(_WIN32)
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wattributes"
#endif
extern template class QAXOI_API MultiModeChannel<Aco_FloatChannel, Aco_QAXOntologyItem>;
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic pop
#endif
#endif

#endif  // QAX_ONTOLOGY_ITEM_ITEMMODECHANNEL_H_
