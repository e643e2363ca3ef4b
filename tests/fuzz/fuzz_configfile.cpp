// Configuration files from outside: the bytes are loaded as a configuration file into an identified
// unit and into a fresh one, and as a factory file; the loaded model's device operations then run
// over the images, and the result is saved and read back.

#include <cstdint>
#include <string>
#include <vector>

#include "devices/VkcDevice.h"
#include "devices/VkcDeviceManager.h"
#include "unit/VkcConfigFile.h"
#include "unit/VkcSystem.h"

namespace {

VkcDeviceManager& Manager() {
  static VkcDeviceManager* manager = [] {
    auto* m = new VkcDeviceManager;
    m->RegisterPrototypes();
    return m;
  }();
  return *manager;
}

void Exercise(VkcSystem& unit) {
  unit.GetSerialNumber();
  unit.GetOwnUnitIndex();
  unit.GetOwnUnitAddress();
  unit.GetDescription();
  unit.CheckProductType(Manager());
  const VkcDevice* device = unit.GetCurrentDevice();
  if (device == nullptr) return;
  int min = 0, max = 0;
  device->GetSleepDelayRange(min, max);
  device->GetWakeIntervalRange(min, max);
  device->HasTransmitter();
  device->HasAlarmOutputs();
  device->GetFirmwareFamily();
  device->IsTransceiver();
  const int channel = device->GetChannel(unit);
  device->GetChannelFrequency(channel, unit);
  device->GetChannelFrequency(device->GetRxChannel(unit), unit);
  device->GetChannelSpacingHz(unit);
  for (int feature = 0; feature <= 20; ++feature) device->HasFeature(unit, feature);
  device->GetStoredPortRateIndex(unit.User(), unit.GetOwnUnitIndex());
  std::vector<uint32_t> list;
  device->GetChannelFrequencies(unit, list);
  std::vector<int> modulations;
  device->GetModulationsForCurrentProtocol(unit, modulations);
}

void Identified(VkcSystem& unit, int model) {
  const uint8_t serial[6] = {0x12, 0x34, 0x56, 0x78, 0x9A, 0xBC};
  unit.SetCurrentDevice(Manager().GetDevice(model));
  unit.Factory().GetChild(0).GetChildAt(0).SetBytes(serial, 6);
  unit.Dealer().GetChild(0).SetInt(static_cast<uint32_t>(model));
  unit.User().GetChild(1).GetChildAt(0).SetBytes(serial, 6);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  VkcConfiguration tree;
  std::string message;
  if (!VkcConfigFile::Parse({data, size}, tree, message)) return 0;

  VkcSystem fresh;
  VkcConfigFile::Apply(tree, false, fresh, Manager(), message);
  Exercise(fresh);
  VkcSystem identified;
  Identified(identified, 12);
  VkcConfigFile::Apply(tree, false, identified, Manager(), message);
  Exercise(identified);
  VkcSystem factory;
  Identified(factory, 4);
  VkcConfigFile::Apply(tree, true, factory, Manager(), message);
  Exercise(factory);

  // What was loaded saves and reads back.
  VkcConfiguration saved;
  VkcConfigFile::BuildTree(fresh, Manager().GetMCUController(), saved);
  VkcConfiguration again;
  if (!VkcConfigFile::Parse(VkcConfigFile::Serialize(saved), again, message)) __builtin_trap();
  return 0;
}
