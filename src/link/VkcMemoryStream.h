#pragma once
// A growable memory file with a position: the caller's stream an archiver can attach to (the
// sections of a unit file are built and read in one).

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

class VkcMemoryStream {
 public:
  VkcMemoryStream() = default;
  explicit VkcMemoryStream(std::vector<uint8_t> data) : data_(std::move(data)) {}

  // Writes at the position, growing the stream as needed; the position moves past the data.
  void Write(const void* data, size_t length);
  // Reads up to length bytes from the position; returns the count read.
  size_t Read(void* data, size_t length);
  // Positions past the end are allowed: a later write fills the gap with zeros.
  void Seek(size_t position) { position_ = position; }
  size_t Position() const { return position_; }
  size_t Length() const { return data_.size(); }
  // Truncates or zero-extends; the position is kept within the new length.
  void SetLength(size_t length);
  // Empties the stream and rewinds it.
  void Clear();

  std::span<const uint8_t> Bytes() const { return data_; }
  const uint8_t* Data() const { return data_.data(); }
  std::vector<uint8_t> TakeBytes();

 private:
  friend class VkcCfgArchiver;
  std::vector<uint8_t> data_;
  size_t position_ = 0;
};
