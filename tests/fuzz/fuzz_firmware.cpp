// Firmware image files: a file that reads must give a set the download can use (every extra image
// carries its header, a multi-image set has its identifier, every planned load names an image)
// and holds no more bytes than the file, and the same images written again as a container must
// read back to the same set.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <span>
#include <vector>

#include "unit/VkcDownloadPlan.h"
#include "unit/VkcFirmwareImageFile.h"

namespace {

std::vector<uint8_t> Bytes(const ImageBuffer& b) { return std::vector<uint8_t>(b.GetData(), b.GetData() + b.GetSize()); }

void Put(std::vector<uint8_t>& d, size_t at, uint32_t v) {
  for (int i = 0; i < 4; ++i) d[at + i] = static_cast<uint8_t>(v >> (8 * i));
}

std::vector<uint8_t> Container(const FirmwareImage& set) {
  std::vector<std::vector<uint8_t>> images;
  if (set.HasMain()) images.push_back(Bytes(set.mainImage));
  for (const ImageBuffer& e : set.extraImages) images.push_back(Bytes(e));
  std::vector<uint8_t> file(8 + 40 * images.size(), 0);
  Put(file, 0, firmwarefile::kContainerMagic);
  Put(file, 4, static_cast<uint32_t>(images.size()));
  for (size_t i = 0; i < images.size(); ++i) {
    Put(file, 8 + 40 * i, static_cast<uint32_t>(file.size()));
    Put(file, 12 + 40 * i, static_cast<uint32_t>(images[i].size()));
    file.insert(file.end(), images[i].begin(), images[i].end());
  }
  return file;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FirmwareImage set;
  if (!firmwarefile::ReadImageBytes(std::span<const uint8_t>(data, size), set)) return 0;
  if (!set.HasMain() && set.extraImages.empty()) std::abort();
  for (const ImageBuffer& e : set.extraImages)
    if (e.GetSize() < firmwarefile::kHeaderSize || e.GetU32(0) != firmwarefile::kExtraMagic) std::abort();
  if (set.multiImage && !set.HasCrcId()) std::abort();
  size_t held = set.mainImage.GetSize();
  for (const ImageBuffer& e : set.extraImages) held += e.GetSize();
  if (held > size) std::abort();

  for (int flags = 0; flags < 8; ++flags) {
    VkcDownloadInputs in;
    in.hasMain = set.HasMain();
    in.extras = set.extraImages.size();
    in.multi = set.multiImage != 0;
    in.startup = flags & 1;
    in.unitHasMainImage = flags & 2;
    in.crcMatches = flags & 4;
    for (const VkcDownloadStep& s : BuildDownloadPlan(in)) {
      if (s.kind != VkcDownloadStep::kLoad) continue;
      if (s.index == -1 ? !set.HasMain() : s.index < 0 || static_cast<size_t>(s.index) >= set.extraImages.size())
        std::abort();
    }
  }

  // A main image that is itself a container cannot be wrapped in one again unchanged.
  if (set.HasMain() && set.mainImage.GetU32(0) == firmwarefile::kContainerMagic) return 0;
  FirmwareImage again;
  if (!firmwarefile::ReadImageBytes(Container(set), again)) std::abort();
  if (again.HasMain() != set.HasMain() || again.extraImages.size() != set.extraImages.size() ||
      again.multiImage != set.multiImage || again.crcId != set.crcId)
    std::abort();
  if (set.HasMain() && Bytes(again.mainImage) != Bytes(set.mainImage)) std::abort();
  for (size_t i = 0; i < set.extraImages.size(); ++i)
    if (Bytes(again.extraImages[i]) != Bytes(set.extraImages[i])) std::abort();
  return 0;
}
