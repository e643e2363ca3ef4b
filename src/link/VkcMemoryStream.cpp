#include "link/VkcMemoryStream.h"

#include <algorithm>
#include <cstring>

void VkcMemoryStream::Write(const void* data, size_t length) {
  if (length == 0) return;
  const auto* bytes = static_cast<const uint8_t*>(data);
  if (position_ == data_.size()) {  // appending, the usual case
    data_.insert(data_.end(), bytes, bytes + length);
    position_ += length;
    return;
  }
  if (position_ + length > data_.size()) data_.resize(position_ + length);
  std::memcpy(data_.data() + position_, data, length);
  position_ += length;
}

size_t VkcMemoryStream::Read(void* data, size_t length) {
  if (position_ >= data_.size()) return 0;
  const size_t n = std::min(length, data_.size() - position_);
  if (n) std::memcpy(data, data_.data() + position_, n);
  position_ += n;
  return n;
}

void VkcMemoryStream::SetLength(size_t length) {
  data_.resize(length);
  position_ = std::min(position_, length);
}

void VkcMemoryStream::Clear() {
  data_.clear();
  position_ = 0;
}

std::vector<uint8_t> VkcMemoryStream::TakeBytes() {
  std::vector<uint8_t> out = std::move(data_);
  data_.clear();
  position_ = 0;
  return out;
}
