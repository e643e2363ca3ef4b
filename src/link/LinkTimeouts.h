#pragma once
// Nominal time-outs and pauses of the link layer, in milliseconds. Values here are nominal: the code
// that waits passes them through platform::Scaled(), so a time-out handed from one layer to another
// (a port's reply time-out given to SendCommand) is scaled once, where the wait happens.

#include <cstdint>

namespace linktimeouts {

// Reply and long time-outs of the two transports.
constexpr uint32_t kSerialReplyMs = 1500;
constexpr uint32_t kSerialLongMs = 5000;
constexpr uint32_t kTcpReplyMs = 10000;
constexpr uint32_t kTcpLongMs = 12000;

// How long Close waits for the serial reader before logging the overrun (it keeps joining).
constexpr uint32_t kSerialReaderJoinMs = 2000;
// Poll period of the serial reader while CTS changes are watched (no descriptor reports them).
constexpr uint32_t kCtsPollMs = 20;

// Unit reboot: transmit-empty wait, settling pause, banner wait, boot-loader extra pause.
constexpr uint32_t kRebootTxEmptyMs = 500;
constexpr uint32_t kRebootSettleMs = 500;
constexpr uint32_t kRebootBannerMs = 30000;
constexpr uint32_t kRebootBootLoaderExtraMs = 7500;

}  // namespace linktimeouts
