#pragma once
// The root of the radio device model. One object of it (or of a model class) stands for each
// known radio model: a shared, stateless prototype that answers capability questions, gives value
// ranges and name tables, converts channel numbers, frequencies and synthesizer settings, reads and
// writes fixed nodes of the unit images, and runs a few small command exchanges with the unit.
//
// Prototypes are used from the user-interface thread and from workers at once, so every operation
// is const. The only state that changes after construction is the reversed-spacing flag, which is
// atomic; the read-then-convert pairs that depend on it run under the device's lock.

#include <array>
#include <atomic>
#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "platform/Locks.h"
#include "platform/Messages.h"

class CfgNode;
class VkcConfiguration;
class VkcComPort;
class VkcUnitImages;
namespace platform {
class Event;
}

// group -> key -> value -> display text.
using VkcParameterDictionary =
    std::map<std::string, std::map<std::string, std::map<std::string, std::string>>>;

class VkcDevice {
 public:
  // Ids the pseudo-devices carry.
  static constexpr int kStartupId = -1;
  static constexpr int kBootLoaderId = -2;
  // Output power index for "the current channel".
  static constexpr int kCurrentChannel = -32;

  VkcDevice();
  virtual ~VkcDevice();
  VkcDevice(const VkcDevice&) = delete;
  VkcDevice& operator=(const VkcDevice&) = delete;

  // --- The operations models override, in their fixed order ---
  virtual int GetMaxScramblingLinkId() const;
  virtual bool ResetToReceiveMode(VkcComPort* conn) const;
  virtual bool IsTransceiver() const;
  virtual int GetFrequencyTextLimit() const;
  virtual uint32_t GetChannelFrequency(int channel, VkcUnitImages& system) const;
  virtual int GetChannelNumber(uint32_t hz, VkcUnitImages& system) const;
  virtual void GetChannelNumberRange(int& min, int& max) const;
  virtual bool OnUnitIdentified(VkcUnitImages& system) const;
  virtual bool SetMaintenancePortRate(int rateIndex, VkcComPort* conn, platform::Event* stop) const;
  virtual int GetMaintenancePortRate(VkcComPort* conn, platform::Event* stop) const;
  virtual bool SetDataPortFlow(int flow, VkcComPort* conn, platform::Event* stop) const;
  virtual int GetDataPortFlow(VkcComPort* conn, platform::Event* stop) const;
  virtual int GetStoredPortRateIndex(VkcConfiguration& tree, int row) const;
  virtual void GetChannelList(VkcConfiguration& tree, std::vector<uint32_t>& out) const;
  virtual void GetChannelFrequencies(VkcUnitImages& system, std::vector<uint32_t>& out) const;
  virtual bool SetChannelList(VkcConfiguration& tree, const std::vector<uint32_t>& list) const;
  virtual bool SetChannelFrequencies(VkcUnitImages& system, const std::vector<uint32_t>& list) const;
  virtual bool IsTransmitterProtocol(VkcUnitImages& system, bool fromImages, platform::Event* stop) const;
  virtual bool HasTransmitter() const;
  virtual void GetProtocolList(bool transmitter, std::vector<int>& out) const;
  virtual bool HasFeature(VkcUnitImages& system, int featureId) const;
  virtual bool IsRepeaterAllowed(int protocol) const;
  virtual bool IsAutoScanActive() const;
  virtual void SetAutoScanning(bool on) const;
  virtual bool IsBluetoothModel() const;
  virtual bool IsGsmModel() const;
  virtual bool SupportsCallSign() const;
  virtual bool SupportsTransceiverMode() const;
  virtual bool SupportsSensitivity() const;
  virtual bool SupportsSyncResetTime() const;
  // A table of count route names, or null when the model has none.
  virtual const char16_t* const* GetRouteNames(int& count) const;
  virtual int GetFirmwareFamily() const;
  virtual void GetModulationsForProtocol(int protocol, std::vector<int>& out) const;
  virtual void GetModulationsForCurrentProtocol(VkcUnitImages& system, std::vector<int>& out) const;
  virtual void GetSerialRateList(std::vector<int>& out) const;
  virtual void ClampTxStartDelay(int& ms) const;
  virtual bool SetChannelSpacingHz(VkcUnitImages& system, int hz) const;
  virtual int GetChannelSpacingHz(VkcUnitImages& system) const;
  virtual int GetChannelSpacingIndex(VkcUnitImages& system, int channelIndex) const;
  virtual void SetChannelSpacingIndex(VkcUnitImages& system, int index) const;
  virtual float GetChannelSpacingSteps(int index) const;
  virtual void GetChannelSpacingList(std::vector<int>& out) const;
  virtual int ChannelSpacingToIndex(int hz) const;
  virtual int ChannelSpacingFromIndex(int index) const;
  virtual void FormatChannelSpacing(int hz, std::u16string& out) const;
  virtual void ApplyHighPowerDefaults() const;
  virtual int GetOutputPower(int channelIndex) const;
  virtual void SetOutputPower(int dbm, int channelIndex) const;
  virtual uint32_t GetReferenceClockHz() const;
  virtual CfgNode CalcSynthesizerSettings(uint32_t hz) const;
  virtual bool InitializeDevice(platform::WindowHandle window) const;
  virtual void BuildParameterDictionary();
  virtual bool HasAlarmOutputs() const;
  virtual void GetSleepDelayRange(int& min, int& max) const;
  virtual void GetWakeIntervalRange(int& min, int& max) const;
  virtual uint32_t GetBandFrequency(int which) const;
  virtual uint32_t GetPresetFrequency(int index, VkcUnitImages* system) const;
  virtual int GetChannel(VkcUnitImages& system) const;
  virtual int GetRxChannel(VkcUnitImages& system) const;
  virtual void SetChannel(VkcUnitImages& system, int channel) const;
  virtual void SetRxChannel(VkcUnitImages& system, int channel) const;
  virtual bool CanSwitchReceiverMode() const;
  virtual const VkcDevice* GetDeviceForMode(int mode) const;

  // --- Fields ---
  int GetModelId() const { return modelId_; }
  std::u16string GetName() const { return name_; }
  uint32_t GetInterfaceId() const { return interfaceId_; }
  // Limit record 1 holds the maximum and minimum output power in dBm.
  int GetMaxPowerDbm() const { return static_cast<int>(limits_[0][0]); }
  int GetMinPowerDbm() const { return static_cast<int>(limits_[0][1]); }
  const std::array<uint32_t, 3>& GetLimitRecord(int which) const { return limits_.at(which); }
  uint32_t GetLimitWord() const { return limitWord_; }
  bool IsReversedSpacingOrder() const { return reversedSpacing_.load(); }

  // --- Names and tables ---
  std::string TranslateSetting(const std::string& group, const std::string& key,
                               const std::string& value) const;
  const VkcParameterDictionary& GetParameterDictionary() const { return *dictionary_; }
  static const char16_t* GetModulationName(int index);
  static int GetSerialRateNameCount();
  static const char16_t* GetSerialRateName(int index);
  const char16_t* GetProtocolName(int protocol) const;

  // --- Output power tables (entry i stands for i + 10 dBm) ---
  static int MilliwattsToDbm(int mw, bool extended);
  static int DbmToMilliwatts(int dbm, bool extended);
  static int NearestPowerIndex(int mw, const int* table, int count);
  static int PowerTableEntry(int code, const int* table, int count);
  static const int kStandardPowerTable[36];
  static const int kExtendedPowerTable[37];

 protected:
  // Sets the constant fields from the model table's row of this key.
  void ApplyModelConstants(int key);
  void SetReversedSpacingOrder(bool reversed) const { reversedSpacing_.store(reversed); }
  // The unit's firmware version (parsed from its software version text on every call) is in
  // [lo, hi): at least lo and below hi, with the version type's ordering rules.
  using Version = std::array<int, 3>;
  static bool FirmwareAtLeast(const VkcUnitImages& system, Version lo);
  static bool FirmwareBelow(const VkcUnitImages& system, Version hi);
  static bool FirmwareInRange(const VkcUnitImages& system, Version lo, Version hi) {
    return FirmwareAtLeast(system, lo) && FirmwareBelow(system, hi);
  }
  // The spacing index lives only in the dealer image: firmware below userFrom or in [2.0.0, 3.0.0).
  // Getter and setter both ask this one question, so a lettered build (which orders against
  // neither bound) is read where it was written.
  static bool SpacingOnlyInDealerImage(const VkcUnitImages& system, Version userFrom) {
    return FirmwareBelow(system, userFrom) || FirmwareInRange(system, {2, 0, 0}, {3, 0, 0});
  }
  // The index read where SpacingOnlyInDealerImage says, else from the user image when it holds
  // one (normal order), else from the dealer image (reversed order); and written back alike.
  int ReadSpacingIndex(VkcUnitImages& system, Version userFrom) const;
  static void WriteSpacingIndex(VkcUnitImages& system, Version userFrom, int index);
  // A channel node built from a frequency with the model's reference clock.
  CfgNode SynthesizeChannel(uint32_t hz, uint32_t referenceClockHz) const;
  // Sends one port command and checks the reply: the device-level setter rule.
  bool SendPortSet(VkcComPort* conn, platform::Event* stop, const char* word, int value) const;
  // Sends a port query and returns the reply text; false without a reply.
  bool SendPortQuery(VkcComPort* conn, platform::Event* stop, const char* command, std::string& reply) const;

  mutable platform::CriticalSection lock_;

 private:
  int modelId_ = 0;
  std::u16string name_ = u"N/A";
  uint32_t interfaceId_ = 0;
  std::array<std::array<uint32_t, 3>, 3> limits_{};
  uint32_t limitWord_ = 31;
  mutable std::atomic<bool> reversedSpacing_{false};
  const VkcParameterDictionary* dictionary_ = nullptr;
};
