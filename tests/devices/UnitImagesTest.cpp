// The unit images: own row, serial number, own address, product check, factory sections, and the
// node map.

#include <gtest/gtest.h>

#include "devices/VkcDeviceManager.h"
#include "devices/VkcUnitImages.h"
#include "link/Utf.h"

namespace {

UnitId Id(uint8_t last) {
  std::array<uint8_t, 6> bytes{1, 2, 3, 4, 5, last};
  return UnitId(bytes);
}

void SetRow(VkcUnitImages& s, int row, const UnitId& id) {
  s.At(VkcNodes::kUnitTable, row).SetBytes(id.Bytes().data(), 6);
}

TEST(UnitImages, OwnRow) {
  VkcUnitImages s;
  EXPECT_EQ(s.GetOwnUnitIndex(), 0);
  s.WriteInt(VkcNodes::kProtocol, 4);  // through R on an empty table creates row 0
  EXPECT_EQ(s.User().GetChild(1).GetChildCount(), 1u);

  VkcUnitImages t;
  t.At(VkcNodes::kSerialNumber).SetBytes(Id(9).Bytes().data(), 6);
  SetRow(t, 0, Id(1));
  EXPECT_EQ(t.GetOwnUnitIndex(), 0);  // no match: row 0 though it is another unit's
  SetRow(t, 2, Id(9));
  SetRow(t, 3, Id(9));
  EXPECT_EQ(t.GetOwnUnitIndex(), 2);  // the first match
  t.WriteInt(VkcNodes::kOutputPower, 30);
  EXPECT_EQ(t.User().GetChild(1).GetChildAt(2).GetChildAt(0).GetInt(), 30);

  VkcUnitImages u;  // empty factory image: the all-zero serial matches an untyped row
  SetRow(u, 0, Id(1));
  u.At(VkcNodes::kUnitTable, 1);
  EXPECT_EQ(u.GetOwnUnitIndex(), 1);
}

TEST(UnitImages, SetSerialNumberRewritesTheOldRow) {
  VkcUnitImages s;
  s.At(VkcNodes::kSerialNumber).SetBytes(Id(7).Bytes().data(), 6);
  SetRow(s, 0, Id(1));
  SetRow(s, 1, Id(2));
  SetRow(s, 2, Id(7));
  s.SetSerialNumber(Id(8));
  EXPECT_EQ(s.GetSerialNumber(), Id(8));
  EXPECT_EQ(s.GetOwnUnitIndex(), 2);
  EXPECT_EQ(s.User().GetChild(1).ChildAt(1).GetByteVector()[5], 2);
}

TEST(UnitImages, ReadsOnEmptyImagesCreateNothing) {
  VkcUnitImages s;
  EXPECT_EQ(s.GetSerialNumber(), UnitId());
  EXPECT_EQ(s.GetOwnUnitAddress(), UnitId());
  EXPECT_FALSE(s.HasMainImage());
  EXPECT_EQ(s.GetDescription(), u"");
  EXPECT_EQ(s.ReadInt(VkcNodes::kDataPortRate), 0);
  EXPECT_EQ(s.GetOwnUnitIndex(), 0);
  EXPECT_TRUE(s.Factory().IsEmpty());
  EXPECT_TRUE(s.Dealer().IsEmpty());
  EXPECT_TRUE(s.User().IsEmpty());
}

TEST(UnitImages, OlderImageAddressMovesOnce) {
  VkcUnitImages s;
  s.At(VkcNodes::kBtSetting).SetBytes(Id(3).Bytes().data(), 6);
  s.WriteInt(VkcNodes::kBtState, 1);
  EXPECT_EQ(s.GetOwnUnitAddress(), Id(3));
  EXPECT_EQ(s.ReadType(VkcNodes::kBtSetting), CfgNode::kTypeInt);
  EXPECT_EQ(s.ReadInt(VkcNodes::kBtSetting), 4);
  s.SetOwnUnitAddress(Id(4));
  // The leftover bytes in the setting must not move over the newer address.
  EXPECT_EQ(s.GetOwnUnitAddress(), Id(4));
  EXPECT_EQ(s.GetOwnUnitAddress(), Id(4));

  VkcUnitImages t;  // without a Bluetooth state the setting node holds the address
  t.WriteInt(VkcNodes::kChannel, 1);
  t.SetOwnUnitAddress(Id(5));
  EXPECT_EQ(t.GetOwnUnitAddress(), Id(5));
  EXPECT_EQ(t.ReadType(VkcNodes::kBtSetting), CfgNode::kTypeBytes);
}

TEST(UnitImages, MainImageAndDescription) {
  VkcUnitImages s;
  s.At(VkcNodes::kMainImage).SetString("N/A");
  EXPECT_FALSE(s.HasMainImage());
  s.At(VkcNodes::kMainImage).SetString("IMAGE 2.1");
  EXPECT_TRUE(s.HasMainImage());
  s.At(VkcNodes::kDescription).SetString("Base \xE9");
  EXPECT_EQ(s.GetDescription(), u"Base \u00E9");
  s.At(VkcNodes::kDescription).SetWString(u"Wide");
  EXPECT_EQ(s.GetDescription(), u"Wide");
}

TEST(UnitImages, CheckProductType) {
  VkcDeviceManager manager;
  manager.RegisterPrototypes();
  VkcUnitImages s;
  EXPECT_FALSE(s.CheckProductType(manager));  // nothing there
  s.SetCurrentDevice(manager.GetDevice(31));
  s.At(VkcNodes::kDealerModel).SetString("vk400");
  EXPECT_TRUE(s.CheckProductType(manager));
  EXPECT_EQ(s.Find(VkcNodes::kDealerModel)->GetString(), "ONX402");

  s.SetCurrentDevice(manager.GetDevice(3));
  s.At(VkcNodes::kDealerModel).SetString("VK400");
  EXPECT_TRUE(s.CheckProductType(manager));
  EXPECT_EQ(s.Find(VkcNodes::kDealerModel)->GetString(), "VK400");

  s.WriteInt(VkcNodes::kDealerModel, 5);
  EXPECT_FALSE(s.CheckProductType(manager));
  EXPECT_EQ(s.ReadInt(VkcNodes::kDealerModel), 5);
  s.At(VkcNodes::kDealerModel).SetWString(u"VK400");  // a wide text is no model
  EXPECT_FALSE(s.CheckProductType(manager));
}

TEST(UnitImages, CopyFactorySectionsIsDeep) {
  VkcDeviceManager manager;
  manager.RegisterPrototypes();
  VkcUnitImages s;
  for (int section : {1, 2, 5}) s.Factory().GetChild(section).GetChildAt(0).SetInt(section * 10);
  VkcConfiguration target;
  target.GetChild(2).SetInt(99);
  s.SetCurrentDevice(manager.GetDevice(2));  // a receiver: section 2 stays
  s.CopyFactorySections(target);
  EXPECT_EQ(target.GetChild(1).ChildAt(0).GetInt(), 10);
  EXPECT_EQ(target.GetChild(2).GetInt(), 99);
  EXPECT_EQ(target.GetChild(5).ChildAt(0).GetInt(), 50);
  target.GetChild(1).ChildAt(0).SetInt(11);
  EXPECT_EQ(s.Factory().GetChild(1).ChildAt(0).GetInt(), 10);

  s.SetCurrentDevice(manager.GetDevice(4));
  s.CopyFactorySections(target);
  EXPECT_EQ(target.GetChild(2).ChildAt(0).GetInt(), 20);
}

TEST(UnitImages, IdentificationClearsAllButTheMcuImage) {
  VkcUnitImages s;
  s.SetSoftwareVersion("SW 3.2 Rev 5");
  s.WriteInt(VkcNodes::kChannel, 3);
  s.WriteInt(VkcNodes::kDealerMaxPower, 30);
  s.At(VkcNodes::kSerialNumber).SetBytes(Id(1).Bytes().data(), 6);
  s.WriteInt(VkcNodes::kMcuRoute, 1);
  VkcDevice device;
  s.SetCurrentDevice(&device);
  s.ClearForIdentification();
  EXPECT_EQ(s.GetSoftwareVersion(), "N/A");
  EXPECT_EQ(s.GetHardwareVersion(), "N/A");
  EXPECT_TRUE(s.Factory().IsEmpty() && s.Dealer().IsEmpty() && s.User().IsEmpty());
  EXPECT_EQ(s.GetCurrentDevice(), nullptr);
  EXPECT_EQ(s.ReadInt(VkcNodes::kMcuRoute), 1);
}

TEST(UnitImages, NodeMap) {
  const std::pair<VkcNodePath, const char*> golden[] = {
      {VkcNodes::kSerialNumber, "DFCFG[0][0]"},       {VkcNodes::kDescription, "DFCFG[0][2]"},
      {VkcNodes::kFactoryChannels, "DFCFG[4]"},       {VkcNodes::kDealerModel, "DDCFG[0]"},
      {VkcNodes::kDealerCallSign, "DDCFG[1]"},        {VkcNodes::kDealerSpacing, "DDCFG[2]"},
      {VkcNodes::kDealerMaxPower, "DDCFG[3]"},        {VkcNodes::kDealerChannels, "DDCFG[4]"},
      {VkcNodes::kDealerRasterChannels, "DDCFG[5]"},  {VkcNodes::kDealerBeaconStations, "DDCFG[6]"},
      {VkcNodes::kMainImage, "CFGDN[0][0]"},          {VkcNodes::kUnitTable, "CFGDN[1]"},
      {VkcNodes::kOutputPower, "CFGDN[1][R][0]"},     {VkcNodes::kProtocol, "CFGDN[1][R][1]"},
      {VkcNodes::kAlarmOut1, "CFGDN[1][R][2][0]"},    {VkcNodes::kAlarmOut2, "CFGDN[1][R][2][1]"},
      {VkcNodes::kAlarmBerThreshold, "CFGDN[1][R][2][2]"},
      {VkcNodes::kDataPortRate, "CFGDN[1][R][3][0]"}, {VkcNodes::kDataPortBits, "CFGDN[1][R][3][1]"},
      {VkcNodes::kDataPortParity, "CFGDN[1][R][3][2]"}, {VkcNodes::kDataPortFlow, "CFGDN[1][R][3][3]"},
      {VkcNodes::kActiveSourcePort, "CFGDN[1][R][3][6]"}, {VkcNodes::kActiveDestPorts, "CFGDN[1][R][3][7]"},
      {VkcNodes::kMaintenanceBuffering, "CFGDN[1][R][3][8]"}, {VkcNodes::kRoutingType, "CFGDN[1][R][3][9]"},
      {VkcNodes::kMaintenancePortRate, "CFGDN[1][R][4][0]"},
      {VkcNodes::kSleepWakePeriod, "CFGDN[1][R][5][0]"}, {VkcNodes::kSleepWakeByControl, "CFGDN[1][R][5][1]"},
      {VkcNodes::kSleepWakeBySense, "CFGDN[1][R][5][2]"}, {VkcNodes::kSleepInactivity, "CFGDN[1][R][5][3]"},
      {VkcNodes::kBtName, "CFGDN[1][R][6][0]"},       {VkcNodes::kBtPin, "CFGDN[1][R][6][1]"},
      {VkcNodes::kBtSetting, "CFGDN[1][R][6][2]"},    {VkcNodes::kBtMode, "CFGDN[1][R][6][6]"},
      {VkcNodes::kBtDestination, "CFGDN[1][R][6][7]"}, {VkcNodes::kBtDiscoverable, "CFGDN[1][R][6][8]"},
      {VkcNodes::kBtChangedMark, "CFGDN[1][R][6][9]"}, {VkcNodes::kBtModuleAddress, "CFGDN[1][R][6][10]"},
      {VkcNodes::kBtState, "CFGDN[1][R][6][11]"},     {VkcNodes::kOwnAddress, "CFGDN[1][R][7][0]"},
      {VkcNodes::kGsmPin, "CFGDN[1][R][8][0]"},       {VkcNodes::kGsmApn, "CFGDN[1][R][8][1]"},
      {VkcNodes::kGsmLogin, "CFGDN[1][R][8][2]"},     {VkcNodes::kGsmPassword, "CFGDN[1][R][8][3]"},
      {VkcNodes::kGsmBand, "CFGDN[1][R][8][6]"},      {VkcNodes::kNtripClient, "CFGDN[1][R][9]"},
      {VkcNodes::kTcpClient, "CFGDN[1][R][10]"},      {VkcNodes::kTcpServer, "CFGDN[1][R][11]"},
      {VkcNodes::kServiceKind, "CFGDN[1][R][12][0]"}, {VkcNodes::kServiceAutorun, "CFGDN[1][R][12][1]"},
      {VkcNodes::kChannel, "CFGDN[2][0]"},            {VkcNodes::kHoppingPattern, "CFGDN[2][1]"},
      {VkcNodes::kRepeater, "CFGDN[2][2]"},           {VkcNodes::kFec, "CFGDN[2][3]"},
      {VkcNodes::kScramblingId, "CFGDN[2][5]"},       {VkcNodes::kModulation, "CFGDN[2][6]"},
      {VkcNodes::kUserSpacing, "CFGDN[2][7]"},        {VkcNodes::kNoMessageTypes, "CFGDN[2][11]"},
      {VkcNodes::kTxStartDelayCallSign, "CFGDN[2][12]"}, {VkcNodes::kSyncResetTime, "CFGDN[2][12][2]"},
      {VkcNodes::kSensitivity, "CFGDN[2][12][5]"},    {VkcNodes::kTransceiverMode, "CFGDN[2][12][6]"},
      {VkcNodes::kRxChannel, "CFGDN[2][13]"},         {VkcNodes::kLoopBack, "CFGDN[2][14]"},
      {VkcNodes::kMessageMask, "CFGDN[2][15]"},       {VkcNodes::kActiveReceiver, "CFGDN[2][16]"},
      {VkcNodes::kAntennaPower, "CFGDN[2][17]"},      {VkcNodes::kBeaconAntennaConnector, "CFGDN[2][17][0]"},
      {VkcNodes::kRemoteList, "CFGDN[3]"},            {VkcNodes::kAmplifier, "CFGDN[4]"},
      {VkcNodes::kAntennaDetection, "CFGDN[4][15]"},  {VkcNodes::kBeaconAutoScan, "CFGDN[5][0]"},
      {VkcNodes::kAutoScanFrequency, "CFGDN[5][1]"},  {VkcNodes::kAutoScanSignalType, "CFGDN[5][2]"},
      {VkcNodes::kMcuBtEnabled, "MCU[0][0]"},         {VkcNodes::kMcuBtName, "MCU[0][1]"},
      {VkcNodes::kMcuPin, "MCU[0][2]"},               {VkcNodes::kMcuMaster, "MCU[0][3]"},
      {VkcNodes::kMcuRemoteAddress, "MCU[0][4]"},     {VkcNodes::kMcuHasSerial, "MCU[1][0]"},
      {VkcNodes::kMcuSerialType, "MCU[1][1]"},        {VkcNodes::kMcuSerialRate, "MCU[1][2]"},
      {VkcNodes::kMcuRoute, "MCU[2]"},
  };
  for (const auto& [path, text] : golden) EXPECT_EQ(path.ToString(), text);
}

TEST(UnitImages, DualValuedNodeKeepsBothValues) {
  VkcUnitImages s;
  CfgNode& node = s.At(VkcNodes::kTxStartDelayCallSign);
  node.SetInt(500);
  node.SetString("AB1");
  s.WriteInt(VkcNodes::kSyncResetTime, -1);
  EXPECT_EQ(s.ReadInt(VkcNodes::kTxStartDelayCallSign), 500);
  EXPECT_EQ(s.Find(VkcNodes::kTxStartDelayCallSign)->GetString(), "AB1");
  EXPECT_EQ(s.ReadInt(VkcNodes::kSyncResetTime), -1);
}

}  // namespace
