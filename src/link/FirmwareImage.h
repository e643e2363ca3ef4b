#pragma once
// The image set of a firmware file: the main image, the extra images in file order, whether the
// main image belongs to a multi-image set, and the set's CRC identifier.

#include <cstdint>
#include <vector>

#include "link/ImageBuffer.h"

struct FirmwareImage {
  static constexpr int32_t kNoCrcId = -1;

  ImageBuffer mainImage;
  std::vector<ImageBuffer> extraImages;
  uint32_t multiImage = 0;
  int32_t crcId = kNoCrcId;

  void Clear() {
    mainImage.Release();
    extraImages.clear();
    multiImage = 0;
    crcId = kNoCrcId;
  }
};
