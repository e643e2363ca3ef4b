#include "link/VkcComPortInterface.h"

#include "link/ListenerRegistry.h"

VkcComPortInterface::~VkcComPortInterface() {
  if (ListenerRegistry* r = registry_.load()) r->Remove(this);
}

void VkcComPortInterface::OnDataReceived(const uint8_t*, size_t, VkcComPort*) {}
void VkcComPortInterface::OnDataSent(const uint8_t*, size_t, VkcComPort*) {}
void VkcComPortInterface::OnPortEvent(uint32_t, VkcComPort*) {}
void VkcComPortInterface::OnEnableChanged() {}

void VkcComPortInterface::SetEnabled(bool enabled) {
  enabled_.store(enabled, std::memory_order_release);
  OnEnableChanged();
}
