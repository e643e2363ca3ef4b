// Reading and writing the unit's configuration images end to end: the simulated unit serves real
// archived images by XModem and checks what it receives byte for byte.

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "unit/VkcSystem.h"
#include "devices/VkcDeviceManager.h"
#include "link/VkcErrorProcessor.h"
#include "link/VkcSerialPort.h"
#include "platform/Event.h"
#include "platform/Timing.h"
#include "UnitTestText.h"
#include "sim/SimIdent.h"
#include "sim/SimMcu.h"
#include "sim/SimUnit.h"
#include "sim/SimUnitControl.h"
#include "sim/SimUnitControlFiles.h"

namespace {

using sim::IdentOptions;
using sim::SimUnitControlFiles;

using unittext::Clean;

VkcConfiguration Factory() {
  VkcConfiguration tree;
  uint8_t serial[6] = {0x12, 0x34, 0x56, 0x78, 0x9A, 0xBC};
  tree.GetChild(0).GetChildAt(0).SetBytes(serial, sizeof serial);
  tree.GetChild(0).GetChildAt(2).SetString("Base station");
  for (int i = 0; i < 3; ++i) tree.GetChild(4).GetChildAt(i).SetInt(403000000u + 30000000u * static_cast<uint32_t>(i));
  return tree;
}

VkcConfiguration Dealer(int model) {
  VkcConfiguration tree;
  tree.GetChild(0).SetInt(static_cast<uint32_t>(model));
  tree.GetChild(1).SetString("CALL");
  tree.GetChild(3).SetInt(static_cast<uint32_t>(-5));  // negative values travel as they are
  for (int i = 0; i < 32; ++i) tree.GetChild(4).GetChildAt(i).SetInt(433000000u + 12500u * static_cast<uint32_t>(i));
  return tree;
}

VkcConfiguration User() {
  VkcConfiguration tree;
  tree.GetChild(0).GetChildAt(0).SetString("IMAGE 1.2");
  uint8_t other[6] = {1, 1, 1, 1, 1, 1};
  uint8_t own[6] = {0x12, 0x34, 0x56, 0x78, 0x9A, 0xBC};
  tree.GetChild(1).GetChildAt(0).SetBytes(other, sizeof other);
  CfgNode& row = tree.GetChild(1).GetChildAt(1);
  row.SetBytes(own, sizeof own);
  row.GetChildAt(4).GetChildAt(0).SetInt(9);
  row.GetChildAt(6).GetChildAt(0).SetWString(u"Gerät");
  tree.GetChild(2).GetChildAt(0).SetInt(3);
  return tree;
}

class SystemImages : public ::testing::Test {
 protected:
  void SetUp() override {
    platform::SetTimeScale(0.05);
    ErrorLog().Clear();
    manager.RegisterPrototypes();
    system.Attach(&manager, &settings, [this] { return &port; });
  }
  void TearDown() override {
    port.Close();
    if (files) files->StopTransfer();
    platform::SetTimeScale(1.0);
  }
  void Start(const std::string& key, bool withMcu = false) {
    IdentOptions options;
    options.modelKey = key;
    if (withMcu) mcu = std::make_unique<sim::SimMcu>(unit, sim::McuState{});
    ident = std::make_unique<sim::SimIdent>(unit, options, mcu.get());
    files = std::make_unique<SimUnitControlFiles>(unit);
    files->SetSection(0, SimUnitControlFiles::Archive(Factory()));
    files->SetSection(1, SimUnitControlFiles::Archive(Dealer(std::stoi(key))));
    files->SetSection(2, SimUnitControlFiles::Archive(User()));
    ASSERT_TRUE(unit.IsOk());
    ASSERT_TRUE(port.Open(unit.SlavePath16(), 115200, 8, 0, 0));
  }
  std::vector<std::string> Errors() { return unittext::ErrorTexts(); }
  uint32_t Run(uint32_t op, intptr_t parameter = 0) { return system.Process(op, parameter, window.Handle(), stop); }
  void ExpectImagesAsTheUnitKeepsThem() {
    EXPECT_EQ(SimUnitControlFiles::Archive(system.Factory()), files->Section(0));
    EXPECT_EQ(SimUnitControlFiles::Archive(system.Dealer()), files->Section(1));
    EXPECT_EQ(SimUnitControlFiles::Archive(system.User()), files->Section(2));
  }

  VkcDeviceManager manager;
  VkcConfiguration settings;
  platform::RecordingWindow window;
  platform::Event stop{platform::Event::ResetMode::Manual};
  std::unique_ptr<sim::SimMcu> mcu;
  std::unique_ptr<sim::SimIdent> ident;
  std::unique_ptr<SimUnitControlFiles> files;
  sim::SimUnit unit;
  sim::SimUnitControl control{unit};
  VkcSerialPort port;
  VkcSystem system;
};

struct ModelCase {
  const char* family;
  const char* key;
  bool mcu;
};
void PrintTo(const ModelCase& c, std::ostream* os) { *os << c.family; }

class SystemImagesModels : public SystemImages, public ::testing::WithParamInterface<ModelCase> {};

TEST_P(SystemImagesModels, IdentifyReadsTheImagesAndVersions) {
  Start(GetParam().key, GetParam().mcu);
  ASSERT_EQ(Run(VkcSystem::kOpIdentify), 0u) << ::testing::PrintToString(Errors());
  EXPECT_EQ(system.GetProductId(), std::stoi(GetParam().key));
  ExpectImagesAsTheUnitKeepsThem();
  EXPECT_EQ(system.GetOwnUnitIndex(), 1);
  EXPECT_EQ(system.GetSoftwareVersion(), "SW 3.2 Rev 5");
  std::vector<std::string> commands = Clean(unit.Commands());
  auto at = std::find(commands.begin(), commands.end(), "MPORT RATE");
  ASSERT_NE(at, commands.end());
  EXPECT_EQ(std::vector<std::string>(at, commands.end()),
            (std::vector<std::string>{"MPORT RATE", "DPORT RATE 9", "@RX OFF", "XMOD CFGUP", "@RX ON", "INFO HW",
                                      "INFO SW", "INFO BL"}));
  EXPECT_EQ(files->TransfersEnded(), 1);
  if (GetParam().mcu) {
    EXPECT_TRUE(manager.GetMCUController().IsPresent());
    EXPECT_EQ(Run(VkcSystem::kOpReadMcu), 0u);
    EXPECT_EQ(manager.GetMCUController().Settings().GetBluetoothName(), "Unit7");
    EXPECT_EQ(Run(VkcSystem::kOpWriteMcu), 0u);
  }
}

INSTANTIATE_TEST_SUITE_P(Families, SystemImagesModels,
                         ::testing::Values(ModelCase{"Transceiver", "4", false}, ModelCase{"Receiver", "2", false},
                                           ModelCase{"BluetoothMcu", "48", true}),
                         [](const ::testing::TestParamInfo<ModelCase>& info) { return std::string(info.param.family); });

TEST_F(SystemImages, UnitWithoutConfigurationFileIsReadWithEmptyImages) {
  Start("4");
  files->SetRefusal("CFGUP", 5);
  ASSERT_EQ(Run(VkcSystem::kOpIdentify), 0u) << ::testing::PrintToString(Errors());
  EXPECT_TRUE(system.Factory().IsEmpty());
  EXPECT_TRUE(system.User().IsEmpty());
  EXPECT_EQ(system.GetHardwareVersion(), "HW 1.0");
  EXPECT_EQ(files->TransfersEnded(), 0);
}

TEST_F(SystemImages, RefusedOrDamagedConfigurationFailsAndLeavesNoUnit) {
  Start("4");
  files->SetRefusal("CFGUP", 3);
  EXPECT_EQ(Run(VkcSystem::kOpIdentify), 1u);
  ASSERT_FALSE(Errors().empty());
  EXPECT_EQ(Errors().back(), "Loader error returned");
  EXPECT_EQ(ErrorLog().Entries().back().code, 3u);
  EXPECT_EQ(system.GetCurrentDevice(), nullptr);

  // A dealer section that is there but does not parse is an error, not an absent section.
  files->SetRefusal("CFGUP", 0);
  files->CorruptSection(1);
  ErrorLog().Clear();
  EXPECT_EQ(Run(VkcSystem::kOpIdentify), 1u);
  ASSERT_FALSE(Errors().empty());
  EXPECT_EQ(Errors().back(), "Loader error returned");
  EXPECT_EQ(system.GetCurrentDevice(), nullptr);
  EXPECT_TRUE(system.Factory().IsEmpty());
  EXPECT_TRUE(system.Dealer().IsEmpty());
}

TEST_F(SystemImages, WriteSendsTheSelectedImagesInOrder) {
  Start("4");
  ASSERT_EQ(Run(VkcSystem::kOpIdentify), 0u) << ::testing::PrintToString(Errors());
  system.User().GetChild(2).GetChildAt(0).SetInt(7);
  system.Dealer().GetChild(1).SetString("NEWCALL");
  system.Factory().GetChild(0).GetChildAt(2).SetString("Rover");
  unit.ClearRecord();
  ASSERT_EQ(Run(VkcSystem::kOpWriteConfiguration, VkcSystem::kImageDealer | VkcSystem::kImageUser), 0u)
      << ::testing::PrintToString(Errors());
  EXPECT_EQ(Clean(unit.Commands()),
            (std::vector<std::string>{"@RX OFF", "XMOD DDCFG", "@RX ON", "@RX OFF", "XMOD CFGDN", "@RX ON"}));
  auto received = files->Received();
  ASSERT_EQ(received.size(), 2u);
  EXPECT_EQ(received[0].first, "DDCFG");
  EXPECT_EQ(received[0].second, SimUnitControlFiles::Archive(system.Dealer()));
  EXPECT_EQ(received[1].first, "CFGDN");
  EXPECT_EQ(received[1].second, SimUnitControlFiles::Archive(system.User()));
  EXPECT_TRUE(files->HeaderErrors().empty());

  // All three, the factory image first; then the unit gives back what it was sent.
  ASSERT_EQ(Run(VkcSystem::kOpWriteConfiguration, 7), 0u);
  received = files->Received();
  ASSERT_EQ(received.size(), 5u);
  EXPECT_EQ(received[2].first, "DFCFG");
  EXPECT_EQ(received[2].second, SimUnitControlFiles::Archive(system.Factory()));
  VkcConfiguration sentUser = system.User();
  ASSERT_EQ(Run(VkcSystem::kOpIdentify), 0u);
  EXPECT_EQ(SimUnitControlFiles::Archive(system.User()), SimUnitControlFiles::Archive(sentUser));
  EXPECT_EQ(system.ReadInt(VkcPath(kVkcU, 2, 0)), 7);
}

TEST_F(SystemImages, RefusedDealerImageStopsTheWrite) {
  Start("4");
  ASSERT_EQ(Run(VkcSystem::kOpIdentify), 0u);
  files->SetRefusal("DDCFG", 1);
  unit.ClearRecord();
  EXPECT_EQ(Run(VkcSystem::kOpWriteConfiguration, 6), 1u);
  std::vector<std::string> commands = Clean(unit.Commands());
  EXPECT_EQ(std::count(commands.begin(), commands.end(), "XMOD CFGDN"), 0);
  EXPECT_TRUE(files->Received().empty());
}

}  // namespace
