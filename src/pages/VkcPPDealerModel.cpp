#include "pages/VkcPPDealerModel.h"

#include <algorithm>
#include <charconv>

#include "app/ModulinkApp.h"
#include "app/PageHost.h"
#include "app/PageText.h"
#include "devices/VkcDevice.h"
#include "devices/VkcDeviceManager.h"
#include "devices/VkcImageNodes.h"
#include "link/Ansi.h"
#include "link/Utf.h"
#include "link/VkcErrorProcessor.h"
#include "unit/VkcConfigFile.h"
#include "unit/VkcSystem.h"

namespace {

constexpr int kMapControls[] = {VkcPPDealerModel::kMap,    VkcPPDealerModel::kFrequency, VkcPPDealerModel::kAdd,
                                VkcPPDealerModel::kChange, VkcPPDealerModel::kRemove,    VkcPPDealerModel::kUp,
                                VkcPPDealerModel::kDown,   VkcPPDealerModel::kImport};

std::u16string Number(long long v) {
  char buf[24];
  const auto r = std::to_chars(buf, buf + sizeof buf, v);
  return std::u16string(buf, r.ptr);
}

}  // namespace

VkcPPDealerModel::VkcPPDealerModel() {
  controls_[kUnit].SetItems({u"dBm", u"mW"});
  controls_.Select(kUnit, 0);
  controls_[kMap].columns = std::vector<std::u16string>{u"Ch.", u"Frequency"};
  controls_[kFrequency].textLimit = 9;
  controls_.SetText(kMinLabel, u"13");
  controls_.SetText(kMaxLabel, u"33");
  On(kPower, ControlEvent::TextEdited, [this] {
    powerChanged_ = true;
    pair_.OnEditChanged(controls_);
  });
  On(kPower, ControlEvent::FocusLost, [this] {
    if (!pair_.OnEditLeft(controls_)) powerChanged_ = true;  // the slider's position came in
  });
  On(kSlider, ControlEvent::Scrolled, [this] {
    powerChanged_ = true;
    pair_.OnScroll(controls_);
  });
  On(kUnit, ControlEvent::SelectionChanged, [this] { OnUnitChanged(); });
  On(kMap, ControlEvent::SelectionChanged, [this] { OnRowSelected(); });
  On(kAdd, ControlEvent::Clicked, [this] { OnAdd(); });
  On(kChange, ControlEvent::Clicked, [this] { OnChange(); });
  On(kRemove, ControlEvent::Clicked, [this] { OnRemove(); });
  On(kUp, ControlEvent::Clicked, [this] { OnMove(-1); });
  On(kDown, ControlEvent::Clicked, [this] { OnMove(1); });
  On(kImport, ControlEvent::Clicked, [this] { OnImport(); });
}

bool VkcPPDealerModel::HasUnit() {
  return HasHost() && Host().Unit().GetCurrentDevice() != nullptr && Host().Unit().GetProductId() > 0;
}

bool VkcPPDealerModel::Extended() {
  VkcSystem& unit = Host().Unit();
  return unit.GetCurrentDevice()->HasFeature(unit, 6);
}

void VkcPPDealerModel::ShowPower(int dbm) {
  const VkcDevice* device = Host().Unit().GetCurrentDevice();
  range_ = PowerRange::FromDbm(device->GetMinPowerDbm(), device->GetMaxPowerDbm(),
                               unit_ == 1 ? PowerUnit::Milliwatt : PowerUnit::Dbm, Extended());
  const int value = range_.FromDbmValue(dbm);
  power_ = range_.ClampTop(value);  // only the top is held; a value below the minimum stays
  pair_.Show(controls_, range_.min, range_.max, power_, range_.Tick());
  if (power_ < range_.min) controls_.SetText(kPower, Number(power_));
  controls_.SetText(kMinLabel, Number(range_.min));
  controls_.SetText(kMaxLabel, Number(range_.max));
}

void VkcPPDealerModel::FillMap(int select) {
  ControlState& list = controls_[kMap];
  list.ClearRows();
  for (size_t i = 0; i < map_.size(); ++i) {
    list.AddRow({{Number(static_cast<long long>(i) + 1), Utf8ToUtf16(FormatHzWithCommas(map_[i]))}});
  }
  list.selection = select >= 0 && select < static_cast<int>(map_.size()) ? select : -1;
}

void VkcPPDealerModel::Refresh() {
  if (!HasUnit()) {
    for (int id : {kSpacing, kSlider, kPower, kUnit}) controls_.Enable(id, false);
    for (int id : kMapControls) controls_.Enable(id, false);
    powerFilled_ = false;
    NoteFilledUnit(false);
    return;
  }
  VkcSystem& unit = Host().Unit();
  const VkcDevice* device = unit.GetCurrentDevice();
  controls_[kFrequency].textLimit = device->GetFrequencyTextLimit();

  controls_.Enable(kSpacing, true);
  ControlState& spacing = controls_[kSpacing];
  spacing.SetItems({});
  const int current = device->ChannelSpacingFromIndex(device->GetChannelSpacingIndex(unit, -1));
  std::vector<int> list;
  device->GetChannelSpacingList(list);
  for (int hz : list) {
    std::u16string text;
    device->FormatChannelSpacing(hz, text);
    spacing.AddItem(text, hz);
  }
  if (list.empty()) spacing.AddItem(u"Auto", current);
  const int at = spacing.FindData(current);
  spacing.selection = at >= 0 ? at : 0;
  storedSpacing_ = current;

  const bool transmitter = device->HasTransmitter();
  for (int id : {kSlider, kPower, kUnit}) controls_.Enable(id, transmitter);
  unit_ = std::max(controls_.Selection(kUnit), 0);
  // A limit above the device maximum is taken down to it; one below the minimum is left.
  limitDbm_ = std::min(unit.ReadInt(VkcNodes::kDealerMaxPower), device->GetMaxPowerDbm());
  powerChanged_ = false;
  // A unit without a transmitter keeps its dealer maximum: the page never writes it back.
  powerFilled_ = transmitter;
  if (transmitter) ShowPower(limitDbm_);

  // Units whose channels are entered by number keep the map controls as they were; their map is
  // still read, and shown, so apply puts back what is there and the buttons edit the rows in view.
  map_.clear();
  device->GetChannelFrequencies(unit, map_);
  NoteFilledUnit(true);
  FillMap(-1);
  if (!device->HasFeature(unit, 14)) {
    for (int id : kMapControls) controls_.Enable(id, true);
  }
}

bool VkcPPDealerModel::EditedFrequency(uint32_t& hz) const {
  const std::u16string text = controls_.Text(kFrequency);
  if (text.empty() || text.size() > 10) return false;
  uint64_t v = 0;
  for (char16_t c : text) {
    if (c < u'0' || c > u'9') return false;
    v = v * 10 + static_cast<uint64_t>(c - u'0');
  }
  if (v > UINT32_MAX) return false;
  hz = static_cast<uint32_t>(v);
  return true;
}

bool VkcPPDealerModel::WithinBand(uint32_t hz) {
  VkcSystem& unit = Host().Unit();
  return hz >= unit.GetBandLimit(0) && hz <= unit.GetBandLimit(2);
}

bool VkcPPDealerModel::InBand(uint32_t hz, bool known) {
  if (known && WithinBand(hz)) return true;
  ShowMessage("Invalid Frequency");
  return false;
}

void VkcPPDealerModel::OnRowSelected() {
  const int row = controls_.Selection(kMap);
  if (row >= 0 && row < static_cast<int>(map_.size())) controls_.SetText(kFrequency, Number(map_[row]));
}

void VkcPPDealerModel::OnAdd() {
  if (!TakeValues() || !HasUnit()) return;
  uint32_t hz = 0;
  if (!InBand(hz, EditedFrequency(hz))) return;
  if (std::find(map_.begin(), map_.end(), hz) != map_.end()) {
    ShowMessage("Channel already exist");
    return;
  }
  if (map_.size() >= kMaxChannels) {
    ShowMessage("Channel map can not contain more than 32 channels");
    return;
  }
  map_.push_back(hz);
  FillMap(static_cast<int>(map_.size()) - 1);
}

void VkcPPDealerModel::OnChange() {
  if (!TakeValues() || !HasUnit()) return;
  uint32_t hz = 0;
  if (!InBand(hz, EditedFrequency(hz))) return;
  const int row = controls_.Selection(kMap);
  for (size_t i = 0; i < map_.size(); ++i) {
    if (static_cast<int>(i) != row && map_[i] == hz) {
      ShowMessage("Channel already exist");
      return;
    }
  }
  if (row < 0 || row >= static_cast<int>(map_.size())) return;
  map_[row] = hz;
  FillMap(row);
}

void VkcPPDealerModel::OnRemove() {
  if (!TakeValues()) return;
  const int row = controls_.Selection(kMap);
  if (row < 0 || row >= static_cast<int>(map_.size())) return;
  map_.erase(map_.begin() + row);
  FillMap(std::min(row, static_cast<int>(map_.size()) - 1));
}

void VkcPPDealerModel::OnMove(int by) {
  if (!TakeValues()) return;
  const int row = controls_.Selection(kMap);
  const int to = row + by;
  if (row < 0 || row >= static_cast<int>(map_.size()) || to < 0 || to >= static_cast<int>(map_.size())) return;
  std::swap(map_[row], map_[to]);
  FillMap(to);
}

void VkcPPDealerModel::OnUnitChanged() {
  if (!HasUnit()) return;
  const int was = unit_;
  const int shown = pair_.Value();
  unit_ = std::max(controls_.Selection(kUnit), 0);
  if (was == unit_) return;
  // Until the user changes the power, the limit the refresh read is shown again as it is.
  if (!powerChanged_) return ShowPower(limitDbm_);
  const int dbm = PowerRange::Convert(shown, was == 1 ? PowerUnit::Milliwatt : PowerUnit::Dbm, PowerUnit::Dbm, Extended());
  ShowPower(dbm);
}

void VkcPPDealerModel::OnImport() {
  if (!HasHost() || !chooseImport_) return;
  CfgNode& setting = Host().App().Setting(ModulinkApp::kProfileSection, ModulinkApp::kFileNameKey);
  const std::u16string path = chooseImport_(setting.GetWString());
  if (path.empty()) return;
  setting.SetWString(path);
  VkcConfiguration file;
  std::string error;
  if (!VkcConfigFile::Read(Utf16ToUtf8(path), file, error)) return;  // a file that cannot be read imports nothing
  const CfgNode& root = file.Root();
  const CfgNode* model = nullptr;
  if (root.GetChildCount() > 1 && root.ChildAt(1).GetChildCount() > 0) model = &root.ChildAt(1).ChildAt(0);
  const VkcDevice* fileDevice = nullptr;
  if (model != nullptr && model->GetType() == CfgNode::kTypeInt) {
    fileDevice = Host().Devices().GetDevice(model->GetInt());
  } else if (model != nullptr && model->GetType() == CfgNode::kTypeString) {
    fileDevice = Host().Devices().FindDeviceByName(AnsiToWide(model->GetString()));
  }
  if (fileDevice == nullptr || fileDevice->GetModelId() <= 0) {
    ShowMessage("Can not import channel map; device type undefined.");
    return;
  }
  VkcSystem& unit = Host().Unit();
  const VkcDevice* device = unit.GetCurrentDevice();
  if (device == nullptr) return;
  // The file's own model reads its map, so a plan moves between models.
  VkcConfiguration dealer;
  dealer.AssignRoot(root.ChildAt(1));
  std::vector<uint32_t> read;
  fileDevice->GetChannelList(dealer, read);
  // A frequency outside this unit's band has no channel here (on a raster unit it would become
  // channel 0 or a negative number): it is left out, and the log says which.
  std::vector<uint32_t> list;
  for (uint32_t hz : read) {
    if (WithinBand(hz)) {
      list.push_back(hz);
    } else {
      ErrorLog().ReportError(0, "Channel map import: %s Hz is outside the unit's band and was left out",
                             FormatHzWithCommas(hz).c_str());
    }
  }
  // The map holds kMaxChannels channels: those past it are left out, and the log says which.
  for (size_t i = kMaxChannels; i < list.size(); ++i)
    ErrorLog().ReportError(0, "Channel map import: %s Hz is past the %d channels of the map and was left out",
                           FormatHzWithCommas(list[i]).c_str(), static_cast<int>(kMaxChannels));
  if (list.size() > kMaxChannels) list.resize(kMaxChannels);
  if (!device->SetChannelFrequencies(unit, list)) ShowMessage("Can not import channel map; internal error.");
  Host().RefreshAllPages();
}

void VkcPPDealerModel::Exchange(VkcDataExchange& dx) {
  dx.Index(kSpacing, spacingIndex_);
  dx.Index(kUnit, unit_);
  if (unit_ < 0) unit_ = 0;
  int64_t shown = power_;
  if (VkcDataExchange::ParseInt(controls_.Text(kPower), shown) && shown >= INT32_MIN && shown <= INT32_MAX) {
    power_ = static_cast<int>(shown);
  }
}

bool VkcPPDealerModel::Store() {
  if (!IsFilledUnit()) return true;
  VkcSystem& unit = Host().Unit();
  const VkcDevice* device = unit.GetCurrentDevice();
  device->SetChannelFrequencies(unit, map_);
  if (powerFilled_) {
    // Untouched, the limit goes back as read: shown in mW it may have no value of its own (-1).
    const int dbm = !powerChanged_ ? limitDbm_
                    : unit_ == 1   ? VkcDevice::MilliwattsToDbm(power_, Extended())
                                   : power_;
    unit.WriteInt(VkcNodes::kDealerMaxPower, dbm);
  }
  const ControlState& spacing = controls_.Get(kSpacing);
  const int hz = spacingIndex_ >= 0 && spacingIndex_ < spacing.ItemCount() ? static_cast<int>(spacing.itemData[spacingIndex_]) : -1;
  // The spacing the unit already has is not written again (a write would create the node where
  // the unit keeps none, such as a beacon's "Auto"); one it holds but does not offer is.
  if (hz == storedSpacing_ && hz >= 0) return true;
  return device->SetChannelSpacingHz(unit, hz);
}
