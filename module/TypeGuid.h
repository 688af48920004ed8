// The identity of the module's one channel type: its GUID, its name and its
// type flags, which the entry points hand to the host and child links name.
#ifndef QAX_MODULE_TYPEGUID_H_
#define QAX_MODULE_TYPEGUID_H_

#include <cstdint>

#include "host/sdk/Guid.h"

// The module's channel type GUID, {6B9BDE34-8AC5-11DF-94AA-11F5DED72085}.
inline constexpr _GUID kQAXOntologyItemTypeGuid = {
    0x6B9BDE34, 0x8AC5, 0x11DF, {0x94, 0xAA, 0x11, 0xF5, 0xDE, 0xD7, 0x20, 0x85}};

// The module's channel type name.
inline constexpr const char* kQAXOntologyItemTypeName = "QAXOntologyItem";

// The TypeFlags of the module's channel type descriptor.
inline constexpr std::int32_t kQAXOntologyItemTypeFlags = 7;

#endif  // QAX_MODULE_TYPEGUID_H_
