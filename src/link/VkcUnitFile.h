#pragma once
// The unit-file container: a 128-byte header and configuration records back to back. Files from
// the unit describe their sections in a descriptor at offset 64; files the system sends carry a
// one-section descriptor with the payload length and its CRC-32. The two layouts are read and
// written per direction only. All numbers are little-endian.

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

class VkcUnitFile {
 public:
  static constexpr size_t kHeaderSize = 128;
  static constexpr size_t kDescriptorOffset = 64;
  static constexpr size_t kDescriptorSize = 56;
  static constexpr size_t kMaxSections = 8;
  static constexpr uint32_t kMaxFormat = 4;  // high half of the format word must be below this

  // CRC-32/JAMCRC: reflected 0xEDB88320, initial 0xFFFFFFFF, no final inversion.
  static uint32_t Crc32(const uint8_t* data, size_t length);
  static uint32_t Crc32(std::span<const uint8_t> data) { return Crc32(data.data(), data.size()); }

  // Writes the sending descriptor into image (which holds at least the header): format 1, the
  // payload length and the CRC-32 of bytes 128 to the end. The rest of the header is left as is.
  static bool WriteSendDescriptor(std::vector<uint8_t>& image);

  // Locates section index of a file from the unit. False when the image holds no header and
  // data, the format is unknown, the index is outside the count (or 8), the section is empty, or
  // the sizes up to and including it run past the end of the image.
  static bool FindSection(std::span<const uint8_t> image, int index, size_t* offset, size_t* size);

  static uint32_t GetU32(std::span<const uint8_t> data, size_t at);
  static uint16_t GetU16(std::span<const uint8_t> data, size_t at);
  static void PutU32(uint8_t* at, uint32_t value);
};
