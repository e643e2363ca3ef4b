#pragma once
// A listener of the ports: the command channel, XModem, the loader, the terminal and the
// utilities. Registered under a group number in the process-wide ListenerRegistry; called from a
// port's receive thread (and from the serial port's Write) with the registry lock held, so a
// callback may only copy bytes, set events and post messages: it never adds or removes
// listeners, writes under its own lock, or closes the port.
//
// A concrete listener unregisters in its own destructor (before its members go); the base
// destructor removes a listener that is still in the table only as a last guard.

#include <atomic>
#include <cstddef>
#include <cstdint>

class VkcComPort;
class ListenerRegistry;

class VkcComPortInterface {
 public:
  VkcComPortInterface() = default;
  virtual ~VkcComPortInterface();
  VkcComPortInterface(const VkcComPortInterface&) = delete;
  VkcComPortInterface& operator=(const VkcComPortInterface&) = delete;

  // Bytes received on port (at most 100 per call from the serial reader).
  virtual void OnDataReceived(const uint8_t* data, size_t length, VkcComPort* port);
  // Bytes another party wrote to the serial port.
  virtual void OnDataSent(const uint8_t* data, size_t length, VkcComPort* port);
  // Serial line events: kEvTxEmpty, kEvCts.
  virtual void OnPortEvent(uint32_t eventMask, VkcComPort* port);
  // Called after the enabled flag changed.
  virtual void OnEnableChanged();

  // Stores the flag, then calls OnEnableChanged.
  void SetEnabled(bool enabled);
  bool IsEnabled() const { return enabled_.load(std::memory_order_acquire); }
  // Set by the first AddListener and never cleared.
  bool IsRegistered() const { return registered_.load(std::memory_order_acquire); }

 private:
  friend class ListenerRegistry;
  std::atomic<bool> enabled_{true};
  std::atomic<bool> registered_{false};
  std::atomic<ListenerRegistry*> registry_{nullptr};
};
