// The base device: value tables, power tables, spacing rules, synthesizer, channel numbers and
// features against real unit images.

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

#include "devices/VkcDevice.h"
#include "devices/VkcUnitImages.h"
#include "link/Utf.h"

namespace {

std::string N(const char16_t* text) { return text ? Utf16ToUtf8(text) : std::string("<null>"); }

class FamilyDevice : public VkcDevice {
 public:
  explicit FamilyDevice(int family) : family_(family) {}
  int GetFirmwareFamily() const override { return family_; }

 private:
  int family_;
};

TEST(DeviceTables, TranslateSettingFallsBackToTheValue) {
  VkcDevice device;
  EXPECT_EQ(device.TranslateSetting("LINK", "CHAN", "-2"), "Middle");
  EXPECT_EQ(device.TranslateSetting("LINK", "CHAN", "5"), "5");
  EXPECT_EQ(device.TranslateSetting("link", "CHAN", "0"), "0");
  EXPECT_EQ(device.TranslateSetting("LINK", "chan", "0"), "0");
  EXPECT_EQ(device.TranslateSetting("DPORT", "RATE", "0"), "Maintenance rate");
  EXPECT_EQ(device.TranslateSetting("MPORT", "RATE", "0"), "115200");
  EXPECT_EQ(device.TranslateSetting("MPORT", "RATE", "5"), "14400");
  EXPECT_EQ(device.TranslateSetting("LINK", "MOD", "7"), "FBPSK");
  EXPECT_EQ(device.TranslateSetting("LINK", "PROT", "0"), "0");
  EXPECT_EQ(device.TranslateSetting("LINK", "PROT", "6"), "");  // the table's own empty name
  EXPECT_EQ(device.TranslateSetting("DPORT", "FLOW", "2"), "Hardware");
  FamilyDevice family1(1);
  EXPECT_EQ(family1.TranslateSetting("LINK", "PROT", "10"), "Repeater");
}

TEST(DeviceTables, NameTables) {
  FamilyDevice a(0), b(1), b2(2), a3(3);
  EXPECT_EQ(N(VkcDevice::GetSerialRateName(0)), "<null>");
  EXPECT_EQ(N(VkcDevice::GetSerialRateName(9)), "115200");
  EXPECT_EQ(N(VkcDevice::GetSerialRateName(10)), "<null>");
  EXPECT_EQ(VkcDevice::GetSerialRateNameCount(), 10);
  EXPECT_EQ(N(VkcDevice::GetModulationName(-1)), "<null>");
  EXPECT_EQ(N(VkcDevice::GetModulationName(6)), "FBPSK");
  EXPECT_EQ(N(VkcDevice::GetModulationName(7)), "<null>");
  EXPECT_EQ(N(a.GetProtocolName(17)), "<null>");
  EXPECT_EQ(N(a.GetProtocolName(6)), "");
  EXPECT_EQ(N(a.GetProtocolName(1)), "Simplex Receiver");
  EXPECT_EQ(N(a3.GetProtocolName(1)), "Simplex Receiver");
  EXPECT_EQ(N(b.GetProtocolName(1)), "Velkor Transceiver");
  EXPECT_EQ(N(b2.GetProtocolName(10)), "Velkor Repeater");
}

TEST(DeviceTables, PowerTables) {
  const int* standard = VkcDevice::kStandardPowerTable;
  const int* extended = VkcDevice::kExtendedPowerTable;
  EXPECT_EQ(VkcDevice::NearestPowerIndex(14, standard, 36), 12);
  EXPECT_EQ(VkcDevice::NearestPowerIndex(40000, standard, 36), 45);
  EXPECT_EQ(VkcDevice::NearestPowerIndex(40000, extended, 37), 46);
  EXPECT_EQ(VkcDevice::PowerTableEntry(45, standard, 36), 35000);
  EXPECT_EQ(VkcDevice::PowerTableEntry(45, extended, 37), 32000);
  EXPECT_EQ(VkcDevice::PowerTableEntry(44, standard, 36), 25000);
  EXPECT_EQ(VkcDevice::PowerTableEntry(44, extended, 37), 25000);
  EXPECT_EQ(VkcDevice::PowerTableEntry(9, standard, 36), -1);
  EXPECT_EQ(VkcDevice::DbmToMilliwatts(46, false), -1);
  EXPECT_EQ(VkcDevice::DbmToMilliwatts(46, true), 35000);
  EXPECT_EQ(VkcDevice::MilliwattsToDbm(1000, false), 30);
}

TEST(DeviceBase, SmallRules) {
  VkcDevice device;
  int ms = 19;
  device.ClampTxStartDelay(ms);
  EXPECT_EQ(ms, 20);
  ms = 1920;
  device.ClampTxStartDelay(ms);
  EXPECT_EQ(ms, 1920);
  ms = 1921;
  device.ClampTxStartDelay(ms);
  EXPECT_EQ(ms, 20);

  std::vector<int> mods;
  device.GetModulationsForProtocol(12, mods);
  EXPECT_EQ(mods, (std::vector<int>{4, 5}));
  mods.clear();
  device.GetModulationsForProtocol(3, mods);
  EXPECT_EQ(mods, (std::vector<int>{0, 1, 2, 3}));

  EXPECT_TRUE(device.IsRepeaterAllowed(11));
  EXPECT_FALSE(device.IsRepeaterAllowed(3));
  EXPECT_FALSE(FamilyDevice(1).IsRepeaterAllowed(1));

  std::u16string text;
  device.FormatChannelSpacing(12500, text);
  EXPECT_EQ(Utf16ToUtf8(text), "12.5 kHz");
  EXPECT_FLOAT_EQ(device.GetChannelSpacingSteps(0), 4.0f);
}

TEST(DeviceSynthesizer, ChannelNodes) {
  VkcDevice device;
  CfgNode node = device.CalcSynthesizerSettings(450000000);
  EXPECT_EQ(node.GetScalar(), 450000000u);
  ASSERT_EQ(node.GetChildCount(), 6u);
  EXPECT_EQ(node.ChildAt(0).GetInt(), 0);
  EXPECT_EQ(node.ChildAt(1).GetType(), CfgNode::kTypeNone);
  EXPECT_EQ(node.ChildAt(3).GetInt(), 41);
  EXPECT_EQ(node.ChildAt(4).GetInt(), 248);
  EXPECT_EQ(node.ChildAt(5).GetInt(), 0);

  node = device.CalcSynthesizerSettings(138000000);  // negative fraction, divider 2
  EXPECT_EQ(node.ChildAt(0).GetInt(), 1);
  EXPECT_EQ(node.ChildAt(3).GetInt(), 13);
  EXPECT_EQ(node.ChildAt(4).GetInt(), 944);
  EXPECT_EQ(node.ChildAt(5).GetInt(), 0);

  node = device.CalcSynthesizerSettings(0);  // no divider reaches the range: no loop
  EXPECT_EQ(node.GetScalar(), 0u);
  EXPECT_EQ(node.GetChildCount(), 0u);

  // The lowest frequencies need the largest dividers; the answer is the smallest divider that
  // reaches the range, as counting up from 1 would find it.
  node = device.CalcSynthesizerSettings(1);
  const uint32_t k = node.ChildAt(0).GetScalar() + 1;
  EXPECT_GE(2.0 * 1 / (12288000.0 / k), 37.5);
  EXPECT_LT(2.0 * 1 / (12288000.0 / (k - 1)), 37.5);
}

class ImagesTest : public ::testing::Test {
 protected:
  VkcUnitImages system_;
  VkcDevice device_;
};

struct SpacingCase {
  const char* version;
  bool userTyped;
  int dealer;
  int user;
  int expectHz;
};

TEST_F(ImagesTest, SpacingFollowsTheFirmwareRule) {
  const SpacingCase cases[] = {
      {"SW 2.5 Rev 0", true, 0, 2, 6250},     // dealer image, reversed order
      {"SW 1.6 Rev 17", true, 2, 0, 25000},   // below 1.6.18: dealer image
      {"SW 3.2 Rev 0", true, 2, 0, 25000},    // user image, normal order
      {"SW 3.2 Rev 0", false, 2, 0, 25000},   // user node untyped: dealer, reversed
      {"SW 1.9 Rev A", true, 1, 2, 6250},     // lettered builds: 1.9.100 is past 1.6.18
  };
  for (const SpacingCase& c : cases) {
    SCOPED_TRACE(c.version);
    VkcUnitImages system;
    system.SetSoftwareVersion(c.version);
    system.WriteInt(VkcNodes::kDealerSpacing, c.dealer);
    if (c.userTyped) system.WriteInt(VkcNodes::kUserSpacing, c.user);
    EXPECT_EQ(device_.GetChannelSpacingHz(system), c.expectHz);
  }
}

TEST_F(ImagesTest, SpacingWritesWhereTheFirmwareKeepsIt) {
  system_.SetSoftwareVersion("SW 1.6 Rev 17");
  system_.WriteInt(VkcNodes::kUserSpacing, 1);
  device_.SetChannelSpacingIndex(system_, 2);
  EXPECT_EQ(system_.ReadInt(VkcNodes::kDealerSpacing), 2);
  EXPECT_EQ(system_.ReadInt(VkcNodes::kUserSpacing), 1);

  system_.SetSoftwareVersion("SW 3.0 Rev 0");
  device_.SetChannelSpacingIndex(system_, 0);
  EXPECT_EQ(system_.ReadInt(VkcNodes::kUserSpacing), 0);
}

TEST_F(ImagesTest, SpacingHzAsTheFirstCallUsesTheStoredOrder) {
  // Nothing read the index before: the order flag must still be right for the dealer image.
  system_.SetSoftwareVersion("SW 1.6 Rev 0");
  EXPECT_TRUE(device_.SetChannelSpacingHz(system_, 6250));
  EXPECT_EQ(system_.ReadInt(VkcNodes::kDealerSpacing), 0);
  EXPECT_FALSE(device_.SetChannelSpacingHz(system_, 10000));
  EXPECT_EQ(device_.ChannelSpacingToIndex(10000), -1);
}

TEST_F(ImagesTest, FeatureBoundaries) {
  struct {
    const char* version;
    bool feature10;
  } cases[] = {{"SW 1.9 Rev 0", true}, {"SW 1.9 Rev A", false}, {"SW 2.0 Rev 0", false},
               {"SW 3.1 Rev 99", true}, {"SW 3.2 Rev 0", false}, {"3.1 Rev 0", false}};
  for (auto& c : cases) {
    system_.SetSoftwareVersion(c.version);
    EXPECT_EQ(device_.HasFeature(system_, 10), c.feature10) << c.version;
  }
  system_.WriteInt(VkcNodes::kProtocol, 3);
  EXPECT_FALSE(device_.HasFeature(system_, 2));
  system_.SetSoftwareVersion("SW 3.1 Rev 0");
  EXPECT_TRUE(device_.HasFeature(system_, 11));
  system_.WriteInt(VkcNodes::kProtocol, 9);
  EXPECT_TRUE(device_.HasFeature(system_, 2));
  EXPECT_FALSE(device_.HasFeature(system_, 11));
  EXPECT_TRUE(device_.HasFeature(system_, 20));
  EXPECT_FALSE(device_.HasFeature(system_, 19));
}

TEST_F(ImagesTest, ChannelNumbers) {
  const std::vector<uint32_t> list = {450000000, 451000000, 452000000};
  device_.SetChannelFrequencies(system_, list);
  // A factory row naming channel 7 wins over the dealer map.
  CfgNode& factoryRow = system_.At(VkcNodes::kFactoryChannels, 3);
  factoryRow.SetInt(460000000);
  factoryRow.GetChildAt(6).SetInt(7);
  EXPECT_EQ(device_.GetChannelFrequency(7, system_), 460000000u);
  EXPECT_EQ(device_.GetChannelFrequency(2, system_), 451000000u);
  EXPECT_EQ(device_.GetChannelFrequency(4, system_), 0u);
  EXPECT_EQ(device_.GetChannelFrequency(0, system_), 0u);
  EXPECT_EQ(device_.GetChannelNumber(452000000, system_), 3);
  EXPECT_EQ(device_.GetChannelNumber(460000000, system_), 7);

  // Negative numbers and unknown frequencies read nothing and grow nothing.
  const size_t dealerRows = system_.Find(VkcNodes::kDealerChannels)->GetChildCount();
  const size_t factoryRows = system_.Find(VkcNodes::kFactoryChannels)->GetChildCount();
  EXPECT_EQ(device_.GetChannelFrequency(-2, system_), 0u);
  EXPECT_EQ(device_.GetChannelNumber(1, system_), 0);
  EXPECT_EQ(system_.Find(VkcNodes::kDealerChannels)->GetChildCount(), dealerRows);
  EXPECT_EQ(system_.Find(VkcNodes::kFactoryChannels)->GetChildCount(), factoryRows);
}

TEST_F(ImagesTest, ChannelMapRewriteKeepsPerChannelValues) {
  device_.SetChannelFrequencies(system_, {450000000, 451000000});
  CfgNode& row = system_.At(VkcNodes::kDealerChannels, 1);
  row.GetChildAt(6).SetInt(33);
  row.GetChildAt(7).SetInt(1);
  device_.SetChannelFrequencies(system_, {138000000, 451000000, 0});
  std::vector<uint32_t> values;
  device_.GetChannelFrequencies(system_, values);
  EXPECT_EQ(values, (std::vector<uint32_t>{138000000, 451000000, 0}));
  const CfgNode* map = system_.Find(VkcNodes::kDealerChannels);
  EXPECT_EQ(map->ChildAt(0).ChildAt(4).GetInt(), 944);
  EXPECT_EQ(map->ChildAt(1).ChildAt(6).GetInt(), 33);
  EXPECT_EQ(map->ChildAt(1).ChildAt(7).GetInt(), 1);

  VkcConfiguration tree;
  device_.SetChannelList(tree, {450000000});
  device_.GetChannelList(tree, values);
  EXPECT_EQ(values, (std::vector<uint32_t>{450000000}));
  EXPECT_EQ(tree.GetChild(4).ChildAt(0).ChildAt(3).GetInt(), 41);
}

TEST_F(ImagesTest, ChannelsPresetsAndScanning) {
  SetGlobalUnitImages(&system_);
  device_.SetChannel(system_, -3);
  EXPECT_EQ(device_.GetChannel(system_), -3);
  EXPECT_FALSE(device_.IsAutoScanActive());
  system_.WriteInt(VkcNodes::kHoppingPattern, 5);
  device_.SetRxChannel(system_, 4);
  device_.SetAutoScanning(true);
  EXPECT_EQ(device_.GetChannel(system_), 0);
  EXPECT_EQ(device_.GetRxChannel(system_), 0);
  EXPECT_EQ(system_.ReadInt(VkcNodes::kHoppingPattern), 0);
  EXPECT_TRUE(device_.IsAutoScanActive());
  SetGlobalUnitImages(nullptr);

  EXPECT_EQ(device_.GetPresetFrequency(1, &system_), 0u);  // empty factory image: the band default
  system_.At(VkcNodes::kFactoryChannels, 1).SetInt(433000000);
  EXPECT_EQ(device_.GetPresetFrequency(1, &system_), 433000000u);
  EXPECT_EQ(device_.GetPresetFrequency(2, &system_), 0u);
  EXPECT_EQ(device_.GetPresetFrequency(1, nullptr), 0u);

  VkcConfiguration tree;
  EXPECT_EQ(device_.GetStoredPortRateIndex(tree, 0), -1);
  tree.GetChild(1).GetChildAt(2).GetChildAt(4).GetChildAt(0).SetInt(9);
  EXPECT_EQ(device_.GetStoredPortRateIndex(tree, 2), 8);
}

TEST_F(ImagesTest, TransmitterProtocolFromTheImages) {
  system_.WriteInt(VkcNodes::kProtocol, 13);
  EXPECT_TRUE(device_.IsTransmitterProtocol(system_, true, nullptr));
  system_.WriteInt(VkcNodes::kProtocol, 12);
  EXPECT_FALSE(device_.IsTransmitterProtocol(system_, true, nullptr));
  std::vector<int> mods;
  device_.GetModulationsForCurrentProtocol(system_, mods);
  EXPECT_EQ(mods, (std::vector<int>{4, 5}));
}

}  // namespace

namespace {

// One prototype serves the user interface and a worker at once: each must read its own unit's
// spacing whatever order the other's read left the order flag in.
TEST(DevicePrototype, SpacingReadsFromTwoThreadsStayConsistent) {
  const VkcDevice device;
  VkcUnitImages dealerReversed;
  dealerReversed.SetSoftwareVersion("SW 2.5 Rev 0");
  dealerReversed.WriteInt(VkcNodes::kDealerSpacing, 0);
  VkcUnitImages userNormal;
  userNormal.SetSoftwareVersion("SW 3.2 Rev 0");
  userNormal.WriteInt(VkcNodes::kUserSpacing, 0);
  std::atomic<int> wrong{0};
  auto reader = [&](VkcUnitImages& images, int expected) {
    for (int i = 0; i < 2000; ++i) wrong += device.GetChannelSpacingHz(images) != expected;
  };
  std::thread a(reader, std::ref(dealerReversed), 6250);
  std::thread b(reader, std::ref(userNormal), 25000);
  a.join();
  b.join();
  EXPECT_EQ(wrong.load(), 0);
}

}  // namespace
