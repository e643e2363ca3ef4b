#pragma once
// The Wireless Interface page without widgets: station type and protocol, modulation and the
// link rate, the channel mode with the channel lists (or the channel number), the RF power with
// its unit, scrambling and link id, FEC, repeater, message types, the active receiver of
// dual-mode units and the automatic-scan criteria. Almost every decision is the current
// device's. Editing changes only the page (the protocol excepted); apply writes the images.

#include <cstdint>
#include <string>
#include <vector>

#include "app/PageModel.h"
#include "app/PowerRange.h"
#include "app/SliderEditPair.h"

class VkcDevice;
class VkcSystem;

class VkcPPWirelessModel : public PageModel {
 public:
  // Control ids. A radio group is known by its first button's id.
  static constexpr int kBase = 1020;
  static constexpr int kRemote = 1021;
  static constexpr int kStation = kBase;
  static constexpr int kModulation = 1022;
  static constexpr int kProtocol = 1023;
  static constexpr int kRate = 1024;
  static constexpr int kAutoScan = 1025;
  static constexpr int kManual = 1026;
  static constexpr int kHopping = 1027;
  static constexpr int kChannelMode = kAutoScan;
  static constexpr int kChannel = 1028;
  static constexpr int kPattern = 1029;
  static constexpr int kPatternSpin = 1030;
  static constexpr int kSlider = 1031;
  static constexpr int kMinLabel = 1032;
  static constexpr int kMaxLabel = 1033;
  static constexpr int kPower = 1034;
  static constexpr int kPowerUnit = 1035;
  static constexpr int kScrambling = 1036;
  static constexpr int kTxChannel = 1037;
  static constexpr int kFec = 1038;
  static constexpr int kLinkId = 1039;
  static constexpr int kLinkIdSpin = 1040;
  static constexpr int kChannelLabel = 1141;
  static constexpr int kTxLabel = 1142;
  static constexpr int kFrameMsg = 1159;
  static constexpr int kDataMsg = 1160;
  static constexpr int kStatusMsg = 1161;
  static constexpr int kRepeater = 1166;
  static constexpr int kScanSignal = 1172;
  static constexpr int kReceiver = 1177;
  static constexpr int kReceiverLabel = 1178;
  static constexpr int kScanFrequency = 1180;
  static constexpr int kChannelNumber = 1199;
  static constexpr int kScanGroup = 1209;
  static constexpr int kScanFrequencyLabel = 1210;
  static constexpr int kScanSignalLabel = 1211;

  static constexpr int kPatternMax = 127;

  VkcPPWirelessModel();

  void Refresh() override;

  // What the page shows, for the view and the tests.
  int Station() const { return station_; }
  int ChannelMode() const { return mode_; }
  int Power() const { return pair_.Value(); }
  PowerUnit Unit() const { return unit_; }
  const PowerRange& Range() const { return range_; }

 protected:
  void Exchange(VkcDataExchange& dx) override;
  bool Store() override;

 private:
  VkcSystem& Sys();
  const VkcDevice* Device();
  bool HasFeature(int id);
  int StoredProtocol();
  int SelectedProtocol() const;

  void DisableAll();
  void FillActiveReceiver();
  void FillProtocols();
  void FillModulations();
  void UpdateRate();
  void UpdateChannelLists();
  void UpdateChannelLabels();
  void UpdatePowerControls(int value);
  void UpdateLinkControls();
  void UpdateRepeater();
  void UpdateScanCriteria();
  void TakeValues();

  void OnStation();
  void OnProtocol();
  void OnChannelMode();
  void OnPowerUnit();
  void OnScrambling();
  void OnChannel();
  void OnActiveReceiver();
  void OnChannelNumberLeft();
  void OnLinkIdLeft();
  void OnPatternSpin();
  void OnLinkIdSpin();

  int station_ = 1;
  int mode_ = 1;
  int pattern_ = 1;
  int linkId_ = 1;
  int maxLinkId_ = 255;
  int channelIndex_ = -1;  // the frequency channel entry the power was read for
  PowerUnit unit_ = PowerUnit::Dbm;
  PowerRange range_;
  SliderEditPair pair_{kSlider, kPower};
  std::u16string channelNumberText_;
};
