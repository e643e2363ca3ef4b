#pragma once
// Identification on the simulated unit: "INFO ID" as any model key (or the start-up and
// boot-loader answers), the version queries, the maintenance and data port rates, and the radio's
// two modes: the command line, and data mode, in which only the "+++" escape is heard. The unit
// talks at its command-line rate in command mode and at its data rate in data mode; at any other
// rate it understands nothing.
//
// Line discipline of the radio: CAN and NUL at the start of a line are ignored, and so are line
// feeds (a line such as "@RX OFF\r\n" leaves one before the next line). Whether a "DATAMODE" that
// began with a line feed switches the radio (the MCU probe sends "\nDATAMODE\r") is an option.

#include <cstdint>
#include <functional>
#include <map>
#include <mutex>
#include <string>

#include "sim/SimUnit.h"

namespace sim {

class SimMcu;

struct IdentOptions {
  enum class Code { Main, Startup, BootLoader };
  Code code = Code::Main;
  std::string modelKey = "48";       // the INFO ID answer
  bool datamodeViaProbe = false;     // "\nDATAMODE" switches to data mode too
  bool startInDataMode = false;
  uint32_t commandRate = 115200;     // the command line's rate
  uint32_t dataRate = 115200;        // the rate in data mode
  std::string mportRate = "9";       // "MPORT RATE" answer
  std::string dportRate = "9";       // "DPORT RATE" answer
  std::string dportFlow = "0";       // "DPORT FLOW" answer
  std::string software = "SW 3.2 Rev 5";
  std::string hardware = "HW 1.0";
  std::string bootLoader = "BL 1.0";
};

class SimIdent {
 public:
  // Installs on unit (rate check on). The unit's handlers keep this object: it must live until the
  // unit is destroyed. With an MCU, lines go to the MCU's command line while it is open.
  SimIdent(SimUnit& unit, IdentOptions options, SimMcu* mcu = nullptr);
  SimIdent(const SimIdent&) = delete;
  SimIdent& operator=(const SimIdent&) = delete;

  bool InDataMode() const;
  // Sees every byte heard in data mode; escape is set on the input that ended data mode.
  using DataTap = std::function<void(const uint8_t* data, size_t length, bool escape)>;
  void SetDataTap(DataTap tap);
  // Port rate settings the program made ("MPORT RATE n", "DPORT RATE n", "DPORT FLOW n").
  std::string LastSet(const std::string& command) const;

 private:
  std::string Filter(const std::string& line) const;
  void EnterDataMode(SimUnit& unit);
  void OnDataModeInput(SimUnit& unit, const uint8_t* data, size_t length);
  void InstallPortRate(SimUnit& unit, const std::string& command, std::string IdentOptions::*answer);

  const IdentOptions options_;
  SimMcu* mcu_;
  mutable std::mutex m_;
  bool dataMode_ = false;
  std::string dataTail_;  // the last bytes heard in data mode
  std::map<std::string, std::string> lastSet_;
  DataTap tap_;
};

}  // namespace sim
