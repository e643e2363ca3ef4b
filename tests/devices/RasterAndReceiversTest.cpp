// The raster channel lines (VK400Tx by firmware, Topcon always), the VK400Rx synthesizer, the
// aviation numbering, and the L-band and beacon receivers.

#include <gtest/gtest.h>

#include "devices/VkcDevice.h"
#include "devices/VkcDeviceLband.h"
#include "devices/VkcDeviceManager.h"
#include "devices/VkcDeviceTopcon1W.h"
#include "devices/VkcDeviceVK400Tx.h"
#include "devices/VkcFrequencyCalculator.h"
#include "devices/VkcUnitImages.h"
#include "link/Format.h"
#include "link/VkcConfiguration.h"

namespace {

class RasterAndReceivers : public ::testing::Test {
 protected:
  void SetUp() override {
    manager_.RegisterPrototypes();
    SetGlobalUnitImages(&system_);
  }
  void TearDown() override {
    SetGlobalUnitImages(nullptr);
    VkcFrequencyCalculator::SetRunner(nullptr);
  }
  const VkcDevice& Dev(int key) { return *manager_.GetDevice(key); }
  void Fw(const std::string& text) { system_.SetSoftwareVersion(text); }
  void Presets(std::initializer_list<uint32_t> hz) {
    for (uint32_t f : hz) system_.At(VkcNodes::kFactoryChannels).AppendChild().SetInt(f);
  }
  std::vector<uint32_t> Frequencies(int key) {
    std::vector<uint32_t> out;
    Dev(key).GetChannelFrequencies(system_, out);
    return out;
  }
  std::vector<int32_t> Values(const VkcNodePath& path) {
    std::vector<int32_t> out;
    if (const CfgNode* node = system_.Find(path)) {
      for (size_t i = 0; i < node->GetChildCount(); ++i) out.push_back(node->ChildAt(i).GetInt());
    }
    return out;
  }

  VkcDeviceManager manager_;
  VkcUnitImages system_;
};

TEST_F(RasterAndReceivers, VK400TxKeepsTheRasterOnlyForSomeFirmware) {
  Presets({410000000, 440000000, 470000000});
  system_.At(VkcNodes::kDealerRasterChannels).AppendChild().SetInt(1);
  system_.At(VkcNodes::kDealerRasterChannels).AppendChild().SetInt(5);
  system_.At(VkcNodes::kDealerChannels).AppendChild().SetInt(433000000);
  const std::vector<uint32_t> raster = {410000000, 410025000};
  const std::vector<uint32_t> base = {433000000};
  const std::pair<const char*, bool> cases[] = {
      {"SW 0.0 Rev 0", false}, {"SW 1.6 Rev 10", true},  {"SW 1.6 Rev 17", false}, {"SW 1.9 Rev 9", false},
      {"SW 2.0 Rev 0", true},  {"SW 2.0 Rev 1", true},   {"SW 2.0 Rev 2", false},  {"SW 2.1 Rev 0", false},
      {"SW 1.6 Rev C", true},  // a lettered build orders against none of the bounds
  };
  for (const auto& [fw, isRaster] : cases) {
    SCOPED_TRACE(fw);
    Fw(fw);
    for (int key : {6, 28, 74, 83}) EXPECT_EQ(Frequencies(key), isRaster ? raster : base) << key;
    EXPECT_EQ(Dev(6).GetChannelFrequency(2, system_), isRaster ? 410006250u : 0u);
    EXPECT_EQ(Dev(6).GetChannelNumber(433000000, system_), isRaster ? 3681 : 1);
  }
}

TEST_F(RasterAndReceivers, RasterNumbersAndRewrites) {
  Presets({410000000, 440000000, 470000000});
  const VkcDevice& tx = Dev(6);
  Fw("SW 1.6 Rev 10");
  EXPECT_EQ(tx.GetChannelNumber(410003000, system_), 1);  // off the raster: rounds down
  EXPECT_EQ(tx.GetChannelNumber(470000000, system_), 9601);
  EXPECT_EQ(tx.GetChannelNumber(470000001, system_), 0);
  EXPECT_EQ(tx.GetChannelNumber(409999999, system_), 0);  // below the lowest preset: no channel
  EXPECT_EQ(tx.GetChannelFrequency(0, system_), 0u);
  EXPECT_EQ(tx.GetChannelFrequency(-3, system_), 409975000u);
  EXPECT_EQ(tx.GetChannelFrequency(-1000000, system_), 0u);  // below 0 Hz: no frequency, no wrap

  system_.At(VkcNodes::kDealerChannels).AppendChild().SetInt(433000000);
  EXPECT_TRUE(tx.SetChannelFrequencies(system_, {410003000, 410025000}));
  EXPECT_EQ(Values(VkcNodes::kDealerRasterChannels), (std::vector<int32_t>{1, 5}));
  EXPECT_EQ(Values(VkcNodes::kDealerChannels), (std::vector<int32_t>{433000000}));  // untouched

  // The Topcon line rebuilds the frequency list first, then the numbers.
  const VkcDevice& tc = Dev(22);
  EXPECT_TRUE(tc.SetChannelFrequencies(system_, {410012500, 433000000}));
  EXPECT_EQ(Values(VkcNodes::kDealerRasterChannels), (std::vector<int32_t>{3, 3681}));
  const CfgNode* map = system_.Find(VkcNodes::kDealerChannels);
  ASSERT_NE(map, nullptr);
  ASSERT_EQ(map->GetChildCount(), 2u);
  EXPECT_EQ(map->ChildAt(0).GetScalar(), 410012500u);
  EXPECT_GE(map->ChildAt(0).GetChildCount(), 6u);     // a synthesizer node
  EXPECT_EQ(map->ChildAt(1).GetChildCount(), 0u);     // the kept row, whole
  EXPECT_EQ(Frequencies(22), (std::vector<uint32_t>{410012500, 433000000}));

  // Configuration trees: numbers in section 5 against the band (the global unit's firmware decides).
  VkcConfiguration tree;
  Fw("SW 2.0 Rev 0");
  EXPECT_TRUE(tx.SetChannelList(tree, {410000000, 410012500, 300000000}));
  std::vector<uint32_t> list;
  tx.GetChannelList(tree, list);
  // 300 MHz has no channel (0), which maps back one raster step below the band.
  EXPECT_EQ(list, (std::vector<uint32_t>{410000000, 410012500, 409993750}));
  EXPECT_EQ(tree.Root().GetChildCount(), 6u);
  Fw("SW 2.1 Rev 0");
  VkcConfiguration baseTree;
  EXPECT_TRUE(tx.SetChannelList(baseTree, {433000000}));
  tx.GetChannelList(baseTree, list);
  EXPECT_EQ(list, (std::vector<uint32_t>{433000000}));
}

TEST_F(RasterAndReceivers, VK400TxAndVK400QrSpacing) {
  system_.WriteInt(VkcNodes::kUserSpacing, 3);
  system_.WriteInt(VkcNodes::kDealerSpacing, 0);
  system_.WriteInt(VkcPath(kVkcD, 4, 1, 7), 1);
  const std::pair<const char*, int> tx[] = {
      {"SW 1.6 Rev 18", 20000}, {"SW 1.6 Rev 17", 25000}, {"SW 2.5 Rev 0", 25000}, {"SW 3.0 Rev 0", 20000}};
  for (const auto& [fw, hz] : tx) {
    Fw(fw);
    EXPECT_EQ(Dev(6).GetChannelSpacingHz(system_), hz) << fw;  // normal order in the dealer image
    EXPECT_FALSE(Dev(6).IsReversedSpacingOrder());
  }
  // VK400Qr in family 0: per channel.
  Fw("SW 1.8 Rev 0");
  system_.WriteInt(VkcNodes::kChannel, 2);
  EXPECT_EQ(Dev(28).GetChannelSpacingIndex(system_, -1), 1);
  EXPECT_EQ(Dev(28).GetChannelSpacingIndex(system_, 9), 0);
  EXPECT_TRUE(Dev(28).SetChannelSpacingHz(system_, 6250));
  EXPECT_EQ(system_.ReadInt(VkcPath(kVkcD, 4, 1, 7)), 2);
  Fw("SW 3.2 Rev 0");
  EXPECT_EQ(Dev(28).GetChannelSpacingIndex(system_, -1), 3);
}

TEST_F(RasterAndReceivers, NewFirmwareOfTheOneWattModels) {
  const auto* tc = dynamic_cast<const VkcDeviceTopcon1W*>(&Dev(18));
  const auto* hi = dynamic_cast<const VkcDeviceTopcon1W*>(&Dev(24));
  ASSERT_TRUE(tc && hi);
  struct Case {
    const char* fw;
    bool tc, hi;
  };
  const Case cases[] = {{"SW 1.6 Rev 5", false, false}, {"SW 1.6 Rev 6", false, true},  {"SW 1.6 Rev 17", false, true},
                        {"SW 1.6 Rev 18", true, true},  {"SW 1.6 Rev C", false, false}, {"SW 1.6 Rev D", true, true},
                        {"SW 1.7 Rev 0", true, true},   {"SW 1.7 Rev A", true, true}};
  for (const Case& c : cases) {
    Fw(c.fw);
    EXPECT_EQ(tc->IsNewFirmware(system_), c.tc) << c.fw;
    EXPECT_EQ(hi->IsNewFirmware(system_), c.hi) << c.fw;
  }
}

// A unit that records the setting commands it is sent.
class RecordingUnit : public VkcUnitImages {
 public:
  int SetRadioCommand(const std::string& command, platform::Event*) override {
    commands.push_back(command);
    return accept ? 0 : -1;
  }
  std::vector<std::string> commands;
  bool accept = true;
};

TEST_F(RasterAndReceivers, AutomaticLevelControlCommand) {
  RecordingUnit unit;
  const auto* tx = dynamic_cast<const VkcDeviceVK400Tx*>(&Dev(28));
  ASSERT_NE(tx, nullptr);
  EXPECT_EQ(tx->SetAlc(unit, 12, 99, -3, 98, nullptr), 0);
  unit.accept = false;
  EXPECT_EQ(tx->SetAlc(unit, 1, 0, 2, 0, nullptr), -1);
  EXPECT_EQ(unit.commands, (std::vector<std::string>{"ALC A12 D-3\r", "ALC A1 D2\r"}));
  EXPECT_EQ(tx->SetAlc(system_, 1, 0, 2, 0, nullptr), -1);  // no unit behind these images
}

TEST_F(RasterAndReceivers, VK400RxSynthesizer) {
  int runs = 0;
  bool succeed = true;
  VkcFrequencyCalculator::SetRunner([&](VkcFrequencyCalculator& c) {
    ++runs;
    EXPECT_EQ(VkcFrequencyCalculator::Caption(c.GetTargetFrequency()), "Calculating 403.456000 MHz");
    platform::Event stop;
    return succeed && c.Process(0, 0, 0, stop) == 0;
  });
  const VkcDevice& rx = Dev(2);
  CfgNode exact = rx.CalcSynthesizerSettings(403456250);
  EXPECT_EQ(runs, 0);
  EXPECT_EQ(exact.GetScalar(), 403456250u);
  ASSERT_EQ(exact.GetChildCount(), 3u);
  EXPECT_EQ(exact.ChildAt(0).GetInt(), 690);
  EXPECT_EQ(exact.ChildAt(1).GetInt(), 30);
  EXPECT_EQ(exact.ChildAt(2).GetInt(), 2830);

  CfgNode searched = rx.CalcSynthesizerSettings(403456000);
  EXPECT_EQ(runs, 1);
  EXPECT_EQ(searched.GetScalar(), 403456000u);
  ASSERT_EQ(searched.GetChildCount(), 3u);
  const double out = (16.0 * searched.ChildAt(2).GetInt() + searched.ChildAt(1).GetInt()) * 12288000.0 /
                     searched.ChildAt(0).GetInt() / 2.0;
  EXPECT_LT(std::abs(out - 403456000.0), 100.0);

  succeed = false;  // cancelled
  CfgNode cancelled = rx.CalcSynthesizerSettings(403456000);
  EXPECT_EQ(runs, 2);
  EXPECT_EQ(cancelled.GetChildCount(), 0u);
  EXPECT_EQ(cancelled.GetType(), CfgNode::kTypeNone);
}

TEST_F(RasterAndReceivers, AviationChannels) {
  const VkcDevice& avia = Dev(32);
  const std::pair<int, uint32_t> cases[] = {{20001, 108025000}, {20411, 108000000}, {20400, 0},
                                            {20399, 117975000}, {40000, 0},         {20000, 0},
                                            {-1, 118000000},    {-3, 108000000},    {-5, 0}};
  for (const auto& [n, hz] : cases) EXPECT_EQ(avia.GetChannelFrequency(n, system_), hz) << n;
  system_.At(VkcNodes::kDealerRasterChannels).AppendChild().SetInt(121500000);
  EXPECT_EQ(avia.GetChannelFrequency(-4, system_), 121500000u);
  int lo = 0, hi = 0;
  avia.GetChannelNumberRange(lo, hi);
  EXPECT_EQ(lo, 20001);
  EXPECT_EQ(hi, 39999);
  system_.WriteInt(VkcNodes::kUserSpacing, 2);
  avia.SetChannelSpacingIndex(system_, 2);
  EXPECT_EQ(system_.ReadInt(VkcNodes::kUserSpacing), 0);
  EXPECT_EQ(avia.GetChannelSpacingHz(system_), 25000);
  EXPECT_FALSE(avia.IsRepeaterAllowed(1));
}

TEST_F(RasterAndReceivers, LbandRatesAndModes) {
  const VkcDevice& lband = Dev(36);
  std::u16string text;
  lband.FormatChannelSpacing(1200, text);
  EXPECT_EQ(text, u"2400 Hz (1200 bps)");
  lband.FormatChannelSpacing(4800, text);
  EXPECT_EQ(text, u"9600 Hz (4800 bps)");
  EXPECT_EQ(lband.ChannelSpacingFromIndex(0), 4800);
  EXPECT_EQ(lband.ChannelSpacingToIndex(300), 4);
  EXPECT_EQ(lband.ChannelSpacingToIndex(6250), -1);
  EXPECT_FLOAT_EQ(lband.GetChannelSpacingSteps(1), 1.0f);
  EXPECT_EQ(lband.GetMaxScramblingLinkId(), 32767);
  EXPECT_EQ(lband.GetFrequencyTextLimit(), 10);
  for (int key : {36, 3601}) {
    EXPECT_EQ(Dev(key).GetDeviceForMode(0), manager_.GetDevice(36)) << key;
    EXPECT_EQ(Dev(key).GetDeviceForMode(1), manager_.GetDevice(3601)) << key;
    EXPECT_EQ(Dev(key).GetDeviceForMode(2), &Dev(key)) << key;
  }
  EXPECT_EQ(Dev(3601).GetModelId(), 36);
  EXPECT_TRUE(Dev(3601).CanSwitchReceiverMode());
  EXPECT_FALSE(Dev(69).CanSwitchReceiverMode());
  // A prototype the manager never attached answers for itself.
  VkcDeviceLband loose;
  EXPECT_EQ(loose.GetDeviceForMode(1), &loose);
}

TEST_F(RasterAndReceivers, BeaconStationsPresetsAndRates) {
  const VkcDevice& beacon = Dev(3601);
  for (uint32_t hz : {0u, 0u, 0u, 283500u, 300000u, 320000u}) system_.At(VkcNodes::kFactoryChannels).AppendChild().SetInt(hz);
  CfgNode& kept = system_.At(VkcNodes::kDealerBeaconStations).AppendChild();
  kept.SetInt(290000);
  kept.GetChildAt(0).SetInt(7);  // extra data of the station
  system_.At(VkcNodes::kDealerBeaconStations).AppendChild().SetInt(295000);

  EXPECT_EQ(beacon.GetChannelFrequency(1, system_), 290000u);
  EXPECT_EQ(beacon.GetChannelFrequency(2, system_), 295000u);
  EXPECT_EQ(beacon.GetChannelFrequency(3, system_), 0u);
  EXPECT_EQ(beacon.GetChannelFrequency(-3, system_), 283500u);
  EXPECT_EQ(beacon.GetChannelFrequency(-1, system_), 320000u);
  EXPECT_EQ(beacon.GetChannelFrequency(-4, system_), 0u);
  EXPECT_EQ(beacon.GetChannelNumber(295000, system_), 2);
  EXPECT_EQ(beacon.GetChannelNumber(300000, system_), -2);
  EXPECT_EQ(beacon.GetChannelNumber(283500, system_), -3);
  EXPECT_EQ(beacon.GetChannelNumber(999999, system_), -2);
  EXPECT_EQ(beacon.GetPresetFrequency(2, &system_), 320000u);
  EXPECT_EQ(beacon.GetPresetFrequency(2, nullptr), 0u);

  EXPECT_TRUE(beacon.SetChannelFrequencies(system_, {310000, 290000}));
  const CfgNode* stations = system_.Find(VkcNodes::kDealerBeaconStations);
  ASSERT_EQ(stations->GetChildCount(), 2u);
  EXPECT_EQ(stations->ChildAt(0).GetScalar(), 310000u);
  EXPECT_EQ(stations->ChildAt(1).GetScalar(), 290000u);
  ASSERT_EQ(stations->ChildAt(1).GetChildCount(), 1u);
  EXPECT_EQ(stations->ChildAt(1).ChildAt(0).GetInt(), 7);

  std::vector<int> rates;
  beacon.GetChannelSpacingList(rates);
  EXPECT_EQ(rates, (std::vector<int>{200, 100, 50}));
  beacon.SetAutoScanning(true);
  EXPECT_EQ(system_.ReadInt(VkcNodes::kBeaconAutoScan), 1);
  EXPECT_TRUE(beacon.IsAutoScanActive());
  beacon.GetChannelSpacingList(rates);
  EXPECT_TRUE(rates.empty());
  EXPECT_TRUE(beacon.SetChannelSpacingHz(system_, 50));
  EXPECT_EQ(system_.ReadInt(VkcPath(kVkcU, 2, 7, 0)), 2);
  EXPECT_FALSE(beacon.SetChannelSpacingHz(system_, 75));
  EXPECT_EQ(beacon.GetChannelSpacingHz(system_), 50);
  std::u16string text;
  beacon.FormatChannelSpacing(100, text);
  EXPECT_EQ(text, u"100 bps");
  beacon.SetChannel(system_, 2);
  EXPECT_EQ(system_.ReadInt(VkcPath(kVkcU, 2, 0, 0)), 2);
  EXPECT_EQ(beacon.GetChannel(system_), 2);
  beacon.SetAutoScanning(false);
  EXPECT_FALSE(beacon.IsAutoScanActive());

  VkcConfiguration tree;
  EXPECT_TRUE(beacon.SetChannelList(tree, {1, 2}));
  std::vector<uint32_t> list;
  beacon.GetChannelList(tree, list);
  EXPECT_EQ(list, (std::vector<uint32_t>{1, 2}));
}

}  // namespace
