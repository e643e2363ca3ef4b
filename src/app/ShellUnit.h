#pragma once
// What the main dialog's operations need from the application and the connected unit: the
// settings they read and write, the current port, the current device and the message box.
// The application provides the real one; tests may provide their own.

#include <cstdint>
#include <string>

#include "link/UnitId.h"

class VkcDeviceManager;
class VkcSystem;
class VkiPostProcess;

class ShellUnit {
 public:
  virtual ~ShellUnit() = default;

  // The one message box (text in UTF-8; hint: add the TCP hint when connected by TCP).
  virtual int ShowMessage(const std::string& text, unsigned flags, bool hint) = 0;

  virtual bool IsPortOpen() const = 0;
  // "Serial Interface"/"Interface".
  virtual int InterfaceSetting() const = 0;
  // The parameter of identification for that device interface.
  virtual intptr_t InterfaceParameter(int interfaceId) = 0;
  // Stores the current port's rate as "Serial Interface"/"Rate".
  virtual void StorePortRate() = 0;
  // Product id of the current device; -1 when there is none.
  virtual int CurrentProductId() const = 0;
  virtual bool FactoryWrite() const = 0;
  // The MCU's route refresh and restore as task target (VkcMcuRouteTasks operations); null when
  // there is no MCU controller.
  virtual VkiPostProcess* RouteTarget() = 0;
  // The connected unit, which runs the numbered operations.
  virtual VkiPostProcess* TaskTarget() = 0;

  // For the window title.
  virtual int ConnectionType() const = 0;
  virtual std::u16string SerialPortSetting() const = 0;
  virtual std::u16string TcpAddressSetting() const = 0;
  virtual int TcpPortSetting() const = 0;
  virtual UnitId SerialNumber() const = 0;

  // For configuration files: the connected unit and the device manager (null where there are
  // none), and the last file chosen ("Profile"/"File Name").
  virtual VkcSystem* System() { return nullptr; }
  virtual VkcDeviceManager* Devices() { return nullptr; }
  virtual std::u16string ProfileFileName() const { return {}; }
  virtual void SetProfileFileName(const std::u16string&) {}
};
