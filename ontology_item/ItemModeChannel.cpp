// The module's one instantiation of the multi-mode channel, exported with its
// static registry so that every client of the module shares that registry,
// and the names by which multi-mode channels' messages name their operations.
#include "ontology_item/ItemModeChannel.h"

#include "multimode/MultiModeChannelDefinitions.h"

// Constant-initialized: ready before any static object of the module is
// built.
const MultiModeOperationNames kMultiModeOperationNames = {
    "MultiModeChannel<class Aco_FloatChannel,class Aco_QAXOntologyItem>::AddMode",
    "MultiModeChannel<class Aco_FloatChannel,class Aco_QAXOntologyItem>::GetModeNames",
    "MultiModeChannel<class Aco_FloatChannel,class Aco_QAXOntologyItem>::GetModeDescription",
    "MultiModeChannel<class Aco_FloatChannel,class Aco_QAXOntologyItem>::GetModeFromIndex",
    "MultiModeChannel<class Aco_FloatChannel,class Aco_QAXOntologyItem>::SetCurrentMode",
    "MultiModeChannel<class Aco_FloatChannel,class Aco_QAXOntologyItem>::SetCurrentModeFromIndex",
    "MultiModeChannel<class Aco_FloatChannel,class Aco_QAXOntologyItem>::CreateLink",
    "MultiModeChannel<class Aco_FloatChannel,class Aco_QAXOntologyItem>::GetChildLinkName",
    "MultiModeChannel<class Aco_FloatChannel,class Aco_QAXOntologyItem>::~MultiModeChannel",
    "MultiModeChannel<class Aco_FloatChannel,class Aco_QAXOntologyItem>::GetPrefixedMessage",
};

// The header's extern declaration already carries the export attribute, which
// GCC then reports as ignored here; other compilers need it on both.
#if defined(__GNUC__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wattributes"
#endif
template class QAXOI_API MultiModeChannel<Aco_FloatChannel, Aco_QAXOntologyItem>;
#if defined(__GNUC__)
#pragma GCC diagnostic pop
#endif
