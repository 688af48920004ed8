#include "host/sdk/GroupFileError.h"

std::string GroupFileError::Message() const {
  std::string text = "group file";
  if (!file.empty()) text += " '" + file + "'";
  if (channel >= 0) {
    text += ", channel " + std::to_string(channel);
    if (hasType) {
      text += " (";
      if (!typeName.empty()) text += typeName + " ";
      text += GuidToString(typeGuid) + ")";
    }
  }
  if (offset != kNoOffset) text += ", byte " + std::to_string(offset);
  return text + ": " + reason;
}
