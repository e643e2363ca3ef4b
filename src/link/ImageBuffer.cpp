#include "link/ImageBuffer.h"

uint8_t* ImageBuffer::Allocate(uint32_t n) {
  Release();
  block_ = std::make_shared<std::vector<uint8_t>>(n);
  return block_->data();
}
