// Unit images from outside (unit-file sections, configuration files): every image operation of
// every model prototype and of the MCU controller runs over the loaded tree, which stands for the
// factory, dealer, user and MCU image at once.

#include <cstdint>
#include <vector>

#include "devices/VkcDeviceManager.h"
#include "devices/VkcUnitImages.h"
#include "link/VkcCfgArchiver.h"
#include "link/VkcConfiguration.h"
#include "link/VkcMemoryStream.h"

namespace {

const VkcDeviceManager& Manager() {
  static VkcDeviceManager* manager = [] {
    auto* m = new VkcDeviceManager;
    m->RegisterPrototypes();
    return m;
  }();
  return *manager;
}

void Exercise(const VkcDevice& device, VkcUnitImages& images) {
  const int channel = device.GetChannel(images);
  device.GetChannelFrequency(channel, images);
  device.GetChannelFrequency(device.GetRxChannel(images), images);
  device.GetChannelNumber(device.GetChannelFrequency(1, images), images);
  device.GetChannelSpacingHz(images);
  for (int feature = 0; feature <= 20; ++feature) device.HasFeature(images, feature);
  for (int preset = -1; preset <= 3; ++preset) device.GetPresetFrequency(preset, &images);
  device.GetStoredPortRateIndex(images.User(), images.GetOwnUnitIndex());
  std::vector<uint32_t> list;
  device.GetChannelFrequencies(images, list);
  std::vector<int> modulations;
  device.GetModulationsForCurrentProtocol(images, modulations);
  device.IsTransmitterProtocol(images, true, nullptr);
  if (list.size() <= 64) device.SetChannelFrequencies(images, list);
  device.SetChannelSpacingHz(images, 12500);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  VkcConfiguration tree;
  VkcMemoryStream in(std::vector<uint8_t>(data, data + size));
  VkcCfgArchiver ar;
  ar.Attach(in, true);
  if (!tree.Load(ar)) return 0;
  ar.Detach();

  VkcUnitImages images;
  for (VkcImage image : {VkcImage::Factory, VkcImage::Dealer, VkcImage::User, VkcImage::Mcu}) {
    images.Image(image) = tree;
  }
  images.SetSoftwareVersion("SW 3.1 Rev 4");
  images.GetSerialNumber();
  images.GetOwnUnitAddress();
  images.GetDescription();
  images.HasMainImage();
  images.SetCurrentDevice(Manager().GetDevice(31));
  images.CheckProductType(Manager());
  VkcConfiguration target;
  images.CopyFactorySections(target);
  VkcMCUController mcu;
  mcu.LoadSettingsFromImage(images.Mcu());
  mcu.SaveSettingsToImage(images.Mcu());
  for (int key : {0, 1, 2, 4, 6, 12, 22, 32, 36, 48, 49, 58, 69, 1001, 3601}) {
    if (const VkcDevice* device = Manager().GetDevice(key)) Exercise(*device, images);
  }
  return 0;
}
