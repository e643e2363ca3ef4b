// The long operations of the connected unit, run by operation code on a progress dialog's worker:
// identification, reboot, preparing a download, the receiver pass-through, the RTN service and the
// MCU settings, and the switches between the unit's command line and data mode.

#include "unit/VkcSystem.h"
#include "devices/VkcDevice.h"
#include "devices/VkcDeviceInterface.h"
#include "devices/VkcDeviceManager.h"
#include "devices/VkcMCUController.h"
#include "devices/VkcPortRates.h"
#include "link/Format.h"
#include "link/VkcComPort.h"
#include "link/VkcConnectionInterface.h"
#include "link/VkcErrorProcessor.h"

namespace {

// Tries of a command-mode or data-mode switch while the interface asks for another.
constexpr int kModeSwitchTries = 3;

}  // namespace

uint32_t VkcSystem::Process(uint32_t operation, intptr_t parameter, platform::WindowHandle notify,
                            platform::Event& stop) {
  switch (operation) {
    case kOpIdentify:
      return Identification(reinterpret_cast<VkcDeviceInterface*>(parameter), notify, stop);
    case kOpIdentifyAgain: {
      auto* device = reinterpret_cast<VkcDevice*>(parameter);
      VkcDeviceInterface* iface = nullptr;
      if (device != nullptr && manager_ != nullptr) {
        iface = manager_->GetInterface(static_cast<int>(device->GetInterfaceId()));
      }
      return Identification(iface, notify, stop);
    }
    case kOpWriteConfiguration:
      return WriteConfiguration(parameter, notify, &stop) ? kResultOk : kResultFailed;
    case kOpReboot:
      return Reboot(static_cast<int>(parameter), notify, &stop) ? kResultOk : kResultFailed;
    case kOpPrepareDownload:
      LogLine(notify, "Preparing for download...\r\n");
      return SwitchToCommandMode(true) ? kResultOk : kResultNoCommandMode;
    case kOpPassThrough:
      return PassThrough(parameter != 0, notify, stop);
    case kOpRtnService:
      return runRtn_ ? runRtn_(parameter != 0, notify, stop) : kResultNoRtnController;
    case kOpReadMcu:
      if (manager_ == nullptr) return kResultMcuReadFailed;
      return manager_->GetMCUController().ReadAll(GetCurrentPort(), &stop) ? kResultOk : kResultMcuReadFailed;
    case kOpWriteMcu:
      if (manager_ == nullptr) return kResultMcuWriteFailed;
      return manager_->GetMCUController().WriteAll(GetCurrentPort(), &stop) ? kResultOk : kResultMcuWriteFailed;
    default:
      return kResultOk;
  }
}

uint32_t VkcSystem::Identification(VkcDeviceInterface* iface, platform::WindowHandle window,
                                   platform::Event& stop) {
  if (Identify(iface, window, &stop)) return kResultOk;
  // A unit read only in part must not stay current: a later send would write the emptied images.
  Reset();
  return kResultFailed;
}

bool VkcSystem::Identify(VkcDeviceInterface* iface, platform::WindowHandle window, platform::Event* stop) {
  Reset();
  VkcComPort* port = GetCurrentPort();
  if (manager_ == nullptr || port == nullptr) return false;
  manager_->GetMCUController().ApplyStoredRoute(port, stop);
  factoryWrite_ = false;
  int id = manager_->DetectModel(port, iface, window, stop);
  if (id == kDetectNoAnswer) return false;
  SetCurrentDevice(manager_->GetDevice(id));
  if (GetCurrentDevice() == nullptr) return false;
  if (!GetCurrentDevice()->InitializeDevice(window)) return false;
  // Start-up and boot-loader units have no configuration to read.
  if (id < 1) return true;
  if (!SyncDataPortRate(nullptr)) return false;
  if (!ReadConfiguration(true, window, stop)) return false;
  identifiedSerial_.store(GetSerialNumber().ToUInt64(), std::memory_order_relaxed);
  return true;
}

bool VkcSystem::SyncDataPortRate(platform::Event* stop) {
  if (GetCurrentDevice() == nullptr || !SwitchToCommandMode(false)) return false;
  VkcComPort* port = GetCurrentPort();
  if (port == nullptr) return false;
  int index = GetCurrentDevice()->GetMaintenancePortRate(port, stop);
  if (index < 0) return false;
  if (GetProductId() < 1) {
    uint32_t rate = PortRateFromIndex(index);
    if (rate != 0) port->SetBaudRate(rate);
    Exchange(std::string(), nullptr, 0, GetCommandTimeout(), nullptr, 0, {"@0", "\r\n"});
  }
  return Exchange(StrPrintf("DPORT RATE %d\r", index + 1), nullptr, 0, GetCommandTimeout(), stop, 1,
                  {"@0", "\n"});
}

bool VkcSystem::Reboot(int bootImage, platform::WindowHandle window, platform::Event* stop, bool /*mainImage*/) {
  VkcComPort* port = GetCurrentPort();
  if (GetCurrentDevice() == nullptr || port == nullptr || !SwitchToCommandMode(true)) return false;
  LogLine(window, "Rebooting the unit\r\n");
  int index = GetCurrentDevice()->GetStoredPortRateIndex(User(), GetOwnUnitIndex());
  if (index < 0 || index >= kPortRateCount) index = kFastestPortRateIndex;
  if (bluetoothChanged_) {
    Exchange("@BT OFF\r\n", nullptr, 0, GetCommandTimeout(), nullptr, 0, {"@0"});
  }
  uint32_t rate = PortRateFromIndex(index);
  int baud = port->GetBaudRate() == rate ? -1 : static_cast<int>(rate);
  bool rebooted;
  {
    VkcConnectionInterface channel(port, false);
    rebooted = channel.RebootUnit(window, stop, bootImage, baud, GetProductId() == -2);
  }
  bluetoothChanged_ = false;
  if (!rebooted) return false;
  const VkcDevice* device = GetCurrentDevice();
  VkcDeviceInterface* iface =
      manager_ != nullptr ? manager_->GetInterface(static_cast<int>(device->GetInterfaceId())) : nullptr;
  if (Identify(iface, window, stop)) return true;
  Reset();
  return false;
}

uint32_t VkcSystem::PassThrough(bool on, platform::WindowHandle window, platform::Event& stop) {
  int interfaceId = SettingsInt("Serial Interface", "Interface", 1);
  int rate = SettingsInt("Serial Interface", "Rate", 0);
  VkcComPort* port = GetCurrentPort();
  // Only one of the unit's rates is set: 0 (never stored) would hang up the line.
  if (port != nullptr && rate > 0 && PortRateToIndex(static_cast<uint32_t>(rate)) >= 0) {
    port->SetBaudRate(static_cast<uint32_t>(rate));
  }
  VkcDeviceInterface* iface = manager_ != nullptr ? manager_->GetInterface(interfaceId) : nullptr;
  if (iface == nullptr || window == platform::kNoWindow) return 0;
  return static_cast<uint32_t>(iface->OpenPassThrough(port, on, window, &stop));
}

int VkcSystem::SettingsInt(const char* section, const char* key, int fallback) const {
  if (appSettings_ == nullptr) return fallback;
  const CfgNode* node = appSettings_->Root().FindChild(std::string_view(section));
  if (node != nullptr) node = node->FindChild(std::string_view(key));
  return node != nullptr ? node->GetInt() : fallback;
}

VkcDeviceInterface* VkcSystem::ModeSwitchInterface() const {
  if (manager_ == nullptr) return nullptr;
  VkcDeviceInterface* iface = nullptr;
  if (GetProductId() > 0) {
    int id = static_cast<int>(GetCurrentDevice()->GetInterfaceId());
    iface = manager_->GetInterface(id);
    // Models reached through an interface nobody registers (the Topcon line) cannot be switched.
    if (iface == nullptr) ErrorLog().ReportError(0, "No device interface %d to switch the unit's mode", id);
    return iface;
  }
  static const VkcConfiguration kNoSettings;
  return manager_->GetConfiguredInterface((appSettings_ != nullptr ? *appSettings_ : kNoSettings).Root());
}

bool VkcSystem::SwitchToCommandMode(bool flag) {
  // Start-up and boot-loader units always listen on their command line.
  if (GetCurrentDevice() != nullptr && GetProductId() < 1) return true;
  VkcDeviceInterface* iface = ModeSwitchInterface();
  VkcComPort* port = GetCurrentPort();
  if (iface == nullptr || port == nullptr) return false;
  for (int i = 0; i < kModeSwitchTries; ++i) {
    int answer = iface->ToCommandMode(port, flag ? 1 : 0);
    if (answer == 0) return true;
    if (answer != 1) return false;
  }
  ErrorLog().ReportError(0, "Tries for Switch to CLI are expired");
  return false;
}

bool VkcSystem::SwitchToDataMode(bool flag) {
  if (GetCurrentDevice() != nullptr && GetProductId() < 1) return false;
  VkcDeviceInterface* iface = ModeSwitchInterface();
  VkcComPort* port = GetCurrentPort();
  if (iface == nullptr || port == nullptr) return false;
  for (int i = 0; i < kModeSwitchTries; ++i) {
    int answer = iface->ToDataMode(port, flag ? 1 : 0);
    if (answer == 0) return true;
    if (answer != 1) return false;
  }
  return false;
}
