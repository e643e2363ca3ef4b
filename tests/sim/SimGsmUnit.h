#pragma once
// A simulated GSM unit (model 49) with its network services and its three configuration images,
// on a pseudo-terminal. The program's network-service tests and the stand-alone simulated unit
// start from it.

#include <cstdint>
#include <memory>

#include "link/VkcConfiguration.h"
#include "sim/SimIdent.h"
#include "sim/SimRtn.h"
#include "sim/SimUnit.h"
#include "sim/SimUnitControlFiles.h"

namespace sim {

inline constexpr uint8_t kGsmSerial[6] = {0x12, 0x34, 0x56, 0x78, 0x9A, 0xBC};

// The user image of the unit: its own row (the second) holds the network-service groups.
VkcConfiguration GsmUserImage();

class SimGsmUnit {
 public:
  explicit SimGsmUnit(const VkcConfiguration& user = GsmUserImage());
  ~SimGsmUnit();
  SimGsmUnit(const SimGsmUnit&) = delete;
  SimGsmUnit& operator=(const SimGsmUnit&) = delete;

  SimUnit unit;
  SimRtn rtn{unit};
  std::unique_ptr<SimIdent> ident;
  std::unique_ptr<SimUnitControlFiles> files;
};

}  // namespace sim
