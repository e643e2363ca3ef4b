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

namespace {

bool LeftOutOfReceive(int protocol) {
  for (int p : {2, 8, 9, 10, 11, 13, 15})
    if (p == protocol) return true;
  return false;
}

}  // namespace

VkcPPBERTRxModel::VkcPPBERTRxModel(ModulinkApp& app) : app_(app) {
  controls_.SetCheck(kStatistics, Setting("Statistics").GetInt() != 0);
  controls_.SetText(kStatFile, Wide(Setting("Stat. File").GetString()));
  FillRunningTime(controls_, Wide(Setting("Running Time").GetString()));
  for (int id : {kBer, kAvailability, kRate, kRsl, kRemotePower, kRecommendedPower, kTemperature})
    controls_.SetText(id, u"N/A");
  for (int id : {kBitsReceived, kMessagesReceived, kErroredBits, kLost}) controls_.SetText(id, u"0");
  for (int id : {kBitsReceived, kMessagesReceived, kErroredBits, kLost, kBer, kAvailability, kRate, kRsl, kRemotePower,
                 kRecommendedPower, kTemperature})
    controls_.SetReadOnly(id, true);
  controls_.Enable(kStart, false);
  controls_.SetText(kStart, u"Start");
  ShowElapsed(controls_, false, -1);
  EnableStatistics();
  On(kStart, ControlEvent::Clicked, [this] { OnStart(); });
  On(kStatistics, ControlEvent::Clicked, [this] { OnClickedStatistics(); });
  On(kBrowse, ControlEvent::Clicked, [this] { OnBrowseStatFile(); });
}

VkcPPBERTRxModel::~VkcPPBERTRxModel() = default;

CfgNode& VkcPPBERTRxModel::Setting(const char* key) { return app_.Setting(kSection, key); }

bool VkcPPBERTRxModel::IsRunning() const { return engine_ && engine_->IsRunning(); }

void VkcPPBERTRxModel::EnableStatistics() {
  bool on = controls_.Checked(kStatistics);
  controls_.Enable(kStatFile, on);
  controls_.Enable(kBrowse, on);
}

void VkcPPBERTRxModel::FillProtocols(int keep) {
  ControlState& list = controls_[kProtocol];
  list.SetItems({});
  VkcSystem& unit = Host().Unit();
  const VkcDevice* device = unit.GetCurrentDevice();
  if (device == nullptr) return;
  std::vector<int> protocols;
  device->GetProtocolList(false, protocols);
  device->GetProtocolList(true, protocols);
  for (int p : protocols) {
    if (LeftOutOfReceive(p)) continue;
    const char16_t* name = device->GetProtocolName(p);
    list.AddItem(name ? name : u"", p);
  }
  int at = list.FindData(keep);
  list.selection = at >= 0 ? at : (list.ItemCount() > 0 ? 0 : -1);
  controls_.Enable(kProtocol, list.ItemCount() > 0);
}

void VkcPPBERTRxModel::Refresh() {
  if (!HasHost() || IsRunning()) return;
  VkcSystem& unit = Host().Unit();
  const VkcDevice* device = unit.GetCurrentDevice();
  if (device != nullptr && device->HasTransmitter()) {
    controls_.Enable(kStart, true);
    controls_.Enable(kChannel, true);
    FillChannels(controls_, unit, unit.ReadInt(VkcPath(VkcImage::User, 2, 0)));
    FillProtocols(unit.ReadInt(VkcPath(VkcImage::User, 1, kVkcR, 1)));
  } else {
    for (int id : {kStart, kChannel, kProtocol}) controls_.Enable(id, false);
  }
}

void VkcPPBERTRxModel::OnClickedStatistics() {
  Setting("Statistics").SetInt(controls_.Checked(kStatistics) ? 1 : 0);
  EnableStatistics();
}

void VkcPPBERTRxModel::OnBrowseStatFile() {
  if (!chooser_) return;
  std::u16string path = chooser_(controls_.Text(kStatFile));
  if (path.empty()) return;
  controls_.SetText(kStatFile, path);
  Setting("Stat. File").SetString(Utf8(path));
}

void VkcPPBERTRxModel::OnStart() {
  if (!HasHost()) return;
  if (IsRunning()) {
    engine_->Stop();
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
  if (!tasks_) tasks_ = std::make_unique<Tasks>(unit);
  tasks_->rxProtocol = static_cast<int>(controls_[kProtocol].SelectedData());
  if (controls_.Selection(kProtocol) < 0) tasks_->rxProtocol = -1;
  tasks_->rxChannel = controls_.Selection(kChannel) >= 0 ? static_cast<int>(controls_[kChannel].SelectedData()) : -1;
  tasks_->failure.clear();
  // The unit's commands run in the progress dialog, so a silent unit never freezes the window.
  ProgressRun run = host.RunProgress({{tasks_.get(), Tasks::kPrepareReceive, 0}}, {});
  if (run.modal != 1) {
    ShowMessage(tasks_->failure.empty() ? std::string("Unable to switch to command mode") : tasks_->failure);
    host.UnlockProcess(this);
    return;
  }
  file_.Begin(controls_.Checked(kStatistics), Utf8(controls_.Text(kStatFile)));
  if (file_.On()) {
    const VkcDevice* device = unit.GetCurrentDevice();
    BertHeaderInfo info;
    info.serial = unit.GetSerialNumber().ToString(std::string_view("-"));
    info.when = std::time(nullptr);
    info.spacingKHz = device ? device->GetChannelSpacingHz(unit) / 1000.0 : 0.0;
    info.frequencyMHz = tasks_->frequencyMHz;
    std::string error = file_.WriteHeader(bertfile::ReceiveHeader(info));
    if (!error.empty()) {
      ShowMessage(error);
      host.UnlockProcess(this);
      return;
    }
  }
  runningTime_ = ParseRunningTime(runningText);
  if (!engine_) engine_ = std::make_unique<VkcBERT>(unit);
  engine_->SetRunningTime(runningTime_);
  if (!engine_->Prepare(window_, 0) || !engine_->Start(false)) {
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
  if (!engine_ || !HasHost()) return;
  if (wParam == VkcBERT::kCounters) {
    ShowCounters(engine_->GetStatistics());
  } else if (wParam == VkcBERT::kStep) {
    // Rows while the box is ticked, into a file that got this run's header.
    if (!file_.On() || !controls_.Checked(kStatistics)) return;
    BertStatistics now = engine_->GetStatistics();
    std::string error = file_.AppendRow(bertfile::ReceiveRow(now, copy_, shownBer_));
    copy_ = now;
    if (!error.empty()) ShowMessage(error);
  } else if (wParam == VkcBERT::kEnded) {
    engine_->Join();
    PageHost& host = Host();
    controls_.SetText(kStart, u"Start");
    ShowElapsed(controls_, false, -1);
    if (host.Unit().GetCurrentDevice() != nullptr) {
      controls_.Enable(kChannel, true);
      FillProtocols(static_cast<int>(controls_[kProtocol].SelectedData()));
      if (tasks_) host.RunProgress({{tasks_.get(), Tasks::kRestoreReceive, 0}}, {});
    }
    if (!host.UnlockProcess(this)) ShowMessage("Unable to Unlock BERT Rx process");
  }
}
