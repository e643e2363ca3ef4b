#pragma once
// The built-in spectrum analyser of a simulated beacon receiver. "@SA ON <start> <stop> <step>
// <timeout>" and "LINK SAR 1" answer "@00"; from then on the unit streams sample lines
// "<frequency>\t<level>\r\n" for start, start + step, ... below stop, sweep after sweep, several
// lines per write and lines cut across writes, until "@SA OFF" (answered "@00"), which turns the
// analyser off until the next "@SA ON". Each reply can be made a refusal (a code) or left out (-1).

#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "platform/WorkerThread.h"
#include "sim/SimUnit.h"

namespace sim {

class SimSpectrum {
 public:
  static constexpr int kNoReply = -1;

  // Installs on unit; unit must outlive this object.
  explicit SimSpectrum(SimUnit& unit);
  ~SimSpectrum();
  SimSpectrum(const SimSpectrum&) = delete;
  SimSpectrum& operator=(const SimSpectrum&) = delete;

  void SetStartReply(int code);   // "@SA ON ..."
  void SetMasterReply(int code);  // "LINK SAR 1"
  void SetStopReply(int code);    // "@SA OFF"
  // Sample lines still sent after "@SA OFF", in front of its answer.
  void SetLinesBeforeStopReply(uint32_t lines);
  // Lines per sweep burst and the pause between bursts.
  void SetPacing(uint32_t linesPerWrite, uint32_t intervalMs);

  bool IsStreaming() const;
  uint64_t LinesSent() const;
  // The level the unit reports at a frequency of a sweep over [start, stop): a noise floor near
  // -120 dB with one peak of -40 dB at the middle of the range.
  static double Level(uint32_t frequency, uint32_t start, uint32_t stop);

 private:
  struct State {
    mutable std::mutex m;
    int startReply = 0;
    int masterReply = 0;
    int stopReply = 0;
    uint32_t linesPerWrite = 25;
    uint32_t intervalMs = 5;
    bool streaming = false;
    uint32_t linesBeforeStopReply = 0;
    uint32_t start = 0, stop = 0, step = 0;
    uint32_t next = 0;  // index of the next line of the sweep
    uint64_t sent = 0;
    size_t cut = 7;     // where the next burst is cut in two writes
  };
  static void Handle(State& s, SimUnit& unit, const std::string& line);
  // The next lines of the sweep (under the state's lock).
  static std::string Lines(State& s, uint32_t count);
  void Stream(platform::Event& stop);

  SimUnit& unit_;
  std::shared_ptr<State> state_;
  platform::WorkerThread thread_;
};

}  // namespace sim
