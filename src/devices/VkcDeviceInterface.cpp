#include "devices/VkcDeviceInterface.h"

#include <algorithm>

#include "devices/VkcDevIfTimes.h"
#include "link/VkcConnectionInterface.h"
#include "link/VkcMessageIds.h"
#include "platform/Event.h"
#include "platform/Timing.h"

int VkcDeviceInterface::ToCommandMode(VkcComPort*, int, platform::Event*) { return 0; }
int VkcDeviceInterface::ToDataMode(VkcComPort*, int, platform::Event*) { return 0; }
void VkcDeviceInterface::SelectReceiverPort(int) {}
bool VkcDeviceInterface::Login() { return true; }
bool VkcDeviceInterface::SaveReceiverPortSettings() { return true; }

// Pass-through of gateways that keep the "$R" scripts.
namespace {

constexpr int kBaseOpenLines = 5;
constexpr int kBaseCloseLines = 3;

}  // namespace

void VkcDeviceInterface::Pause(uint32_t nominalMs) const {
  platform::Event pause;
  if (stop_)
    platform::Event::WaitAny({stop_, &pause}, platform::Scaled(nominalMs));
  else
    pause.Wait(platform::Scaled(nominalMs));
}

int VkcDeviceInterface::OpenPassThrough(VkcComPort* port, bool open, platform::WindowHandle notify, platform::Event* stop) {
  stop_ = stop;
  if (!port) return 1;
  int count = kBaseCloseLines;
  const std::vector<std::string>* script = nullptr;
  if (open) {
    if (!Login() || !SaveReceiverPortSettings()) return 3;
    script = GetOpenScript();
    count = kBaseOpenLines;
  } else {
    script = GetCloseScript();
  }
  port->Write("\r", 1, nullptr, -1, nullptr);
  platform::PostMessage(notify, kMsgProgress, kProgressPercent, 100 / count);
  Pause(devif::kScriptStartPauseMs);
  return RunScript(port, count, script, notify, open);
}

const std::vector<std::string>* VkcDeviceInterface::GetOpenScript() { return nullptr; }
const std::vector<std::string>* VkcDeviceInterface::GetCloseScript() { return nullptr; }

int VkcDeviceInterface::RunScript(VkcComPort* port, int count, const std::vector<std::string>* lines,
                                  platform::WindowHandle notify, bool checkFirst) {
  log_.Clear();
  if (!lines || !port) return 0;
  count = std::min<int>(count, static_cast<int>(lines->size()));
  VkcConnectionInterface channel(port, true);
  for (int i = 0; i < count; ++i) {
    if (i > 0) Pause(devif::kBaseLinePauseMs);
    char reply[devif::kScriptReply];
    const bool answered = channel.SendCommand((*lines)[i].c_str(), reply, sizeof reply, port->GetReplyTimeout(),
                                              stop_, false, VkcConnectionInterface::kMatchAny, false, "$R");
    platform::PostMessage(notify, kMsgProgress, kProgressPercent, (i + 1) * 100 / count);
    if (!checkFirst && i == 0) continue;
    if (!answered) return 1;
    // Only the reply's markers are shown; everything else is masked.
    std::string shown = reply;
    for (char& c : shown) {
      if (c != '\r' && c != '\n' && c != '$' && c != 'R' && c != '?') c = '.';
    }
    log_.Append(shown);
    platform::PostMessage(notify, kMsgProgress, kProgressMailbox, reinterpret_cast<intptr_t>(&log_));
    if (std::string(reply).find("$R?") != std::string::npos) return 2;
  }
  return 0;
}
