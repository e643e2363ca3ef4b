#pragma once
// The "Dealer Configuration" page: the channel spacing, the maximum allowed RF power and the
// channel map of the dealer image, edited row by row or imported from a configuration file.

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "app/PageModel.h"
#include "app/PowerRange.h"
#include "app/SliderEditPair.h"

class VkcPPDealerModel : public PageModel {
 public:
  static constexpr int kSpacing = 1047;
  static constexpr int kSlider = 1031;
  static constexpr int kMinLabel = 1032;
  static constexpr int kMaxLabel = 1033;
  static constexpr int kPower = 1034;
  static constexpr int kUnit = 1035;
  static constexpr int kMap = 1048;
  static constexpr int kFrequency = 1049;
  static constexpr int kAdd = 1050;
  static constexpr int kChange = 1051;
  static constexpr int kRemove = 1052;
  static constexpr int kUp = 1053;
  static constexpr int kDown = 1054;
  static constexpr int kImport = 1098;

  static constexpr size_t kMaxChannels = 32;

  VkcPPDealerModel();

  void Refresh() override;
  // The file the user picks for an import (the view shows the open dialog); empty: cancelled.
  void SetImportChooser(std::function<std::u16string(const std::u16string& initial)> chooser) {
    chooseImport_ = std::move(chooser);
  }
  const std::vector<uint32_t>& Map() const { return map_; }

 protected:
  void Exchange(VkcDataExchange& dx) override;
  bool Store() override;

 private:
  bool HasUnit();
  bool Extended();
  void ShowPower(int valueShown);
  void FillMap(int select);
  // The frequency in the edit; false when it is not a number.
  bool EditedFrequency(uint32_t& hz) const;
  bool WithinBand(uint32_t hz);
  // WithinBand for an edited frequency (known: it is a number), else "Invalid Frequency".
  bool InBand(uint32_t hz, bool known);
  void OnAdd();
  void OnChange();
  void OnRemove();
  void OnMove(int by);
  void OnRowSelected();
  void OnUnitChanged();
  void OnImport();

  std::vector<uint32_t> map_;
  bool powerFilled_ = false;  // the refresh filled the power (a unit with a transmitter)
  int power_ = 0;             // in the unit shown
  int limitDbm_ = 0;          // the limit the refresh read, at most the device maximum
  bool powerChanged_ = false; // the user typed, scrolled or had the slider's position put in
  int unit_ = 0;              // 0 dBm, 1 mW
  int spacingIndex_ = -1;
  int storedSpacing_ = -1;  // the spacing in Hz the unit held at the last refresh
  PowerRange range_;
  SliderEditPair pair_{kSlider, kPower};
  std::function<std::u16string(const std::u16string&)> chooseImport_;
};
