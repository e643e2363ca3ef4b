#pragma once
// Nominal time-outs and pauses of the device model, in milliseconds. Exchanges hand them to the
// command channel, which scales them where it waits; local pauses go through platform::Scaled.

#include <cstddef>
#include <cstdint>

namespace devtimeouts {

// MCU command line: getters and setters, the "####" probe during identification, the settling
// pause after the UART rate changed.
constexpr uint32_t kMcuCommandMs = 2000;
constexpr uint32_t kMcuProbeMs = 1000;
constexpr uint32_t kMcuRateSettleMs = 3000;

// "Direct" interface: the pause of silence before the "+++" escape.
constexpr uint32_t kEscapeGuardMs = 1000;

// Reply buffers of the device model's exchanges.
constexpr size_t kPortCommandReply = 50;
constexpr size_t kIdentifyReply = 100;

}  // namespace devtimeouts
