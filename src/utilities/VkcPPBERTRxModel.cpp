#include "utilities/VkcPPBERTRxModel.h"

#include <ctime>
#include <vector>

#include "app/ModulinkApp.h"
#include "app/PageHost.h"
#include "devices/VkcDevice.h"
#include "devices/VkcImageNodes.h"
#include "link/Format.h"
#include "link/VkcMessageIds.h"
#include "unit/VkcBERT.h"
#include "unit/VkcSystem.h"

using namespace bertpage;

VkcPPBERTRxModel::VkcPPBERTRxModel(ModulinkApp& app) : VkcPPBertModel(app, kSection) {
  for (int id : {kBer, kAvailability, kRate, kRsl, kRemotePower, kRecommendedPower, kTemperature})
    controls_.SetText(id, u"N/A");
  for (int id : {kBitsReceived, kMessagesReceived, kErroredBits, kLost}) controls_.SetText(id, u"0");
  for (int id : {kBitsReceived, kMessagesReceived, kErroredBits, kLost, kBer, kAvailability, kRate, kRsl, kRemotePower,
                 kRecommendedPower, kTemperature})
    controls_.SetReadOnly(id, true);
  On(kStart, ControlEvent::Clicked, [this] { OnStart(); });
}

VkcPPBERTRxModel::~VkcPPBERTRxModel() = default;

void VkcPPBERTRxModel::FillReceiveProtocols(int keep) { FillProtocols(false, {2, 8, 9, 10, 11, 13, 15}, keep); }

void VkcPPBERTRxModel::Refresh() {
  if (!HasHost() || IsRunning()) return;
  VkcSystem& unit = Host().Unit();
  const VkcDevice* device = unit.GetCurrentDevice();
  if (device != nullptr && device->HasTransmitter()) {
    controls_.Enable(kStart, true);
    controls_.Enable(kChannel, true);
    FillChannels(controls_, unit, unit.ReadInt(VkcPath(VkcImage::User, 2, 0)));
    FillReceiveProtocols(unit.ReadInt(VkcPath(VkcImage::User, 1, kVkcR, 1)));
  } else {
    for (int id : {kStart, kChannel, kProtocol}) controls_.Enable(id, false);
  }
}

void VkcPPBERTRxModel::OnStart() {
  if (!HasHost()) return;
  if (IsRunning()) {
    Engine()->Stop();
    return;
  }
  PageHost& host = Host();
  if (!host.LockProcess(this)) {
    ShowMessage("Unable to run BERT Rx process.\nAnother process is running");
    return;
  }
  VkcSystem& unit = host.Unit();
  const std::u16string runningText = controls_.Text(kRunningTime);
  Setting("Running Time").SetString(Utf8(runningText));
  Tasks& tasks = TasksOf(unit);
  tasks.rxProtocol = static_cast<int>(controls_[kProtocol].SelectedData());
  if (controls_.Selection(kProtocol) < 0) tasks.rxProtocol = -1;
  tasks.rxChannel = controls_.Selection(kChannel) >= 0 ? static_cast<int>(controls_[kChannel].SelectedData()) : -1;
  tasks.failure.clear();
  // The unit's commands run in the progress dialog, so a silent unit never freezes the window.
  ProgressRun run = host.RunProgress({{&tasks, Tasks::kPrepareReceive, 0}}, {});
  if (run.modal != 1) {
    ShowMessage(tasks.failure.empty() ? std::string("Unable to switch to command mode") : tasks.failure);
    host.UnlockProcess(this);
    return;
  }
  // From here a failure releases the lock and leaves the unit tuned as it is.
  file_.Begin(controls_.Checked(kStatistics), Utf8(controls_.Text(kStatFile)));
  if (file_.On()) {
    const VkcDevice* device = unit.GetCurrentDevice();
    BertHeaderInfo info;
    info.serial = unit.GetSerialNumber().ToString(std::string_view("-"));
    info.when = std::time(nullptr);
    info.spacingKHz = device ? device->GetChannelSpacingHz(unit) / 1000.0 : 0.0;
    info.frequencyMHz = tasks.frequencyMHz;
    std::string error = file_.WriteHeader(bertfile::ReceiveHeader(info));
    if (!error.empty()) {
      ShowMessage(error);
      host.UnlockProcess(this);
      return;
    }
  }
  runningTime_ = ParseRunningTime(runningText);
  VkcBERT& engine = EngineOf(unit);
  engine.SetRunningTime(runningTime_);
  if (!engine.Prepare(window_, 0) || !engine.Start(false)) {
    host.UnlockProcess(this);
    return;
  }
  copy_ = BertStatistics{};
  controls_.Enable(kChannel, false);
  controls_.Enable(kProtocol, false);
  controls_.SetText(kStart, u"Stop");
  ShowElapsed(controls_, true, runningTime_);
}

void VkcPPBERTRxModel::ShowCounters(const BertStatistics& s) {
  controls_.SetText(kBitsReceived, Wide(std::to_string(s.bitsReceived)));
  controls_.SetText(kMessagesReceived, Wide(std::to_string(s.bytesReceived)));
  controls_.SetText(kErroredBits, Wide(std::to_string(s.bitErrors)));
  controls_.SetText(kLost, Wide(std::to_string(s.lostCount)));
  shownBer_ = bertfile::BitErrorRate(s);
  controls_.SetText(kBer, Wide(bertfile::FormatBer(shownBer_)));
  controls_.SetText(kRate, Wide(StrPrintf("%g kbps", s.rate / 1000.0)));
  controls_.SetText(kTemperature, Wide(StrPrintf("%d C", s.temperature)));
  controls_.SetText(kRsl, Wide(StrPrintf("%d dbm", s.rssi)));
  controls_.SetText(kRemotePower, Wide(StrPrintf("%d dbm", s.remotePower)));
  controls_.SetText(kElapsed, Wide(std::to_string(s.elapsedSeconds)));
  controls_.SetValue(kProgress, static_cast<int>(s.elapsedSeconds));
}

void VkcPPBERTRxModel::OnBertMessage(intptr_t wParam) {
  VkcBERT* engine = Engine();
  if (engine == nullptr || !HasHost()) return;
  if (wParam == VkcBERT::kCounters) {
    ShowCounters(engine->GetStatistics());
  } else if (wParam == VkcBERT::kStep) {
    // Rows while the box is ticked, into a file that got this run's header.
    if (!file_.On() || !controls_.Checked(kStatistics)) return;
    BertStatistics now = engine->GetStatistics();
    std::string error = file_.AppendRow(bertfile::ReceiveRow(now, copy_, shownBer_));
    copy_ = now;
    if (!error.empty()) ShowMessage(error);
  } else if (wParam == VkcBERT::kEnded) {
    engine->Join();
    PageHost& host = Host();
    controls_.SetText(kStart, u"Start");
    ShowElapsed(controls_, false, -1);
    if (host.Unit().GetCurrentDevice() != nullptr) {
      controls_.Enable(kChannel, true);
      FillReceiveProtocols(static_cast<int>(controls_[kProtocol].SelectedData()));
      host.RunProgress({{&TasksOf(host.Unit()), Tasks::kRestoreReceive, 0}}, {});
    }
    if (!host.UnlockProcess(this)) ShowMessage("Unable to Unlock BERT Rx process");
  }
}
