// Plain text copied into a fixed character field of a host record.
#ifndef QAX_CHANNEL_EXTENSION_COPYFIELDTEXT_H_
#define QAX_CHANNEL_EXTENSION_COPYFIELDTEXT_H_

#include <cstddef>

#include "module/Export.h"

// Copies `text` unchanged into `field`, a character array of `size`
// characters, cut to the size - 1 characters that fit with the terminator;
// the rest of the field is zero-filled. Used for the 80-character type Name
// and the 100-character LinkName of ChildCreation. A null `text` counts as
// empty; a null `field` or a `size` of 0 writes nothing.
QAXOI_API void CopyFieldText(char* field, std::size_t size, const char* text);

#endif  // QAX_CHANNEL_EXTENSION_COPYFIELDTEXT_H_
