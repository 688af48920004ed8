#include "host/sdk/GroupFileReader.h"

#include <cstring>
#include <limits>
#include <utility>

#include "host/sdk/A3dFileLoader.h"
#include "host/sdk/ByteCursor.h"
#include "host/sdk/CountText.h"
#include "host/sdk/Crc32c.h"

namespace {

// The smallest channel entry: type GUID, host state kind, section length and
// link count. Channel counts are checked against it before anything is
// reserved.
constexpr std::size_t kMinChannelEntrySize = 16 + 1 + 4 + 4;
// A version 2 entry also has its length before it and its checksum behind.
constexpr std::size_t kEntryFrameSize = 4 + 4;

constexpr const char* kDamaged = "(the file is damaged)";
constexpr std::size_t kLinkEntrySize = 4;
constexpr std::size_t kWideUnitSize = 4;

std::string Ends(const char* field, std::size_t left) {
  return std::string("the file ends inside the ") + field + " (" + CountOf(left, "byte", "bytes") +
         " left)";
}

// Where and why a field could not be read.
struct FieldFailure {
  std::size_t offset = 0;
  std::string reason;
};

// Reads the presence flag of a text: 0 for a null text, 1 for a present one.
bool ReadPresence(ByteCursor* cursor, const char* field, bool* present, FieldFailure* failure) {
  failure->offset = cursor->Offset();
  std::uint8_t flag = 0;
  if (!cursor->ReadU8(&flag)) {
    failure->reason = Ends(field, cursor->Remaining());
    return false;
  }
  if (flag > 1) {
    failure->reason = std::string("the ") + field + " is " + std::to_string(flag) +
                      ", neither 0 (null) nor 1 (present)";
    return false;
  }
  *present = flag == 1;
  return true;
}

// A narrow text: presence flag, then, when present, its byte length and bytes.
bool ReadNarrowText(ByteCursor* cursor, const std::string& field, bool* present, std::string* text,
                    FieldFailure* failure) {
  if (!ReadPresence(cursor, (field + " flag").c_str(), present, failure)) return false;
  text->clear();
  if (!*present) return true;
  failure->offset = cursor->Offset();
  std::uint32_t length = 0;
  if (!cursor->ReadU32(&length)) {
    failure->reason = Ends((field + " length").c_str(), cursor->Remaining());
    return false;
  }
  const unsigned char* bytes = nullptr;
  if (!cursor->ReadSpan(length, &bytes)) {
    failure->reason = "the " + field + " of " + CountOf(length, "byte", "bytes") +
                      " runs past the end of the file (" +
                      CountOf(cursor->Remaining(), "byte", "bytes") + " left)";
    return false;
  }
  text->assign(reinterpret_cast<const char*>(bytes), length);
  return true;
}

// A wide text: presence flag, then, when present, its count of code units and
// each unit as four bytes.
bool ReadWideText(ByteCursor* cursor, bool* present, std::wstring* text, FieldFailure* failure) {
  if (!ReadPresence(cursor, "wide text flag", present, failure)) return false;
  text->clear();
  if (!*present) return true;
  failure->offset = cursor->Offset();
  std::uint32_t count = 0;
  if (!cursor->ReadU32(&count)) {
    failure->reason = Ends("wide text length", cursor->Remaining());
    return false;
  }
  if (count > cursor->Remaining() / kWideUnitSize) {
    failure->reason = "the wide text of " + CountOf(count, "character", "characters") +
                      " runs past the end of the file (" +
                      CountOf(cursor->Remaining(), "byte", "bytes") + " left)";
    return false;
  }
  text->reserve(count);
  for (std::uint32_t i = 0; i < count; ++i) {
    std::uint32_t unit = 0;
    cursor->ReadU32(&unit);  // fits: checked above
    text->push_back(static_cast<wchar_t>(unit));
  }
  return true;
}

bool ReadFloats(ByteCursor* cursor, float* values, int count, const char* field,
                FieldFailure* failure) {
  failure->offset = cursor->Offset();
  if (cursor->Remaining() < static_cast<std::size_t>(count) * 4) {
    failure->reason = Ends(field, cursor->Remaining());
    return false;
  }
  for (int i = 0; i < count; ++i) cursor->ReadFloat(&values[i]);
  return true;
}

bool ReadHostState(ByteCursor* cursor, GroupFileHostState* state, FieldFailure* failure) {
  failure->offset = cursor->Offset();
  std::uint8_t kind = 0;
  if (!cursor->ReadU8(&kind)) {
    failure->reason = Ends("host state kind", cursor->Remaining());
    return false;
  }
  state->kind = static_cast<HostStateKind>(kind);
  switch (state->kind) {
    case HostStateKind::kNone:
      return true;
    case HostStateKind::kFloat:
      return ReadFloats(cursor, &state->value, 1, "float value", failure);
    case HostStateKind::kText:
      return ReadNarrowText(cursor, "narrow text", &state->hasText, &state->text, failure) &&
             ReadWideText(cursor, &state->hasWideText, &state->wideText, failure);
    case HostStateKind::kVector: {
      float values[3];
      if (!ReadFloats(cursor, values, 3, "vector", failure)) return false;
      state->vector = D3DXVECTOR3{values[0], values[1], values[2]};
      return true;
    }
    case HostStateKind::kMatrix:
      return ReadFloats(cursor, &state->matrix.m[0][0], 16, "matrix", failure);
  }
  failure->reason = "unknown host state kind " + std::to_string(kind);
  return false;
}

}  // namespace

GroupFileReader::GroupFileReader(const void* data, std::size_t size, Damage damage)
    : data_(static_cast<const unsigned char*>(data)),
      size_(data != nullptr ? size : 0),
      position_(0),
      stage_(Stage::kHeader),
      damage_(damage),
      readingDamaged_(false),
      version_(0),
      channelCount_(0),
      nextChannel_(0) {}

bool GroupFileReader::Fail(std::size_t offset, int channel, const _GUID* type, std::string reason,
                           GroupFileError* error) {
  stage_ = Stage::kFailed;
  if (error != nullptr) {
    *error = GroupFileError();
    error->offset = offset;
    error->channel = channel;
    if (type != nullptr) {
      error->hasType = true;
      error->typeGuid = *type;
    }
    error->reason = readingDamaged_ ? std::string(channel >= 0 ? "the channel's" : "the header's") +
                                          " checksum does not match " + kDamaged + ", and " + reason
                                    : std::move(reason);
  }
  return false;
}

bool GroupFileReader::ReadHeader(GroupFileHeader* header, GroupFileError* error) {
  if (stage_ != Stage::kHeader) {
    return Fail(position_, -1, nullptr, "the header was already read, or reading failed", error);
  }
  const std::size_t magicSize = sizeof(kGroupFileMagic);
  const std::size_t present = size_ < magicSize ? size_ : magicSize;
  if (present > 0 && std::memcmp(data_, kGroupFileMagic, present) != 0) {
    return Fail(0, -1, nullptr, "wrong magic: this is not a channel group file", error);
  }
  if (present < magicSize) return Fail(0, -1, nullptr, Ends("magic", size_), error);

  ByteCursor cursor(data_, size_, magicSize);
  GroupFileHeader read;
  const std::size_t versionOffset = cursor.Offset();
  if (!cursor.ReadU32(&read.version)) {
    return Fail(versionOffset, -1, nullptr, Ends("format version", cursor.Remaining()), error);
  }
  if (read.version == 0) {
    return Fail(versionOffset, -1, nullptr, "format version 0 does not exist", error);
  }
  if (read.version > kGroupFileVersion) {
    return Fail(versionOffset, -1, nullptr,
                "format version " + std::to_string(read.version) +
                    " is newer than this host reads (up to " + std::to_string(kGroupFileVersion) +
                    ")",
                error);
  }
  // A version 2 header gives the length of its fields, so that its checksum
  // is checked before any of them is used.
  const bool checksummed = read.version >= kFirstChecksummedGroupFileVersion;
  std::size_t fieldsEnd = size_;
  if (checksummed) {
    const std::size_t lengthOffset = cursor.Offset();
    std::uint32_t length = 0;
    if (!cursor.ReadU32(&length)) {
      return Fail(lengthOffset, -1, nullptr, Ends("header length", cursor.Remaining()), error);
    }
    if (cursor.Remaining() < 4 || length > cursor.Remaining() - 4) {
      return Fail(lengthOffset, -1, nullptr,
                  "the header of " + CountOf(length, "byte", "bytes") +
                      " and its checksum run past the end of the file (" +
                      CountOf(cursor.Remaining(), "byte", "bytes") + " left)",
                  error);
    }
    fieldsEnd = cursor.Offset() + length;
    ByteCursor trailer(data_, size_, fieldsEnd);
    std::uint32_t stored = 0;
    trailer.ReadU32(&stored);  // fits: checked above
    read.checksumMatches = Crc32c(data_, fieldsEnd) == stored;
    readingDamaged_ = !read.checksumMatches;
    if (readingDamaged_ && damage_ == Damage::kRefuse) {
      readingDamaged_ = false;
      return Fail(0, -1, nullptr, std::string("the header's checksum does not match ") + kDamaged,
                  error);
    }
    cursor = ByteCursor(data_, fieldsEnd, cursor.Offset());
  }
  FieldFailure failure;
  if (!ReadNarrowText(&cursor, "group name", &read.hasGroupName, &read.groupName, &failure)) {
    return Fail(failure.offset, -1, nullptr, failure.reason, error);
  }
  const std::size_t countOffset = cursor.Offset();
  if (!cursor.ReadU32(&read.channelCount)) {
    return Fail(countOffset, -1, nullptr, Ends("channel count", cursor.Remaining()), error);
  }
  if (checksummed) {
    if (cursor.Offset() != fieldsEnd) {
      return Fail(cursor.Offset(), -1, nullptr,
                  CountOf(fieldsEnd - cursor.Offset(), "byte", "bytes") + " of the header " +
                      (fieldsEnd - cursor.Offset() == 1 ? "follows" : "follow") +
                      " its channel count",
                  error);
    }
    cursor = ByteCursor(data_, size_, fieldsEnd + 4);  // behind the checksum
  }
  const std::size_t minEntrySize = kMinChannelEntrySize + (checksummed ? kEntryFrameSize : 0);
  if (read.channelCount > cursor.Remaining() / minEntrySize ||
      read.channelCount > static_cast<std::uint32_t>(std::numeric_limits<std::int32_t>::max())) {
    return Fail(countOffset, -1, nullptr,
                CountOf(read.channelCount, "channel", "channels") + " cannot fit in the " +
                    CountOf(cursor.Remaining(), "byte", "bytes") + " left (each takes at least " +
                    std::to_string(minEntrySize) + ")",
                error);
  }
  readingDamaged_ = false;
  *header = std::move(read);
  version_ = header->version;
  position_ = cursor.Offset();
  channelCount_ = header->channelCount;
  nextChannel_ = 0;
  stage_ = channelCount_ == 0 ? Stage::kEnd : Stage::kChannels;
  return true;
}

bool GroupFileReader::ReadChannel(GroupFileChannel* channel, GroupFileError* error) {
  if (stage_ != Stage::kChannels) {
    return Fail(position_, -1, nullptr,
                "no channel to read: the header was not read, all channels were, or reading "
                "failed",
                error);
  }
  const int index = static_cast<int>(nextChannel_);
  *channel = GroupFileChannel();
  channel->index = index;
  channel->offset = position_;

  // A version 2 entry is read only once its checksum matches, and only up
  // to its own end: its fields cannot reach into the next entry.
  std::size_t entryEnd = size_;
  std::size_t fieldsStart = position_;
  if (version_ >= kFirstChecksummedGroupFileVersion) {
    ByteCursor frame(data_, size_, position_);
    std::uint32_t length = 0;
    if (!frame.ReadU32(&length)) {
      return Fail(channel->offset, index, nullptr,
                  Ends("channel's entry length", frame.Remaining()), error);
    }
    if (frame.Remaining() < 4 || length > frame.Remaining() - 4) {
      return Fail(channel->offset, index, nullptr,
                  "the channel's entry of " + CountOf(length, "byte", "bytes") +
                      " and its checksum run past the end of the file (" +
                      CountOf(frame.Remaining(), "byte", "bytes") + " left)",
                  error);
    }
    fieldsStart = frame.Offset();
    entryEnd = fieldsStart + length;
    ByteCursor trailer(data_, size_, entryEnd);
    std::uint32_t stored = 0;
    trailer.ReadU32(&stored);  // fits: checked above
    channel->checksumMatches =
        Crc32c(data_ + channel->offset, entryEnd - channel->offset) == stored;
    readingDamaged_ = !channel->checksumMatches;
    if (readingDamaged_ && damage_ == Damage::kRefuse) {
      readingDamaged_ = false;
      // Name the type as the entry states it, to help find the channel.
      _GUID stated = {};
      ByteCursor guid(data_, entryEnd, fieldsStart);
      const bool hasType = guid.ReadGuid(&stated);
      return Fail(channel->offset, index, hasType ? &stated : nullptr,
                  std::string("the channel's checksum does not match ") + kDamaged, error);
    }
  }

  ByteCursor cursor(data_, entryEnd, fieldsStart);
  if (!cursor.ReadGuid(&channel->typeGuid)) {
    return Fail(channel->offset, index, nullptr, Ends("type GUID", cursor.Remaining()), error);
  }
  const _GUID* type = &channel->typeGuid;

  channel->hostStateOffset = cursor.Offset();
  FieldFailure failure;
  if (!ReadHostState(&cursor, &channel->hostState, &failure)) {
    return Fail(failure.offset, index, type, failure.reason, error);
  }

  channel->sectionLengthOffset = cursor.Offset();
  std::uint32_t sectionLength = 0;
  if (!cursor.ReadU32(&sectionLength)) {
    return Fail(channel->sectionLengthOffset, index, type,
                Ends("section length", cursor.Remaining()), error);
  }
  channel->recordsOffset = cursor.Offset();
  if (!cursor.ReadSpan(sectionLength, &channel->records)) {
    return Fail(channel->sectionLengthOffset, index, type,
                "the section of " + CountOf(sectionLength, "byte", "bytes") +
                    " runs past the end of the file (" +
                    CountOf(cursor.Remaining(), "byte", "bytes") + " left)",
                error);
  }
  channel->recordsSize = sectionLength;
  // The section must hold whole records and nothing else, so that a channel's
  // loader meets exactly what its SaveChannel wrote.
  A3dFileLoader records(channel->records, channel->recordsSize);
  while (!records.AtEnd()) {
    std::string tag;
    unsigned long recordSize = 0;
    if (!records.PeekRecord(&tag, &recordSize)) {
      return Fail(channel->recordsOffset + records.Position(), index, type,
                  "a record does not fit in the channel's section (" +
                      CountOf(channel->recordsSize - records.Position(), "byte", "bytes") +
                      " of the section left)",
                  error);
    }
    records.GetInfoIfTag(tag.c_str());
    records.SkipCurrentTag();
  }

  channel->linksOffset = cursor.Offset();
  std::uint32_t linkCount = 0;
  if (!cursor.ReadU32(&linkCount)) {
    return Fail(channel->linksOffset, index, type, Ends("link count", cursor.Remaining()), error);
  }
  if (linkCount > cursor.Remaining() / kLinkEntrySize) {
    return Fail(channel->linksOffset, index, type,
                CountOf(linkCount, "link", "links") + " cannot fit in the " +
                    CountOf(cursor.Remaining(), "byte", "bytes") + " left",
                error);
  }
  channel->links.reserve(linkCount);
  for (std::uint32_t slot = 0; slot < linkCount; ++slot) {
    const std::size_t linkOffset = cursor.Offset();
    std::int32_t target = 0;
    cursor.ReadI32(&target);  // fits: checked above
    if (target < -1 || target >= static_cast<std::int64_t>(channelCount_)) {
      return Fail(linkOffset, index, type,
                  "link " + std::to_string(slot) + " names channel " + std::to_string(target) +
                      ", but the group has channels 0 to " +
                      std::to_string(static_cast<std::int64_t>(channelCount_) - 1) +
                      " (and -1 for none)",
                  error);
    }
    channel->links.push_back(target);
  }

  if (version_ >= kFirstChecksummedGroupFileVersion) {
    if (cursor.Offset() != entryEnd) {
      return Fail(cursor.Offset(), index, type,
                  CountOf(entryEnd - cursor.Offset(), "byte", "bytes") +
                      " of the channel's entry " +
                      (entryEnd - cursor.Offset() == 1 ? "follows" : "follow") + " its links",
                  error);
    }
    position_ = entryEnd + 4;  // behind the checksum
    readingDamaged_ = false;
  } else {
    position_ = cursor.Offset();
  }
  ++nextChannel_;
  if (nextChannel_ == channelCount_) stage_ = Stage::kEnd;
  return true;
}

bool GroupFileReader::ReadEnd(GroupFileError* error) {
  if (stage_ != Stage::kEnd) {
    return Fail(position_, -1, nullptr, "the channels were not all read, or reading failed", error);
  }
  if (position_ != size_) {
    return Fail(position_, -1, nullptr,
                CountOf(size_ - position_, "unexpected byte follows", "unexpected bytes follow") +
                    " the last channel",
                error);
  }
  return true;
}
