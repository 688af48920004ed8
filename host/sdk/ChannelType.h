// The host's record of a channel type.
#ifndef QAX_HOST_SDK_CHANNELTYPE_H_
#define QAX_HOST_SDK_CHANNELTYPE_H_

#include <cstddef>
#include <cstdint>

#include "host/sdk/Guid.h"
#include "host/sdk/HighPolyExport.h"

// Describes one channel type: its name, its own GUID and the GUID that link
// checks compare (a type may name another type's GUID as its base to be
// accepted wherever that type is). The record is plain data and crosses
// module boundaries by value; its layout is fixed (132 bytes).
struct HIGHPOLY_API ChannelType {
  // Zeroes every byte of the record.
  ChannelType();

  char Name[80];   // type name, zero-terminated, zero-filled behind
  _GUID TypeGuid;  // the type's own GUID
  _GUID BaseGuid;  // the GUID that link checks compare
  std::int32_t HostField0;
  std::int32_t HostField1;
  std::int32_t TypeFlags;  // set by the module that provides the type
  std::int32_t HostField2;
  std::int32_t TypeExtra;  // set by the module that provides the type
};

static_assert(sizeof(ChannelType) == 132, "ChannelType layout");
static_assert(offsetof(ChannelType, Name) == 0, "ChannelType layout");
static_assert(offsetof(ChannelType, TypeGuid) == 80, "ChannelType layout");
static_assert(offsetof(ChannelType, BaseGuid) == 96, "ChannelType layout");
static_assert(offsetof(ChannelType, HostField0) == 112, "ChannelType layout");
static_assert(offsetof(ChannelType, HostField1) == 116, "ChannelType layout");
static_assert(offsetof(ChannelType, TypeFlags) == 120, "ChannelType layout");
static_assert(offsetof(ChannelType, HostField2) == 124, "ChannelType layout");
static_assert(offsetof(ChannelType, TypeExtra) == 128, "ChannelType layout");

#endif  // QAX_HOST_SDK_CHANNELTYPE_H_
