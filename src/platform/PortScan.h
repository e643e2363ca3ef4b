#pragma once
// The machine's serial ports as the kernel lists them in sysfs: hardware ttys (not the virtual
// consoles and pseudo-terminals), 8250 ports only with a real UART behind them (the driver
// registers ports that have no hardware), and Bluetooth rfcomm ports. Every root is injectable
// so a fake tree can stand in for /sys and /dev.

#include <functional>
#include <string>
#include <vector>

namespace platform {

struct ScannedPort {
  std::string name;         // "ttyUSB0"
  std::string devicePath;   // "/dev/ttyUSB0"
  std::string description;  // "FT232R USB UART", "Bluetooth Link"; empty when nothing names it
  bool usb = false;         // the device hangs off a USB bus
  bool bluetooth = false;   // an rfcomm port
};

struct PortScanRoots {
  std::string sysClassTty = "/sys/class/tty";
  std::string serialById = "/dev/serial/by-id";
  std::string dev = "/dev";
  // Whether an 8250 port has a UART of a known type when sysfs does not say; null asks the
  // device with TIOCGSERIAL.
  std::function<bool(const std::string& devicePath)> hasUart;
};

// The ports in natural name order (ttyS2 before ttyS10).
std::vector<ScannedPort> ScanSerialPorts(const PortScanRoots& roots);

// TIOCGSERIAL reports a UART type other than "unknown".
bool SerialPortHasUart(const std::string& devicePath);

// Whether the port can be opened for reading and writing and locked exclusively right now (the
// way the serial port opens it). Closes it again. errnoOut gets the reason when it cannot.
bool ProbeSerialPort(const std::string& devicePath, int* errnoOut = nullptr);

}  // namespace platform
