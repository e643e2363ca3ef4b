// The base device's port commands: maintenance port rate and data port flow control.

#include "devices/VkcCommandExchange.h"
#include "devices/VkcDevice.h"
#include "devices/VkcDeviceTimeouts.h"
#include "devices/VkcReplyParse.h"
#include "link/Format.h"
#include "link/VkcComPort.h"
#include "link/VkcErrorProcessor.h"

namespace {

uint32_t CommandTimeout(VkcComPort* conn) { return conn ? conn->GetReplyTimeout() : 0; }

}  // namespace

bool VkcDevice::SendPortSet(VkcComPort* conn, platform::Event* stop, const char* word, int value) const {
  const std::string command = StrPrintf("%s %d\r", word, value);
  VkcExchange x;
  x.command = command.c_str();
  x.timeoutMs = CommandTimeout(conn);
  x.extra = stop;
  x.match = VkcExchange::kInOrder;
  x.replySize = devtimeouts::kPortCommandReply;
  if (!x.Run(conn, {"@0", "\r\n"})) {
    ErrorLog().ReportError(0, "Can not set %s response = \"%s\"", word, x.reply.c_str());
    return false;
  }
  // Device-level setters take any "@0" answer as done.
  if (x.reply.find("@0") == std::string::npos) {
    ErrorLog().ReportError(0, "The unit responded to %s %d with code %s", word, value, x.reply.c_str());
    return false;
  }
  return true;
}

bool VkcDevice::SendPortQuery(VkcComPort* conn, platform::Event* stop, const char* command, std::string& reply) const {
  VkcExchange x;
  x.command = command;
  x.timeoutMs = CommandTimeout(conn);
  x.extra = stop;
  x.replySize = devtimeouts::kPortCommandReply;
  const bool answered = x.Run(conn, {"\r\n"});
  reply = x.reply;
  return answered;
}

bool VkcDevice::SetMaintenancePortRate(int rateIndex, VkcComPort* conn, platform::Event* stop) const {
  return SendPortSet(conn, stop, "MPORT RATE", rateIndex + 1);
}

int VkcDevice::GetMaintenancePortRate(VkcComPort* conn, platform::Event* stop) const {
  std::string reply;
  int value = 0;
  if (!SendPortQuery(conn, stop, "MPORT RATE\r", reply) || !ParseReplyInt(reply, value)) {
    ErrorLog().ReportError(0, "Can not get MPORT RATE response = \"%s\"", reply.c_str());
    return -1;
  }
  const int index = value - 1;
  return index >= 0 && index <= 8 ? index : 8;
}

bool VkcDevice::SetDataPortFlow(int flow, VkcComPort* conn, platform::Event* stop) const {
  return SendPortSet(conn, stop, "DPORT FLOW", flow);
}

int VkcDevice::GetDataPortFlow(VkcComPort* conn, platform::Event* stop) const {
  std::string reply;
  int value = 0;
  if (!SendPortQuery(conn, stop, "DPORT FLOW\r", reply) || !ParseReplyInt(reply, value)) {
    ErrorLog().ReportError(0, "Can not get DPORT FLOW response = \"%s\"", reply.c_str());
    return -1;
  }
  return value >= 0 && value <= 2 ? value : -1;
}
