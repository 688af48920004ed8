// The module's one builder of the host's link records (ChildCreation).
#ifndef QAX_CHANNEL_EXTENSION_LINKRECORD_H_
#define QAX_CHANNEL_EXTENSION_LINKRECORD_H_

#include <cstdint>

#include "host/sdk/HighPoly.h"
#include "module/Export.h"

// The LinkParam of a default-constructed record, which the module's own links
// keep.
inline constexpr std::int32_t kDefaultLinkParam = 1;

// A record that declares a link of the type `typeGuid` named `typeName`, the
// link's name `linkName`, at position `index` (-1 for an unindexed link),
// with `linkParam`. Both texts are cut to their fields (79 and 99
// characters) and the fields zero-filled behind them; a null text counts as
// empty. Every other field keeps ChildCreation's default.
QAXOI_API ChildCreation MakeLinkRecord(const _GUID& typeGuid, const char* typeName,
                                       const char* linkName, std::int32_t index,
                                       std::int32_t linkParam);

#endif  // QAX_CHANNEL_EXTENSION_LINKRECORD_H_
