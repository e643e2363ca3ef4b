#include "unit/VkcSaCommand.h"

#include "devices/VkcCommandExchange.h"
#include "link/VkcErrorProcessor.h"
#include "unit/VkcSystem.h"

VkcSaCommand::Result VkcSaCommand::Send(VkcSystem& system, const std::string& command, std::string& reply,
                                        size_t replySize, const char* success) {
  VkcExchange exchange;
  exchange.command = command.c_str();
  exchange.timeoutMs = system.GetCommandTimeout();
  exchange.replySize = replySize;
  const bool answered = exchange.Run(system.GetCurrentPort(), {"@0"});
  reply = std::move(exchange.reply);
  if (!answered) {
    ErrorLog().ReportError(0, "No response on SA command ");
    return kNoReply;
  }
  return reply.find(success) != std::string::npos ? kOk : kRefused;
}

std::string VkcSaCommand::NoReplyMessage(const std::string& command) {
  return "No response on command = " + command;
}

std::string VkcSaCommand::RefusedTail(const std::string& reply, const std::string& command) {
  return "Error response = " + reply + " on command = " + command;
}
