#include "devices/VkcDeviceInterface.h"

int VkcDeviceInterface::ToCommandMode(VkcComPort*, int) { return 0; }
int VkcDeviceInterface::ToDataMode(VkcComPort*, int) { return 0; }
void VkcDeviceInterface::SelectReceiverPort(int) {}
bool VkcDeviceInterface::Login() { return true; }
bool VkcDeviceInterface::SaveReceiverPortSettings() { return true; }
