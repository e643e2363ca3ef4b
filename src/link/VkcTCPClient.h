#pragma once
// The port over a TCP gateway that asks for a user name and a password before it passes the
// unit's bytes through. A controller thread connects, logs in, reports to the owner window with
// the port status message and reconnects (with a growing pause) when a logged-in connection
// drops; the port thread runs the socket's event loop and hands received bytes to the listeners
// once the login has succeeded.
//
// A gateway that drops the connection before the login succeeded fails the login; only the loss
// of a logged-in connection starts a reconnect, so wrong credentials are never tried again and
// again.

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <mutex>
#include <string>

#include "link/TcpConnectSettings.h"
#include "link/VkcComPort.h"
#include "link/VkcTCPPort.h"
#include "platform/Event.h"
#include "platform/WorkerThread.h"

class VkcTCPClient : public VkcComPort {
 public:
  explicit VkcTCPClient(ListenerRegistry* registry = nullptr);
  ~VkcTCPClient() override;

  bool SetTcpSettings(const TcpConnectSettings& settings) override;
  bool SetOwnerWindow(platform::WindowHandle window) override;
  // Asks the controller to connect with the stored settings.
  bool Reopen() override;
  bool Close() override;
  // 0 unless open and logged in; else the bytes sent or -1. Listeners are not told of sent data.
  int Write(const void* data, int length, VkcComPortInterface* listenerToSkip, int timeoutMs,
            platform::Event* cancelEvent) override;
  uint32_t GetReplyTimeout() const override;
  uint32_t GetLongTimeout() const override;
  // Connected and not reconnecting.
  bool IsOpen() const override;
  bool IsReconnecting() const override { return reconnecting_.load(); }
  void RunReceiveLoop(platform::Event& stop) override;

  bool IsLoggedIn() const { return loggedIn_.load(); }
  TcpConnectSettings GetTcpSettings() const;

  // From the socket (port thread).
  void OnSocketData(const uint8_t* data, size_t length);
  void OnConnectionClosed();

 private:
  enum class LoginEnd { LoggedIn, Failed, Interrupted };
  void ControllerLoop(platform::Event& stop);
  void HandleConnectRequest(platform::Event& stop);
  bool Connect(platform::Event& stop);
  void Disconnect();
  LoginEnd Login(platform::Event& stop);
  // Waits for one of the login events: its index in events, -1 time-out, -2 stop or close,
  // -3 the connection dropped.
  int WaitLogin(std::initializer_list<platform::Event*> events, platform::Event& stop);
  void Post(PortStatus status) const { PostPortStatus(owner_.load(), status); }

  mutable std::mutex settingsLock_;
  TcpConnectSettings settings_;
  VkcTCPPort port_{this};
  std::atomic<platform::WindowHandle> owner_{platform::kNoWindow};
  platform::WorkerThread controller_{platform::Event::ResetMode::Auto};
  platform::WorkerThread portThread_{platform::Event::ResetMode::Auto};
  std::mutex startLock_;

  platform::Event loginPrompt_{platform::Event::ResetMode::Auto};
  platform::Event passwordPrompt_{platform::Event::ResetMode::Auto};
  platform::Event logged_{platform::Event::ResetMode::Auto};
  platform::Event incorrect_{platform::Event::ResetMode::Auto};
  platform::Event connectRequest_{platform::Event::ResetMode::Auto};
  platform::Event closeRequest_{platform::Event::ResetMode::Manual};
  platform::Event connectionLost_{platform::Event::ResetMode::Auto};
  platform::Event dropped_{platform::Event::ResetMode::Manual};  // ended before the login succeeded

  std::atomic<bool> loggedIn_{false};
  std::atomic<bool> closing_{false};
  std::atomic<bool> reconnecting_{false};
  uint32_t backoffMs_ = 0;   // controller thread only
  std::string promptCarry_;  // port thread only (and Disconnect after it ended)
};
