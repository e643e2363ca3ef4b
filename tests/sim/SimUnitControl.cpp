#include "sim/SimUnitControl.h"

#include <cstdlib>

#include "link/Format.h"

namespace sim {

namespace {

std::string Trim(const std::string& line) {
  size_t begin = 0;
  while (begin < line.size() && (line[begin] == '\n' || line[begin] == '\0')) ++begin;
  return line.substr(begin);
}

void Value(SimUnit& unit, const std::string& value) {
  unit.Send(value + "\r\n@00\r\n");
  unit.Prompt();
}

void Done(SimUnit& unit) {
  unit.Send("@00\r\n");
  unit.Prompt();
}

}  // namespace

SimUnitControl::SimUnitControl(SimUnit& unit) : unit_(unit), state_(std::make_shared<State>()) {
  std::shared_ptr<State> s = state_;
  auto handler = [s](SimUnit& u, const std::string& line) { Handle(*s, u, line); };
  for (const char* prefix : {"@RX", "@BT OFF", "LINK", "STATE", "TSTUFR"}) {
    unit.AddCommandHandler(prefix, handler);
    unit.AddCommandHandler(std::string("\n") + prefix, handler);
  }
}

void SimUnitControl::SetValue(const std::string& command, const std::string& value) {
  std::lock_guard<std::mutex> g(state_->m);
  state_->values[command] = value;
  state_->failures.erase(command);
}

void SimUnitControl::SetFailure(const std::string& command, int code) {
  std::lock_guard<std::mutex> g(state_->m);
  state_->failures[command] = code;
}

void SimUnitControl::SetUnanswered(const std::string& command, bool unanswered) {
  {
    std::lock_guard<std::mutex> g(state_->m);
    if (unanswered)
      state_->unanswered.insert(command);
    else
      state_->unanswered.erase(command);
  }
  // Installed over whichever family answers the command, so any command can be silenced.
  std::shared_ptr<State> s = state_;
  unit_.AddCommandHandler(command, [s](SimUnit& u, const std::string& line) { Handle(*s, u, line); });
}

void SimUnitControl::Handle(State& s, SimUnit& unit, const std::string& rawLine) {
  const std::string line = Trim(rawLine);
  std::unique_lock<std::mutex> g(s.m);
  if (s.unanswered.count(line) != 0) return;
  auto failure = s.failures.find(line);
  if (failure != s.failures.end()) {
    int code = failure->second;
    g.unlock();
    unit.Answer("", code);
    return;
  }
  auto value = s.values.find(line);
  if (value != s.values.end()) {
    std::string text = value->second;
    g.unlock();
    Value(unit, text);
    return;
  }
  // Traffic switches and the radio's sets ("LINK MOD 2", "@RX RESBER") are accepted.
  bool isSet = line == "@RX OFF" || line == "@RX ON" || line == "@BT OFF" || line == "@RX RESBER" ||
               (line.rfind("LINK ", 0) == 0 && line.find(' ', 5) != std::string::npos);
  if (isSet) {
    g.unlock();
    Done(unit);
    return;
  }
  g.unlock();
  unit.Answer("", 1);
}

}  // namespace sim
