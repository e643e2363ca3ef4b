#pragma once
// An axis of dates and times, as OLE dates: days since 30 December 1899, the time of day as the
// fraction. Ticks fall on whole seconds, minutes, hours, days, months or years, chosen for the
// range and the axis length, and are labelled with a strftime format that follows the kind of
// interval unless the owner sets one.

#include <string>

#include "chart/CChartAxis.h"

class CChartDateTimeAxis : public CChartAxis {
 public:
  enum Interval { kSecond = 0, kMinute = 1, kHour = 2, kDay = 3, kMonth = 4, kYear = 5 };

  CChartDateTimeAxis() = default;

  double GetFirstTickValue() const override;
  bool GetNextTickValue(double current, double& next) const override;
  int ValueToScreenTick(double value) const override { return ValueToScreenStandard(value); }
  int ValueToScreenDiscrete(double value) const override;
  std::u16string GetTickLabel(double value) const override;
  void RefreshTickIncrement() override;
  void RefreshFirstTick() override;

  // A fixed interval (automatic ticks off) or back to automatic.
  void SetTickIncrement(bool automatic, int interval, int multiplier);
  // A label format of the owner's; an empty one follows the interval kind again.
  void SetTickLabelFormat(bool automatic, const std::string& format);
  int GetInterval() const { return interval_; }
  int GetMultiplier() const { return multiplier_; }
  std::string GetLabelFormat() const;
  double GetFirstTick() const { return firstTick_; }

  // OLE date to and from its calendar fields (no time zone).
  static std::string FormatDate(double oleDate, const std::string& format);
  static double MakeDate(int year, int month, int day, int hour = 0, int minute = 0, int second = 0);

 private:
  // value moved by count intervals of the kind: calendar months and years, fixed lengths else.
  static double Add(double value, int interval, int count);
  // The interval boundary at or before value.
  static double Floor(double value, int interval, int multiplier);

  int interval_ = kDay;
  int multiplier_ = 1;
  bool autoFormat_ = true;
  std::string format_;
  double firstTick_ = 0;
};
