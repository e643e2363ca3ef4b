#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "link/VkcCfgArchiver.h"
#include "link/VkcConfiguration.h"
#include "link/VkcMemoryStream.h"

namespace {

std::vector<uint8_t> Hex(const std::string& text) {
  std::vector<uint8_t> out;
  std::string digits;
  for (char c : text) {
    if (c != ' ') digits += c;
  }
  for (size_t i = 0; i + 1 < digits.size(); i += 2) out.push_back(static_cast<uint8_t>(std::stoi(digits.substr(i, 2), nullptr, 16)));
  return out;
}

std::vector<uint8_t> Store(const VkcConfiguration& tree) {
  VkcMemoryStream stream;
  VkcCfgArchiver ar;
  ar.Attach(stream, false);
  EXPECT_TRUE(tree.Save(ar));
  ar.Detach();
  return stream.TakeBytes();
}

const char kRateNode[] = "53 1e000000 08000000 5200 6100 7400 6500 4e 02 05000000 00000000 00000000 54";

}  // namespace

TEST(VkcCfgArchiver, GoldenBytes) {
  CfgNode rate(u"Rate");
  rate.SetInt(5);
  VkcMemoryStream stream;
  VkcCfgArchiver ar;
  ar.Attach(stream, false);
  ASSERT_TRUE(rate.Save(ar));
  EXPECT_EQ(stream.TakeBytes(), Hex(kRateNode));

  VkcConfiguration tree;
  tree.GetSection("Rate").SetInt(5);
  const std::vector<uint8_t> record =
      Hex(std::string("00000000 53 3e000000 08000000 5200 4f00 4f00 5400 4e 00 00000000 00000000 00000000 ") + kRateNode + " 54");
  ASSERT_EQ(record.size(), 68u);
  EXPECT_EQ(Store(tree), record);

  VkcConfiguration loaded(0x4242);
  VkcMemoryStream in(record);
  VkcCfgArchiver reader;
  reader.Attach(in, true);
  ASSERT_TRUE(loaded.Load(reader));
  EXPECT_EQ(in.Position(), 68u);
  EXPECT_EQ(loaded.GetId(), 0x4242u);
  EXPECT_EQ(loaded.Root().GetName(), u"ROOT");
  ASSERT_EQ(loaded.Root().GetChildCount(), 1u);
  EXPECT_EQ(loaded.GetChild(0).GetName(), u"Rate");
  EXPECT_EQ(loaded.GetChild(0).GetType(), CfgNode::kTypeInt);
  EXPECT_EQ(loaded.GetChild(0).GetScalar(), 5u);
}
