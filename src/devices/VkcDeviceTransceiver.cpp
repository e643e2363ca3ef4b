// Transceiver rules shared by every transceiver model.

#include "devices/VkcDeviceTransceiver.h"

#include "devices/VkcCommandExchange.h"
#include "devices/VkcModelRules.h"
#include "devices/VkcUnitImages.h"
#include "link/VkcComPort.h"
#include "link/VkcErrorProcessor.h"

namespace {

constexpr size_t kResetReply = 255;

uint32_t CommandTimeout(VkcComPort* conn) { return conn ? conn->GetReplyTimeout() : 0; }

}  // namespace

int VkcDeviceTransceiver::TransceiverFamily(const VkcUnitImages& system) {
  if (FirmwareInRange(system, {2, 0, 0}, {3, 0, 0})) return 3;
  if (FirmwareInRange(system, {3, 0, 0}, {3, 2, 0})) return 1;
  if (FirmwareAtLeast(system, {3, 2, 0})) return 2;
  return 0;
}

int VkcDeviceTransceiver::VK400TxFamily(const VkcUnitImages& system) {
  if (FirmwareInRange(system, {1, 9, 0}, {2, 0, 0})) return 1;
  if (FirmwareInRange(system, {2, 0, 0}, {3, 2, 0})) return 3;
  if (FirmwareAtLeast(system, {3, 2, 0})) return 2;
  return 0;
}

int VkcDeviceTransceiver::GetFirmwareFamily() const { return TransceiverFamily(modelrules::GlobalImages()); }

bool VkcDeviceTransceiver::SupportsCallSign() const {
  const VkcUnitImages& system = modelrules::GlobalImages();
  return FirmwareInRange(system, {1, 8, 0}, {1, 9, 0}) || FirmwareAtLeast(system, {3, 2, 0});
}

bool VkcDeviceTransceiver::SupportsTransceiverMode() const {
  return FirmwareAtLeast(modelrules::GlobalImages(), {3, 2, 0});
}

void VkcDeviceTransceiver::GetProtocolList(bool transmitter, std::vector<int>& out) const {
  if (transmitter) {
    out.insert(out.end(), {2, 8});
  } else {
    out.insert(out.end(), {1, 10, 7, 11});
  }
}

void VkcDeviceTransceiver::AppendFullProtocolList(bool transmitter, int f, std::vector<int>& out) {
  const bool plain = f == 0 || f == 2;
  if (transmitter) {
    out.insert(out.end(), {2, 8, 13, 15});
    if (f == 3) out.push_back(4);
    return;
  }
  out.push_back(1);
  if (plain) out.push_back(10);
  out.push_back(7);
  if (plain) out.push_back(11);
  out.push_back(12);
  if (plain) out.push_back(9);
  if (f == 3) out.push_back(3);
  out.push_back(14);
}

int VkcDeviceTransceiver::GetOutputPower(int) const {
  return modelrules::GlobalImages().ReadInt(VkcNodes::kOutputPower);
}

void VkcDeviceTransceiver::SetOutputPower(int dbm, int) const {
  if (VkcUnitImages* system = modelrules::MutableGlobalImages()) system->WriteInt(VkcNodes::kOutputPower, dbm);
}

int VkcDeviceTransceiver::FourSpacingFromIndex(int index, bool swap) {
  if (swap && (index == 0 || index == 2)) index = 2 - index;
  switch (index) {
    case 0: return 25000;
    case 1: return 12500;
    case 2: return 6250;
    case 3: return 20000;
    default: return -1;
  }
}

int VkcDeviceTransceiver::FourSpacingToIndex(int hz, bool swap) {
  int index;
  switch (hz) {
    case 25000: index = 0; break;
    case 12500: index = 1; break;
    case 6250: index = 2; break;
    case 20000: index = 3; break;
    default: return -1;
  }
  if (swap && (index == 0 || index == 2)) index = 2 - index;
  return index;
}

float VkcDeviceTransceiver::FourSpacingSteps(int index) const {
  if (index >= 0 && index <= 2) return static_cast<float>(ChannelSpacingFromIndex(index) / 6250.0);
  if (index == 3) return 3.125f;
  return 1.0f;
}

bool VkcDeviceTransceiver::ResetStep(VkcComPort* conn, const char* command, const char* noReplyFormat,
                                     const char* codeFormat) {
  VkcExchange x;
  x.command = command;
  x.timeoutMs = CommandTimeout(conn);
  x.match = VkcExchange::kInOrder;
  x.replySize = kResetReply;
  if (!x.Run(conn, {"@0", "\r\n"})) {
    ErrorLog().ReportText(0, std::string(noReplyFormat) + "\"" + x.reply + "\"");
    return false;
  }
  if (x.reply.find("@0") == std::string::npos) {
    ErrorLog().ReportText(0, std::string(codeFormat) + x.reply);
    return false;
  }
  return true;
}

bool VkcDeviceTransceiver::ResetToReceiveMode(VkcComPort* conn) const {
  VkcExchange wake;
  wake.command = "\r";
  wake.timeoutMs = CommandTimeout(conn);
  wake.replySize = kResetReply;
  wake.Run(conn, {"\r\n"});  // wakes the command line; the outcome does not matter
  return ResetStep(conn, "TSTSGL 0\r", "Can't enter TSTSGL 0 command response = ",
                   "The unit responded to TSTSGL 0 with code ") &&
         ResetStep(conn, "LINK PROT 1\r", "Can't switch to PROT 1 response = ",
                   "The unit responded to LINK PROT 1 with code ");
}
