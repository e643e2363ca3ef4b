#pragma once
// A surveyed unit: its id, its parameters (section -> key -> value, none until first queried)
// and, for the local unit, the remote units it reaches.

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "link/ParamValue.h"
#include "link/UnitId.h"

using ParamMap = std::map<std::string, std::map<std::string, ParamValue>>;

struct ParamNode {
  std::vector<ParamNode> children;
  UnitId unitId;
  std::unique_ptr<ParamMap> params;
  bool noUnit = false;   // local node: no identified unit, the tree stays empty
  bool answered = true;  // the unit answered its last survey

  // The value under section and key, created (with the map) when absent.
  ParamValue& Value(const std::string& section, const std::string& key) {
    if (!params) params = std::make_unique<ParamMap>();
    return (*params)[section][key];
  }
  // The value, or null when absent. Never creates anything.
  const ParamValue* Find(const std::string& section, const std::string& key) const {
    if (!params) return nullptr;
    auto s = params->find(section);
    if (s == params->end()) return nullptr;
    auto k = s->second.find(key);
    return k == s->second.end() ? nullptr : &k->second;
  }
};
