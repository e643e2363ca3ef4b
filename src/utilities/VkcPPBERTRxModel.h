#pragma once
// The BERT Receive page without widgets: tunes the radio to the test protocol and channel, runs
// the engine in receive mode, shows its counters and the unit's statistics, appends a row to the
// statistics file every step, and puts the protocol and channel back when the test ends.

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "app/PageModel.h"
#include "platform/Messages.h"
#include "unit/BertStatistics.h"
#include "utilities/VkcPPBertCommon.h"

class ModulinkApp;
class VkcBERT;

class VkcPPBERTRxModel : public PageModel {
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

  void SetWindow(platform::WindowHandle window) { window_ = window; }
  // The save-file dialog: the chosen path, or empty when cancelled.
  void SetFileChooser(std::function<std::u16string(const std::u16string& current)> chooser) {
    chooser_ = std::move(chooser);
  }

  void Refresh() override;
  void OnStart();
  void OnClickedStatistics();
  void OnBrowseStatFile();
  void OnBertMessage(intptr_t wParam);
  bool IsRunning() const;
  VkcBERT* Engine() const { return engine_.get(); }

 protected:
  bool Store() override { return true; }

 private:
  CfgNode& Setting(const char* key);
  void ShowCounters(const BertStatistics& s);
  void FillProtocols(int keep);
  void EnableStatistics();

  ModulinkApp& app_;
  platform::WindowHandle window_ = platform::kNoWindow;
  std::function<std::u16string(const std::u16string&)> chooser_;
  std::unique_ptr<VkcBERT> engine_;
  std::unique_ptr<bertpage::Tasks> tasks_;
  bertpage::StatFile file_;
  BertStatistics copy_;
  double shownBer_ = 0;
  int32_t runningTime_ = -1;
};
