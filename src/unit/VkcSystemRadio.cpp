// Single values on the unit's command line: the generic query and set and the radio commands built
// on them. Each runs on a fresh command channel over the current port.

#include "unit/VkcRadioReply.h"
#include "unit/VkcSystem.h"
#include "devices/VkcDevice.h"
#include "link/Format.h"
#include "link/VkcErrorProcessor.h"

namespace {

// Replies are read into 255 bytes; commands are formatted into at most 255.
constexpr size_t kReplySize = 255;
constexpr size_t kCommandSize = 255;

// "<word> <value>\r", formatted into at most kCommandSize - 1 characters.
std::string Command(const char* word, int value) {
  std::string text = StrPrintf("%s %d\r", word, value);
  if (text.size() > kCommandSize - 1) text.resize(kCommandSize - 1);
  return text;
}

}  // namespace

int VkcSystem::QueryRadio(const std::string& command, std::string& value, platform::Event* stop) {
  std::string reply;
  if (!Exchange(command, &reply, kReplySize, GetCommandTimeout(), stop, 0, {"@0", "\r\n"})) {
    ErrorLog().ReportError(0, "Can not get response for\"%s\", response = \"%s\"", command.c_str(),
                           reply.c_str());
    return -1;
  }
  VkcRadioReply parsed = ParseRadioReply(reply);
  value = std::move(parsed.value);
  return parsed.code;
}

int VkcSystem::QueryRadioInt(const std::string& command, platform::Event* stop) {
  std::string value;
  int code = QueryRadio(command, value, stop);
  if (code == 0) return ParseLeadingInt(value);
  ErrorLog().ReportError(0, "Can not get response for\"%s\", response = \"%s\", error code = %d",
                         command.c_str(), value.c_str(), code);
  return 65535;
}

int VkcSystem::SetRadioCommand(const std::string& command, platform::Event* stop) {
  std::string reply;
  if (!Exchange(command, &reply, kReplySize, GetCommandTimeout(), stop, 1, {"@0", "\r\n"})) {
    ErrorLog().ReportError(0, "Can not set command \"%s\" response = \"%s\"", command.c_str(), reply.c_str());
    return -1;
  }
  if (reply.find("@00") == std::string::npos) {
    ErrorLog().ReportError(0, "Set command \"%s\" doesn't return @00 Rsponse = \"%s\"", command.c_str(),
                           reply.c_str());
    return -1;
  }
  return 0;
}

int VkcSystem::GetModulation() {
  std::string reply;
  if (!Exchange("LINK MOD\r", &reply, kReplySize, GetCommandTimeout(), nullptr, 0, {"@0", "\r\n"})) {
    ErrorLog().ReportError(0, "Can not get Modulation value response = \"%s\"", reply.c_str());
    return 0;
  }
  return ParseLeadingInt(reply);
}

int VkcSystem::GetProtocol(platform::Event* stop) {
  std::string reply;
  if (!Exchange("LINK PROT\r", &reply, kReplySize, GetCommandTimeout(), stop, 0, {"@0", "\r\n"})) {
    ErrorLog().ReportError(0, "Can not get Protocol value response = \"%s\"", reply.c_str());
    return 0;
  }
  return ParseLeadingInt(reply);
}

int VkcSystem::GetChannel() {
  std::string reply;
  if (!Exchange("LINK CHAN\r", &reply, kReplySize, GetCommandTimeout(), nullptr, 0, {"@0", "\r\n"})) {
    ErrorLog().ReportError(0, "Can not get Channel value response = \"%s\"", reply.c_str());
    return -1;
  }
  return ParseLeadingInt(reply);
}

int VkcSystem::GetLinkPowerB() {
  std::string reply;
  if (!Exchange("LINK PWRB\r", &reply, kReplySize, GetCommandTimeout(), nullptr, 0, {"@0", "\r\n"})) return 0;
  return ParseLeadingInt(reply);
}

int VkcSystem::GetRemotePower(platform::Event* stop) { return QueryRadioInt("TSTUFR REMOTEPWR\r", stop); }
int VkcSystem::GetEbN0(platform::Event* stop) { return QueryRadioInt("STATE EBN0\r", stop); }
int VkcSystem::GetSyncState(platform::Event* stop) { return QueryRadioInt("STATE SYNC\r", stop); }
int VkcSystem::GetSignalType(platform::Event* stop) { return QueryRadioInt("LINK SIGTYPE\r", stop); }
int VkcSystem::GetRSSI(platform::Event* stop) { return QueryRadioInt("STATE RSSI\r", stop); }
int VkcSystem::GetTemperature(platform::Event* stop) { return QueryRadioInt("STATE TEMP\r", stop); }

std::string VkcSystem::GetRSID(platform::Event* stop) {
  std::string value = "N/A";
  if (QueryRadio("LINK RSID\r", value, stop) < 0) return "N/A";
  return CutAtLineEnd(value);
}

std::string VkcSystem::GetBER(platform::Event* stop) {
  std::string value = "N/A";
  if (QueryRadio("STATE BER\r", value, stop) < 0) return "N/A";
  return CutAtLineEnd(value);
}

int64_t VkcSystem::GetFrequency(platform::Event* stop) {
  std::string value;
  if (QueryRadio("STATE FREQ\r", value, stop) != 0) return -1;
  return ParseFrequencyHz(value);
}

bool VkcSystem::SetLinkPowerW(int milliwatts, platform::Event* stop) {
  if (GetCurrentDevice() == nullptr) return false;
  return SetRadioCommand(Command("LINK PWRW", milliwatts), stop) == 0;
}

bool VkcSystem::SetLinkPowerB(int dbm, platform::Event* stop) {
  if (GetCurrentDevice() == nullptr) return false;
  return SetRadioCommand(Command("LINK PWRB", dbm), stop) == 0;
}

bool VkcSystem::SetModulation(int modulation, platform::Event* stop) {
  return SetRadioCommand(Command("LINK MOD", modulation), stop) >= 0;
}

bool VkcSystem::SetProtocol(int protocol, platform::Event* stop) {
  return SetRadioCommand(Command("LINK PROT", protocol), stop) >= 0;
}

int64_t VkcSystem::SetChannel(int channel, platform::Event* stop) {
  if (GetCurrentDevice() == nullptr) return 0;
  if (SetRadioCommand(Command("LINK CHAN", channel), stop) != 0) return 0;
  return GetFrequency(stop);
}

int VkcSystem::ResetBER(platform::Event* stop) { return SetRadioCommand("@RX RESBER\r", stop); }
