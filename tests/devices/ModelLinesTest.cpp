// Transceiver model lines: protocol lists, firmware families, spacing, power, features, bands,
// Golden channel numbers and the Leica data-port rate, family by family.

#include <gtest/gtest.h>

#include <memory>

#include "devices/VkcDevice.h"
#include "devices/VkcDeviceManager.h"
#include "devices/VkcUnitImages.h"
#include "link/Format.h"
#include "link/Utf.h"
#include "link/VkcErrorProcessor.h"
#include "link/VkcSerialPort.h"
#include "platform/Timing.h"
#include "sim/SimIdent.h"
#include "sim/SimUnit.h"

namespace {

// "SW a.b Rev c"; builds from 100 up are lettered revisions.
std::string Sw(int a, int b, int c) {
  if (c >= 100) return StrPrintf("SW %d.%d Rev %c", a, b, 'A' + (c - 100));
  return StrPrintf("SW %d.%d Rev %d", a, b, c);
}

class ModelLines : public ::testing::Test {
 protected:
  void SetUp() override {
    manager_.RegisterPrototypes();
    SetGlobalUnitImages(&system_);
    ErrorLog().Clear();
  }
  void TearDown() override { SetGlobalUnitImages(nullptr); }

  const VkcDevice& Dev(int key) {
    const VkcDevice* d = manager_.GetDevice(key);
    EXPECT_NE(d, nullptr) << key;
    return *d;
  }
  void Fw(int a, int b, int c) { system_.SetSoftwareVersion(Sw(a, b, c)); }
  size_t DealerRows() const {
    const CfgNode* map = system_.Find(VkcNodes::kDealerChannels);
    return map ? map->GetChildCount() : 0;
  }

  VkcDeviceManager manager_;
  VkcUnitImages system_;
};

TEST_F(ModelLines, ProtocolListsByFamilyAndFirmware) {
  struct Case {
    int key;
    std::array<int, 3> fw;
    std::vector<int> tx, rx;
  };
  const std::vector<Case> cases = {
      {4, {1, 5, 9}, {2, 8}, {1, 10, 7, 11}},                               // VK400 before 1.6.0: base
      {4, {1, 6, 0}, {2, 8, 13, 15}, {1, 10, 7, 11, 12, 9, 14}},             // full, family 0
      {4, {2, 1, 0}, {2, 8, 13, 15, 4}, {1, 7, 12, 3, 14}},                  // full, family 3
      {4, {1, 6, 102}, {2, 8, 13, 15}, {1, 10, 7, 11, 12, 9, 14}},           // "Rev C" does not order below 1.6.0
      {48, {1, 5, 9}, {2, 8}, {1, 10, 7, 11}},                              // VK400BT follows the VK400 rule
      {31, {1, 5, 9}, {2, 8, 13, 15}, {1, 10, 7, 11, 12, 9, 14}},            // ONX402 always full
      {3, {3, 0, 0}, {2, 8, 13, 15}, {1, 7, 12, 14}},                        // VK435, family 1
      {16, {2, 1, 0}, {2, 4, 13}, {1, 3, 12}},                               // VK135
      {16, {1, 0, 0}, {2, 13}, {1, 10, 12, 9}},
      {12, {2, 1, 0}, {2, 4}, {1, 3}},                                       // VK100
      {12, {3, 2, 0}, {2}, {1, 10}},
      {201, {3, 2, 0}, {2, 8, 13, 15}, {1, 10, 7, 11, 12, 9, 14}},           // VK100Tx: full
      {27, {3, 2, 0}, {2, 8}, {1, 10, 7, 11}},                               // VK415: base
      {1, {3, 2, 0}, {2, 8}, {1, 10, 7, 11}},                                // MIV20-1
      {43, {1, 9, 5}, {2, 8, 13, 15}, {1, 7, 12, 14}},                       // VK435BT: VK400Tx families
      {6, {1, 9, 5}, {2, 8, 13, 15}, {1, 7, 12, 14}},                        // VK400Tx family 1
      {28, {1, 9, 5}, {2, 8, 13, 15}, {1, 10, 7, 11, 12, 9, 14}},            // VK400Qr family 0
      {22, {3, 2, 0}, {2, 8, 8, 13}, {1, 10, 7, 11, 7, 11, 12, 9}},          // Topcon repeats entries
      {2, {3, 2, 0}, {1, 7, 12, 14}, {1, 7, 12, 14}},                        // VK400Rx
      {36, {3, 2, 0}, {1}, {1}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(StrPrintf("key %d fw %s", c.key, Sw(c.fw[0], c.fw[1], c.fw[2]).c_str()));
    Fw(c.fw[0], c.fw[1], c.fw[2]);
    std::vector<int> tx, rx;
    Dev(c.key).GetProtocolList(true, tx);
    Dev(c.key).GetProtocolList(false, rx);
    EXPECT_EQ(tx, c.tx);
    EXPECT_EQ(rx, c.rx);
  }
}

TEST_F(ModelLines, FirmwareFamiliesAndCapabilities) {
  struct Case {
    int key;
    std::array<int, 3> fw;
    int family;
  };
  const Case cases[] = {
      {4, {1, 9, 5}, 0},  {4, {2, 0, 0}, 3},  {4, {2, 9, 9}, 3},  {4, {3, 0, 0}, 1}, {4, {3, 1, 9}, 1},
      {4, {3, 2, 0}, 2},  {6, {1, 8, 9}, 0},  {6, {1, 9, 0}, 1},  {6, {2, 0, 0}, 3}, {6, {3, 1, 0}, 3},
      {6, {3, 2, 0}, 2},  {43, {1, 9, 0}, 1}, {35, {1, 9, 0}, 1}, {3, {1, 9, 0}, 0}, {28, {1, 9, 0}, 0},
      {33, {3, 1, 0}, 1}, {2, {3, 2, 0}, 0},  {22, {2, 0, 0}, 3},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(StrPrintf("key %d fw %d.%d.%d", c.key, c.fw[0], c.fw[1], c.fw[2]));
    Fw(c.fw[0], c.fw[1], c.fw[2]);
    EXPECT_EQ(Dev(c.key).GetFirmwareFamily(), c.family);
    if (Dev(c.key).IsTransceiver()) {
      EXPECT_EQ(Dev(c.key).SupportsSensitivity(), c.family == 2);
      EXPECT_EQ(Dev(c.key).SupportsSyncResetTime(), c.family == 2);
    }
  }
  const std::pair<std::array<int, 3>, bool> callSign[] = {
      {{1, 7, 9}, false}, {{1, 8, 0}, true}, {{1, 8, 9}, true}, {{1, 9, 0}, false}, {{3, 1, 9}, false}, {{3, 2, 0}, true}};
  for (const auto& [fw, yes] : callSign) {
    Fw(fw[0], fw[1], fw[2]);
    EXPECT_EQ(Dev(4).SupportsCallSign(), yes) << fw[0] << fw[1] << fw[2];
    EXPECT_EQ(Dev(4).SupportsTransceiverMode(), fw[0] == 3 && fw[1] == 2);
  }
  EXPECT_TRUE(Dev(2).HasFeature(system_, 17) == false);
  EXPECT_FALSE(Dev(2).IsTransmitterProtocol(system_, true, nullptr));
}

TEST_F(ModelLines, SpacingStepsAndLists) {
  Fw(1, 8, 5);
  // The fourth spacing counts 3.125 steps everywhere but on the VK400Tx itself.
  for (int key : {48, 57, 12, 201, 42, 28, 33, 2, 58, 4}) {
    EXPECT_FLOAT_EQ(Dev(key).GetChannelSpacingSteps(3), 3.125f) << key;
    EXPECT_FLOAT_EQ(Dev(key).GetChannelSpacingSteps(1), 2.0f) << key;
    EXPECT_EQ(Dev(key).ChannelSpacingFromIndex(3), 20000) << key;
    EXPECT_EQ(Dev(key).ChannelSpacingToIndex(20000), 3) << key;
  }
  EXPECT_FLOAT_EQ(Dev(48).GetChannelSpacingSteps(7), 1.0f);
  EXPECT_FLOAT_EQ(Dev(6).GetChannelSpacingSteps(3), 3.2f);
  EXPECT_FLOAT_EQ(Dev(32).GetChannelSpacingSteps(0), 4.375f);

  struct ListCase {
    int key;
    std::array<int, 3> fw;
    std::vector<int> list;
  };
  const ListCase lists[] = {
      {4, {1, 8, 5}, {6250, 12500, 20000, 25000}}, {4, {2, 5, 0}, {6250, 12500, 25000}},
      {4, {3, 2, 0}, {6250, 12500, 20000, 25000}}, {48, {2, 5, 0}, {6250, 12500, 20000, 25000}},
      {3, {1, 9, 0}, {6250, 12500, 25000, 20000}}, {3, {2, 5, 0}, {6250, 12500, 25000}},
      {42, {2, 5, 0}, {6250, 12500, 25000, 20000}}, {6, {2, 5, 0}, {6250, 12500, 25000, 20000}},
      {22, {2, 5, 0}, {12500, 25000}},             {112, {2, 5, 0}, {6250, 12500, 25000}},
      {32, {2, 5, 0}, {25000}},                    {27, {2, 5, 0}, {6250, 12500, 25000}},
  };
  for (const ListCase& c : lists) {
    Fw(c.fw[0], c.fw[1], c.fw[2]);
    std::vector<int> list{99};
    Dev(c.key).GetChannelSpacingList(list);
    EXPECT_EQ(list, c.list) << c.key;
  }
  // Topcon: two spacings, no swap.
  EXPECT_EQ(Dev(22).ChannelSpacingToIndex(25000), 0);
  EXPECT_EQ(Dev(22).ChannelSpacingToIndex(12500), 1);
  EXPECT_EQ(Dev(22).ChannelSpacingToIndex(6250), -1);
  EXPECT_EQ(Dev(22).ChannelSpacingFromIndex(2), -1);
}

TEST_F(ModelLines, VK400SpacingStorageFollowsTheFirmware) {
  const VkcDevice& vk400 = Dev(4);
  system_.WriteInt(VkcPath(kVkcD, 4, 2, 7), 3);   // channel 3's spacing: 20000 Hz
  system_.WriteInt(VkcNodes::kUserSpacing, 1);    // 12500 Hz
  system_.WriteInt(VkcNodes::kDealerSpacing, 0);

  Fw(1, 8, 5);
  system_.WriteInt(VkcNodes::kChannel, 3);
  EXPECT_EQ(vk400.GetChannelSpacingIndex(system_, -1), 3);
  EXPECT_EQ(vk400.GetChannelSpacingHz(system_), 20000);
  EXPECT_EQ(vk400.GetChannelSpacingIndex(system_, 2), 3);
  // An index the map does not have reads as absent and creates no row.
  const size_t rows = DealerRows();
  EXPECT_EQ(vk400.GetChannelSpacingIndex(system_, 40), 0);
  EXPECT_EQ(vk400.GetChannelSpacingIndex(system_, -5), 0);
  EXPECT_EQ(DealerRows(), rows);
  system_.WriteInt(VkcNodes::kChannel, 0);
  EXPECT_EQ(vk400.GetChannelSpacingIndex(system_, -1), 1);
  // Writes go where the reads come from.
  system_.WriteInt(VkcNodes::kChannel, 3);
  EXPECT_TRUE(vk400.SetChannelSpacingHz(system_, 12500));
  EXPECT_EQ(system_.ReadInt(VkcPath(kVkcD, 4, 2, 7)), 1);
  system_.WriteInt(VkcNodes::kChannel, 0);

  // 2.5.0: the dealer image, reversed order (index 0 is 6250 Hz).
  Fw(2, 5, 0);
  EXPECT_EQ(vk400.GetChannelSpacingHz(system_), 6250);
  EXPECT_TRUE(vk400.IsReversedSpacingOrder());
  EXPECT_TRUE(vk400.SetChannelSpacingHz(system_, 25000));
  EXPECT_EQ(system_.ReadInt(VkcNodes::kDealerSpacing), 2);

  Fw(3, 2, 0);
  EXPECT_EQ(vk400.GetChannelSpacingHz(system_), 12500);
  EXPECT_FALSE(vk400.IsReversedSpacingOrder());
  Fw(1, 7, 0);
  EXPECT_EQ(vk400.GetChannelSpacingIndex(system_, -1), 1);  // [1.6.13, 1.8.0): user image

  // VK400BT and ONX402 keep it in the user image whatever the firmware.
  Fw(2, 5, 0);
  EXPECT_EQ(Dev(48).GetChannelSpacingIndex(system_, -1), 1);
  EXPECT_EQ(Dev(31).GetChannelSpacingIndex(system_, -1), 1);
}

TEST_F(ModelLines, VK435SwapsWhereTheDealerImageHoldsTheIndex) {
  const VkcDevice& vk435 = Dev(3);
  system_.WriteInt(VkcNodes::kDealerSpacing, 0);
  Fw(1, 6, 10);  // below 1.6.11: dealer image, swapped
  EXPECT_EQ(vk435.GetChannelSpacingHz(system_), 6250);
  Fw(1, 6, 11);  // no user value: dealer image, still swapped
  EXPECT_EQ(vk435.GetChannelSpacingHz(system_), 6250);
  system_.WriteInt(VkcNodes::kUserSpacing, 0);
  EXPECT_EQ(vk435.GetChannelSpacingHz(system_), 25000);
  EXPECT_TRUE(vk435.SetChannelSpacingHz(system_, 20000));
  EXPECT_EQ(system_.ReadInt(VkcNodes::kUserSpacing), 3);
}

TEST_F(ModelLines, PerChannelOutputPower) {
  system_.WriteInt(VkcNodes::kOutputPower, 30);
  system_.WriteInt(VkcPath(kVkcD, 4, 0, 6), 21);
  system_.WriteInt(VkcPath(kVkcD, 4, 1, 6), 22);
  for (int key : {4, 28}) {  // VK400 and the VK400Qr branch
    SCOPED_TRACE(key);
    const VkcDevice& d = Dev(key);
    Fw(1, 8, 0);
    system_.WriteInt(VkcNodes::kChannel, 2);
    EXPECT_EQ(d.GetOutputPower(VkcDevice::kCurrentChannel), 22);
    EXPECT_EQ(d.GetOutputPower(0), 21);
    const size_t rows = DealerRows();
    EXPECT_EQ(d.GetOutputPower(40), 0);
    EXPECT_EQ(d.GetOutputPower(-5), 0);
    EXPECT_EQ(DealerRows(), rows);
    d.SetOutputPower(20, VkcDevice::kCurrentChannel);
    EXPECT_EQ(system_.ReadInt(VkcPath(kVkcD, 4, 1, 6)), 20);
    EXPECT_EQ(system_.ReadInt(VkcNodes::kOutputPower), 30);
    system_.WriteInt(VkcNodes::kChannel, 0);
    EXPECT_EQ(d.GetOutputPower(VkcDevice::kCurrentChannel), 30);
    d.SetOutputPower(25, VkcDevice::kCurrentChannel);
    EXPECT_EQ(system_.ReadInt(VkcNodes::kOutputPower), 25);
    // Family 2: the user image only.
    Fw(3, 2, 0);
    system_.WriteInt(VkcNodes::kChannel, 2);
    d.SetOutputPower(27, VkcDevice::kCurrentChannel);
    EXPECT_EQ(system_.ReadInt(VkcNodes::kOutputPower), 27);
    EXPECT_EQ(d.GetOutputPower(1), 27);
    system_.WriteInt(VkcNodes::kOutputPower, 30);
    system_.WriteInt(VkcPath(kVkcD, 4, 1, 6), 22);
  }
  // A per-channel write past the dealer map is refused and logged: it never grows the map (a
  // grown map would send rows of 0 Hz channels to the unit).
  Fw(1, 8, 0);
  system_.WriteInt(VkcPath(kVkcD, 4, 2, 6), 23);  // a 3-row map
  for (int key : {4, 28}) {
    ErrorLog().Clear();
    system_.WriteInt(VkcNodes::kChannel, 20);
    Dev(key).SetOutputPower(20, VkcDevice::kCurrentChannel);
    Dev(key).SetOutputPower(20, 1000);
    EXPECT_TRUE(Dev(key).SetChannelSpacingHz(system_, 12500));
    EXPECT_EQ(DealerRows(), 3u) << key;
    EXPECT_EQ(ErrorLog().Count(), 3u) << key;
  }
  system_.WriteInt(VkcNodes::kChannel, static_cast<int32_t>(0x80000000u));  // from a crafted file
  Dev(4).SetOutputPower(20, VkcDevice::kCurrentChannel);
  Dev(28).SetOutputPower(20, VkcDevice::kCurrentChannel);
  EXPECT_EQ(DealerRows(), 3u);
  // VK400BT keeps the transceiver rule.
  system_.WriteInt(VkcNodes::kChannel, 2);
  Dev(48).SetOutputPower(19, VkcDevice::kCurrentChannel);
  EXPECT_EQ(system_.ReadInt(VkcNodes::kOutputPower), 19);
}

TEST_F(ModelLines, FeatureTables) {
  struct Case {
    int key;
    std::array<int, 3> fw;
    int id;
    bool answer;
  };
  const Case cases[] = {
      {4, {1, 8, 0}, 5, true},    {4, {1, 7, 9}, 5, false},   {4, {3, 2, 0}, 17, false},
      {31, {1, 8, 0}, 5, false},  {31, {1, 8, 0}, 17, true},  {48, {1, 0, 0}, 7, true},
      {48, {1, 0, 0}, 12, true},  {48, {1, 0, 0}, 13, false}, {49, {1, 0, 0}, 13, true},
      {70, {1, 0, 0}, 13, true},  {100, {1, 0, 0}, 7, false}, {100, {1, 0, 0}, 12, true},
      {42, {1, 0, 0}, 6, true},   {43, {1, 0, 0}, 6, true},   {3, {1, 0, 0}, 6, false},
      {6, {1, 9, 5}, 5, true},    {6, {3, 0, 1}, 5, true},    {6, {2, 0, 1}, 5, false},
      {6, {3, 0, 0}, 5, false},   {6, {1, 9, 0}, 5, false},   {74, {1, 0, 0}, 17, true},
      {22, {1, 0, 0}, 0, false},  {22, {1, 0, 0}, 1, false},  {22, {1, 0, 0}, 8, true},
      {32, {1, 0, 0}, 8, false},  {32, {1, 0, 0}, 14, true},  {32, {1, 0, 0}, 3, true},
      {36, {1, 0, 0}, 4, true},   {36, {1, 0, 0}, 1, false},  {36, {1, 0, 0}, 20, false},
      {3601, {1, 0, 0}, 16, true}, {69, {1, 0, 0}, 16, false}, {69, {1, 0, 0}, 19, true},
      {2, {1, 0, 0}, 17, false},
  };
  for (const Case& c : cases) {
    Fw(c.fw[0], c.fw[1], c.fw[2]);
    EXPECT_EQ(Dev(c.key).HasFeature(system_, c.id), c.answer) << "key " << c.key << " id " << c.id;
  }
  EXPECT_TRUE(Dev(100).IsBluetoothModel());
  for (int key : {49, 47, 70, 71}) {
    EXPECT_TRUE(Dev(key).IsGsmModel()) << key;
    EXPECT_FALSE(Dev(key).IsBluetoothModel()) << key;
    int count = 0;
    const char16_t* const* routes = Dev(key).GetRouteNames(count);
    ASSERT_EQ(count, 10);
    EXPECT_EQ(std::u16string(routes[0]), u"UHF <-> UART");
    EXPECT_EQ(std::u16string(routes[6]), u"GSMGPRS <-> UART and GSMGPRS -> UHF");
    EXPECT_EQ(std::u16string(routes[9]), u"GSMGPRS <-> UHF");
  }
  for (int key : {48, 57, 50, 46, 42, 38, 43, 35}) EXPECT_TRUE(Dev(key).IsBluetoothModel()) << key;
}

TEST_F(ModelLines, BandFrequencies) {
  const std::pair<int, std::array<uint32_t, 3>> cases[] = {
      {4, {403000000, 440000000, 470000000}},   {31, {403000000, 440000000, 470000000}},
      {3, {403000000, 440000000, 470000000}},   {27, {403000000, 440000000, 470000000}},
      {1, {403000000, 440000000, 470000000}},   {25, {403000000, 440000000, 470000000}},
      {1001, {403000000, 440000000, 470000000}}, {48, {406000000, 440000000, 470000000}},
      {100, {406000000, 440000000, 470000000}}, {47, {406000000, 440000000, 470000000}},
      {12, {138000000, 155000000, 174000000}},  {57, {138000000, 155000000, 174000000}},
      {71, {138000000, 155000000, 174000000}},  {16, {138000000, 155000000, 174000000}},
      {1002, {138000000, 155000000, 174000000}}, {42, {138000000, 150000000, 174000000}},
      {6, {410000000, 440000000, 470000000}},   {83, {410000000, 440000000, 470000000}},
      {33, {138000000, 150000000, 174000000}},  {39, {360000000, 415000000, 470000000}},
      {22, {410000000, 440000000, 470000000}},  {18, {410000000, 440000000, 470000000}},
      {23, {0, 0, 0}},                          {2, {403000000, 440000000, 470000000}},
      {58, {403000000, 440000000, 470000000}},  {32, {108000000, 113000000, 118000000}},
      {36, {0, 0, 0}},                          {3601, {0, 0, 0}},
  };
  for (const auto& [key, band] : cases) {
    for (int i = 0; i < 3; ++i) EXPECT_EQ(Dev(key).GetBandFrequency(i), band[i]) << key << " " << i;
    EXPECT_EQ(Dev(key).GetBandFrequency(3), 0u) << key;
    EXPECT_EQ(Dev(key).GetBandFrequency(-1), 0u) << key;
  }
  EXPECT_FALSE(Dev(6).HasAlarmOutputs());
  EXPECT_FALSE(Dev(18).HasAlarmOutputs());
  EXPECT_TRUE(Dev(22).HasAlarmOutputs());
  EXPECT_FALSE(Dev(2).HasAlarmOutputs());
}

TEST_F(ModelLines, GoldenUnitsCountOnTheRaster) {
  for (uint32_t hz : {138000000u, 155000000u, 174000000u}) system_.At(VkcNodes::kFactoryChannels).AppendChild().SetInt(hz);
  CfgNode& named = system_.At(VkcNodes::kFactoryChannels).AppendChild();
  named.SetInt(150000000);
  named.GetChildAt(6).SetInt(77);
  const VkcDevice& vhf = Dev(1002);
  EXPECT_EQ(vhf.GetChannelNumber(138012500, system_), 3);
  EXPECT_EQ(vhf.GetChannelNumber(138014000, system_), 3);  // off the raster: rounds down
  EXPECT_EQ(vhf.GetChannelNumber(175000000, system_), 0);
  EXPECT_EQ(vhf.GetChannelNumber(137000000, system_), 0);   // below the lowest preset: no channel
  EXPECT_EQ(vhf.GetChannelNumber(150000000, system_), 77);
  EXPECT_EQ(vhf.GetChannelFrequency(3, system_), 138012500u);
  EXPECT_EQ(vhf.GetChannelFrequency(0, system_), 0u);
  EXPECT_EQ(vhf.GetChannelFrequency(-100000, system_), 0u);
}

TEST_F(ModelLines, HighPowerDefaults) {
  Dev(3).ApplyHighPowerDefaults();
  EXPECT_EQ(system_.ReadInt(VkcPath(kVkcU, 4, 3)), 1);
  EXPECT_EQ(system_.ReadInt(VkcPath(kVkcU, 4, 3, 0)), 1);
  EXPECT_EQ(system_.ReadInt(VkcPath(kVkcU, 4, 6)), 1);
  EXPECT_EQ(system_.ReadInt(VkcPath(kVkcU, 4, 7)), 1);
  EXPECT_EQ(system_.ReadInt(VkcPath(kVkcU, 4, 4)), 85);
  EXPECT_EQ(system_.ReadInt(VkcPath(kVkcU, 4, 5)), 90);
  VkcUnitImages other;
  SetGlobalUnitImages(&other);
  Dev(6).ApplyHighPowerDefaults();  // not a high-power model
  EXPECT_FALSE(other.HasValue(VkcPath(kVkcU, 4, 4)));
}

// Port rates over the simulated unit.
class ModelPortRates : public ::testing::Test {
 protected:
  void SetUp() override {
    platform::SetTimeScale(0.1);
    ErrorLog().Clear();
    manager_.RegisterPrototypes();
  }
  void TearDown() override {
    port_.Close();
    platform::SetTimeScale(1.0);
  }
  void Start(const sim::IdentOptions& options) {
    ident_ = std::make_unique<sim::SimIdent>(unit_, options);
    ASSERT_TRUE(port_.Open(unit_.SlavePath16(), 115200, 8, 0, 0));
  }

  std::unique_ptr<sim::SimIdent> ident_;
  sim::SimUnit unit_;
  VkcSerialPort port_;
  VkcDeviceManager manager_;
};

TEST_F(ModelPortRates, LeicaUsesTheDataPort) {
  sim::IdentOptions options;
  Start(options);
  const VkcDevice& leica = *manager_.GetDevice(25);
  const std::pair<const char*, int> cases[] = {{"0", 8}, {"3", 2}, {"9", 8}, {"10", -1}, {"x", -1}};
  for (const auto& [answer, index] : cases) {
    unit_.SetAnswer("DPORT RATE", std::string(answer) + "\r\n@00\r\n");
    EXPECT_EQ(leica.GetMaintenancePortRate(&port_, nullptr), index) << answer;
  }
  ErrorLog().Clear();
  unit_.SetSilent(true);
  EXPECT_EQ(leica.GetMaintenancePortRate(&port_, nullptr), -1);
  EXPECT_NE(ErrorLog().GetTextUtf8().find("Can not set DPORT RATE response = \""), std::string::npos);
  unit_.SetSilent(false);
  EXPECT_TRUE(leica.SetMaintenancePortRate(3, &port_, nullptr));
  EXPECT_EQ(ident_->LastSet("DPORT RATE"), "4");

  VkcConfiguration tree;
  EXPECT_EQ(leica.GetStoredPortRateIndex(tree, 0), 8);
  tree.GetChild(1).GetChildAt(0).GetChildAt(3).GetChildAt(0).SetInt(5);
  EXPECT_EQ(leica.GetStoredPortRateIndex(tree, 0), 4);
  EXPECT_EQ(leica.GetStoredPortRateIndex(tree, 3), 8);
}

TEST_F(ModelPortRates, VK400RxTakesAnIndexOrARate) {
  sim::IdentOptions options;
  Start(options);
  const VkcDevice& rx = *manager_.GetDevice(2);
  const std::pair<const char*, int> cases[] = {{"9", 8}, {"115200", 8}, {"1", 0}, {"0", 0}, {"12", -1}, {"4800", 2}};
  for (const auto& [answer, index] : cases) {
    unit_.SetAnswer("MPORT RATE", std::string(answer) + "\r\n@00\r\n");
    EXPECT_EQ(rx.GetMaintenancePortRate(&port_, nullptr), index) << answer;
  }
  unit_.SetSilent(true);
  EXPECT_EQ(rx.GetMaintenancePortRate(&port_, nullptr), -1);
  EXPECT_NE(ErrorLog().GetTextUtf8().find("Can not set MPORT RATE response = \""), std::string::npos);
}

TEST_F(ModelPortRates, TestModeResetSequences) {
  sim::IdentOptions options;
  Start(options);
  unit_.SetAnswer("TSTSGL 0", "@00\r\n");
  unit_.SetAnswer("LINK PROT 1", "@00\r\n");
  unit_.SetAnswer("LINK RFSW 0", "@00\r\n");
  EXPECT_TRUE(manager_.GetDevice(4)->ResetToReceiveMode(&port_));
  EXPECT_TRUE(manager_.GetDevice(18)->ResetToReceiveMode(&port_));
  const auto commands = unit_.Commands();
  const std::vector<std::string> tail(commands.end() - 7, commands.end());
  EXPECT_EQ(tail, (std::vector<std::string>{"TSTSGL 0", "LINK PROT 1", "", "LINK RFSW 0", "", "TSTSGL 0", "LINK PROT 1"}));
  // Any "@0" answer will do ("@02" included); silence is a logged failure.
  unit_.SetAnswer("TSTSGL 0", "@02\r\n");
  EXPECT_TRUE(manager_.GetDevice(4)->ResetToReceiveMode(&port_));
  unit_.SetSilent(true);
  EXPECT_FALSE(manager_.GetDevice(4)->ResetToReceiveMode(&port_));
  EXPECT_NE(ErrorLog().GetTextUtf8().find("Can't enter TSTSGL 0 command response = \""), std::string::npos);
  EXPECT_FALSE(manager_.GetDevice(24)->ResetToReceiveMode(&port_));
  EXPECT_EQ(manager_.GetDevice(2)->ResetToReceiveMode(&port_), true);  // a receiver sends nothing
}

}  // namespace

// Whatever the firmware build, numbered or lettered, a spacing a model accepts reads back as set:
// the setter writes where the getter reads.
TEST_F(ModelLines, SpacingReadsBackAsSetOnEveryBuild) {
  const int builds[][3] = {{1, 6, 5}, {1, 6, 100}, {1, 6, 30}, {1, 8, 2}, {2, 0, 100}, {2, 5, 0}, {3, 0, 100}, {3, 2, 101}};
  for (int key = -2; key < 128; ++key) {
    const VkcDevice* d = manager_.GetDevice(key);
    if (!d) continue;
    std::vector<int> list;
    d->GetChannelSpacingList(list);
    for (const auto& b : builds) {
      Fw(b[0], b[1], b[2]);
      system_.WriteInt(VkcNodes::kChannel, 0);
      system_.WriteInt(VkcNodes::kUserSpacing, 1);
      system_.WriteInt(VkcNodes::kDealerSpacing, 1);
      for (int hz : list) {
        if (!d->SetChannelSpacingHz(system_, hz)) continue;
        EXPECT_EQ(d->GetChannelSpacingHz(system_), hz) << "model " << key << " on " << Sw(b[0], b[1], b[2]);
      }
    }
  }
}
