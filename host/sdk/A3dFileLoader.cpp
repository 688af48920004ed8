#include "host/sdk/A3dFileLoader.h"

#include <cstring>
#include <utility>

#include "host/sdk/A3dFileSaver.h"

A3dFileLoader::A3dFileLoader(const void* data, std::size_t size)
    : data_(static_cast<const unsigned char*>(data)),
      size_(data != nullptr ? size : 0),
      position_(0),
      hasCurrent_(false),
      current_{std::string(), 0, 0} {}

A3dFileLoader::A3dFileLoader(std::vector<unsigned char> bytes)
    : owned_(std::move(bytes)),
      data_(owned_.data()),
      size_(owned_.size()),
      position_(0),
      hasCurrent_(false),
      current_{std::string(), 0, 0} {}

bool A3dFileLoader::ParseAt(std::size_t offset, Record* record) const {
  if (offset >= size_) return false;
  const std::size_t available = size_ - offset;
  // The tag: 1 to kMaxTagLength bytes and a terminator, all within the bytes.
  const std::size_t scan =
      available < A3dFileSaver::kMaxTagLength + 1 ? available : A3dFileSaver::kMaxTagLength + 1;
  const void* end = std::memchr(data_ + offset, 0, scan);
  if (end == nullptr) return false;
  const std::size_t tagLength =
      static_cast<std::size_t>(static_cast<const unsigned char*>(end) - (data_ + offset));
  if (tagLength == 0) return false;
  // The size: four bytes, least significant first.
  const std::size_t sizeOffset = offset + tagLength + 1;
  if (size_ - sizeOffset < 4) return false;
  unsigned long blockSize = 0;
  for (int i = 3; i >= 0; --i) blockSize = (blockSize << 8) | data_[sizeOffset + i];
  // The data block must be wholly present.
  const std::size_t dataOffset = sizeOffset + 4;
  if (size_ - dataOffset < blockSize) return false;
  record->tag.assign(reinterpret_cast<const char*>(data_ + offset), tagLength);
  record->dataOffset = dataOffset;
  record->size = blockSize;
  return true;
}

bool A3dFileLoader::GetInfoIfTag(const char* tag) {
  if (tag == nullptr) return false;
  Record record;
  if (!ParseAt(position_, &record) || record.tag != tag) return false;
  current_ = std::move(record);
  hasCurrent_ = true;
  return true;
}

unsigned long A3dFileLoader::GetSizeDataBlock(bool /*ignored*/) {
  return hasCurrent_ ? current_.size : 0;
}

void A3dFileLoader::CopyTagDataToPointer(void* destination) {
  if (!hasCurrent_) return;
  if (current_.size != 0 && destination != nullptr) {
    std::memcpy(destination, data_ + current_.dataOffset, current_.size);
  }
  SkipCurrentTag();
}

void A3dFileLoader::SkipCurrentTag() {
  if (!hasCurrent_) return;
  position_ = current_.dataOffset + current_.size;
  hasCurrent_ = false;
}

bool A3dFileLoader::PeekRecord(std::string* tag, unsigned long* size) const {
  Record record;
  if (!ParseAt(position_, &record)) return false;
  if (tag != nullptr) *tag = record.tag;
  if (size != nullptr) *size = record.size;
  return true;
}
