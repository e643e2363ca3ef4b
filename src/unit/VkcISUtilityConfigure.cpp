// Operation 6 of the connected unit: the RTN service's configuring series, connect and
// disconnect, and the status commands. Runs on the progress dialog's worker.

#include <cstdlib>
#include <optional>
#include <string>

#include "link/Ansi.h"
#include "link/CommandText.h"
#include "link/Utf.h"
#include "link/VkcComPort.h"
#include "link/VkcConnectionInterface.h"
#include "link/VkcErrorProcessor.h"
#include "link/VkcMessageIds.h"
#include "devices/VkcCommandExchange.h"
#include "platform/Timing.h"
#include "unit/VkcISConfigController.h"
#include "unit/VkcISUtilityController.h"
#include "unit/VkcSystem.h"

namespace {

constexpr int kEntry = 1;
constexpr int kValueCount = 8;
// Sent in this order; the value of each comes from BuildServiceValues.
constexpr const char* kPrefixes[kValueCount] = {"RTN TYPE ",  "RTN HOSTNAME ", "RTN HOSTPORT ", "RTN LOGIN ",
                                                "RTN PASSWORD ", "RTN MPOINT ", "RTN NMEA ",    "DPORT ROUTE "};
constexpr int kHostValue = 1;
constexpr int kMountPointValue = 5;
constexpr int kNmeaValue = 6;

}  // namespace

std::vector<std::string> VkcISUtilityController::BuildServiceValues() const {
  VkcISConfigController* s = Service();
  const ServiceSettings e = s != nullptr ? s->GetSettings(kEntry) : ServiceSettings();
  const int port = s != nullptr ? s->GetPort(kEntry) : 1;
  const std::u16string host = s != nullptr ? s->GetHostName(kEntry) : std::u16string();
  return {std::to_string(serviceIndex_.load()),
          WideToAnsi(host),
          std::to_string(port),
          WideToAnsi(e.login),
          WideToAnsi(e.password),
          WideToAnsi(s != nullptr ? s->GetMountPoint(kEntry) : std::u16string()),
          WideToAnsi(s != nullptr ? s->GetNmeaMessage(kEntry) : std::u16string()),
          std::to_string(e.routing)};
}

std::string VkcISUtilityController::SendStatusCommand(const char* command, platform::Event* stop) {
  VkcExchange exchange;
  exchange.command = command;
  exchange.timeoutMs = system_.GetCommandTimeout();
  exchange.extra = stop;
  exchange.replySize = 256;
  if (!exchange.Run(system_.GetCurrentPort(), {"\r"})) {
    ErrorLog().ReportError(0, "No response on command RTN status commands ");
    return "NULL";
  }
  // The value stands on its own line. Ahead of it may come a line end the echo left (LF, or
  // CR LF): at most one is skipped, and never the one an empty value ends with, right before the
  // answer code, so an empty value stays empty instead of reading as "@00".
  const std::string& reply = exchange.reply;
  const size_t lineEnd = reply.compare(0, 2, "\r\n") == 0 ? 2 : reply.compare(0, 1, "\n") == 0 ? 1 : 0;
  if (lineEnd != 0 && reply.compare(lineEnd, 2, "@0") == 0) return std::string();
  const size_t begin = lineEnd;
  const size_t end = reply.find('\r', begin);
  return reply.substr(begin, end == std::string::npos ? std::string::npos : end - begin);
}

bool VkcISUtilityController::QueryStatus(platform::Event* stop) {
  std::u16string RtnStatusRecord::*fields[] = {&RtnStatusRecord::rssi, &RtnStatusRecord::state,
                                               &RtnStatusRecord::error};
  const char* commands[] = {"GSM RSSI\r\n", "RTN STATE\r\n", "RTN ERROR\r\n"};
  for (int i = 0; i < 3; ++i) {
    std::string text = SendStatusCommand(commands[i], stop);
    if (text == "NULL") return false;
    std::lock_guard<std::mutex> g(statusMutex_);
    status_.*fields[i] = AnsiToWide(text);
  }
  return true;
}

bool VkcISUtilityController::CheckConnectState(bool connect, platform::Event* stop) {
  const int running = std::atoi(SendStatusCommand("RTN CONNECT\r\n", stop).c_str());
  const char* warning = nullptr;
  if (connect && running != 0) warning = "RTN service is connected. \r\n Please disconnect it at first!";
  if (!connect && running == 0) warning = "The RTN service is already disconnected!";
  if (warning == nullptr) return true;
  std::lock_guard<std::mutex> g(statusMutex_);
  pendingMessage_ = warning;
  return false;
}

uint32_t VkcISUtilityController::ConfigureService(bool connect, platform::WindowHandle notify, platform::Event& stop) {
  {
    std::lock_guard<std::mutex> g(statusMutex_);
    pendingMessage_.clear();
    statusAfterFailure_ = false;
  }
  // A disconnect first lets the monitor end: it may be in the middle of a poll.
  while (monitorRunning_.load()) {
    if (platform::Event::WaitAny({&UtilityFinishedEvent(), &stop}, platform::Scaled(kMonitorPeriodMs)) == 1) {
      return static_cast<uint32_t>(kResultStopped);
    }
  }
  VkcComPort* port = system_.GetCurrentPort();
  progress_.store(10);
  progressWindow_.store(notify);
  PostProgress(kProgressPercent, progress_.load());
  int result = kResultOk;
  if (system_.GetCurrentDevice() != nullptr && !system_.SwitchToCommandMode(true)) {
    result = kResultMonitorFailed;
  } else if (!CheckConnectState(connect, &stop)) {
    result = kResultOk;  // the unit is already as asked; its warning is shown
  } else {
    if (connect) result = SendServiceValues(port, stop);
    if (result == kResultOk) result = RunConnectCommand(port, connect, stop);
    if (result == kResultCouldNot) {
      bool queried = QueryStatus(&stop);
      std::lock_guard<std::mutex> g(statusMutex_);
      statusAfterFailure_ = queried;
    }
  }
  progressWindow_.store(platform::kNoWindow);
  return static_cast<uint32_t>(result);
}

int VkcISUtilityController::SendServiceValues(VkcComPort* port, platform::Event& stop) {
  if (port == nullptr || !CheckServiceValues().empty()) return kResultCommandFailed;
  port->Write("\r", 1, nullptr, -1, nullptr);
  log_.Append("Configuring RTN service\r\n");
  PostProgress(kProgressMailbox, reinterpret_cast<intptr_t>(&log_));
  const std::vector<std::string> values = BuildServiceValues();
  const bool host = UsesHostName();
  const bool mountPoint = UsesMountPoint();
  VkcConnectionInterface channel(port);
  for (int i = 0; i < kValueCount; ++i) {
    if (i == kHostValue && !host) continue;
    if ((i == kMountPointValue || i == kNmeaValue) && !mountPoint) continue;
    const std::optional<std::string> command = CommandWithValue(kPrefixes[i], values[static_cast<size_t>(i)], {});
    if (!command || !channel.SendCommand(command->c_str(), nullptr, 0, port->GetReplyTimeout(), &stop, false,
                             VkcConnectionInterface::kMatchAny, false, "@00")) {
      return kResultCommandFailed;
    }
  }
  return kResultOk;
}

int VkcISUtilityController::RunConnectCommand(VkcComPort* port, bool connect, platform::Event& stop) {
  if (port == nullptr) return kResultNoResponse;
  VkcConnectionInterface channel(port);
  // The unit reports its progress while it connects: it goes to the progress log.
  port->AddListener(this, kListenerGroupProtocol);
  const bool answered = channel.SendCommand(connect ? "RTN CONNECT 1" : "RTN CONNECT 0", nullptr, 0,
                                            kConnectTimeoutMs, &stop, false, VkcConnectionInterface::kMatchAny,
                                            false, "@0");
  int result = kResultOk;
  if (!answered) {
    ErrorLog().ReportError(0, "No response on command RTN CONNECT ");
    result = kResultNoResponse;
  } else {
    PostProgress(kProgressPercent, 100);
    const std::string reply = channel.GetReply();
    const size_t at = reply.find("@0");
    if (at != std::string::npos) {
      const char digit = at + 2 < reply.size() ? reply[at + 2] : '\0';
      result = digit >= '0' && digit <= '9' ? digit - '0' : kResultBadReply;
    }
    channel.SendCommand(nullptr, nullptr, 0, port->GetReplyTimeout(), &stop, true, VkcConnectionInterface::kMatchAny,
                        false, "\r\n");
  }
  port->RemoveListener(this);
  return result;
}

void VkcISUtilityController::OnDataReceived(const uint8_t* data, size_t length, VkcComPort*) {
  std::u16string text = AnsiToWide(std::string_view(reinterpret_cast<const char*>(data), length));
  for (char16_t& c : text) {
    if (c < 0x20 && c != u'\r' && c != u'\n') c = u'.';
  }
  log_.Append(Utf16ToUtf8(text));
  PostProgress(kProgressMailbox, reinterpret_cast<intptr_t>(&log_));
  if (text.find(u"..") != std::u16string::npos || text.find(u'\n') != std::u16string::npos) {
    const int value = progress_.fetch_add(10) + 10;
    PostProgress(kProgressPercent, value < 100 ? value : 100);
  }
}
