// The module's instantiation of the channel extension and its free functions.
#include "channel_extension/ChannelExtension.h"

#include <cstring>

#include "channel_extension/BoundedCopy.h"

void CopyFieldText(char* field, std::size_t size, const char* text) {
  if (field == nullptr || size == 0) return;
  if (text == nullptr) text = "";
  // The copy reads no further than the terminator or the room in the field,
  // and copies forwards, which allows a text that lies in the field itself.
  const std::size_t n = bounded_copy::CopyTerminated(field, size, text);
  std::memset(field + n, 0, size - n);
}

bool ChannelBaseGuidMatch(A3d_Channel* ch, const _GUID& guid) {
  if (!CheckOrReport(ch != nullptr, "ChannelBaseGuidMatch", "ch")) return false;
  const ChannelType type = ch->GetChannelType();
  return type.BaseGuid == guid;
}

const char* GetChannelGroupName(A3d_Channel* ch) {
  if (!CheckOrReport(ch != nullptr, "GetChannelGroupName", "ch")) return "";
  A3d_ChannelGroup* const group = ch->GetChannelGroup();
  return group != nullptr ? group->GetGroupName() : "";
}

// The header's extern declaration already carries the export attribute, which
// GCC then reports as ignored here; other compilers need it on both.
#if defined(__GNUC__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wattributes"
#endif
template class QAXOI_API ChannelExtension<Aco_FloatChannel>;
#if defined(__GNUC__)
#pragma GCC diagnostic pop
#endif
