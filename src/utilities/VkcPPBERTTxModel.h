#pragma once
// The BERT Transmit page without widgets: sets the radio up as a test transmitter (channel,
// power, protocol, modulation, hardware flow control), sizes the frames and pauses for the chosen
// duty cycle or interval, runs the engine in transmit mode, shows its counters, appends a row to
// the statistics file every step, and restores the radio when the test ends.

#include <cstdint>

#include "app/PowerRange.h"
#include "app/SliderEditPair.h"
#include "utilities/VkcPPBertModel.h"

class VkcPPBERTTxModel : public VkcPPBertModel {
 public:
  static constexpr int kPowerSlider = 1031;
  static constexpr int kPowerMin = 1032;
  static constexpr int kPowerMax = 1033;
  static constexpr int kPower = 1034;
  static constexpr int kPowerUnit = 1035;
  static constexpr int kModulation = 1022;
  static constexpr int kRateText = 1024;
  static constexpr int kRateMode = 1055;  // radio group: 0 duty cycle, 1 intervals
  static constexpr int kIntervalsRadio = 1056;
  static constexpr int kDutySlider = 1057;
  static constexpr int kDuty = 1058;
  static constexpr int kInterval = 1060;
  static constexpr int kBitsSent = 1061;
  static constexpr int kMessagesSent = 1062;
  static constexpr int kDataRate = 1063;
  static constexpr int kShownDuty = 1064;
  static constexpr int kTemperature = 1065;
  static constexpr const char* kSection = "BERT_TX";

  explicit VkcPPBERTTxModel(ModulinkApp& app);
  ~VkcPPBERTTxModel() override;

  void Refresh() override;
  void OnStart();
  void OnBertMessage(intptr_t wParam) override;
  void OnSelChangePowerCombo();
  void OnKillFocusPower();
  void OnDutyChanged();
  void OnTransmissionRateMode();
  void OnInterval();
  void UpdateRateText();

 private:
  void BuildPowerControls();
  void FillTransmitProtocols(int keep);
  void EnableRateControls(bool withDevice);
  void EnableAll(bool enabled);
  bool Extended();

  SliderEditPair power_{kPowerSlider, kPower};
  SliderEditPair duty_{kDutySlider, kDuty};
  PowerRange range_;
  int powerValue_ = 0;  // in the unit shown
  int modulationIndex_ = -1;
};
