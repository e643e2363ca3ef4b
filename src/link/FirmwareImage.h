#pragma once
// The image set of a firmware file: the main image, the extra images in file order, whether the
// main image belongs to a multi-image set, and the set's CRC identifier.

#include <cstddef>
#include <cstdint>
#include <vector>

#include "link/ImageBuffer.h"

struct FirmwareImage {
  // Wider than the identifier itself, so every 32-bit value stays distinct from "none".
  static constexpr int64_t kNoCrcId = -1;

  ImageBuffer mainImage;
  std::vector<ImageBuffer> extraImages;
  uint32_t multiImage = 0;
  int64_t crcId = kNoCrcId;

  void Clear() {
    mainImage.Release();
    extraImages.clear();
    multiImage = 0;
    crcId = kNoCrcId;
  }
  bool HasMain() const { return !mainImage.IsEmpty(); }
  bool HasCrcId() const { return crcId != kNoCrcId; }
  // A later main image replaces an earlier one. False when the image cannot be stored.
  bool SetMainImage(const uint8_t* data, size_t length) { return mainImage.Assign(data, length); }
  bool AddExtraImage(const uint8_t* data, size_t length) {
    ImageBuffer image;
    if (!image.Assign(data, length)) return false;
    extraImages.push_back(image);
    return true;
  }
};
