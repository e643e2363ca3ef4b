// Reading firmware image files: single images, containers, and every file that must be refused.

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "sim/SimFirmwareImages.h"
#include "support/TestSupport.h"
#include "unit/VkcFirmwareImageFile.h"

namespace {

using Bytes = std::vector<uint8_t>;

Bytes Main(uint32_t format, uint32_t id, size_t payload = 300) {
  return sim::MakeFirmwareImage(false, format, id, sim::FirmwarePayload(payload, 1));
}
Bytes Extra(uint32_t id, size_t payload = 517) {
  return sim::MakeFirmwareImage(true, 1, id, sim::FirmwarePayload(payload, 2));
}
Bytes Raw(size_t n, uint32_t formatAt64) {
  Bytes b(n, 0);
  if (n >= 68) std::memcpy(&b[64], &formatAt64, 4);
  return b;
}
Bytes Cut(Bytes b, size_t n) {
  b.resize(n);
  return b;
}
Bytes WithU32(Bytes b, size_t at, uint32_t v) {
  std::memcpy(&b[at], &v, 4);
  return b;
}
// A container of n entries that all name the one copy of image it holds.
Bytes Repeated(const Bytes& image, uint32_t n) {
  Bytes b = sim::MakeFirmwareContainer({image});
  const Bytes entry(b.begin() + 8, b.begin() + 48);
  b.erase(b.begin() + 48, b.begin() + 48 + static_cast<long>(image.size()));
  for (uint32_t i = 1; i < n; ++i) b.insert(b.begin() + 8 + 40 * i, entry.begin(), entry.end());
  b = WithU32(b, 4, n);
  const uint32_t at = 8 + 40 * n;
  for (uint32_t i = 0; i < n; ++i) b = WithU32(b, 8 + 40 * i, at);
  b.insert(b.end(), image.begin(), image.end());
  return b;
}

struct Case {
  const char* name;
  Bytes file;
  bool ok;
  bool hasMain = false;
  size_t extras = 0;
  bool multi = false;
  int64_t crcId = FirmwareImage::kNoCrcId;
};

TEST(FirmwareImageFile, ReadsImagesAndRefusesBrokenFiles) {
  const Bytes container = sim::MakeFirmwareContainer({Main(4, 0xA1), Extra(0xA1), Extra(0xA1, 700)});
  const std::vector<Case> cases = {
      {"128-byte main image is single whatever its format", Raw(128, 9), true, true, 0, false},
      {"format 3 is single", Main(3, 7), true, true, 0, false},
      {"format 4 is a one-image set", Main(4, 0xFFFFFFFF), true, true, 0, true, 0xFFFFFFFF},
      {"plain MXMC file is an extra image", Extra(0x55), true, false, 1, true, 0x55},
      {"short plain file is a main image", Bytes{1, 2}, true, true, 0, false},
      {"main and two extras", container, true, true, 2, true, 0xA1},
      {"extras without main", sim::MakeFirmwareContainer({Extra(3), Extra(3)}), true, false, 2, true, 3},
      {"second main image wins", sim::MakeFirmwareContainer({Main(1, 0, 200), Main(1, 0, 300)}), true, true, 0,
       false},
      {"extras disagree", sim::MakeFirmwareContainer({Extra(1), Extra(2)}), false},
      {"main disagrees with extras", sim::MakeFirmwareContainer({Main(4, 1), Extra(2)}), false},
      {"empty file", Bytes{}, false},
      {"no entries", sim::MakeFirmwareContainer({}), false},
      {"negative count", WithU32(sim::MakeFirmwareContainer({Extra(1)}), 4, 0xFFFFFFFF), false},
      {"table past the end", WithU32(sim::MakeFirmwareContainer({Extra(1)}), 4, 2), false},
      {"huge count", WithU32(sim::MakeFirmwareContainer({Extra(1)}), 4, 0x7FFFFFFF), false},
      {"entry past the end", WithU32(sim::MakeFirmwareContainer({Extra(1)}), 12, 100000), false},
      {"entry offset wraps", WithU32(sim::MakeFirmwareContainer({Extra(1)}), 8, 0xFFFFFFF0), false},
      {"empty entry", WithU32(sim::MakeFirmwareContainer({Extra(1)}), 12, 0), false},
      {"extra too short for its header", sim::MakeFirmwareContainer({Cut(Extra(1), 50)}),
       false},
      {"container cut in its header", Bytes{'D', 'I', 'F', 'C', 1}, false},
      {"main image of a set too short for its identifier",
       sim::MakeFirmwareContainer({Raw(60, 0), Extra(1)}), false},
      {"one extra named by every entry", Repeated(Extra(1), 2), false},
      {"one main image named by every entry", Repeated(Main(1, 0, 5000), 3000), false},
      {"one entry naming its own copy", Repeated(Extra(1), 1), true, false, 1, true, 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    FirmwareImage set;
    ASSERT_EQ(firmwarefile::ReadImageBytes(c.file, set), c.ok);
    if (!c.ok) {
      // Nothing read before the fault stays.
      EXPECT_FALSE(set.HasMain());
      EXPECT_TRUE(set.extraImages.empty());
      continue;
    }
    EXPECT_EQ(set.HasMain(), c.hasMain);
    EXPECT_EQ(set.extraImages.size(), c.extras);
    EXPECT_EQ(set.multiImage != 0, c.multi);
    EXPECT_EQ(set.crcId, c.crcId);
  }
}

TEST(FirmwareImageFile, ImagesAreCopiesInEntryOrder) {
  const Bytes main = Main(4, 9), first = Extra(9, 300), second = Extra(9, 900);
  FirmwareImage set;
  ASSERT_TRUE(firmwarefile::ReadImageBytes(sim::MakeFirmwareContainer({first, main, second}), set));
  auto bytes = [](const ImageBuffer& b) { return Bytes(b.GetData(), b.GetData() + b.GetSize()); };
  EXPECT_EQ(bytes(set.mainImage), main);
  ASSERT_EQ(set.extraImages.size(), 2u);
  EXPECT_EQ(bytes(set.extraImages[0]), first);
  EXPECT_EQ(bytes(set.extraImages[1]), second);
  EXPECT_EQ(set.mainImage.ShareCount(), 1);
}

TEST(FirmwareImageFile, UnreadableFileKeepsTheSet) {
  testsupport::TempDir dir;
  ASSERT_TRUE(sim::WriteFirmwareFile(dir.File("a.xmd"), Extra(4)));
  FirmwareImage set;
  ASSERT_TRUE(firmwarefile::ReadImageFile(dir.File("a.xmd"), set));
  std::string error;
  EXPECT_FALSE(firmwarefile::ReadImageFile(dir.File("missing.cxmd"), set, &error));
  EXPECT_NE(error.find("missing.cxmd"), std::string::npos);
  EXPECT_EQ(set.extraImages.size(), 1u);
  EXPECT_EQ(set.crcId, 4);
}

}  // namespace
