#include "devices/VkcDeviceInterface.h"

int VkcDeviceInterface::ToCommandMode(VkcComPort*, int, platform::Event*) { return 0; }
int VkcDeviceInterface::ToDataMode(VkcComPort*, int, platform::Event*) { return 0; }
void VkcDeviceInterface::SelectReceiverPort(int) {}
bool VkcDeviceInterface::Login() { return true; }
bool VkcDeviceInterface::SaveReceiverPortSettings() { return true; }
