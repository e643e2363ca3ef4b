#include "devices/VkcDeviceUHFSSRX_UHF.h"

#include <mutex>

#include "devices/VkcCommandExchange.h"
#include "link/VkcComPort.h"
#include "link/VkcConnectionInterface.h"
#include "link/VkcMessageIds.h"

namespace {

constexpr size_t kInfoReply = 255;
constexpr uint32_t kNarrowBandSwitchMs = 10000;

std::mutex g_accessLock;
VkcDeviceUHFSSRX_UHF::UnitAccess g_access;

VkcDeviceUHFSSRX_UHF::UnitAccess Access() {
  std::lock_guard<std::mutex> g(g_accessLock);
  return g_access;
}

}  // namespace

void VkcDeviceUHFSSRX_UHF::SetUnitAccess(UnitAccess access) {
  std::lock_guard<std::mutex> g(g_accessLock);
  g_access = std::move(access);
}

bool VkcDeviceUHFSSRX_UHF::InitializeDevice(platform::WindowHandle window) const {
  if (window) {
    log_.Clear();
    log_.Append("Initializing device\r\n");
    platform::PostMessage(window, kMsgProgress, kProgressMailbox, reinterpret_cast<intptr_t>(&log_));
  }
  const UnitAccess access = Access();
  VkcComPort* port = access.currentPort ? access.currentPort() : nullptr;
  if (!port) return false;
  VkcExchange info;
  info.command = "INFO\r";
  info.timeoutMs = port->GetReplyTimeout();
  info.replySize = kInfoReply;
  if (!info.Run(port, {"@00"})) return false;
  if (info.reply.find("KEV400RX") != std::string::npos) return true;  // already narrow-band

  VkcExchange narrow;
  narrow.command = "NB 1\r";
  narrow.timeoutMs = kNarrowBandSwitchMs;
  narrow.replySize = kInfoReply;
  if (!narrow.Run(port, {"@00"})) return false;
  {
    VkcConnectionInterface channel(port);
    if (!channel.RebootUnit(0, nullptr, -1, -1)) return false;
  }
  return access.switchToCommandMode ? access.switchToCommandMode() : false;
}
