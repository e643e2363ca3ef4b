// The base answers of the device model that need neither the unit images nor the port.

#include "devices/VkcDevice.h"

#include "devices/VkcModelTable.h"
#include "link/Format.h"
#include "link/Utf.h"

VkcDevice::VkcDevice() { VkcDevice::BuildParameterDictionary(); }

VkcDevice::~VkcDevice() = default;

void VkcDevice::ApplyModelConstants(int key) {
  const VkcModelRow* row = FindModelRow(key);
  if (!row) return;
  const VkcLimitSet& set = FindLimitSet(row->limitSet);
  modelId_ = row->modelId;
  name_ = row->name;
  interfaceId_ = row->interfaceId;
  limits_[0] = {row->maxDbm, row->minDbm, set.record1Third};
  limits_[1] = set.record2;
  limits_[2] = set.record3;
  limitWord_ = set.limitWord;
}

int VkcDevice::GetMaxScramblingLinkId() const { return 255; }
bool VkcDevice::ResetToReceiveMode(VkcComPort*) const { return true; }
bool VkcDevice::IsTransceiver() const { return false; }
int VkcDevice::GetFrequencyTextLimit() const { return 9; }
void VkcDevice::GetChannelNumberRange(int&, int&) const {}
bool VkcDevice::OnUnitIdentified(VkcUnitImages&) const { return true; }
bool VkcDevice::HasTransmitter() const { return true; }
void VkcDevice::GetProtocolList(bool, std::vector<int>&) const {}

bool VkcDevice::IsRepeaterAllowed(int protocol) const {
  const int family = GetFirmwareFamily();
  const bool repeaterProtocol = protocol == 1 || protocol == 2 || protocol == 9 || protocol == 11;
  return repeaterProtocol && (family == 0 || family == 2 || family == 3);
}

bool VkcDevice::IsBluetoothModel() const { return false; }
bool VkcDevice::IsGsmModel() const { return false; }
bool VkcDevice::SupportsCallSign() const { return false; }
bool VkcDevice::SupportsTransceiverMode() const { return false; }
bool VkcDevice::SupportsSensitivity() const { return false; }
bool VkcDevice::SupportsSyncResetTime() const { return false; }

const char16_t* const* VkcDevice::GetRouteNames(int& count) const {
  count = 0;
  return nullptr;
}

int VkcDevice::GetFirmwareFamily() const { return 0; }

void VkcDevice::GetModulationsForProtocol(int protocol, std::vector<int>& out) const {
  switch (protocol) {
    case 7:
    case 8:
    case 11:
      out.push_back(4);
      break;
    case 9:
    case 12:
    case 13:
      out.push_back(4);
      out.push_back(5);
      break;
    case 14:
    case 15:
      out.push_back(5);
      break;
    default:
      for (int m = 0; m <= 3; ++m) out.push_back(m);
  }
}

void VkcDevice::GetSerialRateList(std::vector<int>& out) const {
  out.clear();
  for (int i = 1; i <= 9; ++i) out.push_back(i);
}

void VkcDevice::ClampTxStartDelay(int& ms) const {
  if (ms < 20 || ms > 1920) ms = 20;
}

float VkcDevice::GetChannelSpacingSteps(int index) const {
  return static_cast<float>(ChannelSpacingFromIndex(index) / 6250.0);
}

void VkcDevice::GetChannelSpacingList(std::vector<int>& out) const {
  out.clear();
  out.push_back(6250);
  out.push_back(12500);
  out.push_back(25000);
}

int VkcDevice::ChannelSpacingToIndex(int hz) const {
  const bool reversed = reversedSpacing_.load();
  switch (hz) {
    case 25000:
      return reversed ? 2 : 0;
    case 12500:
      return 1;
    case 6250:
      return reversed ? 0 : 2;
    default:
      return -1;
  }
}

int VkcDevice::ChannelSpacingFromIndex(int index) const {
  const bool reversed = reversedSpacing_.load();
  switch (index) {
    case 0:
      return reversed ? 6250 : 25000;
    case 1:
      return 12500;
    case 2:
      return reversed ? 25000 : 6250;
    default:
      return -1;
  }
}

void VkcDevice::FormatChannelSpacing(int hz, std::u16string& out) const {
  out = Utf8ToUtf16(StrPrintf("%g kHz", hz / 1000.0));
}

void VkcDevice::ApplyHighPowerDefaults() const {}
int VkcDevice::GetOutputPower(int) const { return 0; }
void VkcDevice::SetOutputPower(int, int) const {}
uint32_t VkcDevice::GetReferenceClockHz() const { return 12288000; }
bool VkcDevice::InitializeDevice(platform::WindowHandle) const { return true; }
bool VkcDevice::HasAlarmOutputs() const { return true; }

void VkcDevice::GetSleepDelayRange(int& min, int& max) const {
  min = 100;
  max = 25500;
}

void VkcDevice::GetWakeIntervalRange(int& min, int& max) const {
  min = 10;
  max = 2550;
}

uint32_t VkcDevice::GetBandFrequency(int) const { return 0; }
bool VkcDevice::CanSwitchReceiverMode() const { return false; }
const VkcDevice* VkcDevice::GetDeviceForMode(int) const { return this; }
