#include "utilities/VkcPPBERTTxModel.h"

#include <algorithm>
#include <ctime>
#include <vector>

#include "app/ModulinkApp.h"
#include "app/PageHost.h"
#include "app/PageText.h"
#include "app/VkcDataExchange.h"
#include "devices/VkcDevice.h"
#include "devices/VkcImageNodes.h"
#include "link/Format.h"
#include "link/VkcComPort.h"
#include "unit/BertTxTiming.h"
#include "unit/VkcBERT.h"
#include "unit/VkcSystem.h"

using namespace bertpage;

namespace {

int ParseInt(const std::u16string& text, bool& ok) {
  int64_t v = 0;
  ok = VkcDataExchange::ParseInt(text, v) && v >= INT32_MIN && v <= INT32_MAX;
  return ok ? static_cast<int>(v) : 0;
}

std::u16string Number(int64_t v) { return Wide(std::to_string(v)); }

}  // namespace

VkcPPBERTTxModel::VkcPPBERTTxModel(ModulinkApp& app) : VkcPPBertModel(app, kSection) {
  controls_.Select(kRateMode, Setting("Transmission Rate").GetInt() == 1 ? 1 : 0);
  duty_.Show(controls_, 0, 100, Setting("Duty Cycle").GetInt(), 10);
  std::vector<std::u16string> intervals;
  for (int i = 100; i <= 1000; i += 100) intervals.push_back(Number(i));
  controls_[kInterval].SetItems(intervals);
  controls_.SetText(kInterval, Number(Setting("Interval").GetInt()));
  controls_[kPowerUnit].SetItems({u"dBm", u"mW"}, {0, 1});
  controls_.Select(kPowerUnit, 0);
  for (int id : {kBitsSent, kMessagesSent, kDataRate, kShownDuty, kTemperature}) {
    controls_.SetText(id, u"0");
    controls_.SetReadOnly(id, true);
  }
  EnableRateControls(false);

  On(kStart, ControlEvent::Clicked, [this] { OnStart(); });
  On(kPowerUnit, ControlEvent::SelectionChanged, [this] { OnSelChangePowerCombo(); });
  On(kPower, ControlEvent::TextEdited, [this] { power_.OnEditChanged(controls_); });
  On(kPower, ControlEvent::FocusLost, [this] { OnKillFocusPower(); });
  On(kPowerSlider, ControlEvent::Scrolled, [this] { power_.OnScroll(controls_); });
  On(kDutySlider, ControlEvent::Scrolled, [this] {
    duty_.OnScroll(controls_);
    OnDutyChanged();
  });
  On(kDuty, ControlEvent::TextEdited, [this] {
    duty_.OnEditChanged(controls_);
    OnDutyChanged();
  });
  On(kDuty, ControlEvent::FocusLost, [this] {
    duty_.OnEditLeft(controls_);
    OnDutyChanged();
  });
  OnAny(kRateMode, [this](ControlEvent) { OnTransmissionRateMode(); });
  OnAny(kInterval, [this](ControlEvent) { OnInterval(); });
  On(kProtocol, ControlEvent::SelectionChanged, [this] { UpdateRateText(); });
  On(kChannel, ControlEvent::SelectionChanged, [this] { UpdateRateText(); });
  On(kModulation, ControlEvent::SelectionChanged, [this] {
    modulationIndex_ = static_cast<int>(controls_[kModulation].SelectedData());
    UpdateRateText();
  });
}

VkcPPBERTTxModel::~VkcPPBERTTxModel() = default;

bool VkcPPBERTTxModel::Extended() {
  VkcSystem& unit = Host().Unit();
  const VkcDevice* device = unit.GetCurrentDevice();
  return device != nullptr && device->HasFeature(unit, 6);
}

void VkcPPBERTTxModel::EnableRateControls(bool withDevice) {
  bool interval = controls_.Selection(kRateMode) == 1;
  controls_.Enable(kDutySlider, !interval && withDevice);
  controls_.Enable(kDuty, !interval && withDevice);
  controls_.Enable(kInterval, interval && withDevice);
}

void VkcPPBERTTxModel::BuildPowerControls() {
  const VkcDevice* device = Host().Unit().GetCurrentDevice();
  if (device == nullptr) return;
  range_ = PowerRange::FromDbm(device->GetMinPowerDbm(), device->GetMaxPowerDbm(), range_.unit, Extended());
  // A limit outside the conversion table converts to -1: keep the range sound.
  range_.min = std::max(0, range_.min);
  range_.max = std::max(range_.min, range_.max);
  if (powerValue_ == 0) powerValue_ = range_.min;
  power_.Show(controls_, range_.min, range_.max, powerValue_, std::max(1, range_.Tick()));
  controls_.SetText(kPowerMin, Number(range_.min));
  controls_.SetText(kPowerMax, Number(range_.max));
}

void VkcPPBERTTxModel::FillTransmitProtocols(int keep) { FillProtocols(true, {1, 7, 9, 10, 11, 12, 14}, keep); }

void VkcPPBERTTxModel::UpdateRateText() {
  if (!HasHost()) return;
  VkcSystem& unit = Host().Unit();
  const VkcDevice* device = unit.GetCurrentDevice();
  ControlState& list = controls_[kModulation];
  std::vector<int> modulations;
  if (device != nullptr && controls_.Selection(kProtocol) >= 0)
    device->GetModulationsForProtocol(static_cast<int>(controls_[kProtocol].SelectedData()), modulations);
  if (modulations.empty()) {
    list.SetItems({});
    controls_.Enable(kModulation, false);
  } else {
    list.SetItems({});
    for (int m : modulations) {
      const char16_t* name = VkcDevice::GetModulationName(m);
      list.AddItem(name ? name : u"", m);
    }
    int at = modulationIndex_ < 0 ? -1 : list.FindData(modulationIndex_);
    if (modulationIndex_ >= 0 && at < 0) at = 0;
    list.selection = at;
    if (at >= 0) modulationIndex_ = static_cast<int>(list.SelectedData());
    controls_.Enable(kModulation, !IsRunning());
  }
  float steps = device != nullptr ? device->GetChannelSpacingSteps(device->GetChannelSpacingIndex(unit, -1)) : 4.0f;
  controls_.SetText(kRateText, Wide(RateText(steps, modulationIndex_)));
}

void VkcPPBERTTxModel::Refresh() {
  if (!HasHost() || IsRunning()) return;
  VkcSystem& unit = Host().Unit();
  const VkcDevice* device = unit.GetCurrentDevice();
  bool usable = device != nullptr && device->HasTransmitter();
  for (int id : {kStart, kPowerSlider, kPower, kPowerUnit, kChannel, kRateMode}) controls_.Enable(id, usable);
  if (usable) {
    range_.extended = Extended();
    powerValue_ = range_.FromDbmValue(unit.ReadInt(VkcPath(VkcImage::User, 1, kVkcR, 0)));
    modulationIndex_ = unit.ReadInt(VkcPath(VkcImage::User, 2, 6));
    BuildPowerControls();
    FillTransmitProtocols(unit.ReadInt(VkcPath(VkcImage::User, 1, kVkcR, 1)));
    FillChannels(controls_, unit, unit.ReadInt(VkcPath(VkcImage::User, 2, 0)));
    UpdateRateText();
  } else {
    controls_.Enable(kModulation, false);
    controls_.Enable(kProtocol, false);
  }
  EnableRateControls(device != nullptr);
}

void VkcPPBERTTxModel::OnSelChangePowerCombo() {
  PowerUnit unit = controls_[kPowerUnit].SelectedData() == 1 ? PowerUnit::Milliwatt : PowerUnit::Dbm;
  if (unit == range_.unit || !HasHost()) return;
  powerValue_ = std::max(0, PowerRange::Convert(power_.Value(), range_.unit, unit, Extended()));
  range_.unit = unit;
  BuildPowerControls();
}

void VkcPPBERTTxModel::OnKillFocusPower() {
  if (power_.OnEditLeft(controls_)) return;
  ShowMessage(StrPrintf("Power value is out of range.\nPlease select value between %d and %d", power_.Min(),
                        power_.Max()));
}

void VkcPPBERTTxModel::OnDutyChanged() {
  Setting("Duty Cycle").SetInt(static_cast<uint32_t>(controls_.Value(kDutySlider)));
}

void VkcPPBERTTxModel::OnTransmissionRateMode() {
  Setting("Transmission Rate").SetInt(controls_.Selection(kRateMode) == 1 ? 1 : 0);
  EnableRateControls(HasHost() && Host().Unit().GetCurrentDevice() != nullptr);
}

void VkcPPBERTTxModel::OnInterval() {
  bool ok = false;
  int v = ParseInt(controls_.Text(kInterval), ok);
  if (!ok && controls_.Selection(kInterval) >= 0) v = ParseInt(controls_[kInterval].SelectedItem(), ok);
  if (ok) Setting("Interval").SetInt(static_cast<uint32_t>(v));
}

void VkcPPBERTTxModel::EnableAll(bool enabled) {
  for (int id : {kPowerSlider, kPower, kPowerUnit, kModulation, kProtocol, kChannel, kRateMode, kDutySlider, kDuty,
                 kInterval, kRunningTime, kStatistics, kBrowse, kStatFile})
    controls_.Enable(id, enabled);
}

void VkcPPBERTTxModel::OnStart() {
  if (!HasHost()) return;
  if (IsRunning()) {
    Engine()->Stop();
    return;
  }
  const bool interval = controls_.Selection(kRateMode) == 1;
  bool ok = false;
  int duty = std::clamp(ParseInt(controls_.Text(kDuty), ok), 0, 100);
  if (!interval && duty == 0) {
    ShowMessage("Unable to Run BERT transmission with 0% Duty Cycle");
    return;
  }
  int intervalMs = std::clamp(ParseInt(controls_.Text(kInterval), ok), 0, 1000);
  PageHost& host = Host();
  if (!host.LockProcess(this)) {
    ShowMessage("Unable to run BERT Tx process.\nAnother process is running");
    return;
  }
  VkcSystem& unit = host.Unit();
  const std::u16string runningText = controls_.Text(kRunningTime);
  Setting("Running Time").SetString(Utf8(runningText));
  Tasks& tasks = TasksOf(unit);
  BertTxRequest& r = tasks.transmit;
  r.channel = controls_.Selection(kChannel) >= 0 ? static_cast<int>(controls_[kChannel].SelectedData()) : -1;
  r.power = power_.Value();
  r.powerInMilliwatts = range_.unit == PowerUnit::Milliwatt;
  r.protocol = controls_.Selection(kProtocol) >= 0 ? static_cast<int>(controls_[kProtocol].SelectedData()) : -1;
  r.modulationIndex = modulationIndex_;
  tasks.failure.clear();
  // The unit's commands run in the progress dialog, so a silent unit never freezes the window.
  ProgressRun run = host.RunProgress({{&tasks, Tasks::kPrepareTransmit, 0}}, {});
  if (run.modal != 1) {
    ShowMessage(tasks.failure.empty() ? std::string("Unable to switch to command mode") : tasks.failure);
    host.UnlockProcess(this);
    return;
  }
  const VkcDevice* device = unit.GetCurrentDevice();
  const int m = device ? BitsPerSymbol(modulationIndex_) : 1;
  const float s = device ? device->GetChannelSpacingSteps(device->GetChannelSpacingIndex(unit, -1)) : 4.0f;
  // From here a failure releases the lock and leaves the radio as it was set up.
  file_.Begin(controls_.Checked(kStatistics), Utf8(controls_.Text(kStatFile)));
  if (file_.On()) {
    BertHeaderInfo info;
    info.serial = unit.GetSerialNumber().ToString(std::string_view("-"));
    info.when = std::time(nullptr);
    const char16_t* name = modulationIndex_ >= 0 ? VkcDevice::GetModulationName(modulationIndex_) : nullptr;
    info.modulation = name ? Utf8(name) : std::string();
    info.spacingKHz = device ? device->GetChannelSpacingHz(unit) / 1000.0 : 0.0;
    info.frequencyMHz = tasks.frequencyMHz;
    std::string error = file_.WriteHeader(bertfile::TransmitHeader(info));
    if (!error.empty()) {
      ShowMessage(error);
      host.UnlockProcess(this);
      return;
    }
  }
  VkcComPort* port = unit.GetCurrentPort();
  BertTxTiming t = ComputeBertTxTiming(m, s, interval, duty, intervalMs, port ? port->GetBaudRate() : 0);
  runningTime_ = ParseRunningTime(runningText);
  VkcBERT& engine = EngineOf(unit);
  engine.SetFrameSize(static_cast<uint32_t>(std::max(1, t.frameSize)));
  engine.SetRunningTime(runningTime_);
  if (!engine.Prepare(window_, t.pauseMs) || !engine.Start(true)) {
    host.UnlockProcess(this);
    return;
  }
  copy_ = BertStatistics{};
  controls_.SetText(kShownDuty, Number(t.shownDuty));
  controls_.SetText(kStart, u"Stop");
  EnableAll(false);
  ShowElapsed(controls_, true, runningTime_);
}

void VkcPPBERTTxModel::OnBertMessage(intptr_t wParam) {
  VkcBERT* engine = Engine();
  if (engine == nullptr || !HasHost()) return;
  if (wParam == VkcBERT::kCounters) {
    BertStatistics s = engine->GetStatistics();
    controls_.SetText(kBitsSent, Number(static_cast<int64_t>(s.bitsSent)));
    controls_.SetText(kMessagesSent, Number(static_cast<int64_t>(s.framesSent)));
    controls_.SetText(kDataRate, Number(static_cast<int>(s.rate)));
    controls_.SetText(kTemperature, Number(s.temperature));
    controls_.SetText(kElapsed, Number(s.elapsedSeconds));
    controls_.SetValue(kProgress, static_cast<int>(s.elapsedSeconds));
  } else if (wParam == VkcBERT::kStep) {
    if (!file_.On()) return;
    BertStatistics now = engine->GetStatistics();
    std::string error = file_.AppendRow(bertfile::TransmitRow(now, copy_));
    copy_ = now;
    if (!error.empty()) ShowMessage(error);
  } else if (wParam == VkcBERT::kEnded) {
    engine->Join();
    PageHost& host = Host();
    host.RunProgress({{&TasksOf(host.Unit()), Tasks::kRestoreTransmit, 0}}, {});
    controls_.SetText(kStart, u"Start");
    controls_.Enable(kRateMode, true);
    controls_.Enable(kRunningTime, true);
    controls_.Enable(kStatistics, true);
    EnableStatistics();
    ShowElapsed(controls_, false, -1);
    if (!host.UnlockProcess(this)) {
      ShowMessage("Unable to Unlock BERT Tx process");
      return;
    }
    const bool withDevice = host.Unit().GetCurrentDevice() != nullptr;
    if (withDevice) {
      for (int id : {kPowerSlider, kPower, kPowerUnit, kChannel}) controls_.Enable(id, true);
      FillTransmitProtocols(static_cast<int>(controls_[kProtocol].SelectedData()));
      UpdateRateText();
    }
    EnableRateControls(withDevice);
    ShowMessage("Transmission Completed");
  }
}
