#pragma once
// What the BERT Transmit and BERT Receive pages share: the running-time list, the statistics-file
// controls and rows, the channel list, and the unit's setup and restore run as progress tasks.

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "app/PageControls.h"
#include "link/VkiPostProcess.h"
#include "unit/BertRadioSetup.h"
#include "unit/BertStatFile.h"

class CfgNode;
class ModulinkApp;
class VkcSystem;

namespace bertpage {

// Control ids both pages use.
constexpr int kChannel = 1049;
constexpr int kProtocol = 1067;
constexpr int kRunningTime = 1069;
constexpr int kStart = 1066;
constexpr int kStatistics = 1070;
constexpr int kBrowse = 1071;
constexpr int kStatFile = 1072;
constexpr int kProgress = 1127;
constexpr int kElapsedLabel = 1128;
constexpr int kElapsed = 1129;
constexpr int kElapsedUnit = 1130;

// "Infinite", "60" ... "7200"; text shown.
void FillRunningTime(PageControls& c, const std::u16string& text);
// The running time typed or chosen: seconds, -1 for unlimited ("Infinite", 0, text that is no number).
int32_t ParseRunningTime(const std::u16string& text);
// The dealer channel list "(%d) - %9.5f", item data the channel number; preferred selected
// when not 0, else the first. False when the list is empty.
bool FillChannels(PageControls& c, VkcSystem& unit, int preferred);
// The elapsed-time controls and progress bar shown (with a finite running time) or hidden.
void ShowElapsed(PageControls& c, bool show, int32_t runningTime);

// A page's unit setup and restore as a task target of the progress dialog.
class Tasks : public VkiPostProcess {
 public:
  enum Op : uint32_t { kPrepareTransmit, kRestoreTransmit, kPrepareReceive, kRestoreReceive };
  explicit Tasks(VkcSystem& unit) : setup_(unit) {}
  uint32_t Process(uint32_t operation, intptr_t parameter, platform::WindowHandle notify,
                   platform::Event& stop) override;

  BertTxRequest transmit;      // kPrepareTransmit
  int rxProtocol = -1;         // kPrepareReceive
  int rxChannel = -1;
  std::string failure;         // the message of a failed prepare
  double frequencyMHz = 0;

 private:
  BertRadioSetup setup_;
};

// The statistics file of one run: header at the start; a row per step; the first failure to
// write a row is shown once, later failures skip their rows without another box.
class StatFile {
 public:
  void Begin(bool on, const std::string& path) {
    on_ = on;
    path_ = path;
    failed_ = false;
  }
  bool On() const { return on_; }
  // "" when written, else the message to show.
  std::string WriteHeader(const std::string& header) const;
  // The message to show, only for the first failure of the run.
  std::string AppendRow(const std::string& row);

 private:
  bool on_ = false;
  bool failed_ = false;
  std::string path_;
};

std::string Utf8(const std::u16string& text);
std::u16string Wide(const std::string& text);

}  // namespace bertpage
