#include "unit/VkcFirmwareImageFile.h"

#include <new>
#include <utility>
#include <vector>

#include "platform/Files.h"

namespace firmwarefile {

namespace {

uint32_t U32(std::span<const uint8_t> d, size_t at) {
  if (at > d.size() || d.size() - at < 4) return 0;
  return uint32_t{d[at]} | uint32_t{d[at + 1]} << 8 | uint32_t{d[at + 2]} << 16 | uint32_t{d[at + 3]} << 24;
}

bool IsExtra(std::span<const uint8_t> image) { return image.size() >= 4 && U32(image, 0) == kExtraMagic; }

bool StoreImage(std::span<const uint8_t> image, FirmwareImage& set) {
  if (image.empty()) return false;
  if (IsExtra(image)) {
    // An extra image carries its header, identifier included.
    if (image.size() < kHeaderSize) return false;
    return set.AddExtraImage(image.data(), image.size());
  }
  return set.SetMainImage(image.data(), image.size());
}

bool ReadSet(std::span<const uint8_t> file, FirmwareImage& set) {
  set.Clear();
  bool ok;
  if (file.size() >= 4 && U32(file, 0) == kContainerMagic)
    ok = ReadContainer(file, set);
  else
    ok = StoreImage(file, set);
  if (!ok) return false;
  // A file without any image would otherwise pass for a successful download of nothing.
  if (!set.HasMain() && set.extraImages.empty()) return false;

  const ImageBuffer& main = set.mainImage;
  set.multiImage = !set.extraImages.empty() ||
                   (main.GetSize() > kHeaderSize && main.GetU32(kFormatOffset) >= kMultiFormat);
  if (!set.multiImage) return true;
  if (set.HasMain()) {
    // The main image of a set must hold the identifier the set is checked against.
    if (main.GetSize() < kCrcIdOffset + 4) return false;
    set.crcId = main.GetU32(kCrcIdOffset);
  }
  for (const ImageBuffer& extra : set.extraImages) {
    const uint32_t id = extra.GetU32(kCrcIdOffset);
    if (!set.HasCrcId())
      set.crcId = id;
    else if (set.crcId != id)
      return false;
  }
  return true;
}

}  // namespace

bool ReadContainer(std::span<const uint8_t> file, FirmwareImage& set) {
  if (file.size() < kEntryTable || U32(file, 0) != kContainerMagic) return false;
  const int32_t count = static_cast<int32_t>(U32(file, 4));
  if (count < 0) return false;
  if (static_cast<uint64_t>(count) * kEntrySize > file.size() - kEntryTable) return false;
  auto entry = [&](int32_t i) {
    const size_t at = kEntryTable + static_cast<size_t>(i) * kEntrySize;
    return std::pair<uint64_t, uint64_t>(U32(file, at), U32(file, at + 4));
  };
  // Every entry is a copy: entries naming the same bytes again and again would make a small file
  // take gigabytes. Together they may hold no more than the file, checked before anything is stored.
  uint64_t total = 0;
  for (int32_t i = 0; i < count; ++i) {
    const auto [offset, length] = entry(i);
    total += length;
    if (length == 0 || offset + length > file.size() || total > file.size()) return false;
  }
  for (int32_t i = 0; i < count; ++i) {
    const auto [offset, length] = entry(i);
    if (!StoreImage(file.subspan(static_cast<size_t>(offset), static_cast<size_t>(length)), set)) return false;
  }
  return true;
}

bool ReadImageBytes(std::span<const uint8_t> file, FirmwareImage& set) {
  bool ok = false;
  try {
    ok = ReadSet(file, set);
  } catch (const std::bad_alloc&) {
    ok = false;
  }
  // A refused file leaves nothing of what was read before the fault.
  if (!ok) set.Clear();
  return ok;
}

bool ReadImageFile(const std::string& path, FirmwareImage& set, std::string* error) {
  std::vector<uint8_t> bytes;
  std::string reason;
  platform::ReadResult r;
  try {
    r = platform::ReadWholeFile(path, bytes, kMaxFileSize, &reason);
  } catch (const std::bad_alloc&) {
    r = platform::ReadResult::Error;
  }
  if (r != platform::ReadResult::Ok) {
    if (error) *error = reason.empty() ? "Unable to read file " + path : reason;
    return false;
  }
  return ReadImageBytes(bytes, set);
}

}  // namespace firmwarefile
