#include "app/AppShellUnit.h"

#include "app/ModulinkApp.h"
#include "unit/VkcSystem.h"
#include "devices/VkcDeviceManager.h"
#include "link/VkcComPort.h"

int AppShellUnit::ShowMessage(const std::string& text, unsigned flags, bool hint) {
  return app_.ShowMessage(std::string_view(text), flags, hint);
}

bool AppShellUnit::IsPortOpen() const {
  VkcComPort* port = app_.CurrentPort();
  return port != nullptr && port->IsOpen();
}

int AppShellUnit::InterfaceSetting() const {
  return app_.Setting(ModulinkApp::kSerialSection, ModulinkApp::kInterfaceKey).GetInt();
}

intptr_t AppShellUnit::InterfaceParameter(int interfaceId) {
  return reinterpret_cast<intptr_t>(devices_.GetInterface(interfaceId));
}

void AppShellUnit::StorePortRate() {
  // A TCP client has no rate (0): the serial rate the user chose is kept.
  VkcComPort* port = app_.CurrentPort();
  const uint32_t rate = port != nullptr ? port->GetBaudRate() : 0;
  if (rate != 0) app_.Setting(ModulinkApp::kSerialSection, ModulinkApp::kRateKey).SetInt(rate);
}

int AppShellUnit::CurrentProductId() const { return unit_.GetProductId(); }

bool AppShellUnit::FactoryWrite() const { return unit_.IsFactoryWrite(); }

VkiPostProcess* AppShellUnit::TaskTarget() { return &unit_; }

int AppShellUnit::ConnectionType() const {
  return app_.Setting(ModulinkApp::kConnectionSection, ModulinkApp::kTypeKey).GetInt();
}

std::u16string AppShellUnit::SerialPortSetting() const {
  return app_.Setting(ModulinkApp::kSerialSection, ModulinkApp::kPortKey).GetWString();
}

std::u16string AppShellUnit::TcpAddressSetting() const {
  return app_.Setting(ModulinkApp::kTcpSection, ModulinkApp::kAddressKey).GetWString();
}

int AppShellUnit::TcpPortSetting() const {
  return app_.Setting(ModulinkApp::kTcpSection, ModulinkApp::kPortKey).GetInt();
}

UnitId AppShellUnit::SerialNumber() const { return unit_.GetSerialNumber(); }

std::u16string AppShellUnit::ProfileFileName() const {
  return app_.Setting(ModulinkApp::kProfileSection, ModulinkApp::kFileNameKey).GetWString();
}

void AppShellUnit::SetProfileFileName(const std::u16string& path) {
  app_.Setting(ModulinkApp::kProfileSection, ModulinkApp::kFileNameKey).SetWString(path);
}
