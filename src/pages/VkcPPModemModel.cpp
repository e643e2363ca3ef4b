#include "pages/VkcPPModemModel.h"

#include <algorithm>
#include <charconv>
#include <cstdint>
#include <limits>
#include <string>

#include "app/PageHost.h"
#include "devices/VkcDevice.h"
#include "link/Utf.h"
#include "unit/VkcSystem.h"

namespace {

constexpr int kSleepControls[] = {VkcPPModemModel::kInactivitySlider, VkcPPModemModel::kInactivity,
                                  VkcPPModemModel::kClock,            VkcPPModemModel::kPeriodSlider,
                                  VkcPPModemModel::kPeriod,           VkcPPModemModel::kControlLine,
                                  VkcPPModemModel::kSenseLine};

bool ParseInt(const std::u16string& text, int64_t& value) {
  const std::string utf8 = Utf16ToUtf8(text);
  size_t begin = utf8.find_first_not_of(' ');
  if (begin == std::string::npos) return false;
  size_t end = utf8.find_last_not_of(' ') + 1;
  const auto [ptr, ec] = std::from_chars(utf8.data() + begin, utf8.data() + end, value);
  return ec == std::errc() && ptr == utf8.data() + end;
}

std::u16string Digits(int64_t value) { return Utf8ToUtf16(std::to_string(value)); }

// Stored steps are 32-bit; a value of ms past the node's range is cut to it.
uint32_t Steps(int64_t ms, int minimum) {
  const int64_t steps = ms / minimum;
  return static_cast<uint32_t>(std::clamp<int64_t>(steps, 0, std::numeric_limits<uint32_t>::max()));
}

// An event or threshold index a button stands for, else -1.
int ButtonIndex(int index, int buttons) { return index >= 0 && index < buttons ? index : -1; }

}  // namespace

VkcPPModemModel::VkcPPModemModel() {
  On(kSleep, ControlEvent::Clicked, [this] { OnSleepClicked(); });
  On(kClock, ControlEvent::Clicked, [this] { OnClockClicked(); });
  for (int id : {kOutput1, kOutput2}) On(id, ControlEvent::Clicked, [this] { OnAlarmClicked(); });
  for (int id : kEvent1Buttons) On(id, ControlEvent::Clicked, [this] { OnAlarmClicked(); });
  for (int id : kEvent2Buttons) On(id, ControlEvent::Clicked, [this] { OnAlarmClicked(); });
  for (int edit : {kInactivity, kPeriod}) {
    OnAny(edit, [this, edit](ControlEvent event) {
      if (event == ControlEvent::TextEdited) OnEditChanged(edit);
      if (event == ControlEvent::FocusLost) OnEditDone(edit);
    });
  }
  for (int slider : {kInactivitySlider, kPeriodSlider}) {
    OnAny(slider, [this, slider](ControlEvent event) {
      if (event == ControlEvent::Scrolled || event == ControlEvent::ValueChanged) OnSliderMoved(slider);
    });
  }
  controls_.Enable(kSleep, false);
  for (int id : kSleepControls) controls_.Enable(id, false);
  ShowAlarmControls(false);
}

VkcPPModemModel::Pair VkcPPModemModel::PairOf(int control) {
  if (control == kPeriod || control == kPeriodSlider) return {kPeriodSlider, kPeriod};
  return {kInactivitySlider, kInactivity};
}

void VkcPPModemModel::Refresh() {
  if (!HasHost()) return;
  VkcSystem& unit = Host().Unit();
  const VkcDevice* device = unit.GetCurrentDevice();
  shownDevice_ = nullptr;
  if (device == nullptr || device->GetModelId() < 1 || !device->HasTransmitter()) {
    controls_.Enable(kSleep, false);
    for (int id : kSleepControls) controls_.Enable(id, false);
    ShowAlarmControls(false);
    return;
  }
  controls_.Enable(kSleep, true);
  device->GetSleepDelayRange(sleepMin_, sleepMax_);
  device->GetWakeIntervalRange(wakeMin_, wakeMax_);
  // Stored values count steps of the minimum: a device with no positive minimum counts single ms.
  sleepMin_ = std::max(sleepMin_, 1), sleepMax_ = std::max(sleepMax_, sleepMin_);
  wakeMin_ = std::max(wakeMin_, 1), wakeMax_ = std::max(wakeMax_, wakeMin_);
  controls_.SetRange(kInactivitySlider, sleepMin_, sleepMax_);
  controls_[kInactivitySlider].tickInterval = (sleepMax_ - sleepMin_) / 20;
  controls_.SetRange(kPeriodSlider, wakeMin_, wakeMax_);
  controls_[kPeriodSlider].tickInterval = (wakeMax_ - wakeMin_) / 20;

  const uint32_t inactivity = static_cast<uint32_t>(unit.ReadInt(VkcNodes::kSleepInactivity));
  const uint32_t period = static_cast<uint32_t>(unit.ReadInt(VkcNodes::kSleepWakePeriod));
  controls_.SetCheck(kSleep, inactivity != 0);
  controls_.SetCheck(kClock, period != 0);
  controls_.SetCheck(kControlLine, unit.ReadInt(VkcNodes::kSleepWakeByControl) != 0);
  controls_.SetCheck(kSenseLine, unit.ReadInt(VkcNodes::kSleepWakeBySense) != 0);
  SetPair(kInactivitySlider, static_cast<int64_t>(inactivity) * sleepMin_);
  SetPair(kPeriodSlider, static_cast<int64_t>(period) * wakeMin_);
  UpdateSleepControls();

  alarms_ = device->HasAlarmOutputs();
  ShowAlarmControls(alarms_);
  if (alarms_) {
    const int out1 = unit.ReadInt(VkcNodes::kAlarmOut1);
    const int out2 = unit.ReadInt(VkcNodes::kAlarmOut2);
    controls_.SetCheck(kOutput1, out1 != 0);
    controls_.SetCheck(kOutput2, out2 != 0);
    event1_ = out1 - 1;
    event2_ = out2 - 1;
    threshold_ = unit.ReadInt(VkcNodes::kAlarmBerThreshold) - 1;
    controls_.Select(kEvent1, ButtonIndex(event1_, 3));
    controls_.Select(kEvent2, ButtonIndex(event2_, 3));
    controls_.Select(kThreshold, ButtonIndex(threshold_, 2));
    UpdateAlarmControls();
  }
  shownDevice_ = device;
  shownSerial_ = unit.GetSerialNumber();
}

void VkcPPModemModel::OnSleepClicked() { UpdateSleepControls(); }

void VkcPPModemModel::OnClockClicked() { UpdateSleepControls(); }

void VkcPPModemModel::OnAlarmClicked() {
  // A button the user checked replaces the index; one no button stands for stays until then.
  if (controls_.Selection(kEvent1) >= 0) event1_ = controls_.Selection(kEvent1);
  if (controls_.Selection(kEvent2) >= 0) event2_ = controls_.Selection(kEvent2);
  if (controls_.Selection(kThreshold) >= 0) threshold_ = controls_.Selection(kThreshold);
  UpdateAlarmControls();
}

void VkcPPModemModel::UpdateSleepControls() {
  const bool sleep = controls_.Checked(kSleep);
  for (int id : kSleepControls) controls_.Enable(id, sleep);
  if (!sleep) return;
  if (EditValue(kInactivity) == 0) SetPair(kInactivitySlider, sleepMin_);
  const bool clock = controls_.Checked(kClock);
  controls_.Enable(kPeriodSlider, clock);
  controls_.Enable(kPeriod, clock);
  if (clock && EditValue(kPeriod) == 0) SetPair(kPeriodSlider, wakeMin_);
}

void VkcPPModemModel::UpdateAlarmControls() {
  if (!alarms_) return;
  const bool out1 = controls_.Checked(kOutput1);
  const bool out2 = controls_.Checked(kOutput2);
  if (out1 && event1_ == -1) controls_.Select(kEvent1, event1_ = 0);
  if (out2 && event2_ == -1) controls_.Select(kEvent2, event2_ = 0);
  if (out2 && event2_ == kBerEvent && threshold_ == -1) controls_.Select(kThreshold, threshold_ = 0);
  for (int id : kEvent1Buttons) controls_.Enable(id, out1);
  for (int id : kEvent2Buttons) controls_.Enable(id, out2);
  for (int id : kThresholdButtons) controls_.Enable(id, out2 && event2_ == kBerEvent);
}

void VkcPPModemModel::ShowAlarmControls(bool shown) {
  for (int id : {kAlarm1Box, kOutput1, kAlarm2Box, kOutput2}) {
    controls_.Show(id, shown);
    controls_.Enable(id, shown);
  }
  for (const auto* buttons : {std::begin(kEvent1Buttons), std::begin(kEvent2Buttons)})
    for (int i = 0; i < 3; ++i) {
      controls_.Show(buttons[i], shown);
      controls_.Enable(buttons[i], false);
    }
  for (int id : kThresholdButtons) {
    controls_.Show(id, shown);
    controls_.Enable(id, false);
  }
}

int VkcPPModemModel::EditValue(int edit) const {
  int64_t value = 0;
  if (!ParseInt(controls_.Text(edit), value)) return controls_.Value(PairOf(edit).slider);
  return static_cast<int>(std::clamp<int64_t>(value, std::numeric_limits<int>::min(), std::numeric_limits<int>::max()));
}

void VkcPPModemModel::SetPair(int slider, int64_t value) {
  const Pair pair = PairOf(slider);
  const bool period = slider == kPeriodSlider;
  const int min = period ? wakeMin_ : sleepMin_, max = period ? wakeMax_ : sleepMax_;
  controls_.SetValue(pair.slider, static_cast<int>(std::clamp<int64_t>(value, min, max)));
  controls_.SetText(pair.edit, Digits(value));
}

void VkcPPModemModel::OnEditChanged(int edit) {
  const Pair pair = PairOf(edit);
  const bool period = edit == kPeriod;
  const int min = period ? wakeMin_ : sleepMin_, max = period ? wakeMax_ : sleepMax_;
  int64_t value = 0;
  if (!ParseInt(controls_.Text(edit), value)) value = min;
  controls_.SetValue(pair.slider, static_cast<int>(std::clamp<int64_t>(value, min, max)));
}

void VkcPPModemModel::OnEditDone(int edit) {
  const Pair pair = PairOf(edit);
  const bool period = edit == kPeriod;
  const int min = period ? wakeMin_ : sleepMin_, max = period ? wakeMax_ : sleepMax_;
  int64_t value = 0;
  if (!ParseInt(controls_.Text(edit), value) || value < min || value > max)
    controls_.SetText(edit, Digits(controls_.Value(pair.slider)));
}

void VkcPPModemModel::OnSliderMoved(int slider) {
  controls_.SetText(PairOf(slider).edit, Digits(controls_.Value(slider)));
}

bool VkcPPModemModel::Store() {
  if (!HasHost() || shownDevice_ == nullptr) return true;
  VkcSystem& unit = Host().Unit();
  if (unit.GetCurrentDevice() != shownDevice_ || unit.GetSerialNumber() != shownSerial_) return true;
  if (controls_.Checked(kSleep)) {
    unit.At(VkcNodes::kSleepInactivity).SetInt(Steps(EditValue(kInactivity), sleepMin_));
    unit.At(VkcNodes::kSleepWakePeriod).SetInt(controls_.Checked(kClock) ? Steps(EditValue(kPeriod), wakeMin_) : 0);
    unit.At(VkcNodes::kSleepWakeByControl).SetInt(controls_.Checked(kControlLine) ? 1 : 0);
    unit.At(VkcNodes::kSleepWakeBySense).SetInt(controls_.Checked(kSenseLine) ? 1 : 0);
  } else {
    for (const VkcNodePath* path : {&VkcNodes::kSleepInactivity, &VkcNodes::kSleepWakePeriod,
                                    &VkcNodes::kSleepWakeByControl, &VkcNodes::kSleepWakeBySense})
      unit.At(*path).SetInt(0);
  }
  if (alarms_) {
    OnAlarmClicked();
    const bool out2 = controls_.Checked(kOutput2);
    unit.At(VkcNodes::kAlarmOut1).SetInt(controls_.Checked(kOutput1) ? static_cast<uint32_t>(event1_ + 1) : 0);
    unit.At(VkcNodes::kAlarmOut2).SetInt(out2 ? static_cast<uint32_t>(event2_ + 1) : 0);
    unit.At(VkcNodes::kAlarmBerThreshold).SetInt(out2 ? static_cast<uint32_t>(threshold_ + 1) : 0);
  }
  return true;
}
