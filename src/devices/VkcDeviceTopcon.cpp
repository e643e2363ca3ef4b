// The Topcon line: raster channel map always, its protocol list, features and spacings.

#include "devices/VkcDeviceTopcon.h"

#include "devices/VkcCommandExchange.h"
#include "devices/VkcDeviceTopcon1W.h"
#include "devices/VkcDeviceVK401Hi.h"
#include "devices/VkcDeviceVK401Tc.h"
#include "devices/VkcRasterChannels.h"
#include "devices/VkcUnitImages.h"
#include "link/VkcComPort.h"
#include "link/VkcErrorProcessor.h"

uint32_t VkcDeviceTopcon::GetChannelFrequency(int channel, VkcUnitImages& system) const {
  return raster::ChannelFrequency(channel, system);
}

int VkcDeviceTopcon::GetChannelNumber(uint32_t hz, VkcUnitImages& system) const {
  return raster::ChannelNumber(*this, hz, &system);
}

void VkcDeviceTopcon::GetChannelList(VkcConfiguration& tree, std::vector<uint32_t>& out) const {
  raster::GetChannelList(*this, tree, out);
}

void VkcDeviceTopcon::GetChannelFrequencies(VkcUnitImages& system, std::vector<uint32_t>& out) const {
  raster::GetChannelFrequencies(system, out);
}

bool VkcDeviceTopcon::SetChannelList(VkcConfiguration& tree, const std::vector<uint32_t>& list) const {
  if (!VkcDevice::SetChannelList(tree, list)) return false;
  raster::SetChannelList(*this, tree, list);
  return true;
}

bool VkcDeviceTopcon::SetChannelFrequencies(VkcUnitImages& system, const std::vector<uint32_t>& list) const {
  if (!VkcDevice::SetChannelFrequencies(system, list)) return false;
  raster::SetChannelFrequencies(*this, system, list);
  return true;
}

void VkcDeviceTopcon::GetProtocolList(bool transmitter, std::vector<int>& out) const {
  VkcDeviceTransceiver::GetProtocolList(transmitter, out);
  if (transmitter) {
    out.insert(out.end(), {8, 13});
  } else {
    out.insert(out.end(), {7, 11, 12, 9});
  }
}

bool VkcDeviceTopcon::HasFeature(VkcUnitImages& system, int featureId) const {
  if (featureId == 0 || featureId == 1 || featureId == 4 || featureId == 5) return false;
  return VkcDevice::HasFeature(system, featureId);
}

int VkcDeviceTopcon::GetChannelSpacingIndex(VkcUnitImages& system, int) const {
  return system.ReadInt(VkcNodes::kUserSpacing);
}

void VkcDeviceTopcon::SetChannelSpacingIndex(VkcUnitImages& system, int index) const {
  system.WriteInt(VkcNodes::kUserSpacing, index);
}

bool VkcDeviceTopcon1W::ResetToReceiveMode(VkcComPort* conn) const {
  const uint32_t timeout = conn ? conn->GetReplyTimeout() : 0;
  VkcExchange wake;
  wake.command = "\r";
  wake.timeoutMs = timeout;
  wake.Run(conn, {"\r\n"});  // the outcome does not matter
  VkcExchange rf;
  rf.command = "LINK RFSW 0\r";
  rf.timeoutMs = timeout;
  rf.match = VkcExchange::kInOrder;
  rf.replySize = 255;
  if (!rf.Run(conn, {"@0", "\r\n"})) {
    ErrorLog().ReportError(0, "Can't switch RF off response = \"%s\"", rf.reply.c_str());
    return false;
  }
  return VkcDeviceTransceiver::ResetToReceiveMode(conn);
}

bool VkcDeviceVK401Tc::IsNewFirmware(const VkcUnitImages& system) const {
  // Lettered builds do not order against numbered ones, hence the second test.
  return FirmwareAtLeast(system, {1, 6, 18}) || FirmwareAtLeast(system, {1, 6, 103});
}

bool VkcDeviceVK401Hi::IsNewFirmware(const VkcUnitImages& system) const {
  return FirmwareAtLeast(system, {1, 6, 6}) || FirmwareAtLeast(system, {1, 6, 103});
}
