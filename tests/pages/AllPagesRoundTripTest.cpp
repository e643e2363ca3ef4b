// Every page the program's main dialog carries, refreshed and applied on units of several model
// families: an apply that follows a refresh sends back exactly the images the unit gave, one
// unit's values never reach another unit's images, and without a unit nothing is written. The
// pages are found in the dialog, so a page registered later is covered without a change here.

#include <QStackedWidget>

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <clocale>
#include <cstdlib>
#include <functional>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "app/ModulinkDlg.h"
#include "app/ModulinkStartup.h"
#include "app/PageTitles.h"
#include "app/VkcModulinkDlg.h"
#include "devices/VkcDevice.h"
#include "devices/VkcUnitImages.h"
#include "link/Utf.h"
#include "pages/ModulinkPages.h"
#include "support/TestSupport.h"
#include "support/PageWidgets.h"
#include "unit/VkcConfigFile.h"

namespace {

// --- The units ---

struct UnitCase {
  const char* family;
  int model;
  bool mcu;  // the unit has the management processor between its ports
};
void PrintTo(const UnitCase& c, std::ostream* os) { *os << c.family; }

const UnitCase kUnits[] = {
    {"VK400", 4, false},       {"VK400Tx", 6, false},     {"VK400Rx", 2, false},   {"VK400BT", 48, true},
    {"VK400BT_GSM", 49, true}, {"ONX404BT_GSM", 47, true}, {"L-Band", 36, false},  {"Beacon", 3601, false},
    {"VK435", 3, false},       {"VK401Tc", 18, false},
};

std::string Text(const char* stem, int seed) { return stem + std::to_string(seed); }

void Bytes(CfgNode& node, uint8_t first, int seed) {
  const uint8_t b[6] = {first, 0x34, 0x56, 0x78, static_cast<uint8_t>(0x9A + seed), static_cast<uint8_t>(0xB0 + seed)};
  node.SetBytes(b, sizeof b);
}

// Identification's outcome for a unit of the model: versions, the current device and its images
// with the node types the unit keeps, every value shifted by seed so two units differ everywhere.
void Identify(ModulinkStartup& program, const UnitCase& c, int seed) {
  VkcSystem& unit = program.System();
  VkcMCUController& mcu = program.Devices().GetMCUController();
  unit.Reset();
  const VkcDevice* device = program.Devices().GetDevice(c.model);
  ASSERT_NE(device, nullptr) << c.family;
  unit.SetCurrentDevice(device);
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
  device->GetModulationsForProtocol(protocol, offered);
  for (int i = 0; i < 3; ++i) row.GetChildAt(2).GetChildAt(i).SetInt(static_cast<uint32_t>(1 + (i + seed) % 2));
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
  radio.GetChildAt(0).SetInt(static_cast<uint32_t>(3 + seed));
  for (int i : {1, 2, 14, 16}) radio.GetChildAt(i).SetInt(0);
  radio.GetChildAt(3).SetInt(1);
  radio.GetChildAt(5).SetInt(static_cast<uint32_t>(12 + seed));
  radio.GetChildAt(6).SetInt(static_cast<uint32_t>(offered.empty() ? 1 : offered[static_cast<size_t>(seed) % offered.size()]));
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

  // Channel map and spacing where this model keeps them, as the model's own operations write them.
  std::vector<uint32_t> channels;
  const uint32_t low = device->GetBandFrequency(0), high = device->GetBandFrequency(2);
  for (uint32_t i = 0; i < 8; ++i) {
    const uint32_t hz = low + (high > low ? (high - low) / 16 : 12500u) * (i + static_cast<uint32_t>(seed));
    channels.push_back(hz - hz % 6250);
  }
  device->SetChannelFrequencies(unit, channels);
  device->SetChannelSpacingIndex(unit, 1 + seed);

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

std::string Value(const CfgNode& n) {
  std::ostringstream out;
  out << "type " << n.GetType() << ", " << n.GetInt();
  if (!n.GetString().empty()) out << ", \"" << n.GetString() << "\"";
  if (!n.GetWString().empty()) out << ", u\"" << Utf16ToUtf8(n.GetWString()) << "\"";
  if (!n.GetByteVector().empty()) out << ", " << n.GetByteVector().size() << " bytes";
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

// Nodes an apply without edits may rewrite because the page's own rules say so; any other
// change is a fault. With an MCU the Serial Interface page shows no source, destination or
// buffering and writes them as 0 on Bluetooth models, and on GSM models writes the MCU route
// list's index + 1 as the unit's routing type.
struct Rewrite {
  bool (*applies)(const VkcDevice& device, bool mcu);
  VkcNodePath node;
};
const Rewrite kRewrites[] = {
    {[](const VkcDevice& d, bool mcu) { return mcu && d.IsBluetoothModel(); }, VkcNodes::kActiveSourcePort},
    {[](const VkcDevice& d, bool mcu) { return mcu && d.IsBluetoothModel(); }, VkcNodes::kActiveDestPorts},
    {[](const VkcDevice&, bool mcu) { return mcu; }, VkcNodes::kMaintenanceBuffering},
    {[](const VkcDevice& d, bool mcu) { return mcu && d.IsGsmModel(); }, VkcNodes::kRoutingType},
    // The images' transmit start delay (10) lies outside 20..1920: shown as 20 and stored as shown.
    {[](const VkcDevice& d, bool) { return d.HasFeature(*GlobalUnitImages(), 10); }, VkcNodes::kTxStartDelayCallSign},
    // An L-band receiver (in either mode) offers only its own modulation, not the images' 1: the
    // first entry shows and is stored.
    {[](const VkcDevice& d, bool) { return d.GetModelId() == 36; }, VkcNodes::kModulation},
    // The images' receive channel (4) is no number of the channel map on VK401Tc, nor on the beacon
    // unit's map as its L-band mode numbers it: no transmit entry shows, so -1 is stored.
    {[](const VkcDevice& d, bool) { return d.GetModelId() == 36 || d.GetModelId() == 18; }, VkcNodes::kRxChannel},
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

// --- The program ---

// The program as its start-up builds it, with every page attached, shown without its modal loop.
struct Program {
  testsupport::ConfigHome home;
  ModulinkStartup startup{home.dir.File("settings.vkc")};
  std::unique_ptr<ModulinkDlg> dialog;
  std::vector<std::string> messages;

  Program() {
    std::setlocale(LC_NUMERIC, "C");
    startup.App().SetMessageBoxFunction([this](const std::u16string& text, unsigned flags) {
      messages.push_back(Utf16ToUtf8(text));
      return (flags & 0xF) == 4 ? 7 : 1;  // No to every question, OK otherwise
    });
    startup.App().InitInstance();
    startup.Devices().RegisterPrototypes();
    startup.Tabs().Init();
    startup.Tabs().SelectGroup(titles::kPreferences);
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

class AllPages : public ProgramPages, public ::testing::WithParamInterface<UnitCase> {};

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
