#pragma once
// Firmware image files as a maker would build them, for tests and benchmarks: an image is the
// 128-byte unit-file header (zero but for "MXMC" at 0 on extra images, the format word at 64, the
// payload length at 72, the payload's CRC-32 at 80 and the set identifier at 92) and its payload;
// a container is "DIFC", the entry count, and per entry its offset, length and a 32-byte name.

#include <cstdint>
#include <string>
#include <vector>

namespace sim {

std::vector<uint8_t> MakeFirmwareImage(bool extra, uint32_t format, uint32_t setId,
                                       const std::vector<uint8_t>& payload);
// A payload of n bytes that differ from block to block.
std::vector<uint8_t> FirmwarePayload(size_t n, uint8_t seed);
std::vector<uint8_t> MakeFirmwareContainer(const std::vector<std::vector<uint8_t>>& images);
bool WriteFirmwareFile(const std::string& path, const std::vector<uint8_t>& bytes);

}  // namespace sim
