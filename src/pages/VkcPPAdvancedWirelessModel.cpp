#include "pages/VkcPPAdvancedWirelessModel.h"

#include "app/PageHost.h"
#include "app/PageText.h"
#include "devices/VkcDevice.h"
#include "devices/VkcImageNodes.h"
#include "link/Ansi.h"
#include "link/Utf.h"
#include "unit/VkcSystem.h"

namespace {
using M = VkcPPAdvancedWirelessModel;

constexpr int kAllControls[] = {M::kCallSign,   M::kDelay,     M::kDelayLabel,   M::kLoopBack,      M::kAntennaPower,
                                M::kSeconds,    M::kConnector, M::kSensitivity,  M::kDetection,     M::kConnectorLabel,
                                M::kResetDefault, M::kResetNone, M::kResetCustom, M::kSecondsLabel, M::kDetectionLabel,
                                M::kTransceiver, M::kRxOnly,   M::kTxOnly};

}  // namespace

VkcPPAdvancedWirelessModel::VkcPPAdvancedWirelessModel() {
  controls_[kConnector].SetItems({u"General antenna (central)", u"Beacon antenna"}, {0, 1});
  controls_[kDetection].SetItems({u"Unspecified", u"Enable", u"Disable"}, {0, 1, 2});
  controls_[kSensitivity].SetItems({u"Automatic", u"High", u"Middle", u"Low"}, {0, 1, 2, 3});
  controls_.SetText(kDelay, Decimal(delay_));
  controls_.SetText(kSeconds, Decimal(seconds_));
  for (int id : {kConnector, kConnectorLabel, kDetection, kDetectionLabel}) controls_.Show(id, false);

  On(kDelay, ControlEvent::FocusLost, [this] { OnDelayLeft(); });
  On(kSeconds, ControlEvent::FocusLost, [this] { OnSecondsLeft(); });
  On(kCallSign, ControlEvent::FocusLost, [this] { OnCallSignLeft(); });
  for (int id : {kResetDefault, kResetNone, kResetCustom})
    On(id, ControlEvent::Clicked, [this] {
      PageModel::TakeValues();
      EnableCustomSeconds();
    });
}

VkcSystem& VkcPPAdvancedWirelessModel::Sys() { return Host().Unit(); }

const VkcDevice* VkcPPAdvancedWirelessModel::Device() { return HasHost() ? Sys().GetCurrentDevice() : nullptr; }

bool VkcPPAdvancedWirelessModel::HasFeature(int id) {
  const VkcDevice* device = Device();
  return device != nullptr && device->HasFeature(Sys(), id);
}

bool VkcPPAdvancedWirelessModel::IsValidCallSign(std::u16string_view sign) {
  if (sign.size() > kCallSignMax) return false;
  for (char16_t c : sign)
    if (!((c >= u'A' && c <= u'Z') || (c >= u'0' && c <= u'9'))) return false;
  return true;
}

int VkcPPAdvancedWirelessModel::DetectionIndex(int stored) { return stored == 1 ? 0 : stored == 2 ? 2 : 1; }

int VkcPPAdvancedWirelessModel::DetectionValue(int index) { return index == 0 ? 1 : index == 2 ? 2 : 0; }

void VkcPPAdvancedWirelessModel::Refresh() {
  const VkcDevice* device = Device();
  NoteFilledUnit(device != nullptr && device->GetModelId() > 0);
  if (!IsFilledUnit()) {
    // The connector and detection lists keep their state.
    for (int id : kAllControls)
      if (id != kConnector && id != kDetection) controls_.Enable(id, false);
    return;
  }
  for (int id : kAllControls) controls_.Enable(id, true);
  VkcSystem& sys = Sys();

  const bool loop = HasFeature(11);
  controls_.Enable(kLoopBack, loop);
  if (loop) controls_.SetCheck(kLoopBack, sys.ReadInt(VkcNodes::kLoopBack) != 0);
  const bool delay = HasFeature(10);
  controls_.Enable(kDelay, delay);
  controls_.Enable(kDelayLabel, delay);
  if (delay) {
    delay_ = sys.ReadInt(VkcNodes::kTxStartDelayCallSign);
    device->ClampTxStartDelay(delay_);
    controls_.SetText(kDelay, Decimal(delay_));
  }

  const bool sensitivity = device->SupportsSensitivity();
  controls_.Enable(kSensitivity, sensitivity);
  if (sensitivity) {
    const int index = sys.ReadInt(VkcNodes::kSensitivity);
    controls_.Select(kSensitivity, index >= 0 && index <= 3 ? index : 0);
  }

  const bool reset = device->SupportsSyncResetTime();
  for (int id : {kResetDefault, kResetNone, kResetCustom}) controls_.Enable(id, reset);
  controls_.Enable(kSeconds, false);
  controls_.Enable(kSecondsLabel, false);
  if (reset) {
    const int v = sys.ReadInt(VkcNodes::kSyncResetTime);
    if (v == -1) {
      controls_.Select(kResetMode, 1);
    } else if (v >= 1 && v <= 60) {
      controls_.Select(kResetMode, 2);
      seconds_ = v;
      controls_.SetText(kSeconds, Decimal(seconds_));
    } else {
      controls_.Select(kResetMode, 0);
    }
    EnableCustomSeconds();
  }

  const bool power = HasFeature(9);
  controls_.Enable(kAntennaPower, power);
  if (power) controls_.SetCheck(kAntennaPower, sys.ReadInt(VkcNodes::kAntennaPower) != 0);
  const bool connector = HasFeature(16);
  controls_.Show(kConnector, connector);
  controls_.Show(kConnectorLabel, connector);
  if (connector) {
    const int index = sys.ReadInt(VkcNodes::kBeaconAntennaConnector);
    controls_.Select(kConnector, index >= 0 && index <= 1 ? index : -1);
  }
  const bool detection = HasFeature(17);
  controls_.Show(kDetection, detection);
  controls_.Show(kDetectionLabel, detection);
  if (detection) controls_.Select(kDetection, DetectionIndex(sys.ReadInt(VkcNodes::kAntennaDetection)));

  const bool transceiver = device->SupportsTransceiverMode();
  for (int id : {kTransceiver, kRxOnly, kTxOnly}) controls_.Enable(id, transceiver);
  if (transceiver) {
    const int mode = sys.ReadInt(VkcNodes::kTransceiverMode);
    controls_.Select(kTransceiverMode, mode >= 0 && mode <= 2 ? mode : 0);
  }

  const bool callSign = device->SupportsCallSign();
  controls_.Enable(kCallSign, callSign);
  if (callSign) {
    const CfgNode* node = sys.Find(VkcNodes::kTxStartDelayCallSign);
    callSign_ = acceptedCallSign_ = node != nullptr ? AnsiToWide(node->GetString()) : std::u16string();
    controls_.SetText(kCallSign, callSign_);
  }
}

void VkcPPAdvancedWirelessModel::EnableCustomSeconds() {
  const bool custom = controls_.Get(kResetDefault).enabled && controls_.Selection(kResetMode) == 2;
  controls_.Enable(kSeconds, custom);
  controls_.Enable(kSecondsLabel, custom);
}

void VkcPPAdvancedWirelessModel::Exchange(VkcDataExchange& dx) {
  ParseNumber(controls_.Text(kDelay), delay_);
  dx.Int(kSeconds, 1, 60, seconds_);
  callSign_ = controls_.Text(kCallSign);
}

void VkcPPAdvancedWirelessModel::OnDelayLeft() {
  PageModel::TakeValues();
  if (const VkcDevice* device = Device()) device->ClampTxStartDelay(delay_);
  controls_.SetText(kDelay, Decimal(delay_));
}

void VkcPPAdvancedWirelessModel::OnSecondsLeft() {
  PageModel::TakeValues();  // an out-of-range number shows the range message here
  if (seconds_ < 1 || seconds_ > 60) seconds_ = 5;
  controls_.SetText(kSeconds, Decimal(seconds_));
}

void VkcPPAdvancedWirelessModel::OnCallSignLeft() {
  PageModel::TakeValues();
  if (IsValidCallSign(callSign_)) {
    acceptedCallSign_ = callSign_;
  } else {
    callSign_ = acceptedCallSign_;
    ShowMessage(
        "Invalid call sign in entered. Please make sure that it consists of A-Z, 0-9 characters and length is not "
        "greater than 10. Previous call sign will be assigned.");
  }
  controls_.SetText(kCallSign, callSign_);
}

bool VkcPPAdvancedWirelessModel::Store() {
  const VkcDevice* device = Device();
  if (device == nullptr || !IsFilledUnit()) return true;
  VkcSystem& sys = Sys();
  // The delay as shown: a stored one outside the device's range shows, and is stored, as clamped.
  if (HasFeature(10)) sys.WriteInt(VkcNodes::kTxStartDelayCallSign, delay_);
  if (HasFeature(11)) sys.WriteInt(VkcNodes::kLoopBack, controls_.Checked(kLoopBack) ? 1 : 0);
  if (HasFeature(9)) sys.WriteInt(VkcNodes::kAntennaPower, controls_.Checked(kAntennaPower) ? 1 : 0);
  if (HasFeature(16) && controls_.Selection(kConnector) >= 0)
    sys.WriteInt(VkcNodes::kBeaconAntennaConnector, controls_.Selection(kConnector));
  if (device->SupportsSensitivity() && controls_.Selection(kSensitivity) >= 0)
    sys.WriteInt(VkcNodes::kSensitivity, controls_.Selection(kSensitivity));
  if (device->SupportsSyncResetTime()) {
    const int mode = controls_.Selection(kResetMode);
    sys.WriteInt(VkcNodes::kSyncResetTime, mode == 1 ? -1 : mode == 2 ? seconds_ : 0);
  }
  if (device->SupportsTransceiverMode() && controls_.Selection(kTransceiverMode) >= 0)
    sys.WriteInt(VkcNodes::kTransceiverMode, controls_.Selection(kTransceiverMode));
  if (device->SupportsCallSign()) sys.At(VkcNodes::kTxStartDelayCallSign).SetString(WideToAnsi(callSign_));
  if (HasFeature(17) && controls_.Selection(kDetection) >= 0)
    sys.WriteInt(VkcNodes::kAntennaDetection, DetectionValue(controls_.Selection(kDetection)));
  return true;
}
