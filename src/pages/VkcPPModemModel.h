#pragma once
// The Modem page without widgets: sleep mode (inactivity before sleeping; waking by the internal
// clock with its period, the control line or the external sense line) and the two alarm event
// outputs. Active only for units with a transmitter; the alarm controls only for models with
// alarm outputs.

#include "app/PageModel.h"
#include "app/SliderEditPair.h"
#include "link/UnitId.h"

class VkcPPModemModel : public PageModel {
 public:
  static constexpr int kSleep = 1102;
  static constexpr int kInactivitySlider = 1104;
  static constexpr int kInactivity = 1105;
  static constexpr int kClock = 1106;
  static constexpr int kPeriodSlider = 1107;
  static constexpr int kPeriod = 1108;
  static constexpr int kControlLine = 1109;
  static constexpr int kSenseLine = 1110;
  static constexpr int kAlarm1Box = 1121;
  static constexpr int kOutput1 = 1111;
  static constexpr int kEvent1Buttons[] = {1112, 1113, 1114};
  static constexpr int kAlarm2Box = 1122;
  static constexpr int kOutput2 = 1115;
  static constexpr int kEvent2Buttons[] = {1116, 1117, 1123};
  static constexpr int kThresholdButtons[] = {1119, 1120};
  // The radio groups, known by their first buttons' ids (the checked index is their selection).
  static constexpr int kEvent1 = kEvent1Buttons[0];
  static constexpr int kEvent2 = kEvent2Buttons[0];
  static constexpr int kThreshold = kThresholdButtons[0];
  // The second output's event that has a BER threshold.
  static constexpr int kBerEvent = 2;

  VkcPPModemModel();
  void Refresh() override;

  void OnSleepClicked();
  void OnClockClicked();
  void OnAlarmClicked();

 protected:
  // Stores only what refresh filled, for the unit it filled it for.
  bool Store() override;

 private:
  void UpdateSleepControls();
  void UpdateAlarmControls();
  void ShowAlarmControls(bool shown);

  bool alarms_ = false;
  // Inactivity and period in ms, within the device's ranges (whose minimums are never below 1:
  // they divide the stored steps).
  SliderEditPair inactivity_{kInactivitySlider, kInactivity};
  SliderEditPair period_{kPeriodSlider, kPeriod};
  // The chosen event and threshold indexes; -1 none.
  int event1_ = -1, event2_ = -1, threshold_ = -1;
};
