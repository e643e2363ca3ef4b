#pragma once
// A radio that sends and receives: the base of every transceiver model. Settles the protocol
// lists, the firmware families, the firmware-dependent capabilities, output power in the user
// image, and the test-mode reset; and holds the spacing rules most transceivers share.

#include <vector>

#include "devices/VkcDevice.h"

class VkcDeviceTransceiver : public virtual VkcDevice {
 public:
  bool IsTransceiver() const override { return true; }
  // "\r", "TSTSGL 0\r", "LINK PROT 1\r": leaves a test mode for the plain receiver protocol.
  bool ResetToReceiveMode(VkcComPort* conn) const override;
  void GetProtocolList(bool transmitter, std::vector<int>& out) const override;
  bool SupportsCallSign() const override;
  bool SupportsTransceiverMode() const override;
  bool SupportsSensitivity() const override { return GetFirmwareFamily() == 2; }
  bool SupportsSyncResetTime() const override { return GetFirmwareFamily() == 2; }
  int GetFirmwareFamily() const override;
  int GetOutputPower(int channelIndex) const override;
  void SetOutputPower(int dbm, int channelIndex) const override;

 protected:
  // The families by firmware: the transceiver rule and the VK400Tx rule.
  static int TransceiverFamily(const VkcUnitImages& system);
  static int VK400TxFamily(const VkcUnitImages& system);
  // The full protocol list for family f.
  static void AppendFullProtocolList(bool transmitter, int family, std::vector<int>& out);
  // The four spacings 25000, 12500, 6250, 20000 Hz by index; with swap, indexes 0 and 2 trade places.
  static int FourSpacingFromIndex(int index, bool swap);
  static int FourSpacingToIndex(int hz, bool swap);
  // Steps of the four-spacing models: index 3 counts 3.125 steps, not 20000 / 6250.
  float FourSpacingSteps(int index) const;
  // The reset's second and third command: sent, then "@0" and "\r\n" awaited in order.
  static bool ResetStep(VkcComPort* conn, const char* command, const char* noReplyFormat, const char* codeFormat);
};
