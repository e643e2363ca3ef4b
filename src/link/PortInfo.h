#pragma once
// One serial port as the Connection page lists it.

#include <cstdint>
#include <string>

struct PortInfo {
  std::u16string devicePath;    // the name to open: "/dev/ttyUSB0"
  std::u16string portName;      // "ttyUSB0"
  std::u16string friendlyName;  // what the system calls it, often with the port in brackets at its end
  int32_t usb = 0;              // 1 for a port on a USB bus
  std::u16string displayName;   // the friendly name without its trailing bracket

  bool operator==(const PortInfo&) const = default;
};
