#include "app/ModulinkApp.h"

#include <QString>
#include <cerrno>
#include <cstdio>
#include <filesystem>

#include "devices/VkcDeviceManager.h"
#include "link/Utf.h"
#include "link/VkcCfgArchiver.h"
#include "link/VkcComPort.h"
#include "link/VkcErrorProcessor.h"
#include "platform/Files.h"
#include "platform/SettingsLocation.h"
#include "platform/qt/MessageBox.h"
#include "unit/VkcSystem.h"

namespace {
ModulinkApp* g_instance = nullptr;

int ShowRealMessageBox(const std::u16string& text, unsigned flags) {
  return platform::qt::ShowMessageBox(nullptr, QString::fromStdU16String(text), flags,
                                      QString::fromUtf8(ModulinkApp::kTitle));
}
}  // namespace

ModulinkApp::ModulinkApp(std::string settingsPath)
    : settingsPath_(settingsPath.empty() ? platform::SettingsFilePath() : std::move(settingsPath)) {
  g_instance = this;
}

ModulinkApp::~ModulinkApp() {
  if (g_instance == this) g_instance = nullptr;
}

void ModulinkApp::Attach(VkcDeviceManager* devices, VkcSystem* unit, VkcMainDocument* tabs) {
  devices_ = devices;
  unit_ = unit;
  tabs_ = tabs;
}

VkcDeviceManager& ModulinkApp::Devices() {
  if (devices_ == nullptr) {
    ownDevices_ = std::make_unique<VkcDeviceManager>();
    ownDevices_->RegisterPrototypes();
    devices_ = ownDevices_.get();
  }
  return *devices_;
}

VkcSystem& ModulinkApp::System() {
  if (unit_ == nullptr) {
    ownUnit_ = std::make_unique<VkcSystem>();
    ownUnit_->Attach(&Devices(), &settings_, [this] { return CurrentPort(); });
    unit_ = ownUnit_.get();
  }
  return *unit_;
}

ModulinkApp* ModulinkApp::Instance() { return g_instance; }

bool ModulinkApp::InitInstance() {
  LoadSettings();
  return false;
}

int ModulinkApp::ExitInstance() {
  StoreSettings();
  return 0;
}

CfgNode& ModulinkApp::Setting(std::string_view section, std::string_view key) {
  return settings_.GetSection(section).GetChild(key);
}

bool ModulinkApp::LoadSettings() {
  // Loaded into a scratch tree, so a file that fails half-way leaves nothing behind.
  VkcConfiguration loaded;
  bool missing = false;
  std::string reason;
  try {
    VkcCfgArchiver ar(settingsPath_, true);
    if (loaded.Load(ar)) {
      settings_.AssignRoot(loaded.Root());
      ValidateSettings();
      return true;
    }
    reason = "incomplete";
  } catch (const CfgFileError& e) {
    missing = e.Cause() == ENOENT;
    reason = e.what();
  } catch (const CfgArchiveError& e) {
    reason = e.what();
  }
  if (!missing) {
    // Keep the damaged file for the user: the store at shut-down would replace it.
    const std::string aside = settingsPath_ + ".bad";
    if (std::rename(settingsPath_.c_str(), aside.c_str()) == 0) {
      ErrorLog().ReportError(0, "The settings could not be read (%s); the file was kept as %s", reason.c_str(),
                             aside.c_str());
    } else {
      ErrorLog().ReportError(errno, "The settings could not be read (%s)", reason.c_str());
    }
  }
  settings_ = VkcConfiguration();
  ResetSettings();
  return false;
}

bool ModulinkApp::StoreSettings() {
  try {
    const std::filesystem::path folder = std::filesystem::path(settingsPath_).parent_path();
    if (!folder.empty()) platform::MakeFolders(folder.string());
    VkcCfgArchiver ar(settingsPath_, false);
    return settings_.Save(ar) && ar.Close();
  } catch (const CfgArchiveError&) {
  } catch (const CfgFileError&) {
  }
  return false;
}

void ModulinkApp::ValidateSettings() {
  CfgNode& iface = Setting(kSerialSection, kInterfaceKey);
  if (iface.GetScalar() == 0) iface.SetInt(kDefaultInterface);
  CfgNode& address = Setting(kTcpSection, kAddressKey);
  if (address.GetWString().empty()) address.SetWString(kDefaultHost);
  CfgNode& user = Setting(kTcpSection, kUserNameKey);
  if (user.GetWString().empty()) user.SetWString(kDefaultUserName);
  // The stored value is read as signed: a stored -1 or 70000 is no port either.
  CfgNode& port = Setting(kTcpSection, kPortKey);
  if (port.GetInt() < 1 || port.GetInt() > 65535) port.SetInt(kDefaultTcpPort);
  // Any other type would show the TCP fields while the serial port stays current.
  CfgNode& type = Setting(kConnectionSection, kTypeKey);
  if (type.GetScalar() != kConnectionSerial && type.GetScalar() != kConnectionTcp) type.SetInt(kConnectionSerial);
}

void ModulinkApp::ResetSettings() {
  Setting(kSerialSection, kInterfaceKey).SetInt(kDefaultInterface);
  Setting(kConnectionSection, kTypeKey).SetInt(kConnectionSerial);
  Setting(kTcpSection, kAddressKey).SetWString(kDefaultHost);
  Setting(kTcpSection, kUserNameKey).SetWString(kDefaultUserName);
  Setting(kTcpSection, kPortKey).SetInt(kDefaultTcpPort);
}

int ModulinkApp::ShowMessage(const std::u16string& text, unsigned flags, bool hint) {
  std::u16string shown = text;
  if (hint && Setting(kConnectionSection, kTypeKey).GetScalar() == kConnectionTcp) shown += kTcpHint;
  return messageBox_ ? messageBox_(shown, flags) : ShowRealMessageBox(shown, flags);
}

int ModulinkApp::ShowMessage(std::string_view utf8Text, unsigned flags, bool hint) {
  return ShowMessage(Utf8ToUtf16(utf8Text), flags, hint);
}

void ModulinkApp::SetMessageBoxFunction(MessageBoxFunction function) { messageBox_ = std::move(function); }

void ModulinkApp::SetPorts(VkcComPort* serialPort, VkcComPort* tcpClient) {
  serialPort_ = serialPort;
  tcpClient_ = tcpClient;
  currentPort_ = serialPort;
}

bool ModulinkApp::SetConnectionType(uint32_t type) {
  currentPort_ = type == kConnectionTcp ? tcpClient_ : serialPort_;
  Setting(kConnectionSection, kTypeKey).SetInt(type);
  return true;
}

uint32_t ModulinkApp::GetCommandTimeout() const { return currentPort_ ? currentPort_->GetReplyTimeout() : 0; }

uint32_t ModulinkApp::GetLongTimeout() const { return currentPort_ ? currentPort_->GetLongTimeout() : 0; }

void ModulinkApp::UpdateBluetoothFlag(std::u16string_view friendlyName) {
  static constexpr std::u16string_view kWord = u"BLUETOOTH";
  std::u16string upper(friendlyName);
  for (char16_t& c : upper) {
    if (c >= u'a' && c <= u'z') c = static_cast<char16_t>(c - u'a' + u'A');
  }
  bluetoothPort_ = upper.find(kWord) != std::u16string::npos;
}

void ModulinkApp::UpdateBluetoothFlag(std::string_view utf8FriendlyName) {
  UpdateBluetoothFlag(Utf8ToUtf16(utf8FriendlyName));
}
