// The registries of the device manager and its lookups.

#include "devices/VkcDeviceManager.h"

#include <cstdarg>

#include "devices/VkcDevIfOvrin.h"
#include "devices/VkcDevIfVelkor.h"
#include "devices/VkcDeviceLband.h"
#include "devices/VkcModelTable.h"
#include "link/CfgNode.h"
#include "link/Format.h"

VkcDeviceManager::VkcDeviceManager() = default;

VkcDeviceManager::~VkcDeviceManager() {
  // Devices go first (ascending id), then the interfaces, then the other members.
  while (!devices_.empty()) devices_.erase(devices_.begin());
  while (!interfaces_.empty()) interfaces_.erase(interfaces_.begin());
}

bool VkcDeviceManager::RegisterPrototypes() {
  for (const VkcModelRow& row : ModelTable()) AddDevice(row.key, row.create());
  // L-band receivers switch between the L-band and the beacon prototype.
  for (const auto& [id, device] : devices_) {
    if (const auto* lband = dynamic_cast<const VkcDeviceLband*>(device.get())) {
      lband->AttachModePrototypes(GetDevice(VkcDeviceLband::kKey), GetDevice(VkcDeviceLband::kBeaconKey));
    }
  }
  AddInterface(VkcDevIfVelkor::kId, std::make_unique<VkcDevIfVelkor>());
  AddInterface(VkcDevIfOvrin::kId, std::make_unique<VkcDevIfOvrin>());
  return true;
}

bool VkcDeviceManager::AddDevice(int id, std::unique_ptr<VkcDevice> device) {
  if (devices_.count(id)) return false;
  devices_.emplace(id, std::move(device));
  return true;
}

bool VkcDeviceManager::AddInterface(int id, std::unique_ptr<VkcDeviceInterface> itf) {
  if (interfaces_.count(id)) return false;
  interfaces_.emplace(id, std::move(itf));
  return true;
}

const VkcDevice* VkcDeviceManager::GetDevice(int id) const {
  auto it = devices_.find(id);
  return it == devices_.end() ? nullptr : it->second.get();
}

VkcDeviceInterface* VkcDeviceManager::GetInterface(int id) const {
  auto it = interfaces_.find(id);
  return it == interfaces_.end() ? nullptr : it->second.get();
}

namespace {

char16_t FoldAscii(char16_t c) { return c >= u'A' && c <= u'Z' ? static_cast<char16_t>(c - u'A' + u'a') : c; }

bool EqualsIgnoringCase(std::u16string_view a, std::u16string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (FoldAscii(a[i]) != FoldAscii(b[i])) return false;
  }
  return true;
}

}  // namespace

const VkcDevice* VkcDeviceManager::FindDeviceByName(std::u16string_view name) const {
  for (const auto& [id, device] : devices_) {
    if (device && EqualsIgnoringCase(device->GetName(), name)) return device.get();
  }
  return nullptr;
}

int VkcDeviceManager::GetNextInterface(VkcDeviceInterface*& out, int id) const {
  if (devices_.empty() || interfaces_.empty()) return 0;
  auto it = interfaces_.begin();
  if (id != 0) {
    it = interfaces_.find(id);
    if (it == interfaces_.end()) return 0;
    ++it;
    if (it == interfaces_.end()) return 0;
  }
  out = it->second.get();
  return it->first;
}

bool VkcDeviceManager::LogProgress(VkcLogMessage& log, platform::WindowHandle window, int percent,
                                   const char* format, ...) {
  if (!platform::PostMessage(window, kMsgProgress, kProgressPercent, percent)) return false;
  if (!format) return true;
  va_list args;
  va_start(args, format);
  log.Append(StrVPrintf(format, args));
  va_end(args);
  return platform::PostMessage(window, kMsgProgress, kProgressMailbox, reinterpret_cast<intptr_t>(&log));
}

VkcDeviceInterface* VkcDeviceManager::GetConfiguredInterface(const CfgNode& settingsRoot) const {
  int id = 1;  // "Direct" when the setting is absent
  if (const CfgNode* section = settingsRoot.FindChild(std::string_view("Serial Interface"))) {
    if (const CfgNode* key = section->FindChild(std::string_view("Interface"))) id = key->GetInt();
  }
  return GetInterface(id);
}
