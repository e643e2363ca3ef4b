// Unit replies the device model reads numbers from: INFO ID, MPORT RATE, DPORT FLOW. Every reply
// is also used as a frequency list for the synthesizer and as channel numbers on the images.

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "devices/VkcDevice.h"
#include "devices/VkcReplyParse.h"
#include "devices/VkcUnitImages.h"
#include "link/CfgNode.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view reply(reinterpret_cast<const char*>(data), size);
  int id = 0;
  InterpretInfoIdReply(reply, id);
  int value = 0;
  if (!ParseReplyInt(reply, value)) return 0;
  static const VkcDevice device;
  CfgNode node = device.CalcSynthesizerSettings(static_cast<uint32_t>(value) % 2000000000u);
  VkcUnitImages images;
  device.SetChannel(images, value);
  device.GetChannelFrequency(value, images);
  device.GetChannelFrequency(device.GetChannel(images), images);
  device.GetChannelNumber(static_cast<uint32_t>(value), images);
  device.GetPresetFrequency(value, &images);
  return 0;
}
