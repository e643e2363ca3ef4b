#include "pages/VkcPPModemModel.h"

#include <algorithm>
#include <cstdint>
#include <limits>

#include "app/PageHost.h"
#include "app/VkcDataExchange.h"
#include "devices/VkcDevice.h"
#include "unit/VkcSystem.h"

namespace {

constexpr int kSleepControls[] = {VkcPPModemModel::kInactivitySlider, VkcPPModemModel::kInactivity,
                                  VkcPPModemModel::kClock,            VkcPPModemModel::kPeriodSlider,
                                  VkcPPModemModel::kPeriod,           VkcPPModemModel::kControlLine,
                                  VkcPPModemModel::kSenseLine};

// Milliseconds from stored steps of the minimum; 0 (off) shows the minimum, where checking the box
// starts.
int64_t Milliseconds(uint32_t steps, int minimum) { return steps == 0 ? minimum : int64_t{steps} * minimum; }

// The steps of the minimum an edit's value stands for. A value outside the device range that came
// from the unit is stored back as it was; an edit holding no such value takes its slider's
// position, as leaving it would.
uint32_t Steps(const PageControls& controls, int edit, int slider, const SliderEditPair& pair) {
  int64_t ms = 0;
  if (VkcDataExchange::ParseInt(controls.Text(edit), ms) && ms >= 0 &&
      ms / pair.Min() <= std::numeric_limits<uint32_t>::max())
    return static_cast<uint32_t>(ms / pair.Min());
  return static_cast<uint32_t>(controls.Value(slider) / pair.Min());
}

// The device's range with a minimum of at least 1 and a maximum not below it.
void Range(int& min, int& max) {
  min = std::max(min, 1);
  max = std::max(max, min);
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
  for (SliderEditPair* pair : {&inactivity_, &period_}) {
    const int edit = pair == &inactivity_ ? kInactivity : kPeriod;
    const int slider = pair == &inactivity_ ? kInactivitySlider : kPeriodSlider;
    On(edit, ControlEvent::TextEdited, [this, pair] { pair->OnEditChanged(controls_); });
    On(edit, ControlEvent::FocusLost, [this, pair] { pair->OnEditLeft(controls_); });
    On(slider, ControlEvent::Scrolled, [this, pair] { pair->OnScroll(controls_); });
  }
  controls_.Enable(kSleep, false);
  for (int id : kSleepControls) controls_.Enable(id, false);
  ShowAlarmControls(false);
}

void VkcPPModemModel::Refresh() {
  if (!HasHost()) return;
  VkcSystem& unit = Host().Unit();
  const VkcDevice* device = unit.GetCurrentDevice();
  NoteFilledUnit(false);
  if (device == nullptr || device->GetModelId() < 1 || !device->HasTransmitter()) {
    controls_.Enable(kSleep, false);
    for (int id : kSleepControls) controls_.Enable(id, false);
    ShowAlarmControls(false);
    return;
  }
  controls_.Enable(kSleep, true);
  int sleepMin = 0, sleepMax = 0, wakeMin = 0, wakeMax = 0;
  device->GetSleepDelayRange(sleepMin, sleepMax);
  device->GetWakeIntervalRange(wakeMin, wakeMax);
  // Stored values count steps of the minimum: a device with no positive minimum counts single ms.
  Range(sleepMin, sleepMax);
  Range(wakeMin, wakeMax);

  const uint32_t inactivity = static_cast<uint32_t>(unit.ReadInt(VkcNodes::kSleepInactivity));
  const uint32_t period = static_cast<uint32_t>(unit.ReadInt(VkcNodes::kSleepWakePeriod));
  controls_.SetCheck(kSleep, inactivity != 0);
  controls_.SetCheck(kClock, period != 0);
  controls_.SetCheck(kControlLine, unit.ReadInt(VkcNodes::kSleepWakeByControl) != 0);
  controls_.SetCheck(kSenseLine, unit.ReadInt(VkcNodes::kSleepWakeBySense) != 0);
  // The edits show the stored values even outside the device range; only the sliders are bounded.
  inactivity_.ShowUnbounded(controls_, sleepMin, sleepMax, Milliseconds(inactivity, sleepMin), (sleepMax - sleepMin) / 20);
  period_.ShowUnbounded(controls_, wakeMin, wakeMax, Milliseconds(period, wakeMin), (wakeMax - wakeMin) / 20);
  UpdateSleepControls();

  alarms_ = device->HasAlarmOutputs();
  ShowAlarmControls(alarms_);
  if (alarms_) {
    const int out1 = unit.ReadInt(VkcNodes::kAlarmOut1);
    const int out2 = unit.ReadInt(VkcNodes::kAlarmOut2);
    controls_.SetCheck(kOutput1, out1 != 0);
    controls_.SetCheck(kOutput2, out2 != 0);
    // A stored index no button stands for counts as none chosen: a checked output then shows,
    // and stores, its first event.
    event1_ = ButtonIndex(out1 - 1, 3);
    event2_ = ButtonIndex(out2 - 1, 3);
    threshold_ = ButtonIndex(unit.ReadInt(VkcNodes::kAlarmBerThreshold) - 1, 2);
    controls_.Select(kEvent1, event1_);
    controls_.Select(kEvent2, event2_);
    controls_.Select(kThreshold, threshold_);
    UpdateAlarmControls();
  }
  NoteFilledUnit(true);
}

void VkcPPModemModel::OnSleepClicked() { UpdateSleepControls(); }

void VkcPPModemModel::OnClockClicked() { UpdateSleepControls(); }

void VkcPPModemModel::OnAlarmClicked() {
  // The checked buttons; none checked keeps the index (UpdateAlarmControls picks the first).
  if (controls_.Selection(kEvent1) >= 0) event1_ = controls_.Selection(kEvent1);
  if (controls_.Selection(kEvent2) >= 0) event2_ = controls_.Selection(kEvent2);
  if (controls_.Selection(kThreshold) >= 0) threshold_ = controls_.Selection(kThreshold);
  UpdateAlarmControls();
}

void VkcPPModemModel::UpdateSleepControls() {
  const bool sleep = controls_.Checked(kSleep);
  for (int id : kSleepControls) controls_.Enable(id, sleep);
  if (!sleep) return;
  const bool clock = controls_.Checked(kClock);
  controls_.Enable(kPeriodSlider, clock);
  controls_.Enable(kPeriod, clock);
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

bool VkcPPModemModel::Store() {
  if (!IsFilledUnit()) return true;
  VkcSystem& unit = Host().Unit();
  if (controls_.Checked(kSleep)) {
    unit.At(VkcNodes::kSleepInactivity).SetInt(Steps(controls_, kInactivity, kInactivitySlider, inactivity_));
    unit.At(VkcNodes::kSleepWakePeriod).SetInt(controls_.Checked(kClock) ? Steps(controls_, kPeriod, kPeriodSlider, period_) : 0);
    unit.At(VkcNodes::kSleepWakeByControl).SetInt(controls_.Checked(kControlLine) ? 1 : 0);
    unit.At(VkcNodes::kSleepWakeBySense).SetInt(controls_.Checked(kSenseLine) ? 1 : 0);
  } else {
    // Cleared in place: each existing node keeps its type; a missing one already reads as 0.
    for (const VkcNodePath* path : {&VkcNodes::kSleepInactivity, &VkcNodes::kSleepWakePeriod,
                                    &VkcNodes::kSleepWakeByControl, &VkcNodes::kSleepWakeBySense})
      if (unit.Find(*path) != nullptr) unit.At(*path).ReplaceScalar(0);
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
