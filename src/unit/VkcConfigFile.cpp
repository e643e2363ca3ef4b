#include "unit/VkcConfigFile.h"

#include <cstring>

#include "devices/VkcDevice.h"
#include "devices/VkcDeviceManager.h"
#include "devices/VkcMCUController.h"
#include "link/Ansi.h"
#include "link/Format.h"
#include "link/Utf.h"
#include "link/VkcCfgArchiver.h"
#include "link/VkcMemoryStream.h"
#include "unit/VkcSystem.h"

namespace {

// Root children of a configuration file; [0], the version and the own row at saving, is not read.
constexpr size_t kDealerChild = 1;
constexpr size_t kUserChild = 2;
constexpr size_t kMcuChild = 3;

// The record: the 'TEMP' id, then the root. Trees are never registered under that id, so it is
// written as it stands whatever other trees are alive.
void WriteRecord(VkcCfgArchiver& ar, const VkcConfiguration& tree) {
  ar.WriteU32(VkcConfiguration::kTempId);
  tree.Root().Save(ar);
}

const CfgNode* Child(const CfgNode& node, size_t index) {
  return index < node.GetChildCount() ? &node.ChildAt(index) : nullptr;
}

std::string DamagedMessage(const std::string& path) {
  return StrPrintf("Unable to read file \"%s\": the file is damaged or is not a configuration file.", path.c_str());
}

// The model a file's dealer image names, or null with the message why.
const VkcDevice* ResolveModel(const CfgNode* model, const VkcDeviceManager& manager, std::string& message) {
  if (model != nullptr && model->GetType() == CfgNode::kTypeInt) {
    const VkcDevice* device = manager.GetDevice(model->GetInt());
    if (device == nullptr) message = StrPrintf("Undefined device type %d", model->GetInt());
    return device;
  }
  if (model != nullptr && model->GetType() == CfgNode::kTypeString) {
    const std::u16string name = AnsiToWide(model->GetString());
    const VkcDevice* device = manager.FindDeviceByName(name);
    if (device == nullptr) message = StrPrintf("Undefined device type %s", Utf16ToUtf8(name).c_str());
    return device;
  }
  message = "Undetected device";
  return nullptr;
}

UnitId BytesOf(const CfgNode* node) {
  uint8_t bytes[UnitId::kSize] = {};
  if (node != nullptr) node->GetBytes(bytes, sizeof bytes);
  return UnitId(bytes);
}

}  // namespace

void VkcConfigFile::BuildTree(VkcSystem& unit, const VkcMCUController& mcu, VkcConfiguration& out) {
  out.AssignRoot(CfgNode(u"ROOT"));
  CfgNode& root = out.Root();
  CfgNode& version = root.AppendChild();
  version.SetInt(kFormatVersion);
  version.AppendChild().SetInt(static_cast<uint32_t>(unit.GetOwnUnitIndex()));
  root.AppendChild() = unit.Dealer().Root();
  root.AppendChild() = unit.User().Root();
  if (mcu.SaveSettingsToImage(unit.Mcu())) root.AppendChild() = unit.Mcu().Root();
}

std::vector<uint8_t> VkcConfigFile::Serialize(const VkcConfiguration& tree) {
  VkcMemoryStream stream;
  VkcCfgArchiver ar;
  ar.Attach(stream, false);
  WriteRecord(ar, tree);
  ar.Detach();
  return stream.TakeBytes();
}

bool VkcConfigFile::Save(const std::string& path, VkcSystem& unit, const VkcMCUController& mcu,
                         std::string& message) {
  VkcConfiguration tree;
  BuildTree(unit, mcu, tree);
  try {
    VkcCfgArchiver ar(path, false);
    WriteRecord(ar, tree);
    if (ar.Close()) return true;
    message = StrPrintf("Unable to write file \"%s\": the configuration could not be stored.", path.c_str());
  } catch (const CfgFileError& e) {
    message = StrPrintf("Unable to write file \"%s\": %s", path.c_str(), std::strerror(e.Cause()));
  } catch (const CfgArchiveError& e) {
    message = StrPrintf("Unable to write file \"%s\": %s", path.c_str(), e.what());
  }
  return false;
}

bool VkcConfigFile::Read(const std::string& path, VkcConfiguration& tree, std::string& message) {
  // Read into a scratch tree: a file that fails half way never reaches the caller's.
  VkcConfiguration scratch;
  try {
    VkcCfgArchiver ar(path, true);
    if (!scratch.Load(ar)) {
      message = DamagedMessage(path);
      return false;
    }
    ar.Close();
  } catch (const CfgFileError& e) {
    message = StrPrintf("Unable to read file \"%s\": %s", path.c_str(), std::strerror(e.Cause()));
    return false;
  } catch (const CfgArchiveError&) {
    message = DamagedMessage(path);
    return false;
  }
  tree = scratch;
  return true;
}

bool VkcConfigFile::Parse(std::span<const uint8_t> bytes, VkcConfiguration& tree, std::string& message) {
  VkcConfiguration scratch;
  VkcMemoryStream stream(std::vector<uint8_t>(bytes.begin(), bytes.end()));
  VkcCfgArchiver ar;
  ar.Attach(stream, true);
  const bool loaded = scratch.Load(ar);
  ar.Detach();
  if (!loaded) {
    message = "The configuration is damaged.";
    return false;
  }
  tree = scratch;
  return true;
}

bool VkcConfigFile::IsFactoryPath(std::string_view path) {
  const size_t slash = path.rfind('/');
  const size_t dot = path.rfind('.');
  if (dot == std::string_view::npos || (slash != std::string_view::npos && dot < slash)) return false;
  return path.substr(dot + 1) == kFactoryExtension;
}

VkcConfigFile::Loaded VkcConfigFile::Apply(const VkcConfiguration& tree, bool factory, VkcSystem& unit,
                                           VkcDeviceManager& manager, std::string& message) {
  return factory ? ApplyFactory(tree, unit, message) : ApplyConfiguration(tree, unit, manager, message);
}

VkcConfigFile::Loaded VkcConfigFile::Load(const std::string& path, VkcSystem& unit, VkcDeviceManager& manager,
                                          std::string& message) {
  VkcConfiguration tree;
  if (!Read(path, tree, message)) return Loaded::kNothing;
  return Apply(tree, IsFactoryPath(path), unit, manager, message);
}

VkcConfigFile::Loaded VkcConfigFile::ApplyFactory(const VkcConfiguration& tree, VkcSystem& unit,
                                                  std::string& message) {
  // The sections the unit keeps for itself come from its own factory image: without an
  // identified unit there is none to take them from.
  if (unit.GetProductId() < 1) {
    message = "A factory configuration file can be loaded only into an identified unit. Identify the unit first.";
    return Loaded::kNothing;
  }
  VkcConfiguration copy(tree);
  unit.CopyFactorySections(copy);
  unit.Factory().AssignRoot(copy.Root());
  unit.SetFactoryWrite(true);
  return Loaded::kFactory;
}

VkcConfigFile::Loaded VkcConfigFile::ApplyConfiguration(const VkcConfiguration& tree, VkcSystem& unit,
                                                        VkcDeviceManager& manager, std::string& message) {
  const CfgNode& root = tree.Root();
  const CfgNode* dealer = Child(root, kDealerChild);
  // The model is resolved before any image changes: a file of no known model leaves the images as
  // they were and the unit with no current device.
  const VkcDevice* device = ResolveModel(dealer ? Child(*dealer, 0) : nullptr, manager, message);
  if (device == nullptr) {
    unit.SetCurrentDevice(nullptr);
    return Loaded::kNothing;
  }

  // The file's model becomes current whatever unit is connected.
  const bool identified = unit.GetProductId() > 0;

  // The unit's own serial number stays: with an identified unit it is the factory image's; without
  // one the first unit row of the image before the load.
  const UnitId kept = identified ? unit.GetSerialNumber() : BytesOf(unit.Find(VkcPath(kVkcU, 1, 0)));

  unit.SetCurrentDevice(device);
  unit.Dealer().AssignRoot(*dealer);
  const CfgNode* user = Child(root, kUserChild);
  unit.User().AssignRoot(user ? *user : CfgNode(u"ROOT"));
  const CfgNode* mcu = Child(root, kMcuChild);
  unit.Mcu().AssignRoot(mcu ? *mcu : CfgNode(u"ROOT"));
  manager.GetMCUController().LoadSettingsFromImage(unit.Mcu());
  unit.SetSerialNumber(kept);
  return Loaded::kConfiguration;
}
