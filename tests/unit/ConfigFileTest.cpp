// Configuration files: the bytes a save writes, what a load takes into the unit and what it
// refuses, with real files in a temporary folder.

#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "devices/VkcDevice.h"
#include "devices/VkcDeviceManager.h"
#include "platform/Files.h"
#include "support/TestSupport.h"
#include "unit/VkcConfigFile.h"
#include "unit/VkcSystem.h"

namespace {

using Loaded = VkcConfigFile::Loaded;

const uint8_t kOwnSerial[6] = {0x12, 0x34, 0x56, 0x78, 0x9A, 0xBC};
const uint8_t kOtherSerial[6] = {1, 1, 1, 1, 1, 1};

std::vector<uint8_t> FileBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void WriteBytes(const std::string& path, const std::vector<uint8_t>& bytes) {
  std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()),
                                              static_cast<std::streamsize>(bytes.size()));
}

// The archived record of every field of a tree, to compare trees node by node.
std::vector<uint8_t> Record(const VkcConfiguration& tree) { return VkcConfigFile::Serialize(tree); }

class ConfigFile : public ::testing::Test {
 protected:
  void SetUp() override { manager.RegisterPrototypes(); }

  // A unit of model as identification leaves it: its serial number in the factory image and in
  // row ownRow of the user image's unit table, the other rows another unit's.
  void Identified(int model, int ownRow = 0) {
    unit.SetCurrentDevice(manager.GetDevice(model));
    unit.Factory().GetChild(0).GetChildAt(0).SetBytes(kOwnSerial, 6);
    unit.Factory().GetChild(1).SetInt(11);
    unit.Factory().GetChild(5).SetInt(55);
    unit.Dealer().GetChild(0).SetInt(static_cast<uint32_t>(model));
    unit.Dealer().GetChild(1).SetString("CALL");
    for (int row = 0; row <= ownRow; ++row) {
      unit.User().GetChild(1).GetChildAt(row).SetBytes(row == ownRow ? kOwnSerial : kOtherSerial, 6);
    }
    CfgNode& startDelay = unit.User().GetChild(2).GetChildAt(12);
    startDelay.SetInt(250);
    startDelay.SetString("CALLSIGN");  // one node, an integer and a text
    unit.At(VkcNodes::kSleepInactivity).SetInt(50);
  }

  std::string Path(const char* name) const { return dir.File(name); }

  testsupport::TempDir dir;
  VkcDeviceManager manager;
  VkcSystem unit;
  std::string message;
};

// The file of a small known unit, byte for byte: 'TEMP' id, then framed nodes ('S', u32 length
// from itself to the 'T', u32 name size, UTF-16LE name, 'N', u8 type, u32 scalar, u32 text size,
// u32 byte count and bytes, children, 'T').
TEST_F(ConfigFile, SaveWritesTheFileLayoutByteForByte) {
  unit.SetCurrentDevice(manager.GetDevice(4));
  unit.Dealer().GetChild(0).SetInt(4);
  unit.User().GetChild(1).GetChildAt(0).SetBytes(kOwnSerial, 6);
  unit.Factory().GetChild(0).GetChildAt(0).SetBytes(kOwnSerial, 6);
  const std::vector<uint8_t> expected = {
      0x50, 0x4D, 0x45, 0x54,                                // id 'TEMP'
      0x53, 0xF4, 0, 0, 0, 8, 0, 0, 0,                       // root, L 244, name 8 bytes
      'R', 0, 'O', 0, 'O', 0, 'T', 0,                        //
      0x4E, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,           // type 0, no text, no bytes
      0x53, 0x2E, 0, 0, 0, 0, 0, 0, 0,                       // [0], L 46
      0x4E, 2, 0x01, 0x00, 0x02, 0x00, 0, 0, 0, 0, 0, 0, 0, 0,  // int 0x20001
      0x53, 0x16, 0, 0, 0, 0, 0, 0, 0,                       // [0][0], L 22
      0x4E, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,           // own row 0
      0x54, 0x54,                                            // ends of [0][0] and [0]
      0x53, 0x36, 0, 0, 0, 8, 0, 0, 0,                       // [1] dealer image, L 54
      'R', 0, 'O', 0, 'O', 0, 'T', 0,                        //
      0x4E, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,           //
      0x53, 0x16, 0, 0, 0, 0, 0, 0, 0,                       // [1][0] model, L 22
      0x4E, 2, 4, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,           // int 4
      0x54, 0x54,                                            //
      0x53, 0x6C, 0, 0, 0, 8, 0, 0, 0,                       // [2] user image, L 108
      'R', 0, 'O', 0, 'O', 0, 'T', 0,                        //
      0x4E, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,           //
      0x53, 0x16, 0, 0, 0, 0, 0, 0, 0,                       // [2][0], empty, L 22
      0x4E, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,           //
      0x54,                                                  //
      0x53, 0x34, 0, 0, 0, 0, 0, 0, 0,                       // [2][1] unit table, L 52
      0x4E, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,           //
      0x53, 0x1C, 0, 0, 0, 0, 0, 0, 0,                       // [2][1][0], L 28
      0x4E, 5, 0, 0, 0, 0, 0, 0, 0, 0, 6, 0, 0, 0,           // bytes, 6 of them
      0x12, 0x34, 0x56, 0x78, 0x9A, 0xBC,                    //
      0x54, 0x54, 0x54,                                      // ends of [2][1][0], [2][1], [2]
      0x54,                                                  // end of the root; no MCU, no [3]
  };
  ASSERT_TRUE(VkcConfigFile::Save(Path("golden.VKN"), unit, manager.GetMCUController(), message)) << message;
  EXPECT_EQ(FileBytes(Path("golden.VKN")), expected);

  // Loaded into a fresh program that identified the same unit, it gives the same images.
  VkcSystem fresh;
  fresh.SetCurrentDevice(manager.GetDevice(4));
  fresh.Factory().GetChild(0).GetChildAt(0).SetBytes(kOwnSerial, 6);
  ASSERT_EQ(VkcConfigFile::Load(Path("golden.VKN"), fresh, manager, message), Loaded::kConfiguration) << message;
  EXPECT_EQ(fresh.GetProductId(), 4);
  EXPECT_EQ(Record(fresh.Dealer()), Record(unit.Dealer()));
  EXPECT_EQ(Record(fresh.User()), Record(unit.User()));
}

TEST_F(ConfigFile, TheOwnRowAtSavingIsTheVersionsChild) {
  Identified(4, 2);
  VkcConfiguration tree;
  VkcConfigFile::BuildTree(unit, manager.GetMCUController(), tree);
  const std::vector<uint8_t> bytes = VkcConfigFile::Serialize(tree);
  const std::vector<uint8_t> versionAndRow = {
      0x53, 0x2E, 0, 0, 0, 0, 0, 0, 0, 0x4E, 2, 0x01, 0x00, 0x02, 0x00, 0, 0, 0, 0, 0, 0, 0, 0,
      0x53, 0x16, 0, 0, 0, 0, 0, 0, 0, 0x4E, 2, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0x54, 0x54};
  ASSERT_GT(bytes.size(), 35 + versionAndRow.size());
  EXPECT_EQ(std::vector<uint8_t>(bytes.begin() + 35, bytes.begin() + 35 + static_cast<long>(versionAndRow.size())),
            versionAndRow);
}

TEST_F(ConfigFile, RoundTripRestoresImagesAndMcuSettings) {
  Identified(4);
  VkcMCUController& mcu = manager.GetMCUController();
  mcu.Settings().SetRoute(1);
  mcu.Settings().SetBluetoothName("Rover");
  mcu.Settings().SetPin("1234");
  mcu.Settings().SetHasSerialPort(true);
  mcu.Settings().SetSerialRate(4);
  const VkcMCUSettings saved = mcu.Settings();
  ASSERT_TRUE(VkcConfigFile::Save(Path("a.VKN"), unit, mcu, message)) << message;
  const std::vector<uint8_t> dealer = Record(unit.Dealer()), user = Record(unit.User());

  VkcSystem fresh;
  fresh.SetCurrentDevice(manager.GetDevice(4));
  fresh.Factory().GetChild(0).GetChildAt(0).SetBytes(kOwnSerial, 6);
  mcu.Settings() = VkcMCUSettings();
  ASSERT_EQ(VkcConfigFile::Load(Path("a.VKN"), fresh, manager, message), Loaded::kConfiguration) << message;
  EXPECT_EQ(Record(fresh.Dealer()), dealer);
  EXPECT_EQ(Record(fresh.User()), user);
  const CfgNode& startDelay = fresh.User().GetChild(2).GetChildAt(12);
  EXPECT_EQ(startDelay.GetInt(), 250);
  EXPECT_EQ(startDelay.GetString(), "CALLSIGN");
  EXPECT_EQ(mcu.Settings(), saved);
}

TEST_F(ConfigFile, WithoutAnMcuTheFileHasNoMcuImageAndLoadingEmptiesIt) {
  Identified(4);
  ASSERT_TRUE(VkcConfigFile::Save(Path("a.VKN"), unit, manager.GetMCUController(), message));
  VkcConfiguration tree;
  ASSERT_TRUE(VkcConfigFile::Read(Path("a.VKN"), tree, message));
  EXPECT_EQ(tree.Root().GetChildCount(), 3u);

  VkcMCUController& mcu = manager.GetMCUController();
  mcu.Settings().SetRoute(2);
  mcu.Settings().SetPin("9999");
  const VkcMCUSettings before = mcu.Settings();
  unit.Mcu().GetChild(0).GetChildAt(2).SetString("9999");
  ASSERT_EQ(VkcConfigFile::Load(Path("a.VKN"), unit, manager, message), Loaded::kConfiguration);
  EXPECT_TRUE(unit.Mcu().IsEmpty());
  EXPECT_EQ(mcu.Settings(), before);
}

TEST_F(ConfigFile, ModelIsResolvedFromTheDealerImage) {
  struct Case {
    const char* name;
    void (*set)(CfgNode&);
    int product;  // 0: refused
    const char* message;
  };
  const Case cases[] = {
      {"id", [](CfgNode& n) { n.SetInt(4); }, 4, ""},
      {"name in any case, lowest id", [](CfgNode& n) { n.SetString("vk400tx"); }, 6, ""},
      {"unknown id", [](CfgNode& n) { n.SetInt(77); }, 0, "Undefined device type 77"},
      {"unknown name", [](CfgNode& n) { n.SetString("Foo"); }, 0, "Undefined device type Foo"},
      {"wide text", [](CfgNode& n) { n.SetWString(u"VK400"); }, 0, "Undetected device"},
      {"bytes", [](CfgNode& n) { n.SetBytes("VK400", 5); }, 0, "Undetected device"},
      {"nothing", [](CfgNode&) {}, 0, "Undetected device"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    VkcSystem target;
    target.SetCurrentDevice(manager.GetDevice(12));
    target.User().GetChild(1).GetChildAt(0).SetBytes(kOtherSerial, 6);
    const std::vector<uint8_t> userBefore = Record(target.User());
    VkcConfiguration tree;
    tree.GetChild(0).SetInt(VkcConfigFile::kFormatVersion);
    c.set(tree.GetChild(1).GetChildAt(0));
    tree.GetChild(2).GetChildAt(7).SetInt(7);
    message.clear();
    const Loaded result = VkcConfigFile::Apply(tree, false, target, manager, message);
    if (c.product != 0) {
      EXPECT_EQ(result, Loaded::kConfiguration);
      EXPECT_EQ(target.GetProductId(), c.product);
    } else {
      EXPECT_EQ(result, Loaded::kNothing);
      EXPECT_EQ(message, c.message);
      EXPECT_EQ(target.GetCurrentDevice(), nullptr);
      EXPECT_EQ(Record(target.User()), userBefore);
    }
  }
}

TEST_F(ConfigFile, AnotherModelThanTheIdentifiedUnitsBecomesCurrent) {
  Identified(4);
  const UnitId own = unit.GetSerialNumber();
  VkcConfiguration tree;
  tree.GetChild(1).GetChildAt(0).SetInt(12);
  tree.GetChild(2).GetChildAt(1).GetChildAt(0).SetBytes(kOtherSerial, 6);
  EXPECT_EQ(VkcConfigFile::Apply(tree, false, unit, manager, message), Loaded::kConfiguration);
  EXPECT_EQ(unit.GetProductId(), 12);
  EXPECT_EQ(unit.GetSerialNumber(), own);
}

TEST_F(ConfigFile, LoadingKeepsTheUnitsOwnSerialNumber) {
  // The file comes from another unit whose table has our serial in row 1.
  for (int ownRow : {0, 2}) {
    SCOPED_TRACE(ownRow);
    VkcSystem target;
    target.SetCurrentDevice(manager.GetDevice(4));
    target.Factory().GetChild(0).GetChildAt(0).SetBytes(kOwnSerial, 6);
    for (int row = 0; row <= ownRow; ++row) {
      target.User().GetChild(1).GetChildAt(row).SetBytes(row == ownRow ? kOwnSerial : kOtherSerial, 6);
    }
    VkcConfiguration tree;
    tree.GetChild(1).GetChildAt(0).SetInt(4);
    const uint8_t fileUnit[6] = {9, 9, 9, 9, 9, 9};
    tree.GetChild(2).GetChildAt(1).GetChildAt(0).SetBytes(fileUnit, 6);
    tree.GetChild(2).GetChildAt(1).GetChildAt(1).SetBytes(kOwnSerial, 6);
    ASSERT_EQ(VkcConfigFile::Apply(tree, false, target, manager, message), Loaded::kConfiguration);
    EXPECT_EQ(target.GetSerialNumber(), UnitId(kOwnSerial));
    EXPECT_EQ(target.GetOwnUnitIndex(), 1);
    EXPECT_EQ(target.User().GetChild(1).GetChildAt(0).GetByteVector(), std::vector<uint8_t>(fileUnit, fileUnit + 6));
  }
}

TEST_F(ConfigFile, FactoryFilesReplaceTheFactoryImageButTheUnitsOwnSections) {
  VkcConfiguration file;
  const uint8_t fileSerial[6] = {0xAB, 0, 0, 0, 0, 1};
  file.GetChild(0).GetChildAt(0).SetBytes(fileSerial, 6);
  file.GetChild(0).GetChildAt(2).SetString("Factory");
  for (int section = 1; section <= 5; ++section) file.GetChild(section).SetInt(static_cast<uint32_t>(100 + section));
  WriteBytes(Path("f.VKF"), VkcConfigFile::Serialize(file));
  // Section 2 is the unit's own only on a transceiver.
  for (auto [model, section2] : {std::pair{12, 0}, std::pair{2, 102}}) {
    SCOPED_TRACE(model);
    unit.Reset();
    unit.SetFactoryWrite(false);
    Identified(model);
    const std::vector<uint8_t> dealer = Record(unit.Dealer()), user = Record(unit.User());
    ASSERT_EQ(VkcConfigFile::Load(Path("f.VKF"), unit, manager, message), Loaded::kFactory) << message;
    EXPECT_TRUE(unit.IsFactoryWrite());
    EXPECT_EQ(unit.GetSerialNumber(), UnitId(fileSerial));
    EXPECT_EQ(unit.Factory().GetChild(1).GetInt(), 11);
    EXPECT_EQ(unit.Factory().GetChild(2).GetInt(), section2);
    EXPECT_EQ(unit.Factory().GetChild(3).GetInt(), 103);
    EXPECT_EQ(unit.Factory().GetChild(5).GetInt(), 55);
    EXPECT_EQ(Record(unit.Dealer()), dealer);
    EXPECT_EQ(Record(unit.User()), user);
  }
}

TEST_F(ConfigFile, FactoryFileWithoutAnIdentifiedUnitIsRefused) {
  VkcConfiguration file;
  file.GetChild(0).GetChildAt(0).SetBytes(kOwnSerial, 6);
  WriteBytes(Path("f.VKF"), VkcConfigFile::Serialize(file));
  EXPECT_EQ(VkcConfigFile::Load(Path("f.VKF"), unit, manager, message), Loaded::kNothing);
  EXPECT_EQ(message, "A factory configuration file can be loaded only into an identified unit. Identify the unit first.");
  EXPECT_TRUE(unit.Factory().IsEmpty());
  EXPECT_FALSE(unit.IsFactoryWrite());
}

TEST_F(ConfigFile, OnlyAnUpperCaseVkfExtensionIsAFactoryFile) {
  const std::pair<const char*, bool> cases[] = {
      {"/a/b.VKF", true},  {"/a/b.vkf", false}, {"/a/b.Vkf", false}, {"/a/b.VKN", false},
      {"/a.VKF/b", false}, {"VKF", false},      {"/a/.VKF", true},   {"/a/b.VKF.bak", false},
  };
  for (const auto& [path, factory] : cases) EXPECT_EQ(VkcConfigFile::IsFactoryPath(path), factory) << path;
}

TEST_F(ConfigFile, DamagedOrMissingFilesChangeNothing) {
  Identified(4);
  ASSERT_TRUE(VkcConfigFile::Save(Path("good.VKN"), unit, manager.GetMCUController(), message));
  const std::vector<uint8_t> good = FileBytes(Path("good.VKN"));
  const std::vector<uint8_t> dealer = Record(unit.Dealer()), user = Record(unit.User());

  std::vector<uint8_t> truncated(good.begin(), good.end() - 7);
  std::vector<uint8_t> hugeLength = good;
  hugeLength[5] = 0xFF, hugeLength[6] = 0xFF, hugeLength[7] = 0xFF, hugeLength[8] = 0x7F;
  WriteBytes(Path("truncated.VKN"), truncated);
  WriteBytes(Path("length.VKN"), hugeLength);
  WriteBytes(Path("empty.VKN"), {});
  const std::pair<const char*, const char*> cases[] = {
      {"truncated.VKN", "the file is damaged or is not a configuration file."},
      {"length.VKN", "the file is damaged or is not a configuration file."},
      {"empty.VKN", "the file is damaged or is not a configuration file."},
      {"missing.VKN", "No such file or directory"},
  };
  for (const auto& [name, why] : cases) {
    SCOPED_TRACE(name);
    EXPECT_EQ(VkcConfigFile::Load(Path(name), unit, manager, message), Loaded::kNothing);
    EXPECT_EQ(message, "Unable to read file \"" + Path(name) + "\": " + why);
    EXPECT_EQ(Record(unit.Dealer()), dealer);
    EXPECT_EQ(Record(unit.User()), user);
    EXPECT_EQ(unit.GetProductId(), 4);
  }

  // Bytes after a node's last child are skipped.
  std::vector<uint8_t> padded(good.begin(), good.end() - 1);
  padded.insert(padded.end(), {0, 1, 2, 3, 0x54});
  const uint32_t length = static_cast<uint32_t>(padded.size()) - 4 - 1 - 1;
  std::memcpy(&padded[5], &length, 4);
  WriteBytes(Path("padded.VKN"), padded);
  EXPECT_EQ(VkcConfigFile::Load(Path("padded.VKN"), unit, manager, message), Loaded::kConfiguration) << message;
}

TEST_F(ConfigFile, AFailedSaveKeepsTheOldFile) {
  Identified(4);
  WriteBytes(Path("old.VKN"), {1, 2, 3});
  for (platform::WriteStep step : {platform::WriteStep::CreateTemp, platform::WriteStep::Write,
                                   platform::WriteStep::SyncFile, platform::WriteStep::Rename}) {
    platform::SetWriteFailureForTest(step);
    EXPECT_FALSE(VkcConfigFile::Save(Path("old.VKN"), unit, manager.GetMCUController(), message));
    platform::SetWriteFailureForTest(std::nullopt);
    EXPECT_EQ(message.rfind("Unable to write file \"" + Path("old.VKN") + "\": ", 0), 0u) << message;
    EXPECT_EQ(FileBytes(Path("old.VKN")), std::vector<uint8_t>({1, 2, 3}));
  }
  EXPECT_TRUE(VkcConfigFile::Save(Path("old.VKN"), unit, manager.GetMCUController(), message));
  EXPECT_GT(FileBytes(Path("old.VKN")).size(), 3u);
}

}  // namespace
