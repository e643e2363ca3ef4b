#pragma once
// A simulated L-band receiver (model 36) with its three configuration images, on a pseudo-terminal:
// its status queries, and as a beacon receiver its spectrum analyser and almanac (the factory
// image holds the beacon band 283.5..325 kHz and 40 stations are on the air). It reboots on "BOOT".

#include <memory>

#include "sim/SimAlmanac.h"
#include "sim/SimIdent.h"
#include "sim/SimLband.h"
#include "sim/SimSpectrum.h"
#include "sim/SimUnit.h"
#include "sim/SimUnitControl.h"
#include "sim/SimUnitControlFiles.h"

namespace sim {

class SimLbandUnit {
 public:
  SimLbandUnit();
  ~SimLbandUnit();
  SimLbandUnit(const SimLbandUnit&) = delete;
  SimLbandUnit& operator=(const SimLbandUnit&) = delete;

  SimUnit unit;
  SimUnitControl control{unit};
  std::unique_ptr<SimIdent> ident;
  std::unique_ptr<SimUnitControlFiles> files;
  SimLband lband{unit};
  // Both answer "LINK SAR 1"; the analyser, installed last, takes it and streams only after "@SA ON".
  SimAlmanac almanac{unit};
  SimSpectrum spectrum{unit};
};

}  // namespace sim
