// What went wrong where in a channel group file.
#ifndef QAX_HOST_SDK_GROUPFILEERROR_H_
#define QAX_HOST_SDK_GROUPFILEERROR_H_

#include <cstddef>
#include <string>

#include "host/sdk/Guid.h"
#include "host/sdk/HighPolyExport.h"

// Describes one failure to read or load a group file: the file, the byte
// offset of the offending field, the channel concerned and the reason.
// Message() joins them into one text for people.
struct HIGHPOLY_API GroupFileError {
  // The offset of a failure that concerns the whole file (it cannot be read).
  enum : std::size_t { kNoOffset = static_cast<std::size_t>(-1) };

  std::string file;                // the file's path; empty for bytes in memory
  std::size_t offset = kNoOffset;  // bytes from the start of the file
  int channel = -1;                // the channel's position; -1 for none
  bool hasType = false;            // true once the channel's type GUID is known
  _GUID typeGuid = {};
  std::string typeName;  // the registered type's name, when known
  std::string reason;    // what is wrong, in a short sentence

  // For example: group file 'a.grp', channel 1 (Text
  // {6E6FB247-4627-4FBE-8973-48344F23881E}), byte 57: the file ends inside
  // the section length.
  std::string Message() const;
};

#endif  // QAX_HOST_SDK_GROUPFILEERROR_H_
