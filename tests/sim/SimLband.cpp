#include "sim/SimLband.h"

#include "link/Format.h"

namespace sim {

namespace {

const char* const kQueries[] = {"STATE RSSI", "STATE FREQ", "LINK SIGTYPE", "STATE SYNC",
                                "STATE BER",  "STATE EBN0", "LINK RSID"};

// A line may begin with the line feed or the CAN bytes the program sent before it.
std::string Trim(const std::string& line) {
  size_t begin = 0;
  while (begin < line.size() && (line[begin] == '\n' || line[begin] == '\0' || line[begin] == 0x18)) ++begin;
  return line.substr(begin);
}

}  // namespace

SimLband::SimLband(SimUnit& unit) : state_(std::make_shared<State>()) {
  state_->values = {{"STATE RSSI", "-120"}, {"STATE FREQ", "1545525000"}, {"LINK SIGTYPE", "2"},
                    {"STATE SYNC", "1"},    {"STATE BER", "1.2E-5"},      {"STATE EBN0", "8"},
                    {"LINK RSID", "OMNI"}};
  std::shared_ptr<State> s = state_;
  auto handler = [s](SimUnit& u, const std::string& line) { Handle(*s, u, line); };
  for (const char* query : kQueries) {
    unit.AddCommandHandler(query, handler);
    unit.AddCommandHandler(std::string("\n") + query, handler);
  }
  unit.AddCommandHandler("@RX RESBER", handler);
  unit.AddCommandHandler("\n@RX RESBER", handler);
}

void SimLband::SetValue(const std::string& query, const std::string& value) {
  std::lock_guard<std::mutex> g(state_->m);
  state_->values[query] = value;
  state_->failures.erase(query);
}

void SimLband::SetFailure(const std::string& query, int code) {
  std::lock_guard<std::mutex> g(state_->m);
  state_->failures[query] = code;
}

void SimLband::SetDelay(const std::string& query, uint32_t ms) {
  std::lock_guard<std::mutex> g(state_->m);
  state_->delays[query] = ms;
}

int SimLband::ResetCount() const {
  std::lock_guard<std::mutex> g(state_->m);
  return state_->resets;
}

void SimLband::Handle(State& s, SimUnit& unit, const std::string& rawLine) {
  const std::string line = Trim(rawLine);
  std::string body;
  uint32_t delay = 0;
  {
    std::lock_guard<std::mutex> g(s.m);
    auto d = s.delays.find(line);
    if (d != s.delays.end()) delay = d->second;
    auto failure = s.failures.find(line);
    if (line == "@RX RESBER") {
      ++s.resets;
      body = "@00\r\n";
    } else if (failure != s.failures.end()) {
      body = StrPrintf("@%02d\r\n", failure->second);
    } else {
      auto value = s.values.find(line);
      body = (value != s.values.end() ? value->second : std::string()) + "@00\r\n";
    }
  }
  unit.Send(body, delay);
  unit.Prompt();
}

}  // namespace sim
