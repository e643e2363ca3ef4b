#pragma once
// KEV400Rx(UHFSSRX): a receiver that may still run the frequency-hopping firmware; initialising it
// switches such a unit to the narrow-band firmware ("NB 1"), waits for its restart and returns it
// to the command line.

#include <functional>

#include "devices/VkcDeviceKEV400Rx.h"
#include "link/VkcLogMessage.h"

class VkcDeviceUHFSSRX_UHF : public VkcDeviceKEV400Rx {
 public:
  static constexpr int kKey = 111;
  VkcDeviceUHFSSRX_UHF() { ApplyModelConstants(kKey); }

  // What initialising needs of the connected unit: its current port and the switch of the unit
  // to command mode. The connected unit installs it.
  struct UnitAccess {
    std::function<VkcComPort*()> currentPort;
    std::function<bool()> switchToCommandMode;
  };
  static void SetUnitAccess(UnitAccess access);

  bool InitializeDevice(platform::WindowHandle window) const override;
  VkcLogMessage& GetLog() const { return log_; }

 private:
  mutable VkcLogMessage log_;
};
