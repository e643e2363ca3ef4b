#pragma once
// The MCU command line in front of the simulated radio. "####" anywhere in the stream opens it
// ("@00"); "MCU CLI OFF" closes it. While open it answers JLROUTE, JLDEV and JLBT queries and
// sets; lines reach it as the radio's line discipline leaves them (leading line feeds dropped).
// Works together with SimIdent, which hands it the lines while it is open. Like SimIdent, it must
// live until the unit is destroyed.

#include <cstdint>
#include <mutex>
#include <string>

#include "sim/SimUnit.h"

namespace sim {

struct McuState {
  std::string route = "MDMSER";   // JLROUTE
  std::string currentPort = "USB";
  std::string serialType = "RS232";
  bool hasSerial = true;           // answers JLDEV SRATE
  std::string serialRate = "115200";
  bool bluetooth = true;
  bool master = false;
  std::string name = "Unit7";
  std::string pin = "1234";
  std::string remote = "001122334455";
  std::string own = "AABBCCDDEEFF";
  bool radioReplyForm = true;      // "value\r\n@00" rather than "value@00"
};

class SimMcu {
 public:
  SimMcu(SimUnit& unit, McuState state);
  SimMcu(const SimMcu&) = delete;
  SimMcu& operator=(const SimMcu&) = delete;

  bool InCommandLine() const;
  McuState State() const;

 private:
  void OnLine(SimUnit& unit, const std::string& line);
  void Reply(SimUnit& unit, const std::string& value, bool radioForm);

  mutable std::mutex m_;
  McuState state_;
  bool open_ = false;
};

}  // namespace sim
