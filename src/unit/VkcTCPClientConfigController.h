#pragma once
// The TCP client service: host, port, login and password in CFGDN[1][R][10].

#include "unit/VkcISConfigController.h"

class VkcTCPClientConfigController : public VkcISConfigController {
 public:
  using VkcISConfigController::VkcISConfigController;

  bool SetHostName(const std::u16string& text, int i) override;
  std::u16string GetHostName(int i) const override;
  bool LoadFromDevice(int i) override;
  bool SaveToDevice(int i) override;
  bool UsesHostName() const override { return true; }
  bool UsesMountPoint() const override { return false; }
};
