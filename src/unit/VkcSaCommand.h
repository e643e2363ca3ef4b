#pragma once
// One command of the spectrum and almanac utilities on a fresh command channel over the unit's
// current port: waits for a reply holding "@0" with the port's reply time-out and tells apart no
// reply, a refusal and success, with the messages the utilities show.

#include <cstddef>
#include <string>

class VkcSystem;

struct VkcSaCommand {
  enum Result { kOk = 0, kNoReply = 1, kRefused = 2 };
  // Replies of single commands are read into 255 bytes.
  static constexpr size_t kReplySize = 255;
  // Replies that may carry a table or the sample stream's last lines in front of the code are read
  // whole up to this size.
  static constexpr size_t kLongReplySize = 64 * 1024;

  // Sends command; success when the reply holds success (normally "@00"). No reply also logs
  // "No response on SA command " in the error log.
  static Result Send(VkcSystem& system, const std::string& command, std::string& reply,
                     size_t replySize = kReplySize, const char* success = "@00");

  // "No response on command = " and the command.
  static std::string NoReplyMessage(const std::string& command);
  // "Error response = ", the reply, " on command = " and the command.
  static std::string RefusedTail(const std::string& reply, const std::string& command);
};
