#include "pages/VkcPPIdentifyModel.h"

#include "app/ModulinkApp.h"
#include "app/PageHost.h"
#include "devices/VkcDevice.h"
#include "devices/VkcDeviceManager.h"
#include "link/Ansi.h"
#include "link/Utf.h"
#include "unit/VkcSystem.h"

namespace {

constexpr size_t kIdDigits = 2 * UnitId::kSize;

int InterfaceSetting(PageHost& host) {
  const CfgNode* section = host.Settings().Root().FindChild(ModulinkApp::kSerialSection);
  const CfgNode* key = section != nullptr ? section->FindChild(ModulinkApp::kInterfaceKey) : nullptr;
  return key != nullptr ? key->GetInt() : 0;
}

}  // namespace

VkcPPIdentifyModel::VkcPPIdentifyModel() {
  for (int id : {kUnitType, kUnitName, kOwner, kSerialNumber, kFirmware, kBootloader, kHardware})
    controls_.SetReadOnly(id, true);
  controls_[kSerialNumber].textLimit = kIdDigits;
  controls_[kAddress].textLimit = kIdDigits;
  controls_.Show(kAddress, false);
  controls_.Show(kAddressLabel, false);
}

void VkcPPIdentifyModel::Refresh() {
  if (!HasHost()) return;
  VkcSystem& unit = Host().Unit();
  const VkcDevice* device = unit.GetCurrentDevice();
  const bool identified = device != nullptr && device->GetModelId() > 0;
  for (int id : {kUnitName, kOwner, kAddress}) controls_.Enable(id, identified);

  const int iface = InterfaceSetting(Host());
  if (iface > 0 && Host().Devices().GetInterfaceCount() > 1) {
    controls_.Show(kAddress, iface == kAddressInterface);
    controls_.Show(kAddressLabel, iface == kAddressInterface);
  }

  std::u16string type = unit.GetProductName();
  if (unit.GetProductId() > 0) type += u", ID " + Utf8ToUtf16(std::to_string(unit.GetProductId()));
  controls_.SetText(kUnitType, type);
  controls_.SetText(kSerialNumber, unit.GetSerialNumber().ToString(std::u16string_view()));
  controls_.SetText(kFirmware, AnsiToWide(unit.GetSoftwareVersion()));
  controls_.SetText(kBootloader, AnsiToWide(unit.GetBootloaderVersion()));
  controls_.SetText(kHardware, AnsiToWide(unit.GetHardwareVersion()));
  shownAddress_ = unit.GetOwnUnitAddress();
  controls_.SetText(kAddress, shownAddress_.ToString(std::u16string_view()));
  NoteFilledUnit(identified);
}

bool VkcPPIdentifyModel::Store() {
  if (!IsFilledUnit()) return true;
  VkcSystem& unit = Host().Unit();
  UnitId address;
  address.Parse(controls_.Text(kAddress));
  if (address != shownAddress_) {
    unit.SetOwnUnitAddress(address);
    shownAddress_ = address;
  }
  return true;
}
