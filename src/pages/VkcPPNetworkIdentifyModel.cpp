#include "pages/VkcPPNetworkIdentifyModel.h"

#include "app/ModulinkApp.h"
#include "app/PageHost.h"
#include "devices/VkcDevice.h"
#include "devices/VkcDeviceManager.h"
#include "link/Ansi.h"
#include "link/Format.h"
#include "link/VkcComPort.h"
#include "link/VkcMessageIds.h"
#include "unit/VkcSystem.h"

namespace {
using Survey = VkcNetworkSurvey;
}  // namespace

VkcPPNetworkIdentifyModel::VkcPPNetworkIdentifyModel() {
  controls_[kTree].columns = std::vector<std::u16string>{u"Network topography"};
  controls_[kList].columns = std::vector<std::u16string>{u"Property Name", u"Value"};
  controls_.SetText(kRefreshNetwork, u"Refresh Network");
  controls_.SetText(kRefreshUnit, u"Refresh Unit");
  On(kRefreshNetwork, ControlEvent::Clicked, [this] { OnRefresh(true); });
  On(kRefreshUnit, ControlEvent::Clicked, [this] { OnRefresh(false); });
  On(kTree, ControlEvent::SelectionChanged, [this] { OnTreeSelection(); });
}

VkcPPNetworkIdentifyModel::~VkcPPNetworkIdentifyModel() = default;

VkcNetworkSurvey* VkcPPNetworkIdentifyModel::Survey() {
  if (!survey_ && HasHost()) {
    VkcSystem& unit = Host().Unit();
    survey_ = std::make_unique<VkcNetworkSurvey>([&unit] { return unit.GetCurrentPort(); },
                                                 [&unit] { return unit.SwitchToCommandMode(true); });
  }
  return survey_.get();
}

void VkcPPNetworkIdentifyModel::Refresh() {
  VkcNetworkSurvey* survey = Survey();
  if (survey == nullptr) return;
  VkcSystem& unit = Host().Unit();
  noUnit_ = unit.GetCurrentDevice() == nullptr || unit.GetProductId() <= 0;
  survey->SetNoUnit(noUnit_);
  if (!noUnit_) survey->SetLocalUnit(unit.GetSerialNumber());
  if (!IsRunning()) {  // a running survey keeps its buttons
    controls_.Enable(kRefreshNetwork, !noUnit_);
    controls_.Enable(kRefreshUnit, !noUnit_);
  }
  RebuildTree();
}

void VkcPPNetworkIdentifyModel::OnRefresh(bool network) {
  VkcNetworkSurvey* survey = Survey();
  if (survey == nullptr) return;
  const int pressed = network ? kRefreshNetwork : kRefreshUnit;
  if (survey->IsRunning()) {
    survey->RequestStop();
    controls_.Enable(pressed, false);
    return;
  }
  PageHost& host = Host();
  VkcComPort* port = host.App().CurrentPort();
  if (port == nullptr || !port->IsOpen()) {
    ShowMessage("Communication port is not open");
    return;
  }
  // The lock before the command-mode switch: nothing may reach the unit while another operation
  // talks to it.
  if (!host.LockProcess(this)) {
    ShowMessage("Unable to run network discovery.\nAnother process is running");
    return;
  }
  // The unit is asked in the progress dialog, so the window repaints while it answers.
  const ProgressRun run = host.RunProgress({{survey, Survey::kOpCommandMode, 0}},
                                           {u"Network Discovery", true, true});
  if (run.modal != 1) {
    if (!run.stopped) ShowMessage("Unable to switch to command mode");
    host.UnlockProcess(this);
    return;
  }
  if (network) {
    survey->ClearRemotes();
    RebuildTree();
  }
  if (network || selected_ == Survey::kLocalUnit) {
    animated_ = network ? Survey::kLocalUnit : selected_;
    frame_ = kImageLocalFirst;
  } else {
    animated_ = selected_;
    frame_ = kImageRemoteFirst;
  }
  const int unit = network ? Survey::kLocalUnit : selected_;
  if (survey->Start(network ? Survey::Mode::kNetwork : Survey::Mode::kUnit, unit, window_) !=
      Survey::StartResult::kStarted) {
    // Nothing runs: the lock goes back and both buttons stay usable.
    ShowMessage("Unable to start Thread");
    host.UnlockProcess(this);
    return;
  }
  if (timer_) timer_(true);
  controls_.Enable(network ? kRefreshUnit : kRefreshNetwork, false);
  controls_.SetText(pressed, u"Stop");
}

void VkcPPNetworkIdentifyModel::OnTreeSelection() {
  const ControlRow* row = controls_[kTree].SelectedRow();
  if (row == nullptr) return;
  selected_ = static_cast<int>(row->data);
  FillList();
}

int VkcPPNetworkIdentifyModel::RowOf(int unit) const {
  const ControlState& tree = controls_.Get(kTree);
  for (int i = 0; i < tree.RowCount(); ++i)
    if ((*tree.rows)[static_cast<size_t>(i)].data == unit) return i;
  return -1;
}

void VkcPPNetworkIdentifyModel::OnTimer() {
  if (!IsRunning()) return;
  const int row = RowOf(animated_);
  if (row >= 0) (*controls_[kTree].rows)[static_cast<size_t>(row)].icon = frame_;
  if (animated_ == Survey::kLocalUnit)
    frame_ = frame_ >= kImageLocalLast || frame_ < kImageLocalFirst ? kImageLocalFirst : frame_ + 1;
  else
    frame_ = frame_ >= kImageRemoteLast || frame_ < kImageRemoteFirst ? kImageRemoteFirst : frame_ + 1;
}

void VkcPPNetworkIdentifyModel::OnProgressMessage(intptr_t wParam, intptr_t lParam) {
  if (!survey_) return;
  if (wParam == kProgressSurveyUnit) {
    const int unit = static_cast<int>(lParam);
    selected_ = unit;
    if (unit != animated_) {
      animated_ = unit;
      frame_ = unit == Survey::kLocalUnit ? kImageLocalFirst : kImageRemoteFirst;
    }
    RebuildTree();
  } else if (wParam == kProgressSurveyRedraw) {
    RebuildTree();
  } else if (wParam == kProgressSurveyEnd) {
    End(lParam);
  }
}

void VkcPPNetworkIdentifyModel::ShowIdle() {
  controls_.SetText(kRefreshNetwork, u"Refresh Network");
  controls_.SetText(kRefreshUnit, u"Refresh Unit");
  controls_.Enable(kRefreshNetwork, true);
  controls_.Enable(kRefreshUnit, true);
}

void VkcPPNetworkIdentifyModel::End(intptr_t code) {
  if (!survey_->IsRunning() || !HasHost()) return;
  survey_->Finish();
  ShowIdle();
  if (timer_) timer_(false);
  RebuildTree();
  if (code != 0) ShowMessage(StrPrintf("Network Discovery was terminated witt error code %d", static_cast<int>(code)));
  if (!Host().UnlockProcess(this)) ShowMessage("Unable to unlock process");
}

void VkcPPNetworkIdentifyModel::RebuildTree() {
  ControlState& tree = controls_[kTree];
  tree.ClearRows();
  tree.selection = -1;
  if (!survey_) return;
  const ParamNode root = survey_->Snapshot();
  if (root.noUnit) {
    controls_[kList].ClearRows();
    return;
  }
  tree.AddRow({{root.unitId.ToString(std::u16string_view())}, kImageLocal, Survey::kLocalUnit, -1, -1});
  for (size_t i = 0; i < root.children.size(); ++i) {
    const ParamNode& remote = root.children[i];
    tree.AddRow({{remote.unitId.ToString(std::u16string_view())},
                 remote.answered ? kImageAnswered : kImageSilent,
                 static_cast<intptr_t>(i),
                 0,
                 -1});
  }
  tree.selection = RowOf(selected_);
  FillList();
}

void VkcPPNetworkIdentifyModel::FillList() {
  ControlState& list = controls_[kList];
  list.ClearRows();
  if (!survey_) return;
  const ParamNode root = survey_->Snapshot();
  const ParamNode* unit = nullptr;
  if (selected_ == Survey::kLocalUnit)
    unit = &root;
  else if (selected_ >= 0 && static_cast<size_t>(selected_) < root.children.size())
    unit = &root.children[static_cast<size_t>(selected_)];
  if (unit == nullptr || !unit->params || root.noUnit) return;
  const VkcDevice* model = nullptr;
  if (const ParamValue* id = unit->Find("INFO", "Product ID"); id != nullptr && id->ToInt() > 0)
    model = Host().Devices().GetDevice(id->ToInt());
  for (const auto& [section, keys] : *unit->params) {
    list.AddRow({{AnsiToWide(section), u""}, -1, list.RowCount(), -1, -1});
    for (const auto& [key, value] : keys) {
      const std::string shown = model != nullptr ? model->TranslateSetting(section, key, value.value) : value.value;
      list.AddRow({{u"  " + AnsiToWide(key), AnsiToWide(shown)}, -1, list.RowCount(), -1, -1});
    }
  }
}
