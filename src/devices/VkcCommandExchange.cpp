// One exchange on a fresh command channel.

#include "devices/VkcCommandExchange.h"

#include <algorithm>
#include <vector>

#include "link/VkcConnectionInterface.h"
#include "platform/Timing.h"

bool VkcExchange::Run(VkcComPort* port, std::initializer_list<const char*> expected) {
  reply.clear();
  cut = false;
  if (!port) return false;
  VkcConnectionInterface channel(port, !echo);
  std::vector<std::string> list(expected.begin(), expected.end());
  // One byte more than asked for tells a reply that fits from one that was cut.
  std::vector<char> buffer(replySize + 1);
  const bool answered = channel.Transact(command, replySize ? buffer.data() : nullptr, replySize + 1, timeoutMs, extra,
                                         false, match, raw, list);
  if (replySize) {
    reply = buffer.data();
    cut = reply.size() > replySize - 1;
    if (cut) reply.resize(replySize - 1);
  }
  return answered;
}

bool VkcExchange::WaitForTxEmpty(VkcComPort* port, uint32_t timeoutMs, platform::Event* stop) {
  if (!port) return false;
  VkcConnectionInterface channel(port);
  if (!stop) return channel.WaitForTxEmpty(timeoutMs);
  // In slices, so a stop ends the wait soon.
  constexpr uint32_t kSliceMs = 50;
  for (uint32_t waited = 0; waited < timeoutMs; waited += kSliceMs) {
    if (stop->IsSet()) return false;
    if (channel.WaitForTxEmpty(std::min(kSliceMs, timeoutMs - waited))) return true;
  }
  return false;
}
