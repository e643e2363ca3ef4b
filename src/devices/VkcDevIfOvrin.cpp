// The Quorl receiver gateway: log-in, port settings, pass-through scripts.

#include "devices/VkcDevIfOvrin.h"

#include "devices/VkcDevIfTimes.h"
#include "link/Ansi.h"
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

void Pause(uint32_t nominalMs) {
  platform::Event pause;
  pause.Wait(platform::Scaled(nominalMs));
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
  if (!channel.SendCommand(command.c_str(), buffer, sizeof buffer, port_->GetReplyTimeout(), nullptr, false,
                           VkcConnectionInterface::kMatchAny, false, expected)) {
    return false;
  }
  reply = buffer;
  return true;
}

std::string VkcDevIfOvrin::QueryReceiver(const std::string& command, const char* expected) {
  std::string reply;
  if (!QueryReceiverRaw(command, expected, reply)) return kNull;
  const size_t slash = reply.find('/');
  return slash == std::string::npos ? reply : reply.substr(slash);
}

bool VkcDevIfOvrin::Login() {
  QueryReceiver("#OFF#", "\r\n");  // ends a pass-through left open; any answer will do
  return QueryReceiver("%%\r\n", "\r\n") != kNull;
}

std::vector<std::string> VkcDevIfOvrin::ParseRestoreList(const std::string& answer, const std::string& portPath) {
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
  if (close == std::string::npos) {
    for (size_t i = 1; i < lines.size(); ++i) {
      if (lines[i].size() > kMessageIndent + 1) {
        texts.push_back(lines[i].substr(kMessageIndent, lines[i].size() - kMessageIndent - 1));
      }
    }
  }
  for (std::string& text : texts) {
    if (text.empty()) continue;  // never a bare "%%em,/dev/ser/x,"
    const size_t eq = text.find('=');
    if (eq != std::string::npos) text[eq] = ':';
    entries.push_back("%%em,/" + portPath + "," + text);
  }
  return entries;
}

bool VkcDevIfOvrin::SaveReceiverPortSettings() {
  GetLog().Append("Saving GPS ports parameters...\r\n");
  savedPortEcho_ = QueryReceiver(WithPortPath(kPortEchoQuery.text, kPortEchoQuery.at), "\r\n");
  savedPortImode_ = DropImodeHeader(QueryReceiver(WithPortPath(kPortImodeQuery.text, kPortImodeQuery.at), "\r\n"));
  savedTermEcho_ = QueryReceiver(kTermEchoQuery, "\r\n");
  savedTermImode_ = DropImodeHeader(QueryReceiver(kTermImodeQuery, "\r\n"));
  const std::string messages = QueryReceiver(WithPortPath(kMessagesQuery.text, kMessagesQuery.at), "}\r\n");
  restoreList_ = messages == kNull ? std::vector<std::string>{} : ParseRestoreList(messages, portPath_);
  for (const std::string* saved : {&savedPortEcho_, &savedPortImode_, &savedTermEcho_, &savedTermImode_}) {
    if (*saved == kNull) return false;
  }
  return true;
}

bool VkcDevIfOvrin::RestorePortSettings() {
  std::vector<std::string> commands = {
      "%%set," + portPath_ + "/echo," + savedPortEcho_,
      "%%set," + portPath_ + "/imode," + savedPortImode_,
      "%%set,cur/term/echo," + savedTermEcho_,
      "%%set,cur/term/imode," + savedTermImode_,
  };
  commands.insert(commands.end(), restoreList_.begin(), restoreList_.end());
  bool ok = true;
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
  for (int i = 0; i < count; ++i) {
    if (i > 0) Pause(devif::kReceiverLinePauseMs);
    char reply[devif::kScriptReply];
    const bool answered = channel.SendCommand((*lines)[i].c_str(), reply, sizeof reply, port_->GetReplyTimeout(),
                                              nullptr, false, VkcConnectionInterface::kMatchAny, false, "%%");
    platform::PostMessage(notify_, kMsgProgress, kProgressPercent, (i + 1) * 100 / count);
    if (!checkFirst && i == 0) continue;
    if (!answered) return i <= 1 ? 1 : 5;
    GetLog().Append(ToLogText(reply));
    platform::PostMessage(notify_, kMsgProgress, kProgressMailbox, reinterpret_cast<intptr_t>(&GetLog()));
    if (std::string(reply).find("ER") != std::string::npos) return 2;
  }
  return 0;
}

int VkcDevIfOvrin::OpenPassThrough(VkcComPort* port, bool open, platform::WindowHandle notify, platform::Event*) {
  notify_ = notify;
  port_ = port;
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
  if (!open && !RestorePortSettings()) result = 4;
  return result;
}
