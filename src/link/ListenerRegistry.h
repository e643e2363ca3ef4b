#pragma once
// The one table of port listeners shared by every port of the process, with the set of muted
// groups. One lock guards it, whichever port delivers or changes it; delivery runs with that lock
// held, so RemoveListener returns only once no callback to that listener is running.
// Lock order: this registry's lock, then a listener's own lock.
//
// Groups: 0 protocols (command channel, XModem, loader, utilities), 1 terminal windows (muted by
// the loader while it receives a file).

#include <cstddef>
#include <cstdint>
#include <map>
#include <set>

#include "platform/Locks.h"

class VkcComPort;
class VkcComPortInterface;

class ListenerRegistry {
 public:
  ListenerRegistry() = default;
  ~ListenerRegistry();
  ListenerRegistry(const ListenerRegistry&) = delete;
  ListenerRegistry& operator=(const ListenerRegistry&) = delete;

  // The table every port uses unless a test gives a port its own.
  static ListenerRegistry& Global();

  // Sets (or replaces) the listener's group; a listener joining a disabled group is disabled.
  // Marks the listener registered. Always true.
  bool Add(VkcComPortInterface* listener, uint32_t group);
  // Never-registered listener: true, nothing done. Else erases it: true, or false when absent.
  bool Remove(VkcComPortInterface* listener);
  // Calls SetEnabled(enable) on every member of the group, then records the group's state.
  bool EnableGroup(uint32_t group, bool enable);
  bool IsGroupEnabled(uint32_t group) const;
  bool Contains(const VkcComPortInterface* listener) const;
  size_t Count() const;

  // Delivery to every enabled listener, in ascending listener address, under the lock.
  void DeliverData(const uint8_t* data, size_t length, VkcComPort* port);
  void DeliverEvent(uint32_t eventMask, VkcComPort* port);
  void DeliverSent(const uint8_t* data, size_t length, VkcComPort* port, VkcComPortInterface* skip);
  // Bytes to the enabled listeners of one group (or every group for group < 0).
  void DeliverDataToGroup(int group, const uint8_t* data, size_t length, VkcComPort* port);

 private:
  // Recursive: a callback that writes to the serial port re-enters through the OnDataSent loop.
  mutable platform::CriticalSection lock_;
  std::map<VkcComPortInterface*, uint32_t> listeners_;
  std::set<uint32_t> disabledGroups_;
};
