#include "link/ImageBuffer.h"

#include <cstring>
#include <limits>

uint8_t* ImageBuffer::Allocate(uint32_t n) {
  Release();
  block_ = std::make_shared<std::vector<uint8_t>>(n);
  return block_->data();
}

bool ImageBuffer::Assign(const uint8_t* data, size_t length) {
  Release();
  if (length > std::numeric_limits<uint32_t>::max() || (length != 0 && data == nullptr)) return false;
  block_ = std::make_shared<std::vector<uint8_t>>(data, data + length);
  return true;
}

uint32_t ImageBuffer::GetU32(size_t offset) const {
  if (!block_ || offset > block_->size() || block_->size() - offset < 4) return 0;
  const uint8_t* p = block_->data() + offset;
  return uint32_t{p[0]} | uint32_t{p[1]} << 8 | uint32_t{p[2]} << 16 | uint32_t{p[3]} << 24;
}
