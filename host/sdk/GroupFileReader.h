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
  std::uint32_t version = 0;
  bool hasGroupName = false;  // false: the group had no name (null)
  std::string groupName;
  std::uint32_t channelCount = 0;
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
  int index = 0;           // the channel's position in the group
  std::size_t offset = 0;  // where the entry begins: its type GUID
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
};

// Reads a group file front to back: ReadHeader once, ReadChannel for each of
// the header's channelCount channels, then ReadEnd. Each step checks every
// size against the bytes actually left before it reads or reserves anything;
// a malformed or truncated file makes the step answer false with `error` set
// (offset, channel, reason), after which the reader is of no further use.
class HIGHPOLY_API GroupFileReader {
 public:
  // Reads the caller's bytes, which must outlive the reader and every
  // GroupFileChannel it fills. `data` may be null only when `size` is 0.
  GroupFileReader(const void* data, std::size_t size);

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

  bool Fail(std::size_t offset, int channel, const _GUID* type, std::string reason,
            GroupFileError* error);

  const unsigned char* data_;
  std::size_t size_;
  std::size_t position_;
  Stage stage_;
  std::uint32_t channelCount_;
  std::uint32_t nextChannel_;
};

#endif  // QAX_HOST_SDK_GROUPFILEREADER_H_
