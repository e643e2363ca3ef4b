#pragma once
// The linear axis: ticks at round multiples of 1, 2 or 5 times a power of ten, labels in
// fixed-point notation with as many decimals as the step needs.

#include "chart/CChartAxis.h"

class CChartStandardAxis : public CChartAxis {
 public:
  CChartStandardAxis() = default;

  double GetFirstTickValue() const override;
  bool GetNextTickValue(double current, double& next) const override;
  int ValueToScreenTick(double value) const override;
  int ValueToScreenDiscrete(double value) const override;
  std::u16string GetTickLabel(double value) const override;
  void RefreshTickIncrement() override;
  void RefreshFirstTick() override;

  double GetTickIncrement() const { return step_; }
  double GetFirstTick() const { return firstTick_; }
  int GetDecimals() const { return decimals_; }

 private:
  double firstTick_ = 0;
  double step_ = 1.0;
  int decimals_ = 0;
};
