// Identification: the INFO ID probe and the sweep over interfaces and serial rates.

#include <string>

#include "devices/VkcCommandExchange.h"
#include "devices/VkcDeviceManager.h"
#include "devices/VkcDeviceTimeouts.h"
#include "devices/VkcPortRates.h"
#include "devices/VkcReplyParse.h"
#include "link/Utf.h"
#include "link/VkcComPort.h"
#include "link/VkcErrorProcessor.h"
#include "platform/Event.h"

namespace {

uint32_t CommandTimeout(VkcComPort* port) { return port ? port->GetReplyTimeout() : 0; }

bool IsSet(platform::Event* stop) { return stop && stop->IsSet(); }

// Reads the id; a reply without one is logged and counts as no answer.
VkcIdReply InterpretIdReply(const std::string& reply, int& id) {
  const VkcIdReply kind = InterpretInfoIdReply(reply, id);
  if (kind == VkcIdReply::Garbled) ErrorLog().ReportError(0, "Unreadable INFO ID reply \"%s\"", reply.c_str());
  return kind;
}

}  // namespace

int VkcDeviceManager::ProbeModelId(VkcComPort* port, platform::WindowHandle, platform::Event* stop) {
  const uint32_t t = CommandTimeout(port);
  VkcExchange wake;
  wake.command = "\r";
  wake.timeoutMs = t;
  wake.extra = stop;
  wake.replySize = devtimeouts::kIdentifyReply;
  wake.Run(port, {"CLI>"});  // wakes the command line; the outcome does not matter

  VkcExchange info;
  info.command = "INFO ID\r";
  info.timeoutMs = t;
  info.extra = stop;
  info.replySize = devtimeouts::kIdentifyReply;
  if (!info.Run(port, {"@0"})) return kDetectNoAnswer;
  int id = 0;
  switch (InterpretIdReply(info.reply, id)) {
    case VkcIdReply::Startup: return 0;
    case VkcIdReply::Garbled: return kDetectNoAnswer;
    case VkcIdReply::Id: return id;
  }
  return kDetectNoAnswer;
}

int VkcDeviceManager::DetectModel(VkcComPort* port, VkcDeviceInterface* preferred, platform::WindowHandle window,
                                  platform::Event* stop) {
  if (!port || interfaces_.empty()) return kDetectNoAnswer;
  const uint32_t t = CommandTimeout(port);
  const int step = 95 / (16 * static_cast<int>(interfaces_.size()));
  int p = 0;
  enum class Line { Trying, MportRate };
  auto progress = [&](Line line, uint32_t rate) {
    if (!window) return;
    if (line == Line::Trying) LogProgress(log_, window, p + 5, "Trying %u\r\n", rate);
    else LogProgress(log_, window, p + 5, "MPORT rate %u\r\n", rate);
    p += step;
  };
  // Waits for what the port still has to send, then changes its rate.
  auto setRate = [&](int index) {
    VkcExchange::WaitForTxEmpty(port, t, stop);
    port->SetBaudRate(PortRateFromIndex(index));
  };

  std::vector<VkcDeviceInterface*> order;
  if (preferred) order.push_back(preferred);
  for (const auto& [id, itf] : interfaces_) {
    if (itf.get() != preferred) order.push_back(itf.get());
  }

  for (VkcDeviceInterface* itf : order) {
    for (int r = kFastestPortRateIndex; r >= 0; --r) {
      progress(Line::Trying, PortRateFromIndex(r));
      setRate(r);
      mcu_.ProbeMcu(port, window, stop);
      const int id = ProbeModelId(port, window, stop);
      if (id != kDetectNoAnswer) {
        if (id != 0) return id;
        if (window) LogProgress(log_, window, 100, "Startup code detected\r\n");
        return kDetectStartup;
      }
      if (itf->ToCommandMode(port, 1, stop) != 0) {
        ErrorLog().ReportError(0, "Could not switch to command mode on b%d di%s ", r,
                               Utf16ToUtf8(itf->GetName()).c_str());
        if (IsSet(stop)) return kDetectNoAnswer;
        continue;
      }
      // In command mode now, at the unit's maintenance rate: walk the rates down. Every rate set
      // is tried, the last one included.
      for (int q = kFastestPortRateIndex; q >= -1; --q) {
        if (IsSet(stop)) return kDetectNoAnswer;
        port->Write("\r", 1, nullptr, -1, nullptr);
        VkcExchange pause;  // sends nothing, expects nothing: a fixed pause
        pause.timeoutMs = 2 * t;
        pause.extra = stop;
        pause.replySize = 0;
        pause.Run(port, {});
        VkcExchange info;
        info.command = "INFO ID\r";
        info.timeoutMs = t;
        info.extra = stop;
        info.replySize = devtimeouts::kIdentifyReply;
        int detected = 0;
        if (info.Run(port, {"@0", "\r\n"})) {
          switch (InterpretIdReply(info.reply, detected)) {
            case VkcIdReply::Startup:
              if (window) LogProgress(log_, window, 100, "Startup code detected\r\n");
              return kDetectStartup;
            case VkcIdReply::Id:
              LogProgress(log_, window, 100, "Device detected\r\n");
              return detected;
            case VkcIdReply::Garbled:
              break;  // as no answer
          }
        }
        if (q < 0) break;
        progress(Line::MportRate, PortRateFromIndex(q));
        setRate(q);
      }
      return kDetectNoAnswer;
    }
  }
  return kDetectNoAnswer;
}
