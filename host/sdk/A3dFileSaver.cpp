#include "host/sdk/A3dFileSaver.h"

#include <cstring>

A3dFileSaver::A3dFileSaver() : state_(State::Idle), pending_(0), ok_(true) {}

int A3dFileSaver::SaveTag(const char* tag) {
  if (tag == nullptr) return 0;
  const std::size_t length = ::strnlen(tag, kMaxTagLength + 1);
  if (length == 0 || length > kMaxTagLength) return 0;
  if (refused_.count(std::string(tag, length)) != 0) return 0;
  // A new record while the last one still owes its size or data bytes means
  // the caller broke the record; the bytes written so far stay as they are.
  if (state_ == State::NeedSize || (state_ == State::InData && pending_ != 0)) ok_ = false;
  bytes_.insert(bytes_.end(), tag, tag + length);
  bytes_.push_back(0);
  state_ = State::NeedSize;
  pending_ = 0;
  return 1;
}

bool A3dFileSaver::SaveBlockSize(unsigned long size) {
  if (state_ != State::NeedSize || size > 0xFFFFFFFFul) {
    ok_ = false;
    return false;
  }
  for (int shift = 0; shift < 32; shift += 8) {
    bytes_.push_back(static_cast<unsigned char>((size >> shift) & 0xFFu));
  }
  state_ = State::InData;
  pending_ = size;
  return true;
}

bool A3dFileSaver::SaveDataToFile(const void* data, unsigned long size) {
  if (state_ != State::InData || size > pending_ || (data == nullptr && size != 0)) {
    ok_ = false;
    return false;
  }
  const unsigned char* bytes = static_cast<const unsigned char*>(data);
  if (size != 0) bytes_.insert(bytes_.end(), bytes, bytes + size);
  pending_ -= size;
  return true;
}

bool A3dFileSaver::Ok() const {
  return ok_ && state_ != State::NeedSize && !(state_ == State::InData && pending_ != 0);
}

void A3dFileSaver::RefuseTag(const char* tag) {
  if (tag != nullptr) refused_.insert(tag);
}
