#include <QTest>
#include <gtest/gtest.h>

#include <vector>

#include "chart/ChartMouseListener.h"
#include "ChartTestSupport.h"

namespace {

struct Recorder : ChartMouseListener {
  std::vector<std::pair<char, int>> events;  // part, event
  void OnMouseEventTitle(int e, ChartPoint) override { events.emplace_back('T', e); }
  void OnMouseEventAxis(int e, ChartPoint, CChartAxis*) override { events.emplace_back('A', e); }
  void OnMouseEventLegend(int e, ChartPoint) override { events.emplace_back('L', e); }
  void OnMouseEventPlotArea(int e, ChartPoint) override { events.emplace_back('P', e); }
};

struct SeriesRecorder : CChartSeriesMouseListener<SChartXYPoint> {
  std::vector<std::pair<int, int>> hits;  // event, point index
  void OnMouseEventSeries(int e, ChartPoint, CChartSerieBase<SChartXYPoint>*, int index) override {
    hits.emplace_back(e, index);
  }
};

}  // namespace

TEST(ChartMouseEvents, PartsAndSeriesAreToldWithTheEventCode) {
  RecordedChart chart;
  CChartLineSerie* s = chart.ctrl->CreateLineSerie();
  std::vector<SChartXYPoint> pts{{0, 50}, {50, 50}, {100, 50}};
  s->SetPoints(pts.data(), 3);
  chart.Draw();
  Recorder parts;
  SeriesRecorder series;
  chart.ctrl->SetMouseListener(&parts);
  s->SetMouseListener(&series);
  chart.ctrl->EnableZoom(false);

  const ChartPoint onPoint = s->GetPointScreenCoord(1);
  chart.ctrl->OnLButtonDown(onPoint);
  chart.ctrl->OnLButtonUp(onPoint);
  chart.ctrl->OnMouseMove(onPoint);  // moves are not notified by default
  chart.ctrl->OnRButtonDblClk(onPoint);
  EXPECT_EQ(parts.events, (std::vector<std::pair<char, int>>{
                              {'P', kChartLButtonDown}, {'P', kChartLButtonUp}, {'P', kChartMouseMove},
                              {'P', kChartRButtonDblClk}}));
  EXPECT_EQ(series.hits, (std::vector<std::pair<int, int>>{
                             {kChartLButtonDown, 1}, {kChartLButtonUp, 1}, {kChartRButtonDblClk, 1}}));

  parts.events.clear();
  const ChartRect axis = chart.bottom->GetAxisRect();
  chart.ctrl->SendMouseEvent(kChartLButtonDblClk, {axis.left + 50, axis.top + 3});
  EXPECT_EQ(parts.events, (std::vector<std::pair<char, int>>{{'A', kChartLButtonDblClk}}));
}

TEST(ChartMouseEvents, RubberBandIsPaintedOverTheChartWhileDragging) {
  CChartCtrl chart;
  chart.resize(300, 200);
  chart.CreateStandardAxis(CChartCtrl::kLeftAxis)->SetMinMax(0, 100);
  chart.CreateStandardAxis(CChartCtrl::kBottomAxis)->SetMinMax(0, 100);
  chart.SetBackColor(0x000000);
  const ChartRect p = chart.GetPlottingRect();
  chart.OnLButtonDown({p.left + 20, p.top + 20});
  chart.OnMouseMove({p.left + 80, p.top + 60});
  QImage shot = chart.grab().toImage().convertToFormat(QImage::Format_RGB32);
  EXPECT_EQ(shot.pixel(p.left + 50, p.top + 20), qRgb(255, 255, 255));
  EXPECT_EQ(shot.pixel(p.left + 20, p.top + 40), qRgb(255, 255, 255));
  EXPECT_EQ(shot.pixel(p.left + 50, p.top + 40), chart.GetBufferImage().pixel(p.left + 50, p.top + 40));
  chart.OnLButtonUp({p.left + 80, p.top + 60});
  shot = chart.grab().toImage().convertToFormat(QImage::Format_RGB32);
  EXPECT_EQ(shot.pixel(p.left + 50, p.top + 20), chart.GetBufferImage().pixel(p.left + 50, p.top + 20));
}
