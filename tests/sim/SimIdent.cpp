#include "sim/SimIdent.h"

#include "sim/SimMcu.h"

namespace sim {

namespace {

bool IsLineNoise(char c) { return c == 0x18 || c == 0 || c == '\n'; }

}  // namespace

SimIdent::SimIdent(SimUnit& unit, IdentOptions options, SimMcu* mcu) : options_(std::move(options)), mcu_(mcu) {
  unit.SetRateCheck(true);
  unit.SetUnitRate(options_.startInDataMode ? options_.dataRate : options_.commandRate);
  unit.SetLineFilter([this](const std::string& line) { return Filter(line); });
  if (options_.startInDataMode) {
    dataMode_ = true;
    unit.SetRawInput([this](SimUnit& u, const uint8_t* d, size_t n) { OnDataModeInput(u, d, n); });
  }
  // A unit in its start-up code answers "@01" to every command: nothing else is installed.
  if (options_.code == IdentOptions::Code::Startup) return;
  unit.AddCommandHandler("INFO ID", [this](SimUnit& u, const std::string&) {
    u.Answer(options_.code == IdentOptions::Code::BootLoader ? "-2\r\n" : options_.modelKey + "\r\n");
  });
  unit.AddCommandHandler("INFO HW", [this](SimUnit& u, const std::string&) { u.Answer(options_.hardware + "\r\n"); });
  unit.AddCommandHandler("INFO SW", [this](SimUnit& u, const std::string&) { u.Answer(options_.software + "\r\n"); });
  unit.AddCommandHandler("INFO BL", [this](SimUnit& u, const std::string&) { u.Answer(options_.bootLoader + "\r\n"); });
  unit.AddCommandHandler("DATAMODE", [this](SimUnit& u, const std::string& line) {
    if (line != "DATAMODE") return u.Answer("", 1);
    EnterDataMode(u);
  });
  InstallPortRate(unit, "MPORT RATE", &IdentOptions::mportRate);
  InstallPortRate(unit, "DPORT RATE", &IdentOptions::dportRate);
  InstallPortRate(unit, "DPORT FLOW", &IdentOptions::dportFlow);
}

void SimIdent::InstallPortRate(SimUnit& unit, const std::string& command, std::string IdentOptions::*answer) {
  unit.AddCommandHandler(command, [this, command, answer](SimUnit& u, const std::string& line) {
    if (line == command) return u.Answer(options_.*answer + "\r\n");
    if (line.size() > command.size() + 1 && line[command.size()] == ' ') {
      std::lock_guard<std::mutex> g(m_);
      lastSet_[command] = line.substr(command.size() + 1);
    }
    u.Answer("");
  });
}

void SimIdent::SetDataTap(DataTap tap) {
  std::lock_guard<std::mutex> g(m_);
  tap_ = std::move(tap);
}

bool SimIdent::InDataMode() const {
  std::lock_guard<std::mutex> g(m_);
  return dataMode_;
}

std::string SimIdent::LastSet(const std::string& command) const {
  std::lock_guard<std::mutex> g(m_);
  auto it = lastSet_.find(command);
  return it == lastSet_.end() ? std::string() : it->second;
}

std::string SimIdent::Filter(const std::string& line) const {
  size_t start = 0;
  bool lineFeed = false;
  while (start < line.size() && IsLineNoise(line[start])) lineFeed |= line[start++] == '\n';
  std::string stripped = line.substr(start);
  if (mcu_ && mcu_->InCommandLine()) return stripped;
  if (lineFeed && !options_.datamodeViaProbe && (stripped == "DATAMODE" || stripped == "MCU CLI OFF")) {
    return line;  // not understood: answered "@01"
  }
  return stripped;
}

void SimIdent::EnterDataMode(SimUnit& unit) {
  {
    std::lock_guard<std::mutex> g(m_);
    dataMode_ = true;
    dataTail_.clear();
  }
  unit.Send("@00\r\n");
  unit.SetUnitRateAfterOutput(options_.dataRate);
  unit.SetRawInput([this](SimUnit& u, const uint8_t* d, size_t n) { OnDataModeInput(u, d, n); });
}

void SimIdent::OnDataModeInput(SimUnit& unit, const uint8_t* data, size_t length) {
  bool escape = false;
  {
    std::lock_guard<std::mutex> g(m_);
    dataTail_.append(reinterpret_cast<const char*>(data), length);
    escape = dataTail_.find("+++") != std::string::npos;
    if (dataTail_.size() > 2 && !escape) dataTail_.erase(0, dataTail_.size() - 2);
    if (escape) {
      dataMode_ = false;
      dataTail_.clear();
    }
  }
  DataTap tap;
  {
    std::lock_guard<std::mutex> g(m_);
    tap = tap_;
  }
  if (tap) tap(data, length, escape);
  if (!escape) return;
  unit.SetRawInput(nullptr);
  unit.Answer("");
  unit.SetUnitRateAfterOutput(options_.commandRate);
}

}  // namespace sim
