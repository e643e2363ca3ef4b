#pragma once
// The Spectrum utility page without its widgets: the scan range (start, stop, step in Hz) and the
// analyser's time-out; Start/Stop runs the unit's spectrum scan, whose progress comes back by
// message 1043 and whose samples are drawn as one line in the chart.

#include <cstdint>
#include <string>

#include "app/PageModel.h"
#include "platform/Messages.h"

class CChartCtrl;
class VkcSpectrumUtilityController;

class VkcPPSpectrumUtilityModel : public PageModel {
 public:
  static constexpr int kTemplate = 1010;
  static constexpr int kChart = 1234;
  static constexpr int kStartStop = 1140;
  static constexpr int kStart = 1200;
  static constexpr int kStop = 1201;
  static constexpr int kStep = 1202;
  static constexpr int kTimeout = 1172;
  static constexpr int kFeatureSpectrum = 18;
  // Windows colour values: the chart's background and the scan line (blue).
  static constexpr uint32_t kBackColor = 0xFAE6E6;
  static constexpr uint32_t kLineColor = 0xFF0000;

  VkcPPSpectrumUtilityModel();

  // The chart the page draws in (set up here), and the window the scan posts 1043 to.
  void SetChart(CChartCtrl* chart);
  void SetWindow(platform::WindowHandle window) { window_ = window; }

  void Refresh() override;
  void OnStartStop();
  void OnSpectrumMessage(intptr_t wParam);
  void OnScanStarted();
  void UpdateChart();
  void OnScanFinished();
  // The lost-focus checks of the three edits.
  void OnStartDone();
  void OnStopDone();
  void OnStepDone();

  uint32_t GetStart() const { return start_; }
  uint32_t GetStop() const { return stop_; }
  uint32_t GetStep() const { return step_; }
  bool IsScanning() const { return scanning_; }

 private:
  bool HasSpectrum();
  void GetBand(uint32_t& min, uint32_t& max);
  void ShowValues();
  void EnableControls(bool on);
  // The edit's integer, or false (the text is then put back).
  bool ReadEdit(int id, uint32_t current, uint32_t& value);
  VkcSpectrumUtilityController& Controller();

  CChartCtrl* chart_ = nullptr;
  platform::WindowHandle window_ = platform::kNoWindow;
  uint32_t start_ = 0;
  uint32_t stop_ = 0;
  uint32_t step_ = 0;
  bool scanning_ = false;
  bool busy_ = false;  // from Start until the worker's end
};
