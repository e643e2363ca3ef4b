#pragma once
// The abstract port: the serial port and the TCP client share this list of operations, so every
// protocol above talks to the unit without knowing the transport. Received bytes reach the
// protocols through listeners (VkcComPortInterface) in the process-wide ListenerRegistry.
//
// Time-outs given in milliseconds are nominal (see LinkTimeouts.h): the code that waits scales them.

#include <cstddef>
#include <cstdint>
#include <string>

#include "link/ListenerRegistry.h"
#include "link/VkcComPortInterface.h"
#include "link/VkcMessageIds.h"
#include "platform/Event.h"
#include "platform/Messages.h"

// Port status message to the owner window; wParam is one of the PortStatus values, lParam 0.
constexpr uint32_t kPortStatusMessage = kMsgPortStatus;  // 1044 = 1024 + 20

enum PortStatus : intptr_t {
  kPortLoginFailed = 0,         // TCP: connected, but the login failed (connection dropped)
  kPortOpened = 1,              // serial opened / TCP connected and logged in
  kPortClosed = 2,
  kPortConnectFailed = 4,       // TCP: the connection could not be made (not while reconnecting)
  kPortOpenFailed = 5,          // serial: the port could not be opened
  kPortLostReconnecting = 6,    // TCP: the connection was lost; a reconnect follows
};

// Line events handed to OnPortEvent and used in SetEventMask.
constexpr uint32_t kEvRxChar = 0x0001;
constexpr uint32_t kEvTxEmpty = 0x0004;
constexpr uint32_t kEvCts = 0x0008;

// Modem status bits of GetModemStatus.
constexpr uint32_t kMsCtsOn = 0x0010;
constexpr uint32_t kMsDsrOn = 0x0020;
constexpr uint32_t kMsRingOn = 0x0040;
constexpr uint32_t kMsRlsdOn = 0x0080;

// Listener groups.
constexpr uint32_t kListenerGroupProtocol = 0;
constexpr uint32_t kListenerGroupTerminal = 1;

// Settings of the TCP transport; the TCP client defines what it needs and uses this by value.
struct TcpConnectSettings;

class VkcComPort {
 public:
  // A port delivers through registry (the process-wide one unless a test gives its own).
  explicit VkcComPort(ListenerRegistry* registry = nullptr);
  virtual ~VkcComPort();
  VkcComPort(const VkcComPort&) = delete;
  VkcComPort& operator=(const VkcComPort&) = delete;

  virtual bool SetTcpSettings(const TcpConnectSettings& settings);
  virtual bool Open(const std::u16string& name, uint32_t baud, int dataBits, int parity, int stopBits);
  virtual bool SetOwnerWindow(platform::WindowHandle window);
  // Opens again with the stored settings.
  virtual bool Reopen() = 0;
  virtual bool Close() = 0;
  // Writes length bytes (-1: a NUL-terminated text). listenerToSkip gets no OnDataSent (the writer
  // passes itself or null). timeoutMs -1: no time-out. Result: bytes written, 0 held by CTS, -1 error.
  virtual int Write(const void* data, int length, VkcComPortInterface* listenerToSkip, int timeoutMs,
                    platform::Event* cancelEvent) = 0;
  // Nominal milliseconds.
  virtual uint32_t GetReplyTimeout() const = 0;
  virtual uint32_t GetLongTimeout() const = 0;
  virtual bool SetRTS(bool on);
  virtual bool GetRTS() const;
  virtual bool SetBaudRate(uint32_t baud);
  virtual uint32_t GetBaudRate() const;
  // 0 none, 1 XON/XOFF, 2 RTS/CTS.
  virtual bool SetFlowControl(uint32_t mode);
  virtual uint32_t GetFlowControl() const;
  virtual bool SetEventMask(uint32_t mask);
  virtual uint32_t GetModemStatus() const;
  virtual bool SetDTR(bool on);
  virtual bool GetDTR() const;
  virtual bool IsOpen() const;
  // Not open now, but coming back by itself (a TCP link being re-established).
  virtual bool IsReconnecting() const;
  virtual std::u16string GetPortName() const;
  virtual void GetShortPortName(std::u16string& out) const;
  // The receive loop of the port's thread; ends when stop is set (or the transport ends).
  virtual void RunReceiveLoop(platform::Event& stop) = 0;

  // The entry of receive threads: runs the port's loop, returns 0.
  static uint32_t ThreadProc(VkcComPort* port, platform::Event& stop);

  // Listener registry operations, made through this port.
  bool AddListener(VkcComPortInterface* listener, uint32_t group);
  bool RemoveListener(VkcComPortInterface* listener);
  bool EnableListenerGroup(uint32_t group, bool enable);
  bool IsListenerGroupEnabled(uint32_t group) const;
  ListenerRegistry& Registry() const { return *registry_; }

 protected:
  static void PostPortStatus(platform::WindowHandle window, PortStatus status);

 private:
  ListenerRegistry* registry_;
};
