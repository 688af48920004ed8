// Sizes in messages, in the unit a person reads them in.
#ifndef QAX_HOST_FILES_BYTECOUNTTEXT_H_
#define QAX_HOST_FILES_BYTECOUNTTEXT_H_

#include <cstdint>
#include <string>

namespace qaxoi::files {

// "1 GiB", "64 MiB", "4 KiB" for a whole number of such units, otherwise the
// bytes with thousands separated: "1,000 bytes", "1 byte".
std::string ByteCountText(std::uint64_t bytes);

}  // namespace qaxoi::files

#endif  // QAX_HOST_FILES_BYTECOUNTTEXT_H_
