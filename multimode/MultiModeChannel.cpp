// The module's one instantiation of the multi-mode channel, exported with its
// static registry so that every client of the module shares that registry.
#include "multimode/MultiModeChannel.h"

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
