// The model registry against the model table: keys, names, ids, interfaces, limits and families.

#include <gtest/gtest.h>

#include <set>

#include "devices/VkcDeviceManager.h"
#include "devices/VkcModelTable.h"
#include "link/VkcConfiguration.h"
#include "link/Utf.h"

namespace {

struct Golden {
  int key;
  const char* name;
  int id;
  uint32_t itf;
  int max;
  int min;
  char set;
};

// Keys, display names, reported ids, interfaces and power limits of every registered model.
const Golden kGolden[] = {
    {-2, "Bootloader", -2, 1, 0, 0, 'Z'},
    {-1, "Startup", -1, 1, 0, 0, 'Z'},
    {0, "N/A", 0, 0, 0, 0, 'Z'},
    {1, "MIV20-1", 1, 1, 33, 15, 'E'},
    {2, "VK400Rx", 2, 1, 0, 0, 'Z'},
    {3, "VK435", 3, 1, 45, 25, 'A'},
    {4, "VK400", 4, 1, 33, 13, 'A'},
    {6, "VK400Tx", 6, 1, 30, 15, 'B'},
    {12, "VK100", 12, 1, 33, 13, 'A'},
    {16, "VK135", 16, 1, 45, 25, 'A'},
    {18, "VK401Tc", 18, 3, 30, 10, 'E'},
    {22, "VK400Tc", 22, 3, 33, 13, 'A'},
    {23, "VK435Tc", 23, 3, 45, 25, 'A'},
    {24, "VK401Hi", 24, 3, 30, 10, 'E'},
    {25, "ZOB1", 25, 1, 45, 25, 'A'},
    {27, "VK415", 27, 1, 42, 22, 'A'},
    {28, "VK400Qr", 28, 1, 30, 15, 'B'},
    {31, "ONX402", 31, 1, 33, 13, 'A'},
    {32, "VK100RxAvia", 32, 1, 0, 0, 'Z'},
    {33, "VK100Tx", 33, 1, 30, 15, 'D'},
    {35, "ONX435BT", 35, 1, 46, 25, 'A'},
    {36, "L-Band", 36, 1, 0, 0, 'Z'},
    {38, "ONX135BT", 38, 1, 46, 25, 'A'},
    {39, "VK400TxEXT", 39, 1, 30, 15, 'D'},
    {42, "VK135BT", 42, 1, 46, 25, 'A'},
    {43, "VK435BT", 43, 1, 46, 25, 'A'},
    {46, "ONX404BT", 46, 1, 36, 15, 'A'},
    {47, "ONX404BT_GSM", 47, 1, 36, 15, 'A'},
    {48, "VK400BT", 48, 1, 36, 15, 'A'},
    {49, "VK400BT_GSM", 49, 1, 36, 15, 'A'},
    {50, "ONX104BT", 50, 1, 36, 15, 'A'},
    {57, "VK100BT", 57, 1, 36, 15, 'A'},
    {58, "KEV/VK400Rx", 58, 1, 0, 0, 'Z'},
    {64, "ONX101", 64, 1, 30, 15, 'A'},
    {69, "Beacon", 69, 1, 0, 0, 'Z'},
    {70, "VK100BT_GSM", 70, 1, 36, 15, 'A'},
    {71, "ONX104BT_GSM", 71, 1, 36, 15, 'A'},
    {74, "ONX401", 74, 1, 30, 15, 'B'},
    {83, "VK400Tx", 83, 1, 30, 15, 'B'},
    {100, "VK404AF", 100, 1, 36, 15, 'A'},
    {111, "KEV400Rx(UHFSSRX)", 111, 1, 0, 0, 'Z'},
    {112, "KEV/VK400RxS", 112, 1, 0, 0, 'Z'},
    {201, "VK100Tx", 201, 1, 30, 15, 'A'},
    {741, "ONX401", 741, 1, 30, 15, 'B'},
    {931, "ONX401S", 931, 1, 30, 15, 'B'},
    {1001, "UHF Golden Unit", 1001, 1, 33, 13, 'A'},
    {1002, "VHF Golden Unit", 1002, 1, 33, 13, 'A'},
    {1112, "N/A", 0, 0, 0, 0, 'Z'},
    {3601, "L-Band", 36, 1, 0, 0, 'Z'},
};

struct LimitWords {
  uint32_t third;
  std::array<uint32_t, 3> r2, r3;
  uint32_t word;
};

LimitWords Expected(char set) {
  switch (set) {
    case 'A': return {12000, {31, 0, 100}, {7000, 16000, 0}, 31};
    case 'B': return {115, {31, 0, 1}, {110, 127, 0}, 63};
    case 'D': return {127, {31, 0, 100}, {0, 255, 0}, 63};
    case 'E': return {115, {31, 0, 1}, {110, 127, 0}, 31};
    default: return {0, {0, 0, 0}, {0, 0, 0}, 31};
  }
}

const std::set<int> kTransceivers = {1,  3,  4,  6,  12, 16, 18, 22, 23, 24, 25,  27,  28,  31,  33,   35,  38,
                                     39, 42, 43, 46, 47, 48, 49, 50, 57, 64, 70, 71, 74, 83, 100, 201, 741, 931, 1001, 1002};
const std::set<int> kBluetooth = {48, 57, 50, 46, 100, 42, 38, 43, 35};
const std::set<int> kGsm = {49, 47, 70, 71};
const std::set<int> kNoTransmitter = {2, 32, 36, 58, 69, 111, 112, 3601};

class ModelTableTest : public ::testing::Test {
 protected:
  void SetUp() override { manager_.RegisterPrototypes(); }
  VkcDeviceManager manager_;
};

TEST_F(ModelTableTest, EveryKeyHasItsConstants) {
  ASSERT_EQ(ModelTable().size(), std::size(kGolden));
  for (const Golden& g : kGolden) {
    SCOPED_TRACE(g.key);
    const VkcDevice* device = manager_.GetDevice(g.key);
    ASSERT_NE(device, nullptr);
    EXPECT_EQ(Utf16ToUtf8(device->GetName()), g.name);
    EXPECT_EQ(device->GetModelId(), g.id);
    EXPECT_EQ(device->GetInterfaceId(), g.itf);
    EXPECT_EQ(device->GetMaxPowerDbm(), g.max);
    EXPECT_EQ(device->GetMinPowerDbm(), g.min);
    const LimitWords words = Expected(g.set);
    EXPECT_EQ(device->GetLimitRecord(0)[2], words.third);
    EXPECT_EQ(device->GetLimitRecord(1), words.r2);
    EXPECT_EQ(device->GetLimitRecord(2), words.r3);
    EXPECT_EQ(device->GetLimitWord(), words.word);
  }
}

TEST_F(ModelTableTest, FamiliesFollowTheClassTree) {
  for (const Golden& g : kGolden) {
    SCOPED_TRACE(g.key);
    const VkcDevice* device = manager_.GetDevice(g.key);
    EXPECT_EQ(device->IsTransceiver(), kTransceivers.count(g.key) == 1);
    EXPECT_EQ(device->IsBluetoothModel(), kBluetooth.count(g.key) == 1);
    EXPECT_EQ(device->IsGsmModel(), kGsm.count(g.key) == 1);
    EXPECT_EQ(device->HasTransmitter(), kNoTransmitter.count(g.key) == 0);
    EXPECT_EQ(device->CanSwitchReceiverMode(), g.key == 36 || g.key == 3601);
  }
}

TEST_F(ModelTableTest, LookupsByNameTakeTheLowestKey) {
  EXPECT_EQ(manager_.FindDeviceByName(u"vk400tx"), manager_.GetDevice(6));
  EXPECT_EQ(manager_.FindDeviceByName(u"ONX401"), manager_.GetDevice(74));
  EXPECT_EQ(manager_.FindDeviceByName(u"l-band"), manager_.GetDevice(36));
  EXPECT_EQ(manager_.FindDeviceByName(u"VK100Tx"), manager_.GetDevice(33));
  EXPECT_EQ(manager_.FindDeviceByName(u"N/A"), manager_.GetDevice(0));
  EXPECT_EQ(manager_.FindDeviceByName(u"VK400Tx "), nullptr);
  EXPECT_EQ(manager_.GetDevice(5), nullptr);
}

TEST_F(ModelTableTest, RegistriesRefuseDuplicatesAndEnumerateInterfaces) {
  EXPECT_FALSE(manager_.AddDevice(4, std::make_unique<VkcDevice>()));
  EXPECT_EQ(Utf16ToUtf8(manager_.GetDevice(4)->GetName()), "VK400");
  EXPECT_EQ(manager_.GetInterfaceCount(), 2);
  VkcDeviceInterface* itf = nullptr;
  EXPECT_EQ(manager_.GetNextInterface(itf, 0), 1);
  EXPECT_EQ(Utf16ToUtf8(itf->GetName()), "Direct");
  EXPECT_EQ(manager_.GetNextInterface(itf, 1), 6);
  EXPECT_EQ(Utf16ToUtf8(itf->GetName()), "Through Quorl GPS receiver");
  VkcDeviceInterface* untouched = itf;
  EXPECT_EQ(manager_.GetNextInterface(itf, 6), 0);
  EXPECT_EQ(manager_.GetNextInterface(itf, 3), 0);  // the Topcon line's interface is not registered
  EXPECT_EQ(itf, untouched);
  EXPECT_EQ(manager_.GetInterface(3), nullptr);

  VkcDeviceManager noDevices;
  noDevices.AddInterface(1, std::make_unique<VkcDeviceInterface>(1, u"x"));
  EXPECT_EQ(noDevices.GetNextInterface(itf, 0), 0);
}

TEST_F(ModelTableTest, PseudoDevicesAnswerWithoutTheUnit) {
  VkcConfiguration tree;
  EXPECT_EQ(manager_.GetDevice(-1)->GetMaintenancePortRate(nullptr, nullptr), 8);
  EXPECT_EQ(manager_.GetDevice(-2)->GetMaintenancePortRate(nullptr, nullptr), 6);
  EXPECT_EQ(manager_.GetDevice(-2)->GetStoredPortRateIndex(tree, 0), 6);
  EXPECT_TRUE(tree.IsEmpty());
}

}  // namespace

namespace {

TEST(DeviceManager, ConfiguredInterfaceReadsWithoutCreating) {
  VkcDeviceManager manager;
  manager.RegisterPrototypes();
  VkcConfiguration settings;
  EXPECT_EQ(manager.GetConfiguredInterface(settings.Root())->GetId(), 1);
  EXPECT_TRUE(settings.IsEmpty());
  settings.GetSection(std::string_view("Serial Interface"));
  EXPECT_EQ(manager.GetConfiguredInterface(settings.Root())->GetId(), 1);
  settings.GetSection(std::string_view("Serial Interface")).GetChild(std::string_view("Interface")).SetInt(6);
  EXPECT_EQ(manager.GetConfiguredInterface(settings.Root())->GetId(), 6);
  settings.GetSection(std::string_view("Serial Interface")).GetChild(std::string_view("Interface")).SetInt(3);
  EXPECT_EQ(manager.GetConfiguredInterface(settings.Root()), nullptr);
}

TEST(DeviceManager, LogProgressPostsPercentAndMailbox) {
  platform::RecordingWindow window;
  VkcLogMessage log;
  EXPECT_TRUE(VkcDeviceManager::LogProgress(log, window.Handle(), 40, nullptr));
  EXPECT_TRUE(VkcDeviceManager::LogProgress(log, window.Handle(), 45, "Trying %d\r\n", 9600));
  EXPECT_EQ(window.Messages(kMsgProgress),
            (std::vector<platform::PostedMessage>{{kMsgProgress, kProgressPercent, 40},
                                                  {kMsgProgress, kProgressPercent, 45},
                                                  {kMsgProgress, kProgressMailbox, reinterpret_cast<intptr_t>(&log)}}));
  EXPECT_EQ(log.TakeTextUtf8(), "Trying 9600\r\n");
  EXPECT_FALSE(VkcDeviceManager::LogProgress(log, platform::kNoWindow, 50, "lost\r\n"));
}

}  // namespace
