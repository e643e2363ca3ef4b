// What the configuration report says about a unit: every label and value, read from real model
// classes and images.

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "devices/VkcDevice.h"
#include "devices/VkcDeviceManager.h"
#include "devices/VkcImageNodes.h"
#include "link/Utf.h"
#include "unit/VkcConfigurationReport.h"
#include "unit/VkcSystem.h"

namespace {

class ConfigurationReport : public ::testing::Test {
 protected:
  void SetUp() override { manager.RegisterPrototypes(); }

  // A unit of the model with id, its own row at index 1 of the unit table.
  void Identify(int id) {
    device = manager.GetDevice(id);
    ASSERT_NE(device, nullptr);
    system.SetCurrentDevice(device);
    const uint8_t serial[6] = {0x00, 0x1A, 0x2B, 0x3C, 0x4D, 0x5E};
    system.Factory().GetChild(0).GetChildAt(0).SetBytes(serial, 6);
    system.SetSoftwareVersion("2.1.7");
  }
  void Set(const VkcNodePath& path, int value) { system.WriteInt(path, value); }

  // The value of label in a section, or of label inside the row parent.
  std::string Value(int section, const std::string& label, const std::string& parent = {}) {
    sections = BuildConfigurationReportContent(system);
    for (const VkcReportRow& row : sections.at(section).rows) {
      if (parent.empty() && Utf16ToUtf8(row.label) == label) return Utf16ToUtf8(row.value);
      if (!parent.empty() && Utf16ToUtf8(row.label) == parent) {
        for (const VkcReportRow& sub : row.nested)
          if (Utf16ToUtf8(sub.label) == label) return Utf16ToUtf8(sub.value);
      }
    }
    return "<absent>";
  }
  std::vector<std::string> Labels(int section) {
    sections = BuildConfigurationReportContent(system);
    std::vector<std::string> out;
    for (const VkcReportRow& row : sections.at(section).rows) out.push_back(Utf16ToUtf8(row.label));
    return out;
  }

  VkcDeviceManager manager;
  VkcSystem system;
  const VkcDevice* device = nullptr;
  std::vector<VkcReportSection> sections;
};

TEST_F(ConfigurationReport, ValuesOfAFullUnit) {
  Identify(4);  // VK400: a transceiver with alarm outputs
  device->SetChannelFrequencies(system, {450006250u, 410025000u, 433000000u});
  system.Dealer().GetChild(1).SetString("CALL1");
  const auto R = kVkcR;
  struct Case {
    VkcNodePath path;
    int value;
    int section;
    const char* label;
    const char* parent;
    const char* expected;
  } cases[] = {
      {VkcPath(kVkcU, 2, 1), 3, 2, "Frequency Hopping", "", "Pattern Number 3"},
      {VkcPath(kVkcU, 2, 1), 0, 2, "Frequency Hopping", "", "Off"},
      {VkcPath(kVkcU, 2, 5), 5, 2, "Scrambling", "", "Seed Number 5"},
      {VkcPath(kVkcU, 2, 6), 2, 2, "Modulation", "", "D8PSK"},
      {VkcPath(kVkcU, 2, 6), 6, 2, "Modulation", "", "Id 7"},
      {VkcPath(kVkcU, 2, 6), -2, 2, "Modulation", "", "-2"},
      {VkcNodes::kProtocol, 4, 2, "Protocol", "", "Half Duplex Base"},
      {VkcNodes::kProtocol, 10, 2, "Protocol", "", "Id 11"},
      {VkcNodes::kProtocol, -1, 2, "Protocol", "", "-1"},
      {VkcNodes::kOutputPower, 12, 2, "Output Power", "", "12 dbm"},
      {VkcNodes::kDealerMaxPower, 33, 1, "Maximum Allowed Power", "", "33 dbm"},
      {VkcNodes::kAlarmOut1, 2, 2, "TTL1", "Alarm", "(TTL1 and TTL2)"},
      {VkcNodes::kAlarmOut2, 3, 2, "TTL2", "Alarm", "BERT"},
      {VkcNodes::kAlarmBerThreshold, 7, 2, "BERTH", "Alarm", "7"},
      {VkcNodes::kDataPortRate, 0, 2, "Baud Rate", "Data Port", "Maintenance Port Rate"},
      {VkcNodes::kDataPortRate, 5, 2, "Baud Rate", "Data Port", "14400"},
      {VkcNodes::kDataPortRate, 10, 2, "Baud Rate", "Data Port", "Index 10"},
      {VkcNodes::kDataPortBits, 1, 2, "Data Bits", "Data Port", "7"},
      {VkcNodes::kDataPortParity, 1, 2, "Parity", "Data Port", "Even"},
      {VkcNodes::kDataPortParity, 2, 2, "Parity", "Data Port", "2"},
      {VkcNodes::kDataPortFlow, 2, 2, "Flow Control", "Data Port", "Hardware"},
      {VkcNodes::kMaintenancePortRate, 0, 2, "Baud Rate", "Maintenance Port", "115200"},
      {VkcNodes::kMaintenancePortRate, 6, 2, "Baud Rate", "Maintenance Port", "19200"},
      {VkcPath(kVkcU, 1, R, 5, 3), 1, 2, "GTS", "Sleep Settings", "On"},
      {VkcPath(kVkcU, 1, R, 5, 0), 0, 2, "CLK", "Sleep Settings", "Off"},
      {VkcNodes::kChannel, 0, 2, "Channel", "", "Automatic Scanning"},
      {VkcNodes::kChannel, 1, 2, "Channel", "", "Channel 1 (450.00625 MHz)"},
      {VkcNodes::kChannel, 40, 2, "Channel", "", "Channel 40 (0 MHz)"},
      {VkcNodes::kChannel, -1, 2, "Channel", "", "Channel -1 (0 MHz)"},
  };
  for (const Case& c : cases) {
    Set(c.path, c.value);
    EXPECT_EQ(Value(c.section, c.label, c.parent), c.expected) << c.label << " = " << c.value;
  }
  EXPECT_EQ(Value(0, "Product Type"), "VK400");
  EXPECT_EQ(Value(0, "Serial Number"), "00-1A-2B-3C-4D-5E");
  EXPECT_EQ(Value(0, "Software Version"), "2.1.7");
  EXPECT_EQ(Value(1, "Call Sign"), "CALL1");
  ASSERT_EQ(sections[1].channelMap.size(), 3u);
  EXPECT_EQ(Utf16ToUtf8(sections[1].channelMap[1].label), "2");
  EXPECT_EQ(Utf16ToUtf8(sections[1].channelMap[1].value), "410.025 MHz");
  EXPECT_EQ(Labels(2), (std::vector<std::string>{"Channel", "Frequency Hopping", "Scrambling", "Modulation",
                                                 "Output Power", "Protocol", "Alarm", "Data Port",
                                                 "Maintenance Port", "Sleep Settings"}));
}

TEST_F(ConfigurationReport, UnitWithoutAlarmsOrChannelMapAndNoUnitAtAll) {
  Identify(6);  // VK400Tx: no alarm outputs
  const std::vector<std::string> labels = Labels(2);
  EXPECT_EQ(std::find(labels.begin(), labels.end(), "Alarm"), labels.end());
  EXPECT_EQ(labels[6], "Data Port");

  VkcSystem empty;
  const size_t before = empty.User().Root().GetChildCount();
  const auto none = BuildConfigurationReportContent(empty);
  EXPECT_EQ(Utf16ToUtf8(none[0].rows[0].value), "N/A");
  EXPECT_EQ(Utf16ToUtf8(none[1].rows[1].value), "1 kHz");
  EXPECT_EQ(Utf16ToUtf8(none[2].rows[0].value), "N/A");
  EXPECT_TRUE(none[1].channelMap.empty());
  EXPECT_EQ(empty.User().Root().GetChildCount(), before) << "the report adds no nodes to the images";
}

TEST(ReportNumbers, KeepEveryDigitOfARasterFrequency) {
  EXPECT_EQ(Utf16ToUtf8(FormatReportNumber(450006250 / 1e6)), "450.00625");
  EXPECT_EQ(Utf16ToUtf8(FormatReportNumber(6250 / 1000.0)), "6.25");
  EXPECT_EQ(Utf16ToUtf8(FormatReportNumber(1575420000 / 1e6)), "1575.42");
  EXPECT_EQ(Utf16ToUtf8(FormatReportNumber(0)), "0");
}

}  // namespace
