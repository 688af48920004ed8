// Writing channel groups: SaveGroup and SaveGroupToFile.
#include <cstdint>
#include <cstring>
#include <limits>
#include <map>

#include "host/sdk/A3dFileSaver.h"
#include "host/sdk/A3d_Channel.h"
#include "host/sdk/ByteCursor.h"
#include "host/sdk/ChannelHostState.h"
#include "host/sdk/Crc32c.h"
#include "host/sdk/FileBytes.h"
#include "host/sdk/GroupFile.h"
#include "host/sdk/GroupFileFormat.h"

namespace {

constexpr std::size_t kLargestField = std::numeric_limits<std::uint32_t>::max();

std::string Describe(int index, const A3d_Channel& channel) {
  const ChannelType type = channel.GetChannelType();
  const std::string name(type.Name, ::strnlen(type.Name, sizeof(type.Name)));
  return "channel " + std::to_string(index) + " (" + (name.empty() ? "" : name + " ") +
         GuidToString(type.TypeGuid) + ")";
}

// Appends the CRC-32C of `out` from byte `from` on.
void AppendChecksum(std::size_t from, std::vector<unsigned char>* out) {
  AppendU32(Crc32c(out->data() + from, out->size() - from), out);
}

// Stores `value` little-endian at `at`, over four bytes already appended.
void StoreU32(std::uint32_t value, std::size_t at, std::vector<unsigned char>* out) {
  for (int i = 0; i < 4; ++i) (*out)[at + static_cast<std::size_t>(i)] = (value >> (8 * i)) & 0xFFu;
}

// A text field: presence flag, then length and bytes. False when the text is
// too long to be stored.
bool AppendNarrowText(bool present, const std::string& text, std::vector<unsigned char>* out) {
  AppendU8(present ? 1 : 0, out);
  if (!present) return true;
  if (text.size() > kLargestField) return false;
  AppendU32(static_cast<std::uint32_t>(text.size()), out);
  AppendBytes(text.data(), text.size(), out);
  return true;
}

bool AppendWideText(bool present, const std::wstring& text, std::vector<unsigned char>* out) {
  AppendU8(present ? 1 : 0, out);
  if (!present) return true;
  if (text.size() > kLargestField) return false;
  AppendU32(static_cast<std::uint32_t>(text.size()), out);
  for (const wchar_t unit : text) AppendU32(static_cast<std::uint32_t>(unit), out);
  return true;
}

bool AppendHostState(const GroupFileHostState& state, std::vector<unsigned char>* out) {
  AppendU8(static_cast<std::uint8_t>(state.kind), out);
  switch (state.kind) {
    case HostStateKind::kNone:
      return true;
    case HostStateKind::kFloat:
      AppendFloat(state.value, out);
      return true;
    case HostStateKind::kText:
      return AppendNarrowText(state.hasText, state.text, out) &&
             AppendWideText(state.hasWideText, state.wideText, out);
    case HostStateKind::kVector:
      AppendFloat(state.vector.x, out);
      AppendFloat(state.vector.y, out);
      AppendFloat(state.vector.z, out);
      return true;
    case HostStateKind::kMatrix:
      for (const auto& row : state.matrix.m) {
        for (const float value : row) AppendFloat(value, out);
      }
      return true;
  }
  return false;
}

}  // namespace

qaxoi::Status SaveGroup(const char* groupName, const std::vector<A3d_Channel*>& channels,
                        std::vector<unsigned char>* bytes) {
  const auto fail = [&](const std::string& reason) {
    return qaxoi::Status::InvalidArgument(
        std::string("cannot save group") +
        (groupName != nullptr ? std::string(" '") + groupName + "'" : std::string()) + ": " +
        reason);
  };
  if (channels.size() > static_cast<std::size_t>(std::numeric_limits<std::int32_t>::max())) {
    return fail("too many channels");
  }
  std::map<const A3d_Channel*, std::int32_t> positions;
  for (std::size_t i = 0; i < channels.size(); ++i) {
    const int index = static_cast<int>(i);
    if (channels[i] == nullptr) return fail("channel " + std::to_string(index) + " is null");
    const auto inserted = positions.emplace(channels[i], index);
    if (!inserted.second) {
      return fail(Describe(index, *channels[i]) + " is the same channel as channel " +
                  std::to_string(inserted.first->second));
    }
  }

  std::vector<unsigned char> out;
  AppendBytes(kGroupFileMagic, sizeof(kGroupFileMagic), &out);
  AppendU32(kGroupFileVersion, &out);
  // The header's length, filled in once its fields are written.
  const std::size_t headerLengthAt = out.size();
  AppendU32(0, &out);
  if (!AppendNarrowText(groupName != nullptr, groupName != nullptr ? groupName : "", &out)) {
    return fail("the group name is too long");
  }
  AppendU32(static_cast<std::uint32_t>(channels.size()), &out);
  const std::size_t headerLength = out.size() - headerLengthAt - 4;
  if (headerLength > kLargestField) return fail("the group name is too long");
  StoreU32(static_cast<std::uint32_t>(headerLength), headerLengthAt, &out);
  AppendChecksum(0, &out);

  for (std::size_t i = 0; i < channels.size(); ++i) {
    const int index = static_cast<int>(i);
    A3d_Channel& channel = *channels[i];
    // The entry's length, filled in once the entry is written.
    const std::size_t entryStart = out.size();
    AppendU32(0, &out);
    AppendGuid(channel.GetChannelType().TypeGuid, &out);
    if (!AppendHostState(CaptureHostState(channel), &out)) {
      return fail(Describe(index, channel) + ": its text is too long");
    }

    A3dFileSaver saver;
    if (!channel.SaveChannel(saver))
      return fail(Describe(index, channel) + ": its SaveChannel failed");
    if (!saver.Ok()) {
      return fail(Describe(index, channel) +
                  ": its SaveChannel wrote a record whose data does not match its size");
    }
    const std::vector<unsigned char>& records = saver.Data();
    if (records.size() > kLargestField) {
      return fail(Describe(index, channel) + ": its records are too long");
    }
    AppendU32(static_cast<std::uint32_t>(records.size()), &out);
    AppendBytes(records.data(), records.size(), &out);

    const int linkCount = channel.GetChildCount();
    AppendU32(static_cast<std::uint32_t>(linkCount), &out);
    for (int slot = 0; slot < linkCount; ++slot) {
      const A3d_Channel* child = channel.GetChild(slot);
      if (child == nullptr) {
        AppendI32(-1, &out);
        continue;
      }
      const auto found = positions.find(child);
      if (found == positions.end()) {
        return fail(Describe(index, channel) + ": link " + std::to_string(slot) +
                    " holds a channel that is not in the group");
      }
      AppendI32(found->second, &out);
    }
    const std::size_t length = out.size() - entryStart - 4;
    if (length > kLargestField) return fail(Describe(index, channel) + ": its entry is too long");
    StoreU32(static_cast<std::uint32_t>(length), entryStart, &out);
    AppendChecksum(entryStart, &out);
  }
  bytes->swap(out);
  return qaxoi::Status::Ok();
}

qaxoi::Status SaveGroupToFile(const std::string& path, const char* groupName,
                              const std::vector<A3d_Channel*>& channels) {
  std::vector<unsigned char> bytes;
  const qaxoi::Status saved = SaveGroup(groupName, channels, &bytes);
  if (!saved.ok()) return saved.Prefixed("cannot save '" + path + "': ");
  return ReplaceFileAtomically(path, bytes);
}
