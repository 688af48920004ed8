// Constants of the channel group file format (docs/group-files.md).
#ifndef QAX_HOST_SDK_GROUPFILEFORMAT_H_
#define QAX_HOST_SDK_GROUPFILEFORMAT_H_

#include <cstddef>
#include <cstdint>

#include "host/sdk/HighPolyExport.h"

// The eight bytes every group file begins with. The line break catches files
// mangled by a text-mode transfer.
constexpr unsigned char kGroupFileMagic[8] = {'A', '3', 'D', 'G', 'R', 'P', '\r', '\n'};

// The format version this host writes, and the newest it reads. Versions
// start at 1; every version from 1 on is read.
//   1: no checksums.
//   2: a CRC-32C after the header, and each channel entry framed by its
//      length and followed by its CRC-32C.
constexpr std::uint32_t kGroupFileVersion = 2;
// The first version whose header and channel entries carry checksums.
constexpr std::uint32_t kFirstChecksummedGroupFileVersion = 2;

// Which of the host's own value states follows a channel's type GUID: the
// state of the built-in value channels that their SaveChannel does not write.
// The stored byte is the enumerator's value.
enum class HostStateKind : std::uint8_t {
  kNone = 0,    // no host state: a channel of none of the classes below
  kFloat = 1,   // Aco_FloatChannel and every class derived from it: its value
  kText = 2,    // Aco_StringChannel: narrow and wide text, each possibly null
  kVector = 3,  // Aco_ValueVectorChannel: three floats
  kMatrix = 4,  // Aco_MatrixChannel: sixteen floats, row by row
};

// The kind's name for messages and dumps ("none", "float", "text", "vector",
// "matrix"); "unknown" for a value outside the enumeration.
HIGHPOLY_API const char* HostStateKindName(HostStateKind kind);

#endif  // QAX_HOST_SDK_GROUPFILEFORMAT_H_
