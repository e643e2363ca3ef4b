#pragma once
// Numbers in unit replies: leading blanks skipped, an optional sign, then decimal digits. Reads only
// what the reply holds; no digits (an empty, short or garbled reply) is a failure, not a zero.

#include <charconv>
#include <string>
#include <string_view>

inline bool ParseReplyInt(std::string_view reply, int& value) {
  size_t at = 0;
  while (at < reply.size() && (reply[at] == ' ' || reply[at] == '\t' || reply[at] == '\r' || reply[at] == '\n')) ++at;
  const bool negative = at < reply.size() && reply[at] == '-';
  if (at < reply.size() && (reply[at] == '-' || reply[at] == '+')) ++at;
  long long magnitude = 0;
  const char* begin = reply.data() + at;
  const char* end = reply.data() + reply.size();
  auto [stop, ec] = std::from_chars(begin, end, magnitude);
  if (stop == begin || ec == std::errc::invalid_argument) return false;
  if (ec == std::errc::result_out_of_range || magnitude > 0x7FFFFFFF) magnitude = 0x7FFFFFFF;
  value = static_cast<int>(negative ? -magnitude : magnitude);
  return true;
}

// What an "INFO ID" reply says: a product id, the start-up code ("@01"), or nothing usable. The
// echo of the command, when the reply still holds it, is skipped.
enum class VkcIdReply { Id, Startup, Garbled };

inline VkcIdReply InterpretInfoIdReply(std::string_view reply, int& id) {
  if (reply.find("@01") != std::string_view::npos) return VkcIdReply::Startup;
  constexpr std::string_view kEcho = "INFO ID\r\n";
  const size_t at = reply.find(kEcho);
  if (at != std::string_view::npos) reply.remove_prefix(at + kEcho.size());
  return ParseReplyInt(reply, id) ? VkcIdReply::Id : VkcIdReply::Garbled;
}
