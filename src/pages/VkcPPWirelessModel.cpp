#include "pages/VkcPPWirelessModel.h"

#include <algorithm>

#include "app/PageHost.h"
#include "app/PageText.h"
#include "devices/VkcDevice.h"
#include "devices/VkcImageNodes.h"
#include "link/Format.h"
#include "link/Utf.h"
#include "unit/VkcSystem.h"

namespace {
using M = VkcPPWirelessModel;

constexpr int kAllControls[] = {
    M::kBase,       M::kRemote,     M::kModulation,   M::kProtocol,     M::kRate,           M::kAutoScan,
    M::kManual,     M::kHopping,    M::kChannel,      M::kPattern,      M::kPatternSpin,    M::kSlider,
    M::kMinLabel,   M::kMaxLabel,   M::kPower,        M::kPowerUnit,    M::kScrambling,     M::kTxChannel,
    M::kFec,        M::kLinkId,     M::kLinkIdSpin,   M::kChannelLabel, M::kTxLabel,        M::kFrameMsg,
    M::kDataMsg,    M::kStatusMsg,  M::kRepeater,     M::kScanSignal,   M::kReceiver,       M::kReceiverLabel,
    M::kScanFrequency, M::kChannelNumber, M::kScanGroup, M::kScanFrequencyLabel, M::kScanSignalLabel};
constexpr int kScanControls[] = {M::kScanGroup, M::kScanFrequency, M::kScanFrequencyLabel, M::kScanSignal,
                                 M::kScanSignalLabel};


std::u16string FrequencyLabel(uint32_t hz) {
  return Utf8ToUtf16(StrPrintf("Frequency %d Hz", static_cast<int>(hz)));
}
}  // namespace

VkcPPWirelessModel::VkcPPWirelessModel() {
  controls_[kPowerUnit].SetItems({u"dBm", u"mW"}, {0, 1});
  controls_.Select(kPowerUnit, 0);
  controls_[kReceiver].SetItems({u"L-Band", u"Beacon"}, {0, 1});
  controls_[kScanFrequency].SetItems({u"Whole frequency range with 500 Hz step", u"Frequencies in channel map"}, {0, 1});
  controls_[kScanSignal].SetItems({u"100 bps signals", u"200bps signals", u"50 bps signals", u"All signal types"},
                                  {0, 1, 2, 3});
  controls_.SetRange(kPatternSpin, 1, kPatternMax);
  controls_.SetRange(kLinkIdSpin, 1, 255);
  controls_.SetText(kRate, u"Rate");
  controls_.SetText(kChannelLabel, u"Frequency &Channel");
  controls_.SetText(kTxLabel, u"Frequency &Channel Tx");
  controls_.SetText(kMinLabel, u"13");
  controls_.SetText(kMaxLabel, u"33");
  for (int id : {kReceiver, kReceiverLabel, kChannelNumber}) controls_.Show(id, false);
  for (int id : kScanControls) controls_.Show(id, false);

  On(kBase, ControlEvent::Clicked, [this] { OnStation(); });
  On(kRemote, ControlEvent::Clicked, [this] { OnStation(); });
  On(kProtocol, ControlEvent::SelectionChanged, [this] { OnProtocol(); });
  for (int id : {kAutoScan, kManual, kHopping}) On(id, ControlEvent::Clicked, [this] { OnChannelMode(); });
  On(kPowerUnit, ControlEvent::SelectionChanged, [this] { OnPowerUnit(); });
  On(kSlider, ControlEvent::Scrolled, [this] { pair_.OnScroll(controls_); });
  On(kScrambling, ControlEvent::Clicked, [this] { OnScrambling(); });
  On(kModulation, ControlEvent::SelectionChanged, [this] {
    TakeValues();
    UpdateRate();
  });
  On(kPower, ControlEvent::TextEdited, [this] { pair_.OnEditChanged(controls_); });
  On(kPower, ControlEvent::FocusLost, [this] { pair_.OnEditLeft(controls_); });
  On(kChannel, ControlEvent::SelectionChanged, [this] { OnChannel(); });
  On(kReceiver, ControlEvent::SelectionChanged, [this] { OnActiveReceiver(); });
  On(kChannelNumber, ControlEvent::FocusLost, [this] { OnChannelNumberLeft(); });
  On(kLinkId, ControlEvent::FocusLost, [this] { OnLinkIdLeft(); });
  On(kPatternSpin, ControlEvent::ValueChanged, [this] { OnPatternSpin(); });
  On(kLinkIdSpin, ControlEvent::ValueChanged, [this] { OnLinkIdSpin(); });
}

VkcSystem& VkcPPWirelessModel::Sys() { return Host().Unit(); }

const VkcDevice* VkcPPWirelessModel::Device() { return HasHost() ? Sys().GetCurrentDevice() : nullptr; }

bool VkcPPWirelessModel::HasFeature(int id) {
  const VkcDevice* device = Device();
  return device != nullptr && device->HasFeature(Sys(), id);
}

int VkcPPWirelessModel::StoredProtocol() { return Sys().ReadInt(VkcNodes::kProtocol); }

int VkcPPWirelessModel::SelectedProtocol() const {
  const ControlState& list = controls_.Get(kProtocol);
  return list.selection >= 0 ? static_cast<int>(list.SelectedData()) : -1;
}

void VkcPPWirelessModel::DisableAll() {
  controls_.SetText(kRate, u"");
  for (int id : kAllControls) controls_.Enable(id, false);
  for (int id : {kReceiver, kReceiverLabel}) controls_.Show(id, false);
  for (int id : kScanControls) controls_.Show(id, false);
}

void VkcPPWirelessModel::Refresh() {
  const VkcDevice* device = Device();
  if (device == nullptr || device->GetModelId() <= 0) {
    NoteFilledUnit(false);
    return DisableAll();
  }
  for (int id : kAllControls) controls_.Enable(id, true);

  FillActiveReceiver();
  device = Device();  // the receiver mode may have chosen another device object
  NoteFilledUnit(true);
  station_ = device->IsTransmitterProtocol(Sys(), true, nullptr) ? 0 : 1;
  controls_.Enable(kBase, device->IsTransceiver());
  const int family = device->GetFirmwareFamily();
  if (family == 1 || family == 2) {
    controls_.Enable(kBase, false);
    controls_.Enable(kRemote, false);
  }
  if (family == 2) station_ = 1;
  controls_.Select(kStation, station_);

  FillProtocols();
  controls_.Enable(kHopping, HasFeature(0));
  controls_.Enable(kAutoScan, HasFeature(1));
  pattern_ = Sys().ReadInt(VkcNodes::kHoppingPattern);
  mode_ = pattern_ != 0 && HasFeature(0) ? 2 : device->IsAutoScanActive() ? 0 : 1;
  controls_.Select(kChannelMode, mode_);
  controls_.SetText(kPattern, Decimal(pattern_));

  UpdateScanCriteria();
  UpdateChannelLists();
  FillModulations();

  const int power = device->GetOutputPower(VkcDevice::kCurrentChannel);
  unit_ = controls_.Selection(kPowerUnit) == 1 ? PowerUnit::Milliwatt : PowerUnit::Dbm;
  UpdatePowerControls(PowerRange::Convert(power, PowerUnit::Dbm, unit_, HasFeature(6)));

  controls_.SetCheck(kFec, Sys().ReadInt(VkcNodes::kFec) != 0);
  linkId_ = Sys().ReadInt(VkcNodes::kScramblingId);
  controls_.SetCheck(kScrambling, linkId_ != 0);
  UpdateLinkControls();

  const int mask = Sys().ReadInt(VkcNodes::kMessageMask);
  const bool messages = HasFeature(4);
  const int boxes[] = {kFrameMsg, kDataMsg, kStatusMsg};
  for (int bit = 0; bit < 3; ++bit) {
    controls_.Enable(boxes[bit], messages);
    if (messages) controls_.SetCheck(boxes[bit], (mask >> bit) & 1);
  }

  controls_.SetCheck(kRepeater, Sys().ReadInt(VkcNodes::kRepeater) != 0);
  UpdateRepeater();
  UpdateChannelLabels();

  const bool byNumber = HasFeature(14);
  controls_.Show(kChannel, !byNumber);
  controls_.Show(kChannelNumber, byNumber);
  if (byNumber) controls_.Enable(kTxLabel, true);
}

void VkcPPWirelessModel::FillActiveReceiver() {
  const VkcDevice* device = Device();
  const bool switchable = device->CanSwitchReceiverMode();
  controls_.Show(kReceiver, switchable);
  controls_.Show(kReceiverLabel, switchable);
  if (!switchable) return;
  const int index = Sys().ReadInt(VkcNodes::kActiveReceiver);
  controls_.Select(kReceiver, index >= 0 && index < controls_.Get(kReceiver).ItemCount() ? index : -1);
  if (const VkcDevice* mode = device->GetDeviceForMode(index)) Sys().SetCurrentDevice(mode);
}

void VkcPPWirelessModel::FillProtocols() {
  const VkcDevice* device = Device();
  ControlState& list = controls_[kProtocol];
  list.SetItems({});
  const char16_t* stored = device->GetProtocolName(StoredProtocol());
  std::vector<int> protocols;
  device->GetProtocolList(station_ == 0, protocols);
  int selected = -1;
  int same = -1;
  for (int protocol : protocols) {
    const char16_t* name = device->GetProtocolName(protocol);
    if (name == nullptr || *name == 0) continue;
    const int index = list.AddItem(name, protocol);
    if (stored != nullptr && std::u16string_view(name) == stored) selected = index;
    if (protocol == StoredProtocol()) same = index;
  }
  // The stored protocol itself where it is offered: two protocols of one name must not turn into
  // each other on an apply that changed nothing.
  if (same >= 0) selected = same;
  list.selection = selected >= 0 ? selected : (list.ItemCount() > 0 ? 0 : -1);
}

void VkcPPWirelessModel::FillModulations() {
  const VkcDevice* device = Device();
  ControlState& list = controls_[kModulation];
  list.SetItems({});
  std::vector<int> modulations;
  device->GetModulationsForCurrentProtocol(Sys(), modulations);
  for (int modulation : modulations)
    if (const char16_t* name = VkcDevice::GetModulationName(modulation)) list.AddItem(name, modulation);
  const int stored = list.FindData(Sys().ReadInt(VkcNodes::kModulation));
  list.selection = stored >= 0 ? stored : (list.ItemCount() > 0 ? 0 : -1);
  UpdateRate();
}

void VkcPPWirelessModel::UpdateRate() {
  const VkcDevice* device = Device();
  const ControlState& list = controls_.Get(kModulation);
  const int modulation = list.selection >= 0 ? static_cast<int>(list.SelectedData()) : -1;
  const float steps = device->GetChannelSpacingSteps(device->GetChannelSpacingIndex(Sys(), controls_.Selection(kChannel)));
  controls_.SetText(kRate, Utf8ToUtf16(RateText(steps, modulation)));
}

void VkcPPWirelessModel::UpdateChannelLists() {
  const VkcDevice* device = Device();
  const bool manual = mode_ == 1;
  controls_.Enable(kPattern, mode_ == 2);
  controls_.Enable(kPatternSpin, mode_ == 2);
  controls_.Enable(kChannel, manual);
  controls_.Enable(kChannelNumber, manual);
  controls_.Enable(kTxChannel, manual);
  if (!manual && HasFeature(14)) {
    // Filled in manual mode only: a number left from the unit shown before is not shown.
    channelNumberText_.clear();
    controls_.SetText(kChannelNumber, channelNumberText_);
  }
  if (mode_ == 0) {
    controls_.Select(kChannel, -1);
    controls_.Select(kTxChannel, -1);
  } else if (manual) {
    ControlState& rx = controls_[kChannel];
    ControlState& tx = controls_[kTxChannel];
    rx.SetItems({});
    tx.SetItems({});
    if (HasFeature(14)) {
      const int number = device->GetChannel(Sys());
      // A stored channel that names no frequency leaves the edit empty, so the number of the unit
      // shown before is neither shown nor stored.
      const uint32_t hz = device->GetChannelFrequency(number, Sys());
      controls_.SetText(kTxLabel, hz != 0 ? FrequencyLabel(hz) : std::u16string(u"Frequency Channel Tx"));
      channelNumberText_ = hz != 0 ? Decimal(number) : std::u16string();
      controls_.SetText(kChannelNumber, channelNumberText_);
    } else {
      const int current = device->GetChannel(Sys());
      const int currentTx = device->GetRxChannel(Sys());
      std::vector<uint32_t> frequencies;
      device->GetChannelFrequencies(Sys(), frequencies);
      for (uint32_t hz : frequencies) {
        const int number = device->GetChannelNumber(hz, Sys());
        const std::u16string text = Utf8ToUtf16(StrPrintf("(%d) - %s", number, FormatHzWithCommas(hz).c_str()));
        rx.AddItem(text, number);
        tx.AddItem(text, number);
      }
      rx.selection = current != 0 ? rx.FindData(current) : (rx.ItemCount() > 0 ? 0 : -1);
      tx.selection = currentTx != 0 ? tx.FindData(currentTx) : (tx.ItemCount() > 0 ? 0 : -1);
      controls_.SetText(kTxLabel, u"Frequency Channel Tx");
    }
  } else {
    if (pattern_ == 0) pattern_ = 1;
    controls_.SetText(kPattern, Decimal(pattern_));
  }
  controls_.SetValue(kPatternSpin, std::clamp(pattern_, 1, kPatternMax));
  channelIndex_ = controls_.Selection(kChannel);
  UpdateChannelLabels();
}

void VkcPPWirelessModel::UpdateChannelLabels() {
  const int protocol = StoredProtocol();
  const bool separate = (protocol == 3 || protocol == 4 || HasFeature(5)) && mode_ == 1;
  controls_.SetText(kChannelLabel, separate ? u"Frequency Channel Rx" : u"Frequency Channel");
  controls_.Enable(kTxChannel, separate);
  controls_.Enable(kTxLabel, separate);
}

void VkcPPWirelessModel::UpdatePowerControls(int value) {
  const VkcDevice* device = Device();
  const int protocol = SelectedProtocol();
  const bool fixed = (protocol == 1 || protocol == 7 || protocol == 12 || protocol == 14) &&
                     device->GetFirmwareFamily() == 0;
  for (int id : {kSlider, kPower, kPowerUnit}) controls_.Enable(id, !fixed);
  const int minDbm = device->GetMinPowerDbm();
  const int maxDbm = PowerRange::DealerMaximum(Sys().ReadInt(VkcNodes::kDealerMaxPower), minDbm, device->GetMaxPowerDbm());
  range_ = PowerRange::FromDbm(minDbm, maxDbm, unit_, HasFeature(6));
  pair_.Show(controls_, range_.min, range_.max, range_.Clamp(value), range_.Tick());
  controls_.SetText(kMinLabel, Decimal(range_.min));
  controls_.SetText(kMaxLabel, Decimal(range_.max));
  controls_.Select(kPowerUnit, static_cast<int>(unit_));
}

void VkcPPWirelessModel::UpdateLinkControls() {
  const VkcDevice* device = Device();
  const int protocol = SelectedProtocol();
  if (protocol == 9 || (protocol >= 12 && protocol <= 15)) {
    controls_.Enable(kFec, true);
  } else {
    const bool fec = HasFeature(2);
    controls_.Enable(kFec, fec);
    if (!fec && HasFeature(4)) controls_.SetCheck(kFec, true);
  }
  if (HasFeature(8)) {
    controls_.Enable(kScrambling, true);
    maxLinkId_ = device->GetMaxScramblingLinkId();
    controls_.SetRange(kLinkIdSpin, 1, maxLinkId_);
    if (controls_.Checked(kScrambling) && linkId_ == 0) linkId_ = 1;
  } else {
    controls_.SetCheck(kScrambling, false);
    controls_.Enable(kScrambling, false);
  }
  const bool scrambling = controls_.Checked(kScrambling);
  controls_.Enable(kLinkId, scrambling);
  controls_.Enable(kLinkIdSpin, scrambling);
  controls_.SetText(kLinkId, Decimal(linkId_));
  controls_.SetValue(kLinkIdSpin, std::clamp(linkId_, 1, std::max(1, maxLinkId_)));
}

void VkcPPWirelessModel::UpdateRepeater() {
  const bool allowed = Device()->IsRepeaterAllowed(SelectedProtocol());
  controls_.Enable(kRepeater, allowed);
  if (!allowed) controls_.SetCheck(kRepeater, false);
}

void VkcPPWirelessModel::UpdateScanCriteria() {
  const bool criteria = HasFeature(15);
  const bool shown = criteria && mode_ == 0;
  for (int id : kScanControls) controls_.Show(id, shown);
  if (!criteria) return;
  // Read whenever the unit has them, so a later apply never writes another unit's values.
  auto select = [&](int id, const VkcNodePath& node) {
    const int v = Sys().ReadInt(node);
    controls_.Select(id, v >= 0 && v < controls_.Get(id).ItemCount() ? v : -1);
  };
  select(kScanFrequency, VkcNodes::kAutoScanFrequency);
  select(kScanSignal, VkcNodes::kAutoScanSignalType);
}

void VkcPPWirelessModel::TakeValues() {
  station_ = controls_.Selection(kStation) == 0 ? 0 : 1;
  if (const int mode = controls_.Selection(kChannelMode); mode >= 0) mode_ = mode;
  ParseNumber(controls_.Text(kPattern), pattern_);
  ParseNumber(controls_.Text(kLinkId), linkId_);
}

void VkcPPWirelessModel::Exchange(VkcDataExchange&) { TakeValues(); }

void VkcPPWirelessModel::OnStation() {
  if (Device() == nullptr) return;
  TakeValues();
  FillProtocols();
  UpdatePowerControls(pair_.Value());
  UpdateLinkControls();
  OnProtocol();
}

void VkcPPWirelessModel::OnProtocol() {
  if (Device() == nullptr) return;
  TakeValues();
  if (const int protocol = SelectedProtocol(); protocol >= 0)
    Sys().At(VkcNodes::kProtocol).ReplaceScalar(static_cast<uint32_t>(protocol));
  UpdateChannelLabels();
  UpdateLinkControls();
  FillModulations();
  UpdatePowerControls(pair_.Value());
  UpdateRepeater();
}

void VkcPPWirelessModel::OnChannelMode() {
  if (Device() == nullptr) return;
  TakeValues();
  UpdateScanCriteria();
  UpdateChannelLists();
}

void VkcPPWirelessModel::OnPowerUnit() {
  if (Device() == nullptr) return;
  const PowerUnit unit = controls_.Selection(kPowerUnit) == 1 ? PowerUnit::Milliwatt : PowerUnit::Dbm;
  const int value = PowerRange::Convert(pair_.Value(), unit_, unit, HasFeature(6));
  unit_ = unit;
  UpdatePowerControls(value);
}

void VkcPPWirelessModel::OnScrambling() {
  if (Device() == nullptr) return;
  TakeValues();
  UpdateLinkControls();
}

void VkcPPWirelessModel::OnChannel() {
  const VkcDevice* device = Device();
  if (device == nullptr) return;
  TakeValues();
  if (channelIndex_ >= 0) device->SetOutputPower(range_.ToDbmValue(pair_.Value()), channelIndex_);
  channelIndex_ = controls_.Selection(kChannel);
  UpdatePowerControls(range_.FromDbmValue(device->GetOutputPower(channelIndex_)));
  FillModulations();
}

void VkcPPWirelessModel::OnActiveReceiver() {
  const VkcDevice* device = Device();
  if (device == nullptr) return;
  TakeValues();
  Apply();
  if (const VkcDevice* mode = device->GetDeviceForMode(controls_.Selection(kReceiver))) Sys().SetCurrentDevice(mode);
  Host().RefreshAllPages();
}

void VkcPPWirelessModel::OnChannelNumberLeft() {
  const VkcDevice* device = Device();
  if (device == nullptr) return;
  int number = 0;
  const uint32_t hz = ParseNumber(controls_.Text(kChannelNumber), number) ? device->GetChannelFrequency(number, Sys()) : 0;
  if (hz != 0) {
    controls_.SetText(kTxLabel, FrequencyLabel(hz));
    channelNumberText_ = Decimal(number);
  } else {
    int min = 0, max = 0;
    device->GetChannelNumberRange(min, max);
    ShowMessage(StrPrintf("The Channel number must be in the range of %d and %d and\r\ncorrespond to RTCA standard",
                          min, max));
  }
  controls_.SetText(kChannelNumber, channelNumberText_);
}

void VkcPPWirelessModel::OnLinkIdLeft() {
  if (Device() == nullptr) return;
  TakeValues();
  int typed = 0;
  if (!ParseNumber(controls_.Text(kLinkId), typed) || typed < 1 || typed > maxLinkId_) {
    ShowMessage(StrPrintf("Please enter Scram link id between %d and %d", 1, maxLinkId_));
    linkId_ = 1;
  }
  controls_.SetText(kLinkId, Decimal(linkId_));
  controls_.SetValue(kLinkIdSpin, linkId_);
}

void VkcPPWirelessModel::OnPatternSpin() {
  pattern_ = controls_.Value(kPatternSpin);
  controls_.SetText(kPattern, Decimal(pattern_));
}

void VkcPPWirelessModel::OnLinkIdSpin() {
  linkId_ = controls_.Value(kLinkIdSpin);
  controls_.SetText(kLinkId, Decimal(linkId_));
}

bool VkcPPWirelessModel::Store() {
  const VkcDevice* device = Device();
  // Only what refresh filled for this unit is written: nothing for a unit without a model.
  if (device == nullptr || !IsFilledUnit()) return true;
  VkcSystem& sys = Sys();
  // What the lists show is stored: a stored protocol or modulation they do not offer becomes the
  // first entry, as shown.
  if (const int protocol = SelectedProtocol(); protocol >= 0)
    sys.At(VkcNodes::kProtocol).ReplaceScalar(static_cast<uint32_t>(protocol));
  if (mode_ == 0) {
    device->SetAutoScanning(true);
  } else if (mode_ == 1) {
    device->SetAutoScanning(false);
    int channel = 0;
    if (HasFeature(14)) {
      if (ParseNumber(controls_.Text(kChannelNumber), channel) && device->GetChannelFrequency(channel, sys) != 0)
        device->SetChannel(sys, channel);
    } else if (controls_.Selection(kChannel) >= 0) {
      // With nothing selected (an empty channel map) the unit's channel stays as it is.
      device->SetChannel(sys, static_cast<int>(controls_.Get(kChannel).SelectedData()));
    }
    // No transmit entry selected (a receive channel the map no longer lists among them) stores -1.
    const ControlState& tx = controls_.Get(kTxChannel);
    device->SetRxChannel(sys, tx.selection >= 0 ? static_cast<int>(tx.SelectedData()) : -1);
    sys.At(VkcNodes::kHoppingPattern).ReplaceScalar(0);
  } else {
    device->SetAutoScanning(false);
    sys.At(VkcNodes::kHoppingPattern).ReplaceScalar(static_cast<uint32_t>(pattern_));
  }
  if (const ControlState& modulation = controls_.Get(kModulation); modulation.selection >= 0)
    sys.At(VkcNodes::kModulation).ReplaceScalar(static_cast<uint32_t>(modulation.SelectedData()));
  // The power as shown: a stored one outside the range was clamped into it.
  const int dbm = range_.ToDbmValue(pair_.Value());
  if (HasFeature(15)) {
    if (controls_.Selection(kScanFrequency) >= 0) sys.WriteInt(VkcNodes::kAutoScanFrequency, controls_.Selection(kScanFrequency));
    if (controls_.Selection(kScanSignal) >= 0) sys.WriteInt(VkcNodes::kAutoScanSignalType, controls_.Selection(kScanSignal));
  }
  device->ApplyHighPowerDefaults();
  device->SetOutputPower(dbm, VkcDevice::kCurrentChannel);
  if (HasFeature(8)) sys.WriteInt(VkcNodes::kScramblingId, controls_.Checked(kScrambling) ? linkId_ : 0);
  sys.WriteInt(VkcNodes::kFec, controls_.Checked(kFec) ? 1 : 0);
  sys.WriteInt(VkcNodes::kRepeater, controls_.Checked(kRepeater) ? 1 : 0);
  if (HasFeature(4)) {
    const int mask = (controls_.Checked(kFrameMsg) ? 1 : 0) | (controls_.Checked(kDataMsg) ? 2 : 0) |
                     (controls_.Checked(kStatusMsg) ? 4 : 0);
    sys.WriteInt(VkcNodes::kMessageMask, mask);
  } else {
    sys.WriteInt(VkcNodes::kNoMessageTypes, 1);
  }
  // Only a unit with a receiver mode has the index (refresh filled it for it alone).
  if (device->CanSwitchReceiverMode() && controls_.Selection(kReceiver) >= 0)
    sys.WriteInt(VkcNodes::kActiveReceiver, controls_.Selection(kReceiver));
  return true;
}
