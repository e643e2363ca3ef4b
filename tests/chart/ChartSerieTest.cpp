#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

#include "chart/ChartSmoothing.h"
#include "ChartTestSupport.h"

using platform::qt::DcRecord;
using platform::qt::RecordingDc;

namespace {

std::vector<SChartXYPoint> Line(int from, int to, double y = 50) {
  std::vector<SChartXYPoint> pts;
  for (int x = from; x <= to; ++x) pts.emplace_back(x, y);
  return pts;
}

std::vector<DcRecord> SeriesPolylines(const RecordingDc& dc) { return dc.Records(DcRecord::Op::Polyline); }

}  // namespace

TEST(ChartPointBuffer, CapacityGrowsExactlyAndNeverShrinks) {
  ChartPointBuffer<SChartXYPoint> buffer;
  EXPECT_EQ(buffer.GetCapacity(), 1000u);
  auto big = Line(0, 4999);
  buffer.SetPoints(big.data(), 5000);
  EXPECT_EQ(buffer.GetCapacity(), 5000u);
  auto small = Line(10, 3009, 7);
  buffer.SetPoints(small.data(), 3000);
  EXPECT_EQ(buffer.GetCapacity(), 5000u);
  EXPECT_EQ(buffer.GetCount(), 3000u);
  double min = 0;
  double max = 0;
  ASSERT_TRUE(buffer.GetXMinMax(min, max));
  EXPECT_EQ(min, 10);
  EXPECT_EQ(max, 3009);
}

TEST(ChartPointBuffer, OrdersByXOrYAndKeepsNaNOutOfTheExtremes) {
  ChartPointBuffer<SChartXYPoint> buffer;
  const double nan = std::numeric_limits<double>::quiet_NaN();
  std::vector<SChartXYPoint> pts{{5, 1}, {nan, 2}, {3, 9}, {4, nan}, {1, 4}};
  buffer.SetPoints(pts.data(), static_cast<unsigned>(pts.size()));
  EXPECT_EQ(buffer[0].X, 1);
  EXPECT_EQ(buffer[3].X, 5);
  EXPECT_TRUE(std::isnan(buffer[4].X));
  double min = 0;
  double max = 0;
  ASSERT_TRUE(buffer.GetYMinMax(min, max));
  EXPECT_EQ(min, 1);
  EXPECT_EQ(max, 9);
  buffer.SetOrdering(ChartPointBuffer<SChartXYPoint>::kOrderByY);
  EXPECT_EQ(buffer[0].Y, 1);
  EXPECT_EQ(buffer[3].Y, 9);
  std::vector<SChartXYPoint> none{{nan, nan}};
  buffer.SetPoints(none.data(), 1);
  EXPECT_FALSE(buffer.GetXMinMax(min, max));
}

TEST(ChartLineSerie, VisibleRangeIsFoundAndWidenedByOnePoint) {
  RecordedChart chart;
  chart.bottom->SetMinMax(10.5, 20.5);
  CChartLineSerie* s = chart.ctrl->CreateLineSerie();
  ASSERT_NE(s, nullptr);
  auto pts = Line(0, 99);
  std::reverse(pts.begin(), pts.end());  // descending X is stored ascending
  s->SetPoints(pts.data(), 100);
  EXPECT_EQ(s->GetBuffer()[0].X, 0);
  unsigned first = 0;
  unsigned last = 0;
  ASSERT_TRUE(s->GetVisiblePoints(first, last));
  EXPECT_EQ(first, 10u);
  EXPECT_EQ(last, 21u);
  chart.Draw();
  const auto polys = SeriesPolylines(chart.dc);
  ASSERT_EQ(polys.size(), 1u);
  EXPECT_EQ(polys[0].points.front(), s->GetPointScreenCoord(9));
  EXPECT_EQ(polys[0].points.back(), s->GetPointScreenCoord(22));
  EXPECT_EQ(polys[0].points.size(), 14u);
  // Clipped to the plotting area grown by one pixel right and down; a plain 1-pixel pen.
  const ChartRect p = chart.ctrl->GetPlottingRect();
  EXPECT_TRUE(polys[0].clipped);
  EXPECT_EQ(polys[0].clip, (ChartRect{p.left, p.top, p.right + 1, p.bottom + 1}));
  EXPECT_EQ(polys[0].pen, (ChartPen{0, 1, CChartCtrl::kPalette[0], false}));
}

TEST(ChartLineSerie, CollapsesRepeatedPixelsAndDrawsTheTwoPointBar) {
  RecordedChart chart;
  CChartLineSerie* s = chart.ctrl->CreateLineSerie();
  std::vector<SChartXYPoint> pts{{10, 10}, {10.01, 10.01}, {10.02, 10.02}, {50, 50}};
  s->SetPoints(pts.data(), 4);
  chart.Draw();
  auto polys = SeriesPolylines(chart.dc);
  ASSERT_EQ(polys.size(), 1u);
  EXPECT_EQ(polys[0].points.size(), 2u);

  // Same X, two levels: a vertical bar, even when outside the axis range.
  std::vector<SChartXYPoint> bar{{120, 40}, {120, -174}};
  s->SetPoints(bar.data(), 2);
  chart.Draw();
  polys = SeriesPolylines(chart.dc);
  ASSERT_EQ(polys.size(), 1u);
  EXPECT_EQ(polys[0].points.size(), 2u);

  std::vector<SChartXYPoint> single{{50, 50}};
  s->SetPoints(single.data(), 1);
  chart.Draw();
  EXPECT_TRUE(SeriesPolylines(chart.dc).empty());
}

TEST(ChartLineSerie, PenKindsAndShadowFirst) {
  RecordedChart chart;
  CChartLineSerie* s = chart.ctrl->CreateLineSerie();
  auto pts = Line(0, 100);
  s->SetPoints(pts.data(), static_cast<unsigned>(pts.size()));
  s->SetPenStyle(2);
  s->SetShadow(true);
  chart.Draw();
  const auto polys = SeriesPolylines(chart.dc);
  ASSERT_EQ(polys.size(), 2u);
  EXPECT_TRUE(polys[1].pen.geometric);
  EXPECT_EQ(polys[1].pen.style, 2);
  EXPECT_EQ(polys[0].pen.color, 0x969696u);
  ASSERT_EQ(polys[0].points.size(), polys[1].points.size());
  EXPECT_EQ(polys[0].points[0].x, polys[1].points[0].x + 2);
  EXPECT_EQ(polys[0].points[0].y, polys[1].points[0].y + 2);
}

TEST(ChartLineSerie, HitTestNearPointsAndLines) {
  RecordedChart chart;
  CChartLineSerie* s = chart.ctrl->CreateLineSerie();
  std::vector<SChartXYPoint> pts{{0, 50}, {50, 50}, {100, 50}};
  s->SetPoints(pts.data(), 3);
  chart.Draw();
  const ChartPoint mid = s->GetPointScreenCoord(1);
  int index = 99;
  EXPECT_TRUE(s->IsPointOnSerie({mid.x + 4, mid.y + 1}, index));
  EXPECT_EQ(index, 1);
  EXPECT_TRUE(s->IsPointOnSerie({mid.x + 6, mid.y}, index));
  EXPECT_EQ(index, -1);
  EXPECT_FALSE(s->IsPointOnSerie({mid.x, mid.y + 10}, index));
  EXPECT_EQ(index, -1);

  // Points on one pixel make a zero-length segment: skipped, no division by zero.
  std::vector<SChartXYPoint> same{{50, 50}, {50.001, 50.001}, {50.002, 50.002}};
  s->SetPoints(same.data(), 3);
  chart.Draw();
  EXPECT_FALSE(s->IsPointOnSerie(s->GetPointScreenCoord(0), index));

  s->SetPoints(pts.data(), 3);
  s->SetVisible(false);
  EXPECT_FALSE(s->IsPointOnSerie(mid, index));
}

TEST(ChartLineSerie, LegendSampleNeedsAName) {
  RecordedChart chart;
  CChartLineSerie* s = chart.ctrl->CreateLineSerie();
  RecordingDc dc;
  s->DrawLegend(dc, {10, 10, 26, 27});
  EXPECT_TRUE(dc.Records(DcRecord::Op::LineTo).empty());
  s->SetName(u"Station");
  s->DrawLegend(dc, {10, 10, 26, 27});
  const auto lines = dc.Records(DcRecord::Op::LineTo);
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_EQ(lines[0].points, (std::vector<ChartPoint>{{10, 18}, {26, 18}}));
  EXPECT_TRUE(lines[0].pen.geometric);
}

TEST(ChartLineSerie, AutomaticAxesFollowTheVisibleSeries) {
  RecordedChart chart;
  chart.bottom->SetAutomaticMode(CChartAxis::kFullAutomatic);
  CChartLineSerie* a = chart.ctrl->CreateLineSerie();
  CChartLineSerie* b = chart.ctrl->CreateLineSerie();
  auto pa = Line(-5, 20);
  auto pb = Line(10, 40);
  a->SetPoints(pa.data(), static_cast<unsigned>(pa.size()));
  b->SetPoints(pb.data(), static_cast<unsigned>(pb.size()));
  EXPECT_EQ(chart.bottom->GetMin(), -5);
  EXPECT_EQ(chart.bottom->GetMax(), 40);
  b->SetVisible(false);
  chart.bottom->RefreshAutoAxis();
  EXPECT_EQ(chart.bottom->GetMax(), 20);
  chart.left->RefreshAutoAxis();  // manual: unchanged
  EXPECT_EQ(chart.left->GetMax(), 100);
  chart.ctrl->RemoveAllSeries();
  chart.bottom->RefreshAutoAxis();
  EXPECT_EQ(chart.bottom->GetMin(), 0);
  EXPECT_EQ(chart.bottom->GetMax(), 0);
}

TEST(ChartSmoothing, SymmetricKnotsGiveASymmetricCurve) {
  std::vector<double> p1, p2;
  ASSERT_TRUE(ChartSmoothing::ComputeControlPoints({0, 100, 0}, p1, p2));
  EXPECT_NEAR(p1[0], 50, 1e-9);
  EXPECT_NEAR(p1[1], 100, 1e-9);
  EXPECT_NEAR(p2[0], 100, 1e-9);
  EXPECT_NEAR(p2[1], 50, 1e-9);
  ASSERT_TRUE(ChartSmoothing::ComputeControlPoints({0, 100, 200}, p1, p2));
  EXPECT_NEAR(p1[0], 100.0 / 3, 1e-9);
  EXPECT_NEAR(p2[1], 500.0 / 3, 1e-9);
  ASSERT_TRUE(ChartSmoothing::ComputeControlPoints({0, 30}, p1, p2));
  EXPECT_NEAR(p1[0], 10, 1e-9);
  EXPECT_NEAR(p2[0], 20, 1e-9);
  EXPECT_FALSE(ChartSmoothing::ComputeControlPoints({5}, p1, p2));

  RecordedChart chart;
  CChartLineSerie* s = chart.ctrl->CreateLineSerie();
  auto pts = Line(0, 9);
  s->SetPoints(pts.data(), 10);
  s->SetSmooth(true);
  chart.Draw();
  const auto curves = chart.dc.Records(DcRecord::Op::PolyBezier);
  ASSERT_EQ(curves.size(), 1u);
  EXPECT_EQ(curves[0].points.size(), 3u * 9 + 1);
}
