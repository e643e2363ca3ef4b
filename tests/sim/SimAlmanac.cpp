#include "sim/SimAlmanac.h"

#include "link/Format.h"

namespace sim {

namespace {

std::string Trim(const std::string& line) {
  size_t begin = 0;
  while (begin < line.size() && (line[begin] == '\n' || line[begin] == '\0' || line[begin] == 0x18)) ++begin;
  return line.substr(begin);
}

}  // namespace

SimAlmanac::SimAlmanac(SimUnit& unit) : state_(std::make_shared<State>()) {
  std::shared_ptr<State> s = state_;
  auto handler = [s](SimUnit& u, const std::string& line) { Handle(*s, u, line); };
  for (const char* prefix : {"SCAN ALMANAC", "LINK SAR"}) {
    unit.AddCommandHandler(prefix, handler);
    unit.AddCommandHandler(std::string("\n") + prefix, handler);
  }
}

void SimAlmanac::SetStations(std::vector<SimStation> stations) {
  std::lock_guard<std::mutex> g(state_->m);
  state_->stations = std::move(stations);
  state_->rawBody.reset();
}

std::vector<SimStation> SimAlmanac::MakeStations(int count) {
  std::vector<SimStation> out;
  for (int i = 0; i < count; ++i) {
    const uint32_t hz = 283500 + static_cast<uint32_t>(i) * (41500 / static_cast<uint32_t>(count > 1 ? count : 1));
    out.push_back({hz, -60 - (i * 40) / (count > 1 ? count - 1 : 1), i % 3, i + 1});
  }
  return out;
}

void SimAlmanac::SetRawBody(const std::string& body) {
  std::lock_guard<std::mutex> g(state_->m);
  state_->rawBody = body;
}

void SimAlmanac::SetMasterReply(int code) {
  std::lock_guard<std::mutex> g(state_->m);
  state_->masterReply = code;
}

void SimAlmanac::SetTableReply(int code) {
  std::lock_guard<std::mutex> g(state_->m);
  state_->tableReply = code;
}

std::string SimAlmanac::Line(const SimStation& station) {
  return StrPrintf("%u,%d,%d,%d\r\n", station.frequencyHz, station.level, station.type, station.id);
}

void SimAlmanac::Handle(State& s, SimUnit& unit, const std::string& rawLine) {
  const std::string line = Trim(rawLine);
  std::string body;
  {
    std::lock_guard<std::mutex> g(s.m);
    const int code = line == "LINK SAR 1" ? s.masterReply : line == "SCAN ALMANAC" ? s.tableReply : 1;
    if (code == kNoReply) return;
    if (code != 0) {
      body = StrPrintf("@%02d\r\n", code);
    } else if (line == "LINK SAR 1") {
      body = "@00\r\n";
    } else if (s.rawBody) {
      body = *s.rawBody;
    } else if (s.stations.empty()) {
      body = "EMPTY\r\n@00\r\n";
    } else {
      for (const SimStation& station : s.stations) body += Line(station);
      body += "@00\r\n";
    }
  }
  unit.Send(body);
  unit.Prompt();
}

}  // namespace sim
