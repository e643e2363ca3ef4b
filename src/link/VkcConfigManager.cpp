#include "link/VkcConfigManager.h"

#include <map>
#include <mutex>

#include "link/VkcConfiguration.h"

namespace {
struct Registry {
  std::mutex mutex;
  std::map<uint32_t, VkcConfiguration*> trees;
};

Registry& TheRegistry() {
  static Registry registry;
  return registry;
}
}  // namespace

bool VkcConfigManager::Add(VkcConfiguration* configuration) {
  Registry& r = TheRegistry();
  std::lock_guard lock(r.mutex);
  return r.trees.emplace(configuration->GetId(), configuration).second;
}

bool VkcConfigManager::Remove(VkcConfiguration* configuration) {
  Registry& r = TheRegistry();
  std::lock_guard lock(r.mutex);
  auto it = r.trees.find(configuration->GetId());
  if (it == r.trees.end() || it->second != configuration) return false;
  r.trees.erase(it);
  return true;
}

VkcConfiguration* VkcConfigManager::Find(uint32_t id) {
  Registry& r = TheRegistry();
  std::lock_guard lock(r.mutex);
  auto it = r.trees.find(id);
  return it == r.trees.end() ? nullptr : it->second;
}
