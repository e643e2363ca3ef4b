#pragma once
// The process-wide registry of settings trees by id (not owning), through which links find their
// target tree. Thread-safe.

#include <cstdint>

class VkcConfiguration;

class VkcConfigManager {
 public:
  // Registers configuration under its id; false when the id is taken.
  static bool Add(VkcConfiguration* configuration);
  // Erases the entry under configuration's id, only when it is configuration's own entry; false otherwise.
  static bool Remove(VkcConfiguration* configuration);
  static VkcConfiguration* Find(uint32_t id);
};
