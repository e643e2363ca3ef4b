#include "unit/BertRadioSetup.h"

#include "devices/VkcDevice.h"
#include "link/Format.h"
#include "link/VkcComPort.h"
#include "unit/VkcRadioReply.h"
#include "unit/VkcSystem.h"

namespace {

// A query's integer value, or false when the unit gave none.
bool QueryInt(VkcSystem& system, const char* command, int& value, platform::Event* stop) {
  std::string text;
  if (system.QueryRadio(command, text, stop) != 0) return false;
  value = ParseLeadingInt(text);
  return true;
}

}  // namespace

double BertRadioSetup::QueryFrequencyMHz(platform::Event* stop) {
  return static_cast<double>(system_.GetFrequency(stop)) / 1000000.0;
}

void BertRadioSetup::ForgetSaved() {
  havePower_ = haveProtocol_ = haveModulation_ = haveChannel_ = false;
  portFlow_ = -1;
}

std::string BertRadioSetup::PrepareTransmit(const BertTxRequest& r, double& frequencyMHz, platform::Event* stop) {
  ForgetSaved();
  frequencyMHz = QueryFrequencyMHz(stop);
  const VkcDevice* device = system_.GetCurrentDevice();
  VkcComPort* port = system_.GetCurrentPort();
  if (device == nullptr || port == nullptr) return std::string();
  if (!system_.SwitchToCommandMode(true)) return "Unable to switch to command mode";
  havePower_ = QueryInt(system_, "LINK PWRB\r", power_, stop);
  haveProtocol_ = QueryInt(system_, "LINK PROT\r", protocol_, stop);
  haveModulation_ = QueryInt(system_, "LINK MOD\r", modulation_, stop);
  haveChannel_ = QueryInt(system_, "LINK CHAN\r", channel_, stop);
  portFlow_ = static_cast<int>(port->GetFlowControl());
  std::string failure;
  if (r.channel >= 0 && (!haveChannel_ || r.channel != channel_)) {
    int64_t hz = system_.SetChannel(r.channel, stop);
    if (hz == 0) failure = "Unable to set Channel";
    // The header names the test channel's frequency, read once the channel is set.
    else if (hz > 0) frequencyMHz = static_cast<double>(hz) / 1000000.0;
  }
  if (failure.empty()) {
    bool ok = r.powerInMilliwatts ? system_.SetLinkPowerW(r.power, stop) : system_.SetLinkPowerB(r.power, stop);
    if (!ok) failure = "Unable to set Power";
  }
  if (failure.empty() && r.protocol >= 0 && (!haveProtocol_ || r.protocol != protocol_) &&
      !system_.SetProtocol(r.protocol, stop))
    failure = "Unable to set Protocol";
  if (failure.empty() && r.modulationIndex >= 0 && (!haveModulation_ || r.modulationIndex + 1 != modulation_) &&
      !system_.SetModulation(r.modulationIndex + 1, stop))
    failure = "Unable to set Modulation";
  if (failure.empty() && !device->SetDataPortFlow(2, port, stop)) failure = "Unable to set Unit's Hardware Flow Control";
  if (failure.empty() && !system_.SwitchToDataMode(true)) failure = "Unable to switch to data mode";
  if (failure.empty() && !port->SetFlowControl(2)) failure = "Unable to set Hardware Flow Control";
  // A start that fails half way keeps what was set so far.
  return failure;
}

void BertRadioSetup::RestoreTransmit(platform::Event* stop) {
  const VkcDevice* device = system_.GetCurrentDevice();
  VkcComPort* port = system_.GetCurrentPort();
  if (device != nullptr && port != nullptr && system_.SwitchToCommandMode(true)) {
    if (havePower_) system_.SetRadioCommand(StrPrintf("LINK PWRB %d\r", power_), stop);
    if (haveProtocol_) system_.SetRadioCommand(StrPrintf("LINK PROT %d\r", protocol_), stop);
    if (haveModulation_) system_.SetRadioCommand(StrPrintf("LINK MOD %d\r", modulation_), stop);
    if (haveChannel_) system_.SetRadioCommand(StrPrintf("LINK CHAN %d\r", channel_), stop);
  }
  if (port != nullptr && portFlow_ >= 0) port->SetFlowControl(static_cast<uint32_t>(portFlow_));
}

std::string BertRadioSetup::PrepareReceive(int protocol, int channel, double& frequencyMHz, platform::Event* stop) {
  ForgetSaved();
  frequencyMHz = QueryFrequencyMHz(stop);
  if (system_.GetCurrentDevice() == nullptr || system_.GetCurrentPort() == nullptr) return std::string();
  if (!system_.SwitchToCommandMode(true)) return "Unable to switch to command mode";
  haveProtocol_ = QueryInt(system_, "LINK PROT\r", protocol_, stop);
  haveChannel_ = QueryInt(system_, "LINK CHAN\r", channel_, stop);
  std::string failure;
  if (protocol >= 0 && (!haveProtocol_ || protocol != protocol_) && !system_.SetProtocol(protocol, stop))
    failure = "Unable to set Protocol";
  if (failure.empty() && channel >= 0) {
    int64_t hz = system_.SetChannel(channel, stop);
    if (hz == 0) failure = "Unable to set Channel";
    else if (hz > 0) frequencyMHz = static_cast<double>(hz) / 1000000.0;
  }
  if (failure.empty() && !system_.SwitchToDataMode(true)) failure = "Unable to switch to data mode";
  return failure;
}

void BertRadioSetup::RestoreReceive(platform::Event* stop) {
  if (system_.GetCurrentDevice() == nullptr || !system_.SwitchToCommandMode(true)) return;
  if (haveProtocol_) system_.SetRadioCommand(StrPrintf("LINK PROT %d\r", protocol_), stop);
  if (haveChannel_) system_.SetRadioCommand(StrPrintf("LINK CHAN %d\r", channel_), stop);
}
