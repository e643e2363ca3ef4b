#pragma once
// Nominal pauses of the receiver gateways, in milliseconds (scaled where they are waited).

#include <cstddef>
#include <cstdint>

namespace devif {

constexpr uint32_t kQueryPauseMs = 300;        // after the CR that wakes the receiver, before a query
constexpr uint32_t kScriptStartPauseMs = 500;  // after the CR before a script
constexpr uint32_t kReceiverLinePauseMs = 500; // between receiver script lines
constexpr uint32_t kBaseLinePauseMs = 1000;    // between lines of the "$R" scripts
constexpr uint32_t kListLineWaitMs = 300;      // for a further line of a message list
constexpr int kMaxListLines = 64;              // lines of a message list read at most

constexpr size_t kQueryReply = 1024;
constexpr size_t kScriptReply = 255;

}  // namespace devif
