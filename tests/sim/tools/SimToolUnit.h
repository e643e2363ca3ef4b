#pragma once
// The units the stand-alone simulated unit can be, each with every command family the tests'
// simulated unit has for that kind of unit.

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "sim/SimUnit.h"

namespace simtool {

enum class Kind {
  Transceiver,  // BERT, firmware download and the network survey
  Lband,        // L-band status; as a beacon receiver the spectrum and the almanac
  Gsm,          // GSM/GPRS, RTN and the RTN utility
  Mcu,          // the transceiver behind an MCU: Bluetooth and the MCU's serial port
};

class ToolUnit {
 public:
  virtual ~ToolUnit() = default;
  virtual sim::SimUnit& Unit() = 0;
  // What the tool prepared for this unit's pages, as (label, text) lines to print.
  virtual std::vector<std::pair<std::string, std::string>> Notes() const { return {}; }
};

// Null when the unit cannot be built (no pseudo-terminal, no folder for the firmware image).
std::unique_ptr<ToolUnit> MakeToolUnit(Kind kind);

}  // namespace simtool
