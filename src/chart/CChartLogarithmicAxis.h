#pragma once
// An axis in powers of ten: a tick at every decade, values placed by their logarithm. Panning and
// scrolling multiply the range rather than shift it. Values at or below zero have no place on it:
// a range that reaches them is taken from a decade below its positive top.

#include "chart/CChartAxis.h"

class CChartLogarithmicAxis : public CChartAxis {
 public:
  CChartLogarithmicAxis() = default;

  double ScreenToValue(int pixel) const override;
  int ValueToScreenStandard(double value) const override;
  double GetFirstTickValue() const override;
  bool GetNextTickValue(double current, double& next) const override;
  int ValueToScreenTick(double value) const override { return ValueToScreenStandard(value); }
  int ValueToScreenDiscrete(double value) const override;
  std::u16string GetTickLabel(double value) const override;
  void RefreshTickIncrement() override {}
  void RefreshFirstTick() override;
  void GetScrollbarSteps(int& steps, int& position) const override;
  void SetAxisToScrollStep(int previous, int current, bool reverse) override;
  void PanAxis(int fromPixel, int toPixel) override;

  double GetFirstTick() const { return firstTick_; }

 private:
  // The range in logarithms, with a usable bottom.
  double LogMin() const;
  double LogMax() const;
  // Multiplies both ends by factor (as a zoom, so undo returns to the range set).
  void Scale(double factor);

  double firstTick_ = 1;
};
