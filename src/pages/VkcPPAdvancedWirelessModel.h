#pragma once
// The Advanced Wireless Interface page without widgets: point-to-point options (transmit start
// delay, loop back), the antenna (power, beacon connector, detection), receiver sensitivity, the
// synchronization reset time, the call sign and the transceiver mode. Each group is there only
// when the unit has its feature or capability, and apply writes only those groups.

#include <string>

#include "app/PageModel.h"

class VkcDevice;
class VkcSystem;

class VkcPPAdvancedWirelessModel : public PageModel {
 public:
  // Control ids. A radio group is known by its first button's id.
  static constexpr int kCallSign = 1158;
  static constexpr int kDelay = 1168;
  static constexpr int kDelayLabel = 1169;
  static constexpr int kLoopBack = 1170;
  static constexpr int kAntennaPower = 1179;
  static constexpr int kSeconds = 1200;
  static constexpr int kConnector = 1202;
  static constexpr int kSensitivity = 1203;
  static constexpr int kDetection = 1204;
  static constexpr int kConnectorLabel = 1212;
  static constexpr int kResetDefault = 1213;
  static constexpr int kResetNone = 1214;
  static constexpr int kResetCustom = 1215;
  static constexpr int kResetMode = kResetDefault;
  static constexpr int kSecondsLabel = 1216;
  static constexpr int kDetectionLabel = 1217;
  static constexpr int kTransceiver = 1231;
  static constexpr int kRxOnly = 1232;
  static constexpr int kTxOnly = 1233;
  static constexpr int kTransceiverMode = kTransceiver;

  static constexpr size_t kCallSignMax = 10;

  VkcPPAdvancedWirelessModel();

  void Refresh() override;

  // A call sign of at most 10 characters, each A-Z or 0-9 (an empty one too).
  static bool IsValidCallSign(std::u16string_view sign);
  // The stored antenna detection value shown as a list index, and back.
  static int DetectionIndex(int stored);
  static int DetectionValue(int index);

 protected:
  void Exchange(VkcDataExchange& dx) override;
  bool Store() override;

 private:
  VkcSystem& Sys();
  const VkcDevice* Device();
  bool HasFeature(int id);
  void EnableCustomSeconds();

  void OnDelayLeft();
  void OnSecondsLeft();
  void OnCallSignLeft();

  int delay_ = 20;
  int seconds_ = 1;
  std::u16string callSign_;
  std::u16string acceptedCallSign_;
};
