#include "app/AppShellUnit.h"

#include "app/ModulinkApp.h"
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
  VkcComPort* port = app_.CurrentPort();
  app_.Setting(ModulinkApp::kSerialSection, ModulinkApp::kRateKey).SetInt(port != nullptr ? port->GetBaudRate() : 0);
}

int AppShellUnit::CurrentProductId() const { return -1; }

bool AppShellUnit::FactoryWrite() const { return false; }

void AppShellUnit::RefreshRoute() { devices_.GetMCUController().RefreshRoute(app_.CurrentPort()); }

void AppShellUnit::ApplyStoredRoute() { devices_.GetMCUController().ApplyStoredRoute(app_.CurrentPort()); }

VkiPostProcess* AppShellUnit::TaskTarget() { return nullptr; }

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

UnitId AppShellUnit::SerialNumber() const { return UnitId(); }
