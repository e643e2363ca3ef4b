// Every page the program's main dialog carries, refreshed and applied on units of several model
// families: an apply that follows a refresh sends back exactly the images the unit gave (but for
// the rewrites the pages' rules make), one unit's values never reach another unit's images, an
// edit typed on each page arrives and changes nothing else, another unit of the model not yet
// shown gets nothing, and without a unit nothing is written.
// The pages are found in the dialog, so a page registered later is covered without a change here.

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFocusEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QStackedWidget>
#include <QTest>
#include <QTreeWidget>

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cctype>
#include <cstdlib>
#include <functional>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "app/ModulinkApp.h"
#include "app/ModulinkDlg.h"
#include "app/ModulinkStartup.h"
#include "app/PageText.h"
#include "app/VkcModulinkDlg.h"
#include "devices/VkcDevice.h"
#include "devices/VkcUnitImages.h"
#include "link/Utf.h"
#include "pages/ModulinkPages.h"
#include "pages/VkcPPAdvancedWirelessModel.h"
#include "pages/VkcPPBluetoothModel.h"
#include "pages/VkcPPDealerModel.h"
#include "pages/VkcPPGSMGPRSModel.h"
#include "pages/VkcPPIdentifyModel.h"
#include "pages/VkcPPModemModel.h"
#include "pages/VkcPPRTNServicesModel.h"
#include "pages/VkcPPRemoteListModel.h"
#include "pages/VkcPPSerialModel.h"
#include "pages/VkcPPWirelessModel.h"
#include "support/TestSupport.h"
#include "support/PageWidgets.h"
#include "unit/VkcConfigFile.h"

namespace {

// --- The units ---

struct UnitCase {
  const char* family;
  int model;
  bool mcu;  // the unit has the management processor between its ports
  int receiver = 0;  // the stored active receiver: 1 puts a dual-mode unit in its beacon mode
};
void PrintTo(const UnitCase& c, std::ostream* os) { *os << c.family; }

const UnitCase kUnits[] = {
    {"VK400", 4, false},       {"VK400Tx", 6, false},     {"VK400Rx", 2, false},   {"VK400BT", 48, true},
    {"VK400BT_GSM", 49, true}, {"ONX404BT_GSM", 47, true}, {"L-Band", 36, false},  {"Beacon", 3601, false},
    {"VK435", 3, false},       {"VK401Tc", 18, false},    {"VK100RxAvia", 32, false},
    {"L-Band dual-mode", 36, false, 1},
};

std::string Text(const char* stem, int seed) { return stem + std::to_string(seed); }

void Bytes(CfgNode& node, uint8_t first, int seed) {
  const uint8_t b[6] = {first, 0x34, 0x56, 0x78, static_cast<uint8_t>(0x9A + seed), static_cast<uint8_t>(0xB0 + seed)};
  node.SetBytes(b, sizeof b);
}

// The device the last identification made current (a refresh may swap in another mode's).
const VkcDevice* identifiedDevice = nullptr;

// Identification's outcome for a unit of the model: versions, the current device and its images
// with the node types the unit keeps, every value shifted by seed so two units differ everywhere.
void Identify(ModulinkStartup& program, const UnitCase& c, int seed) {
  VkcSystem& unit = program.System();
  VkcMCUController& mcu = program.Devices().GetMCUController();
  unit.Reset();
  const VkcDevice* device = program.Devices().GetDevice(c.model);
  ASSERT_NE(device, nullptr) << c.family;
  unit.SetCurrentDevice(device);
  identifiedDevice = device;
  unit.SetSoftwareVersion(seed == 0 ? "SW 3.1 Rev 4" : "SW 3.0 Rev 2");
  unit.SetHardwareVersion(Text("HW 1.", seed));
  unit.SetBootLoaderVersion(Text("BL 2.", seed));

  VkcConfiguration& f = unit.Factory();
  Bytes(f.GetChild(0).GetChildAt(0), 0x12, seed);
  f.GetChild(0).GetChildAt(2).SetString(Text("Base station ", seed));
  for (int section : {1, 2, 5}) f.GetChild(section).GetChildAt(0).SetInt(static_cast<uint32_t>(section + seed));
  for (int i = 0; i < 3; ++i) f.GetChild(4).GetChildAt(i).SetInt(device->GetBandFrequency(i));

  VkcConfiguration& d = unit.Dealer();
  d.GetChild(0).SetInt(static_cast<uint32_t>(device->GetModelId()));
  d.GetChild(1).SetString(Text("CALL", seed));
  // The dealer's power limit at or under the model's maximum, never under the output power below.
  d.GetChild(3).SetInt(static_cast<uint32_t>(device->GetMaxPowerDbm() > 0 ? device->GetMaxPowerDbm() - seed : 27 + seed));

  VkcConfiguration& u = unit.User();
  u.GetChild(0).GetChildAt(0).SetString("IMAGE 1.2");
  Bytes(u.GetChild(1).GetChildAt(0), 0x01, seed);  // another unit of the network comes first
  CfgNode& row = u.GetChild(1).GetChildAt(1);
  Bytes(row, 0x12, seed);
  // Power, protocol and modulation among those the model offers.
  const int minPower = device->GetMinPowerDbm(), maxPower = device->GetMaxPowerDbm();
  row.GetChildAt(0).SetInt(static_cast<uint32_t>(maxPower > minPower ? std::min(maxPower, (minPower + maxPower) / 2 + seed) : 0));
  std::vector<int> offered;
  device->GetProtocolList(device->HasTransmitter(), offered);
  const int protocol = offered.empty() ? 2 : offered[static_cast<size_t>(seed) % offered.size()];
  row.GetChildAt(1).SetInt(static_cast<uint32_t>(protocol));
  std::vector<int> modulations;
  device->GetModulationsForProtocol(protocol, modulations);
  // Alarm events and BER threshold; the unit under test's output 1 holds an event no button
  // stands for.
  for (int i = 0; i < 3; ++i) row.GetChildAt(2).GetChildAt(i).SetInt(static_cast<uint32_t>(1 + (i + seed) % 2));
  if (seed == 0) row.GetChildAt(2).GetChildAt(0).SetInt(4);
  // Data port: both rates alike, 8 bits and no parity (stored as index 0), hardware flow.
  const uint32_t port[] = {static_cast<uint32_t>(5 + seed), 0, 0, 2, 0, 0,
                           1, static_cast<uint32_t>(1 + seed), 1, static_cast<uint32_t>(1 + seed)};
  for (int i = 0; i < 10; ++i)
    if (i != 4 && i != 5) row.GetChildAt(3).GetChildAt(i).SetInt(port[i]);
  row.GetChildAt(4).GetChildAt(0).SetInt(static_cast<uint32_t>(5 + seed));
  const uint32_t sleep[] = {static_cast<uint32_t>(10 + seed), 1, static_cast<uint32_t>(seed), static_cast<uint32_t>(20 + seed)};
  for (int i = 0; i < 4; ++i) row.GetChildAt(5).GetChildAt(i).SetInt(sleep[i]);
  CfgNode& bt = row.GetChildAt(6);
  bt.GetChildAt(0).SetString(Text("MODEM-", seed));
  bt.GetChildAt(1).SetString(seed == 0 ? "1234" : "8765");
  bt.GetChildAt(2).SetInt(4);
  bt.GetChildAt(6).SetString(seed == 0 ? "1" : "0");
  bt.GetChildAt(7).SetString(seed == 0 ? "00A0B0C0D0E0" : "001122334455");
  bt.GetChildAt(8).SetString(seed == 0 ? "1" : "0");
  bt.GetChildAt(10).SetString(seed == 0 ? "0080C8E1F203" : "0080C8E1F2A4");
  bt.GetChildAt(11).SetInt(1);
  Bytes(row.GetChildAt(7).GetChildAt(0), 0x0A, seed);
  CfgNode& gsm = row.GetChildAt(8);
  gsm.GetChildAt(0).SetString(seed == 0 ? "1234" : "9876");
  gsm.GetChildAt(1).SetString(Text("internet.", seed));
  gsm.GetChildAt(2).SetString(Text("gsmuser", seed));
  gsm.GetChildAt(3).SetString(Text("gsmpass", seed));
  gsm.GetChildAt(6).SetInt(static_cast<uint32_t>(1 + seed));
  const char* ntrip[] = {"caster.example", "2101", "rover", "secret", "MOUNT", "$GPGGA"};
  for (int i = 0; i < 6; ++i) row.GetChildAt(9).GetChildAt(i).SetString(i == 1 ? std::string(ntrip[i]) : Text(ntrip[i], seed));
  const char* client[] = {"base.example", "8002", "client", "word"};
  for (int i = 0; i < 4; ++i) row.GetChildAt(10).GetChildAt(i).SetString(i == 1 ? std::string(client[i]) : Text(client[i], seed));
  const char* server[] = {"9000", "server", "pass"};
  for (int i = 0; i < 3; ++i) row.GetChildAt(11).GetChildAt(i).SetString(i == 0 ? std::string(server[i]) : Text(server[i], seed));
  row.GetChildAt(12).GetChildAt(0).SetInt(static_cast<uint32_t>(seed % 3));
  row.GetChildAt(12).GetChildAt(1).SetInt(1);

  CfgNode& radio = u.GetChild(2);
  // A unit whose channel is entered by number: the unit under test (seed 0) holds a channel that
  // names no frequency, the unit shown before it one that does.
  const bool byNumber = device->HasFeature(unit, 14);
  radio.GetChildAt(0).SetInt(static_cast<uint32_t>(byNumber && seed != 0 ? 20004 + seed : 3 + seed));
  for (int i : {1, 2, 14}) radio.GetChildAt(i).SetInt(0);
  radio.GetChildAt(16).SetInt(static_cast<uint32_t>(c.receiver));
  if (c.receiver == 1) radio.GetChildAt(0).GetChildAt(0).SetInt(static_cast<uint32_t>(2 + seed));  // the station
  radio.GetChildAt(3).SetInt(1);
  radio.GetChildAt(5).SetInt(static_cast<uint32_t>(12 + seed));
  radio.GetChildAt(6).SetInt(static_cast<uint32_t>(modulations.empty() ? 1 : modulations[static_cast<size_t>(seed) % modulations.size()]));
  radio.GetChildAt(11).SetInt(1);
  radio.GetChildAt(12).SetInt(static_cast<uint32_t>(10 + seed));
  radio.GetChildAt(12).SetString(Text("CALL", seed));
  radio.GetChildAt(12).GetChildAt(2).SetInt(5);
  radio.GetChildAt(12).GetChildAt(5).SetInt(1);
  radio.GetChildAt(12).GetChildAt(6).SetInt(0);
  radio.GetChildAt(13).SetInt(static_cast<uint32_t>(4 + seed));
  radio.GetChildAt(15).SetInt(7);
  radio.GetChildAt(17).SetInt(1);
  radio.GetChildAt(17).GetChildAt(0).SetInt(0);
  for (int i = 0; i < 3; ++i) Bytes(u.GetChild(3).GetChildAt(i), static_cast<uint8_t>(0x40 + i), seed);
  CfgNode& amplifier = u.GetChild(4);
  amplifier.GetChildAt(3).SetInt(1);
  amplifier.GetChildAt(3).GetChildAt(0).SetInt(1);
  amplifier.GetChildAt(4).SetInt(85);
  amplifier.GetChildAt(5).SetInt(90);
  amplifier.GetChildAt(6).SetInt(1);
  amplifier.GetChildAt(7).SetInt(1);
  amplifier.GetChildAt(15).SetInt(1);
  u.GetChild(5).GetChildAt(0).SetInt(0);
  u.GetChild(5).GetChildAt(1).SetInt(static_cast<uint32_t>(300000 + 500 * seed));
  u.GetChild(5).GetChildAt(2).SetInt(1);

  // Channel map and spacing where this model keeps them, as the model's own operations write them;
  // a dual-mode unit keeps those of both modes.
  std::vector<uint32_t> channels;
  const uint32_t low = device->GetBandFrequency(0), high = device->GetBandFrequency(2);
  for (uint32_t i = 0; i < 8; ++i) {
    const uint32_t hz = low + (high > low ? (high - low) / 16 : 12500u) * (i + static_cast<uint32_t>(seed));
    channels.push_back(hz - hz % 6250);
  }
  for (const VkcDevice* mode : {device, device->GetDeviceForMode(c.receiver)}) {
    mode->SetChannelFrequencies(unit, channels);
    mode->SetChannelSpacingIndex(unit, 1 + seed);
  }

  mcu.Settings() = VkcMCUSettings();
  mcu.SetBluetoothChanged(false);
  unit.Mcu().Clear();
  if (c.mcu) {
    VkcMCUSettings& s = mcu.Settings();
    s.SetRoute(seed == 0 ? 1 : 2);
    s.SetBluetoothName(Text("MCU-BT-", seed));
    s.SetPin(seed == 0 ? "0000" : "4321");
    s.SetRemoteAddress(seed == 0 ? "00A0B0C0D0E0" : "001122334455");
    s.SetOwnAddress("0080C8E1F203");
    s.SetBluetoothEnabled(seed == 0);
    s.SetMaster(seed != 0);
    s.SetHasSerialPort(true);
    s.SetSerialRate(static_cast<uint32_t>(5 + seed));
    s.SetCurrentPort(seed == 0 ? 2 : 0);
    s.SetSerialType(seed);
    mcu.SaveSettingsToImage(unit.Mcu());
  }
}

// --- Comparing images ---

// What the unit would be sent, as archived bytes, with the MCU record and the flags that decide
// what the sends carry.
struct Snapshot {
  std::vector<uint8_t> images[4];
  VkcConfiguration trees[4];
  VkcMCUSettings mcu;
  bool bluetoothChanged = false;
  bool unitBluetoothChanged = false;
};

Snapshot Take(ModulinkStartup& program) {
  Snapshot s;
  VkcSystem& unit = program.System();
  const VkcImage images[] = {VkcImage::Factory, VkcImage::Dealer, VkcImage::User, VkcImage::Mcu};
  for (int i = 0; i < 4; ++i) {
    s.trees[i] = unit.Image(images[i]);
    s.images[i] = VkcConfigFile::Serialize(s.trees[i]);
  }
  s.mcu = program.Devices().GetMCUController().Settings();
  s.bluetoothChanged = program.Devices().GetMCUController().IsBluetoothChanged();
  s.unitBluetoothChanged = unit.IsBluetoothChanged();
  return s;
}

std::string Hex(const std::vector<uint8_t>& bytes) {
  std::string out;
  for (uint8_t b : bytes) out += "0123456789ABCDEF"[b >> 4], out += "0123456789ABCDEF"[b & 15];
  return out;
}

std::string Value(const CfgNode& n) {
  std::ostringstream out;
  out << "type " << n.GetType() << ", " << n.GetInt();
  if (!n.GetString().empty()) out << ", \"" << n.GetString() << "\"";
  if (!n.GetWString().empty()) out << ", u\"" << Utf16ToUtf8(n.GetWString()) << "\"";
  if (!n.GetByteVector().empty()) out << ", bytes " << Hex(n.GetByteVector());
  return out.str();
}

// Every node that differs, by path: "CFGDN[1][1][6][2]: type 2 int 4 ... -> type 5 ...".
void Diff(const CfgNode& a, const CfgNode& b, const std::string& path, std::vector<std::string>& out) {
  if (a.GetType() != b.GetType() || a.GetScalar() != b.GetScalar() || a.GetString() != b.GetString() ||
      a.GetWString() != b.GetWString() || a.GetByteVector() != b.GetByteVector())
    out.push_back(path + ": " + Value(a) + " -> " + Value(b));
  const size_t n = std::max(a.GetChildCount(), b.GetChildCount());
  for (size_t i = 0; i < n; ++i) {
    const std::string child = path + "[" + std::to_string(i) + "]";
    if (i >= a.GetChildCount()) {
      out.push_back(child + ": added, " + Value(b.ChildAt(i)));
    } else if (i >= b.GetChildCount()) {
      out.push_back(child + ": removed");
    } else {
      Diff(a.ChildAt(i), b.ChildAt(i), child, out);
    }
  }
}

// Nodes an apply without edits rewrites because a page stores what it shows, for the values these
// units hold; any other change is a fault.
struct Rewrite {
  bool (*applies)(const VkcDevice& device, bool mcu);
  VkcNodePath node;
};
bool Has(const VkcDevice& d, int feature) { return d.HasFeature(*GlobalUnitImages(), feature); }
const Rewrite kRewrites[] = {
    // Behind an MCU the MCU does the routing: the Serial Interface page shows the unit's own
    // buffering as "Disable" and, on Bluetooth models, its ports as none, and stores them so (0).
    {[](const VkcDevice&, bool mcu) { return mcu; }, VkcNodes::kMaintenanceBuffering},
    {[](const VkcDevice& d, bool mcu) { return mcu && d.IsBluetoothModel(); }, VkcNodes::kActiveSourcePort},
    {[](const VkcDevice& d, bool mcu) { return mcu && d.IsBluetoothModel(); }, VkcNodes::kActiveDestPorts},
    // The transmit start delay (10) lies outside 20..1920: Advanced Wireless shows 20 and stores it.
    {[](const VkcDevice& d, bool) { return Has(d, 10); }, VkcNodes::kTxStartDelayCallSign},
    // The receive channel (4) is no channel number of the VK401Tc's map, and a unit whose channel
    // is entered by number has no transmit list: Wireless shows no transmit entry and stores -1.
    {[](const VkcDevice& d, bool) { return d.GetModelId() == 18 || Has(d, 14); }, VkcNodes::kRxChannel},
    // A unit shown in another receiver mode than the one it was identified in (the beacon unit in
    // L-band mode, the dual-mode L-band unit in beacon mode): its modulation was set for the other
    // mode, whose list does not offer it, so Wireless shows the first entry and stores it.
    {[](const VkcDevice& d, bool) { return &d != identifiedDevice; }, VkcNodes::kModulation},
    // Output 1 holds an event no button stands for (4): the Modem page selects event 0 and stores it.
    {[](const VkcDevice& d, bool) { return d.HasTransmitter() && d.HasAlarmOutputs(); }, VkcNodes::kAlarmOut1},
};

// The before images with the allowed rewrites taken from after, for the unit as it is now.
Snapshot Allowed(ModulinkStartup& program, Snapshot before, const Snapshot& after) {
  VkcSystem& unit = program.System();
  const VkcDevice* device = unit.GetCurrentDevice();
  if (device == nullptr || device->GetModelId() < 1) return before;
  const bool mcu = program.Devices().GetMCUController().IsPresent();
  for (const Rewrite& r : kRewrites) {
    if (!r.applies(*device, mcu)) continue;
    const CfgNode* from = &after.trees[static_cast<int>(r.node.image)].Root();
    CfgNode* to = &before.trees[static_cast<int>(r.node.image)].Root();
    bool found = true;
    for (int step : r.node.Steps()) {
      const size_t index = static_cast<size_t>(step == VkcNodePath::kOwnRow ? unit.GetOwnUnitIndex() : step);
      if (!(found = index < from->GetChildCount())) break;
      from = &from->ChildAt(index);
      to = &to->GetChildAt(static_cast<std::ptrdiff_t>(index));
    }
    if (found) *to = *from;
  }
  for (int i = 0; i < 4; ++i) before.images[i] = VkcConfigFile::Serialize(before.trees[i]);
  return before;
}

// Empty when nothing the unit would be sent changed; else what changed.
std::string Changes(const Snapshot& before, const Snapshot& after) {
  static const char* const kNames[] = {"DFCFG", "DDCFG", "CFGDN", "MCU"};
  std::vector<std::string> lines;
  for (int i = 0; i < 4; ++i) {
    if (before.images[i] == after.images[i]) continue;
    std::vector<std::string> nodes;
    Diff(before.trees[i].Root(), after.trees[i].Root(), kNames[i], nodes);
    if (nodes.empty()) nodes.push_back(std::string(kNames[i]) + ": archived bytes differ");
    lines.insert(lines.end(), nodes.begin(), nodes.end());
  }
  if (!(before.mcu == after.mcu)) lines.push_back("MCU settings record changed");
  if (before.bluetoothChanged != after.bluetoothChanged) lines.push_back("MCU Bluetooth-changed flag set");
  if (before.unitBluetoothChanged != after.unitBluetoothChanged) lines.push_back("unit Bluetooth-changed flag set");
  std::string text;
  for (const std::string& line : lines) text += "\n  " + line;
  return text;
}

// --- One typed edit per page ---

// What the unit must hold after an apply: the images, the MCU record and the change marks, with
// the device the pages showed.
struct Expected {
  VkcUnitImages unit;
  const VkcDevice& device;
  VkcMCUSettings mcu;
  bool mcuBluetoothChanged = false;
  bool unitBluetoothChanged = false;
};

std::array<uint8_t, UnitId::kSize> Id(const char* text) {
  UnitId id;
  id.Parse(std::string_view(text));
  return id.Bytes();
}

// How an edit is made: text typed into an edit that is then left; a box clicked; the entry
// picked whose index is the text; the row clicked that shows the unit's second channel. A button
// named in the row is clicked afterwards.
enum class Act { Type, Tick, Pick, Row };

// One edit made through a page's widget, and what the unit must hold afterwards (value: the data
// of the entry picked, or the frequency of the row clicked). The rows of one page are
// alternatives: the first whose control the page offers on the unit is that page's edit.
struct PageEdit {
  const char* page;
  int control;
  Act act;
  const char* text;
  int button;
  void (*holds)(Expected& e, long long value);
};

using W = VkcPPWirelessModel;
const PageEdit kEdits[] = {
    {"VkcPPIdentify", VkcPPIdentifyModel::kAddress, Act::Type, "0a1b2c3d4e5f", 0,
     [](Expected& e, long long) { e.unit.SetOwnUnitAddress(UnitId(Id("0A1B2C3D4E5F"))); }},
    {"VkcPPWireless", W::kChannelNumber, Act::Type, "20013", 0,
     [](Expected& e, long long) { e.unit.WriteInt(VkcNodes::kChannel, 20013); }},
    {"VkcPPWireless", W::kScrambling, Act::Tick, "", 0,  // the units' link id is on
     [](Expected& e, long long) { e.unit.WriteInt(VkcNodes::kScramblingId, 0); }},
    {"VkcPPWireless", W::kChannel, Act::Pick, "0", 0,
     [](Expected& e, long long channel) { e.device.SetChannel(e.unit, static_cast<int>(channel)); }},
    {"VkcPPAdvancedWireless", VkcPPAdvancedWirelessModel::kDelay, Act::Type, "400", 0,
     [](Expected& e, long long) { e.unit.WriteInt(VkcNodes::kTxStartDelayCallSign, 400); }},
    {"VkcPPAdvancedWireless", VkcPPAdvancedWirelessModel::kAntennaPower, Act::Tick, "", 0,  // on before
     [](Expected& e, long long) { e.unit.WriteInt(VkcNodes::kAntennaPower, 0); }},
    {"VkcPPSerial", VkcPPSerialModel::kFlow, Act::Pick, "0", 0,
     [](Expected& e, long long) { e.unit.WriteInt(VkcNodes::kDataPortFlow, 0); }},
    {"VkcPPSerial", VkcPPSerialModel::kRouting, Act::Pick, "0", 0,  // behind an MCU: the MCU's route
     [](Expected& e, long long) { e.mcu.SetRoute(0); }},
    {"VkcPPModem", VkcPPModemModel::kControlLine, Act::Tick, "", 0,  // on before
     [](Expected& e, long long) { e.unit.WriteInt(VkcNodes::kSleepWakeByControl, 0); }},
    {"VkcPPDealer", VkcPPDealerModel::kMap, Act::Row, "", VkcPPDealerModel::kRemove,
     [](Expected& e, long long hz) {
       std::vector<uint32_t> map;
       e.device.GetChannelFrequencies(e.unit, map);
       std::erase(map, static_cast<uint32_t>(hz));
       e.device.SetChannelFrequencies(e.unit, map);
     }},
    {"VkcPPBluetooth", VkcPPBluetoothModel::kName, Act::Type, "Rover7", 0,
     [](Expected& e, long long) {  // kept in the unit's image, where a change is marked; it is on
       e.unit.At(VkcNodes::kBtName).SetString("Rover7");
       e.unit.At(VkcNodes::kBtChangedMark).SetString("YES");
       e.unitBluetoothChanged = true;
     }},
    {"VkcPPGSMGPRS", VkcPPGSMGPRSModel::kApn, Act::Type, "apn.example", 0,
     [](Expected& e, long long) { e.unit.At(VkcNodes::kGsmApn).SetString("apn.example"); }},
    {"VkcPPRTNServices", VkcPPRTNServicesModel::kLogin, Act::Type, "rover7", 0,  // a TCP client
     [](Expected& e, long long) { e.unit.At(VkcNodes::kTcpClient, 2).SetString("rover7"); }},
    {"VkcPPRemoteList", VkcPPRemoteListModel::kRemote1, Act::Type, "010203040506", VkcPPRemoteListModel::kApply,
     [](Expected& e, long long) {  // all five rows are written, those past the list as no remote
       e.unit.At(VkcNodes::kRemoteList, 0).SetBytes(Id("010203040506").data(), UnitId::kSize);
       for (int row : {3, 4}) e.unit.At(VkcNodes::kRemoteList, row).SetBytes(UnitId().Bytes().data(), UnitId::kSize);
     }},
};

enum class Made { No, Yes, Fault };

// Makes the edit on the page's widgets: No where the page does not offer it on this unit.
Made Make(const PageEdit& edit, QWidget* page, VkcUnitImages& unit, long long& value) {
  QWidget* control = testsupport::Control<QWidget>(page, edit.control);
  if (control == nullptr || !control->isEnabled() || !control->isVisibleTo(page)) return Made::No;
  if (auto* line = qobject_cast<QLineEdit*>(control); line && edit.act == Act::Type) {
    line->setFocus();
    line->selectAll();
    QTest::keyClicks(line, QString::fromUtf8(edit.text));
    QFocusEvent leave(QEvent::FocusOut, Qt::TabFocusReason);
    QApplication::sendEvent(line, &leave);
  } else if (auto* box = qobject_cast<QCheckBox*>(control); box && edit.act == Act::Tick) {
    box->click();
  } else if (auto* list = qobject_cast<QComboBox*>(control); list && edit.act == Act::Pick) {
    const int entry = std::atoi(edit.text);
    if (entry >= list->count() || entry == list->currentIndex()) return Made::No;
    list->setCurrentIndex(entry);
    emit list->activated(entry);
    value = list->itemData(entry).toLongLong();
  } else if (auto* tree = qobject_cast<QTreeWidget*>(control); tree && edit.act == Act::Row) {
    std::vector<uint32_t> map;
    unit.GetCurrentDevice()->GetChannelFrequencies(unit, map);
    if (map.size() < 2) return Made::No;
    const auto rows = tree->findItems(QString::fromStdString(FormatHzWithCommas(map[1])), Qt::MatchExactly, 1);
    if (rows.size() != 1) return Made::Fault;  // the list does not show the unit's map
    tree->setCurrentItem(rows[0]);
    value = map[1];
  } else {
    return Made::No;
  }
  if (edit.button != 0) testsupport::Control<QPushButton>(page, edit.button)->click();
  return Made::Yes;
}

// The images before with the edits made, as they must be after.
void Expect(Snapshot& s, const VkcDevice& device, const std::vector<std::pair<const PageEdit*, long long>>& made) {
  Expected e{.unit = {}, .device = device, .mcu = s.mcu, .mcuBluetoothChanged = s.bluetoothChanged,
             .unitBluetoothChanged = s.unitBluetoothChanged};
  const VkcImage images[] = {VkcImage::Factory, VkcImage::Dealer, VkcImage::User, VkcImage::Mcu};
  for (int i = 0; i < 4; ++i) e.unit.Image(images[i]) = s.trees[i];
  for (const auto& [edit, value] : made) edit->holds(e, value);
  for (int i = 0; i < 4; ++i) {
    s.trees[i] = e.unit.Image(images[i]);
    s.images[i] = VkcConfigFile::Serialize(s.trees[i]);
  }
  s.mcu = e.mcu;
  s.bluetoothChanged = e.mcuBluetoothChanged;
  s.unitBluetoothChanged = e.unitBluetoothChanged;
}

// --- The program ---

// The program as its start-up builds it, with every page attached, shown without its modal loop.
struct Program {
  testsupport::ConfigHome home;
  ModulinkStartup startup{home.dir.File("settings.vkc")};
  std::unique_ptr<ModulinkDlg> dialog;
  std::vector<std::string> messages;

  Program() {
    startup.App().SetMessageBoxFunction([this](const std::u16string& text, unsigned flags) {
      messages.push_back(Utf16ToUtf8(text));
      return (flags & 0xF) == 4 ? 7 : 1;  // No to every question, OK otherwise
    });
    startup.Start();
    dialog = std::make_unique<ModulinkDlg>(startup.Tabs(), startup.Unit());
    AttachPages(*dialog, startup.App(), startup.Devices());
    dialog->show();
    dialog->OnInitDialog();
  }
  ~Program() { dialog.reset(); }

  // The pages in the dialog's page frame, in the order they were attached.
  std::vector<VkcModulinkDlg*> Pages() const {
    std::vector<VkcModulinkDlg*> pages;
    auto* frame = dialog->findChild<QStackedWidget*>(QStringLiteral("ctl1012"));
    if (frame == nullptr) return pages;
    for (QObject* child : frame->children())
      if (auto* page = qobject_cast<VkcModulinkDlg*>(child)) pages.push_back(page);
    return pages;
  }
  static std::string Name(const VkcModulinkDlg* page) { return page->metaObject()->className(); }
};

class ProgramPages : public ::testing::Test {
 protected:
  Program program;

  // What changed since before that no page rule allows (empty when nothing did).
  std::string Unexpected(const Snapshot& before) {
    const Snapshot after = Take(program.startup);
    return Changes(Allowed(program.startup, before, after), after);
  }

  // Each page applied alone after prepare set the unit up and the program refreshed all pages:
  // every page that changes what the unit would be sent is named with the nodes it changed.
  std::string PagesThatWrite(const std::function<void()>& prepare) {
    std::string faults;
    for (VkcModulinkDlg* page : program.Pages()) {
      prepare();
      Snapshot before = Take(program.startup);
      page->RefreshPage();
      if (const std::string changes = Changes(before, Take(program.startup)); !changes.empty())
        faults += "\n" + Program::Name(page) + " wrote on refresh:" + changes;
      program.dialog->RefreshAllPages();
      before = Take(program.startup);
      const size_t shown = program.messages.size();
      const bool applied = page->ApplyPage();
      const std::string changes = Unexpected(before);
      if (!applied) faults += "\n" + Program::Name(page) + " refused its own values";
      for (size_t i = shown; i < program.messages.size(); ++i)
        faults += "\n" + Program::Name(page) + " said \"" + program.messages[i] + "\"";
      if (!changes.empty()) faults += "\n" + Program::Name(page) + " wrote:" + changes;
    }
    return faults;
  }
};

class AllPages : public ProgramPages, public ::testing::WithParamInterface<UnitCase> {
 protected:
  using Edits = std::vector<std::pair<const PageEdit*, long long>>;

  // Reached through the interface that offers the unit's own address.
  void OfferTheAddressAndRefresh() {
    program.startup.App().Setting(ModulinkApp::kSerialSection, ModulinkApp::kInterfaceKey)
        .SetInt(VkcPPIdentifyModel::kAddressInterface);
    program.dialog->RefreshAllPages();
  }

  // Each page shown in turn and its first edit the unit offers made on its widgets.
  Edits MakeEveryPagesEdit(std::string& faults) {
    VkcSystem& unit = program.startup.System();
    auto* frame = program.dialog->findChild<QStackedWidget*>(QStringLiteral("ctl1012"));
    Edits made;
    for (VkcModulinkDlg* page : program.Pages()) {
      frame->setCurrentWidget(page);
      for (const PageEdit& edit : kEdits) {
        long long value = 0;
        const Made outcome = Program::Name(page) == edit.page ? Make(edit, page, unit, value) : Made::No;
        if (outcome == Made::Fault) faults += "\n" + Program::Name(page) + " does not show the unit's channel map";
        if (outcome == Made::Yes) made.emplace_back(&edit, value);
        if (outcome != Made::No) break;
      }
    }
    return made;
  }

  // Every message the program showed, one line each.
  std::string Said() {
    std::string said;
    for (const std::string& message : program.messages) said += "\nsaid \"" + message + "\"";
    program.messages.clear();
    return said;
  }

  // What the images hold beyond before with the edits made and the pages' rewrites; empty when
  // that is all that changed.
  std::string ExpectedChanges(const Snapshot& before, const Edits& made) {
    const Snapshot after = Take(program.startup);
    Snapshot expected = Allowed(program.startup, before, after);
    Expect(expected, *program.startup.System().GetCurrentDevice(), made);
    return Changes(expected, after);
  }
};

TEST_F(ProgramPages, TheDialogCarriesItsPages) {
  // Guards the discovery below: the pages are found, and one of them is the Connection page.
  const std::vector<VkcModulinkDlg*> pages = program.Pages();
  ASSERT_GE(pages.size(), 2u);
  EXPECT_TRUE(std::any_of(pages.begin(), pages.end(), [](auto* p) { return Program::Name(p) == "VkcPPConnection"; }));
}

TEST_P(AllPages, AnApplyAfterARefreshSendsTheImagesBackUnchanged) {
  Identify(program.startup, GetParam(), 0);
  const Snapshot before = Take(program.startup);
  program.dialog->RefreshAllPages();
  EXPECT_TRUE(program.dialog->ApplyAllPages());
  EXPECT_EQ(Unexpected(before), "");
  EXPECT_EQ(PagesThatWrite([&] { Identify(program.startup, GetParam(), 0); }), "");
}

TEST_P(AllPages, NoValueOfTheUnitShownBeforeReachesTheNextUnit) {
  for (const UnitCase& previous : kUnits) {
    SCOPED_TRACE(std::string("after ") + previous.family);
    Identify(program.startup, previous, 1);
    program.dialog->RefreshAllPages();

    Identify(program.startup, GetParam(), 0);
    const Snapshot before = Take(program.startup);
    program.dialog->RefreshAllPages();
    EXPECT_TRUE(program.dialog->ApplyAllPages());
    EXPECT_EQ(Unexpected(before), "");
  }
}

// Another unit of the same model (another serial number) connected with no refresh since the
// first was shown: no page's apply writes anything, whatever its device object.
TEST_P(AllPages, AnotherUnitOfTheModelNotYetShownGetsNothing) {
  std::string faults;
  for (VkcModulinkDlg* page : program.Pages()) {
    Identify(program.startup, GetParam(), 1);
    program.dialog->RefreshAllPages();
    Identify(program.startup, GetParam(), 0);
    const Snapshot before = Take(program.startup);
    page->ApplyPage();
    if (const std::string changes = Changes(before, Take(program.startup)); !changes.empty())
      faults += "\n" + Program::Name(page) + " wrote:" + changes;
  }
  EXPECT_EQ(faults, "");
}

// After another unit was shown, one edit typed on every page that offers one, then all pages
// applied: each edit arrives in the images, and nothing else changes beyond the pages' rewrites.
TEST_P(AllPages, EveryPagesEditArrivesAndNothingElseChanges) {
  Identify(program.startup, kUnits[0], 1);
  program.dialog->RefreshAllPages();
  Identify(program.startup, GetParam(), 0);
  const Snapshot before = Take(program.startup);
  OfferTheAddressAndRefresh();
  std::string faults;
  const Edits made = MakeEveryPagesEdit(faults);
  EXPECT_TRUE(program.dialog->ApplyAllPages());
  EXPECT_EQ(faults + Said() + ExpectedChanges(before, made), "");
}

// A factory file loaded while the pages show the unit (its own row is row 0) leaves the pages
// filled for it: an edit typed before the load and one typed after it both arrive, where the
// own-row rule puts them after the load.
TEST_P(AllPages, EditsTypedBeforeOrAfterAFactoryFileLoadArrive) {
  struct Case {
    const char* file;
    bool zeroSerial;   // the file's serial number is zero bytes, else another unit's
    bool typedBefore;  // the edits are typed before the load, else after it
  };
  const Case cases[] = {{"another unit's, edits before", false, true},
                        {"another unit's, edits after", false, false},
                        {"no serial number, edits before", true, true},
                        {"no serial number, edits after", true, false}};
  VkcSystem& unit = program.startup.System();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.file);
    Identify(program.startup, GetParam(), 0);
    CfgNode& table = unit.User().GetChild(1);
    table.GetChildAt(0) = table.ChildAt(1);
    ASSERT_EQ(unit.GetOwnUnitIndex(), 0);
    OfferTheAddressAndRefresh();

    VkcConfiguration file(unit.Factory());
    CfgNode& serial = file.Root().GetChildAt(0).GetChildAt(0);
    const uint8_t other[6] = {0x77, 0x66, 0x55, 0x44, 0x33, 0x22};
    serial.SetBytes(other, c.zeroSerial ? 0 : sizeof other);
    file.Root().GetChildAt(0).GetChildAt(2).SetString("Made on another unit");
    std::string faults;
    Edits made;
    if (c.typedBefore) made = MakeEveryPagesEdit(faults);
    std::string message;
    ASSERT_EQ(VkcConfigFile::Apply(file, true, unit, program.startup.Devices(), message),
              VkcConfigFile::Loaded::kFactory) << message;
    ASSERT_EQ(unit.GetOwnUnitIndex(), 0);
    const Snapshot before = Take(program.startup);
    if (!c.typedBefore) made = MakeEveryPagesEdit(faults);
    ASSERT_FALSE(made.empty());
    EXPECT_TRUE(program.dialog->ApplyAllPages());
    EXPECT_EQ(faults + Said() + ExpectedChanges(before, made), "");
  }
}

INSTANTIATE_TEST_SUITE_P(Models, AllPages, ::testing::ValuesIn(kUnits), [](const auto& info) {
  std::string name = info.param.family;
  std::replace_if(name.begin(), name.end(), [](char ch) { return !std::isalnum(static_cast<unsigned char>(ch)); }, '_');
  return name;
});

// Without a unit, and with a unit still in its start-up code, after a real unit was shown:
// refreshing and applying every page writes no node.
TEST_F(ProgramPages, WithoutAUnitNothingIsWritten) {
  for (const int model : {0 /*no unit*/, -1 /*start-up code*/}) {
    SCOPED_TRACE(model);
    const auto leaveTheUnit = [&] {
      Identify(program.startup, kUnits[4], 1);
      program.dialog->RefreshAllPages();
      VkcSystem& unit = program.startup.System();
      unit.Reset();
      unit.SetCurrentDevice(model == 0 ? nullptr : program.startup.Devices().GetDevice(model));
    };
    leaveTheUnit();
    const Snapshot before = Take(program.startup);
    program.dialog->RefreshAllPages();
    program.dialog->ApplyAllPages();
    EXPECT_EQ(Unexpected(before), "");
    EXPECT_EQ(PagesThatWrite(leaveTheUnit), "");
  }
}

}  // namespace
