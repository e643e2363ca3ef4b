// GNSS receiver answers the gateway parses (the message list of a receiver port), and numbers
// from outside (channel numbers, channel indexes) handed to the model lines' channel operations.

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "devices/VkcDevIfOvrin.h"
#include "devices/VkcDevice.h"
#include "devices/VkcDeviceManager.h"
#include "devices/VkcUnitImages.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string answer(reinterpret_cast<const char*>(data), size);
  for (const std::string& entry : VkcDevIfOvrin::ParseRestoreList(answer, "dev/ser/c")) {
    if (entry.size() <= 16 || entry.compare(0, 16, "%%em,/dev/ser/c,") != 0) __builtin_trap();
  }

  static VkcDeviceManager* manager = [] {
    auto* m = new VkcDeviceManager;
    m->RegisterPrototypes();
    return m;
  }();
  int32_t number = 0;
  std::memcpy(&number, data, size < sizeof number ? size : sizeof number);
  VkcUnitImages images;
  SetGlobalUnitImages(&images);
  images.SetSoftwareVersion(size > 4 ? answer.substr(4) : std::string("SW 1.8 Rev 0"));
  for (uint32_t hz : {410000000u, 440000000u, 470000000u, 290000u, 300000u, 310000u}) {
    images.At(VkcNodes::kFactoryChannels).AppendChild().SetInt(hz);
  }
  images.At(VkcNodes::kDealerChannels).AppendChild().SetInt(433000000);
  images.WriteInt(VkcNodes::kChannel, number);
  for (int key : {4, 6, 22, 28, 32, 1002, 3601}) {
    const VkcDevice* d = manager->GetDevice(key);
    d->GetChannelFrequency(number, images);
    d->GetChannelNumber(static_cast<uint32_t>(number), images);
    d->GetChannelSpacingIndex(images, number);
    d->GetChannelSpacingIndex(images, -1);
    d->GetOutputPower(number);
    d->GetOutputPower(VkcDevice::kCurrentChannel);
    d->SetOutputPower(20, VkcDevice::kCurrentChannel);
    d->SetChannelSpacingIndex(images, 1);
    std::vector<uint32_t> list;
    d->GetChannelFrequencies(images, list);
  }
  const CfgNode* map = images.Find(VkcNodes::kDealerChannels);
  if (map && map->GetChildCount() > 32) __builtin_trap();
  SetGlobalUnitImages(nullptr);
  return 0;
}
