// The Quorl receiver gateway: log-in, port settings, pass-through scripts.

#include "devices/VkcDevIfOvrin.h"

#include <optional>
#include <string_view>

#include "devices/VkcDevIfTimes.h"
#include "link/Ansi.h"
#include "link/CommandText.h"
#include "link/Utf.h"
#include "link/VkcComPort.h"
#include "link/VkcConnectionInterface.h"
#include "link/VkcErrorProcessor.h"
#include "link/VkcMessageIds.h"
#include "platform/Event.h"
#include "platform/Timing.h"

namespace {

// "%%" is two percent signs on the wire; these texts never pass through a format.
struct PathAt {
  const char* text;
  size_t at;  // where the port path is written; npos: nowhere
};
constexpr size_t kNo = std::string::npos;
constexpr PathAt kOpenTemplate[VkcDevIfOvrin::kOpenLines] = {
    {"%%set,cur/term/echo,/dev/null\r\n", kNo},
    {"%%set,cur/term/imode,cmd\r\n", kNo},
    {"%%dm,dev/ser/d\r\n", 5},
    {"%%set,dev/ser/d/echo,/dev/null\r\n", 6},
    {"%%set,dev/ser/d/imode,echo\r\n", 6},
    {"%%set,dev/ser/d/echo,/cur/term\r\n", 6},
    {"%%set,cur/term/eoff,\"#OFF#\"\r\n", kNo},
    {"%%set,cur/term/imode,echo\r\n", kNo},
    {"%%set,cur/term/echo,/dev/ser/d\r\n", 21},
};
constexpr PathAt kCloseTemplate[VkcDevIfOvrin::kCloseLines] = {
    {"#OFF#\r\n", kNo},
    {"%%set,cur/term/echo,/dev/null\r\n", kNo},
    {"%%set,cur/term/imode,cmd\r\n", kNo},
    {"%%set,dev/ser/d/echo,/dev/null\r\n", 6},
    {"%%set,dev/ser/d/imode,cmd\r\n", 6},
};
constexpr PathAt kPortEchoQuery = {"%%print, dev/ser/d/echo\r\n", 9};
constexpr PathAt kPortImodeQuery = {"%%print, dev/ser/d/imode\r\n", 9};
constexpr const char* kTermEchoQuery = "%%print, cur/term/echo\r\n";
constexpr const char* kTermImodeQuery = "%%print, cur/term/imode\r\n";
constexpr PathAt kMessagesQuery = {"%%print,out/dev/ser/d:on\r\n", 12};
constexpr const char* kPortLetters[] = {"a", "b", "c", "d"};

constexpr const char* kNull = "NULL";
// The input-mode answers start with a header of this length before the mode.
constexpr size_t kImodeHeader = 7;
// Further lines of the message list are indented this far.
constexpr size_t kMessageIndent = 8;

// An answer holding this is the receiver's error.
bool IsError(const std::string& answer) { return answer.find("ER") != std::string::npos; }

std::string FromSlash(const std::string& answer) {
  const size_t slash = answer.find('/');
  return slash == std::string::npos ? answer : answer.substr(slash);
}

std::string DropImodeHeader(const std::string& answer) {
  if (answer == kNull) return answer;
  return answer.substr(std::min(kImodeHeader, answer.size()));
}

std::string ToLogText(const std::string& reply) { return Utf16ToUtf8(AnsiToWide(reply)); }

}  // namespace

std::string VkcDevIfOvrin::WithPortPath(const char* templ, size_t at) const {
  std::string line = templ;
  if (at != kNo && at + portPath_.size() <= line.size()) line.replace(at, portPath_.size(), portPath_);
  return line;
}

void VkcDevIfOvrin::SelectReceiverPort(int index) {
  if (index < 0 || index > 3) return;
  portPath_ = std::string("dev/ser/") + kPortLetters[index];
}

const std::vector<std::string>* VkcDevIfOvrin::GetOpenScript() {
  openScript_.clear();
  for (const PathAt& line : kOpenTemplate) openScript_.push_back(WithPortPath(line.text, line.at));
  return &openScript_;
}

const std::vector<std::string>* VkcDevIfOvrin::GetCloseScript() {
  closeScript_.clear();
  for (const PathAt& line : kCloseTemplate) closeScript_.push_back(WithPortPath(line.text, line.at));
  return &closeScript_;
}

bool VkcDevIfOvrin::QueryReceiverRaw(const std::string& command, const char* expected, std::string& reply) {
  reply.clear();
  if (!port_) return false;
  port_->Write("\r", 1, nullptr, -1, nullptr);
  Pause(devif::kQueryPauseMs);
  VkcConnectionInterface channel(port_, true);
  char buffer[devif::kQueryReply];
  if (!channel.SendCommand(command.c_str(), buffer, sizeof buffer, port_->GetReplyTimeout(), stop_, false,
                           VkcConnectionInterface::kMatchAny, false, expected)) {
    return false;
  }
  reply = buffer;
  return true;
}

std::string VkcDevIfOvrin::QueryReceiver(const std::string& command, const char* expected) {
  std::string reply;
  if (!QueryReceiverRaw(command, expected, reply)) return kNull;
  return FromSlash(reply);
}

std::string VkcDevIfOvrin::QuerySetting(const std::string& command) {
  std::string reply;
  if (!QueryReceiverRaw(command, "\r\n", reply) || IsError(reply)) return kNull;
  return FromSlash(reply);
}

bool VkcDevIfOvrin::QueryMessageList(const std::string& command, std::string& answer) {
  answer.clear();
  if (!port_) return false;
  port_->Write("\r", 1, nullptr, -1, nullptr);
  Pause(devif::kQueryPauseMs);
  VkcConnectionInterface channel(port_, true);
  channel.KeepCollecting(true);
  using Ch = VkcConnectionInterface;
  // In order: "}\r\n", then one more line end per further line (the progress is kept).
  std::vector<std::string> expected = {"}\r\n"};
  if (!channel.Transact(command.c_str(), nullptr, 0, port_->GetReplyTimeout(), stop_, false, Ch::kMatchAllInOrder,
                        false, expected)) {
    return false;
  }
  // The first line may close the list itself with further lines following at once: they are
  // read until the receiver goes quiet.
  for (int i = 0; i < devif::kMaxListLines; ++i) {
    expected.push_back("\r\n");
    if (!channel.Transact(nullptr, nullptr, 0, devif::kListLineWaitMs, stop_, true, Ch::kMatchAllInOrder, false,
                          expected)) {
      break;
    }
  }
  channel.KeepCollecting(false);
  answer = channel.GetReply();
  if (answer.size() >= devif::kQueryReply) answer.resize(devif::kQueryReply - 1);
  return true;
}

bool VkcDevIfOvrin::Login() {
  QueryReceiver("#OFF#", "\r\n");  // ends a pass-through left open; any answer will do
  return QueryReceiver("%%\r\n", "\r\n") != kNull;
}

std::vector<std::string> VkcDevIfOvrin::ParseRestoreList(const std::string& answer, const std::string& portPath,
                                                         bool* refused) {
  std::vector<std::string> entries;
  std::vector<std::string> lines;
  for (size_t at = 0; at <= answer.size();) {
    size_t end = answer.find("\r\n", at);
    if (end == std::string::npos) end = answer.size();
    lines.push_back(answer.substr(at, end - at));
    at = end + 2;
  }
  // Without an opening brace (no answer, or one cut short) there is nothing to restore.
  const size_t open = lines.empty() ? std::string::npos : lines[0].find('{');
  if (open == std::string::npos) return {};
  std::string first = lines[0].substr(open + 1);
  const size_t close = first.find('}');
  if (close != std::string::npos) {
    first.resize(close);
  } else if (!first.empty() && first.back() == ',') {
    first.pop_back();  // the separator before the next line
  }
  std::vector<std::string> texts;
  texts.push_back(first);
  // Further lines follow whether or not the first closed with its own "}"; a line holding "%%"
  // is another answer, not part of the list.
  for (size_t i = 1; i < lines.size(); ++i) {
    if (lines[i].find("%%") != std::string::npos) break;
    if (lines[i].size() > kMessageIndent + 1) {
      texts.push_back(lines[i].substr(kMessageIndent, lines[i].size() - kMessageIndent - 1));
    }
  }
  for (std::string& text : texts) {
    if (text.empty()) continue;  // never a bare "%%em,/dev/ser/x,"
    const size_t eq = text.find('=');
    if (eq != std::string::npos) text[eq] = ':';
    if (std::optional<std::string> entry = CommandWithValue("%%em,/" + portPath + ",", text, {})) {
      entries.push_back(std::move(*entry));
    } else if (refused != nullptr) {
      *refused = true;
    }
  }
  return entries;
}

bool VkcDevIfOvrin::SaveReceiverPortSettings() {
  GetLog().Append("Saving GPS ports parameters...\r\n");
  // A refused query ("ER") saved nothing: its answer is never taken for the value.
  savedPortEcho_ = QuerySetting(WithPortPath(kPortEchoQuery.text, kPortEchoQuery.at));
  savedPortImode_ = DropImodeHeader(QuerySetting(WithPortPath(kPortImodeQuery.text, kPortImodeQuery.at)));
  savedTermEcho_ = QuerySetting(kTermEchoQuery);
  savedTermImode_ = DropImodeHeader(QuerySetting(kTermImodeQuery));
  // The open script stops every message on the port ("%%dm"): without the list read whole,
  // nothing could bring them back, so the open must not go on.
  std::string messages;
  const bool listRead = QueryMessageList(WithPortPath(kMessagesQuery.text, kMessagesQuery.at), messages) &&
                        !IsError(messages) && FromSlash(messages).find('{') != std::string::npos;
  // A message that could not be put back would stay off for good after "%%dm": that stops the
  // open as an unread list does.
  bool refused = false;
  restoreList_ = listRead ? ParseRestoreList(FromSlash(messages), portPath_, &refused) : std::vector<std::string>{};
  bool ok = listRead && !refused;
  for (const std::string* saved : {&savedPortEcho_, &savedPortImode_, &savedTermEcho_, &savedTermImode_}) {
    if (*saved == kNull) ok = false;
  }
  return ok;
}

bool VkcDevIfOvrin::RestorePortSettings() {
  std::vector<std::string> commands;
  bool ok = true;
  const std::pair<std::string, const std::string*> sets[] = {
      {"%%set," + portPath_ + "/echo,", &savedPortEcho_},
      {"%%set," + portPath_ + "/imode,", &savedPortImode_},
      {"%%set,cur/term/echo,", &savedTermEcho_},
      {"%%set,cur/term/imode,", &savedTermImode_},
  };
  for (const auto& [command, value] : sets) {
    // Never read: nothing to put back, and "NULL" is no setting.
    if (*value == kNull || value->empty()) {
      ok = false;
      continue;
    }
    // The value is the saved answer's first line; its line end stays the command's own. Whatever
    // came behind it in the same read is another line of the receiver's, not part of the setting.
    std::string_view text = *value;
    std::string_view lineEnd;
    if (const size_t cut = text.find_first_of("\r\n"); cut != std::string_view::npos) {
      lineEnd = text.substr(cut, text.compare(cut, 2, "\r\n") == 0 ? 2 : 1);
      text = text.substr(0, cut);
    }
    const std::optional<std::string> line = CommandWithValue(command, text, lineEnd);
    if (!line) {
      ok = false;
      continue;
    }
    commands.push_back(*line);
  }
  commands.insert(commands.end(), restoreList_.begin(), restoreList_.end());
  for (const std::string& command : commands) {
    // The error mark is looked for in the whole answer: the part from its first "/" on can miss it.
    std::string answer;
    if (!QueryReceiverRaw(command, "%%", answer)) {
      // Unanswered is not restored.
      ErrorLog().ReportError(0, "The GPS receiver did not answer \"%s\"", command.c_str());
      ok = false;
    } else if (answer.find("ER") != std::string::npos) {
      ok = false;
    }
  }
  return ok;
}

int VkcDevIfOvrin::RunReceiverScript(int count, const std::vector<std::string>* lines, bool checkFirst) {
  if (!lines || !port_) return 0;
  count = std::min<int>(count, static_cast<int>(lines->size()));
  VkcConnectionInterface channel(port_, true);
  linesAnswered_ = 0;
  for (int i = 0; i < count; ++i) {
    if (i > 0) Pause(devif::kReceiverLinePauseMs);
    char reply[devif::kScriptReply];
    const bool answered = channel.SendCommand((*lines)[i].c_str(), reply, sizeof reply, port_->GetReplyTimeout(),
                                              stop_, false, VkcConnectionInterface::kMatchAny, false, "%%");
    if (answered) ++linesAnswered_;
    platform::PostMessage(notify_, kMsgProgress, kProgressPercent, (i + 1) * 100 / count);
    if (!checkFirst && i == 0) continue;
    if (!answered) return i <= 1 ? 1 : 5;
    GetLog().Append(ToLogText(reply));
    platform::PostMessage(notify_, kMsgProgress, kProgressMailbox, reinterpret_cast<intptr_t>(&GetLog()));
    if (std::string(reply).find("ER") != std::string::npos) return 2;
  }
  return 0;
}

int VkcDevIfOvrin::OpenPassThrough(VkcComPort* port, bool open, platform::WindowHandle notify, platform::Event* stop) {
  notify_ = notify;
  port_ = port;
  stop_ = stop;
  GetLog().Clear();
  if (!port) return 1;
  const std::vector<std::string>* script = nullptr;
  int count = 0;
  if (open) {
    if (!Login()) return 1;
    if (!SaveReceiverPortSettings()) return 3;
    script = GetOpenScript();
    count = kOpenLines;
    GetLog().Append("Sending daisy chain commands...\r\n");
  } else {
    script = GetCloseScript();
    count = kCloseLines;
    GetLog().Append("Closing daisy chain and restoring GPS ports parameters...\r\n");
  }
  platform::PostMessage(notify_, kMsgProgress, kProgressMailbox, reinterpret_cast<intptr_t>(&GetLog()));
  port->Write("\r", 1, nullptr, -1, nullptr);
  platform::PostMessage(notify_, kMsgProgress, kProgressPercent, 100 / count);
  Pause(devif::kScriptStartPauseMs);
  int result = RunReceiverScript(count, script, open);
  if (open && result != 0 && linesAnswered_ > 0) {
    // An open that failed part-way has changed the receiver: put back what was saved, as a close
    // would. The open's own result stands.
    GetLog().Append("Closing daisy chain and restoring GPS ports parameters...\r\n");
    platform::PostMessage(notify_, kMsgProgress, kProgressMailbox, reinterpret_cast<intptr_t>(&GetLog()));
    RunReceiverScript(kCloseLines, GetCloseScript(), false);
    RestorePortSettings();
  }
  if (!open && !RestorePortSettings()) result = 4;
  return result;
}
