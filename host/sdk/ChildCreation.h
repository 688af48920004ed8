// The host's record that declares one child link of a channel.
#ifndef QAX_HOST_SDK_CHILDCREATION_H_
#define QAX_HOST_SDK_CHILDCREATION_H_

#include <cstddef>
#include <cstdint>

#include "host/sdk/ChannelType.h"
#include "host/sdk/HighPolyExport.h"

// One child link: the channel type it takes, its position and its name. It is
// handed to A3d_Channel::SetChildCreateType by value. Layout fixed (264 bytes).
struct HIGHPOLY_API ChildCreation {
  // Runs ChannelType's constructor on Type, then sets both GUIDs of Type to
  // {11111111-1111-1111-1111-111111111111} (any type), Index to -1, the flags
  // to 0, LinkName to the empty text, ExtraGuid to the null GUID, ExtraInt to
  // 0 and LinkParam to 1.
  ChildCreation();

  ChannelType Type;    // Name: the link's type name; TypeGuid: its type
  std::int32_t Index;  // link position, or -1 for an unindexed link
  std::uint8_t Flag1;
  std::uint8_t Flag2;
  char LinkName[100];  // the link's name, zero-terminated
  _GUID ExtraGuid;
  std::int32_t ExtraInt;
  std::int32_t LinkParam;
};

static_assert(sizeof(ChildCreation) == 264, "ChildCreation layout");
static_assert(offsetof(ChildCreation, Type) == 0, "ChildCreation layout");
static_assert(offsetof(ChildCreation, Index) == 132, "ChildCreation layout");
static_assert(offsetof(ChildCreation, Flag1) == 136, "ChildCreation layout");
static_assert(offsetof(ChildCreation, Flag2) == 137, "ChildCreation layout");
static_assert(offsetof(ChildCreation, LinkName) == 138, "ChildCreation layout");
static_assert(offsetof(ChildCreation, ExtraGuid) == 240, "ChildCreation layout");
static_assert(offsetof(ChildCreation, ExtraInt) == 256, "ChildCreation layout");
static_assert(offsetof(ChildCreation, LinkParam) == 260, "ChildCreation layout");

#endif  // QAX_HOST_SDK_CHILDCREATION_H_
