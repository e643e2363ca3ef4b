#pragma once
// A byte block with its size. Copies share the block; it is freed with its last holder.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

class ImageBuffer {
 public:
  // Drops this holder's share of the block and forgets it.
  void Release() { block_.reset(); }
  // Releases the old block and allocates a zeroed one of n bytes. Returns its data.
  uint8_t* Allocate(uint32_t n);
  // Releases the old block and stores a copy of the bytes in a block of exactly their length.
  // False (and nothing held) when the length does not fit the buffer's size type.
  bool Assign(const uint8_t* data, size_t length);
  void Reset() { Release(); }
  // The data, or null without a block.
  uint8_t* GetData() const { return block_ ? block_->data() : nullptr; }
  uint32_t GetSize() const { return block_ ? static_cast<uint32_t>(block_->size()) : 0; }
  // True unless a block of at least one byte is held.
  bool IsEmpty() const { return GetSize() == 0; }
  // Holders sharing the block (0 without one).
  long ShareCount() const { return block_.use_count(); }
  // The little-endian 32-bit word at offset; 0 when it does not lie wholly inside the block.
  uint32_t GetU32(size_t offset) const;

 private:
  std::shared_ptr<std::vector<uint8_t>> block_;
};
