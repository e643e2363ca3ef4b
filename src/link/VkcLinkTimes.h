#pragma once
// Nominal waits of the unit-file transfers and the TCP link, in milliseconds. Every use passes
// through platform::Scaled so tests can shrink them.

#include <cstdint>

namespace linktimes {

// XModem: how long a lone EOT or CAN must stay alone before it is taken as the end of the
// transfer rather than the first byte of a block whose SOH was lost.
constexpr uint32_t kXModemControlSettle = 50;
// XModem waits look this often whether the port is still there.
constexpr uint32_t kXModemPortCheck = 200;

// Loader.
constexpr uint32_t kLoaderBlockWait = 5000;         // sender's block wait without a cancel event
constexpr uint32_t kLoaderBlockWaitFactor = 3;      // x the port's long time-out with a cancel event
constexpr uint32_t kLoaderFileConfirmation = 95000; // confirmation after sending a disk file
constexpr uint32_t kLoaderFailurePause = 1000;      // before "@RX ON" after a failed transfer
constexpr uint32_t kLoaderPortCheck = 200;          // how often a wait for the port looks at it

// TCP client (its reply and long time-outs are the port's, in LinkTimeouts.h).
constexpr uint32_t kTcpLoginStep = 15000;           // each prompt and the outcome
constexpr uint32_t kTcpNetworkWait = 1000;          // the socket thread's wait for network events
constexpr uint32_t kTcpPortThreadJoin = 5000;
constexpr uint32_t kTcpControllerJoin = 2000;
constexpr uint32_t kTcpReconnectFirst = 1000;       // back-off before the first reconnect attempt
constexpr uint32_t kTcpReconnectCap = 8000;         // the back-off doubles up to this

}  // namespace linktimes
