#include "sim/SimFirmwareImages.h"

#include <cstdio>

#include "sim/SimFirmware.h"

namespace sim {

namespace {
void Put(std::vector<uint8_t>& d, size_t at, uint32_t v) {
  for (int i = 0; i < 4; ++i) d[at + i] = static_cast<uint8_t>(v >> (8 * i));
}
}  // namespace

std::vector<uint8_t> MakeFirmwareImage(bool extra, uint32_t format, uint32_t setId,
                                       const std::vector<uint8_t>& payload) {
  std::vector<uint8_t> image(128, 0);
  if (extra) Put(image, 0, 0x434D584D);
  Put(image, 64, format);
  Put(image, 72, static_cast<uint32_t>(payload.size()));
  Put(image, 80, SimFirmware::JamCrc(payload.data(), payload.size()));
  Put(image, 92, setId);
  image.insert(image.end(), payload.begin(), payload.end());
  return image;
}

std::vector<uint8_t> FirmwarePayload(size_t n, uint8_t seed) {
  std::vector<uint8_t> p(n);
  uint32_t x = 0x9E3779B9u * (seed + 1u);
  for (auto& b : p) {
    x = x * 1664525u + 1013904223u;
    b = static_cast<uint8_t>(x >> 24);
  }
  return p;
}

std::vector<uint8_t> MakeFirmwareContainer(const std::vector<std::vector<uint8_t>>& images) {
  std::vector<uint8_t> file(8 + 40 * images.size(), 0);
  Put(file, 0, 0x43464944);
  Put(file, 4, static_cast<uint32_t>(images.size()));
  for (size_t i = 0; i < images.size(); ++i) {
    Put(file, 8 + 40 * i, static_cast<uint32_t>(file.size()));
    Put(file, 12 + 40 * i, static_cast<uint32_t>(images[i].size()));
    std::snprintf(reinterpret_cast<char*>(&file[16 + 40 * i]), 32, "image%zu", i);
    file.insert(file.end(), images[i].begin(), images[i].end());
  }
  return file;
}

bool WriteFirmwareFile(const std::string& path, const std::vector<uint8_t>& bytes) {
  FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) return false;
  bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
  return std::fclose(f) == 0 && ok;
}

}  // namespace sim
