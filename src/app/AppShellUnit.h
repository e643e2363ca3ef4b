#pragma once
// The main dialog's view of the application: settings, the current port, the MCU route and the
// connected unit, as ModulinkApp and the device manager hold them.

#include "app/ShellUnit.h"
#include "unit/VkcMcuRouteTasks.h"

class ModulinkApp;
class VkcDeviceManager;
class VkcSystem;

class AppShellUnit : public ShellUnit {
 public:
  AppShellUnit(ModulinkApp& app, VkcDeviceManager& devices, VkcSystem& unit)
      : app_(app), devices_(devices), unit_(unit), route_(devices, unit) {}

  int ShowMessage(const std::string& text, unsigned flags, bool hint) override;
  bool IsPortOpen() const override;
  int InterfaceSetting() const override;
  intptr_t InterfaceParameter(int interfaceId) override;
  void StorePortRate() override;
  int CurrentProductId() const override;
  bool FactoryWrite() const override;
  VkiPostProcess* RouteTarget() override { return &route_; }
  VkiPostProcess* TaskTarget() override;
  int ConnectionType() const override;
  std::u16string SerialPortSetting() const override;
  std::u16string TcpAddressSetting() const override;
  int TcpPortSetting() const override;
  UnitId SerialNumber() const override;
  VkcSystem* System() override { return &unit_; }
  VkcDeviceManager* Devices() override { return &devices_; }
  std::u16string ProfileFileName() const override;
  void SetProfileFileName(const std::u16string& path) override;

 private:
  ModulinkApp& app_;
  VkcDeviceManager& devices_;
  VkcSystem& unit_;
  VkcMcuRouteTasks route_;
};
