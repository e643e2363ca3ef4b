#pragma once
// The command channel: sends a command line to the unit and waits for the expected reply texts.
// It is a listener (group 0) for as long as it lives; senders build one on their own stack for an
// exchange or a short series. It removes the unit's echo of the command, collects the reply up to
// the prompt "\r\nCLI>", and signals the sender when the expected texts have arrived:
//   kMatchAny         the first expected text (in list order) found anywhere,
//   kMatchAllInOrder  every expected text, each after the one before (consumed as found),
//   kMatchAllAnyOrder every expected text, anywhere.
//
// After an echoed command is answered, the channel keeps collecting until the prompt arrives (or
// the port's reply time-out passes), so the reply holds every line the unit sent before "CLI>"
// and a command costs one round trip. Text is collected for the whole exchange, never between
// exchanges, and the echo is removed once, where it first occurs.
//
// Time-outs are nominal milliseconds (LinkTimeouts.h); the waits scale them.

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <string>
#include <vector>

#include "link/VkcComPort.h"
#include "link/VkcComPortInterface.h"
#include "platform/Event.h"
#include "platform/Locks.h"
#include "platform/Messages.h"

class VkcConnectionInterface : public VkcComPortInterface {
 public:
  enum MatchMode : int { kMatchAny = 0, kMatchAllInOrder = 1, kMatchAllAnyOrder = 2 };
  enum State : int { kIdle = 0, kWaitReplies = 1, kWaitCts = 2, kWaitTxEmpty = 3 };

  // noEcho: the unit at the other end does not echo commands.
  explicit VkcConnectionInterface(VkcComPort* port, bool noEcho = false);
  ~VkcConnectionInterface() override;

  // Sends command (null: only waits) and waits for the expected texts. The expected texts follow
  // raw; a null among them ends the list (as in SendCommand(..., "@00", nullptr)). The reply (after
  // the echo, cut before "\r\nCLI>") goes to replyBuffer as at most replySize - 1 characters and a
  // NUL. True when the expected texts came within timeoutMs and before extraEvent.
  template <typename... Expected>
  bool SendCommand(const char* command, char* replyBuffer, size_t replySize, uint32_t timeoutMs,
                   platform::Event* extraEvent, bool keep, int matchMode, bool raw,
                   const Expected&... expected) {
    std::vector<std::string> list;
    [[maybe_unused]] bool ended = false;
    (AddExpected(list, ended, expected), ...);
    return Transact(command, replyBuffer, replySize, timeoutMs, extraEvent, keep, matchMode, raw, list);
  }

  // Starts keeping what arrives without sending or waiting, so an answer that comes before the
  // caller is ready to wait for it (a unit's confirmation right behind a transfer) is not lost.
  // A following Transact with keep set and no command looks at it first.
  void BeginCollecting();
  // While on, an exchange keeps collecting after it ends, so a following Transact with keep set
  // misses nothing that arrived in between (an answer of several lines read line by line).
  void KeepCollecting(bool on);

  // keep: continue the earlier exchange's texts and in-order progress. raw: send the command as
  // given, the echo being the whole command; otherwise a CR is added when the command has none and
  // the echo is the command up to its first CR, plus "\r\n".
  bool Transact(const char* command, char* replyBuffer, size_t replySize, uint32_t timeoutMs,
                platform::Event* extraEvent, bool keep, int matchMode, bool raw,
                const std::vector<std::string>& expected);

  // Waits, sending nothing, for the expected texts while a progress bar (2024/2 to window) moves
  // to endPercent in steps. The reply text starts empty; the match text and progress are kept.
  template <typename... Expected>
  bool WaitForReplies(uint32_t totalMs, int endPercent, int steps, platform::WindowHandle window,
                      platform::Event* extraEvent, int matchMode, const Expected&... expected) {
    std::vector<std::string> list;
    [[maybe_unused]] bool ended = false;
    (AddExpected(list, ended, expected), ...);
    return WaitForRepliesList(totalMs, endPercent, steps, window, extraEvent, matchMode, list);
  }
  bool WaitForRepliesList(uint32_t totalMs, int endPercent, int steps, platform::WindowHandle window,
                          platform::Event* extraEvent, int matchMode, const std::vector<std::string>& expected);

  // Reboots the unit ("\rBOOT\r", or "\rBOOT IMAGE %d\r" for image >= 0), switches the port to baud
  // (unless -1) and waits up to 30 s for the start-up banner, or for "Rebooting in progress..."
  // when the unit is in its boot loader. Use a fresh channel.
  bool RebootUnit(platform::WindowHandle window, platform::Event* extraEvent, int image, int baud,
                  bool isBootLoader = false);

  // extraEvent (optional) ends the wait early, as a failure.
  bool WaitForTxEmpty(uint32_t timeoutMs, platform::Event* extraEvent = nullptr);
  bool WaitForCts(uint32_t timeoutMs);

  // The reply of the last exchange as it would be copied (cut before "\r\nCLI>"), without a size limit.
  std::string GetReply() const;
  VkcComPort* Port() const { return port_; }

  void OnDataReceived(const uint8_t* data, size_t length, VkcComPort* port) override;
  void OnPortEvent(uint32_t eventMask, VkcComPort* port) override;

 private:
  static void AddExpected(std::vector<std::string>& list, bool& ended, const char* text) {
    if (!text) ended = true;
    if (!ended) list.emplace_back(text);
  }
  static void AddExpected(std::vector<std::string>& list, bool& ended, const std::string& text) {
    if (!ended) list.push_back(text);
  }
  static void AddExpected(std::vector<std::string>&, bool& ended, std::nullptr_t) { ended = true; }

  // Under lock_: removes the echo and tests the expected texts; completes the wait when met.
  void ProcessLocked();
  void CompleteLocked();
  std::string CutReplyLocked() const;
  uint32_t WaitReply(platform::Event* extraEvent, uint32_t ms);
  // WaitReply that also ends (as a time-out) when the port is closed.
  uint32_t WaitReplyWhileOpen(platform::Event* extraEvent, uint32_t ms);
  void Pause(platform::Event* extraEvent, uint32_t nominalMs);

  VkcComPort* const port_;
  const bool noEcho_;
  std::atomic<int> state_{kIdle};
  std::atomic<bool> collecting_{false};  // an exchange is in progress: arrivals are kept
  std::atomic<bool> keepCollecting_{false};
  mutable platform::CriticalSection lock_;
  std::string match_;
  std::string reply_;
  std::string echo_;
  std::vector<std::string> expected_;
  int mode_ = kMatchAny;
  size_t progress_ = 0;
  bool echoSeen_ = false;
  bool rawCommand_ = false;  // the command went out as given: its answer may come without an echo
  bool promptWait_ = false;  // waiting for "CLI>" after the answer: the match text is not consumed
  platform::Event replyEvent_{platform::Event::ResetMode::Manual};
};
