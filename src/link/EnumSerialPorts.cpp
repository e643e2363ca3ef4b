#include "link/EnumSerialPorts.h"

#include <mutex>

#include "link/Utf.h"
#include "link/VkcErrorProcessor.h"

namespace {

std::mutex& SourceLock() {
  static std::mutex m;
  return m;
}

std::shared_ptr<PortListSource>& InstalledSource() {
  static std::shared_ptr<PortListSource> source;
  return source;
}

std::shared_ptr<PortListSource> CurrentSource() {
  std::lock_guard<std::mutex> lock(SourceLock());
  if (!InstalledSource()) return std::make_shared<SysfsPortListSource>();
  return InstalledSource();
}

// Position of the " (" that opens a trailing "(...)" after some text, or npos.
size_t TrailingBracket(const std::u16string& name) {
  if (name.empty() || name.back() != u')') return std::u16string::npos;
  const size_t pos = name.rfind(u" (");
  return (pos != std::u16string::npos && pos > 0) ? pos : std::u16string::npos;
}

}  // namespace

std::vector<PortInfo> SysfsPortListSource::List() {
  std::vector<PortInfo> list;
  for (const auto& port : platform::ScanSerialPorts(roots_)) {
    PortInfo info;
    info.devicePath = Utf8ToUtf16(port.devicePath);
    info.portName = Utf8ToUtf16(port.name);
    if (!port.description.empty()) info.friendlyName = Utf8ToUtf16(port.description + " (" + port.name + ")");
    info.usb = port.usb ? 1 : 0;
    list.push_back(std::move(info));
  }
  return list;
}

void SetPortListSource(std::shared_ptr<PortListSource> source) {
  std::lock_guard<std::mutex> lock(SourceLock());
  InstalledSource() = std::move(source);
}

void EnumSerialPorts(std::vector<PortInfo>& list, bool probe, bool /*setupFlag1*/, bool /*setupFlag2*/,
                     int /*method*/) {
  list = CurrentSource()->List();

  for (auto it = list.begin(); it != list.end();) {
    PortInfo& p = *it;
    if (probe) {
      int err = 0;
      if (!platform::ProbeSerialPort(Utf16ToUtf8(p.devicePath), &err)) {
        ErrorLog().ReportError(static_cast<uint32_t>(err), "Erase busy port %s", Utf16ToUtf8(p.friendlyName).c_str());
        it = list.erase(it);
        continue;
      }
    }
    if (p.friendlyName.empty()) {
      p.friendlyName = p.portName;
      ErrorLog().ReportError(0, "Does not have friendly name %s", Utf16ToUtf8(p.portName).c_str());
    }
    if (p.displayName.empty()) {
      const size_t cut = TrailingBracket(p.friendlyName);
      p.displayName = cut == std::u16string::npos ? p.friendlyName : p.friendlyName.substr(0, cut);
    }
    if (p.portName.empty()) {
      ErrorLog().ReportError(0, "Does not have PortName %s", Utf16ToUtf8(p.friendlyName).c_str());
      const size_t cut = TrailingBracket(p.friendlyName);
      p.portName = cut == std::u16string::npos ? p.friendlyName
                                               : p.friendlyName.substr(cut + 2, p.friendlyName.size() - cut - 3);
    }
    ++it;
  }
}
