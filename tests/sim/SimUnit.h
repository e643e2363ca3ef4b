#pragma once
// The simulated unit: the far end of a pseudo-terminal pair. The program opens SlavePath() as its
// serial port; the unit reads what the program sends on the master side, echoes it (CR as CR LF),
// answers command lines and ends each answer with the prompt "\r\nCLI>".
//
// Command families live in files of their own (SimCommands*.cpp) and install themselves on a unit
// with AddCommandHandler (by command prefix; the longest prefix wins) or AddRawTrigger (input that
// ends without a CR, such as "####"). A family that takes over the byte stream (file transfer)
// uses SetRawInput. An exact answer set with SetAnswer wins over every handler; a line nobody
// handles gets "@01\r\n" and the prompt.
//
// Handlers run on the unit's own thread; every other member may be called from any thread.
// The thread ends on its stop event when the unit is destroyed.

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "platform/Event.h"
#include "platform/WorkerThread.h"

struct termios;

namespace sim {

class SimUnit;
using CommandHandler = std::function<void(SimUnit& unit, const std::string& line)>;
using RawInputHandler = std::function<void(SimUnit& unit, const uint8_t* data, size_t length)>;
// Maps a received line to the line the handlers see (the record keeps the line as received).
// Runs under the unit's lock: it must not call the unit.
using LineFilter = std::function<std::string(const std::string& line)>;

enum class EchoMode {
  Normal,  // every byte echoed as it arrives, CR as CR LF
  None,    // no echo
  Split,   // a line's echo is held until its CR and sent in three parts, SplitDelay apart
};

struct CommandRecord {
  std::string line;   // without the CR
  uint32_t lineRate;  // the rate the program had set when the line ended
};

class SimUnit {
 public:
  static constexpr const char* kPrompt = "\r\nCLI>";

  SimUnit();
  ~SimUnit();
  SimUnit(const SimUnit&) = delete;
  SimUnit& operator=(const SimUnit&) = delete;

  bool IsOk() const { return ok_; }
  const std::string& SlavePath() const { return slavePath_; }
  std::u16string SlavePath16() const;
  // The rate the program set on its side, read from the master (0 after a hang-up).
  uint32_t LineRate() const;
  // The line settings the program made (false after a hang-up).
  bool LineSettings(struct termios& out) const;

  // The unit's own rate. With the rate check on, input arriving while the program's rate differs
  // is not understood (recorded as bytes only) and the unit's output reaches the program garbled.
  void SetUnitRate(uint32_t rate);
  uint32_t UnitRate() const;
  void SetRateCheck(bool on);
  // The unit's rate changes once the output queued so far has gone out at the old rate.
  void SetUnitRateAfterOutput(uint32_t rate);

  // Extension points.
  void AddCommandHandler(const std::string& prefix, CommandHandler handler);
  void AddRawTrigger(const std::string& pattern, CommandHandler handler);
  void SetRawInput(RawInputHandler handler);  // nullptr returns to line mode
  void SetLineFilter(LineFilter filter);      // nullptr: lines are handled as received
  // A fixed answer to one exact command line: body, then the prompt.
  void SetAnswer(const std::string& command, const std::string& body);

  // Output, in order. delayMs counts from the end of the output queued before.
  void Send(const std::string& bytes, uint32_t delayMs = 0);
  // value "@%02d\r\n" (code), then the prompt.
  void Answer(const std::string& value, int code = 0);
  void Prompt();

  // Faults and timing.
  void SetEchoMode(EchoMode mode, uint32_t splitDelayMs = 20);
  void SetReplyDelay(uint32_t ms);   // before each answer's first byte (after the echo)
  void SetPromptDelay(uint32_t ms);  // before each prompt
  void SetOmitPrompt(bool omit);
  void SetSilent(bool silent);        // records input, sends nothing at all
  void DropOutput(size_t bytes);      // the next bytes of output are lost
  void GarbleOutput(size_t bytes);    // the next bytes of output are corrupted
  void SetPaced(bool paced);          // output at rate / 10 bytes per second
  // Closes the unit's side: the program sees the device vanish. Returns when done.
  void HangUp();

  // The record.
  std::vector<std::string> Commands() const;
  std::vector<CommandRecord> CommandRecords() const;
  std::string Received() const;  // every byte the program sent
  size_t CommandCount() const;
  bool WaitForCommands(size_t count, uint32_t ms) const;
  bool WaitForReceived(const std::string& text, uint32_t ms) const;
  void ClearRecord();

 private:
  struct Segment {
    uint64_t dueUs;
    std::string bytes;
    uint32_t rateAfter = 0;  // non-zero: the unit's rate once these bytes are out
  };

  void Run(platform::Event& stop);
  void OnInput(const uint8_t* data, size_t n);
  void Dispatch(const std::string& line);
  void FlushOutput();
  int64_t NextDueInUs();
  void EchoLocked(const std::string& bytes, uint32_t delayMs);
  void QueueLocked(const std::string& bytes, uint32_t delayMs);
  void CloseFdsLocked();
  uint32_t LineRateLocked() const;

  bool ok_ = false;
  std::string slavePath_;
  int master_ = -1;
  int slaveHold_ = -1;  // keeps the slave alive while the program has it closed

  mutable std::mutex m_;
  mutable std::condition_variable cv_;
  platform::Event wake_{platform::Event::ResetMode::Auto};
  platform::Event hungUp_{platform::Event::ResetMode::Manual};
  bool hangUpRequested_ = false;

  uint32_t unitRate_ = 115200;
  bool rateCheck_ = false;
  EchoMode echoMode_ = EchoMode::Normal;
  uint32_t splitDelayMs_ = 20;
  uint32_t replyDelayMs_ = 0;
  uint32_t promptDelayMs_ = 0;
  bool omitPrompt_ = false;
  bool silent_ = false;
  size_t dropBytes_ = 0;
  size_t garbleBytes_ = 0;
  bool paced_ = false;
  uint32_t pendingDelayMs_ = 0;  // reply delay for the next Send from a handler

  std::map<std::string, CommandHandler> handlers_;
  std::vector<std::pair<std::string, CommandHandler>> rawTriggers_;
  RawInputHandler rawInput_;
  LineFilter lineFilter_;
  std::map<std::string, std::string> answers_;

  std::string line_;          // the line being received (unit thread only)
  std::deque<Segment> queue_;
  uint64_t lastDueUs_ = 0;
  std::string outBuf_;        // due bytes not yet taken by the pty (unit thread only)

  std::vector<CommandRecord> commands_;
  std::string received_;

  std::atomic<std::thread::id> unitThread_{};
  platform::WorkerThread thread_;
};

}  // namespace sim
