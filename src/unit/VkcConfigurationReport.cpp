#include "unit/VkcConfigurationReport.h"

#include <charconv>
#include <cmath>
#include <cstdio>

#include "devices/VkcDevice.h"
#include "devices/VkcImageNodes.h"
#include "link/Ansi.h"
#include "link/Format.h"
#include "link/Utf.h"
#include "unit/VkcSystem.h"

namespace {

// The report's own name tables; a value outside a table is shown as a number.
const char16_t* const kModulation[] = {u"DBPSK", u"DQPSK", u"D8PSK", u"16QAM", u"GMSK", u"4FSK", u"FBPSK"};
const char16_t* const kProtocol[] = {u"",
                                     u"Simplex Receiver",
                                     u"Simplex Transmitter",
                                     u"Half Duplex Remote",
                                     u"Half Duplex Base",
                                     u"Half Duplex Repeater",
                                     u"",
                                     u"Trmb Receiver",
                                     u"Trmb Transmitter",
                                     u"PCC Repeater",
                                     u"Repeater",
                                     u"Trmb Repeater",
                                     u"PCC Receiver",
                                     u"PCC Transmitter",
                                     u"Satel Receiver",
                                     u"Satel Transmitter"};
const char16_t* const kTtl1[] = {u"Logic 1", u"TTL1 input", u"(TTL1 and TTL2)", u"(TTL1 or TTL2)"};
const char16_t* const kTtl2[] = {u"Logic 1", u"TTL2 input", u"SYNC Loss", u"BERT"};
const char16_t* const kBerThreshold[] = {u"Off", u"BER > 10E-3", u"BER > 10E-2"};
const char16_t* const kParity[] = {u"None", u"Even", u"Odd"};
const char16_t* const kFlow[] = {u"None", u"Software", u"Hardware"};
const int kRates[] = {1200, 2400, 4800, 9600, 14400, 19200, 38400, 57600, 115200};

std::u16string Text(const std::string& utf8) { return Utf8ToUtf16(utf8); }

std::u16string Int(int value) { return Text(StrPrintf("%d", value)); }

// Entry value of a table when 0 <= value <= last; otherwise "%d" of the raw value.
template <size_t N>
std::u16string Named(const char16_t* const (&table)[N], int value, int last = static_cast<int>(N) - 1) {
  if (value >= 0 && value <= last && static_cast<size_t>(value) < N) return table[value];
  return Int(value);
}

// Names for 0..last, "Id %d" with value + 1 above, the raw number below 0.
template <size_t N>
std::u16string NamedOrId(const char16_t* const (&table)[N], int value, int last) {
  if (value > last) return Text(StrPrintf("Id %d", value + 1));
  return Named(table, value, last);
}

std::u16string Rate(int value, const char16_t* zeroText) {
  if (value == 0) return zeroText;
  if (value >= 1 && value <= 9) return Int(kRates[value - 1]);
  if (value > 9) return Text(StrPrintf("Index %d", value));
  return Int(value);
}

std::u16string OnOff(int value) { return value != 0 ? u"On" : u"Off"; }

std::u16string Mhz(uint32_t hz) { return FormatReportNumber(hz / 1000000.0) + u" MHz"; }

}  // namespace

std::u16string FormatReportNumber(double value) {
  char buf[64];
  const auto res = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::general, 10);
  return Text(std::string(buf, res.ptr));
}

std::vector<VkcReportSection> BuildConfigurationReportContent(VkcSystem& system) {
  using N = VkcNodes;
  const VkcDevice* device = system.GetCurrentDevice();
  std::vector<VkcReportSection> out(3);

  VkcReportSection& ident = out[0];
  ident.heading = u"Identification";
  ident.rows = {
      {u"Product Type", system.GetProductName(), {}},
      {u"Description", system.GetDescription(), {}},
      {u"Serial Number", system.GetSerialNumber().ToString(std::u16string_view(u"-")), {}},
      {u"Software Version", AnsiToWide(system.GetSoftwareVersion()), {}},
      {u"Bootloader Version", AnsiToWide(system.GetBootLoaderVersion()), {}},
      {u"Hardware Version", AnsiToWide(system.GetHardwareVersion()), {}},
  };

  std::vector<uint32_t> channels;
  if (device != nullptr) device->GetChannelFrequencies(system, channels);

  VkcReportSection& dealer = out[1];
  dealer.heading = u"Dealer Configuration";
  const CfgNode* callSign = system.Find(N::kDealerCallSign);
  const double spacingKhz = device != nullptr ? device->GetChannelSpacingHz(system) / 1000.0 : 1.0;
  dealer.rows = {
      {u"Call Sign", callSign != nullptr ? AnsiToWide(callSign->GetString()) : std::u16string(), {}},
      {u"Channel Spacing", FormatReportNumber(spacingKhz) + u" kHz", {}},
      {u"Maximum Allowed Power", Text(StrPrintf("%d dbm", system.ReadInt(N::kDealerMaxPower))), {}},
  };
  for (size_t i = 0; i < channels.size(); ++i) {
    dealer.channelMap.push_back({Int(static_cast<int>(i) + 1), Mhz(channels[i]), {}});
  }

  VkcReportSection& unit = out[2];
  unit.heading = u"Unit Settings";
  std::u16string channelText = u"N/A";
  if (device != nullptr) {
    const int n = device->GetChannel(system);
    if (n == 0) {
      channelText = u"Automatic Scanning";
    } else {
      // A channel outside the map (a negative one included) shows 0 MHz.
      const uint32_t hz = n >= 1 && static_cast<size_t>(n) <= channels.size() ? channels[n - 1] : 0;
      channelText = Text(StrPrintf("Channel %d (", n)) + FormatReportNumber(hz / 1000000.0) + u" MHz)";
    }
  }
  const int hopping = system.ReadInt(VkcPath(kVkcU, 2, 1));
  const int seed = system.ReadInt(VkcPath(kVkcU, 2, 5));
  unit.rows = {
      {u"Channel", channelText, {}},
      {u"Frequency Hopping", hopping == 0 ? u"Off" : Text(StrPrintf("Pattern Number %d", hopping)), {}},
      {u"Scrambling", seed == 0 ? u"Off" : Text(StrPrintf("Seed Number %d", seed)), {}},
      {u"Modulation", NamedOrId(kModulation, system.ReadInt(VkcPath(kVkcU, 2, 6)), 5), {}},
      {u"Output Power", Text(StrPrintf("%d dbm", system.ReadInt(N::kOutputPower))), {}},
      {u"Protocol", NamedOrId(kProtocol, system.ReadInt(N::kProtocol), 9), {}},
  };
  if (device != nullptr && device->HasAlarmOutputs()) {
    unit.rows.push_back({u"Alarm",
                         {},
                         {{u"TTL1", Named(kTtl1, system.ReadInt(N::kAlarmOut1)), {}},
                          {u"TTL2", Named(kTtl2, system.ReadInt(N::kAlarmOut2)), {}},
                          {u"BERTH", Named(kBerThreshold, system.ReadInt(N::kAlarmBerThreshold)), {}}}});
  }
  unit.rows.push_back(
      {u"Data Port",
       {},
       {{u"Baud Rate", Rate(system.ReadInt(N::kDataPortRate), u"Maintenance Port Rate"), {}},
        {u"Data Bits", system.ReadInt(N::kDataPortBits) == 0 ? u"8" : u"7", {}},
        {u"Parity", Named(kParity, system.ReadInt(N::kDataPortParity), 1), {}},
        {u"Flow Control", Named(kFlow, system.ReadInt(N::kDataPortFlow)), {}}}});
  unit.rows.push_back(
      {u"Maintenance Port", {}, {{u"Baud Rate", Rate(system.ReadInt(N::kMaintenancePortRate), u"115200"), {}}}});
  unit.rows.push_back({u"Sleep Settings",
                       {},
                       {{u"CLK", OnOff(system.ReadInt(VkcPath(kVkcU, 1, kVkcR, 5, 0))), {}},
                        {u"HW", OnOff(system.ReadInt(VkcPath(kVkcU, 1, kVkcR, 5, 1))), {}},
                        {u"TTL", OnOff(system.ReadInt(VkcPath(kVkcU, 1, kVkcR, 5, 2))), {}},
                        {u"GTS", OnOff(system.ReadInt(VkcPath(kVkcU, 1, kVkcR, 5, 3))), {}}}});
  return out;
}
