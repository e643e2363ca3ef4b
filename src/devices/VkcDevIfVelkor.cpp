// "Direct": mode switches with the radio's own commands.

#include "devices/VkcDevIfVelkor.h"

#include "devices/VkcCommandExchange.h"
#include "devices/VkcDeviceTimeouts.h"
#include "link/VkcComPort.h"
#include "link/VkcErrorProcessor.h"
#include "link/VkcXModemProtocol.h"
#include "platform/Event.h"
#include "platform/Timing.h"

namespace {

uint32_t CommandTimeout(VkcComPort* port) { return port ? port->GetReplyTimeout() : 0; }

}  // namespace

int VkcDevIfVelkor::ToCommandMode(VkcComPort* port, int, platform::Event* stop) {
  if (!port) return 2;
  // End any file transfer the unit may be in.
  VkcXModemProtocol(port).Cancel();
  // The command line rejects an unknown command: an answer means it is in command mode.
  VkcExchange probe;
  probe.command = "DD\r";
  probe.raw = true;
  probe.echo = false;
  probe.timeoutMs = CommandTimeout(port);
  probe.extra = stop;
  probe.replySize = 0;
  if (probe.Run(port, {"@01\r\n"})) return 0;
  // The escape needs a guard time of silence before it.
  platform::Event guard;
  (stop ? *stop : guard).Wait(platform::Scaled(devtimeouts::kEscapeGuardMs));
  VkcExchange escape;
  escape.command = "+++";
  escape.raw = true;
  escape.echo = false;
  escape.timeoutMs = CommandTimeout(port);
  escape.extra = stop;
  if (escape.Run(port, {"@0"})) return 0;
  ErrorLog().ReportError(0, "No Escape Response");
  return 2;
}

int VkcDevIfVelkor::ToDataMode(VkcComPort* port, int, platform::Event* stop) {
  if (!port) return 0;
  // "\r" written and a "\r" awaited in one exchange, so an early answer is not missed.
  VkcExchange wake;
  wake.command = "\r";
  wake.raw = true;
  wake.echo = false;
  wake.timeoutMs = CommandTimeout(port);
  wake.extra = stop;
  wake.Run(port, {"\r"});
  // The answer line is awaited whole, so none of it is taken for the data that follow (a refusal
  // ends the wait too). Raw, not an echoed command: that would wait on for a prompt data mode
  // never sends.
  VkcExchange data;
  data.command = "DATAMODE\r";
  data.raw = true;
  data.echo = false;
  data.timeoutMs = CommandTimeout(port);
  data.extra = stop;
  data.replySize = 0;
  data.Run(port, {"@00\r\n", "@01\r\n"});
  return 0;
}
