#pragma once
// The Connection page without widgets: how the program reaches the unit (a serial port with its
// rate, or the TCP gateway with address, port, user name and password), the device interface
// (direct, or through a GNSS receiver with the receiver's port), Connect/DisConnect, the port
// status message and the receiver pass-through. Every control change goes to the settings at
// once; the password is never stored.

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "app/ConnectionControl.h"
#include "app/PageModel.h"
#include "link/PortInfo.h"
#include "platform/Messages.h"

class ModulinkApp;
class VkcComPort;
class VkcDeviceManager;

class VkcPPConnectionModel : public PageModel, public ConnectionControl {
 public:
  // Control ids.
  static constexpr int kType = 1180;
  static constexpr int kSerialPort = 1016;
  static constexpr int kRate = 1018;
  static constexpr int kInterface = 1017;
  static constexpr int kReceiverPort = 1181;
  static constexpr int kAddress = 1200;
  static constexpr int kTcpPort = 1158;
  static constexpr int kUserName = 1198;
  static constexpr int kPassword = 1183;
  static constexpr int kConnect = 1131;
  static constexpr int kStatus = 1226;
  static constexpr int kReceiverLabel = 1217;
  static constexpr int kAddressLabel = 1218;
  static constexpr int kTcpPortLabel = 1219;
  static constexpr int kUserNameLabel = 1220;
  static constexpr int kPasswordLabel = 1221;
  static constexpr int kSerialPortLabel = 1223;
  static constexpr int kRateLabel = 1224;
  static constexpr int kSettingsGroup = 1222;
  static constexpr int kUnitGroup = 1230;

  static constexpr int kThroughReceiver = 6;
  static constexpr uint32_t kOpPassThrough = 5;

  VkcPPConnectionModel(ModulinkApp& app, VkcDeviceManager& devices);
  ~VkcPPConnectionModel() override;

  // The window the ports post their status (1044) to.
  void SetWindow(platform::WindowHandle window) { window_ = window; }

  // Dialog initialisation: port discovery, the interface list, the fixed lists.
  void Init();
  void Refresh() override;

  // Handlers by control, run after the view has read the acting control's value.
  void OnTypeChanged();
  void OnSerialPortChanged();
  void OnRateChanged();
  void OnInterfaceChanged();
  void OnReceiverPortChanged();
  void OnAddressDone();
  void OnUserNameDone();
  void OnTcpPortDone();
  // The password is kept in the page only, whatever its length.
  void OnPasswordChanged();
  void OnConnect();
  void OnPortStatus(intptr_t code);

  bool IsPassThroughOff() const override { return passThroughOff_; }
  bool EnableDaisyChain() override;

  bool IsConnected() const { return connected_; }
  const std::map<std::u16string, PortInfo>& Ports() const { return ports_; }
  const std::u16string& FriendlyName() const { return friendlyName_; }

 private:
  void ReadControls();
  void FillControls();
  void ShowTypeControls();
  void ShowReceiverControls();
  void ApplyReceiverPort();
  void EnableConnectionControls(bool enable);
  void SetStatus(const char16_t* text) { controls_.SetText(kStatus, text); }
  const PortInfo* PortAt(int index) const;
  // Hands the TCP client its settings; it connects and logs in on its own thread.
  bool OpenTcp(VkcComPort& port);
  VkcComPort* Port() const;
  int ShowMessage(const char* text, bool hint = false);

  ModulinkApp& app_;
  VkcDeviceManager& devices_;
  platform::WindowHandle window_ = platform::kNoWindow;

  std::map<std::u16string, PortInfo> ports_;
  std::u16string friendlyName_;
  int connectionType_ = 0;
  std::u16string tcpAddress_;
  uint32_t tcpPort_ = 0;
  std::u16string userName_;
  std::u16string password_;
  int receiverPort_ = 0;
  int appliedReceiverPort_ = -1;
  bool connected_ = false;
  bool passThroughOff_ = true;
  bool interfaceShown_ = true;
};
