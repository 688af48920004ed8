// Reads the tagged records of a channel group file from memory.
#ifndef QAX_HOST_SDK_A3DFILELOADER_H_
#define QAX_HOST_SDK_A3DFILELOADER_H_

#include <cstddef>
#include <string>
#include <vector>

#include "host/sdk/HighPolyExport.h"

// Reads records in the encoding written by A3dFileSaver (docs/file-records.md)
// front to back. Input may be truncated or hostile: a record whose tag has no
// terminator within the tag limit, or whose size or data run past the end of
// the bytes, is not there (GetInfoIfTag answers false), so nothing is ever
// read out of bounds and no caller is told a block size larger than the bytes
// actually present.
class HIGHPOLY_API A3dFileLoader {
 public:
  // Reads the caller's bytes, which must outlive the loader. `data` may be
  // null only when `size` is 0.
  A3dFileLoader(const void* data, std::size_t size);
  // Keeps its own copy of the bytes.
  explicit A3dFileLoader(std::vector<unsigned char> bytes);

  A3dFileLoader(const A3dFileLoader&) = delete;
  A3dFileLoader& operator=(const A3dFileLoader&) = delete;

  // True when a well-formed record with tag `tag` is at the read position; it
  // becomes the current record. False leaves position and current record as
  // they were. A null tag answers false.
  bool GetInfoIfTag(const char* tag);

  // The data size of the current record, 0 when there is none. The argument
  // is ignored.
  unsigned long GetSizeDataBlock(bool ignored);

  // Copies the whole data block of the current record to `destination`, which
  // must hold GetSizeDataBlock() bytes, and moves the read position behind
  // the record. Does nothing without a current record.
  void CopyTagDataToPointer(void* destination);

  // Moves the read position behind the current record, unread. Does nothing
  // without a current record.
  void SkipCurrentTag();

  // True when the read position is at the end of the bytes.
  bool AtEnd() const { return position_ >= size_; }

  // Host extras for tools: the read position in bytes from the start, and the
  // tag and data size of the well-formed record at the read position (false
  // when there is none). Neither moves anything.
  std::size_t Position() const { return position_; }
  bool PeekRecord(std::string* tag, unsigned long* size) const;

 private:
  struct Record {
    std::string tag;
    std::size_t dataOffset;
    unsigned long size;
  };
  bool ParseAt(std::size_t offset, Record* record) const;

  std::vector<unsigned char> owned_;
  const unsigned char* data_;
  std::size_t size_;
  std::size_t position_;
  bool hasCurrent_;
  Record current_;
};

#endif  // QAX_HOST_SDK_A3DFILELOADER_H_
