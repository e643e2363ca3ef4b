#include "link/VkcConnectionInterface.h"

#include <algorithm>
#include <cstring>
#include <mutex>

#include "link/Format.h"
#include "link/LinkTimeouts.h"
#include "link/WaitWithProgress.h"
#include "platform/Timing.h"

namespace {
constexpr const char* kPromptCut = "\r\nCLI>";
constexpr const char* kPrompt = "CLI>";
constexpr uint32_t kPortCheckMs = 200;  // how often a reply wait looks whether the port is still there
}  // namespace

VkcConnectionInterface::VkcConnectionInterface(VkcComPort* port, bool noEcho)
    : port_(port), noEcho_(noEcho) {
  if (port_) port_->AddListener(this, kListenerGroupProtocol);
}

VkcConnectionInterface::~VkcConnectionInterface() {
  if (port_) port_->RemoveListener(this);
}

uint32_t VkcConnectionInterface::WaitReply(platform::Event* extraEvent, uint32_t ms) {
  uint32_t scaled = platform::Scaled(ms);
  if (extraEvent) return platform::Event::WaitAny({&replyEvent_, extraEvent}, scaled);
  return replyEvent_.Wait(scaled);
}

uint32_t VkcConnectionInterface::WaitReplyWhileOpen(platform::Event* extraEvent, uint32_t ms) {
  if (!port_) return WaitReply(extraEvent, ms);
  // In slices: a port that closes or hangs up sets no event of ours, and no reply comes after it.
  const uint64_t until = platform::NowMs() + platform::Scaled(ms);
  for (;;) {
    const uint64_t now = platform::NowMs();
    const uint32_t slice = static_cast<uint32_t>(
        std::min<uint64_t>(until > now ? until - now : 0, std::max<uint32_t>(platform::Scaled(kPortCheckMs), 1)));
    const uint32_t r = extraEvent ? platform::Event::WaitAny({&replyEvent_, extraEvent}, slice) : replyEvent_.Wait(slice);
    if (r != platform::kWaitTimeout || platform::NowMs() >= until || !port_->IsOpen()) return r;
  }
}

void VkcConnectionInterface::Pause(platform::Event* extraEvent, uint32_t nominalMs) {
  // A fixed pause that still ends when the caller's stop event is set.
  if (!extraEvent) {
    platform::SleepMs(platform::Scaled(nominalMs));
    return;
  }
  // A wait takes an auto-reset signal: give it back for the wait that follows.
  if (extraEvent->Wait(platform::Scaled(nominalMs)) == 0) extraEvent->Set();
}

bool VkcConnectionInterface::Transact(const char* command, char* replyBuffer, size_t replySize,
                                      uint32_t timeoutMs, platform::Event* extraEvent, bool keep,
                                      int matchMode, bool raw, const std::vector<std::string>& expected) {
  std::string sent;
  {
    std::lock_guard<platform::CriticalSection> g(lock_);
    if (!keep) {
      match_.clear();
      reply_.clear();
      progress_ = 0;
    }
    mode_ = matchMode;
    expected_ = expected;
    echoSeen_ = false;
    rawCommand_ = raw;
    replyEvent_.Reset();
    if (command) {
      echo_ = command;
      sent = command;
      if (!raw) {
        size_t cr = echo_.find('\r');
        if (cr == std::string::npos)
          sent += '\r';
        else
          echo_.resize(cr);
        echo_ += "\r\n";
      }
      if (noEcho_) echo_.clear();
    } else {
      echo_.clear();
      echoSeen_ = true;
    }
    collecting_.store(true);
    state_.store(kWaitReplies);
    // Waiting on (no command) in a kept exchange: what has arrived already may hold what is
    // expected now. With a new command, the echo first clears out what came before it.
    if (keep && !command && !match_.empty()) ProcessLocked();
  }
  // Never under the channel's lock: the port's write takes the registry lock (lock order).
  if (command && port_) port_->Write(sent.c_str(), -1, nullptr, -1, nullptr);

  bool answered = WaitReplyWhileOpen(extraEvent, timeoutMs) == 0;
  bool promptWait = false;
  if (answered) {
    std::lock_guard<platform::CriticalSection> g(lock_);
    if (echoSeen_) {
      // The answer came: wait on for the prompt, collecting the rest of the reply. A prompt that
      // has arrived already completes this wait at once.
      promptWait = true;
      promptWait_ = true;
      progress_ = 0;
      expected_.assign(1, kPrompt);
      replyEvent_.Reset();
      state_.store(kWaitReplies);
      ProcessLocked();
    }
  }
  if (promptWait && port_) WaitReplyWhileOpen(extraEvent, port_->GetReplyTimeout());

  std::lock_guard<platform::CriticalSection> g(lock_);
  state_.store(kIdle);
  collecting_.store(keepCollecting_.load());
  promptWait_ = false;
  if (replyBuffer && replySize) {
    std::string reply = CutReplyLocked();
    size_t n = std::min(reply.size(), replySize - 1);
    n = std::min(n, std::strlen(reply.c_str()));  // the copy ends at the first NUL
    std::memcpy(replyBuffer, reply.data(), n);
    replyBuffer[n] = '\0';
  }
  return answered;
}

void VkcConnectionInterface::BeginCollecting() {
  std::lock_guard<platform::CriticalSection> g(lock_);
  match_.clear();
  reply_.clear();
  progress_ = 0;
  collecting_.store(true);
}

void VkcConnectionInterface::KeepCollecting(bool on) {
  std::lock_guard<platform::CriticalSection> g(lock_);
  keepCollecting_.store(on);
  if (!on && state_.load() != kWaitReplies) collecting_.store(false);
}

std::string VkcConnectionInterface::CutReplyLocked() const {
  size_t cut = reply_.find(kPromptCut);
  return cut == std::string::npos ? reply_ : reply_.substr(0, cut);
}

std::string VkcConnectionInterface::GetReply() const {
  std::lock_guard<platform::CriticalSection> g(lock_);
  return CutReplyLocked();
}

void VkcConnectionInterface::OnDataReceived(const uint8_t* data, size_t length, VkcComPort*) {
  if (!collecting_.load() && state_.load() != kWaitReplies) return;
  std::lock_guard<platform::CriticalSection> g(lock_);
  if (!collecting_.load() && state_.load() != kWaitReplies) return;
  match_.append(reinterpret_cast<const char*>(data), length);
  reply_.append(reinterpret_cast<const char*>(data), length);
  ProcessLocked();
}

void VkcConnectionInterface::ProcessLocked() {
  if (!echo_.empty() && !echoSeen_) {
    // Once the whole echo is there, it and whatever came before it are dropped.
    size_t m = match_.find(echo_);
    if (m != std::string::npos) match_.erase(0, m + echo_.size());
    size_t r = reply_.find(echo_);
    if (r != std::string::npos) {
      echoSeen_ = true;
      reply_.erase(0, r + echo_.size());
    }
    // Until a command line's echo is there, what arrived is the tail of an earlier answer (a paced
    // line still delivering it): it must not complete this command's wait. A raw command (an
    // escape, a probe) may get an answer without an echo, so it matches at once.
    if (!echoSeen_ && !rawCommand_) return;
  }
  if (state_.load() != kWaitReplies || expected_.empty()) return;
  if (promptWait_) {
    // Only looked for: what was collected stays for an exchange that keeps it.
    if (match_.find(kPrompt) != std::string::npos) CompleteLocked();
    return;
  }
  switch (mode_) {
    case kMatchAny:
      for (const auto& e : expected_) {
        if (match_.find(e) != std::string::npos) {
          CompleteLocked();
          return;
        }
      }
      break;
    case kMatchAllInOrder:
      while (progress_ < expected_.size()) {
        size_t at = match_.find(expected_[progress_]);
        if (at == std::string::npos) break;
        match_.erase(0, at + expected_[progress_].size());
        ++progress_;
      }
      if (progress_ >= expected_.size()) CompleteLocked();
      break;
    case kMatchAllAnyOrder:
      if (std::all_of(expected_.begin(), expected_.end(),
                      [&](const std::string& e) { return match_.find(e) != std::string::npos; }))
        CompleteLocked();
      break;
    default:
      break;
  }
}

void VkcConnectionInterface::CompleteLocked() {
  state_.store(kIdle);
  replyEvent_.Set();
}

void VkcConnectionInterface::OnPortEvent(uint32_t eventMask, VkcComPort* port) {
  int state = state_.load();
  if (state == kWaitCts && (eventMask & kEvCts)) {
    if (port && (port->GetModemStatus() & kMsCtsOn)) {
      std::lock_guard<platform::CriticalSection> g(lock_);
      if (state_.load() == kWaitCts) CompleteLocked();
    }
  } else if (state == kWaitTxEmpty && (eventMask & kEvTxEmpty)) {
    std::lock_guard<platform::CriticalSection> g(lock_);
    if (state_.load() == kWaitTxEmpty) CompleteLocked();
  }
}

bool VkcConnectionInterface::WaitForRepliesList(uint32_t totalMs, int endPercent, int steps,
                                                platform::WindowHandle window, platform::Event* extraEvent,
                                                int matchMode, const std::vector<std::string>& expected) {
  {
    std::lock_guard<platform::CriticalSection> g(lock_);
    reply_.clear();
    mode_ = matchMode;
    expected_ = expected;
    echo_.clear();
    echoSeen_ = true;
    replyEvent_.Reset();
    collecting_.store(true);
    state_.store(kWaitReplies);
    if (!match_.empty()) ProcessLocked();
  }
  uint32_t r = extraEvent ? WaitWithProgress(0, endPercent, steps, totalMs, window, {&replyEvent_, extraEvent})
                          : WaitWithProgress(0, endPercent, steps, totalMs, window, {&replyEvent_});
  std::lock_guard<platform::CriticalSection> g(lock_);
  state_.store(kIdle);
  collecting_.store(false);
  return r == 0;
}

bool VkcConnectionInterface::WaitForTxEmpty(uint32_t timeoutMs, platform::Event* extraEvent) {
  {
    std::lock_guard<platform::CriticalSection> g(lock_);
    replyEvent_.Reset();
    state_.store(kWaitTxEmpty);
  }
  bool done = WaitReply(extraEvent, timeoutMs) == 0;
  state_.store(kIdle);
  return done;
}

bool VkcConnectionInterface::WaitForCts(uint32_t timeoutMs) {
  {
    std::lock_guard<platform::CriticalSection> g(lock_);
    replyEvent_.Reset();
    state_.store(kWaitCts);
  }
  bool done = WaitReply(nullptr, timeoutMs) == 0;
  state_.store(kIdle);
  return done;
}

bool VkcConnectionInterface::RebootUnit(platform::WindowHandle window, platform::Event* extraEvent,
                                        int image, int baud, bool isBootLoader) {
  {
    std::lock_guard<platform::CriticalSection> g(lock_);
    reply_.clear();
    expected_.clear();
    if (isBootLoader)
      expected_.assign(1, "Rebooting in progress...");
    else
      expected_ = {"Real Time", "\r\n"};
    echo_.clear();
    echoSeen_ = true;
  }
  std::string command = image < 0 ? std::string("\rBOOT\r") : StrPrintf("\rBOOT IMAGE %d\r", image);
  if (port_) port_->Write(command.c_str(), -1, nullptr, -1, nullptr);
  WaitForTxEmpty(linktimeouts::kRebootTxEmptyMs);
  Pause(extraEvent, linktimeouts::kRebootSettleMs);
  if (baud != -1 && port_) port_->SetBaudRate(static_cast<uint32_t>(baud));
  {
    std::lock_guard<platform::CriticalSection> g(lock_);
    replyEvent_.Reset();
    mode_ = kMatchAllInOrder;
    collecting_.store(true);
    state_.store(kWaitReplies);
  }
  uint32_t r = extraEvent
                   ? WaitWithProgress(0, 100, 100, linktimeouts::kRebootBannerMs, window, {&replyEvent_, extraEvent})
                   : WaitWithProgress(0, 100, 100, linktimeouts::kRebootBannerMs, window, {&replyEvent_});
  if (isBootLoader) Pause(extraEvent, linktimeouts::kRebootBootLoaderExtraMs);
  std::lock_guard<platform::CriticalSection> g(lock_);
  state_.store(kIdle);
  collecting_.store(false);
  return r == 0;
}
