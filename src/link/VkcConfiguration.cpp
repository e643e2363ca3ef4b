#include "link/VkcConfiguration.h"

#include "link/VkcCfgArchiver.h"
#include "link/VkcConfigManager.h"

VkcConfiguration::VkcConfiguration() : root_(u"ROOT") {}

VkcConfiguration::VkcConfiguration(uint32_t wantedId) : root_(u"ROOT"), id_(wantedId) {
  while (!VkcConfigManager::Add(this)) ++id_;
}

VkcConfiguration::VkcConfiguration(const VkcConfiguration& other) : root_(other.root_), id_(other.id_) {}

VkcConfiguration& VkcConfiguration::operator=(const VkcConfiguration& other) {
  if (this != &other) {
    VkcConfigManager::Remove(this);
    root_ = other.root_;
    id_ = other.id_;
  }
  return *this;
}

VkcConfiguration::~VkcConfiguration() { VkcConfigManager::Remove(this); }

bool VkcConfiguration::Save(VkcCfgArchiver& ar) const {
  ar.WriteU32(id_);
  return !ar.Failed() && root_.Save(ar);
}

bool VkcConfiguration::Load(VkcCfgArchiver& ar) {
  uint32_t storedId = 0;
  ar.ReadU32(storedId);
  return !ar.Failed() && root_.Load(ar);
}
