#include "link/VkcTCPClient.h"

#include <algorithm>
#include <cerrno>

#include "link/CommandText.h"
#include "link/LinkTimeouts.h"
#include "link/VkcErrorProcessor.h"
#include "link/VkcLinkTimes.h"
#include "platform/Timing.h"

namespace {
// The longest prompt or outcome word, less one: what is kept of a chunk so a word split across
// two chunks is still found.
constexpr size_t kCarry = 8;
}  // namespace

VkcTCPClient::VkcTCPClient(ListenerRegistry* registry) : VkcComPort(registry) {}

VkcTCPClient::~VkcTCPClient() {
  controller_.Stop(platform::Scaled(linktimes::kTcpControllerJoin), [] {
    ErrorLog().ReportError(platform::kWaitTimeout, "TCP client controller does not end");
  });
  Disconnect();
  port_.Close();
}

bool VkcTCPClient::SetTcpSettings(const TcpConnectSettings& settings) {
  {
    std::lock_guard<std::mutex> g(settingsLock_);
    settings_ = settings;
  }
  connectRequest_.Set();
  return true;
}

TcpConnectSettings VkcTCPClient::GetTcpSettings() const {
  std::lock_guard<std::mutex> g(settingsLock_);
  return settings_;
}

bool VkcTCPClient::SetOwnerWindow(platform::WindowHandle window) {
  owner_ = window;
  if (window == platform::kNoWindow) return true;
  std::lock_guard<std::mutex> g(startLock_);
  if (controller_.Joinable()) return true;
  if (!controller_.Start([this](platform::Event& stop) { ControllerLoop(stop); })) {
    ErrorLog().ReportError(0, "Unable to start thread for TCP client controller");
    return false;
  }
  return true;
}

bool VkcTCPClient::Reopen() {
  // Connecting is the controller's work; doing it here would race it.
  connectRequest_.Set();
  return true;
}

bool VkcTCPClient::Close() {
  closeRequest_.Set();
  return true;
}

int VkcTCPClient::Write(const void* data, int length, VkcComPortInterface*, int timeoutMs,
                        platform::Event* cancelEvent) {
  if (!IsOpen() || !loggedIn_.load()) return 0;
  return port_.Send(data, length, timeoutMs, cancelEvent);
}

uint32_t VkcTCPClient::GetReplyTimeout() const { return linktimeouts::kTcpReplyMs; }
uint32_t VkcTCPClient::GetLongTimeout() const { return linktimeouts::kTcpLongMs; }

bool VkcTCPClient::IsOpen() const { return port_.IsConnected() && !reconnecting_.load(); }

void VkcTCPClient::RunReceiveLoop(platform::Event& stop) { port_.RunEventLoop(stop); }

void VkcTCPClient::OnSocketData(const uint8_t* data, size_t length) {
  if (loggedIn_.load()) {
    Registry().DeliverData(data, length, this);
    return;
  }
  std::string text = promptCarry_;
  for (size_t i = 0; i < length; ++i) {
    char c = static_cast<char>(data[i]);
    text.push_back(c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c);
  }
  struct Word {
    const char* text;
    platform::Event* event;
  } const words[] = {{"LOGGED", &logged_}, {"INCORRECT", &incorrect_}, {"LOGIN:", &loginPrompt_},
                     {"PASSWORD:", &passwordPrompt_}};
  for (const Word& w : words) {
    if (text.find(w.text) != std::string::npos) {
      promptCarry_.clear();
      w.event->Set();
      return;
    }
  }
  promptCarry_ = text.size() > kCarry ? text.substr(text.size() - kCarry) : text;
}

void VkcTCPClient::OnConnectionClosed() {
  if (!loggedIn_.load()) {
    dropped_.Set();
    return;
  }
  if (!(closing_.load() && !reconnecting_.load())) connectionLost_.Set();
}

void VkcTCPClient::ControllerLoop(platform::Event& stop) {
  for (;;) {
    uint32_t r = platform::Event::WaitAny({&stop, &closeRequest_, &connectRequest_, &connectionLost_},
                                          platform::Scaled(linktimes::kTcpNetworkWait));
    if (r == platform::kWaitTimeout) continue;
    if (r == 0) break;
    if (r == 1) {
      reconnecting_ = false;
      backoffMs_ = 0;
      closeRequest_.Reset();
      connectionLost_.Reset();
      connectRequest_.Reset();
      Disconnect();
      Post(kPortClosed);
    } else if (r == 2) {
      HandleConnectRequest(stop);
      if (stop.IsSet()) break;
    } else if (r == 3) {
      Post(kPortLostReconnecting);
      reconnecting_ = true;
      connectRequest_.Set();
    }
  }
  Disconnect();
}

void VkcTCPClient::HandleConnectRequest(platform::Event& stop) {
  if (reconnecting_.load()) {
    // A pause before each reconnect attempt, growing to a cap, so a refusing host is not hammered.
    backoffMs_ = backoffMs_ == 0 ? linktimes::kTcpReconnectFirst
                                 : std::min(backoffMs_ * 2, linktimes::kTcpReconnectCap);
    uint32_t r = platform::Event::WaitAny({&stop, &closeRequest_}, platform::Scaled(backoffMs_));
    if (r == 0) {
      stop.Set();
      return;
    }
    if (r == 1) return;  // the loop handles the close request
  }
  if (!Connect(stop)) {
    // A connect ended by a close or by the client going away is no failure to report.
    if (!reconnecting_.load() && !closeRequest_.IsSet() && !stop.IsSet()) Post(kPortConnectFailed);
    return;
  }
  switch (Login(stop)) {
    case LoginEnd::LoggedIn:
      backoffMs_ = 0;
      Post(kPortOpened);
      break;
    case LoginEnd::Failed:
      Disconnect();
      Post(kPortLoginFailed);
      break;
    case LoginEnd::Interrupted:
      Disconnect();
      break;
  }
}

bool VkcTCPClient::Connect(platform::Event& stop) {
  Disconnect();
  TcpConnectSettings settings = GetTcpSettings();
  if (!port_.Connect(settings, &stop, &closeRequest_)) {
    if (stop.IsSet() || closeRequest_.IsSet()) return false;
    if (reconnecting_.load()) connectionLost_.Set();
    return false;
  }
  dropped_.Reset();
  if (!portThread_.Start([this](platform::Event& portStop) { VkcComPort::ThreadProc(this, portStop); })) {
    ErrorLog().ReportError(0, "Unable to start thread for TCP port controller");
    port_.Close();
    return false;
  }
  closing_ = false;
  reconnecting_ = false;
  return true;
}

void VkcTCPClient::Disconnect() {
  if (portThread_.Joinable()) {
    portThread_.Stop(platform::Scaled(linktimes::kTcpPortThreadJoin), [] {
      ErrorLog().ReportError(platform::kWaitTimeout, "TCP port thread does not end");
    });
  }
  closing_ = true;
  port_.Close();
  loggedIn_ = false;
  loginPrompt_.Reset();
  passwordPrompt_.Reset();
  logged_.Reset();
  incorrect_.Reset();
  // A loss noticed during a failed login is not a reason to log in again.
  connectionLost_.Reset();
  dropped_.Reset();
  promptCarry_.clear();
}

int VkcTCPClient::WaitLogin(std::initializer_list<platform::Event*> events, platform::Event& stop) {
  std::vector<platform::Event*> all(events);
  size_t n = all.size();
  all.push_back(&stop);
  all.push_back(&closeRequest_);
  all.push_back(&dropped_);
  uint32_t r = platform::Event::WaitAny(all, platform::Scaled(linktimes::kTcpLoginStep));
  if (r == platform::kWaitTimeout) return -1;
  if (r < n) return static_cast<int>(r);
  if (r == n) stop.Set();  // taken by the wait: keep it for the controller's loop
  if (r == n || r == n + 1) return -2;
  return -3;
}

VkcTCPClient::LoginEnd VkcTCPClient::Login(platform::Event& stop) {
  TcpConnectSettings settings = GetTcpSettings();
  const int sendWait = static_cast<int>(linktimes::kTcpLoginStep);
  auto fail = [](int waited, const char* timeoutText) {
    if (waited == -2) return LoginEnd::Interrupted;
    ErrorLog().ReportError(waited == -1 ? platform::kWaitTimeout : static_cast<uint32_t>(ECONNRESET), "%s",
                           timeoutText);
    return LoginEnd::Failed;
  };
  // Answers to the gateway's prompts: a control character in either would send it more lines.
  const std::optional<std::string> user = CommandWithValue({}, settings.GetUserName(), "\n", "Gateway user name");
  const std::optional<std::string> password =
      user ? CommandWithValue({}, settings.GetPassword(), "\n", "Gateway password") : std::nullopt;
  if (!password) return LoginEnd::Failed;
  int w = WaitLogin({&loginPrompt_}, stop);
  if (w < 0) return fail(w, "Login request time out expired");
  if (port_.Send(user->data(), static_cast<int>(user->size()), sendWait, &closeRequest_) < 0)
    return fail(-3, "Login request time out expired");
  w = WaitLogin({&passwordPrompt_}, stop);
  if (w < 0) return fail(w, "Password request time out expired");
  if (port_.Send(password->data(), static_cast<int>(password->size()), sendWait, &closeRequest_) < 0)
    return fail(-3, "Password request time out expired");
  w = WaitLogin({&logged_, &incorrect_}, stop);
  if (w == 0) {
    connectionLost_.Reset();
    loggedIn_ = true;
    // Dropped between the word and now: the port thread saw no logged-in connection to lose.
    if (dropped_.IsSet()) connectionLost_.Set();
    return LoginEnd::LoggedIn;
  }
  if (w == 1) {
    ErrorLog().ReportError(0, "Wrong user name or password specified");
    return LoginEnd::Failed;
  }
  return fail(w, "Authorization time out expired");
}
