#pragma once
// The base of the two BERT page models: the engine and the window it reports to, the page's
// settings section, the statistics-file controls and the protocol list.

#include <functional>
#include <initializer_list>
#include <memory>
#include <string>

#include "app/PageModel.h"
#include "platform/Messages.h"
#include "unit/BertStatistics.h"
#include "utilities/VkcPPBertCommon.h"

class CfgNode;
class ModulinkApp;
class VkcBERT;
class VkcSystem;

class VkcPPBertModel : public PageModel {
 public:
  VkcPPBertModel(ModulinkApp& app, const char* section);
  ~VkcPPBertModel() override;

  void SetWindow(platform::WindowHandle window) { window_ = window; }
  // The save-file dialog: the chosen path, or empty when cancelled.
  void SetFileChooser(std::function<std::u16string(const std::u16string& current)> chooser) {
    chooser_ = std::move(chooser);
  }
  bool IsRunning() const;
  VkcBERT* Engine() const { return engine_.get(); }

  void OnClickedStatistics();
  void OnBrowseStatFile();
  // Message 1040 from the engine: counters, step, end.
  virtual void OnBertMessage(intptr_t wParam) = 0;

 protected:
  CfgNode& Setting(const char* key);
  void EnableStatistics();
  // The device's protocols, asked for the transmitter first or last, without those left out;
  // keep selected when present, else the first. An empty list is disabled.
  void FillProtocols(bool transmitterFirst, std::initializer_list<int> leftOut, int keep);
  // The engine on the connected unit, made on first use.
  VkcBERT& EngineOf(VkcSystem& unit);
  bertpage::Tasks& TasksOf(VkcSystem& unit);

  ModulinkApp& app_;
  platform::WindowHandle window_ = platform::kNoWindow;
  bertpage::StatFile file_;
  BertStatistics copy_;  // the statistics at the last file row
  int32_t runningTime_ = -1;

 private:
  const char* section_;
  std::function<std::u16string(const std::u16string&)> chooser_;
  std::unique_ptr<bertpage::Tasks> tasks_;
  std::unique_ptr<VkcBERT> engine_;  // declared last, it goes first: its worker ends before the rest
};
