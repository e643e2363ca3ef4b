#pragma once
// Group names and page titles: shown on the tabs and also the keys the tab model is searched by.

namespace titles {
inline constexpr char16_t kConfigurations[] = u"Configurations";
inline constexpr char16_t kPreferences[] = u"Preferences";
inline constexpr char16_t kUtilities[] = u"Utilities";
inline constexpr char16_t kNetworking[] = u"Networking";

inline constexpr char16_t kIdentification[] = u"Identification";
inline constexpr char16_t kWireless[] = u"Wireless Interface";
inline constexpr char16_t kAdvancedWireless[] = u"Advanced Wireless Interface";
inline constexpr char16_t kSerialInterface[] = u"Serial Interface";
inline constexpr char16_t kModem[] = u"Modem";
inline constexpr char16_t kDealer[] = u"Dealer Configuration";
inline constexpr char16_t kBluetooth[] = u"Bluetooth";
inline constexpr char16_t kGsmGprs[] = u"GSM/GPRS";
inline constexpr char16_t kRtn[] = u"RTN";
inline constexpr char16_t kRemoteList[] = u"Remote List";
inline constexpr char16_t kConnection[] = u"Connection";
inline constexpr char16_t kDownloadFirmware[] = u"Download Firmware";
inline constexpr char16_t kBertTransmit[] = u"BERT Transmit";
inline constexpr char16_t kBertReceive[] = u"BERT Receive";
inline constexpr char16_t kLbandStatus[] = u"L-band Status";
inline constexpr char16_t kSpectrumUtility[] = u"Spectrum utility";
inline constexpr char16_t kBeaconAlmanac[] = u"Beacon almanac";
inline constexpr char16_t kRtnUtility[] = u"RTN utility";
}  // namespace titles
