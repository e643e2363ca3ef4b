#include "sim/SimUnit.h"

#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <thread>

#include "link/Format.h"
#include "link/Utf.h"
#include "platform/SerialDeviceSpeed.h"
#include "platform/Timing.h"

namespace sim {

SimUnit::SimUnit() {
  master_ = posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
  if (master_ < 0) return;
  char name[128];
  if (grantpt(master_) != 0 || unlockpt(master_) != 0 || ptsname_r(master_, name, sizeof name) != 0) {
    CloseFdsLocked();
    return;
  }
  fcntl(master_, F_SETFL, fcntl(master_, F_GETFL) | O_NONBLOCK);
  slavePath_ = name;
  slaveHold_ = open(name, O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
  if (slaveHold_ < 0) {
    CloseFdsLocked();
    return;
  }
  // Raw until the program sets its own mode: no echo by the line discipline, no CR/LF mapping.
  termios t{};
  tcgetattr(slaveHold_, &t);
  cfmakeraw(&t);
  t.c_cflag |= CLOCAL | CREAD;
  cfsetspeed(&t, B115200);
  tcsetattr(slaveHold_, TCSANOW, &t);
  ok_ = true;
  // The descriptors of the unit's events exist before its thread runs, so a test that counts
  // descriptors sees a steady number.
  wake_.Fd();
  thread_.StopEvent().Fd();
  thread_.Start([this](platform::Event& stop) { Run(stop); });
}

SimUnit::~SimUnit() {
  thread_.Stop();
  std::lock_guard<std::mutex> g(m_);
  CloseFdsLocked();
}

std::u16string SimUnit::SlavePath16() const { return Utf8ToUtf16(slavePath_); }

void SimUnit::CloseFdsLocked() {
  if (master_ >= 0) close(master_);
  if (slaveHold_ >= 0) close(slaveHold_);
  master_ = slaveHold_ = -1;
}

uint32_t SimUnit::LineRateLocked() const { return master_ < 0 ? 0 : platform::GetLineSpeed(master_); }

uint32_t SimUnit::LineRate() const {
  std::lock_guard<std::mutex> g(m_);
  return LineRateLocked();
}

bool SimUnit::LineSettings(struct termios& out) const {
  std::lock_guard<std::mutex> g(m_);
  return master_ >= 0 && tcgetattr(master_, &out) == 0;
}

void SimUnit::SetUnitRate(uint32_t rate) {
  std::lock_guard<std::mutex> g(m_);
  unitRate_ = rate;
}

uint32_t SimUnit::UnitRate() const {
  std::lock_guard<std::mutex> g(m_);
  return unitRate_;
}

void SimUnit::SetUnitRateAfterOutput(uint32_t rate) {
  std::lock_guard<std::mutex> g(m_);
  uint64_t due = std::max(platform::NowUs(), lastDueUs_);
  queue_.push_back({due, std::string(), rate});
  lastDueUs_ = due;
  wake_.Set();
}

void SimUnit::SetRateCheck(bool on) {
  std::lock_guard<std::mutex> g(m_);
  rateCheck_ = on;
}

void SimUnit::AddCommandHandler(const std::string& prefix, CommandHandler handler) {
  std::lock_guard<std::mutex> g(m_);
  handlers_[prefix] = std::move(handler);
}

void SimUnit::AddRawTrigger(const std::string& pattern, CommandHandler handler) {
  std::lock_guard<std::mutex> g(m_);
  rawTriggers_.emplace_back(pattern, std::move(handler));
}

void SimUnit::SetLineFilter(LineFilter filter) {
  std::lock_guard<std::mutex> g(m_);
  lineFilter_ = std::move(filter);
}

void SimUnit::SetRawInput(RawInputHandler handler) {
  std::lock_guard<std::mutex> g(m_);
  rawInput_ = std::move(handler);
}

void SimUnit::SetAnswer(const std::string& command, const std::string& body) {
  std::lock_guard<std::mutex> g(m_);
  answers_[command] = body;
}

void SimUnit::Send(const std::string& bytes, uint32_t delayMs) {
  {
    std::lock_guard<std::mutex> g(m_);
    QueueLocked(bytes, delayMs + pendingDelayMs_);
    pendingDelayMs_ = 0;
  }
  // The unit's own thread flushes before it waits again; others wake it.
  if (std::this_thread::get_id() != unitThread_.load()) wake_.Set();
}

void SimUnit::Answer(const std::string& value, int code) {
  Send(value + StrPrintf("@%02d\r\n", code));
  Prompt();
}

void SimUnit::Prompt() {
  uint32_t delay;
  {
    std::lock_guard<std::mutex> g(m_);
    if (omitPrompt_) return;
    delay = promptDelayMs_;
  }
  Send(kPrompt, delay);
}

void SimUnit::SetEchoMode(EchoMode mode, uint32_t splitDelayMs) {
  std::lock_guard<std::mutex> g(m_);
  echoMode_ = mode;
  splitDelayMs_ = splitDelayMs;
}

void SimUnit::SetReplyDelay(uint32_t ms) {
  std::lock_guard<std::mutex> g(m_);
  replyDelayMs_ = ms;
}

void SimUnit::SetPromptDelay(uint32_t ms) {
  std::lock_guard<std::mutex> g(m_);
  promptDelayMs_ = ms;
}

void SimUnit::SetOmitPrompt(bool omit) {
  std::lock_guard<std::mutex> g(m_);
  omitPrompt_ = omit;
}

void SimUnit::SetSilent(bool silent) {
  std::lock_guard<std::mutex> g(m_);
  silent_ = silent;
}

void SimUnit::DropOutput(size_t bytes) {
  std::lock_guard<std::mutex> g(m_);
  dropBytes_ += bytes;
}

void SimUnit::GarbleOutput(size_t bytes) {
  std::lock_guard<std::mutex> g(m_);
  garbleBytes_ += bytes;
}

void SimUnit::SetPaced(bool paced) {
  std::lock_guard<std::mutex> g(m_);
  paced_ = paced;
}

void SimUnit::HangUp() {
  {
    std::lock_guard<std::mutex> g(m_);
    if (master_ < 0) return;
    hangUpRequested_ = true;
  }
  wake_.Set();
  hungUp_.Wait(5000);
}

std::vector<std::string> SimUnit::Commands() const {
  std::lock_guard<std::mutex> g(m_);
  std::vector<std::string> out;
  for (const auto& c : commands_) out.push_back(c.line);
  return out;
}

std::vector<CommandRecord> SimUnit::CommandRecords() const {
  std::lock_guard<std::mutex> g(m_);
  return commands_;
}

std::string SimUnit::Received() const {
  std::lock_guard<std::mutex> g(m_);
  return received_;
}

size_t SimUnit::CommandCount() const {
  std::lock_guard<std::mutex> g(m_);
  return commands_.size();
}

bool SimUnit::WaitForCommands(size_t count, uint32_t ms) const {
  std::unique_lock<std::mutex> g(m_);
  return cv_.wait_for(g, std::chrono::milliseconds(ms), [&] { return commands_.size() >= count; });
}

bool SimUnit::WaitForReceived(const std::string& text, uint32_t ms) const {
  std::unique_lock<std::mutex> g(m_);
  return cv_.wait_for(g, std::chrono::milliseconds(ms),
                      [&] { return received_.find(text) != std::string::npos; });
}

void SimUnit::ClearRecord() {
  std::lock_guard<std::mutex> g(m_);
  commands_.clear();
  received_.clear();
}

void SimUnit::QueueLocked(const std::string& bytes, uint32_t delayMs) {
  if (silent_ || bytes.empty()) return;
  uint64_t now = platform::NowUs();
  uint64_t due = std::max(now, lastDueUs_) + uint64_t{platform::Scaled(delayMs)} * 1000;
  uint32_t rate = paced_ ? LineRateLocked() : 0;
  if (rate == 0) {
    queue_.push_back({due, bytes});
    lastDueUs_ = due;
    return;
  }
  // About 5 ms worth of bytes per chunk, each chunk due when the line would have carried it.
  size_t chunk = std::max<size_t>(1, rate / 10 / 200);
  for (size_t at = 0; at < bytes.size(); at += chunk) {
    std::string part = bytes.substr(at, chunk);
    due += uint64_t{part.size()} * 10'000'000 / rate;
    queue_.push_back({due, std::move(part)});
  }
  lastDueUs_ = due;
}

void SimUnit::EchoLocked(const std::string& bytes, uint32_t delayMs) { QueueLocked(bytes, delayMs); }

int64_t SimUnit::NextDueInUs() {
  std::lock_guard<std::mutex> g(m_);
  if (queue_.empty()) return -1;
  uint64_t now = platform::NowUs();
  return queue_.front().dueUs <= now ? 0 : static_cast<int64_t>(queue_.front().dueUs - now);
}

void SimUnit::FlushOutput() {
  int fd;
  {
    std::lock_guard<std::mutex> g(m_);
    fd = master_;
    uint64_t now = platform::NowUs();
    bool wrongRate = rateCheck_ && LineRateLocked() != unitRate_;
    while (!queue_.empty() && queue_.front().dueUs <= now) {
      std::string bytes = std::move(queue_.front().bytes);
      if (queue_.front().rateAfter) {
        unitRate_ = queue_.front().rateAfter;
        wrongRate = rateCheck_ && LineRateLocked() != unitRate_;
      }
      queue_.pop_front();
      for (char c : bytes) {
        if (dropBytes_) {
          --dropBytes_;
          continue;
        }
        if (garbleBytes_) {
          --garbleBytes_;
          c = static_cast<char>(c ^ 0x5A);
        }
        if (wrongRate) c = static_cast<char>((c ^ 0xA5) | 0x80);
        outBuf_.push_back(c);
      }
    }
  }
  if (fd < 0) {
    outBuf_.clear();
    return;
  }
  while (!outBuf_.empty()) {
    ssize_t w = write(fd, outBuf_.data(), outBuf_.size());
    if (w > 0) {
      outBuf_.erase(0, static_cast<size_t>(w));
    } else if (w < 0 && errno == EINTR) {
      continue;
    } else {
      break;  // the pty is full (EAGAIN): poll for POLLOUT
    }
  }
}

void SimUnit::Run(platform::Event& stop) {
  unitThread_.store(std::this_thread::get_id());
  uint8_t buf[4096];
  for (;;) {
    int fd;
    {
      std::lock_guard<std::mutex> g(m_);
      if (hangUpRequested_) {
        CloseFdsLocked();
        queue_.clear();
        hangUpRequested_ = false;
        hungUp_.Set();
      }
      fd = master_;
    }
    FlushOutput();
    int64_t waitUs = NextDueInUs();
    pollfd fds[3] = {{stop.Fd(), POLLIN, 0}, {wake_.Fd(), POLLIN, 0}, {fd, POLLIN, 0}};
    if (!outBuf_.empty()) fds[2].events |= POLLOUT;
    int timeout = waitUs < 0 ? -1 : static_cast<int>((waitUs + 999) / 1000);
    if (!outBuf_.empty() && timeout < 0) timeout = 100;
    int r = poll(fds, fd < 0 ? 2 : 3, timeout);
    if (stop.IsSet()) return;
    if (r <= 0) continue;
    if (fds[1].revents) wake_.Wait(0);
    if (fd >= 0 && (fds[2].revents & (POLLIN | POLLHUP | POLLERR))) {
      ssize_t n = read(fd, buf, sizeof buf);
      if (n > 0) {
        OnInput(buf, static_cast<size_t>(n));
      } else if (n < 0 && errno != EAGAIN && errno != EINTR) {
        stop.Wait(10);  // no slave side at the moment: do not spin
      }
    }
  }
}

void SimUnit::OnInput(const uint8_t* data, size_t n) {
  {
    std::lock_guard<std::mutex> g(m_);
    received_.append(reinterpret_cast<const char*>(data), n);
    cv_.notify_all();
    if (rateCheck_ && LineRateLocked() != unitRate_) return;  // noise at the wrong rate
  }
  std::string echo;
  auto flushEcho = [&] {
    if (echo.empty()) return;
    std::lock_guard<std::mutex> g(m_);
    EchoLocked(echo, 0);
    echo.clear();
  };
  // A handler may switch the unit to raw input or change its echo: the rest of the chunk follows.
  auto modeNow = [&](RawInputHandler& raw) {
    std::lock_guard<std::mutex> g(m_);
    raw = rawInput_;
    return echoMode_;
  };
  RawInputHandler raw;
  EchoMode mode = modeNow(raw);
  for (size_t i = 0; i < n; ++i) {
    if (raw) {
      flushEcho();
      raw(*this, data + i, n - i);
      return;
    }
    char c = static_cast<char>(data[i]);
    if (mode == EchoMode::Normal) {
      if (c == '\r')
        echo += "\r\n";
      else
        echo += c;
    }
    if (c == '\r') {
      if (mode == EchoMode::Split) {
        std::string whole = line_ + "\r\n";
        size_t third = std::max<size_t>(1, whole.size() / 3);
        std::lock_guard<std::mutex> g(m_);
        EchoLocked(whole.substr(0, third), 0);
        EchoLocked(whole.substr(third, third), splitDelayMs_);
        EchoLocked(whole.substr(std::min(whole.size(), 2 * third)), splitDelayMs_);
      }
      flushEcho();
      std::string line;
      line.swap(line_);
      Dispatch(line);
      mode = modeNow(raw);
      continue;
    }
    line_ += c;
    CommandHandler trigger;
    {
      std::lock_guard<std::mutex> g(m_);
      for (auto& [pattern, h] : rawTriggers_) {
        if (line_.size() >= pattern.size() &&
            line_.compare(line_.size() - pattern.size(), pattern.size(), pattern) == 0) {
          trigger = h;
          commands_.push_back({line_, LineRateLocked()});
          cv_.notify_all();
          break;
        }
      }
    }
    if (trigger) {
      flushEcho();
      std::string line;
      line.swap(line_);
      trigger(*this, line);
      mode = modeNow(raw);
    }
  }
  flushEcho();
}

void SimUnit::Dispatch(const std::string& received) {
  CommandHandler handler;
  std::string answer;
  bool haveAnswer = false;
  std::string line;
  {
    std::lock_guard<std::mutex> g(m_);
    commands_.push_back({received, LineRateLocked()});
    line = lineFilter_ ? lineFilter_(received) : received;
    cv_.notify_all();
    pendingDelayMs_ = replyDelayMs_;
    auto a = answers_.find(line);
    if (a != answers_.end()) {
      answer = a->second;
      haveAnswer = true;
    } else {
      size_t best = 0;
      for (auto& [prefix, h] : handlers_) {
        if (prefix.size() >= best && line.compare(0, prefix.size(), prefix) == 0 &&
            (prefix.size() > best || !handler)) {
          best = prefix.size();
          handler = h;
        }
      }
    }
  }
  if (haveAnswer) {
    Send(answer);
    Prompt();
  } else if (handler) {
    handler(*this, line);
  } else if (line.empty()) {
    Prompt();
  } else {
    Answer("", 1);  // not a command of this unit
  }
  std::lock_guard<std::mutex> g(m_);
  pendingDelayMs_ = 0;
}

}  // namespace sim
