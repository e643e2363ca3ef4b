#include "sim/SimGateway.h"

#include <arpa/inet.h>
#include <cerrno>
#include <chrono>
#include <fcntl.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <termios.h>
#include <thread>
#include <unistd.h>

#include "sim/SimUnit.h"
#include "sim/SimXmodPump.h"

namespace sim {

SimGateway::SimGateway(SimUnit* unit) : unit_(unit) {
  if (!Listen()) return;
  if (unit_) {
    unitFd_ = ::open(unit_->SlavePath().c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (unitFd_ < 0) return;
    termios t{};
    if (::tcgetattr(unitFd_, &t) == 0) {
      ::cfmakeraw(&t);
      ::cfsetspeed(&t, B115200);
      ::tcsetattr(unitFd_, TCSANOW, &t);
    }
  }
  wake_.Fd();
  ok_ = thread_.Start([this](platform::Event& stop) { Run(stop); });
}

SimGateway::~SimGateway() {
  thread_.Stop();
  if (sessionFd_ >= 0) ::close(sessionFd_);
  if (listenFd_ >= 0) ::close(listenFd_);
  if (reserveFd_ >= 0) ::close(reserveFd_);
  if (unitFd_ >= 0) ::close(unitFd_);
}

int SimGateway::Bind(uint16_t port) {
  int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
  if (fd < 0) return -1;
  int one = 1;
  ::setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &one, sizeof one);
  sockaddr_in a{};
  a.sin_family = AF_INET;
  a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  a.sin_port = htons(port);
  if (::bind(fd, reinterpret_cast<sockaddr*>(&a), sizeof a) != 0) {
    ::close(fd);
    return -1;
  }
  return fd;
}

bool SimGateway::Listen() {
  if (reserveFd_ >= 0) {
    ::close(reserveFd_);
    reserveFd_ = -1;
  }
  int fd = Bind(port_);
  if (fd < 0) return false;
  if (::listen(fd, 4) != 0) {
    ::close(fd);
    return false;
  }
  sockaddr_in a{};
  socklen_t len = sizeof a;
  ::getsockname(fd, reinterpret_cast<sockaddr*>(&a), &len);
  port_ = ntohs(a.sin_port);
  listenFd_ = fd;
  listening_ = true;
  return true;
}

void SimGateway::SetCredentials(const std::string& user, const std::string& password) {
  std::lock_guard<std::mutex> g(m_);
  user_ = user;
  password_ = password;
}

void SimGateway::SetPrompts(const std::string& login, const std::string& password, bool split) {
  std::lock_guard<std::mutex> g(m_);
  loginPrompt_ = login;
  passwordPrompt_ = password;
  splitPrompts_ = split;
}

void SimGateway::SetRefusePassword(bool refuse) {
  std::lock_guard<std::mutex> g(m_);
  refusePassword_ = refuse;
}

void SimGateway::SetCloseAfterRefusal(bool close) {
  std::lock_guard<std::mutex> g(m_);
  closeAfterRefusal_ = close;
}

void SimGateway::SetStall(bool stall) {
  std::lock_guard<std::mutex> g(m_);
  stall_ = stall;
}

void SimGateway::DropSession() {
  {
    std::lock_guard<std::mutex> g(m_);
    dropNow_ = true;
  }
  wake_.Set();
}

void SimGateway::DropAfterBytes(size_t bytes) {
  std::lock_guard<std::mutex> g(m_);
  dropArmed_ = true;
  dropAfter_ = bytes;
}

void SimGateway::SetRefuseConnections(bool refuse) {
  {
    std::lock_guard<std::mutex> g(m_);
    refuseConnections_ = refuse;
  }
  wake_.Set();
  WaitFor([&] { return listening_.load() != refuse; }, 5000);
}

void SimGateway::SetReadPause(uint32_t msPerChunk) {
  std::lock_guard<std::mutex> g(m_);
  readPauseMs_ = msPerChunk;
}

void SimGateway::SendToClient(const std::string& bytes) {
  {
    std::lock_guard<std::mutex> g(m_);
    toClient_ += bytes;
  }
  wake_.Set();
}

size_t SimGateway::Connections() const {
  std::lock_guard<std::mutex> g(m_);
  return connections_;
}

size_t SimGateway::LoggedInSessions() const {
  std::lock_guard<std::mutex> g(m_);
  return loggedIn_;
}

std::vector<std::string> SimGateway::LoginLines() const {
  std::lock_guard<std::mutex> g(m_);
  return loginLines_;
}

std::string SimGateway::Received() const {
  std::lock_guard<std::mutex> g(m_);
  return received_;
}

size_t SimGateway::ReceivedCount() const {
  std::lock_guard<std::mutex> g(m_);
  return received_.size();
}

bool SimGateway::WaitFor(const std::function<bool()>& pred, uint32_t ms) const {
  auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
  while (!pred()) {
    if (std::chrono::steady_clock::now() >= until) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
  }
  return true;
}

void SimGateway::SendClient(const std::string& bytes) {
  if (sessionFd_ < 0 || bytes.empty()) return;
  SimXmodPump::WriteAll(sessionFd_, reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size(), 5000);
}

void SimGateway::SendPrompt(const std::string& prompt) {
  bool split;
  {
    std::lock_guard<std::mutex> g(m_);
    split = splitPrompts_;
  }
  if (split && prompt.size() > 1) {
    size_t half = prompt.size() / 2;
    SendClient(prompt.substr(0, half));
    std::this_thread::sleep_for(std::chrono::milliseconds(30));
    SendClient(prompt.substr(half));
  } else {
    SendClient(prompt);
  }
}

void SimGateway::EndSession() {
  if (sessionFd_ >= 0) {
    ::shutdown(sessionFd_, SHUT_RDWR);
    ::close(sessionFd_);
  }
  sessionFd_ = -1;
  std::lock_guard<std::mutex> g(m_);
  stage_ = Stage::None;
  line_.clear();
}

void SimGateway::Accept() {
  int fd = ::accept4(listenFd_, nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC);
  if (fd < 0) return;
  EndSession();
  int one = 1;
  ::setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
  sessionFd_ = fd;
  bool stall;
  std::string prompt;
  {
    std::lock_guard<std::mutex> g(m_);
    ++connections_;
    stall = stall_;
    prompt = loginPrompt_;
    stage_ = stall ? Stage::Stalled : Stage::User;
  }
  if (!stall) SendPrompt(prompt);
}

void SimGateway::OnClientBytes(const uint8_t* data, size_t n) {
  Stage stage;
  {
    std::lock_guard<std::mutex> g(m_);
    stage = stage_;
  }
  if (stage == Stage::Relay) {
    bool drop = false;
    size_t take = n;
    {
      std::lock_guard<std::mutex> g(m_);
      if (dropArmed_) {
        take = std::min(n, dropAfter_);
        dropAfter_ -= take;
        drop = dropAfter_ == 0;
        if (drop) dropArmed_ = false;
      }
      received_.append(reinterpret_cast<const char*>(data), take);
    }
    if (unitFd_ >= 0 && take) SimXmodPump::WriteAll(unitFd_, data, take, 5000);
    if (drop) EndSession();
    return;
  }
  if (stage != Stage::User && stage != Stage::Password) return;
  for (size_t i = 0; i < n; ++i) {
    char c = static_cast<char>(data[i]);
    if (c != '\n') {
      line_.push_back(c);
      continue;
    }
    std::string line = line_;
    line_.clear();
    std::string reply;
    bool close = false;
    {
      std::lock_guard<std::mutex> g(m_);
      loginLines_.push_back(line);
      if (stage_ == Stage::User) {
        stage_ = Stage::Password;
        reply = passwordPrompt_;
      } else {
        bool ok = !refusePassword_ && loginLines_.size() >= 2 &&
                  loginLines_[loginLines_.size() - 2] == user_ && line == password_;
        if (ok) {
          stage_ = Stage::Relay;
          ++loggedIn_;
          reply = "LOGGED\r\n";
        } else {
          stage_ = Stage::Refused;
          reply = "INCORRECT\r\n";
          close = closeAfterRefusal_;
        }
      }
      stage = stage_;
    }
    if (stage == Stage::Password)
      SendPrompt(reply);
    else
      SendClient(reply);
    if (close) {
      EndSession();
      return;
    }
    if (stage != Stage::Password) return;
  }
}

void SimGateway::Run(platform::Event& stop) {
  uint8_t buf[4096];
  for (;;) {
    bool refuse, dropNow;
    uint32_t pause;
    std::string out;
    Stage stage;
    {
      std::lock_guard<std::mutex> g(m_);
      refuse = refuseConnections_;
      dropNow = dropNow_;
      dropNow_ = false;
      pause = readPauseMs_;
      stage = stage_;
      if (stage == Stage::Relay) out.swap(toClient_);
    }
    if (dropNow) EndSession();
    if (!out.empty()) SendClient(out);
    if (refuse && listenFd_ >= 0) {
      ::close(listenFd_);
      listenFd_ = -1;
      // The port stays bound (not listening): connects are refused, and no other socket (not even
      // a client's own, which would connect to itself) can take the port meanwhile.
      reserveFd_ = Bind(port_);
      EndSession();
      listening_ = false;
    } else if (!refuse && listenFd_ < 0) {
      Listen();
    }
    pollfd p[4] = {{stop.Fd(), POLLIN, 0}, {wake_.Fd(), POLLIN, 0}, {listenFd_, POLLIN, 0}, {-1, POLLIN, 0}};
    p[3].fd = sessionFd_;
    pollfd u{unitFd_, POLLIN, 0};
    std::vector<pollfd> all(p, p + 4);
    if (stage == Stage::Relay && unitFd_ >= 0) all.push_back(u);
    int r = ::poll(all.data(), all.size(), 200);
    if (r < 0 && errno != EINTR) break;
    if (stop.IsSet()) break;
    if (r <= 0) continue;
    if (all[1].revents & POLLIN) wake_.Wait(0);
    if (all[2].revents & POLLIN) Accept();
    if (sessionFd_ >= 0 && all[3].fd == sessionFd_ && (all[3].revents & (POLLIN | POLLHUP | POLLERR))) {
      if (pause) stop.Wait(pause);
      ssize_t n = ::read(sessionFd_, buf, pause ? 512 : sizeof buf);
      if (n > 0)
        OnClientBytes(buf, static_cast<size_t>(n));
      else if (n == 0 || (errno != EAGAIN && errno != EINTR))
        EndSession();
    }
    if (all.size() > 4 && (all[4].revents & POLLIN)) {
      ssize_t n = ::read(unitFd_, buf, sizeof buf);
      if (n > 0) SendClient(std::string(reinterpret_cast<char*>(buf), static_cast<size_t>(n)));
    }
  }
  EndSession();
}

}  // namespace sim
