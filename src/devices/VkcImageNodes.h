#pragma once
// The node map of the unit images: every node the program reads or writes, by image and child
// indexes from the image's root. kOwnRow stands for the own unit row R of the user image's unit
// table, resolved at every use (VkcUnitImages::GetOwnUnitIndex).

#include <array>
#include <cstddef>
#include <span>
#include <string>

enum class VkcImage { Factory, Dealer, User, Mcu };  // DFCFG, DDCFG, CFGDN, MCU

struct VkcNodePath {
  static constexpr int kOwnRow = -1000;
  VkcImage image;
  std::array<int, 6> steps;
  size_t depth;

  std::span<const int> Steps() const { return {steps.data(), depth}; }
  // "CFGDN[1][R][3][0]"
  std::string ToString() const;
};

inline constexpr int kVkcR = VkcNodePath::kOwnRow;
inline constexpr VkcNodePath VkcPath(VkcImage image, int a) { return {image, {a}, 1}; }
inline constexpr VkcNodePath VkcPath(VkcImage image, int a, int b) { return {image, {a, b}, 2}; }
inline constexpr VkcNodePath VkcPath(VkcImage image, int a, int b, int c) { return {image, {a, b, c}, 3}; }
inline constexpr VkcNodePath VkcPath(VkcImage image, int a, int b, int c, int d) { return {image, {a, b, c, d}, 4}; }
inline constexpr VkcNodePath VkcPath(VkcImage image, int a, int b, int c, int d, int e) { return {image, {a, b, c, d, e}, 5}; }
inline constexpr VkcImage kVkcF = VkcImage::Factory;
inline constexpr VkcImage kVkcD = VkcImage::Dealer;
inline constexpr VkcImage kVkcU = VkcImage::User;
inline constexpr VkcImage kVkcM = VkcImage::Mcu;

// Named nodes of the images.
struct VkcNodes {

  // Factory image.
  static constexpr VkcNodePath kSerialNumber = VkcPath(kVkcF, 0, 0);      // 6 bytes
  static constexpr VkcNodePath kDescription = VkcPath(kVkcF, 0, 2);       // text
  static constexpr VkcNodePath kFactoryChannels = VkcPath(kVkcF, 4);      // band presets [0..2] / channel rows, number in child 6
  static constexpr int kFactoryChannelNumberChild = 6;
  static constexpr int kFactoryUnitSections[] = {1, 2, 5};      // opaque sections kept when a factory file is opened

  // Dealer image.
  static constexpr VkcNodePath kDealerModel = VkcPath(kVkcD, 0);          // product id (int) or display name (8-bit)
  static constexpr VkcNodePath kDealerCallSign = VkcPath(kVkcD, 1);
  static constexpr VkcNodePath kDealerSpacing = VkcPath(kVkcD, 2);        // spacing index where the firmware keeps it here
  static constexpr VkcNodePath kDealerMaxPower = VkcPath(kVkcD, 3);       // dBm
  static constexpr VkcNodePath kDealerChannels = VkcPath(kVkcD, 4);       // channel map, at most 32 rows
  static constexpr int kChannelDividerChild = 0;
  static constexpr int kChannelIntegerChild = 3;
  static constexpr int kChannelFractionHighChild = 4;
  static constexpr int kChannelFractionLowChild = 5;
  static constexpr int kChannelPowerChild = 6;
  static constexpr int kChannelSpacingChild = 7;
  static constexpr VkcNodePath kDealerRasterChannels = VkcPath(kVkcD, 5);
  static constexpr VkcNodePath kDealerBeaconStations = VkcPath(kVkcD, 6);

  // User image.
  static constexpr VkcNodePath kMainImage = VkcPath(kVkcU, 0, 0);         // 8-bit text: main firmware present unless empty or "N/A"
  static constexpr VkcNodePath kUnitTable = VkcPath(kVkcU, 1);            // rows: 6-byte serial numbers
  static constexpr VkcNodePath kOutputPower = VkcPath(kVkcU, 1, kVkcR, 0);
  static constexpr VkcNodePath kProtocol = VkcPath(kVkcU, 1, kVkcR, 1);
  static constexpr VkcNodePath kAlarmOut1 = VkcPath(kVkcU, 1, kVkcR, 2, 0);
  static constexpr VkcNodePath kAlarmOut2 = VkcPath(kVkcU, 1, kVkcR, 2, 1);
  static constexpr VkcNodePath kAlarmBerThreshold = VkcPath(kVkcU, 1, kVkcR, 2, 2);
  static constexpr VkcNodePath kDataPortRate = VkcPath(kVkcU, 1, kVkcR, 3, 0);    // rate index + 1
  static constexpr VkcNodePath kDataPortBits = VkcPath(kVkcU, 1, kVkcR, 3, 1);
  static constexpr VkcNodePath kDataPortParity = VkcPath(kVkcU, 1, kVkcR, 3, 2);
  static constexpr VkcNodePath kDataPortFlow = VkcPath(kVkcU, 1, kVkcR, 3, 3);
  static constexpr VkcNodePath kActiveSourcePort = VkcPath(kVkcU, 1, kVkcR, 3, 6);
  static constexpr VkcNodePath kActiveDestPorts = VkcPath(kVkcU, 1, kVkcR, 3, 7);
  static constexpr VkcNodePath kMaintenanceBuffering = VkcPath(kVkcU, 1, kVkcR, 3, 8);
  static constexpr VkcNodePath kRoutingType = VkcPath(kVkcU, 1, kVkcR, 3, 9);
  static constexpr VkcNodePath kMaintenancePortRate = VkcPath(kVkcU, 1, kVkcR, 4, 0);  // rate index + 1
  static constexpr VkcNodePath kSleepWakePeriod = VkcPath(kVkcU, 1, kVkcR, 5, 0);
  static constexpr VkcNodePath kSleepWakeByControl = VkcPath(kVkcU, 1, kVkcR, 5, 1);
  static constexpr VkcNodePath kSleepWakeBySense = VkcPath(kVkcU, 1, kVkcR, 5, 2);
  static constexpr VkcNodePath kSleepInactivity = VkcPath(kVkcU, 1, kVkcR, 5, 3);
  static constexpr VkcNodePath kBtName = VkcPath(kVkcU, 1, kVkcR, 6, 0);
  static constexpr VkcNodePath kBtPin = VkcPath(kVkcU, 1, kVkcR, 6, 1);
  static constexpr VkcNodePath kBtSetting = VkcPath(kVkcU, 1, kVkcR, 6, 2);       // int; 6 bytes (own address) in older images
  static constexpr VkcNodePath kBtMode = VkcPath(kVkcU, 1, kVkcR, 6, 6);
  static constexpr VkcNodePath kBtDestination = VkcPath(kVkcU, 1, kVkcR, 6, 7);
  static constexpr VkcNodePath kBtDiscoverable = VkcPath(kVkcU, 1, kVkcR, 6, 8);
  static constexpr VkcNodePath kBtChangedMark = VkcPath(kVkcU, 1, kVkcR, 6, 9);
  static constexpr VkcNodePath kBtModuleAddress = VkcPath(kVkcU, 1, kVkcR, 6, 10);
  static constexpr VkcNodePath kBtState = VkcPath(kVkcU, 1, kVkcR, 6, 11);        // typed: own address lives in [7][0]
  static constexpr VkcNodePath kOwnAddress = VkcPath(kVkcU, 1, kVkcR, 7, 0);      // 6 bytes
  static constexpr VkcNodePath kGsmPin = VkcPath(kVkcU, 1, kVkcR, 8, 0);
  static constexpr VkcNodePath kGsmApn = VkcPath(kVkcU, 1, kVkcR, 8, 1);
  static constexpr VkcNodePath kGsmLogin = VkcPath(kVkcU, 1, kVkcR, 8, 2);
  static constexpr VkcNodePath kGsmPassword = VkcPath(kVkcU, 1, kVkcR, 8, 3);
  static constexpr VkcNodePath kGsmBand = VkcPath(kVkcU, 1, kVkcR, 8, 6);
  static constexpr VkcNodePath kNtripClient = VkcPath(kVkcU, 1, kVkcR, 9);        // [0..5] host, port, login, password, mount point, NMEA
  static constexpr VkcNodePath kTcpClient = VkcPath(kVkcU, 1, kVkcR, 10);         // [0..3] host, port, login, password
  static constexpr VkcNodePath kTcpServer = VkcPath(kVkcU, 1, kVkcR, 11);         // [0..2] port, login, password
  static constexpr VkcNodePath kServiceKind = VkcPath(kVkcU, 1, kVkcR, 12, 0);    // 0 TCP client, 1 NTRIP client, 2 TCP server
  static constexpr VkcNodePath kServiceAutorun = VkcPath(kVkcU, 1, kVkcR, 12, 1);
  static constexpr VkcNodePath kChannel = VkcPath(kVkcU, 2, 0);               // 0 = automatic scanning
  static constexpr VkcNodePath kHoppingPattern = VkcPath(kVkcU, 2, 1);
  static constexpr VkcNodePath kRepeater = VkcPath(kVkcU, 2, 2);
  static constexpr VkcNodePath kFec = VkcPath(kVkcU, 2, 3);
  static constexpr VkcNodePath kScramblingId = VkcPath(kVkcU, 2, 5);
  static constexpr VkcNodePath kModulation = VkcPath(kVkcU, 2, 6);
  static constexpr VkcNodePath kUserSpacing = VkcPath(kVkcU, 2, 7);           // untyped: the dealer image holds the spacing
  static constexpr VkcNodePath kNoMessageTypes = VkcPath(kVkcU, 2, 11);
  static constexpr VkcNodePath kTxStartDelayCallSign = VkcPath(kVkcU, 2, 12); // int delay and 8-bit call sign in one node
  static constexpr VkcNodePath kSyncResetTime = VkcPath(kVkcU, 2, 12, 2);
  static constexpr VkcNodePath kSensitivity = VkcPath(kVkcU, 2, 12, 5);
  static constexpr VkcNodePath kTransceiverMode = VkcPath(kVkcU, 2, 12, 6);
  static constexpr VkcNodePath kRxChannel = VkcPath(kVkcU, 2, 13);
  static constexpr VkcNodePath kLoopBack = VkcPath(kVkcU, 2, 14);
  static constexpr VkcNodePath kMessageMask = VkcPath(kVkcU, 2, 15);
  static constexpr VkcNodePath kActiveReceiver = VkcPath(kVkcU, 2, 16);
  static constexpr VkcNodePath kAntennaPower = VkcPath(kVkcU, 2, 17);
  static constexpr VkcNodePath kBeaconAntennaConnector = VkcPath(kVkcU, 2, 17, 0);
  static constexpr VkcNodePath kRemoteList = VkcPath(kVkcU, 3);               // rows: 6-byte serial numbers
  static constexpr VkcNodePath kAmplifier = VkcPath(kVkcU, 4);                // high-power defaults, [15] antenna detection
  static constexpr VkcNodePath kAntennaDetection = VkcPath(kVkcU, 4, 15);
  static constexpr VkcNodePath kBeaconAutoScan = VkcPath(kVkcU, 5, 0);
  static constexpr VkcNodePath kAutoScanFrequency = VkcPath(kVkcU, 5, 1);
  static constexpr VkcNodePath kAutoScanSignalType = VkcPath(kVkcU, 5, 2);

  // MCU settings image.
  static constexpr VkcNodePath kMcuBtEnabled = VkcPath(kVkcM, 0, 0);
  static constexpr VkcNodePath kMcuBtName = VkcPath(kVkcM, 0, 1);
  static constexpr VkcNodePath kMcuPin = VkcPath(kVkcM, 0, 2);
  static constexpr VkcNodePath kMcuMaster = VkcPath(kVkcM, 0, 3);
  static constexpr VkcNodePath kMcuRemoteAddress = VkcPath(kVkcM, 0, 4);
  static constexpr VkcNodePath kMcuHasSerial = VkcPath(kVkcM, 1, 0);
  static constexpr VkcNodePath kMcuSerialType = VkcPath(kVkcM, 1, 1);
  static constexpr VkcNodePath kMcuSerialRate = VkcPath(kVkcM, 1, 2);
  static constexpr VkcNodePath kMcuRoute = VkcPath(kVkcM, 2);
};
