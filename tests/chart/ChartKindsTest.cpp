// The further axis, series and cursor kinds: their ticks, what they draw, their hit tests, and
// two of them drawn into the chart's picture.

#include <gtest/gtest.h>

#include <vector>

#include "ChartTestSupport.h"
#include "chart/CChartBarSerie.h"
#include "chart/CChartCandlestickSerie.h"
#include "chart/CChartCrossHairCursor.h"
#include "chart/CChartDateTimeAxis.h"
#include "chart/CChartDragLineCursor.h"
#include "chart/CChartGanttSerie.h"
#include "chart/CChartLogarithmicAxis.h"
#include "chart/CChartPointsSerie.h"
#include "chart/CChartSurfaceSerie.h"

using platform::qt::DcRecord;

namespace {

template <class A>
std::vector<std::u16string> Labels(A& axis) {
  std::vector<std::u16string> out;
  axis.ForEachTick([&](double v) { out.push_back(axis.GetTickLabel(v)); });
  return out;
}

template <class A>
void Lay(A& axis, bool horizontal, double min, double max, ChartRect plot = {50, 10, 650, 300}) {
  axis.SetHorizontal(horizontal);
  axis.SetMinMax(min, max);
  axis.SetAxisRect({0, 0, plot.right + 40, plot.bottom + 40}, plot);
  axis.RefreshTicks();
}

template <class S>
S* Attach(RecordedChart& chart) {
  return static_cast<S*>(chart.ctrl->AttachCustomSerie(std::make_unique<S>(chart.ctrl.get()), false, false));
}

struct Listener : CChartCursorListener {
  void OnCursorMoved(CChartCursor*, double x, double y) override {
    xs.push_back(x);
    ys.push_back(y);
  }
  std::vector<double> xs, ys;
};

TEST(ChartLogarithmicAxis, DecadeTicksLogPlacementAndMultiplyingPan) {
  CChartLogarithmicAxis axis;
  Lay(axis, true, 1, 500);
  EXPECT_EQ(Labels(axis), (std::vector<std::u16string>{u"1", u"10", u"100"}));
  Lay(axis, true, 0.01, 1000);
  EXPECT_EQ(Labels(axis), (std::vector<std::u16string>{u"0.01", u"0.1", u"1", u"10", u"100", u"1000"}));
  // 0.01..1000 is five decades over 600 pixels: 120 a decade.
  EXPECT_EQ(axis.ValueToScreen(1), 50 + 240);
  EXPECT_NEAR(axis.ScreenToValue(50 + 360), 10, 1e-9);
  axis.PanAxis(50 + 360, 50 + 240);  // dragging 10 onto 1 multiplies the range by 10
  EXPECT_NEAR(axis.GetMin(), 0.1, 1e-12);
  EXPECT_NEAR(axis.GetMax(), 10000, 1e-6);

  // A range down to zero or below never takes the logarithm of it.
  Lay(axis, false, 0, 1000);
  EXPECT_EQ(Labels(axis).front(), u"0.001");
  const int bottom = axis.ValueToScreen(-5);
  EXPECT_EQ(bottom, axis.ValueToScreen(0));
}

TEST(ChartDateTimeAxis, CalendarTicksAndTheirFormats) {
  CChartDateTimeAxis axis;
  const double day = CChartDateTimeAxis::MakeDate(2026, 12, 7);
  EXPECT_EQ(CChartDateTimeAxis::FormatDate(day + 0.5, "%Y-%m-%d %H:%M:%S"), "2026-12-07 12:00:00");
  EXPECT_EQ(CChartDateTimeAxis::FormatDate(2.0, "%d %b %Y"), "01 Jan 1900");

  struct Case {
    double from, to;
    int interval;
    std::vector<std::u16string> first;
  } cases[] = {
      {day + 10 / 24.0, day + 22 / 24.0, CChartDateTimeAxis::kHour, {u"10:00", u"11:00", u"12:00"}},
      {day, day + 10, CChartDateTimeAxis::kDay, {u"07 Dec", u"08 Dec", u"09 Dec"}},
      {CChartDateTimeAxis::MakeDate(2026, 1, 15), CChartDateTimeAxis::MakeDate(2027, 1, 1),
       CChartDateTimeAxis::kMonth, {u"Feb 2026", u"Mar 2026", u"Apr 2026"}},
      {CChartDateTimeAxis::MakeDate(1990, 3, 1), CChartDateTimeAxis::MakeDate(2030, 1, 1),
       CChartDateTimeAxis::kYear, {u"1991", u"1992", u"1993"}},
  };
  for (const Case& c : cases) {
    Lay(axis, true, c.from, c.to, {0, 0, 1000, 100});  // 16 ticks at most
    EXPECT_EQ(axis.GetInterval(), c.interval) << c.from;
    std::vector<std::u16string> labels = Labels(axis);
    ASSERT_GE(labels.size(), 3u);
    if (c.interval == CChartDateTimeAxis::kYear) {
      EXPECT_EQ(axis.GetLabelFormat(), "%Y");
      continue;  // a multi-year step depends on the axis length
    }
    labels.resize(3);
    EXPECT_EQ(labels, c.first) << c.from;
  }
  axis.SetTickIncrement(false, CChartDateTimeAxis::kMinute, 30);
  axis.SetTickLabelFormat(false, "%H.%M");
  Lay(axis, true, day + 0.25, day + 0.5, {0, 0, 400, 100});
  std::vector<std::u16string> labels = Labels(axis);
  EXPECT_EQ(labels.front(), u"06.00");
  EXPECT_EQ(labels.back(), u"12.00");
  EXPECT_EQ(labels.size(), 13u);
}

TEST(ChartPointsSerie, MarkersOfTheChosenShapeAndAFivePixelHitTest) {
  RecordedChart chart;
  auto* s = Attach<CChartPointsSerie>(chart);
  std::vector<SChartXYPoint> pts{{10, 10}, {50, 50}, {90, 20}};
  s->SetPoints(pts.data(), 3);
  s->SetPointSize(6, 4);
  for (int type : {CChartPointsSerie::kEllipse, CChartPointsSerie::kRectangle, CChartPointsSerie::kTriangle}) {
    s->SetPointType(type);
    chart.Draw();
    const auto op = type == CChartPointsSerie::kEllipse ? DcRecord::Op::Ellipse
                    : type == CChartPointsSerie::kRectangle ? DcRecord::Op::Rectangle
                                                            : DcRecord::Op::Polygon;
    const auto marks = chart.dc.Where([&](const DcRecord& r) { return r.op == op && r.brush.color == s->GetColor(); });
    ASSERT_EQ(marks.size(), 3u) << type;
    if (op != DcRecord::Op::Polygon) {
      EXPECT_EQ(marks[1].rect.Width(), 6);
      EXPECT_EQ(marks[1].rect.Height(), 4);
    }
  }
  const ChartPoint p = s->GetPointScreenCoord(1);
  int index = -1;
  EXPECT_TRUE(s->IsPointOnSerie({p.x + 5, p.y - 5}, index));
  EXPECT_EQ(index, 1);
  EXPECT_FALSE(s->IsPointOnSerie({p.x + 6, p.y}, index));
}

TEST(ChartSurfaceSerie, APolygonClosedOnTheAxisItFillsTowards) {
  RecordedChart chart;
  auto* s = Attach<CChartSurfaceSerie>(chart);
  std::vector<SChartXYPoint> pts{{0, 20}, {50, 80}, {100, 40}};
  s->SetPoints(pts.data(), 3);
  s->SetFillStyle(CChartSurfaceSerie::kHatchCross);
  chart.Draw();
  const auto polys = chart.dc.Records(DcRecord::Op::Polygon);
  ASSERT_EQ(polys.size(), 1u);
  const auto& pg = polys[0].points;
  ASSERT_EQ(pg.size(), 5u);
  const ChartRect plot = chart.ctrl->GetPlottingRect();
  EXPECT_EQ(pg[3], (ChartPoint{pg[2].x, plot.bottom}));
  EXPECT_EQ(pg[4], (ChartPoint{pg[0].x, plot.bottom}));
  EXPECT_EQ(polys[0].brush.hatch, platform::qt::kHsDiagCross);
}

TEST(ChartBarSerie, GroupsStandSideBySideAndStacksSumUp) {
  RecordedChart chart;
  auto* a = Attach<CChartBarSerie>(chart);
  auto* b = Attach<CChartBarSerie>(chart);
  std::vector<SChartXYPoint> pa{{20, 30}, {60, 50}};
  std::vector<SChartXYPoint> pb{{20, 10}, {60, 20}};
  a->SetPoints(pa.data(), 2);
  b->SetPoints(pb.data(), 2);
  a->SetBarWidth(10);
  b->SetBarWidth(10);
  a->SetInterSpace(2);
  b->SetInterSpace(2);
  chart.Draw();
  const int cx = chart.bottom->ValueToScreen(20);
  ChartRect ra = a->GetBarRect(0);
  ChartRect rb = b->GetBarRect(0);
  EXPECT_EQ(ra.left, cx - 11);
  EXPECT_EQ(rb.left, cx - 11 + 12);
  EXPECT_EQ(ra.top, chart.left->ValueToScreen(30));
  EXPECT_EQ(ra.bottom, chart.left->ValueToScreen(0) + 1) << "from the axis edge";
  int index = -1;
  EXPECT_TRUE(b->IsPointOnSerie({rb.left + 1, rb.bottom - 2}, index));
  EXPECT_EQ(index, 0);

  b->SetGroupId(1);  // alone in its group: centred
  EXPECT_EQ(b->GetBarRect(0).left, cx - 5);

  a->SetStacked(true);
  b->SetGroupId(0);
  b->SetStacked(true);
  rb = b->GetBarRect(1);
  EXPECT_EQ(rb.bottom, chart.left->ValueToScreen(50) + 1) << "b starts where a ended";
  EXPECT_EQ(rb.top, chart.left->ValueToScreen(70));
  EXPECT_EQ(rb.left, a->GetBarRect(1).left);
}

TEST(ChartCandlestickAndGantt, CandlesSpanLowToHighAndBarsStartToEnd) {
  RecordedChart chart;
  auto* c = Attach<CChartCandlestickSerie>(chart);
  c->AddPoint(60, 10, 90, 70, 30);  // fell: filled
  c->AddPoint(20, 40, 60, 45, 55);  // rose: hollow; ordered before the first by X
  double lo = 0, hi = 0;
  EXPECT_TRUE(c->GetSerieYMinMax(lo, hi));
  EXPECT_EQ(lo, 10);
  EXPECT_EQ(hi, 90);
  chart.Draw();
  const auto boxes = chart.dc.Records(DcRecord::Op::Rectangle);
  const auto wick = chart.dc.Where([&](const DcRecord& r) {
    return r.op == DcRecord::Op::LineTo && r.points[0].x == chart.bottom->ValueToScreen(60);
  });
  ASSERT_FALSE(wick.empty());
  EXPECT_EQ(wick.back().points[1].y, chart.left->ValueToScreen(90));
  bool filled = false, hollow = false;
  for (const auto& r : boxes) {
    if (r.brush.color == c->GetColor() && !r.brush.null) filled = true;
    if (r.brush.color == 0xFFFFFF && !r.brush.null) hollow = true;
  }
  EXPECT_TRUE(filled && hollow);

  RecordedChart gantt;
  auto* g = Attach<CChartGanttSerie>(gantt);
  g->AddPoint(10, 80, 50);
  g->SetBarWidth(8);
  double xmin = 0, xmax = 0;
  EXPECT_TRUE(g->GetSerieXMinMax(xmin, xmax));
  EXPECT_EQ(xmax, 80);
  gantt.Draw();
  const ChartRect r = g->GetBarRect(0);
  EXPECT_EQ(r.left, gantt.bottom->ValueToScreen(10));
  EXPECT_EQ(r.right, gantt.bottom->ValueToScreen(80) + 1);
  EXPECT_EQ(r.Height(), 8);
  int index = -1;
  EXPECT_TRUE(g->IsPointOnSerie({(r.left + r.right) / 2, r.top}, index));
}

TEST(ChartCursors, CrossHairFollowsAndTheDragLineIsTakenWithinThreePixels) {
  RecordedChart chart;
  chart.Draw();
  CChartCrossHairCursor* cross = chart.ctrl->CreateCrossHairCursor();
  ASSERT_NE(cross, nullptr);
  Listener heard;
  cross->RegisterListener(&heard);
  const ChartPoint at{chart.bottom->ValueToScreen(25), chart.left->ValueToScreen(60)};
  chart.ctrl->OnMouseMove(at);
  ASSERT_EQ(heard.xs.size(), 1u);
  EXPECT_NEAR(heard.xs[0], 25, 0.5);
  EXPECT_NEAR(heard.ys[0], 60, 0.5);
  chart.Draw();
  const ChartRect plot = chart.ctrl->GetPlottingRect();
  const auto lines = chart.dc.Where([&](const DcRecord& r) {
    return r.op == DcRecord::Op::LineTo && r.pen.color == cross->GetColor() && r.points[0].x == plot.left &&
           r.points[0].y == at.y;
  });
  EXPECT_EQ(lines.size(), 1u);
  chart.ctrl->RemoveCursor(cross->GetCursorId());

  CChartDragLineCursor* line = chart.ctrl->CreateDragLineCursor(true);
  line->RegisterListener(&heard);
  line->SetPosition(50);
  const int x = chart.bottom->ValueToScreen(50);
  const int y = (plot.top + plot.bottom) / 2;
  chart.ctrl->OnLButtonDown({x + 4, y});
  EXPECT_FALSE(line->IsDragging());
  chart.ctrl->OnLButtonUp({x + 4, y});
  chart.ctrl->OnLButtonDown({x + 3, y});
  EXPECT_TRUE(line->IsDragging());
  EXPECT_FALSE(chart.ctrl->IsZoomDragging()) << "a drag of the line is not a zoom";
  chart.ctrl->OnMouseMove({chart.bottom->ValueToScreen(70), y});
  chart.ctrl->OnLButtonUp({chart.bottom->ValueToScreen(70), y});
  EXPECT_FALSE(line->IsDragging());
  EXPECT_NEAR(line->GetPosition(), 70, 0.5);
  EXPECT_NEAR(heard.xs.back(), 70, 0.5);
  EXPECT_EQ(chart.bottom->GetMin(), 0) << "no zoom happened";
}

TEST(ChartKindsImage, BarsAndMarkersAppearInThePicture) {
  CChartCtrl chart;
  chart.resize(300, 220);
  CChartAxis* left = chart.CreateStandardAxis(CChartCtrl::kLeftAxis);
  CChartAxis* bottom = chart.CreateStandardAxis(CChartCtrl::kBottomAxis);
  left->SetMinMax(0, 100);
  bottom->SetMinMax(0, 100);
  chart.SetBackColor(0xFFFFFF);
  auto* bars = static_cast<CChartBarSerie*>(chart.AttachCustomSerie(std::make_unique<CChartBarSerie>(&chart), false, false));
  std::vector<SChartXYPoint> pb{{30, 60}};
  bars->SetPoints(pb.data(), 1);
  bars->SetColor(0x0000FF);  // red
  bars->SetBarWidth(12);
  auto* pts = static_cast<CChartPointsSerie*>(chart.AttachCustomSerie(std::make_unique<CChartPointsSerie>(&chart), false, false));
  std::vector<SChartXYPoint> pp{{70, 40}};
  pts->SetPoints(pp.data(), 1);
  pts->SetColor(0xFF0000);  // blue
  pts->SetBorderColor(0xFF0000);
  pts->SetPointSize(9, 9);
  pts->SetPointType(CChartPointsSerie::kRectangle);
  const QImage& img = chart.GetBufferImage();
  ASSERT_FALSE(img.isNull());
  EXPECT_EQ(img.pixel(bottom->ValueToScreen(30), left->ValueToScreen(30)), qRgb(255, 0, 0));
  EXPECT_EQ(img.pixel(bottom->ValueToScreen(30), left->ValueToScreen(80)), qRgb(255, 255, 255));
  EXPECT_EQ(img.pixel(bottom->ValueToScreen(70), left->ValueToScreen(40)), qRgb(0, 0, 255));
  EXPECT_EQ(img.pixel(bottom->ValueToScreen(70) + 8, left->ValueToScreen(40)), qRgb(255, 255, 255));
}

}  // namespace
