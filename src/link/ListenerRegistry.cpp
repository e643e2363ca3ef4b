#include "link/ListenerRegistry.h"

#include <mutex>

#include "link/VkcComPortInterface.h"

ListenerRegistry::~ListenerRegistry() {
  std::lock_guard<platform::CriticalSection> g(lock_);
  for (auto& [l, group] : listeners_) l->registry_.store(nullptr);
}

ListenerRegistry& ListenerRegistry::Global() {
  // Never destroyed: listeners with static lifetime may unregister during exit.
  static ListenerRegistry* registry = new ListenerRegistry();
  return *registry;
}

bool ListenerRegistry::Add(VkcComPortInterface* listener, uint32_t group) {
  if (!listener) return false;
  std::lock_guard<platform::CriticalSection> g(lock_);
  listeners_[listener] = group;
  if (disabledGroups_.count(group)) listener->SetEnabled(false);
  listener->registry_.store(this);
  listener->registered_.store(true);
  return true;
}

bool ListenerRegistry::Remove(VkcComPortInterface* listener) {
  if (!listener || !listener->IsRegistered()) return true;
  std::lock_guard<platform::CriticalSection> g(lock_);
  ListenerRegistry* self = this;
  listener->registry_.compare_exchange_strong(self, nullptr);
  return listeners_.erase(listener) != 0;
}

bool ListenerRegistry::EnableGroup(uint32_t group, bool enable) {
  std::lock_guard<platform::CriticalSection> g(lock_);
  for (auto& [l, lg] : listeners_)
    if (lg == group) l->SetEnabled(enable);
  if (enable)
    disabledGroups_.erase(group);
  else
    disabledGroups_.insert(group);
  return true;
}

bool ListenerRegistry::IsGroupEnabled(uint32_t group) const {
  std::lock_guard<platform::CriticalSection> g(lock_);
  return disabledGroups_.count(group) == 0;
}

bool ListenerRegistry::Contains(const VkcComPortInterface* listener) const {
  std::lock_guard<platform::CriticalSection> g(lock_);
  return listeners_.count(const_cast<VkcComPortInterface*>(listener)) != 0;
}

size_t ListenerRegistry::Count() const {
  std::lock_guard<platform::CriticalSection> g(lock_);
  return listeners_.size();
}

void ListenerRegistry::DeliverData(const uint8_t* data, size_t length, VkcComPort* port) {
  DeliverDataToGroup(-1, data, length, port);
}

void ListenerRegistry::DeliverDataToGroup(int group, const uint8_t* data, size_t length,
                                          VkcComPort* port) {
  std::lock_guard<platform::CriticalSection> g(lock_);
  for (auto& [l, lg] : listeners_)
    if ((group < 0 || lg == static_cast<uint32_t>(group)) && l->IsEnabled())
      l->OnDataReceived(data, length, port);
}

void ListenerRegistry::DeliverEvent(uint32_t eventMask, VkcComPort* port) {
  std::lock_guard<platform::CriticalSection> g(lock_);
  for (auto& [l, lg] : listeners_)
    if (l->IsEnabled()) l->OnPortEvent(eventMask, port);
}

void ListenerRegistry::DeliverSent(const uint8_t* data, size_t length, VkcComPort* port,
                                   VkcComPortInterface* skip) {
  std::lock_guard<platform::CriticalSection> g(lock_);
  for (auto& [l, lg] : listeners_)
    if (l != skip && l->IsEnabled()) l->OnDataSent(data, length, port);
}
