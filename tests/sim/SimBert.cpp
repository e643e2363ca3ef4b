#include "sim/SimBert.h"

#include <algorithm>

namespace sim {

namespace {

// Longest mode-switch tail: five CANs, "DD\r", "+++".
constexpr size_t kSwitchTail = 11;

}  // namespace

SimBert::SimBert(SimUnit& unit, SimIdent& ident, SimUnitControl& control) : unit_(unit), ident_(ident) {
  control.SetValue("STATE TEMP", "31");
  control.SetValue("STATE RSSI", "-87");
  control.SetValue("TSTUFR REMOTEPWR", "30");
  control.SetValue("LINK PWRB", "30");
  control.SetValue("LINK PROT", "2");
  control.SetValue("LINK MOD", "1");
  control.SetValue("LINK CHAN", "3");
  control.SetValue("STATE FREQ", "450.125 MHz");
  ident_.SetDataTap([this](const uint8_t* d, size_t n, bool escape) { OnData(d, n, escape); });
}

SimBert::~SimBert() {
  StopSource();
  ident_.SetDataTap(nullptr);
}

void SimBert::StartSource(uint32_t bytesPerSecond) {
  thread_.Stop();
  bytesPerSecond_ = bytesPerSecond;
  thread_.Start([this](platform::Event& stop) { Source(stop); });
}

void SimBert::StopSource() { thread_.Stop(); }

void SimBert::Source(platform::Event& stop) {
  const size_t chunk = std::max<size_t>(1, bytesPerSecond_ / 100);
  while (stop.Wait(10) != 0) {
    if (!ident_.InDataMode()) continue;
    unit_.Send(source_.Next(chunk));
    sourced_ += chunk;
  }
}

uint64_t SimBert::Checked() const {
  std::lock_guard<std::mutex> g(m_);
  return checked_;
}

uint64_t SimBert::Mismatches() const {
  std::lock_guard<std::mutex> g(m_);
  return mismatches_;
}

uint32_t SimBert::Escapes() const {
  std::lock_guard<std::mutex> g(m_);
  return escapes_;
}

void SimBert::CheckLocked(size_t bytes) {
  for (size_t i = 0; i < bytes; ++i) {
    if (static_cast<uint8_t>(pending_[i]) != expected_.NextByte()) ++mismatches_;
    ++checked_;
  }
  pending_.erase(0, bytes);
}

void SimBert::OnData(const uint8_t* data, size_t length, bool escape) {
  std::lock_guard<std::mutex> g(m_);
  pending_.append(reinterpret_cast<const char*>(data), length);
  if (!escape) {
    if (pending_.size() > kSwitchTail) CheckLocked(pending_.size() - kSwitchTail);
    return;
  }
  // The stretch ends with the switch: the pattern never holds five CANs, "DD\r" or "+++".
  size_t cut = pending_.find(std::string(5, '\x18'));
  if (cut == std::string::npos) cut = pending_.find("DD\r");
  if (cut == std::string::npos) cut = pending_.find("+++");
  if (cut == std::string::npos) cut = pending_.size();
  CheckLocked(cut);
  pending_.clear();
  ++escapes_;
}

}  // namespace sim
