#include "sim/SimRtn.h"

namespace sim {

namespace {

void Value(SimUnit& unit, const std::string& value) {
  unit.Send(value + "\r\n@00\r\n");
  unit.Prompt();
}

void Code(SimUnit& unit, int code) {
  char text[8];
  snprintf(text, sizeof text, "@%02d\r\n", code);
  unit.Send(text);
  unit.Prompt();
}

}  // namespace

SimRtn::SimRtn(SimUnit& unit) : state_(std::make_shared<State>()) {
  std::shared_ptr<State> s = state_;
  auto handler = [s](SimUnit& u, const std::string& line) { Handle(*s, u, line); };
  for (const char* prefix : {"RTN", "GSM RSSI", "DPORT ROUTE"}) {
    unit.AddCommandHandler(prefix, handler);
    unit.AddCommandHandler(std::string("\n") + prefix, handler);
  }
}

std::string SimRtn::Setting(const std::string& key) const {
  std::lock_guard<std::mutex> g(state_->m);
  auto it = state_->settings.find(key);
  return it != state_->settings.end() ? it->second : std::string();
}

bool SimRtn::Connected() const {
  std::lock_guard<std::mutex> g(state_->m);
  return state_->connected;
}

void SimRtn::SetConnected(bool connected) {
  std::lock_guard<std::mutex> g(state_->m);
  state_->connected = connected;
}

void SimRtn::SetConnectResult(int code) {
  std::lock_guard<std::mutex> g(state_->m);
  state_->connectResult = code;
}

void SimRtn::SetConnectOutput(std::vector<std::string> chunks) {
  std::lock_guard<std::mutex> g(state_->m);
  state_->connectOutput = std::move(chunks);
}

void SimRtn::SetFailure(const std::string& prefix, int code) {
  std::lock_guard<std::mutex> g(state_->m);
  state_->failures[prefix] = code;
}

void SimRtn::SetUnanswered(const std::string& command, bool unanswered) {
  std::lock_guard<std::mutex> g(state_->m);
  if (unanswered)
    state_->unanswered.insert(command);
  else
    state_->unanswered.erase(command);
}

void SimRtn::SetStatus(const std::string& rssi, const std::string& state, const std::string& error) {
  std::lock_guard<std::mutex> g(state_->m);
  state_->rssi = rssi;
  state_->state = state;
  state_->error = error;
}

void SimRtn::SetServerHost(const std::string& host) {
  std::lock_guard<std::mutex> g(state_->m);
  state_->serverHost = host;
}

void SimRtn::Handle(State& s, SimUnit& unit, const std::string& rawLine) {
  size_t begin = 0;
  while (begin < rawLine.size() && (rawLine[begin] == '\n' || rawLine[begin] == '\0')) ++begin;
  const std::string line = rawLine.substr(begin);
  std::unique_lock<std::mutex> g(s.m);
  if (s.unanswered.count(line) != 0) return;
  auto failure = s.failures.find(line);
  if (failure != s.failures.end()) {
    int code = failure->second;
    g.unlock();
    Code(unit, code);
    return;
  }
  if (line == "GSM RSSI" || line == "RTN STATE" || line == "RTN ERROR" || line == "RTN HOSTNAME") {
    std::string value = line == "GSM RSSI" ? s.rssi : line == "RTN STATE" ? s.state
                        : line == "RTN ERROR" ? s.error : s.serverHost;
    g.unlock();
    Value(unit, value);
    return;
  }
  if (line == "RTN CONNECT") {
    std::string value = s.connected ? "1" : "0";
    g.unlock();
    Value(unit, value);
    return;
  }
  if (line == "RTN CONNECT 1" || line == "RTN CONNECT 0") {
    const int code = s.connectResult;
    const bool connect = line.back() == '1';
    if (code == 0) s.connected = connect;
    std::vector<std::string> chunks = connect ? s.connectOutput : std::vector<std::string>{"DISCONNECTED\r\n"};
    g.unlock();
    for (const std::string& chunk : chunks) unit.Send(chunk, 20);
    Code(unit, code);
    return;
  }
  // Settings: "RTN KEY value" and "DPORT ROUTE n".
  const std::string rtn = "RTN ";
  std::string key, value;
  if (line.rfind(rtn, 0) == 0) {
    size_t space = line.find(' ', rtn.size());
    key = line.substr(rtn.size(), space == std::string::npos ? std::string::npos : space - rtn.size());
    value = space == std::string::npos ? std::string() : line.substr(space + 1);
  } else if (line.rfind("DPORT ROUTE ", 0) == 0) {
    key = "ROUTE";
    value = line.substr(12);
  }
  static const std::set<std::string> kKeys = {"TYPE", "HOSTNAME", "HOSTPORT", "LOGIN", "PASSWORD", "MPOINT", "NMEA", "ROUTE"};
  if (kKeys.count(key) == 0) {
    g.unlock();
    Code(unit, 1);
    return;
  }
  s.settings[key] = value;
  g.unlock();
  Code(unit, 0);
}

}  // namespace sim
