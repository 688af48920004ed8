// Writes the tagged records of a channel group file into memory.
#ifndef QAX_HOST_SDK_A3DFILESAVER_H_
#define QAX_HOST_SDK_A3DFILESAVER_H_

#include <set>
#include <string>
#include <vector>

#include "host/sdk/HighPolyExport.h"

// A record is written as three calls: SaveTag(tag), SaveBlockSize(n), then
// SaveDataToFile with exactly n bytes in all (one call or several). The byte
// encoding is documented in docs/file-records.md. Writing the bytes to a file
// is the host's business; the saver only collects them.
class HIGHPOLY_API A3dFileSaver {
 public:
  // The longest tag a record can carry, terminator excluded. (The constants
  // of exported classes are enumerators; see A3d_Channel::kMaxChildLinks.)
  enum : std::size_t { kMaxTagLength = 63 };

  A3dFileSaver();

  // Begins a record. Answers nonzero on success and 0, writing nothing, when
  // the tag is null, empty, longer than kMaxTagLength or refused.
  int SaveTag(const char* tag);

  // Gives the size of the data block of the record begun by SaveTag. Sizes
  // above 0xFFFFFFFF cannot be encoded and make the saver not Ok().
  bool SaveBlockSize(unsigned long size);

  // Appends data bytes of the current record. `data` may be null only when
  // `size` is 0.
  bool SaveDataToFile(const void* data, unsigned long size);

  // True while every record so far was written in the order above with a
  // block of exactly the announced size, and the last record is complete.
  bool Ok() const;

  // Makes SaveTag(tag) answer 0 from now on, as a host that refuses a record
  // would (for tests of the callers' failure paths).
  void RefuseTag(const char* tag);

  const std::vector<unsigned char>& Data() const { return bytes_; }

 private:
  enum class State { Idle, NeedSize, InData };

  std::vector<unsigned char> bytes_;
  std::set<std::string> refused_;
  State state_;
  unsigned long pending_;  // data bytes still owed to the current record
  bool ok_;
};

#endif  // QAX_HOST_SDK_A3DFILESAVER_H_
