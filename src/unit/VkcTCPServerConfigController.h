#pragma once
// The TCP server service: port, login and password in CFGDN[1][R][11]. The unit image keeps no
// host for a server; entry 1 holds the address the unit reports while the service runs.

#include "unit/VkcISConfigController.h"

class VkcTCPServerConfigController : public VkcISConfigController {
 public:
  using VkcISConfigController::VkcISConfigController;

  // Entry 0 answers true and stores nothing.
  bool SetHostName(const std::u16string& text, int i) override;
  // Always empty for entry 0.
  std::u16string GetHostName(int i) const override;
  bool LoadFromDevice(int i) override;
  bool SaveToDevice(int i) override;
  bool UsesHostName() const override { return false; }
  bool UsesMountPoint() const override { return false; }
};
