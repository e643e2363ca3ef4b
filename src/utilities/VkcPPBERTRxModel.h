#pragma once
// The BERT Receive page without widgets: tunes the radio to the test protocol and channel, runs
// the engine in receive mode, shows its counters and the unit's statistics, appends a row to the
// statistics file every step, and puts the protocol and channel back when the test ends.

#include <cstdint>

#include "utilities/VkcPPBertModel.h"

class VkcPPBERTRxModel : public VkcPPBertModel {
 public:
  static constexpr int kBitsReceived = 1073;
  static constexpr int kMessagesReceived = 1074;
  static constexpr int kErroredBits = 1075;
  static constexpr int kLost = 1076;
  static constexpr int kBer = 1077;
  static constexpr int kAvailability = 1078;
  static constexpr int kRate = 1079;
  static constexpr int kRsl = 1080;
  static constexpr int kRemotePower = 1081;
  static constexpr int kRecommendedPower = 1082;
  static constexpr int kTemperature = 1083;
  static constexpr const char* kSection = "BERT_RX";

  explicit VkcPPBERTRxModel(ModulinkApp& app);
  ~VkcPPBERTRxModel() override;

  void Refresh() override;
  void OnStart();
  void OnBertMessage(intptr_t wParam) override;

 private:
  void ShowCounters(const BertStatistics& s);
  void FillReceiveProtocols(int keep);

  double shownBer_ = 0;
};
