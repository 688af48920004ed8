// Walks the structure of a channel group file without making channels: for
// loaders, and for tools that dump or check files.
#ifndef QAX_HOST_SDK_GROUPFILEREADER_H_
#define QAX_HOST_SDK_GROUPFILEREADER_H_

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "host/sdk/GroupFileError.h"
#include "host/sdk/GroupFileFormat.h"
#include "host/sdk/Guid.h"
#include "host/sdk/HighPolyExport.h"
#include "host/sdk/MathTypes.h"

// The fields of a group file's header.
struct HIGHPOLY_API GroupFileHeader {
  std::uint32_t version = 0;  // 1 (no checksums) or 2 (checksummed)
  bool hasGroupName = false;  // false: the group had no name (null)
  std::string groupName;
  std::uint32_t channelCount = 0;
  // False only for a reader that tolerates damage, when the header's
  // checksum does not match: the fields above may then be wrong.
  bool checksumMatches = true;
};

// The host's own state of one channel. Only the fields of `kind` are
// meaningful; the others keep their defaults.
struct HIGHPOLY_API GroupFileHostState {
  HostStateKind kind = HostStateKind::kNone;
  float value = 0.0f;    // kFloat
  bool hasText = false;  // kText: false when the narrow text is null
  std::string text;
  bool hasWideText = false;  // kText: false when the wide text is null
  std::wstring wideText;
  D3DXVECTOR3 vector = {};  // kVector
  D3DXMATRIX matrix = {};   // kMatrix
};

// One channel entry as it stands in the file. Offsets count bytes from the
// start of the file.
struct HIGHPOLY_API GroupFileChannel {
  int index = 0;  // the channel's position in the group
  // Where the entry begins: its length (version 2) or its type GUID (1).
  std::size_t offset = 0;
  _GUID typeGuid = {};
  std::size_t hostStateOffset = 0;  // of the host state kind byte
  GroupFileHostState hostState;
  // The channel's own records, exactly as its SaveChannel wrote them: a
  // sequence of whole tagged records (docs/file-records.md), each of which
  // the reader has checked to fit. `records` points into the reader's bytes;
  // walk them with an A3dFileLoader over (records, recordsSize).
  std::size_t sectionLengthOffset = 0;
  std::size_t recordsOffset = 0;  // of the first record byte
  const unsigned char* records = nullptr;
  std::size_t recordsSize = 0;
  // The channel linked at each declared slot, by position in the group; -1
  // when nothing is linked. Every position names a channel of the group.
  std::size_t linksOffset = 0;  // of the link count
  std::vector<std::int32_t> links;
  // False only for a reader that tolerates damage, when the entry's checksum
  // does not match: the fields above may then be wrong.
  bool checksumMatches = true;
};

// Reads a group file front to back: ReadHeader once, ReadChannel for each of
// the header's channelCount channels, then ReadEnd. Each step checks every
// size against the bytes actually left before it reads or reserves anything,
// and in a version 2 file checks the checksum of the header or of the
// channel's entry before it hands out anything of it; a malformed, truncated
// or damaged file makes the step answer false with `error` set (offset,
// channel, reason), after which the reader is of no further use.
class ByteCursor;

class HIGHPOLY_API GroupFileReader {
 public:
  // What a checksum that does not match does: end the reading (loaders), or
  // be noted in the header or channel read, whose fields are then read as
  // they stand (tools that show what is left of a damaged file).
  enum class Damage { kRefuse, kTolerate };

  // Reads the caller's bytes, which must outlive the reader and every
  // GroupFileChannel it fills. `data` may be null only when `size` is 0.
  GroupFileReader(const void* data, std::size_t size, Damage damage = Damage::kRefuse);

  GroupFileReader(const GroupFileReader&) = delete;
  GroupFileReader& operator=(const GroupFileReader&) = delete;

  // Checks magic and version and reads the group name and channel count.
  bool ReadHeader(GroupFileHeader* header, GroupFileError* error);
  // Reads the next channel entry into `channel`, replacing what it held.
  bool ReadChannel(GroupFileChannel* channel, GroupFileError* error);
  // Checks that the last channel was read and that no bytes follow it.
  bool ReadEnd(GroupFileError* error);

  // The read position, in bytes from the start.
  std::size_t Position() const { return position_; }

 private:
  enum class Stage { kHeader, kChannels, kEnd, kFailed };

  // Whether the part being read (the header, or one channel's entry) is read
  // although its checksum does not match. Only CheckFrame enters kDamaged,
  // for a tolerating reader; only FinishPart, when the part was read whole,
  // leaves it. A failure while kDamaged says that the checksum did not match
  // before its own reason, since the reason may be the damage itself.
  enum class PartState { kIntact, kDamaged };

  // Where a version 2 part's fields lie: between its length and its checksum.
  struct Frame {
    std::size_t fieldsStart = 0;
    std::size_t fieldsEnd = 0;
    bool checksumMatches = true;
  };

  bool Fail(std::size_t offset, int channel, const _GUID* type, std::string reason,
            GroupFileError* error);
  // Reads the length of a version 2 part at `start`, checks that its fields
  // and checksum fit in the file, and compares the checksum with the one of
  // the bytes from `coveredFrom` to the fields' end. `channel` is -1 for the
  // header. A checksum that does not match refuses the part or, when damage
  // is tolerated, enters the damaged state; either way `frame` is filled.
  bool CheckFrame(std::size_t coveredFrom, std::size_t start, int channel, Frame* frame,
                  GroupFileError* error);
  // The steps of ReadChannel, each reading its fields of the entry that
  // `cursor` is bounded to and failing with the channel's index and type.
  bool ReadEntryHead(ByteCursor* cursor, GroupFileChannel* channel, GroupFileError* error);
  bool ReadSection(ByteCursor* cursor, GroupFileChannel* channel, GroupFileError* error);
  bool ReadLinks(ByteCursor* cursor, GroupFileChannel* channel, GroupFileError* error);
  // Ends a part read whole: the next part starts at `next`, intact until its
  // own frame says otherwise.
  void FinishPart(std::size_t next);

  const unsigned char* data_;
  std::size_t size_;
  std::size_t position_;
  Stage stage_;
  Damage damage_;
  PartState partState_;
  std::uint32_t version_;
  std::uint32_t channelCount_;
  std::uint32_t nextChannel_;
};

#endif  // QAX_HOST_SDK_GROUPFILEREADER_H_
