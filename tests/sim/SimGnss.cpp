#include "sim/SimGnss.h"

#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>

#include "link/Format.h"
#include "link/Utf.h"
#include "platform/SerialDeviceSpeed.h"

namespace sim {

namespace {

std::string Trim(const std::string& s) {
  size_t b = 0, e = s.size();
  while (b < e && (s[b] == ' ' || s[b] == '\t')) ++b;
  while (e > b && (s[e - 1] == ' ' || s[e - 1] == '\t' || s[e - 1] == '\r' || s[e - 1] == '\n')) --e;
  return s.substr(b, e - b);
}

// "dev/ser/c", "/dev/ser/c" and " dev/ser/c" name the same thing.
std::string NormalPath(const std::string& s) {
  std::string t = Trim(s);
  while (!t.empty() && t[0] == '/') t.erase(0, 1);
  return t;
}

std::string Framed(const char* code, const std::string& data) {
  const std::string rest = "%%" + data + "\r\n";
  return StrPrintf("%s%03X", code, static_cast<unsigned>(rest.size() & 0xFFF)) + rest;
}

std::string Done(const std::string& data = {}) { return Framed("RE", data); }
std::string Failed(const std::string& text) { return Framed("ER", text); }

int OpenRaw(const std::string& path) {
  const int fd = open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return -1;
  termios t{};
  tcgetattr(fd, &t);
  cfmakeraw(&t);
  t.c_cflag |= CLOCAL | CREAD;
  tcsetattr(fd, TCSANOW, &t);
  return fd;
}

}  // namespace

SimGnss::SimGnss(const std::string& radioPath, GnssOptions options)
    : radioPort_(options.radioPort), eachMessageClosed_(options.eachMessageClosed) {
  for (char p = 'a'; p <= 'd'; ++p) ports_[p] = Port{options.portEcho, options.portImode, options.messages};
  termEcho_ = options.termEcho;
  termImode_ = options.termImode;
  master_ = posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
  if (master_ < 0) return;
  char name[128];
  if (grantpt(master_) != 0 || unlockpt(master_) != 0 || ptsname_r(master_, name, sizeof name) != 0) return;
  fcntl(master_, F_SETFL, fcntl(master_, F_GETFL) | O_NONBLOCK);
  slavePath_ = name;
  slaveHold_ = OpenRaw(slavePath_);
  if (slaveHold_ < 0) return;
  platform::SetLineSpeedExact(slaveHold_, 115200);
  if (!radioPath.empty()) {
    radio_ = OpenRaw(radioPath);
    if (radio_ < 0) return;
  }
  ok_ = true;
  thread_.StopEvent().Fd();
  thread_.Start([this](platform::Event& stop) { Run(stop); });
}

SimGnss::~SimGnss() {
  thread_.Stop();
  for (int fd : {radio_, slaveHold_, master_}) {
    if (fd >= 0) close(fd);
  }
}

std::u16string SimGnss::SlavePath16() const { return Utf8ToUtf16(slavePath_); }

void SimGnss::SetRule(const std::string& prefix, Rule rule) {
  std::lock_guard<std::mutex> g(m_);
  rules_[prefix] = rule;
}

void SimGnss::SetSilent(bool silent) {
  std::lock_guard<std::mutex> g(m_);
  silent_ = silent;
}

bool SimGnss::PassThroughLive() const {
  std::lock_guard<std::mutex> g(m_);
  return LiveLocked();
}

std::string SimGnss::Setting(const std::string& path) const {
  std::lock_guard<std::mutex> g(m_);
  const std::string p = NormalPath(path);
  if (p == "cur/term/echo") return termEcho_;
  if (p == "cur/term/imode") return termImode_;
  if (p == "cur/term/eoff") return eoff_;
  std::string leaf;
  Port* port = const_cast<SimGnss*>(this)->PortLocked(p, &leaf);
  if (!port) return {};
  if (leaf == "echo") return port->echo;
  if (leaf == "imode") return port->imode;
  return {};
}

void SimGnss::SetSetting(const std::string& path, const std::string& value) {
  std::lock_guard<std::mutex> g(m_);
  CommandLocked("%%set," + path + "," + value);
}

std::vector<std::string> SimGnss::Messages(char port) const {
  std::lock_guard<std::mutex> g(m_);
  auto it = ports_.find(port);
  return it == ports_.end() ? std::vector<std::string>{} : it->second.messages;
}

std::vector<std::string> SimGnss::Commands() const {
  std::lock_guard<std::mutex> g(m_);
  return commands_;
}

std::string SimGnss::Received() const {
  std::lock_guard<std::mutex> g(m_);
  return received_;
}

std::string SimGnss::ForwardedToRadio() const {
  std::lock_guard<std::mutex> g(m_);
  return forwarded_;
}

void SimGnss::ClearRecord() {
  std::lock_guard<std::mutex> g(m_);
  commands_.clear();
  received_.clear();
  forwarded_.clear();
}

SimGnss::Port* SimGnss::PortLocked(const std::string& path, std::string* leaf) {
  // "dev/ser/<x>" optionally followed by "/<leaf>".
  const std::string p = NormalPath(path);
  constexpr const char* kPrefix = "dev/ser/";
  if (p.compare(0, 8, kPrefix) != 0 || p.size() < 9) return nullptr;
  auto it = ports_.find(p[8]);
  if (it == ports_.end()) return nullptr;
  if (p.size() == 9) {
    if (leaf) leaf->clear();
  } else {
    if (p[9] != '/') return nullptr;
    if (leaf) *leaf = p.substr(10);
  }
  return &it->second;
}

bool SimGnss::LiveLocked() const { return termImode_ == "echo" && LiveTargetLocked() != 0; }

char SimGnss::LiveTargetLocked() const {
  const std::string p = NormalPath(termEcho_);
  if (p.size() == 9 && p.compare(0, 8, "dev/ser/") == 0 && p[8] >= 'a' && p[8] <= 'd') return p[8];
  return 0;
}

void SimGnss::ForwardLocked(char c) {
  if (LiveTargetLocked() != radioPort_ || radio_ < 0) return;  // an unchained port: nobody listens
  toRadio_ += c;
  forwarded_ += c;
}

std::string SimGnss::CommandLocked(const std::string& line) {
  const std::string body = line.substr(2);
  if (Trim(body).empty()) return Done();
  const size_t comma = body.find(',');
  const std::string verb = Trim(body.substr(0, comma));
  const std::string args = comma == std::string::npos ? std::string() : body.substr(comma + 1);
  if (verb == "set") {
    const size_t c2 = args.find(',');
    if (c2 == std::string::npos) return Failed("syntax");
    const std::string path = NormalPath(args.substr(0, c2));
    std::string value = Trim(args.substr(c2 + 1));
    if (value.size() >= 2 && value.front() == '"' && value.back() == '"') value = value.substr(1, value.size() - 2);
    const bool isPath = !value.empty() && value.find('/') != std::string::npos;
    if (isPath) value = "/" + NormalPath(value);
    std::string leaf;
    if (path == "cur/term/echo" && isPath) {
      termEcho_ = value;
    } else if (path == "cur/term/imode" && (value == "cmd" || value == "echo")) {
      termImode_ = value;
    } else if (path == "cur/term/eoff") {
      eoff_ = value;
    } else if (Port* port = PortLocked(path, &leaf); port && leaf == "echo" && isPath) {
      port->echo = value;
    } else if (port && leaf == "imode" && (value == "cmd" || value == "echo")) {
      port->imode = value;
    } else {
      return Failed("bad setting");
    }
    return Done();
  }
  if (verb == "print") {
    std::string path = NormalPath(args);
    if (path == "cur/term/echo") return Done(termEcho_);
    if (path == "cur/term/imode") return Done(termImode_);
    if (path.size() > 3 && path.compare(path.size() - 3, 3, ":on") == 0 && path.compare(0, 4, "out/") == 0) {
      Port* port = PortLocked(path.substr(4, path.size() - 7), nullptr);
      if (!port) return Failed("no port");
      if (port->messages.empty()) return Done("{}");
      std::string data = "{";
      for (size_t i = 0; i < port->messages.size(); ++i) {
        if (i > 0) data += "\r\n        ";
        data += port->messages[i];
        data += i + 1 < port->messages.size() && !eachMessageClosed_ ? "," : "}";
      }
      return Done(data);
    }
    std::string leaf;
    Port* port = PortLocked(path, &leaf);
    if (port && leaf == "echo") return Done(port->echo);
    if (port && leaf == "imode") return Done(port->imode);
    return Failed("bad path");
  }
  if (verb == "dm") {
    std::string leaf;
    Port* port = PortLocked(args, &leaf);
    if (!port || !leaf.empty()) return Failed("no port");
    port->messages.clear();
    return Done();
  }
  if (verb == "em") {
    const size_t c2 = args.find(',');
    std::string leaf;
    Port* port = c2 == std::string::npos ? nullptr : PortLocked(args.substr(0, c2), &leaf);
    const std::string message = c2 == std::string::npos ? std::string() : Trim(args.substr(c2 + 1));
    const size_t colon = message.find(':');
    if (!port || !leaf.empty() || colon == std::string::npos || colon == 0) return Failed("bad message");
    port->messages.push_back(message.substr(0, colon) + "=" + message.substr(colon + 1));
    return Done();
  }
  return Failed("unknown command");
}

void SimGnss::HandleLineLocked(const std::string& line) {
  if (line.compare(0, 2, "%%") != 0) return;  // not a receiver command
  commands_.push_back(line);
  Rule rule = silent_ ? Rule::Silent : Rule::Answer;
  size_t longest = 0;
  for (const auto& [prefix, r] : rules_) {
    if (prefix.size() >= longest && line.compare(0, prefix.size(), prefix) == 0) {
      longest = prefix.size();
      rule = r;
    }
  }
  if (rule == Rule::Silent) return;
  if (rule == Rule::Error) {
    toProgram_ += Failed("refused " + line);  // names the command, paths and all
    return;
  }
  toProgram_ += CommandLocked(line);
}

void SimGnss::OnProgramInput(const char* data, size_t n) {
  std::lock_guard<std::mutex> g(m_);
  received_.append(data, n);
  FollowRateLocked();
  for (size_t i = 0; i < n; ++i) {
    const char c = data[i];
    if (LiveLocked()) {
      if (eoff_.empty()) {
        ForwardLocked(c);
        continue;
      }
      held_ += c;
      while (!held_.empty() && eoff_.compare(0, held_.size(), held_) != 0) {
        ForwardLocked(held_[0]);
        held_.erase(0, 1);
      }
      if (held_ == eoff_) {
        held_.clear();
        termImode_ = "cmd";
        lastWasCr_ = false;
      }
      continue;
    }
    if (c == '\n' && lastWasCr_) {
      lastWasCr_ = false;
      continue;
    }
    lastWasCr_ = c == '\r';
    if (c == '\r' || c == '\n') {
      std::string line;
      line.swap(line_);
      if (!line.empty()) HandleLineLocked(line);
      continue;
    }
    line_ += c;
  }
}

void SimGnss::OnRadioOutput(const char* data, size_t n) {
  std::lock_guard<std::mutex> g(m_);
  auto it = ports_.find(radioPort_);
  if (it == ports_.end()) return;
  if (it->second.imode == "echo" && NormalPath(it->second.echo) == "cur/term") toProgram_.append(data, n);
}

void SimGnss::FollowRateLocked() {
  if (radio_ < 0) return;
  const uint32_t rate = platform::GetLineSpeed(master_);
  if (rate != 0 && rate != radioRate_ && platform::SetLineSpeedExact(radio_, rate)) radioRate_ = rate;
}

void SimGnss::FlushLocked() {
  auto push = [](int fd, std::string& out) {
    while (fd >= 0 && !out.empty()) {
      const ssize_t w = write(fd, out.data(), out.size());
      if (w <= 0) break;
      out.erase(0, static_cast<size_t>(w));
    }
  };
  push(master_, toProgram_);
  push(radio_, toRadio_);
}

void SimGnss::Run(platform::Event& stop) {
  char buf[4096];
  for (;;) {
    bool pending;
    {
      std::lock_guard<std::mutex> g(m_);
      FlushLocked();
      pending = !toProgram_.empty() || !toRadio_.empty();
    }
    pollfd fds[3] = {{stop.Fd(), POLLIN, 0}, {master_, POLLIN, 0}, {radio_, POLLIN, 0}};
    const int r = poll(fds, radio_ >= 0 ? 3 : 2, pending ? 5 : 200);
    if (stop.IsSet()) return;
    if (r <= 0) continue;
    bool idle = true;
    if (fds[1].revents & (POLLIN | POLLHUP | POLLERR)) {
      const ssize_t n = read(master_, buf, sizeof buf);
      if (n > 0) {
        OnProgramInput(buf, static_cast<size_t>(n));
        idle = false;
      }
    }
    if (radio_ >= 0 && (fds[2].revents & (POLLIN | POLLHUP | POLLERR))) {
      const ssize_t n = read(radio_, buf, sizeof buf);
      if (n > 0) {
        OnRadioOutput(buf, static_cast<size_t>(n));
        idle = false;
      }
    }
    if (idle) stop.Wait(5);  // a side without a peer reports hang-up: do not spin
  }
}

}  // namespace sim
