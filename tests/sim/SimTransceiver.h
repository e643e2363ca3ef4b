#pragma once
// A VK400 transceiver on a pseudo-terminal serving its three configuration images and rebooting
// on "BOOT", optionally behind an MCU with a serial port and Bluetooth. The program's end-to-end
// tests and the stand-alone simulated unit start from it.

#include <memory>

#include "sim/SimIdent.h"
#include "sim/SimMcu.h"
#include "sim/SimUnit.h"
#include "sim/SimUnitControl.h"
#include "sim/SimUnitControlFiles.h"

namespace sim {

struct TransceiverOptions {
  const char* callSign = nullptr;  // the dealer image's call sign, when set
  bool behindMcu = false;
};

struct SimTransceiver {
  explicit SimTransceiver(const TransceiverOptions& options = {});
  ~SimTransceiver();
  SimTransceiver(const SimTransceiver&) = delete;
  SimTransceiver& operator=(const SimTransceiver&) = delete;

  SimUnit unit;
  SimUnitControl control{unit};
  std::unique_ptr<SimMcu> mcu;  // only behind an MCU
  std::unique_ptr<SimIdent> ident;
  std::unique_ptr<SimUnitControlFiles> files;
};

}  // namespace sim
