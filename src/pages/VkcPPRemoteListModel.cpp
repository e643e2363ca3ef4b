#include "pages/VkcPPRemoteListModel.h"

#include <algorithm>

#include "app/PageHost.h"
#include "devices/VkcDevice.h"
#include "unit/VkcSystem.h"

namespace {
constexpr char16_t kNoRemote[] = u"000000000000";
}

VkcPPRemoteListModel::VkcPPRemoteListModel() {
  for (int i = 0; i < kRemoteCount; ++i) {
    controls_.SetText(kRemote1 + i, kNoRemote);
    controls_[kRemote1 + i].textLimit = 2 * UnitId::kSize;
  }
  On(kApply, ControlEvent::Clicked, [this] { OnApply(); });
}

void VkcPPRemoteListModel::Refresh() {
  if (!HasHost()) return;
  VkcSystem& unit = Host().Unit();
  const VkcDevice* device = unit.GetCurrentDevice();
  const bool shown = device != nullptr && device->GetModelId() > 0 && device->HasTransmitter() &&
                     device->GetFirmwareFamily() == kListFamily;
  for (int i = 0; i < kRemoteCount; ++i) controls_.Enable(kRemote1 + i, shown);
  controls_.Enable(kApply, shown);
  if (!shown) {
    NoteFilledUnit(false);
    return;
  }
  const CfgNode* list = unit.Find(VkcNodes::kRemoteList);
  const int stored = list != nullptr ? static_cast<int>(std::min<size_t>(list->GetChildCount(), kRemoteCount)) : 0;
  for (int i = 0; i < kRemoteCount; ++i) {
    // Edits past the stored list show no remote: another unit's list must not linger there.
    if (i >= stored) {
      controls_.SetText(kRemote1 + i, kNoRemote);
      continue;
    }
    uint8_t bytes[UnitId::kSize] = {};
    list->ChildAt(static_cast<size_t>(i)).GetBytes(bytes, sizeof bytes);
    controls_.SetText(kRemote1 + i, UnitId(bytes).ToString(std::u16string_view()));
  }
  NoteFilledUnit(true);
}

void VkcPPRemoteListModel::OnApply() {
  if (!IsFilledUnit()) return;
  VkcSystem& unit = Host().Unit();
  for (int i = 0; i < kRemoteCount; ++i) {
    UnitId id;
    id.Parse(controls_.Text(kRemote1 + i));
    unit.At(VkcNodes::kRemoteList, i).SetBytes(id.Bytes().data(), UnitId::kSize);
  }
}
