#pragma once
// A chart laid out on a recording DC: left and bottom axes, deterministic text metrics.

#include <memory>

#include "chart/CChartAxis.h"
#include "chart/CChartCtrl.h"
#include "chart/CChartLineSerie.h"
#include "platform/qt/RecordingDc.h"

struct RecordedChart {
  std::unique_ptr<CChartCtrl> ctrl = std::make_unique<CChartCtrl>();
  CChartAxis* left = nullptr;
  CChartAxis* bottom = nullptr;
  platform::qt::RecordingDc dc;

  explicit RecordedChart(double min = 0, double max = 100) {
    ctrl->resize(400, 300);
    left = ctrl->CreateStandardAxis(CChartCtrl::kLeftAxis);
    bottom = ctrl->CreateStandardAxis(CChartCtrl::kBottomAxis);
    left->SetMinMax(min, max);
    bottom->SetMinMax(min, max);
  }
  // Lays the chart out as a 400 x 300 window would, on the recording DC.
  void Draw() {
    dc.Clear();
    ctrl->DrawChart(dc, {3, 3, 397, 297});
  }
};
