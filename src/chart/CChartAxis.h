#pragma once
// An axis along one edge of the plotting area: maps values to pixels and back, chooses and draws
// its ticks and labels, reserves its margin, owns its grid, label and scroll bar, keeps the list
// of series drawn against it and can take its range from them.

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "chart/CChartAxisLabel.h"
#include "chart/CChartGrid.h"
#include "chart/CChartScrollBar.h"
#include "chart/ChartTypes.h"

class CChartAxis {
 public:
  enum AutoMode { kNotAutomatic = 0, kFullAutomatic = 1, kScreenAutomatic = 2 };
  // Ticks drawn or measured by one pass, at most; guards against ranges that make no progress.
  static constexpr int kMaxTicks = 1000;

  CChartAxis();
  virtual ~CChartAxis();
  CChartAxis(const CChartAxis&) = delete;
  CChartAxis& operator=(const CChartAxis&) = delete;

  virtual void SetDiscrete(bool discrete);
  virtual double ScreenToValue(int pixel) const;
  virtual double GetFirstTickValue() const = 0;
  virtual bool GetNextTickValue(double current, double& next) const = 0;
  virtual int ValueToScreenTick(double value) const = 0;
  virtual int ValueToScreenDiscrete(double value) const = 0;
  virtual int ValueToScreenStandard(double value) const;
  virtual std::u16string GetTickLabel(double value) const = 0;
  virtual void RefreshTickIncrement() = 0;
  virtual void RefreshFirstTick() = 0;
  virtual void GetScrollbarSteps(int& steps, int& position) const;
  virtual void SetAxisToScrollStep(int previous, int current, bool reverse);
  virtual void PanAxis(int fromPixel, int toPixel);
  virtual void SetZoomMinMax(double min, double max);

  void SetMinMax(double min, double max);
  void UndoZoom() { SetMinMax(undoMin_, undoMax_); }
  double GetMin() const { return min_; }
  double GetMax() const { return max_; }
  double GetUndoMin() const { return undoMin_; }
  double GetUndoMax() const { return undoMax_; }

  void SetInverted(bool inverted);
  bool IsInverted() const { return inverted_; }
  void SetAutomaticMode(int mode);
  int GetAutomaticMode() const { return autoMode_; }
  void SetVisible(bool visible);
  bool IsVisible() const { return visible_; }
  void SetAutomaticMargin(bool on, int margin = 0);
  void SetFont(int tenthsOfPoint, const std::string& face);
  void SetTextColor(ChartColor color);
  void SetAxisColor(ChartColor color);
  void EnableZoom(bool on) { zoomEnabled_ = on; }
  void SetZoomLimit(double limit) { zoomLimit_ = limit; }
  bool IsDiscrete() const { return discrete_; }

  void RegisterSeries(CChartSerie* series);
  void UnregisterSeries(CChartSerie* series);
  const std::vector<CChartSerie*>& GetSeries() const { return series_; }
  bool RefreshAutoAxis();
  void RefreshScreenAutoAxis();
  bool GetSeriesMinMax(double& min, double& max) const;
  bool GetSeriesScreenMinMax(double& min, double& max) const;

  // Pixel of a point or label value: the middle of the axis when its range is empty.
  int ValueToScreen(double value) const;
  bool IsValueOnScreen(double value) const;
  int GetAxisLength() const;
  bool IsPointInside(ChartPoint p) const { return rect_.PtInRect(p); }
  int GetPosition() const;  // 100 for bottom and right, 0 for top and left
  void SetHorizontal(bool horizontal);
  bool IsHorizontal() const { return horizontal_; }
  void SetSecondary(bool secondary) { secondary_ = secondary; }
  bool IsSecondary() const { return secondary_; }
  void SetParent(CChartCtrl* parent);
  CChartCtrl* GetParent() const { return parent_; }
  void CreateScrollBar();
  void RefreshScrollBar();
  CChartScrollBar* GetScrollBar() const { return scrollBar_.get(); }
  ChartSize GetLargestTick(ChartDc& dc);

  void RefreshTicks();
  void SetAxisRect(const ChartRect& chart, const ChartRect& plotting);
  void CalculateMargin(ChartDc& dc, const ChartRect& chart, ChartRect& plotting);
  void Draw(ChartDc& dc);

  int GetStartPixel() const { return start_; }
  int GetEndPixel() const { return end_; }
  const ChartRect& GetAxisRect() const { return rect_; }
  CChartGrid* GetGrid() { return &grid_; }
  CChartAxisLabel* GetLabel() { return &label_; }
  ChartFont TickFont() const;
  // Calls fn for every tick value: one at min when the range is empty, else from the first
  // while a next one exists, never more than kMaxTicks.
  void ForEachTick(const std::function<void(double)>& fn) const;

 protected:
  void RefreshParent();
  // The linear offset from min for a value, clamped so that it always fits a pixel.
  int LinearOffset(double value) const;
  int Middle() const;

  CChartCtrl* parent_ = nullptr;
  bool horizontal_ = true;
  bool inverted_ = false;
  int autoMode_ = kNotAutomatic;
  bool visible_ = true;
  bool secondary_ = false;
  double max_ = 0;
  double min_ = 0;
  double undoMin_ = 0;
  double undoMax_ = 0;
  bool autoTicks_ = true;
  bool discrete_ = false;
  int start_ = 0;
  int end_ = 0;
  ChartRect rect_;
  int fontSize_ = 80;
  std::string fontFace_ = "Microsoft Sans Serif";
  ChartColor textColor_ = 0;
  ChartColor axisColor_ = 0;
  CChartGrid grid_;
  CChartAxisLabel label_;
  std::vector<CChartSerie*> series_;
  bool autoMargin_ = true;
  int margin_ = 0;
  bool zoomEnabled_ = true;
  double zoomLimit_ = 0.001;
  std::unique_ptr<CChartScrollBar> scrollBar_;

 private:
  void DrawTick(ChartDc& dc, double value, ChartSize labelSize);
  void DrawLabel(ChartDc& dc);
};
