#include "link/VkcUnitFile.h"

#include <array>

namespace {
constexpr std::array<uint32_t, 256> MakeTable() {
  std::array<uint32_t, 256> t{};
  for (uint32_t i = 0; i < 256; ++i) {
    uint32_t c = i;
    for (int b = 0; b < 8; ++b) c = (c & 1) ? (c >> 1) ^ 0xEDB88320u : (c >> 1);
    t[i] = c;
  }
  return t;
}
constexpr std::array<uint32_t, 256> kTable = MakeTable();
}  // namespace

uint32_t VkcUnitFile::Crc32(const uint8_t* data, size_t length) {
  uint32_t crc = 0xFFFFFFFFu;
  for (size_t i = 0; i < length; ++i) crc = (crc >> 8) ^ kTable[(crc ^ data[i]) & 0xFF];
  return crc;
}

uint32_t VkcUnitFile::GetU32(std::span<const uint8_t> d, size_t at) {
  if (at > d.size() || d.size() - at < 4) return 0;
  return static_cast<uint32_t>(d[at]) | static_cast<uint32_t>(d[at + 1]) << 8 |
         static_cast<uint32_t>(d[at + 2]) << 16 | static_cast<uint32_t>(d[at + 3]) << 24;
}

uint16_t VkcUnitFile::GetU16(std::span<const uint8_t> d, size_t at) {
  if (at > d.size() || d.size() - at < 2) return 0;
  return static_cast<uint16_t>(d[at] | d[at + 1] << 8);
}

void VkcUnitFile::PutU32(uint8_t* at, uint32_t v) {
  at[0] = static_cast<uint8_t>(v);
  at[1] = static_cast<uint8_t>(v >> 8);
  at[2] = static_cast<uint8_t>(v >> 16);
  at[3] = static_cast<uint8_t>(v >> 24);
}

bool VkcUnitFile::WriteSendDescriptor(std::vector<uint8_t>& image) {
  if (image.size() < kHeaderSize) return false;
  uint64_t payload = image.size() - kHeaderSize;
  if (payload > 0xFFFFFFFFu) return false;
  uint8_t* d = image.data() + kDescriptorOffset;
  PutU32(d + 0, 1);
  PutU32(d + 4, 0);
  PutU32(d + 8, static_cast<uint32_t>(payload));
  PutU32(d + 12, 0);
  PutU32(d + 16, Crc32(image.data() + kHeaderSize, payload));
  return true;
}

bool VkcUnitFile::FindSection(std::span<const uint8_t> image, int index, size_t* offset, size_t* size) {
  if (image.size() <= kHeaderSize || index < 0 || static_cast<size_t>(index) >= kMaxSections) return false;
  const size_t d = kDescriptorOffset;
  uint32_t format = GetU32(image, d);
  if ((format >> 16) >= kMaxFormat) return false;
  uint16_t count = GetU16(image, d + 14);
  if (index >= count) return false;
  uint64_t at = kHeaderSize;
  for (int i = 0; i < index; ++i) at += GetU32(image, d + 24 + 4 * static_cast<size_t>(i));
  uint32_t length = GetU32(image, d + 24 + 4 * static_cast<size_t>(index));
  if (length == 0 || at + length > image.size()) return false;
  if (offset) *offset = static_cast<size_t>(at);
  if (size) *size = length;
  return true;
}
