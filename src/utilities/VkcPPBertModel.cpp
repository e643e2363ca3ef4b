#include "utilities/VkcPPBertModel.h"

#include <vector>

#include "app/ModulinkApp.h"
#include "app/PageHost.h"
#include "devices/VkcDevice.h"
#include "unit/VkcBERT.h"
#include "unit/VkcSystem.h"

using namespace bertpage;

VkcPPBertModel::VkcPPBertModel(ModulinkApp& app, const char* section) : app_(app), section_(section) {
  controls_.SetCheck(kStatistics, Setting("Statistics").GetInt() != 0);
  controls_.SetText(kStatFile, Wide(Setting("Stat. File").GetString()));
  FillRunningTime(controls_, Wide(Setting("Running Time").GetString()));
  controls_.SetText(kStart, u"Start");
  controls_.Enable(kStart, false);
  ShowElapsed(controls_, false, -1);
  EnableStatistics();
  On(kStatistics, ControlEvent::Clicked, [this] { OnClickedStatistics(); });
  On(kBrowse, ControlEvent::Clicked, [this] { OnBrowseStatFile(); });
}

VkcPPBertModel::~VkcPPBertModel() = default;

CfgNode& VkcPPBertModel::Setting(const char* key) { return app_.Setting(section_, key); }

bool VkcPPBertModel::IsRunning() const { return engine_ && engine_->IsRunning(); }

VkcBERT& VkcPPBertModel::EngineOf(VkcSystem& unit) {
  if (!engine_) engine_ = std::make_unique<VkcBERT>(unit);
  return *engine_;
}

Tasks& VkcPPBertModel::TasksOf(VkcSystem& unit) {
  if (!tasks_) tasks_ = std::make_unique<Tasks>(unit);
  return *tasks_;
}

void VkcPPBertModel::EnableStatistics() {
  bool on = controls_.Checked(kStatistics);
  controls_.Enable(kStatFile, on);
  controls_.Enable(kBrowse, on);
}

void VkcPPBertModel::OnClickedStatistics() {
  Setting("Statistics").SetInt(controls_.Checked(kStatistics) ? 1 : 0);
  EnableStatistics();
}

void VkcPPBertModel::OnBrowseStatFile() {
  if (!chooser_) return;
  std::u16string path = chooser_(controls_.Text(kStatFile));
  if (path.empty()) return;
  controls_.SetText(kStatFile, path);
  Setting("Stat. File").SetString(Utf8(path));
}

void VkcPPBertModel::FillProtocols(bool transmitterFirst, std::initializer_list<int> leftOut, int keep) {
  ControlState& list = controls_[kProtocol];
  list.SetItems({});
  const VkcDevice* device = HasHost() ? Host().Unit().GetCurrentDevice() : nullptr;
  if (device != nullptr) {
    std::vector<int> protocols;
    device->GetProtocolList(transmitterFirst, protocols);
    device->GetProtocolList(!transmitterFirst, protocols);
    for (int p : protocols) {
      bool out = false;
      for (int l : leftOut) out |= l == p;
      if (out) continue;
      const char16_t* name = device->GetProtocolName(p);
      list.AddItem(name ? name : u"", p);
    }
  }
  int at = list.FindData(keep);
  list.selection = at >= 0 ? at : (list.ItemCount() > 0 ? 0 : -1);
  controls_.Enable(kProtocol, list.ItemCount() > 0);
}
