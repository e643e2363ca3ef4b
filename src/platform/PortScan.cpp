#include "platform/PortScan.h"

#include <fcntl.h>
#include <linux/serial.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <map>
#include <system_error>

#include "platform/Files.h"

namespace fs = std::filesystem;

namespace platform {

namespace {

constexpr size_t kMaxAttribute = 4096;
constexpr int kMaxParentLevels = 32;

// A sysfs attribute's first line, or empty.
std::string ReadAttribute(const fs::path& path) {
  std::vector<uint8_t> bytes;
  std::string err;
  if (ReadWholeFile(path.string(), bytes, kMaxAttribute, &err) != ReadResult::Ok) return {};
  std::string s(bytes.begin(), bytes.end());
  const size_t nl = s.find_first_of("\r\n");
  if (nl != std::string::npos) s.resize(nl);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.pop_back();
  return s;
}

// The name a symlink points to (its last component), or empty.
std::string LinkTargetName(const fs::path& link) {
  std::error_code ec;
  const fs::path target = fs::read_symlink(link, ec);
  return ec ? std::string() : target.filename().string();
}

fs::path Canonical(const fs::path& p) {
  std::error_code ec;
  fs::path c = fs::canonical(p, ec);
  return ec ? fs::path() : c;
}

bool IsUnder(const fs::path& p, const std::string& component) {
  for (const auto& part : p) {
    if (part == component) return true;
  }
  return false;
}

// Walks from the device up its parents (bounded), calling visit until it answers true.
template <typename Visit>
bool WalkUp(fs::path dir, Visit visit) {
  for (int i = 0; i < kMaxParentLevels && !dir.empty() && dir != dir.root_path(); ++i) {
    if (visit(dir)) return true;
    dir = dir.parent_path();
  }
  return false;
}

bool NaturalLess(const std::string& a, const std::string& b) {
  size_t i = 0, j = 0;
  while (i < a.size() && j < b.size()) {
    const bool da = a[i] >= '0' && a[i] <= '9', db = b[j] >= '0' && b[j] <= '9';
    if (da && db) {
      size_t ei = i, ej = j;
      while (ei < a.size() && a[ei] >= '0' && a[ei] <= '9') ++ei;
      while (ej < b.size() && b[ej] >= '0' && b[ej] <= '9') ++ej;
      // Compare the runs as numbers: without leading zeros, the longer run is larger.
      size_t si = a.find_first_not_of('0', i), sj = b.find_first_not_of('0', j);
      si = std::min(si, ei);
      sj = std::min(sj, ej);
      if (ei - si != ej - sj) return ei - si < ej - sj;
      const int c = a.compare(si, ei - si, b, sj, ej - sj);
      if (c != 0) return c < 0;
      i = ei;
      j = ej;
    } else {
      if (a[i] != b[j]) return a[i] < b[j];
      ++i;
      ++j;
    }
  }
  return a.size() - i < b.size() - j;
}

// by-id names by the tty they point to: "usb-FTDI_FT232R_USB_UART_A12-if00-port0" -> ttyUSB0.
std::map<std::string, std::string> ReadById(const std::string& folder) {
  std::map<std::string, std::string> byTty;
  std::error_code ec;
  // Iterated with error codes: a folder that changes under us ends the walk, never throws.
  for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
    const std::string target = LinkTargetName(it->path());
    if (!target.empty()) byTty.emplace(target, it->path().filename().string());
  }
  return byTty;
}

// "usb-FTDI_FT232R_USB_UART_A12-if00-port0" -> "FTDI FT232R USB UART A12".
std::string DescriptionFromById(std::string id) {
  const size_t dash = id.find('-');
  if (dash != std::string::npos && dash + 1 < id.size()) id.erase(0, dash + 1);
  const size_t tail = id.rfind("-if");
  if (tail != std::string::npos && tail > 0) id.resize(tail);
  std::replace(id.begin(), id.end(), '_', ' ');
  return id;
}

// The legacy 8250 driver registers its ports whether or not a UART answers: its device is
// "serial8250" itself (older kernels) or a port device below it ("serial8250:0.1").
bool Is8250Port(const fs::path& device) {
  if (LinkTargetName(device / "driver") == "serial8250") return true;
  for (const auto& part : device) {
    if (part.string().rfind("serial8250", 0) == 0) return true;
  }
  return false;
}

// Whether a serial-core port has a UART behind it. Its "type" attribute is the type TIOCGSERIAL
// reports (0: unknown); without it an 8250 port is asked directly.
bool HasUart(const fs::path& ttyDir, const fs::path& device, const std::string& devicePath,
             const PortScanRoots& roots) {
  const std::string type = ReadAttribute(ttyDir / "type");
  if (!type.empty()) return type != "0";
  if (!Is8250Port(device)) return true;
  return roots.hasUart ? roots.hasUart(devicePath) : SerialPortHasUart(devicePath);
}

}  // namespace

std::vector<ScannedPort> ScanSerialPorts(const PortScanRoots& roots) {
  std::vector<ScannedPort> ports;
  const auto byId = ReadById(roots.serialById);
  std::error_code ec;
  for (fs::directory_iterator it(roots.sysClassTty, ec), end; !ec && it != end; it.increment(ec)) {
    const fs::directory_entry& entry = *it;
    ScannedPort port;
    port.name = entry.path().filename().string();
    port.devicePath = roots.dev + "/" + port.name;
    port.bluetooth = port.name.rfind("rfcomm", 0) == 0;

    const fs::path ttyDir = Canonical(entry.path());
    if (ttyDir.empty()) continue;
    const fs::path device = Canonical(ttyDir / "device");
    if (!port.bluetooth && (device.empty() || IsUnder(ttyDir, "virtual"))) continue;
    if (!device.empty() && !HasUart(ttyDir, device, port.devicePath, roots)) continue;

    if (!device.empty()) {
      port.usb = WalkUp(device, [](const fs::path& d) { return LinkTargetName(d / "subsystem") == "usb"; });
    }
    if (port.usb) {
      // The names of the USB device itself (the first parent with a vendor id), never of a hub
      // or host controller further up.
      WalkUp(device, [&](const fs::path& d) {
        if (ReadAttribute(d / "idVendor").empty()) return false;
        port.description = ReadAttribute(d / "product");
        if (port.description.empty()) port.description = ReadAttribute(d / "manufacturer");
        return true;
      });
    }
    if (port.description.empty()) {
      auto id = byId.find(port.name);
      if (id != byId.end()) port.description = DescriptionFromById(id->second);
    }
    if (port.description.empty() && port.bluetooth) port.description = "Bluetooth Link";
    if (port.description.empty() && port.usb) port.description = "USB Serial";
    ports.push_back(std::move(port));
  }
  std::sort(ports.begin(), ports.end(),
            [](const ScannedPort& a, const ScannedPort& b) { return NaturalLess(a.name, b.name); });
  return ports;
}

bool SerialPortHasUart(const std::string& devicePath) {
  const int fd = ::open(devicePath.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return false;
  serial_struct info{};
  const bool known = ::ioctl(fd, TIOCGSERIAL, &info) == 0 && info.type != PORT_UNKNOWN;
  ::close(fd);
  return known;
}

bool ProbeSerialPort(const std::string& devicePath, int* errnoOut) {
  const int fd = ::open(devicePath.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) {
    if (errnoOut) *errnoOut = errno;
    return false;
  }
  const bool free = ::flock(fd, LOCK_EX | LOCK_NB) == 0;
  if (!free && errnoOut) *errnoOut = errno;
  ::close(fd);  // also drops the lock
  return free;
}

}  // namespace platform
