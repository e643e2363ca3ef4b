#include "link/ImageBuffer.h"

#include <gtest/gtest.h>

#include "link/FirmwareImage.h"
#include "link/ParamNode.h"

TEST(ImageBuffer, CopiesShareTheBlockUntilTheLastHolderGoes) {
  ImageBuffer a;
  EXPECT_TRUE(a.IsEmpty());
  EXPECT_EQ(a.GetData(), nullptr);
  uint8_t* data = a.Allocate(3);
  data[0] = 7;
  ImageBuffer b = a;
  EXPECT_EQ(b.GetData(), data);
  EXPECT_EQ(b.GetSize(), 3u);
  EXPECT_EQ(a.ShareCount(), 2);

  // A new block for one holder leaves the other with the old bytes.
  a.Allocate(5);
  EXPECT_EQ(a.GetSize(), 5u);
  EXPECT_EQ(b.ShareCount(), 1);
  EXPECT_EQ(b.GetData()[0], 7);
  b.Release();
  EXPECT_TRUE(b.IsEmpty());
  a.Reset();
  EXPECT_EQ(a.GetData(), nullptr);

  a.Allocate(0);
  EXPECT_TRUE(a.IsEmpty());
}

TEST(ImageBuffer, FirmwareImageClear) {
  FirmwareImage image;
  EXPECT_EQ(image.crcId, -1);
  image.mainImage.Allocate(4);
  image.extraImages.push_back(image.mainImage);
  image.multiImage = 4;
  image.crcId = 0x1234;
  ImageBuffer kept = image.mainImage;
  image.Clear();
  EXPECT_TRUE(image.mainImage.IsEmpty());
  EXPECT_TRUE(image.extraImages.empty());
  EXPECT_EQ(image.multiImage, 0u);
  EXPECT_EQ(image.crcId, -1);
  EXPECT_EQ(kept.ShareCount(), 1);
  EXPECT_EQ(kept.GetSize(), 4u);
}

TEST(ParamValue, DecimalTextBothWays) {
  ParamValue v;
  EXPECT_EQ(v.ToInt(), 0);
  v.FromInt(-2147483647 - 1);
  EXPECT_EQ(v.value, "-2147483648");
  EXPECT_EQ(v.ToInt(), -2147483647 - 1);
  v.value = " 42 dBm";
  EXPECT_EQ(v.ToInt(), 42);
  v.value = "99999999999999999999";
  EXPECT_EQ(v.ToInt(), 2147483647);
  v.value = "-99999999999999999999";
  EXPECT_EQ(v.ToInt(), -2147483647 - 1);
  v.value = "N/A";
  EXPECT_EQ(v.ToInt(), 0);
}

TEST(ParamNode, LookupCreatesOnlyWhenAsked) {
  ParamNode node;
  EXPECT_TRUE(node.answered);
  EXPECT_FALSE(node.noUnit);
  EXPECT_EQ(node.unitId, UnitId());
  EXPECT_EQ(node.Find("LINK", "PROT"), nullptr);
  EXPECT_EQ(node.params, nullptr);
  node.Value("LINK", "PROT").FromInt(1);
  node.Value("LINK", "CHAN").FromInt(5);
  ASSERT_NE(node.Find("LINK", "PROT"), nullptr);
  EXPECT_EQ(node.Find("LINK", "CHAN")->value, "5");
  EXPECT_EQ(node.Find("LINK", "FEC"), nullptr);
  EXPECT_EQ(node.Find("DPORT", "RATE"), nullptr);
  EXPECT_EQ(node.params->size(), 1u);
  EXPECT_EQ(node.params->at("LINK").size(), 2u);
}
