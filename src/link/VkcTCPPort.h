#pragma once
// The socket of the TCP client. Its event loop runs on the client's port thread and hands what
// arrives to the client; when the peer ends the connection the loop only shuts the socket down
// and tells the client: the descriptor is closed by Close, which the client calls after the port
// thread has ended, so a descriptor number is never reused under a thread still using it.

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <shared_mutex>

#include "link/TcpConnectSettings.h"
#include "platform/Event.h"
#include "platform/TcpSocket.h"

class VkcTCPClient;

class VkcTCPPort {
 public:
  static constexpr size_t kReadChunk = 100;

  explicit VkcTCPPort(VkcTCPClient* owner) : owner_(owner) {}
  ~VkcTCPPort() { Close(); }
  VkcTCPPort(const VkcTCPPort&) = delete;
  VkcTCPPort& operator=(const VkcTCPPort&) = delete;

  // Creates the socket, resolves the address and connects. The wait ends early (false) when
  // either wake event is set.
  bool Connect(const TcpConnectSettings& settings, platform::Event* wake1, platform::Event* wake2);
  // Sends every byte (length -1: a NUL-terminated text), waiting for room up to timeoutMs
  // (nominal; -1 until the connection ends) or until extraEvent. The count, or -1 when not all
  // could be sent.
  int Send(const void* data, int length, int timeoutMs, platform::Event* extraEvent);
  // The port thread's loop: waits for data in slices of the network wait until stop or the end
  // of the connection.
  void RunEventLoop(platform::Event& stop);
  // Ends the connection (both directions) without closing the descriptor; wakes blocked senders.
  void Shutdown();
  // Closes the descriptor. Only when the port thread is not running.
  void Close();
  bool IsConnected() const { return connected_.load(); }

 private:
  bool Receive();  // false when the connection ended
  void ShutdownLocked();  // Shutdown with io_ held (shared)

  VkcTCPClient* owner_;
  platform::TcpSocket socket_;
  // Shared by senders; exclusive to create and close the descriptor.
  mutable std::shared_mutex io_;
  platform::Event closing_{platform::Event::ResetMode::Manual, false};
  std::atomic<bool> connected_{false};
};
