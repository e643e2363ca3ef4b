// The vocabulary a device shows values in: the parameter dictionary, the modulation, serial rate
// and protocol name tables, and the output power tables. They are the same for every model, so
// one table serves all prototypes.

#include <string>

#include "devices/VkcDevice.h"
#include "devices/VkcPortRates.h"

namespace {

const char16_t* const kModulationNames[] = {u"DBPSK", u"DQPSK", u"D8PSK", u"16QAM", u"GMSK", u"4FSK", u"FBPSK"};

const char16_t* const kSerialRateNames[] = {u"NONE",  u"1200",  u"2400",  u"4800",  u"9600",
                                            u"14400", u"19200", u"38400", u"57600", u"115200"};

// Firmware families 0 and 3.
const char16_t* const kProtocolNamesA[] = {
    u"",
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
    u"Satel Transmitter",
    u"",
};

// Firmware families 1 and 2.
const char16_t* const kProtocolNamesB[] = {
    u"",
    u"Velkor Transceiver",
    u"Velkor Transceiver",
    u"Half Duplex Remote",
    u"Half Duplex Base",
    u"Half Duplex Repeater",
    u"",
    u"Trmb Transceiver",
    u"Trmb Transceiver",
    u"PCC Repeater",
    u"Velkor Repeater",
    u"Trmb Repeater",
    u"PCC Transceiver",
    u"PCC Transceiver",
    u"Satel Transceiver",
    u"Satel Transceiver",
    u"",
};

constexpr int kProtocolCount = 17;

std::string Narrow(const char16_t* text) {
  std::string out;
  for (; *text; ++text) out.push_back(static_cast<char>(*text));  // the names are ASCII
  return out;
}

VkcParameterDictionary BuildDictionary() {
  VkcParameterDictionary d;
  for (int p = 1; p <= 16; ++p) d["LINK"]["PROT"][std::to_string(p)] = Narrow(kProtocolNamesA[p]);
  for (int m = 1; m <= 7; ++m) d["LINK"]["MOD"][std::to_string(m)] = Narrow(kModulationNames[m - 1]);
  d["LINK"]["FHOP"]["0"] = "Off";
  d["LINK"]["CHAN"]["0"] = "Autoscan";
  d["LINK"]["CHAN"]["-1"] = "Highest";
  d["LINK"]["CHAN"]["-2"] = "Middle";
  d["LINK"]["CHAN"]["-3"] = "Lowest";
  d["LINK"]["SCRAM"]["0"] = "Off";
  d["LINK"]["SCRAM"]["1"] = "On";
  d["LINK"]["FEC"]["0"] = "Off";
  d["LINK"]["FEC"]["2"] = "Reed-Solomon";
  d["DPORT"]["RATE"]["0"] = "Maintenance rate";
  d["MPORT"]["RATE"]["0"] = "115200";
  for (int i = 0; i < kPortRateCount; ++i) {
    d["DPORT"]["RATE"][std::to_string(i + 1)] = std::to_string(kPortRates[i]);
    d["MPORT"]["RATE"][std::to_string(i + 1)] = std::to_string(kPortRates[i]);
  }
  d["DPORT"]["BITS"]["0"] = "8";
  d["DPORT"]["BITS"]["1"] = "7";
  d["DPORT"]["PARITY"]["0"] = "None";
  d["DPORT"]["PARITY"]["1"] = "Odd";
  d["DPORT"]["PARITY"]["2"] = "Even";
  d["DPORT"]["FLOW"]["0"] = "None";
  d["DPORT"]["FLOW"]["1"] = "Software";
  d["DPORT"]["FLOW"]["2"] = "Hardware";
  return d;
}

}  // namespace

const int VkcDevice::kStandardPowerTable[36] = {10,   13,   16,   20,   25,   30,    40,    50,    60,
                                                80,   100,  120,  160,  200,  250,   320,   400,   500,
                                                630,  800,  1000, 1300, 1600, 2000,  2500,  3200,  4000,
                                                5000, 6300, 8000, 10000, 13000, 15000, 20000, 25000, 35000};
const int VkcDevice::kExtendedPowerTable[37] = {10,   13,   16,    20,    25,    30,    40,    50,    60,    80,
                                                100,  120,  160,   200,   250,   320,   400,   500,   630,   800,
                                                1000, 1300, 1600,  2000,  2500,  3200,  4000,  5000,  6300,  8000,
                                                10000, 13000, 15000, 20000, 25000, 32000, 35000};

void VkcDevice::BuildParameterDictionary() {
  // Thread-safe one-time construction; nothing overrides the contents per model.
  static const VkcParameterDictionary kDictionary = BuildDictionary();
  dictionary_ = &kDictionary;
}

std::string VkcDevice::TranslateSetting(const std::string& group, const std::string& key,
                                        const std::string& value) const {
  auto g = dictionary_->find(group);
  if (g == dictionary_->end()) return value;
  auto k = g->second.find(key);
  if (k == g->second.end()) return value;
  auto v = k->second.find(value);
  if (v == k->second.end()) return value;
  return v->second;
}

const char16_t* VkcDevice::GetModulationName(int index) {
  return index >= 0 && index < 7 ? kModulationNames[index] : nullptr;
}

int VkcDevice::GetSerialRateNameCount() { return 10; }

const char16_t* VkcDevice::GetSerialRateName(int index) {
  return index >= 1 && index <= 9 ? kSerialRateNames[index] : nullptr;
}

const char16_t* VkcDevice::GetProtocolName(int protocol) const {
  if (protocol < 0 || protocol >= kProtocolCount) return nullptr;
  const int family = GetFirmwareFamily();
  return family == 1 || family == 2 ? kProtocolNamesB[protocol] : kProtocolNamesA[protocol];
}

int VkcDevice::NearestPowerIndex(int mw, const int* table, int count) {
  for (int i = 0; i < count; ++i) {
    if (table[i] >= mw) return i + 10;
  }
  return count - 1 + 10;
}

int VkcDevice::PowerTableEntry(int code, const int* table, int count) {
  const int i = code - 10;
  return i >= 0 && i < count ? table[i] : -1;
}

int VkcDevice::MilliwattsToDbm(int mw, bool extended) {
  return extended ? NearestPowerIndex(mw, kExtendedPowerTable, 37) : NearestPowerIndex(mw, kStandardPowerTable, 36);
}

int VkcDevice::DbmToMilliwatts(int dbm, bool extended) {
  return extended ? PowerTableEntry(dbm, kExtendedPowerTable, 37) : PowerTableEntry(dbm, kStandardPowerTable, 36);
}
