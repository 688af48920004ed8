#include "channel_extension/CopyFieldText.h"

#include <cstring>

#include "channel_extension/BoundedCopy.h"

void CopyFieldText(char* field, std::size_t size, const char* text) {
  if (field == nullptr || size == 0) return;
  if (text == nullptr) text = "";
  // The copy reads no further than the terminator or the room in the field,
  // and copies forwards, which allows a text that lies in the field itself.
  const std::size_t n = qaxoi::module::CopyTerminated(field, size, text);
  std::memset(field + n, 0, size - n);
}
