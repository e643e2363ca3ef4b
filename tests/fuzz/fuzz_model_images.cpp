// Unit images from bytes under every model: the first byte picks the unit's firmware version
// (numbered and lettered builds around every bound the models test), the rest is an archived tree
// that stands for the factory, dealer, user and MCU image at once. Every model's getters run over
// it, and every setter writes back what a getter read or what the images hold (channel numbers,
// powers, spacing and port-rate indexes straight from the file), so no outside number reaches
// arithmetic or a node index unchecked.

#include <cstdint>
#include <vector>

#include "devices/VkcDevice.h"
#include "devices/VkcDeviceManager.h"
#include "devices/VkcImageNodes.h"
#include "devices/VkcUnitImages.h"
#include "link/VkcCfgArchiver.h"
#include "link/VkcConfiguration.h"
#include "link/VkcMemoryStream.h"

namespace {

const char* const kVersions[] = {
    "SW 1.5 Rev 9",  "SW 1.6 Rev 5", "SW 1.6 Rev 8",  "SW 1.6 Rev 11", "SW 1.6 Rev 13", "SW 1.6 Rev 18",
    "SW 1.6 Rev A",  "SW 1.8 Rev 0", "SW 1.8 Rev C",  "SW 1.9 Rev 1",  "SW 2.0 Rev 0",  "SW 2.0 Rev A",
    "SW 2.5 Rev 3",  "SW 3.0 Rev 0", "SW 3.0 Rev A",  "SW 3.1 Rev 4",  "SW 3.2 Rev 0",  "SW 3.2 Rev B",
    "SW 9.9 Rev 99", "",             "garbage",       "1.2.3.4",
};
constexpr size_t kVersionCount = sizeof kVersions / sizeof kVersions[0];

const VkcDeviceManager& Manager() {
  static VkcDeviceManager* manager = [] {
    auto* m = new VkcDeviceManager;
    m->RegisterPrototypes();
    return m;
  }();
  return *manager;
}

void Exercise(const VkcDevice& d, VkcUnitImages& images) {
  const int channel = d.GetChannel(images);
  const int rxChannel = d.GetRxChannel(images);
  const int stored = images.ReadInt(VkcNodes::kChannel);
  for (int c : {channel, rxChannel, stored, stored - (stored > INT32_MIN ? 1 : 0), 0, 31, 32}) {
    d.GetChannelFrequency(c, images);
    d.GetChannelSpacingIndex(images, c);
    d.GetOutputPower(c);
  }
  d.GetChannelNumber(d.GetChannelFrequency(channel, images), images);
  d.GetChannelNumber(static_cast<uint32_t>(stored), images);
  const int power = d.GetOutputPower(VkcDevice::kCurrentChannel);
  d.SetOutputPower(power, VkcDevice::kCurrentChannel);
  d.SetOutputPower(images.ReadInt(VkcNodes::kOutputPower), stored);
  d.SetOutputPower(power, channel);

  const int spacing = d.GetChannelSpacingIndex(images, -1);
  d.ChannelSpacingFromIndex(spacing);
  d.GetChannelSpacingSteps(spacing);
  d.SetChannelSpacingIndex(images, spacing);
  std::vector<int> spacings;
  d.GetChannelSpacingList(spacings);
  for (int hz : spacings) d.SetChannelSpacingHz(images, hz);
  d.GetChannelSpacingHz(images);
  d.SetChannelSpacingHz(images, images.ReadInt(VkcNodes::kDealerSpacing));

  for (int row : {images.GetOwnUnitIndex(), 0, 1, 7}) {
    d.GetStoredPortRateIndex(images.User(), row);
    d.GetStoredPortRateIndex(images.Dealer(), row);
  }
  for (int feature = -1; feature <= 20; ++feature) d.HasFeature(images, feature);
  for (int preset = -1; preset <= 3; ++preset) d.GetPresetFrequency(preset, &images);
  std::vector<int> modulations;
  d.GetModulationsForCurrentProtocol(images, modulations);
  d.IsTransmitterProtocol(images, true, nullptr);
  int delay = images.ReadInt(VkcNodes::kChannel);
  d.ClampTxStartDelay(delay);

  std::vector<uint32_t> list;
  d.GetChannelFrequencies(images, list);
  if (list.size() <= 64) d.SetChannelFrequencies(images, list);
  std::vector<uint32_t> numbers;
  d.GetChannelList(images.Dealer(), numbers);
  if (numbers.size() <= 64) d.SetChannelList(images.Dealer(), numbers);
  d.SetChannel(images, channel);
  d.SetRxChannel(images, rxChannel);
  d.SetChannel(images, stored);
  d.IsAutoScanActive();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  VkcConfiguration tree;
  VkcMemoryStream in(std::vector<uint8_t>(data + 1, data + size));
  VkcCfgArchiver ar;
  ar.Attach(in, true);
  if (!tree.Load(ar)) return 0;
  ar.Detach();

  VkcUnitImages images;
  for (VkcImage image : {VkcImage::Factory, VkcImage::Dealer, VkcImage::User, VkcImage::Mcu}) {
    images.Image(image) = tree;
  }
  images.SetSoftwareVersion(kVersions[data[0] % kVersionCount]);
  // The models' power operations work on the process-wide images.
  VkcUnitImages* before = GlobalUnitImages();
  SetGlobalUnitImages(&images);
  for (int key = -2; key < 4096; ++key) {
    if (const VkcDevice* device = Manager().GetDevice(key)) Exercise(*device, images);
  }
  SetGlobalUnitImages(before);
  return 0;
}
