#pragma once
// The connected unit's configuration images: factory (DFCFG), dealer (DDCFG), user (CFGDN) and MCU
// settings, with the version texts and the current device, and the operations that give the
// images' fixed nodes their meaning (own unit row, serial number, own address, product check).
//
// Reads through Find never create nodes: a missing node reads as zero. Writes through At create
// the missing nodes up to the path. An index from outside is range-checked before it reaches a tree.

#include <array>
#include <cstdint>
#include <string>

#include "devices/VkcImageNodes.h"
#include "link/UnitId.h"
#include "link/VkcConfiguration.h"

class VkcDevice;
class VkcDeviceManager;
namespace platform {
class Event;
}

class VkcUnitImages {
 public:
  VkcUnitImages();
  virtual ~VkcUnitImages();
  VkcUnitImages(const VkcUnitImages&) = delete;
  VkcUnitImages& operator=(const VkcUnitImages&) = delete;

  VkcConfiguration& Factory() { return images_[0]; }
  VkcConfiguration& Dealer() { return images_[1]; }
  VkcConfiguration& User() { return images_[2]; }
  VkcConfiguration& Mcu() { return images_[3]; }
  VkcConfiguration& Image(VkcImage image) { return images_[static_cast<int>(image)]; }
  const VkcConfiguration& Image(VkcImage image) const { return images_[static_cast<int>(image)]; }

  // The node at a path (kOwnRow resolved), or null when any step is missing. Creates nothing.
  const CfgNode* Find(const VkcNodePath& path) const;
  // The node at a path, created with its missing parents.
  CfgNode& At(const VkcNodePath& path);
  // A child below the node of a path; the index must not be negative.
  CfgNode& At(const VkcNodePath& path, int child) { return At(path).GetChildAt(child); }
  int32_t ReadInt(const VkcNodePath& path) const;
  uint32_t ReadType(const VkcNodePath& path) const;
  bool HasValue(const VkcNodePath& path) const { return ReadType(path) != CfgNode::kTypeNone; }
  void WriteInt(const VkcNodePath& path, int32_t value) { At(path).SetInt(static_cast<uint32_t>(value)); }

  // Version texts as the unit reported them ("N/A" before identification).
  const std::string& GetSoftwareVersion() const { return softwareVersion_; }
  const std::string& GetHardwareVersion() const { return hardwareVersion_; }
  const std::string& GetBootLoaderVersion() const { return bootLoaderVersion_; }
  void SetSoftwareVersion(std::string text) { softwareVersion_ = std::move(text); }
  void SetHardwareVersion(std::string text) { hardwareVersion_ = std::move(text); }
  void SetBootLoaderVersion(std::string text) { bootLoaderVersion_ = std::move(text); }

  const VkcDevice* GetCurrentDevice() const { return currentDevice_; }
  void SetCurrentDevice(const VkcDevice* device) { currentDevice_ = device; }

  // The own unit row R: the first row of the unit table holding the serial number; 0 when none.
  int GetOwnUnitIndex() const;
  UnitId GetSerialNumber() const;
  void SetSerialNumber(const UnitId& serial);
  UnitId GetOwnUnitAddress();
  void SetOwnUnitAddress(const UnitId& address);
  std::u16string GetDescription() const;
  bool HasMainImage() const;
  // Checks the dealer image's model against the current device; see the .cpp.
  bool CheckProductType(const VkcDeviceManager& manager);
  // Deep copies of the factory sections the unit keeps for itself into target.
  void CopyFactorySections(VkcConfiguration& target) const;
  // Before a unit is searched: versions "N/A", factory, dealer and user images empty, no current
  // device. The MCU image stays.
  void ClearForIdentification();

  // The unit's protocol asked from the unit; this base has no unit to ask and answers -1.
  virtual int GetProtocol(platform::Event* stop);
  // Sends a setting command to the unit: 0 when it answered "@00", -1 otherwise. This base has
  // no unit and answers -1.
  virtual int SetRadioCommand(const std::string& command, platform::Event* stop);

 private:
  VkcConfiguration images_[4];
  std::string softwareVersion_ = "N/A";
  std::string hardwareVersion_ = "N/A";
  std::string bootLoaderVersion_ = "N/A";
  const VkcDevice* currentDevice_ = nullptr;
};

// The application's one connected unit, for the device operations that use it directly.
VkcUnitImages* GlobalUnitImages();
void SetGlobalUnitImages(VkcUnitImages* images);
