#pragma once
// The application object: owns the application settings tree, loads it at start-up and stores it
// at shut-down, carries the one message-box function every user message goes through, the
// connection-type switch with the current port's time-outs and the Bluetooth-port flag.
//
// The settings live in one file (platform::SettingsFilePath() unless a test gives another path).
// A missing file is a first run; a file that cannot be read or parsed is renamed aside to
// "<file>.bad" first, so the store at shut-down never overwrites the only copy. Stores are atomic.
// Everything here runs on the user-interface thread.

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "link/VkcConfiguration.h"

class VkcComPort;
class VkcDeviceManager;
class VkcMainDocument;
class VkcSystem;

class ModulinkApp {
 public:
  // Sections and keys of the application settings.
  static constexpr const char* kConnectionSection = "Connection Settings";
  static constexpr const char* kTypeKey = "Type";  // 0 serial port, 1 TCP
  static constexpr const char* kSerialSection = "Serial Interface";
  static constexpr const char* kPortKey = "Port";  // serial: port name; TCP: port number
  static constexpr const char* kRateKey = "Rate";
  static constexpr const char* kInterfaceKey = "Interface";
  static constexpr const char* kTcpSection = "TCP Interface";
  static constexpr const char* kAddressKey = "Address";
  static constexpr const char* kUserNameKey = "UserName";
  static constexpr const char* kImageSection = "Image";
  static constexpr const char* kProfileSection = "Profile";
  static constexpr const char* kFileNameKey = "File Name";
  static constexpr const char* kBertTxSection = "BERT_TX";
  static constexpr const char* kBertRxSection = "BERT_RX";
  static constexpr const char* kTransmissionRateKey = "Transmission Rate";
  static constexpr const char* kDutyCycleKey = "Duty Cycle";
  static constexpr const char* kIntervalKey = "Interval";
  static constexpr const char* kStatisticsKey = "Statistics";
  static constexpr const char* kStatFileKey = "Stat. File";
  static constexpr const char* kRunningTimeKey = "Running Time";

  // Defaults.
  static constexpr const char16_t* kDefaultHost = u"localhost";
  static constexpr const char16_t* kDefaultUserName = u"a";
  static constexpr uint32_t kDefaultTcpPort = 8002;
  static constexpr uint32_t kDefaultInterface = 1;  // "Direct"
  static constexpr uint32_t kConnectionSerial = 0;
  static constexpr uint32_t kConnectionTcp = 1;

  static constexpr const char16_t* kTcpHint = u"\r\nThe possible reason is an unstable TCP connection.";
  static constexpr const char* kTitle = "Modulink";

  // Shows a message box (text, message-box style flags) and returns the button pressed.
  using MessageBoxFunction = std::function<int(const std::u16string& text, unsigned flags)>;

  explicit ModulinkApp(std::string settingsPath = {});
  ~ModulinkApp();
  ModulinkApp(const ModulinkApp&) = delete;
  ModulinkApp& operator=(const ModulinkApp&) = delete;

  // The one application object while it lives, else null.
  static ModulinkApp* Instance();

  // Start-up steps that concern the settings: load them, then validate; on any failure take the
  // defaults, silently. Returns false (the program ends when its main dialog closes).
  bool InitInstance();
  // Shut-down: stores the settings; a failure is dropped. Returns the exit code.
  int ExitInstance();

  // Loads the settings file into the tree; true when it was read (then validated), false when the
  // defaults were taken.
  bool LoadSettings();
  // Stores the tree atomically, creating the folder; false (and nothing changed on disk) on failure.
  bool StoreSettings();
  void ValidateSettings();
  void ResetSettings();

  VkcConfiguration& Settings() { return settings_; }
  // settings[section][key], created when absent.
  CfgNode& Setting(std::string_view section, std::string_view key);
  const std::string& SettingsPath() const { return settingsPath_; }

  // Shows text in the application's message box; with hint set and the TCP connection type, the
  // TCP hint is appended. User-interface thread only.
  int ShowMessage(const std::u16string& text, unsigned flags = 0, bool hint = false);
  int ShowMessage(std::string_view utf8Text, unsigned flags = 0, bool hint = false);
  // Replaces the message box (tests install a recorder); an empty function restores the real one.
  void SetMessageBoxFunction(MessageBoxFunction function);

  // The transports; the serial port becomes the current one.
  void SetPorts(VkcComPort* serialPort, VkcComPort* tcpClient);
  // Type 1 makes the TCP client the current port, any other the serial port; stores the type.
  bool SetConnectionType(uint32_t type);
  VkcComPort* CurrentPort() const { return currentPort_; }
  // The current port's reply and long time-outs in (nominal) milliseconds; 0 without a port.
  uint32_t GetCommandTimeout() const;
  uint32_t GetLongTimeout() const;

  // The long-lived objects every page reaches through the application: the device manager, the
  // connected unit and the tab model. Start-up attaches its own; without them the application
  // makes a device manager and a connected unit of its own on first use.
  void Attach(VkcDeviceManager* devices, VkcSystem* unit, VkcMainDocument* tabs = nullptr);
  VkcDeviceManager& Devices();
  VkcSystem& System();
  VkcMainDocument* Tabs() const { return tabs_; }

  // The flag is set when the friendly port name holds "BLUETOOTH" in any case.
  void UpdateBluetoothFlag(std::u16string_view friendlyName);
  void UpdateBluetoothFlag(std::string_view utf8FriendlyName);
  bool IsBluetoothPort() const { return bluetoothPort_; }

 private:
  bool bluetoothPort_ = false;
  VkcConfiguration settings_;
  VkcComPort* currentPort_ = nullptr;
  VkcComPort* serialPort_ = nullptr;
  VkcComPort* tcpClient_ = nullptr;
  std::string settingsPath_;
  MessageBoxFunction messageBox_;
  VkcDeviceManager* devices_ = nullptr;
  VkcSystem* unit_ = nullptr;
  VkcMainDocument* tabs_ = nullptr;
  std::unique_ptr<VkcDeviceManager> ownDevices_;
  std::unique_ptr<VkcSystem> ownUnit_;
};
