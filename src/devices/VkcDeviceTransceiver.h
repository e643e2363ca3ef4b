#pragma once
// A radio that sends and receives: the base of every transceiver model.

#include "devices/VkcDevice.h"

class VkcDeviceTransceiver : public virtual VkcDevice {
 public:
  bool IsTransceiver() const override { return true; }
};
