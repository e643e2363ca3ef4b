#include "pages/VkcPPBluetoothModel.h"

#include "app/ModulinkApp.h"
#include "app/PageHost.h"
#include "devices/VkcDevice.h"
#include "devices/VkcDeviceManager.h"
#include "devices/VkcImageNodes.h"
#include "devices/VkcMCUController.h"
#include "link/Ansi.h"
#include "unit/VkcSystem.h"

namespace {

constexpr int kFields[] = {VkcPPBluetoothModel::kOwnAddress, VkcPPBluetoothModel::kState,
                           VkcPPBluetoothModel::kDestination, VkcPPBluetoothModel::kPin,
                           VkcPPBluetoothModel::kMode, VkcPPBluetoothModel::kName};

VkcNodePath Bt(int child) { return VkcPath(kVkcU, 1, kVkcR, 6, child); }

std::u16string ReadText(VkcSystem& unit, int child) {
  const CfgNode* node = unit.Find(Bt(child));
  return node != nullptr ? AnsiToWide(node->GetString()) : std::u16string();
}

void WriteText(VkcSystem& unit, int child, const std::u16string& text) { unit.At(Bt(child)).SetString(WideToAnsi(text)); }

}  // namespace

VkcPPBluetoothModel::VkcPPBluetoothModel() {
  controls_[kState].SetItems({u"Off", u"On"});
  controls_[kMode].SetItems({u"Slave", u"Master"});
  controls_[kPin].textLimit = static_cast<int>(kPinLimit);
  controls_[kName].textLimit = static_cast<int>(kNameLimit);
  controls_[kDestination].textLimit = 12;
  controls_.SetCommandText(kPin);
  controls_.SetCommandText(kName);
  controls_.SetText(kDestination, u"000000000000");
  controls_.SetReadOnly(kOwnAddress, true);
  controls_.SetText(kWarning,
                    u"WARNING: Bleutooth configuration can not be changed while connected through Bluetooth interface. "
                    u"To configure Bluetooth please connect to modem through USB or UART interface.");
  controls_.Show(kWarning, false);
  acceptedDestination_ = u"000000000000";
  On(kMode, ControlEvent::SelectionChanged, [this] { OnModeChanged(); });
  On(kDestination, ControlEvent::FocusLost, [this] { OnDestinationLeft(); });
}

bool VkcPPBluetoothModel::HasUnit() {
  return HasHost() && Host().Unit().GetCurrentDevice() != nullptr && Host().Unit().GetProductId() >= 1;
}

// A unit whose Bluetooth settings the page can change now.
bool VkcPPBluetoothModel::Usable() {
  if (!HasUnit() || Host().App().IsBluetoothPort()) return false;
  VkcSystem& unit = Host().Unit();
  return unit.GetCurrentDevice()->HasFeature(unit, 7) || Host().Devices().GetMCUController().IsPresent();
}

void VkcPPBluetoothModel::EnablePage(bool enable, bool mcu) {
  for (int id : kFields) controls_.Enable(id, enable);
  if (!enable || !mcu) controls_.Enable(kDiscoverable, enable);
  controls_.Show(kWarning, !enable && HasHost() && Host().App().IsBluetoothPort());
}

void VkcPPBluetoothModel::Show(const Values& v) {
  controls_.SetText(kDestination, v.destination);
  controls_.Select(kState, v.state);
  controls_.SetText(kPin, v.pin);
  controls_.SetCheck(kDiscoverable, v.discoverable);
  controls_.SetText(kName, v.name);
  controls_.Select(kMode, v.mode);
}

void VkcPPBluetoothModel::Refresh() {
  NoteFilledUnit(false);
  if (!HasUnit()) {
    EnablePage(false, false);
    return;
  }
  VkcSystem& unit = Host().Unit();
  VkcMCUController& mcu = Host().Devices().GetMCUController();
  const bool feature7 = unit.GetCurrentDevice()->HasFeature(unit, 7);
  if (!feature7 && !mcu.IsPresent()) {
    EnablePage(false, false);
    return;
  }
  EnablePage(!Host().App().IsBluetoothPort(), mcu.IsPresent());
  Values v;
  if (feature7) {
    v.name = ReadText(unit, 0).substr(0, kNameLimit);
    v.pin = ReadText(unit, 1).substr(0, kPinLimit);
    v.mode = ReadText(unit, 6) == u"1" ? 1 : 0;
    v.destination = ReadText(unit, 7);
    v.discoverable = ReadText(unit, 8) != u"0";
    controls_.SetText(kOwnAddress, ReadText(unit, 10));
    const int state = unit.ReadInt(Bt(11));
    v.state = state == 0 ? 0 : 1;  // anything but 0 shows On
  } else {
    const VkcMCUSettings& s = mcu.Settings();
    v.destination = AnsiToWide(s.GetRemoteAddress());
    controls_.SetText(kOwnAddress, AnsiToWide(s.GetOwnAddress()));
    v.state = s.IsBluetoothEnabled() ? 1 : 0;
    v.pin = AnsiToWide(s.GetPin()).substr(0, kPinLimit);
    v.name = AnsiToWide(s.GetBluetoothName()).substr(0, kNameLimit);
    v.mode = s.IsMaster() ? 1 : 0;
    v.discoverable = true;
  }
  shown_ = v;
  fields_ = v;
  acceptedDestination_ = v.destination;
  NoteFilledUnit(true);
  Show(v);
  // The mode gates these two only for units that keep the settings in the image.
  if (feature7 && controls_.Get(kName).enabled) {
    if (v.mode == 1) controls_.Enable(kDiscoverable, false);
    if (v.mode == 0) controls_.Enable(kDestination, false);
  }
}

void VkcPPBluetoothModel::OnModeChanged() {
  const int mode = controls_.Selection(kMode);
  const bool mcu = HasHost() && Host().Devices().GetMCUController().IsPresent();
  if (mode == 0) {
    if (!mcu) controls_.Enable(kDiscoverable, true);
    controls_.Enable(kDestination, false);
  } else if (mode == 1) {
    controls_.Enable(kDiscoverable, false);
    controls_.Enable(kDestination, true);
  } else {
    controls_.Enable(kDiscoverable, false);
    controls_.Enable(kDestination, false);
  }
}

std::u16string VkcPPBluetoothModel::NormalisedAddress(std::u16string_view raw) {
  // All twelve digits are needed: a shorter address names no device.
  if (raw.size() < 12) return {};
  std::u16string out;
  for (char16_t c : raw.substr(0, 12)) {
    if (c >= u'A' && c <= u'F') c = static_cast<char16_t>(c - u'A' + u'a');
    if (!((c >= u'0' && c <= u'9') || (c >= u'a' && c <= u'f'))) return {};
    out.push_back(c);
  }
  return out;
}

void VkcPPBluetoothModel::OnDestinationLeft() {
  const std::u16string address = NormalisedAddress(controls_.Text(kDestination));
  if (!address.empty()) {
    acceptedDestination_ = address;
    controls_.SetText(kDestination, address);
    return;
  }
  ShowMessage("The destination address is not in hexadecimal format\r\n");
  controls_.SetText(kDestination, acceptedDestination_);
}

void VkcPPBluetoothModel::Exchange(VkcDataExchange& dx) {
  dx.Text(kDestination, fields_.destination);
  dx.Index(kState, fields_.state);
  dx.Text(kPin, kPinLimit, fields_.pin);
  dx.Check(kDiscoverable, fields_.discoverable);
  dx.Text(kName, kNameLimit, fields_.name);
  dx.Index(kMode, fields_.mode);
}

bool VkcPPBluetoothModel::Store() {
  // Only what the last refresh filled for this unit is ever written back.
  if (!IsFilledUnit() || !Usable()) return true;
  VkcSystem& unit = Host().Unit();
  // A destination left as refresh showed it goes back as the unit holds it, so an untouched
  // upper-case address is no change; one that never passed the check is not stored.
  std::u16string destination =
      fields_.destination == shown_.destination ? shown_.destination : NormalisedAddress(fields_.destination);
  if (destination.empty()) destination = acceptedDestination_;
  Values now = fields_;
  now.destination = destination;
  if (unit.GetCurrentDevice()->HasFeature(unit, 7)) {
    WriteText(unit, 7, now.destination);
    unit.WriteInt(Bt(11), now.state);
    WriteText(unit, 1, now.pin);
    WriteText(unit, 8, now.discoverable ? u"1" : u"0");
    WriteText(unit, 0, now.name);
    WriteText(unit, 6, now.mode == 1 ? u"1" : u"0");
    if (now == shown_) return true;
    WriteText(unit, 9, u"YES");
    if (now.state == 1) unit.SetBluetoothChanged(true);
    return true;
  }
  VkcMCUController& mcu = Host().Devices().GetMCUController();
  VkcMCUSettings& s = mcu.Settings();
  s.SetRemoteAddress(WideToAnsi(now.destination));
  s.SetBluetoothEnabled(now.state == 1);
  s.SetPin(WideToAnsi(now.pin));
  s.SetBluetoothName(WideToAnsi(now.name));
  s.SetMaster(now.mode == 1);
  Values compare = now;
  compare.discoverable = shown_.discoverable;  // the MCU keeps no discoverability
  if (!(compare == shown_)) mcu.SetBluetoothChanged(true);
  return true;
}
