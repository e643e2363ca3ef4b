#pragma once
// A set of points drawn against one horizontal and one vertical axis of a chart.

#include <cstdint>
#include <string>

#include "chart/ChartTypes.h"

class CChartSerie {
 public:
  explicit CChartSerie(CChartCtrl* parent);
  CChartSerie(const CChartSerie&) = delete;
  CChartSerie& operator=(const CChartSerie&) = delete;

  virtual unsigned GetPointsCount() const = 0;
  virtual ChartPoint GetPointScreenCoord(unsigned index) const = 0;
  virtual bool GetSerieYMinMax(double& min, double& max) const = 0;
  virtual bool GetSerieXMinMax(double& min, double& max) const = 0;
  virtual bool GetSerieXScreenMinMax(double& min, double& max) const = 0;
  virtual bool GetSerieYScreenMinMax(double& min, double& max) const = 0;
  virtual ~CChartSerie();
  virtual bool IsPointOnSerie(ChartPoint point, int& index) const = 0;
  virtual bool GetVisiblePoints(unsigned& first, unsigned& last) const = 0;
  virtual void DrawLegend(ChartDc& dc, const ChartRect& rect) const = 0;
  virtual void Draw(ChartDc& dc) = 0;
  virtual void DrawAll(ChartDc& dc) = 0;
  virtual void DrawLabels(ChartDc& dc) {}
  virtual bool OnMouseEvent(int event, ChartPoint point) { return false; }

  void SetColor(ChartColor color);
  ChartColor GetColor() const { return color_; }
  void SetName(const std::u16string& name);
  const std::u16string& GetName() const { return name_; }
  void SetVisible(bool visible);
  bool IsVisible() const { return visible_; }
  void SetShadow(bool on);
  void SetShadowColor(ChartColor color);
  void SetShadowDepth(int depth);
  void EnableMouseNotifications(bool onClick, bool onMove);

  std::uint32_t GetSerieId() const { return id_; }
  void SetAxes(CChartAxis* horizontal, CChartAxis* vertical);
  CChartAxis* GetHorizontalAxis() const { return horizontalAxis_; }
  CChartAxis* GetVerticalAxis() const { return verticalAxis_; }
  // Moves the series from an axis that is being replaced onto its replacement.
  void ReplaceAxis(CChartAxis* old, CChartAxis* replacement);
  void SetPlottingRect(const ChartRect& rect) { plottingRect_ = rect; }
  const ChartRect& GetPlottingRect() const { return plottingRect_; }

  // Recomputes both axes' automatic ranges as one change; redraws when asked.
  void RefreshAutoAxes(bool refresh);
  ChartPoint ValueToScreen(double x, double y) const;

 protected:
  void RefreshParent();

  CChartCtrl* parent_;
  CChartAxis* verticalAxis_ = nullptr;
  CChartAxis* horizontalAxis_ = nullptr;
  std::u16string name_;
  bool visible_ = true;
  bool shadow_ = false;
  ChartColor color_ = 0;
  ChartColor shadowColor_ = 0x969696;
  int shadowDepth_ = 2;
  ChartRect plottingRect_;
  std::uint32_t id_;
  bool notifyOnClick_ = true;
  bool notifyOnMove_ = false;
};
