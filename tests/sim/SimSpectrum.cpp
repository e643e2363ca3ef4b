#include "sim/SimSpectrum.h"

#include <cmath>
#include <cstdio>

#include "link/Format.h"

namespace sim {

namespace {

std::string Trim(const std::string& line) {
  size_t begin = 0;
  while (begin < line.size() && (line[begin] == '\n' || line[begin] == '\0' || line[begin] == 0x18)) ++begin;
  return line.substr(begin);
}

// The reply for a code; nothing at all for kNoReply.
void Reply(SimUnit& unit, int code) {
  if (code == SimSpectrum::kNoReply) return;
  unit.Send(StrPrintf("@%02d\r\n", code));
  unit.Prompt();
}

}  // namespace

SimSpectrum::SimSpectrum(SimUnit& unit) : unit_(unit), state_(std::make_shared<State>()) {
  std::shared_ptr<State> s = state_;
  auto handler = [s](SimUnit& u, const std::string& line) { Handle(*s, u, line); };
  for (const char* prefix : {"@SA", "LINK SAR"}) {
    unit.AddCommandHandler(prefix, handler);
    unit.AddCommandHandler(std::string("\n") + prefix, handler);
  }
  thread_.Start([this](platform::Event& stop) { Stream(stop); });
}

SimSpectrum::~SimSpectrum() { thread_.Stop(); }

void SimSpectrum::SetStartReply(int code) {
  std::lock_guard<std::mutex> g(state_->m);
  state_->startReply = code;
}

void SimSpectrum::SetMasterReply(int code) {
  std::lock_guard<std::mutex> g(state_->m);
  state_->masterReply = code;
}

void SimSpectrum::SetStopReply(int code) {
  std::lock_guard<std::mutex> g(state_->m);
  state_->stopReply = code;
}

void SimSpectrum::SetLinesBeforeStopReply(uint32_t lines) {
  std::lock_guard<std::mutex> g(state_->m);
  state_->linesBeforeStopReply = lines;
}

void SimSpectrum::SetPacing(uint32_t linesPerWrite, uint32_t intervalMs) {
  std::lock_guard<std::mutex> g(state_->m);
  state_->linesPerWrite = linesPerWrite;
  state_->intervalMs = intervalMs;
}

bool SimSpectrum::IsStreaming() const {
  std::lock_guard<std::mutex> g(state_->m);
  return state_->streaming;
}

uint64_t SimSpectrum::LinesSent() const {
  std::lock_guard<std::mutex> g(state_->m);
  return state_->sent;
}

double SimSpectrum::Level(uint32_t frequency, uint32_t start, uint32_t stop) {
  const double middle = (static_cast<double>(start) + stop) / 2.0;
  const double width = (static_cast<double>(stop) - start) / 40.0 + 1.0;
  const double x = (frequency - middle) / width;
  const double ripple = 3.0 * std::sin(frequency / width);
  return -120.0 + ripple + 80.0 * std::exp(-x * x);
}

void SimSpectrum::Handle(State& s, SimUnit& unit, const std::string& rawLine) {
  const std::string line = Trim(rawLine);
  std::lock_guard<std::mutex> g(s.m);
  if (line.rfind("@SA ON", 0) == 0) {
    unsigned start = 0, stop = 0, step = 0, timeout = 0;
    if (std::sscanf(line.c_str(), "@SA ON %u %u %u %u", &start, &stop, &step, &timeout) != 4 || step == 0 ||
        stop <= start) {
      Reply(unit, 1);
      return;
    }
    Reply(unit, s.startReply);
    if (s.startReply != 0) return;
    s.start = start;
    s.stop = stop;
    s.step = step;
    s.next = 0;
  } else if (line == "LINK SAR 1") {
    Reply(unit, s.masterReply);
    // Samples flow once the analyser runs as beacon master.
    s.streaming = s.masterReply == 0 && s.step != 0;
  } else if (line == "@SA OFF") {
    if (s.streaming && s.linesBeforeStopReply != 0) unit.Send(Lines(s, s.linesBeforeStopReply));
    s.streaming = false;
    s.step = 0;  // the analyser is off: a later "LINK SAR 1" (an almanac query) streams nothing
    Reply(unit, s.stopReply);
  } else {
    Reply(unit, 1);
  }
}

std::string SimSpectrum::Lines(State& s, uint32_t count) {
  const uint32_t sweep = (s.stop - s.start) / s.step;
  std::string out;
  for (uint32_t i = 0; i < count; ++i) {
    if (s.next >= sweep) s.next = 0;
    const uint32_t f = s.start + s.next * s.step;
    out += StrPrintf("%u\t%.1f\r\n", f, Level(f, s.start, s.stop));
    ++s.next;
    ++s.sent;
  }
  return out;
}

void SimSpectrum::Stream(platform::Event& stop) {
  for (;;) {
    uint32_t interval;
    {
      std::lock_guard<std::mutex> g(state_->m);
      interval = state_->intervalMs;
    }
    if (stop.Wait(interval) == 0) return;
    std::lock_guard<std::mutex> g(state_->m);
    State& s = *state_;
    if (!s.streaming) continue;
    const std::string burst = Lines(s, s.linesPerWrite);
    // Two writes cut at a point that moves, so lines arrive split across reads.
    s.cut = (s.cut * 7 + 3) % burst.size();
    unit_.Send(burst.substr(0, s.cut));
    unit_.Send(burst.substr(s.cut), 1);
  }
}

}  // namespace sim
