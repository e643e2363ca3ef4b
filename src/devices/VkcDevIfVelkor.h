#pragma once
// "Direct": the port is the radio's own port. Switches the radio's command line and data mode
// with the radio's own commands.

#include "devices/VkcDeviceInterface.h"

class VkcDevIfVelkor : public VkcDeviceInterface {
 public:
  static constexpr int kId = 1;
  VkcDevIfVelkor() : VkcDeviceInterface(kId, u"Direct") {}

  // Cancels any transfer, then tries "DD\r" (answered "@01" in command mode), else "+++".
  int ToCommandMode(VkcComPort* port, int flag, platform::Event* stop = nullptr) override;
  // "\r", then "DATAMODE\r", waiting (within the command time-out) for its whole answer line.
  // Always 0.
  int ToDataMode(VkcComPort* port, int flag, platform::Event* stop = nullptr) override;

 protected:
  VkcDevIfVelkor(int id, std::u16string name) : VkcDeviceInterface(id, std::move(name)) {}
};
