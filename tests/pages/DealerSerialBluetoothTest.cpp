// The Dealer Configuration, Serial Interface and Bluetooth page models on real model classes and
// images: their checks, messages and gates, and what apply writes.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/PageText.h"
#include "devices/VkcDevice.h"
#include "devices/VkcDeviceVK400.h"
#include "devices/VkcImageNodes.h"
#include "devices/VkcMCUController.h"
#include "link/Utf.h"
#include "link/VkcErrorProcessor.h"
#include "pages/VkcPPBluetoothModel.h"
#include "pages/VkcPPDealerModel.h"
#include "pages/VkcPPSerialModel.h"
#include "support/FakePageHost.h"
#include "support/TestSupport.h"
#include "unit/VkcConfigFile.h"

namespace {

using testsupport::FakePageHost;

// A unit of the model id with its factory band presets, dealer channel map and own unit row.
void Identify(FakePageHost& host, int model, std::vector<uint32_t> channels = {}) {
  VkcSystem& unit = host.System();
  unit.Reset();
  const VkcDevice* device = host.DeviceManager().GetDevice(model);
  ASSERT_NE(device, nullptr);
  unit.SetCurrentDevice(device);
  const uint8_t serial[6] = {1, 2, 3, 4, 5, 6};
  unit.Factory().GetChild(0).GetChildAt(0).SetBytes(serial, 6);
  for (int i = 0; i < 3; ++i) unit.Factory().GetChild(4).GetChildAt(i).SetInt(430000000u + 5000000u * static_cast<uint32_t>(i));
  unit.User().GetChild(1).GetChildAt(0).SetBytes(serial, 6);
  unit.Dealer().GetChild(0).SetInt(static_cast<uint32_t>(model));
  if (!channels.empty()) device->SetChannelFrequencies(unit, channels);
}

template <class Model>
struct Page {
  FakePageHost host;
  Model model;
  Page() { model.SetHost(&host); }
  PageControls& c() { return model.Controls(); }
};

TEST(DealerPage, ChannelMapChecksInTheirOrder) {
  Page<VkcPPDealerModel> p;
  Identify(p.host, 4, {431000000, 432000000});
  p.model.Refresh();
  using M = VkcPPDealerModel;
  EXPECT_EQ(p.c()[M::kMap].RowCount(), 2);
  EXPECT_EQ(p.c()[M::kMap].rows->at(1).cells[1], u"432,000,000");
  struct Step {
    const char16_t* text;
    int button;
    int select;
    const char* message;  // "" none
    size_t rows;
  } steps[] = {
      {u"420000000", M::kAdd, -1, "Invalid Frequency", 2},
      {u"abc", M::kAdd, -1, "Invalid Frequency", 2},
      {u"431000000", M::kAdd, -1, "Channel already exist", 2},
      {u"433000000", M::kAdd, -1, "", 3},
      {u"431000000", M::kChange, 0, "", 3},  // a row may keep its own frequency
      {u"432000000", M::kChange, 0, "Channel already exist", 3},
      {u"434000000", M::kChange, 1, "", 3},
  };
  for (const Step& s : steps) {
    p.host.messages.clear();
    if (s.select >= 0) p.c().Select(M::kMap, s.select);
    p.c().SetText(M::kFrequency, s.text);
    p.model.Handle(s.button, ControlEvent::Clicked);
    EXPECT_EQ(p.host.LastMessage(), s.message) << std::string(s.text, s.text + 9);
    EXPECT_EQ(p.model.Map().size(), s.rows);
  }
  EXPECT_EQ(p.model.Map(), (std::vector<uint32_t>{431000000, 434000000, 433000000}));
  EXPECT_EQ(p.c().Selection(M::kMap), 1);

  p.model.Handle(M::kUp, ControlEvent::Clicked);
  EXPECT_EQ(p.model.Map()[0], 434000000u);
  EXPECT_EQ(p.c().Selection(M::kMap), 0);
  p.model.Handle(M::kUp, ControlEvent::Clicked);  // first row: nothing
  EXPECT_EQ(p.model.Map()[0], 434000000u);
  p.c().Select(M::kMap, 2);
  p.model.Handle(M::kRemove, ControlEvent::Clicked);
  EXPECT_EQ(p.c().Selection(M::kMap), 1) << "the new last row";

  // 32 rows: the 33rd is refused after the range and duplicate checks.
  for (int i = 0; i < 40 && p.model.Map().size() < 32; ++i) {
    p.c().SetText(M::kFrequency, Utf8ToUtf16(std::to_string(435000000 + 12500 * i)));
    p.model.Handle(M::kAdd, ControlEvent::Clicked);
  }
  ASSERT_EQ(p.model.Map().size(), 32u);
  p.c().SetText(M::kFrequency, u"434000000");
  p.model.Handle(M::kAdd, ControlEvent::Clicked);
  EXPECT_EQ(p.host.LastMessage(), "Channel already exist");
  p.c().SetText(M::kFrequency, u"439000000");
  p.model.Handle(M::kAdd, ControlEvent::Clicked);
  EXPECT_EQ(p.host.LastMessage(), "Channel map can not contain more than 32 channels");
  ASSERT_TRUE(p.model.Apply());
  std::vector<uint32_t> stored;
  p.host.System().GetCurrentDevice()->GetChannelFrequencies(p.host.System(), stored);
  EXPECT_EQ(stored, p.model.Map());
}

TEST(DealerPage, PowerSpacingAndWhatApplyWritesPerUnit) {
  Page<VkcPPDealerModel> p;
  using M = VkcPPDealerModel;
  Identify(p.host, 4, {431000000});
  p.host.System().Dealer().GetChild(3).SetInt(40);  // above the device's maximum
  p.model.Refresh();
  EXPECT_EQ(p.c().Text(M::kPower), u"33");
  EXPECT_EQ(p.c().Text(M::kMinLabel), u"13");
  p.host.System().Dealer().GetChild(3).SetInt(5);  // below the minimum: left alone
  p.model.Refresh();
  EXPECT_EQ(p.c().Text(M::kPower), u"5");
  ASSERT_GT(p.c()[M::kSpacing].ItemCount(), 0);
  ASSERT_TRUE(p.model.Apply());
  EXPECT_EQ(p.host.System().ReadInt(VkcNodes::kDealerMaxPower), 5);
  p.c().Select(M::kSpacing, -1);
  EXPECT_FALSE(p.model.Apply()) << "no spacing chosen: the device refuses";

  // A stored spacing the device does not offer shows the first entry, and apply stores that one.
  p.host.System().WriteInt(VkcNodes::kDealerSpacing, 7);
  p.model.Refresh();
  EXPECT_EQ(p.c().Selection(M::kSpacing), 0);
  ASSERT_TRUE(p.model.Apply());
  EXPECT_EQ(p.host.System().GetCurrentDevice()->GetChannelSpacingHz(p.host.System()),
            static_cast<int>(p.c()[M::kSpacing].itemData[0]));

  // A receiver has no transmitter: its dealer maximum is never written by the page.
  Identify(p.host, 2, {431000000});
  p.host.System().Dealer().GetChild(3).SetInt(27);
  p.model.Refresh();
  EXPECT_FALSE(p.c().Get(M::kPower).enabled);
  p.c().SetText(M::kPower, u"13");
  p.model.Apply();
  EXPECT_EQ(p.host.System().ReadInt(VkcNodes::kDealerMaxPower), 27);

  // Without a unit nothing is enabled and apply accepts.
  p.host.System().Reset();
  p.model.Refresh();
  EXPECT_FALSE(p.c().Get(M::kAdd).enabled);
  EXPECT_TRUE(p.model.Apply());
}

// The limit a refresh read is shown in either unit and stored back as read until the user changes
// the power; the VK400's range is 13-33 dBm, 20-2000 mW.
TEST(DealerPage, AnUntouchedPowerLimitIsStoredAsReadInEitherUnit) {
  using M = VkcPPDealerModel;
  enum Step { MwBefore, MwAfter, MwAndBack, EditLeft, Typed25 };
  const struct {
    int dbm;
    Step step;
    const char16_t* shown;
    int stored;
  } rows[] = {
      {0, MwBefore, u"-1", 0},  {5, MwBefore, u"-1", 5},  {0, MwAfter, u"-1", 0},
      {5, MwAfter, u"-1", 5},   {0, MwAndBack, u"0", 0},  {5, MwAndBack, u"5", 5},
      {50, MwBefore, u"2000", 33}, {0, EditLeft, u"20", 13}, {0, Typed25, u"25", 14},
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(std::to_string(r.dbm) + " dBm, step " + std::to_string(r.step));
    Page<VkcPPDealerModel> p;
    Identify(p.host, 4, {431000000});
    p.host.System().Dealer().GetChild(3).SetInt(r.dbm);
    auto chooseUnit = [&](int unit) {
      p.c().Select(M::kUnit, unit);
      p.model.Handle(M::kUnit, ControlEvent::SelectionChanged);
    };
    if (r.step == MwBefore) chooseUnit(1);
    p.model.Refresh();
    if (r.step != MwBefore) chooseUnit(1);
    if (r.step == MwAndBack) chooseUnit(0);
    if (r.step == Typed25) {
      p.c().SetText(M::kPower, u"25");
      p.model.Handle(M::kPower, ControlEvent::TextEdited);
    }
    if (r.step == EditLeft || r.step == Typed25) p.model.Handle(M::kPower, ControlEvent::FocusLost);
    EXPECT_EQ(p.c().Text(M::kPower), r.shown);
    ASSERT_TRUE(p.model.Apply());
    EXPECT_EQ(p.host.System().ReadInt(VkcNodes::kDealerMaxPower), r.stored);
  }
}

// A device whose map store fails, as a unit model that cannot take a channel list would.
struct RefusingDevice : VkcDeviceVK400 {
  bool SetChannelFrequencies(VkcUnitImages&, const std::vector<uint32_t>&) const override { return false; }
};

TEST(DealerPage, ImportTakesTheMapOfAFileOfAnyModelWithinTheUnitsBand) {
  Page<VkcPPDealerModel> p;
  using M = VkcPPDealerModel;
  testsupport::TempDir dir;
  // The unit's band is 430..440 MHz (Identify's presets); the two outer channels lie outside it.
  Identify(p.host, 4, {420000000, 431000000, 432000000, 445000000});
  ASSERT_TRUE([&] {
    std::string message;
    return VkcConfigFile::Save(dir.File("vk400.VKN"), p.host.System(), p.host.DeviceManager().GetMCUController(), message);
  }());
  std::u16string chosen;
  p.model.SetImportChooser([&](const std::u16string&) { return chosen; });
  chosen = Utf8ToUtf16(dir.File("vk400.VKN"));
  const auto stored = [&] {
    std::vector<uint32_t> list;
    p.host.System().GetCurrentDevice()->GetChannelFrequencies(p.host.System(), list);
    return list;
  };

  // The same model, and another one that keeps its map as raster channel numbers.
  for (int model : {4, 22}) {
    Identify(p.host, model, {440000000});
    p.model.Refresh();
    ErrorLog().Clear();
    const int refreshes = p.host.refreshAll;
    p.model.Handle(M::kImport, ControlEvent::Clicked);
    EXPECT_EQ(stored(), (std::vector<uint32_t>{431000000, 432000000})) << model;
    EXPECT_EQ(p.host.refreshAll, refreshes + 1);
    EXPECT_TRUE(p.host.messages.empty()) << p.host.LastMessage();
    const std::u16string log = ErrorLog().GetText();
    EXPECT_EQ(ErrorLog().Count(), 2u) << Utf16ToUtf8(log);
    EXPECT_NE(log.find(u"420,000,000"), std::u16string::npos) << Utf16ToUtf8(log);
    EXPECT_NE(log.find(u"445,000,000"), std::u16string::npos) << Utf16ToUtf8(log);
  }
  EXPECT_EQ(p.host.App().Setting("Profile", "File Name").GetWString(), chosen);

  // A store that fails is reported, and the pages still show what the unit holds.
  RefusingDevice refusing;
  p.host.System().SetCurrentDevice(&refusing);
  const int refreshes = p.host.refreshAll;
  p.model.Handle(M::kImport, ControlEvent::Clicked);
  EXPECT_EQ(p.host.LastMessage(), "Can not import channel map; internal error.");
  EXPECT_EQ(p.host.refreshAll, refreshes + 1);
  p.host.System().SetCurrentDevice(nullptr);

  // A map longer than the unit's 32 channels: the first 32 come in, the log names each one left out.
  std::vector<uint32_t> many;
  for (uint32_t i = 0; i < 34; ++i) many.push_back(430100000 + 25000 * i);
  Identify(p.host, 4, many);
  ASSERT_TRUE([&] {
    std::string message;
    return VkcConfigFile::Save(dir.File("long.VKN"), p.host.System(), p.host.DeviceManager().GetMCUController(), message);
  }());
  Identify(p.host, 4, {440000000});
  p.model.Refresh();
  ErrorLog().Clear();
  chosen = Utf8ToUtf16(dir.File("long.VKN"));
  p.model.Handle(M::kImport, ControlEvent::Clicked);
  EXPECT_EQ(stored(), std::vector<uint32_t>(many.begin(), many.begin() + 32));
  const std::u16string log = ErrorLog().GetText();
  EXPECT_EQ(ErrorLog().Count(), 2u) << Utf16ToUtf8(log);
  for (const char16_t* left : {u"430,900,000", u"430,925,000"})
    EXPECT_NE(log.find(left), std::u16string::npos) << Utf16ToUtf8(log);

  Identify(p.host, 4, {440000000});
  const size_t before = p.host.messages.size();
  chosen = Utf8ToUtf16(dir.File("missing.VKN"));  // a file that cannot be read: silent
  p.model.Handle(M::kImport, ControlEvent::Clicked);
  EXPECT_EQ(p.host.messages.size(), before);
  EXPECT_EQ(stored(), std::vector<uint32_t>{440000000});
  ErrorLog().Clear();
}

// The list always shows the map its buttons edit, whichever unit came before.
TEST(DealerPage, TheListShowsTheMapOfTheUnitShown) {
  Page<VkcPPDealerModel> p;
  using M = VkcPPDealerModel;
  const struct {
    int model;
    std::vector<uint32_t> map;
  } units[] = {
      {4, {431000000, 432000000}},
      {32, {110000000, 112000000, 114000000}},  // channels entered by number
      {32, {116000000, 118000000}},
  };
  for (const auto& u : units) {
    Identify(p.host, u.model, u.map);
    p.model.Refresh();
    ASSERT_EQ(p.c()[M::kMap].RowCount(), static_cast<int>(u.map.size())) << u.model;
    for (size_t i = 0; i < u.map.size(); ++i)
      EXPECT_EQ(p.c()[M::kMap].rows->at(i).cells[1], Utf8ToUtf16(FormatHzWithCommas(u.map[i])));
  }
  // Removing the first row shown removes that channel.
  p.c().Select(M::kMap, 0);
  p.model.Handle(M::kRemove, ControlEvent::Clicked);
  ASSERT_TRUE(p.model.Apply());
  std::vector<uint32_t> stored;
  p.host.System().GetCurrentDevice()->GetChannelFrequencies(p.host.System(), stored);
  EXPECT_EQ(stored, std::vector<uint32_t>{118000000});
}

TEST(SerialPage, RatesFlowRoutingAndTheMcuRecord) {
  Page<VkcPPSerialModel> p;
  using M = VkcPPSerialModel;
  const auto R = kVkcR;
  Identify(p.host, 48);  // Bluetooth model: routing lists
  VkcSystem& u = p.host.System();
  u.WriteInt(VkcNodes::kMaintenancePortRate, 9);
  u.WriteInt(VkcNodes::kDataPortRate, 4);
  u.WriteInt(VkcNodes::kDataPortFlow, 2);
  u.WriteInt(VkcNodes::kActiveDestPorts, 2);
  u.WriteInt(VkcNodes::kActiveSourcePort, 7);
  p.host.App().Setting("Serial Interface", "Interface").SetInt(1);
  p.model.Refresh();
  EXPECT_EQ(p.c()[M::kDataRate].SelectedItem(), u"115200");
  EXPECT_EQ(p.c().Selection(M::kMaintenanceRate), p.c().Selection(M::kDataRate));
  EXPECT_EQ(p.c().Selection(M::kFlow), 1);
  EXPECT_EQ(p.c()[M::kDestination].SelectedItem(), u"UART & Bluetooth");
  EXPECT_EQ(p.c().Selection(M::kSource), -1) << "an index past the list shows none";
  p.c().Select(M::kMaintenanceRate, 3);
  p.model.Handle(M::kMaintenanceRate, ControlEvent::SelectionChanged);
  EXPECT_EQ(p.c().Selection(M::kDataRate), 3);
  p.c().Select(M::kFlow, 0);
  ASSERT_TRUE(p.model.Apply());
  const int code = static_cast<int>(p.c()[M::kDataRate].itemData[3]);
  EXPECT_EQ(u.ReadInt(VkcNodes::kMaintenancePortRate), code);
  EXPECT_EQ(u.ReadInt(VkcNodes::kDataPortRate), code);
  EXPECT_EQ(u.ReadInt(VkcNodes::kDataPortFlow), 0);
  EXPECT_EQ(u.ReadInt(VkcNodes::kActiveSourcePort), 0) << "none selected counts as 0";
  EXPECT_EQ(u.ReadInt(VkcPath(kVkcU, 1, R, 3, 2)), 0);

  // A stored code that names no rate shows none, and apply leaves it (never the first rate, 1200).
  u.WriteInt(VkcNodes::kMaintenancePortRate, 0);
  u.WriteInt(VkcNodes::kDataPortRate, 0);
  p.model.Refresh();
  EXPECT_EQ(p.c().Selection(M::kDataRate), -1);
  ASSERT_TRUE(p.model.Apply());
  EXPECT_EQ(u.ReadInt(VkcNodes::kMaintenancePortRate), 0);
  EXPECT_EQ(u.ReadInt(VkcNodes::kDataPortRate), 0);

  // Through a GNSS receiver the rate lists are disabled, yet apply writes the shown rate.
  p.host.App().Setting("Serial Interface", "Interface").SetInt(6);
  p.model.Refresh();
  EXPECT_FALSE(p.c().Get(M::kDataRate).enabled);

  // Behind an MCU without a serial port: no rate on offer, the rate nodes keep their value.
  VkcMCUController& mcu = p.host.DeviceManager().GetMCUController();
  mcu.Settings().SetRouteCode(VkcMCUSettings::kRouteUsb);
  mcu.Settings().SetHasSerialPort(false);
  Identify(p.host, 4);
  u.WriteInt(VkcNodes::kMaintenancePortRate, 8);
  p.model.Refresh();
  EXPECT_EQ(p.c()[M::kDataRate].ItemCount(), 0);
  EXPECT_TRUE(p.c().Get(M::kRouting).visible);
  EXPECT_EQ(p.c()[M::kRouting].ItemCount(), 2) << "no \"Modem to UART\" without a serial port";
  p.c().Select(M::kRouting, 1);
  ASSERT_TRUE(p.model.Apply());
  EXPECT_EQ(u.ReadInt(VkcNodes::kMaintenancePortRate), 8);
  EXPECT_EQ(mcu.Settings().GetRoute(), 1);
  mcu.Settings().SetRouteCode(VkcMCUSettings::kRouteNone);
}

// Behind an MCU the unit's own buffering and, on Bluetooth models, its port routing are written
// as shown (off, none); the MCU's route goes to the MCU only, never into the unit's routing type.
TEST(SerialPage, BehindAnMcuTheUnitsOwnRoutingIsWrittenAsShown) {
  Page<VkcPPSerialModel> p;
  using M = VkcPPSerialModel;
  VkcMCUController& mcu = p.host.DeviceManager().GetMCUController();
  mcu.Settings().SetRouteCode(VkcMCUSettings::kRouteUsb);
  const struct {
    int model;
    int destination, source;  // after apply
  } units[] = {
      {48, 0, 0},  // Bluetooth model
      {49, 2, 1},  // GSM model: its port routing is not the page's
  };
  for (const auto& unit : units) {
    Identify(p.host, unit.model);
    VkcSystem& u = p.host.System();
    u.WriteInt(VkcNodes::kMaintenanceBuffering, 1);
    u.WriteInt(VkcNodes::kActiveDestPorts, 2);
    u.WriteInt(VkcNodes::kActiveSourcePort, 1);
    u.WriteInt(VkcNodes::kRoutingType, 3);
    p.model.Refresh();
    EXPECT_EQ(p.c().Selection(M::kBuffering), 0);
    EXPECT_EQ(p.c().Selection(M::kDestination), -1);
    p.c().Select(M::kRouting, 1);
    ASSERT_TRUE(p.model.Apply());
    EXPECT_EQ(u.ReadInt(VkcNodes::kMaintenanceBuffering), 0) << unit.model;
    EXPECT_EQ(u.ReadInt(VkcNodes::kActiveDestPorts), unit.destination) << unit.model;
    EXPECT_EQ(u.ReadInt(VkcNodes::kActiveSourcePort), unit.source) << unit.model;
    EXPECT_EQ(u.ReadInt(VkcNodes::kRoutingType), 3) << unit.model;
    EXPECT_EQ(mcu.Settings().GetRoute(), 1);
  }
  mcu.Settings().SetRouteCode(VkcMCUSettings::kRouteNone);
}

TEST(BluetoothPage, ChangesMarkTheUnitAndABluetoothPortLocksThePage) {
  Page<VkcPPBluetoothModel> p;
  using M = VkcPPBluetoothModel;
  Identify(p.host, 48);
  VkcSystem& u = p.host.System();
  const auto bt = [&](int child) -> CfgNode& { return u.At(VkcPath(kVkcU, 1, kVkcR, 6, child)); };
  bt(0).SetString("A-name-of-twenty-ch");
  bt(1).SetString("1234");
  bt(6).SetString("0");
  bt(7).SetString("0011223344aa");
  bt(8).SetString("1");
  bt(11).SetInt(1);
  p.model.Refresh();
  EXPECT_EQ(p.c().Text(M::kName), u"A-name-of-twen");
  EXPECT_FALSE(p.c().Get(M::kDestination).enabled) << "slave: no destination";
  ASSERT_TRUE(p.model.Apply());
  EXPECT_EQ(bt(9).GetString(), "") << "nothing changed";
  EXPECT_FALSE(u.IsBluetoothChanged());

  p.c().SetText(M::kDestination, u"00112233GGAA");
  p.model.Handle(M::kDestination, ControlEvent::FocusLost);
  EXPECT_EQ(p.host.LastMessage(), "The destination address is not in hexadecimal format\r\n");
  EXPECT_EQ(p.c().Text(M::kDestination), u"0011223344aa");
  p.c().SetText(M::kDestination, u"AABBCCDDEEFF");
  p.model.Handle(M::kDestination, ControlEvent::FocusLost);
  p.c().SetText(M::kPin, u"123456789");
  EXPECT_FALSE(p.model.Apply());
  EXPECT_EQ(p.host.LastMessage(), "Enter no more than 8 characters.");
  p.c().SetText(M::kPin, u" 12 ");  // blanks are kept
  ASSERT_TRUE(p.model.Apply());
  EXPECT_EQ(bt(7).GetString(), "aabbccddeeff");
  EXPECT_EQ(bt(1).GetString(), " 12 ");
  EXPECT_EQ(bt(9).GetString(), "YES");
  EXPECT_TRUE(u.IsBluetoothChanged());

  // Over a Bluetooth port: disabled, the warning shows, nothing is stored.
  p.host.App().UpdateBluetoothFlag(std::string_view("Bluetooth (rfcomm0)"));
  u.SetBluetoothChanged(false);
  bt(9).SetString("");
  p.model.Refresh();
  EXPECT_FALSE(p.c().Get(M::kName).enabled);
  EXPECT_TRUE(p.c().Get(M::kWarning).visible);
  p.c().SetText(M::kPin, u"9999");
  ASSERT_TRUE(p.model.Apply());
  EXPECT_EQ(bt(1).GetString(), " 12 ");
}

TEST(BluetoothPage, TheDestinationNeedsTwelveHexDigits) {
  const struct {
    const char16_t* raw;
    const char16_t* normalised;
  } rows[] = {
      {u"AABBCCDDEEFF", u"aabbccddeeff"},
      {u"0011223344aa", u"0011223344aa"},
      {u"00112233GGAA", u""},
      {u"0011223344a", u""},  // a digit short
      {u"", u""},
  };
  for (const auto& row : rows)
    EXPECT_EQ(VkcPPBluetoothModel::NormalisedAddress(row.raw), row.normalised) << Utf16ToUtf8(row.raw);
}

TEST(BluetoothPage, AnMcuUnitKeepsItsSettingsInTheMcuRecord) {
  Page<VkcPPBluetoothModel> p;
  using M = VkcPPBluetoothModel;
  VkcMCUController& mcu = p.host.DeviceManager().GetMCUController();
  mcu.Settings().SetRouteCode(VkcMCUSettings::kRouteUsb);
  mcu.Settings().SetBluetoothName("modem");
  mcu.Settings().SetBluetoothEnabled(false);
  Identify(p.host, 4);  // no feature 7
  p.model.Refresh();
  EXPECT_TRUE(p.c().Get(M::kName).enabled);
  EXPECT_EQ(p.c().Text(M::kName), u"modem");
  EXPECT_TRUE(p.c().Get(M::kDestination).enabled) << "only image units gate the destination by the mode";
  ASSERT_TRUE(p.model.Apply());
  EXPECT_FALSE(mcu.IsBluetoothChanged());
  p.c().SetText(M::kPin, u"4321");
  ASSERT_TRUE(p.model.Apply());
  EXPECT_EQ(mcu.Settings().GetPin(), "4321");
  EXPECT_TRUE(mcu.IsBluetoothChanged());
  mcu.Settings().SetRouteCode(VkcMCUSettings::kRouteNone);
}

}  // namespace
