#include "link/VkcComPort.h"

VkcComPort::VkcComPort(ListenerRegistry* registry)
    : registry_(registry ? registry : &ListenerRegistry::Global()) {}

VkcComPort::~VkcComPort() = default;

bool VkcComPort::SetTcpSettings(const TcpConnectSettings&) { return false; }
bool VkcComPort::Open(const std::u16string&, uint32_t, int, int, int) { return false; }
bool VkcComPort::SetOwnerWindow(platform::WindowHandle) { return true; }
bool VkcComPort::SetRTS(bool) { return false; }
bool VkcComPort::GetRTS() const { return false; }
bool VkcComPort::SetBaudRate(uint32_t) { return true; }
uint32_t VkcComPort::GetBaudRate() const { return 0; }
bool VkcComPort::SetFlowControl(uint32_t) { return false; }
uint32_t VkcComPort::GetFlowControl() const { return 0; }
bool VkcComPort::SetEventMask(uint32_t) { return false; }
uint32_t VkcComPort::GetModemStatus() const { return 0; }
bool VkcComPort::SetDTR(bool) { return false; }
bool VkcComPort::GetDTR() const { return false; }
bool VkcComPort::IsOpen() const { return false; }
bool VkcComPort::IsReconnecting() const { return false; }
std::u16string VkcComPort::GetPortName() const { return {}; }
void VkcComPort::GetShortPortName(std::u16string& out) const { out.clear(); }

uint32_t VkcComPort::ThreadProc(VkcComPort* port, platform::Event& stop) {
  port->RunReceiveLoop(stop);
  return 0;
}

bool VkcComPort::AddListener(VkcComPortInterface* listener, uint32_t group) {
  return registry_->Add(listener, group);
}

bool VkcComPort::RemoveListener(VkcComPortInterface* listener) { return registry_->Remove(listener); }

bool VkcComPort::EnableListenerGroup(uint32_t group, bool enable) {
  return registry_->EnableGroup(group, enable);
}

bool VkcComPort::IsListenerGroupEnabled(uint32_t group) const {
  return registry_->IsGroupEnabled(group);
}

void VkcComPort::PostPortStatus(platform::WindowHandle window, PortStatus status) {
  if (window != platform::kNoWindow) platform::PostMessage(window, kPortStatusMessage, status, 0);
}
