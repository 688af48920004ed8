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
// A version 2 part (the header's fields, or a channel's entry) has its
// length before it and its checksum behind.
constexpr std::size_t kLengthSize = 4;
constexpr std::size_t kChecksumSize = 4;
constexpr std::size_t kEntryFrameSize = kLengthSize + kChecksumSize;

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

// Whose checksum a failure in a damaged part names.
const char* ChecksumOwner(int channel) { return channel >= 0 ? "the channel's" : "the header's"; }

}  // namespace

GroupFileReader::GroupFileReader(const void* data, std::size_t size, Damage damage)
    : data_(static_cast<const unsigned char*>(data)),
      size_(data != nullptr ? size : 0),
      position_(0),
      stage_(Stage::kHeader),
      damage_(damage),
      partState_(PartState::kIntact),
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
    error->reason = partState_ == PartState::kDamaged
                        ? std::string(ChecksumOwner(channel)) + " checksum does not match " +
                              kDamaged + ", and " + reason
                        : std::move(reason);
  }
  return false;
}

bool GroupFileReader::CheckFrame(std::size_t coveredFrom, std::size_t start, int channel,
                                 Frame* frame, GroupFileError* error) {
  const std::string part = channel >= 0 ? "channel's entry" : "header";
  ByteCursor cursor(data_, size_, start);
  std::uint32_t length = 0;
  if (!cursor.ReadU32(&length)) {
    return Fail(start, channel, nullptr, Ends((part + " length").c_str(), cursor.Remaining()),
                error);
  }
  if (cursor.Remaining() < kChecksumSize || length > cursor.Remaining() - kChecksumSize) {
    return Fail(start, channel, nullptr,
                "the " + part + " of " + CountOf(length, "byte", "bytes") +
                    " and its checksum run past the end of the file (" +
                    CountOf(cursor.Remaining(), "byte", "bytes") + " left)",
                error);
  }
  frame->fieldsStart = cursor.Offset();
  frame->fieldsEnd = frame->fieldsStart + length;
  ByteCursor trailer(data_, size_, frame->fieldsEnd);
  std::uint32_t stored = 0;
  trailer.ReadU32(&stored);  // fits: checked above
  frame->checksumMatches = Crc32c(data_ + coveredFrom, frame->fieldsEnd - coveredFrom) == stored;
  if (frame->checksumMatches) return true;
  if (damage_ == Damage::kTolerate) {
    partState_ = PartState::kDamaged;
    return true;
  }
  // Name a channel's type as its entry states it, to help find the channel.
  _GUID stated = {};
  ByteCursor guid(data_, frame->fieldsEnd, frame->fieldsStart);
  const bool hasType = channel >= 0 && guid.ReadGuid(&stated);
  return Fail(coveredFrom, channel, hasType ? &stated : nullptr,
              std::string(ChecksumOwner(channel)) + " checksum does not match " + kDamaged, error);
}

void GroupFileReader::FinishPart(std::size_t next) {
  position_ = next;
  partState_ = PartState::kIntact;
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
  // (of the whole file up to the fields' end) is checked before any of them
  // is used.
  const bool checksummed = read.version >= kFirstChecksummedGroupFileVersion;
  Frame frame;
  frame.fieldsEnd = size_;
  if (checksummed) {
    if (!CheckFrame(0, cursor.Offset(), -1, &frame, error)) return false;
    read.checksumMatches = frame.checksumMatches;
    cursor = ByteCursor(data_, frame.fieldsEnd, frame.fieldsStart);
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
    const std::size_t left = frame.fieldsEnd - cursor.Offset();
    if (left != 0) {
      return Fail(cursor.Offset(), -1, nullptr,
                  CountOf(left, "byte", "bytes") + " of the header " +
                      (left == 1 ? "follows" : "follow") + " its channel count",
                  error);
    }
    cursor = ByteCursor(data_, size_, frame.fieldsEnd + kChecksumSize);
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
  *header = std::move(read);
  version_ = header->version;
  FinishPart(cursor.Offset());
  channelCount_ = header->channelCount;
  nextChannel_ = 0;
  stage_ = channelCount_ == 0 ? Stage::kEnd : Stage::kChannels;
  return true;
}

bool GroupFileReader::ReadEntryHead(ByteCursor* cursor, GroupFileChannel* channel,
                                    GroupFileError* error) {
  if (!cursor->ReadGuid(&channel->typeGuid)) {
    return Fail(channel->offset, channel->index, nullptr, Ends("type GUID", cursor->Remaining()),
                error);
  }
  channel->hostStateOffset = cursor->Offset();
  FieldFailure failure;
  if (!ReadHostState(cursor, &channel->hostState, &failure)) {
    return Fail(failure.offset, channel->index, &channel->typeGuid, failure.reason, error);
  }
  return true;
}

bool GroupFileReader::ReadSection(ByteCursor* cursor, GroupFileChannel* channel,
                                  GroupFileError* error) {
  const int index = channel->index;
  const _GUID* type = &channel->typeGuid;
  channel->sectionLengthOffset = cursor->Offset();
  std::uint32_t sectionLength = 0;
  if (!cursor->ReadU32(&sectionLength)) {
    return Fail(channel->sectionLengthOffset, index, type,
                Ends("section length", cursor->Remaining()), error);
  }
  channel->recordsOffset = cursor->Offset();
  if (!cursor->ReadSpan(sectionLength, &channel->records)) {
    return Fail(channel->sectionLengthOffset, index, type,
                "the section of " + CountOf(sectionLength, "byte", "bytes") +
                    " runs past the end of the file (" +
                    CountOf(cursor->Remaining(), "byte", "bytes") + " left)",
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
  return true;
}

bool GroupFileReader::ReadLinks(ByteCursor* cursor, GroupFileChannel* channel,
                                GroupFileError* error) {
  const int index = channel->index;
  const _GUID* type = &channel->typeGuid;
  channel->linksOffset = cursor->Offset();
  std::uint32_t linkCount = 0;
  if (!cursor->ReadU32(&linkCount)) {
    return Fail(channel->linksOffset, index, type, Ends("link count", cursor->Remaining()), error);
  }
  if (linkCount > cursor->Remaining() / kLinkEntrySize) {
    return Fail(channel->linksOffset, index, type,
                CountOf(linkCount, "link", "links") + " cannot fit in the " +
                    CountOf(cursor->Remaining(), "byte", "bytes") + " left",
                error);
  }
  channel->links.reserve(linkCount);
  for (std::uint32_t slot = 0; slot < linkCount; ++slot) {
    const std::size_t linkOffset = cursor->Offset();
    std::int32_t target = 0;
    cursor->ReadI32(&target);  // fits: checked above
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
  return true;
}

bool GroupFileReader::ReadChannel(GroupFileChannel* channel, GroupFileError* error) {
  if (stage_ != Stage::kChannels) {
    return Fail(position_, -1, nullptr,
                "no channel to read: the header was not read, all channels were, or reading "
                "failed",
                error);
  }
  *channel = GroupFileChannel();
  channel->index = static_cast<int>(nextChannel_);
  channel->offset = position_;

  // A version 2 entry is read only once its checksum matches (or its damage
  // is tolerated), and only up to its own end: its fields cannot reach into
  // the next entry. The checksum covers the entry's length and fields.
  const bool checksummed = version_ >= kFirstChecksummedGroupFileVersion;
  Frame frame;
  frame.fieldsStart = position_;
  frame.fieldsEnd = size_;
  if (checksummed) {
    if (!CheckFrame(position_, position_, channel->index, &frame, error)) return false;
    channel->checksumMatches = frame.checksumMatches;
  }
  ByteCursor cursor(data_, frame.fieldsEnd, frame.fieldsStart);
  if (!ReadEntryHead(&cursor, channel, error) || !ReadSection(&cursor, channel, error) ||
      !ReadLinks(&cursor, channel, error)) {
    return false;
  }
  if (checksummed) {
    const std::size_t left = frame.fieldsEnd - cursor.Offset();
    if (left != 0) {
      return Fail(cursor.Offset(), channel->index, &channel->typeGuid,
                  CountOf(left, "byte", "bytes") + " of the channel's entry " +
                      (left == 1 ? "follows" : "follow") + " its links",
                  error);
    }
    FinishPart(frame.fieldsEnd + kChecksumSize);
  } else {
    FinishPart(cursor.Offset());
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
