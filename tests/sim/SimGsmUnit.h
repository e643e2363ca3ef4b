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

// The user image of the unit with this serial number: its own row (the second) holds the
// network-service groups.
VkcConfiguration GsmUserImage(const uint8_t* serial = kGsmSerial);

class SimGsmUnit {
 public:
  // serial: the unit's six-byte serial number, in its factory image (the user image names its
  // own row with it).
  explicit SimGsmUnit(const VkcConfiguration& user = GsmUserImage(), const uint8_t* serial = kGsmSerial);
  ~SimGsmUnit();
  SimGsmUnit(const SimGsmUnit&) = delete;
  SimGsmUnit& operator=(const SimGsmUnit&) = delete;

  SimUnit unit;
  SimRtn rtn{unit};
  std::unique_ptr<SimIdent> ident;
  std::unique_ptr<SimUnitControlFiles> files;
};

}  // namespace sim
