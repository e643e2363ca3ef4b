#pragma once
// A cursor over the plotting area, against one horizontal and one vertical axis. It follows the
// mouse as its kind decides, draws itself over the series and tells its listeners the axis values
// where it stands.

#include <cstdint>
#include <vector>

#include "chart/ChartTypes.h"

class CChartCursor;

class CChartCursorListener {
 public:
  virtual ~CChartCursorListener() = default;
  virtual void OnCursorMoved(CChartCursor* cursor, double xValue, double yValue) = 0;
};

class CChartCursor {
 public:
  CChartCursor(CChartCtrl* parent, CChartAxis* horizontal, CChartAxis* vertical);
  virtual ~CChartCursor() = default;
  CChartCursor(const CChartCursor&) = delete;
  CChartCursor& operator=(const CChartCursor&) = delete;

  virtual void OnMouseMove(ChartPoint point) = 0;
  virtual void OnMouseButtonDown(ChartPoint point) {}
  virtual void OnMouseButtonUp(ChartPoint point) {}
  virtual void Draw(ChartDc& dc) = 0;
  // True while the cursor holds the mouse (a drag in progress): the chart then neither zooms nor pans.
  virtual bool IsDragging() const { return false; }

  void SetColor(ChartColor color);
  ChartColor GetColor() const { return color_; }
  void RegisterListener(CChartCursorListener* listener);
  void UnregisterListener(CChartCursorListener* listener);
  std::uint32_t GetCursorId() const { return id_; }
  CChartAxis* GetHorizontalAxis() const { return horizontal_; }
  CChartAxis* GetVerticalAxis() const { return vertical_; }

 protected:
  // Tells every listener the axis values.
  void CursorMoved(double xValue, double yValue);
  void RefreshParent();

  CChartCtrl* parent_;
  CChartAxis* horizontal_;
  CChartAxis* vertical_;
  ChartColor color_ = 0;

 private:
  std::vector<CChartCursorListener*> listeners_;
  std::uint32_t id_;
};
