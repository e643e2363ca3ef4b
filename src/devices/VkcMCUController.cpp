// The MCU command line: single exchanges, the composites run by identification and the unit
// operations, and the MCU settings image.

#include "devices/VkcMCUController.h"

#include <cstring>
#include <optional>

#include "devices/VkcCommandExchange.h"
#include "devices/VkcDevice.h"
#include "devices/VkcDeviceTimeouts.h"
#include "devices/VkcImageNodes.h"
#include "devices/VkcPortRates.h"
#include "devices/VkcUnitImages.h"
#include "link/Ansi.h"
#include "link/CommandText.h"
#include "link/VkcComPort.h"
#include "link/VkcConfiguration.h"
#include "link/VkcErrorProcessor.h"
#include "platform/Event.h"
#include "platform/Timing.h"

namespace {

const char* const kRouteWords[] = {"MDMUSB", "MDMBT", "MDMSER"};
const char16_t* const kRouteNames[] = {u"Modem to USB", u"Modem to BT", u"Modem to UART"};

uint32_t CommandTimeout(VkcComPort* port) { return port ? port->GetReplyTimeout() : 0; }

bool Holds(const std::string& text, const char* part) { return text.find(part) != std::string::npos; }

// A value is the reply before "@00", without the line breaks around it (an MCU that answers in
// the radio's reply form puts one before the code). Blanks are part of the value: a Bluetooth
// name or PIN may begin or end with one, and must be written back as it was.
std::string ValueOf(const std::string& reply) {
  std::string value = reply.substr(0, reply.find("@00"));
  const char* lineBreaks = "\r\n";
  const size_t first = value.find_first_not_of(lineBreaks);
  if (first == std::string::npos) return {};
  return value.substr(first, value.find_last_not_of(lineBreaks) - first + 1);
}

CfgNode& NodeIn(VkcConfiguration& image, const VkcNodePath& path) {
  CfgNode* node = &image.Root();
  for (int step : path.Steps()) node = &node->GetChildAt(step);
  return *node;
}

const CfgNode* FindIn(const VkcConfiguration& image, const VkcNodePath& path) {
  const CfgNode* node = &image.Root();
  for (int step : path.Steps()) {
    if (step < 0 || static_cast<size_t>(step) >= node->GetChildCount()) return nullptr;
    node = &node->ChildAt(static_cast<size_t>(step));
  }
  return node;
}

}  // namespace

bool VkcMCUController::QueryWithValue(VkcComPort* port, const char* head, const std::string& value,
                                      const char* expected) {
  const std::optional<std::string> command = CommandWithValue(head, value, "\r");
  return command && Query(port, *command, devtimeouts::kMcuCommandMs, expected, nullptr);
}

bool VkcMCUController::Query(VkcComPort* port, const std::string& command, uint32_t timeoutMs, const char* expected,
                             std::string* value, platform::Event* stop) {
  VkcExchange x;
  x.command = command.c_str();
  x.timeoutMs = timeoutMs;
  x.extra = stop ? stop : stop_;
  const bool answered = x.Run(port, {expected});
  if (value) *value = answered ? ValueOf(x.reply) : std::string();
  return answered;
}

bool VkcMCUController::EnterCommandLine(VkcComPort* port) {
  const uint32_t t = CommandTimeout(port);
  Query(port, "\nDATAMODE\r", t, "CLI>", nullptr);
  Query(port, "\nMCU CLI OFF\r", t, "CLI>", nullptr);
  VkcExchange x;
  x.command = "####";
  x.raw = true;
  x.echo = false;
  x.timeoutMs = t;
  x.extra = stop_;
  return x.Run(port, {"@00"});
}

bool VkcMCUController::LeaveCommandLine(VkcComPort* port) {
  return Query(port, "\nMCU CLI OFF\r", CommandTimeout(port), "@00", nullptr);
}

int VkcMCUController::ReadSerialRate(VkcComPort* port) {
  std::string value;
  if (!Query(port, "\nJLDEV SRATE\r", devtimeouts::kMcuCommandMs, "@00", &value)) {
    settings_.SetHasSerialPort(false);
    return 0;
  }
  settings_.SetHasSerialPort(true);
  const VkcUnitImages* system = GlobalUnitImages();
  if (!system || !system->GetCurrentDevice()) return 0;
  // Index 0 names no rate, so the scan starts at 1.
  int index = 0;
  for (int i = 1; i < VkcDevice::GetSerialRateNameCount(); ++i) {
    const char16_t* name = VkcDevice::GetSerialRateName(i);
    if (name && Holds(value, WideToAnsi(name).c_str())) index = i;
  }
  if (index != 0) settings_.SetSerialRate(static_cast<uint32_t>(index));
  return index;
}

bool VkcMCUController::WriteSerialRate(VkcComPort* port, int index) {
  const char16_t* name = VkcDevice::GetSerialRateName(index);
  if (!name) return false;
  const bool answered = QueryWithValue(port, "\nJLDEV SRATE ", WideToAnsi(name), "@0");
  if (port) port->SetBaudRate(PortRateFromIndex(index - 1));
  platform::Event pause;
  if (stop_)
    platform::Event::WaitAny({stop_, &pause}, platform::Scaled(devtimeouts::kMcuRateSettleMs));
  else
    pause.Wait(platform::Scaled(devtimeouts::kMcuRateSettleMs));
  return answered;
}

int VkcMCUController::ReadSerialType(VkcComPort* port) {
  std::string value;
  int type = -1;
  if (Query(port, "\nJLDEV SER\r", devtimeouts::kMcuCommandMs, "@00", &value)) {
    if (Holds(value, "RS232")) type = 0;
    else if (Holds(value, "RS422")) type = 1;
    else if (Holds(value, "RS485")) type = 2;
  }
  settings_.SetSerialType(type);
  return type;
}

int VkcMCUController::ReadCurrentPort(VkcComPort* port) {
  std::string value;
  int current = -1;
  if (Query(port, "\nJLDEV CURPORT\r", devtimeouts::kMcuCommandMs, "@00", &value)) {
    if (Holds(value, "SER")) current = 0;
    else if (Holds(value, "USB")) current = 1;
    else if (Holds(value, "BT")) current = 2;
  }
  settings_.SetCurrentPort(current);
  return current;
}

std::string VkcMCUController::ReadOwnAddress(VkcComPort* port) {
  std::string value;
  Query(port, "\nJLBT OWNADDR\r", devtimeouts::kMcuCommandMs, "@00", &value);
  settings_.SetOwnAddress(value);
  return value;
}

std::string VkcMCUController::ReadRemoteAddress(VkcComPort* port) {
  std::string value;
  Query(port, "\nJLBT DSTADDR\r", devtimeouts::kMcuCommandMs, "@00", &value);
  settings_.SetRemoteAddress(value);
  return value;
}

bool VkcMCUController::WriteRemoteAddress(VkcComPort* port, const std::string& text) {
  if (text.size() > 12) return false;
  return QueryWithValue(port, "\nJLBT DSTADDR ", text, "@00");
}

std::string VkcMCUController::ReadPin(VkcComPort* port) {
  std::string value;
  Query(port, "\nJLBT PIN\r", devtimeouts::kMcuCommandMs, "@00", &value);
  settings_.SetPin(value);
  return value;
}

bool VkcMCUController::WritePin(VkcComPort* port, const std::string& text) {
  if (text.size() > 8) return false;
  return QueryWithValue(port, "\nJLBT PIN ", text, "@00");
}

std::string VkcMCUController::ReadBluetoothName(VkcComPort* port) {
  std::string value;
  Query(port, "\nJLBT NAME\r", devtimeouts::kMcuCommandMs, "@00", &value);
  settings_.SetBluetoothName(value);
  return value;
}

bool VkcMCUController::WriteBluetoothName(VkcComPort* port, const std::string& text) {
  if (text.size() > 14) return false;
  return QueryWithValue(port, "\nJLBT NAME ", text, "@00");
}

bool VkcMCUController::ReadMaster(VkcComPort* port) {
  std::string value;
  Query(port, "\nJLBT MASTER\r", devtimeouts::kMcuCommandMs, "@00", &value);
  settings_.SetMaster(Holds(value, "ON"));
  return settings_.IsMaster();
}

bool VkcMCUController::WriteMaster(VkcComPort* port, bool on) {
  return Query(port, std::string("\nJLBT MASTER ") + (on ? "ON" : "OFF") + "\r", devtimeouts::kMcuCommandMs, "@00",
               nullptr);
}

bool VkcMCUController::ReadBluetoothEnabled(VkcComPort* port) {
  std::string value;
  Query(port, "\nJLDEV BT\r", devtimeouts::kMcuCommandMs, "@00", &value);
  settings_.SetBluetoothEnabled(Holds(value, "ON"));
  return settings_.IsBluetoothEnabled();
}

bool VkcMCUController::WriteBluetoothEnabled(VkcComPort* port, bool on) {
  return Query(port, std::string("\nJLDEV BT ") + (on ? "ON" : "OFF") + "\r", devtimeouts::kMcuCommandMs, "@00",
               nullptr);
}

bool VkcMCUController::WriteRoute(VkcComPort* port, int routeIndex) {
  if (routeIndex < 0 || routeIndex > 2) return false;
  return Query(port, std::string("\nJLROUTE ") + kRouteWords[routeIndex] + "\r", CommandTimeout(port), "@00",
               nullptr);
}

void VkcMCUController::ProbeMcu(VkcComPort* port, platform::WindowHandle, platform::Event* stop) {
  const uint32_t t = CommandTimeout(port);
  Query(port, "\nDATAMODE\r", t, "CLI>", nullptr, stop);
  Query(port, "\nMCU CLI OFF\r", t, "CLI>", nullptr, stop);
  VkcExchange enter;
  enter.command = "####";
  enter.raw = true;
  enter.echo = false;
  enter.timeoutMs = devtimeouts::kMcuProbeMs;
  enter.extra = stop;
  if (!enter.Run(port, {"@00"})) return;  // no MCU: the record stays as it was
  std::string value;
  if (Query(port, "\nJLROUTE\r", devtimeouts::kMcuCommandMs, "@00", &value)) {
    if (Holds(value, "MDMSER")) settings_.SetRouteCode(VkcMCUSettings::kRouteUart);
    else if (Holds(value, "MDMUSB")) settings_.SetRouteCode(VkcMCUSettings::kRouteUsb);
    else if (Holds(value, "MDMBT")) settings_.SetRouteCode(VkcMCUSettings::kRouteBt);
  }
  RouteToCurrentPort(port);
  LeaveCommandLine(port);
}

void VkcMCUController::RouteToCurrentPort(VkcComPort* port) {
  int index = 0;
  switch (ReadCurrentPort(port)) {
    case 0: index = 2; break;
    case 1: index = 0; break;
    case 2: index = 1; break;
    default: settings_.SetRouteCode(VkcMCUSettings::kRouteNone);
  }
  WriteRoute(port, index);
}

bool VkcMCUController::Stopped() const { return stop_ != nullptr && stop_->IsSet(); }

bool VkcMCUController::ReadAll(VkcComPort* port, platform::Event* stop) {
  if (!IsPresent()) return true;
  StopScope scope(*this, stop);
  const bool entered = EnterCommandLine(port);
  ReadBluetoothEnabled(port);
  ReadBluetoothName(port);
  ReadPin(port);
  ReadMaster(port);
  ReadRemoteAddress(port);
  ReadOwnAddress(port);
  ReadCurrentPort(port);
  ReadSerialType(port);
  ReadSerialRate(port);
  WriteRoute(port, settings_.GetRoute());
  LeaveCommandLine(port);
  return entered;
}

bool VkcMCUController::WriteAll(VkcComPort* port, platform::Event* stop) {
  if (!IsPresent()) return true;
  StopScope scope(*this, stop);
  const bool entered = EnterCommandLine(port);
  if (bluetoothChanged_) {
    WriteBluetoothEnabled(port, false);
    WriteBluetoothName(port, settings_.GetBluetoothName());
    WritePin(port, settings_.GetPin());
    WriteMaster(port, settings_.IsMaster());
    WriteRemoteAddress(port, settings_.GetRemoteAddress());
    WriteBluetoothEnabled(port, settings_.IsBluetoothEnabled());
    bluetoothChanged_ = false;
  }
  if (settings_.HasSerialPort()) WriteSerialRate(port, static_cast<int>(settings_.GetSerialRate()));
  LeaveCommandLine(port);
  return entered;
}

void VkcMCUController::ApplyStoredRoute(VkcComPort* port, platform::Event* stop) {
  if (!IsPresent()) return;
  StopScope scope(*this, stop);
  if (!EnterCommandLine(port)) {
    if (!Stopped()) settings_.SetRouteCode(VkcMCUSettings::kRouteNone);
    return;
  }
  WriteRoute(port, settings_.GetRoute());
  LeaveCommandLine(port);
}

void VkcMCUController::RefreshRoute(VkcComPort* port, platform::Event* stop) {
  if (!IsPresent()) return;
  StopScope scope(*this, stop);
  if (!EnterCommandLine(port)) {
    if (!Stopped()) settings_.SetRouteCode(VkcMCUSettings::kRouteNone);
    return;
  }
  RouteToCurrentPort(port);
  LeaveCommandLine(port);
}

const char16_t* const* VkcMCUController::GetRouteNames(int& count) const {
  count = settings_.HasSerialPort() ? 3 : 2;
  return kRouteNames;
}

void VkcMCUController::GetSerialRateChoices(std::vector<int>& out) const {
  out.clear();
  if (settings_.HasSerialPort()) out = {3, 4, 6, 8, 9};
}

bool VkcMCUController::SaveSettingsToImage(VkcConfiguration& image) const {
  if (!IsPresent()) return false;
  NodeIn(image, VkcNodes::kMcuBtEnabled).SetBool(settings_.IsBluetoothEnabled());
  NodeIn(image, VkcNodes::kMcuBtName).SetString(settings_.GetBluetoothName());
  NodeIn(image, VkcNodes::kMcuPin).SetString(settings_.GetPin());
  NodeIn(image, VkcNodes::kMcuMaster).SetBool(settings_.IsMaster());
  NodeIn(image, VkcNodes::kMcuRemoteAddress).SetString(settings_.GetRemoteAddress());
  NodeIn(image, VkcNodes::kMcuHasSerial).SetBool(settings_.HasSerialPort());
  if (settings_.HasSerialPort()) {
    NodeIn(image, VkcNodes::kMcuSerialType).SetInt(static_cast<uint32_t>(settings_.GetSerialType()));
    NodeIn(image, VkcNodes::kMcuSerialRate).SetInt(settings_.GetSerialRate());
  }
  NodeIn(image, VkcNodes::kMcuRoute).SetInt(static_cast<uint32_t>(settings_.GetRoute()));
  return true;
}

bool VkcMCUController::LoadSettingsFromImage(VkcConfiguration& image) {
  if (image.IsEmpty()) return false;
  auto node = [&](const VkcNodePath& path) {
    static const CfgNode kAbsent;
    const CfgNode* found = FindIn(image, path);
    return found ? found : &kAbsent;
  };
  // The texts go into MCU command lines: one holding a control character is not taken.
  auto text = [&](const VkcNodePath& path, const char* what, void (VkcMCUSettings::*set)(std::string)) {
    const std::string value = node(path)->GetString();
    if (IsCommandValue(value)) {
      (settings_.*set)(value);
    } else {
      ErrorLog().ReportError(0, "The configuration's MCU %s holds a control character: the previous one is kept",
                             what);
    }
  };
  settings_.SetBluetoothEnabled(node(VkcNodes::kMcuBtEnabled)->GetBool());
  text(VkcNodes::kMcuBtName, "Bluetooth name", &VkcMCUSettings::SetBluetoothName);
  text(VkcNodes::kMcuPin, "Bluetooth PIN", &VkcMCUSettings::SetPin);
  settings_.SetMaster(node(VkcNodes::kMcuMaster)->GetBool());
  text(VkcNodes::kMcuRemoteAddress, "Bluetooth remote address", &VkcMCUSettings::SetRemoteAddress);
  settings_.SetHasSerialPort(node(VkcNodes::kMcuHasSerial)->GetBool());
  if (settings_.HasSerialPort()) {
    settings_.SetSerialType(node(VkcNodes::kMcuSerialType)->GetInt());
    settings_.SetSerialRate(node(VkcNodes::kMcuSerialRate)->GetScalar());
  }
  settings_.SetRoute(node(VkcNodes::kMcuRoute)->GetInt());
  return true;
}
