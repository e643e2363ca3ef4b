#pragma once
// The NTRIP client service: host, port, login, password, mount point and NMEA GGA sentence in
// CFGDN[1][R][9].

#include "unit/VkcISConfigController.h"

class VkcNTRIPClientConfigController : public VkcISConfigController {
 public:
  using VkcISConfigController::VkcISConfigController;

  bool SetHostName(const std::u16string& text, int i) override;
  std::u16string GetHostName(int i) const override;
  bool SetMountPoint(const std::u16string& text, int i) override;
  std::u16string GetMountPoint(int i) const override;
  bool SetNmeaMessage(const std::u16string& text, int i) override;
  std::u16string GetNmeaMessage(int i) const override;
  bool LoadFromDevice(int i) override;
  bool SaveToDevice(int i) override;
  bool UsesHostName() const override { return true; }
  bool UsesMountPoint() const override { return true; }
};
