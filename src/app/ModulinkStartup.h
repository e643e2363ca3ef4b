#pragma once
// The application's long-lived objects in their order of construction, and the run of the
// program: settings loaded, device prototypes and interfaces built, the tab model built with
// "Preferences" current, the main dialog run modally, the settings stored.

#include <functional>
#include <string>

#include "app/AppShellUnit.h"
#include "app/ModulinkApp.h"
#include "unit/VkcSystem.h"
#include "app/VkcMainDocument.h"
#include "devices/VkcDeviceManager.h"
#include "link/VkcSerialPort.h"
#include "link/VkcTCPClient.h"

class ModulinkDlg;

class ModulinkStartup {
 public:
  // Attaches the built pages to the dialog before it runs.
  using AttachPages = std::function<void(ModulinkDlg&, ModulinkApp&, VkcDeviceManager&)>;
  // Called once the dialog is shown (tests and measurements).
  using Shown = std::function<void(ModulinkDlg&)>;

  explicit ModulinkStartup(std::string settingsPath = {});
  ~ModulinkStartup();

  // The whole run; returns the exit code.
  int Run(const AttachPages& attach, const Shown& shown = {});
  // What the run does before the main dialog is built: the C numeric locale, the settings loaded,
  // the device prototypes and interfaces, the tab model with "Preferences" current.
  void Start();

  ModulinkApp& App() { return app_; }
  VkcMainDocument& Tabs() { return tabs_; }
  VkcDeviceManager& Devices() { return devices_; }
  VkcSerialPort& SerialPort() { return serial_; }
  VkcTCPClient& TcpClient() { return tcp_; }
  VkcSystem& System() { return system_; }
  ShellUnit& Unit() { return unit_; }

 private:
  ModulinkApp app_;
  VkcMainDocument tabs_;
  VkcDeviceManager devices_;
  VkcSerialPort serial_;
  VkcTCPClient tcp_;
  VkcSystem system_;
  AppShellUnit unit_{app_, devices_, system_};
};
