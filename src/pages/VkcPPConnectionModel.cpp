#include "pages/VkcPPConnectionModel.h"

#include <charconv>
#include <string>

#include "app/ModulinkApp.h"
#include "app/PageHost.h"
#include "devices/VkcDeviceManager.h"
#include "link/Ansi.h"
#include "link/EnumSerialPorts.h"
#include "link/TcpConnectSettings.h"
#include "link/Utf.h"
#include "link/VkcComPort.h"
#include "link/VkcErrorProcessor.h"

namespace {
constexpr const char* kSerial = ModulinkApp::kSerialSection;
constexpr const char* kTcp = ModulinkApp::kTcpSection;
constexpr uint32_t kDefaultTcpPort = 8002;
constexpr size_t kMaxTcpText = 49;

const char16_t* const kRates[] = {u"1200", u"2400", u"4800", u"9600", u"14400",
                                  u"19200", u"38400", u"57600", u"115200"};

std::u16string Decimal(uint64_t value) { return Utf8ToUtf16(std::to_string(value)); }

bool ParseUnsigned(const std::u16string& text, uint64_t& out) {
  const std::string narrow = Utf16ToUtf8(text);
  size_t begin = narrow.find_first_not_of(' ');
  if (begin == std::string::npos) return false;
  size_t end = narrow.find_last_not_of(' ') + 1;
  auto [ptr, ec] = std::from_chars(narrow.data() + begin, narrow.data() + end, out);
  return ec == std::errc() && ptr == narrow.data() + end;
}
}  // namespace

VkcPPConnectionModel::VkcPPConnectionModel(ModulinkApp& app, VkcDeviceManager& devices)
    : app_(app), devices_(devices) {
  // Both answer the gateway's log-in prompts.
  controls_.SetCommandText(kUserName);
  controls_.SetCommandText(kPassword);
  On(kType, ControlEvent::SelectionChanged, [this] { OnTypeChanged(); });
  On(kSerialPort, ControlEvent::SelectionChanged, [this] { OnSerialPortChanged(); });
  On(kRate, ControlEvent::SelectionChanged, [this] { OnRateChanged(); });
  On(kInterface, ControlEvent::SelectionChanged, [this] { OnInterfaceChanged(); });
  On(kReceiverPort, ControlEvent::SelectionChanged, [this] { OnReceiverPortChanged(); });
  On(kAddress, ControlEvent::FocusLost, [this] { OnAddressDone(); });
  On(kUserName, ControlEvent::FocusLost, [this] { OnUserNameDone(); });
  On(kTcpPort, ControlEvent::FocusLost, [this] { OnTcpPortDone(); });
  OnAny(kPassword, [this](ControlEvent) { OnPasswordChanged(); });
  On(kConnect, ControlEvent::Clicked, [this] { OnConnect(); });
}

VkcPPConnectionModel::~VkcPPConnectionModel() {
  // No status message may reach a page that is gone.
  if (VkcComPort* port = Port()) port->SetOwnerWindow(platform::kNoWindow);
}

VkcComPort* VkcPPConnectionModel::Port() const { return app_.CurrentPort(); }

int VkcPPConnectionModel::ShowMessage(const char* text, bool hint) {
  // Through the page kit when hosted, so the page shows its state before the box opens.
  if (HasHost()) return PageModel::ShowMessage(std::string_view(text), 0, hint);
  return app_.ShowMessage(std::string_view(text), 0, hint);
}

void VkcPPConnectionModel::Init() {
  // The discovery is asked three ways; the longest list wins, the first on a tie.
  std::vector<PortInfo> best;
  const bool flags[3][2] = {{false, false}, {false, true}, {true, false}};
  for (int i = 0; i < 3; ++i) {
    std::vector<PortInfo> found;
    EnumSerialPorts(found, false, flags[i][0], flags[i][1], 1);
    if (i == 0 || found.size() > best.size()) best = std::move(found);
  }
  ports_.clear();
  for (PortInfo& port : best) {
    const std::u16string key = port.devicePath;
    ports_.emplace(key, std::move(port));
  }
  ControlState& portCombo = controls_[kSerialPort];
  portCombo.SetItems({});
  for (const auto& entry : ports_) portCombo.AddItem(entry.second.displayName);

  controls_[kType].SetItems({u"Serial", u"TCP"});
  ControlState& rates = controls_[kRate];
  rates.SetItems({});
  for (const char16_t* rate : kRates) rates.AddItem(rate);
  controls_[kReceiverPort].SetItems({u"dev/ser/a", u"dev/ser/b", u"dev/ser/c", u"dev/ser/d"});
  controls_[kReceiverPort].selection = 0;

  ControlState& ifaces = controls_[kInterface];
  ifaces.SetItems({});
  interfaceShown_ = devices_.GetInterfaceCount() >= 2;
  if (interfaceShown_) {
    VkcDeviceInterface* itf = nullptr;
    for (int id = devices_.GetNextInterface(itf, 0); id != 0; id = devices_.GetNextInterface(itf, id))
      ifaces.AddItem(itf->GetName(), id);
    ifaces.selection = 0;
  }
  ifaces.visible = interfaceShown_;
  ifaces.enabled = interfaceShown_;
  controls_.Show(kReceiverPort, false);
  controls_.Show(kReceiverLabel, false);
  passThroughOff_ = true;
  controls_.SetText(kConnect, u"Connect");
  SetStatus(u"Ready to connect.");
  controls_.SetText(kPassword, password_);
}

const PortInfo* VkcPPConnectionModel::PortAt(int index) const {
  if (index < 0) return nullptr;
  for (const auto& entry : ports_)
    if (index-- == 0) return &entry.second;
  return nullptr;
}

void VkcPPConnectionModel::Refresh() {
  connectionType_ = app_.Setting(ModulinkApp::kConnectionSection, ModulinkApp::kTypeKey).GetInt();
  tcpAddress_ = app_.Setting(kTcp, ModulinkApp::kAddressKey).GetWString();
  tcpPort_ = app_.Setting(kTcp, ModulinkApp::kPortKey).GetScalar();
  userName_ = app_.Setting(kTcp, ModulinkApp::kUserNameKey).GetWString();

  CfgNode& portSetting = app_.Setting(kSerial, ModulinkApp::kPortKey);
  ControlState& portCombo = controls_[kSerialPort];
  auto found = ports_.find(portSetting.GetWString());
  if (found != ports_.end()) {
    portCombo.selection = static_cast<int>(std::distance(ports_.begin(), found));
    friendlyName_ = found->second.friendlyName;
  } else if (!ports_.empty()) {
    portCombo.selection = 0;
    portSetting.SetWString(ports_.begin()->first);
    friendlyName_ = ports_.begin()->second.friendlyName;
  } else {
    portCombo.selection = -1;
  }

  CfgNode& rate = app_.Setting(kSerial, ModulinkApp::kRateKey);
  if (rate.GetScalar() == 0) {
    VkcComPort* port = Port();
    rate.SetInt(port != nullptr ? port->GetBaudRate() : 0);
  }
  controls_[kRate].selection = controls_[kRate].FindItem(Decimal(rate.GetScalar()));

  CfgNode& iface = app_.Setting(kSerial, ModulinkApp::kInterfaceKey);
  const int stored = iface.GetInt();
  if (stored >= 1 && devices_.GetInterfaceCount() >= 2) {
    ControlState& ifaces = controls_[kInterface];
    ifaces.SetItems({});
    VkcDeviceInterface* itf = nullptr;
    for (int id = devices_.GetNextInterface(itf, 0); id != 0; id = devices_.GetNextInterface(itf, id))
      ifaces.AddItem(itf->GetName(), id);
    ifaces.selection = ifaces.FindData(stored);
    if (ifaces.selection < 0) {
      // An interface that no longer exists: the entry shown is the one stored, never "no interface".
      ifaces.selection = 0;
      iface.SetInt(static_cast<uint32_t>(ifaces.SelectedData()));
    }
  } else {
    iface.SetInt(1);
  }

  app_.SetConnectionType(static_cast<uint32_t>(connectionType_));
  ShowTypeControls();
  FillControls();
  ShowReceiverControls();
}

void VkcPPConnectionModel::FillControls() {
  controls_[kType].selection = connectionType_ == 0 ? 0 : 1;
  controls_.SetText(kAddress, tcpAddress_);
  controls_.SetText(kTcpPort, Decimal(tcpPort_));
  controls_.SetText(kUserName, userName_);
  controls_.SetText(kPassword, password_);
  controls_[kReceiverPort].selection = receiverPort_;
}

void VkcPPConnectionModel::ReadControls() {
  connectionType_ = controls_.Get(kType).selection == 1 ? 1 : 0;
  tcpAddress_ = controls_.Text(kAddress);
  uint64_t port = 0;
  tcpPort_ = ParseUnsigned(controls_.Text(kTcpPort), port) && port <= 0xFFFFFFFFu ? static_cast<uint32_t>(port) : 0;
  userName_ = controls_.Text(kUserName);
  password_ = controls_.Text(kPassword);
  receiverPort_ = std::max(0, controls_.Get(kReceiverPort).selection);
}

void VkcPPConnectionModel::ShowTypeControls() {
  const bool serial = connectionType_ == 0;
  for (int id : {kSerialPort, kRate, kSerialPortLabel, kRateLabel}) controls_.Show(id, serial);
  for (int id : {kAddress, kTcpPort, kUserName, kPassword, kAddressLabel, kTcpPortLabel, kUserNameLabel,
                 kPasswordLabel})
    controls_.Show(id, !serial);
}

void VkcPPConnectionModel::ShowReceiverControls() {
  const bool shown = app_.Setting(kSerial, ModulinkApp::kInterfaceKey).GetInt() == kThroughReceiver;
  controls_.Show(kReceiverPort, shown);
  controls_.Show(kReceiverLabel, shown);
  if (shown) ApplyReceiverPort();
}

void VkcPPConnectionModel::ApplyReceiverPort() {
  const int id = static_cast<int>(controls_.Get(kInterface).SelectedData());
  if (VkcDeviceInterface* itf = devices_.GetInterface(id)) {
    itf->SelectReceiverPort(receiverPort_);
    // Another receiver port: the pass-through must be set up again.
    if (receiverPort_ != appliedReceiverPort_) passThroughOff_ = true;
    appliedReceiverPort_ = receiverPort_;
  }
}

void VkcPPConnectionModel::OnTypeChanged() {
  ReadControls();
  app_.SetConnectionType(static_cast<uint32_t>(connectionType_));
  ShowTypeControls();
  if (HasHost()) Host().RefreshAllPages();
}

void VkcPPConnectionModel::OnSerialPortChanged() {
  ReadControls();
  // By position: two adapters of one kind show the same name.
  if (const PortInfo* port = PortAt(controls_.Get(kSerialPort).selection)) {
    friendlyName_ = port->friendlyName;
    app_.Setting(kSerial, ModulinkApp::kPortKey).SetWString(port->devicePath);
  }
  if (HasHost()) Host().RefreshAllPages();
}

void VkcPPConnectionModel::OnRateChanged() {
  uint64_t rate = 0;
  if (!ParseUnsigned(controls_.Get(kRate).SelectedItem(), rate)) return;
  app_.Setting(kSerial, ModulinkApp::kRateKey).SetInt(static_cast<uint32_t>(rate));
  VkcComPort* port = Port();
  if (port != nullptr && port->IsOpen()) port->SetBaudRate(static_cast<uint32_t>(rate));
}

void VkcPPConnectionModel::OnInterfaceChanged() {
  app_.Setting(kSerial, ModulinkApp::kInterfaceKey).SetInt(static_cast<uint32_t>(controls_.Get(kInterface).SelectedData()));
  ShowReceiverControls();
}

void VkcPPConnectionModel::OnReceiverPortChanged() {
  ReadControls();
  ApplyReceiverPort();
}

void VkcPPConnectionModel::OnAddressDone() {
  ReadControls();
  if (tcpAddress_.size() > kMaxTcpText) {
    ShowMessage("The length of TCP address must be less than 50 characters.");
    tcpAddress_.clear();
    FillControls();
  }
  app_.Setting(kTcp, ModulinkApp::kAddressKey).SetWString(tcpAddress_);
}

void VkcPPConnectionModel::OnUserNameDone() {
  ReadControls();
  if (userName_.size() > kMaxTcpText) {
    ShowMessage("The length of TCP user name must be less than 50 characters.");
    userName_.clear();
    FillControls();
  }
  app_.Setting(kTcp, ModulinkApp::kUserNameKey).SetWString(userName_);
}

void VkcPPConnectionModel::OnTcpPortDone() {
  ReadControls();
  if (tcpPort_ < 1 || tcpPort_ > 65535) {
    ShowMessage("TCP port must be in the range of 1 to 65535. Default port will be set.");
    tcpPort_ = kDefaultTcpPort;
    FillControls();
  }
  app_.Setting(kTcp, ModulinkApp::kPortKey).SetInt(tcpPort_);
}

void VkcPPConnectionModel::OnPasswordChanged() { password_ = controls_.Text(kPassword); }

void VkcPPConnectionModel::EnableConnectionControls(bool enable) {
  for (int id : {kType, kSerialPort, kAddress, kTcpPort, kUserName, kPassword, kReceiverPort})
    controls_.Enable(id, enable);
  controls_.Enable(kInterface, enable && interfaceShown_);
}

void VkcPPConnectionModel::OnConnect() {
  if (HasHost()) Host().UpdateTitle();
  if (!HasHost() || !Host().LockProcess(this)) {
    ShowMessage("Unable to run connect/disconnect process.\nAnother process is running.");
    return;
  }
  controls_.Enable(kConnect, false);
  VkcComPort* port = Port();
  if (port != nullptr) port->SetOwnerWindow(window_);
  if (connected_) {
    Host().UnlockProcess(this);
    if (!passThroughOff_) EnableDaisyChain();
    SetStatus(u"Disconnecting. Please wait...");
    if (VkcComPort* current = Port()) current->Close();
    return;
  }
  ReadControls();
  // The port field is checked again here: a value typed without leaving the field would otherwise
  // be cut to 16 bits and reach another port. The check's message and default stand, no connect.
  if (connectionType_ != 0 && (tcpPort_ < 1 || tcpPort_ > 65535)) {
    OnTcpPortDone();
    Host().UnlockProcess(this);
    controls_.Enable(kConnect, true);
    return;
  }
  SetStatus(u"Connecting. Please wait...");
  EnableConnectionControls(false);
  bool opened = false;
  if (connectionType_ != 0) {
    opened = port != nullptr && OpenTcp(*port);
  } else if (port != nullptr) {
    if (port->IsOpen()) port->Close();
    CfgNode& name = app_.Setting(kSerial, ModulinkApp::kPortKey);
    const uint32_t rate = app_.Setting(kSerial, ModulinkApp::kRateKey).GetScalar();
    opened = port->Open(name.GetWString(), rate, 8, 0, 0);
    if (opened) app_.UpdateBluetoothFlag(std::u16string_view(friendlyName_));
  }
  if (!opened) {
    SetStatus(u"Failed to connect.");
    // Nothing may follow that would free the lock: free it here, and let the user try again.
    Host().UnlockProcess(this);
    EnableConnectionControls(true);
    controls_.Enable(kConnect, true);
  }
}

void VkcPPConnectionModel::OnPortStatus(intptr_t code) {
  auto set = [&](const char16_t* status, const char16_t* button, bool connected) {
    SetStatus(status);
    controls_.SetText(kConnect, button);
    controls_.Enable(kConnect, true);
    connected_ = connected;
  };
  switch (code) {
    case 0: set(u"Authorization error/Ready to connect.", u"Connect", false); break;
    case 1: set(u"Connected.", u"DisConnect", true); break;
    case 2: set(u"Ready to connect.", u"Connect", false); break;
    case 4: set(u"Socket failed/Ready to connect.", u"Connect", false); break;
    case 5: set(u"Unable to open serial port.", u"Connect", false); break;
    case 6: SetStatus(u"Unexpectedly disconnected/Reconnecting..."); break;
    default: break;
  }
  if (code == 6) return;
  if (HasHost()) Host().UnlockProcess(this);
  if (connected_ && passThroughOff_) {
    if (!EnableDaisyChain()) {
      SetStatus(u"Communication is not established through GPS receiver. Disconnecting. Please wait...");
      connected_ = false;
      controls_.Enable(kConnect, false);
      // A status handled inside the progress dialog may have closed the port already.
      VkcComPort* port = Port();
      if (port != nullptr && port->IsOpen()) port->Close();
      return;
    }
  }
  EnableConnectionControls(!connected_);
}

bool VkcPPConnectionModel::EnableDaisyChain() {
  const int iface = app_.Setting(kSerial, ModulinkApp::kInterfaceKey).GetInt();
  if (iface == 1 || iface == 3) return true;
  VkcComPort* port = Port();
  if (port == nullptr || !port->IsOpen()) {
    ShowMessage("Communication port is not open.");
    return false;
  }
  if (!HasHost() || !Host().LockProcess(this)) {
    ShowMessage("Unable to run process.\nAnother process is running");
    return false;
  }
  const bool switchOn = passThroughOff_;
  const ProgressRun run = Host().RunUnitTasks(switchOn ? u"Enabling Communicaton through GPS receiver"
                                                       : u"Disabling Communication through GPS receiver",
                                              {{kOpPassThrough, switchOn ? 1 : 0}});
  bool ok = false;
  if (run.modal == 1) {
    passThroughOff_ = !passThroughOff_;
    ok = true;
  } else if (run.result != 0) {
    std::string log;
    std::string shown;
    switch (run.result) {
      case 1:
      case 5:
        log = "No response from GPS receiver.";
        if (!switchOn) log += "\r\nPort's I/O parameters could not be restored on GPS receiver.";
        shown = log;
        break;
      case 2:
        log = "Error detected in GPS receiver's response.";
        shown = "Incorrect command sent to GPS receiver.";
        break;
      case 3:
        log = shown = "Saving of GPS ports parameters failed.";
        break;
      case 4:
        log = "Restoring of daisy chain ports parameters failed on GPS receiver.";
        shown = "Restoring of daisy chain ports settings failed on GPS receiver.";
        break;
      default:
        break;
    }
    if (!log.empty()) {
      ErrorLog().ReportError(0, "%s", log.c_str());
      ShowMessage(shown.c_str(), true);
    }
    if (!switchOn && run.result != 1) passThroughOff_ = true;
  }
  // A run the user stopped proves nothing about the receiver: not established, flag unchanged.
  Host().UnlockProcess(this);
  return ok;
}

bool VkcPPConnectionModel::OpenTcp(VkcComPort& port) {
  // The gateway reads 8-bit texts.
  const TcpConnectSettings settings(WideToAnsi(tcpAddress_), static_cast<uint16_t>(tcpPort_), WideToAnsi(userName_),
                                    WideToAnsi(password_));
  return port.SetTcpSettings(settings);
}
