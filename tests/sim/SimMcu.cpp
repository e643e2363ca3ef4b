#include "sim/SimMcu.h"

namespace sim {

namespace {

// "JLBT NAME x" -> value "x" after the keyword; empty for a query.
bool SplitSet(const std::string& line, const std::string& keyword, std::string& value) {
  if (line == keyword) return false;
  value = line.substr(keyword.size() + 1);
  return true;
}

}  // namespace

SimMcu::SimMcu(SimUnit& unit, McuState state) : state_(std::move(state)) {
  unit.AddRawTrigger("####", [this](SimUnit& u, const std::string&) {
    {
      std::lock_guard<std::mutex> g(m_);
      open_ = true;
    }
    u.Send("@00\r\n");
  });
  for (const char* word : {"JLROUTE", "JLDEV", "JLBT", "MCU CLI OFF"}) {
    unit.AddCommandHandler(word, [this](SimUnit& u, const std::string& line) { OnLine(u, line); });
  }
}

bool SimMcu::InCommandLine() const {
  std::lock_guard<std::mutex> g(m_);
  return open_;
}

McuState SimMcu::State() const {
  std::lock_guard<std::mutex> g(m_);
  return state_;
}

void SimMcu::Reply(SimUnit& unit, const std::string& value, bool radioForm) {
  if (radioForm) return unit.Answer(value + "\r\n");
  unit.Send(value + "@00\r\n");
  unit.Prompt();
}

void SimMcu::OnLine(SimUnit& unit, const std::string& line) {
  std::unique_lock<std::mutex> g(m_);
  if (!open_) {
    g.unlock();
    return unit.Answer("", 1);  // the radio does not know the MCU's commands
  }
  McuState& s = state_;
  const bool form = s.radioReplyForm;
  std::string v;
  std::string reply;
  bool query = true;
  bool known = true;
  uint32_t newRate = 0;
  if (line == "MCU CLI OFF") {
    open_ = false;
    query = false;
  } else if (line.rfind("JLROUTE", 0) == 0) {
    if (SplitSet(line, "JLROUTE", v)) s.route = v, query = false;
    else reply = s.route;
  } else if (line == "JLDEV CURPORT") {
    reply = s.currentPort;
  } else if (line == "JLDEV SER") {
    reply = s.serialType;
  } else if (line.rfind("JLDEV SRATE", 0) == 0 && s.hasSerial) {
    if (SplitSet(line, "JLDEV SRATE", v)) s.serialRate = v, query = false, newRate = std::stoul("0" + v);
    else reply = s.serialRate;
  } else if (line.rfind("JLDEV BT", 0) == 0) {
    if (SplitSet(line, "JLDEV BT", v)) s.bluetooth = v == "ON", query = false;
    else reply = s.bluetooth ? "ON" : "OFF";
  } else if (line.rfind("JLBT MASTER", 0) == 0) {
    if (SplitSet(line, "JLBT MASTER", v)) s.master = v == "ON", query = false;
    else reply = s.master ? "ON" : "OFF";
  } else if (line.rfind("JLBT NAME", 0) == 0) {
    if (SplitSet(line, "JLBT NAME", v)) s.name = v, query = false;
    else reply = s.name;
  } else if (line.rfind("JLBT PIN", 0) == 0) {
    if (SplitSet(line, "JLBT PIN", v)) s.pin = v, query = false;
    else reply = s.pin;
  } else if (line.rfind("JLBT DSTADDR", 0) == 0) {
    if (SplitSet(line, "JLBT DSTADDR", v)) s.remote = v, query = false;
    else reply = s.remote;
  } else if (line == "JLBT OWNADDR") {
    reply = s.own;
  } else {
    known = false;
  }
  g.unlock();
  if (!known) return unit.Answer("", 1);
  if (query) return Reply(unit, reply, form);
  unit.Answer("");
  if (newRate) unit.SetUnitRateAfterOutput(newRate);
}

}  // namespace sim
