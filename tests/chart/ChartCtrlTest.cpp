#include <QFile>
#include <QImage>
#include <QPrinter>
#include <QTest>
#include <gtest/gtest.h>

#include <algorithm>

#include "chart/CChartLegend.h"
#include "chart/CChartStandardAxis.h"
#include "ChartTestSupport.h"
#include "support/TestSupport.h"

using platform::qt::DcRecord;

namespace {

class CountingChart : public CChartCtrl {
 public:
  int draws = 0;
  int refreshesWhileDrawing = 0;  // refreshes to ask for from inside the next drawings
  void DrawChart(ChartDc& dc, ChartRect rect) override {
    ++draws;
    if (refreshesWhileDrawing > 0) {
      --refreshesWhileDrawing;
      RefreshCtrl();
    }
    CChartCtrl::DrawChart(dc, rect);
  }
};

std::vector<SChartXYPoint> Diagonal() { return {{0, 0}, {100, 100}}; }

size_t IndexOf(const std::vector<DcRecord>& records, const std::function<bool(const DcRecord&)>& pred) {
  for (size_t i = 0; i < records.size(); ++i) {
    if (pred(records[i])) return i;
  }
  return records.size();
}

}  // namespace

TEST(ChartCtrlLayout, PlottingRectangleAndDrawingOrder) {
  RecordedChart chart;
  CChartLineSerie* s = chart.ctrl->CreateLineSerie();
  auto pts = Diagonal();
  s->SetPoints(pts.data(), 2);
  s->SetName(u"S");
  chart.ctrl->GetLegend()->SetVisible(true);
  chart.dc.Clear();
  chart.ctrl->DrawBackground(chart.dc, {0, 0, 400, 300});
  chart.ctrl->DrawChart(chart.dc, {3, 3, 397, 297});
  // Legend "S": 8 + 16 + 12 = 36 wide, so the chart ends at 397 - 42 + 2; then the margins:
  // left 10 + "100" (21), bottom 6 + 13, right half a label + 3, top half a label + 3.
  EXPECT_EQ(chart.ctrl->GetPlottingRect(), (ChartRect{3 + 31, 3 + 9, 397 - 42 + 2 - 13, 297 - 19}));

  const auto& r = chart.dc.Records();
  const size_t background = IndexOf(r, [](const DcRecord& x) { return x.op == DcRecord::Op::FillSolidRect; });
  const size_t edge = IndexOf(r, [](const DcRecord& x) { return x.op == DcRecord::Op::DrawEdge; });
  const size_t axisText = IndexOf(r, [](const DcRecord& x) { return x.op == DcRecord::Op::TextOut; });
  const ChartRect p = chart.ctrl->GetPlottingRect();
  const size_t border = IndexOf(r, [&](const DcRecord& x) {
    return x.op == DcRecord::Op::LineTo && x.points[0] == ChartPoint{p.left, p.top} &&
           x.points[1] == ChartPoint{p.right, p.top};
  });
  const size_t series = IndexOf(r, [](const DcRecord& x) { return x.op == DcRecord::Op::Polyline; });
  const size_t legend = IndexOf(r, [](const DcRecord& x) { return x.op == DcRecord::Op::Rectangle; });
  EXPECT_EQ(r[edge].flags, platform::qt::kEdgeRaised);
  EXPECT_LT(background, edge);
  EXPECT_LT(edge, axisText);
  EXPECT_LT(axisText, border);
  EXPECT_LT(border, series);
  EXPECT_LT(series, legend);
  EXPECT_LT(legend, r.size());
}

TEST(ChartCtrlRefresh, BracketedRefreshesDrawOnce) {
  CountingChart chart;
  chart.resize(200, 150);
  chart.draws = 0;
  chart.EnableRefresh(false);
  chart.RefreshCtrl();
  chart.RefreshCtrl();
  EXPECT_EQ(chart.draws, 0);
  chart.EnableRefresh(true);
  EXPECT_EQ(chart.draws, 1);

  chart.EnableRefresh(false);
  chart.EnableRefresh(false);
  chart.RefreshCtrl();
  chart.EnableRefresh(true);
  EXPECT_EQ(chart.draws, 1);
  chart.EnableRefresh(true);
  EXPECT_EQ(chart.draws, 2);

  // Attaching a series and setting its points each end in one drawing.
  chart.CreateStandardAxis(CChartCtrl::kLeftAxis)->SetMinMax(0, 100);
  chart.CreateStandardAxis(CChartCtrl::kBottomAxis)->SetMinMax(0, 100);
  CChartLineSerie* s = chart.CreateLineSerie();
  chart.draws = 0;
  auto pts = Diagonal();
  s->SetPoints(pts.data(), 2);
  EXPECT_EQ(chart.draws, 1);
  chart.draws = 0;
  chart.UndoPanZoom();
  EXPECT_EQ(chart.draws, 1);

  // A refresh asked for while drawing runs right after; one asked for by that run waits.
  chart.draws = 0;
  chart.refreshesWhileDrawing = 1;
  chart.RefreshCtrl();
  EXPECT_EQ(chart.draws, 2);
  chart.draws = 0;
  chart.refreshesWhileDrawing = 5;
  chart.RefreshCtrl();
  EXPECT_EQ(chart.draws, 2);
}

TEST(ChartCtrlMouse, ZoomPanAndUndo) {
  CChartCtrl chart;
  chart.resize(400, 300);
  CChartAxis* left = chart.CreateStandardAxis(CChartCtrl::kLeftAxis);
  CChartAxis* bottom = chart.CreateStandardAxis(CChartCtrl::kBottomAxis);
  left->SetMinMax(0, 100);
  bottom->SetMinMax(0, 100);
  const ChartRect p = chart.GetPlottingRect();
  ASSERT_FALSE(p.IsRectEmpty());

  // A drag towards the lower right zooms every axis to the values under the rectangle.
  const ChartPoint a{p.left + 30, p.top + 20};
  const ChartPoint b{p.left + 130, p.bottom - 40};
  const double x1 = bottom->ScreenToValue(a.x);
  const double x2 = bottom->ScreenToValue(b.x);
  const double y1 = left->ScreenToValue(b.y);  // the vertical minimum is at the bottom edge
  const double y2 = left->ScreenToValue(a.y);
  chart.OnLButtonDown(a);
  EXPECT_TRUE(chart.IsZoomDragging());
  chart.OnMouseMove(b);
  chart.OnLButtonUp(b);
  EXPECT_FALSE(chart.IsZoomDragging());
  EXPECT_DOUBLE_EQ(bottom->GetMin(), x1);
  EXPECT_DOUBLE_EQ(bottom->GetMax(), x2);
  EXPECT_DOUBLE_EQ(left->GetMin(), y1);
  EXPECT_DOUBLE_EQ(left->GetMax(), y2);
  EXPECT_EQ(bottom->GetUndoMax(), 100);

  // A zero-width drag changes nothing.
  chart.OnLButtonDown({p.left + 50, p.top + 10});
  chart.OnMouseMove({p.left + 50, p.top + 80});
  chart.OnLButtonUp({p.left + 50, p.top + 80});
  EXPECT_DOUBLE_EQ(bottom->GetMin(), x1);

  // A right drag pans: the content follows the mouse.
  const ChartRect q = chart.GetPlottingRect();
  const ChartPoint from{q.left + 100, q.top + 100};
  const ChartPoint to{q.left + 130, q.top + 110};
  const double dx = bottom->ScreenToValue(from.x) - bottom->ScreenToValue(to.x);
  const double dy = left->ScreenToValue(from.y) - left->ScreenToValue(to.y);
  const double bottomMin = bottom->GetMin();
  const double leftMin = left->GetMin();
  chart.OnRButtonDown(from);
  chart.OnMouseMove(to);
  chart.OnRButtonUp(to);
  EXPECT_DOUBLE_EQ(bottom->GetMin(), bottomMin + dx);
  EXPECT_DOUBLE_EQ(left->GetMin(), leftMin + dy);
  EXPECT_LT(dx, 0);
  EXPECT_GT(dy, 0);

  // A drag leftwards restores the ranges set last.
  chart.OnLButtonDown({p.left + 100, p.top + 50});
  chart.OnMouseMove({p.left + 40, p.top + 90});
  chart.OnLButtonUp({p.left + 40, p.top + 90});
  EXPECT_EQ(bottom->GetMin(), 0);
  EXPECT_EQ(bottom->GetMax(), 100);
  EXPECT_EQ(left->GetMin(), 0);
  EXPECT_EQ(left->GetMax(), 100);

  // Panning switched off, as on the almanac page.
  chart.EnablePan(false);
  chart.OnRButtonDown(from);
  chart.OnMouseMove(to);
  chart.OnRButtonUp(to);
  EXPECT_EQ(bottom->GetMin(), 0);
}

TEST(ChartCtrlMouse, QtEventsReachTheHandlers) {
  CChartCtrl chart;
  chart.resize(400, 300);
  chart.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&chart));
  CChartAxis* bottom = chart.CreateStandardAxis(CChartCtrl::kBottomAxis);
  chart.CreateStandardAxis(CChartCtrl::kLeftAxis)->SetMinMax(0, 100);
  bottom->SetMinMax(0, 100);
  const ChartRect p = chart.GetPlottingRect();
  QTest::mousePress(&chart, Qt::LeftButton, {}, QPoint(p.left + 10, p.top + 10));
  QTest::mouseMove(&chart, QPoint(p.left + 110, p.top + 110));
  QTest::mouseRelease(&chart, Qt::LeftButton, {}, QPoint(p.left + 110, p.top + 110));
  EXPECT_GT(bottom->GetMin(), 0);
  EXPECT_LT(bottom->GetMax(), 100);
}

TEST(ChartCtrlSeries, PaletteWrapsAndMissingOrReplacedAxesAreSafe) {
  CChartCtrl chart;
  chart.resize(300, 200);
  // No axes yet: the series is refused instead of being drawn against nothing.
  EXPECT_EQ(chart.CreateLineSerie(), nullptr);
  chart.CreateStandardAxis(CChartCtrl::kLeftAxis);
  EXPECT_EQ(chart.CreateLineSerie(), nullptr);
  CChartAxis* oldBottom = chart.CreateStandardAxis(CChartCtrl::kBottomAxis);
  std::vector<CChartLineSerie*> series;
  for (int i = 0; i < 11; ++i) series.push_back(chart.CreateLineSerie());
  for (int i = 0; i < 11; ++i) EXPECT_EQ(series[i]->GetColor(), CChartCtrl::kPalette[i % 10]);
  EXPECT_EQ(oldBottom->GetSeries().size(), 11u);
  EXPECT_EQ(chart.CreateLineSerie(true, false), nullptr);  // no top axis

  // Replacing the bottom axis moves its series onto the new one.
  CChartAxis* newBottom = chart.CreateStandardAxis(CChartCtrl::kBottomAxis);
  newBottom->SetMinMax(0, 10);
  EXPECT_EQ(newBottom->GetSeries().size(), 11u);
  EXPECT_EQ(series[0]->GetHorizontalAxis(), newBottom);
  auto pts = Diagonal();
  series[3]->SetPoints(pts.data(), 2);
  chart.RefreshCtrl();
  chart.RemoveAllSeries();
  EXPECT_TRUE(newBottom->GetSeries().empty());
  EXPECT_EQ(chart.GoToFirstSerie(), nullptr);
}

TEST(ChartCtrlImage, ColoursBackgroundBorderAndGridDashes) {
  CChartCtrl chart;
  chart.resize(300, 220);
  CChartAxis* left = chart.CreateStandardAxis(CChartCtrl::kLeftAxis);
  CChartAxis* bottom = chart.CreateStandardAxis(CChartCtrl::kBottomAxis);
  left->SetMinMax(0, 100);
  bottom->SetMinMax(0, 100);
  chart.SetBackColor(0xFAE6E6);
  CChartLineSerie* s = chart.CreateLineSerie();
  std::vector<SChartXYPoint> pts{{0, 35}, {100, 35}};
  s->SetPoints(pts.data(), 2);
  s->SetColor(0xFF0000);  // blue
  const QImage& img = chart.GetBufferImage();
  ASSERT_EQ(img.size(), QSize(300, 220));
  const ChartRect p = chart.GetPlottingRect();

  const int lineY = left->ValueToScreen(35);
  EXPECT_EQ(img.pixel(bottom->ValueToScreen(33), lineY), qRgb(0, 0, 255));
  const int emptyX = bottom->ValueToScreen(55);
  const int emptyY = left->ValueToScreen(75);
  EXPECT_EQ(img.pixel(emptyX, emptyY), qRgb(230, 230, 250));
  EXPECT_EQ(img.pixel(p.left, emptyY), qRgb(0, 0, 0));
  EXPECT_EQ(img.pixel(p.right, emptyY), qRgb(0, 0, 0));

  // A vertical grid line: 3 grey pixels from the plotting bottom up, then 3 of background.
  const int gx = bottom->ValueToScreen(60);  // a tick at any likely step
  const QRgb grey = qRgb(128, 128, 128);
  const QRgb back = qRgb(230, 230, 250);
  EXPECT_EQ(img.pixel(gx, p.bottom - 1), grey);
  EXPECT_EQ(img.pixel(gx, p.bottom - 2), grey);
  EXPECT_EQ(img.pixel(gx, p.bottom - 3), back);
  EXPECT_EQ(img.pixel(gx, p.bottom - 5), back);
  EXPECT_EQ(img.pixel(gx, p.bottom - 6), grey);
}

TEST(ChartCtrlImage, GradientBackgroundAndResize) {
  CChartCtrl chart;
  chart.resize(200, 160);
  chart.SetBackGradient(0x0000FF, 0xFF0000, 1);  // red at the top to blue at the bottom
  const QImage& img = chart.GetBufferImage();
  const QColor top(img.pixel(100, 5));  // below the border along the top
  const QColor bottom(img.pixel(100, 154));
  EXPECT_GT(top.red(), 200);
  EXPECT_LT(top.blue(), 60);
  EXPECT_GT(bottom.blue(), 200);
  EXPECT_LT(bottom.red(), 60);

  chart.SetBackGradient(0x0000FF, 0xFF0000, 3);  // two halves: red, blue, red
  EXPECT_GT(QColor(chart.GetBufferImage().pixel(100, 5)).red(), 200);
  EXPECT_GT(QColor(chart.GetBufferImage().pixel(100, 80)).blue(), 200);
  EXPECT_GT(QColor(chart.GetBufferImage().pixel(100, 154)).red(), 200);

  chart.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&chart));
  chart.resize(250, 120);
  QTest::qWait(10);
  EXPECT_EQ(chart.GetBufferImage().size(), QSize(250, 120));
}

TEST(ChartCtrlImage, DegenerateWindowsAndRangesDrawWithoutFault) {
  CChartCtrl chart;
  chart.resize(20, 20);
  CChartAxis* left = chart.CreateStandardAxis(CChartCtrl::kLeftAxis);
  CChartAxis* bottom = chart.CreateStandardAxis(CChartCtrl::kBottomAxis);
  left->SetMinMax(5, 5);
  bottom->SetMinMax(0, 1e-300);
  CChartLineSerie* s = chart.CreateLineSerie();
  const double nan = std::numeric_limits<double>::quiet_NaN();
  std::vector<SChartXYPoint> pts{{0, 0}, {nan, 1e308}, {1e300, -1e300}, {2, nan}};
  s->SetPoints(pts.data(), 4);
  chart.resize(1, 1);
  chart.resize(400, 300);
  bottom->SetMinMax(0, 0.001);
  std::vector<SChartXYPoint> far{{0, 5}, {1e6, 5}, {-1e6, 5}};
  s->SetPoints(far.data(), 3);
  chart.OnLButtonDown({100, 100});
  chart.OnLButtonUp({101, 101});
  EXPECT_EQ(chart.GetBufferImage().size(), QSize(400, 300));
}

TEST(ChartCtrlPrint, LaysOutAtThreeQuartersOfThePageAndWritesAPdf) {
  CountingChart chart;
  chart.resize(300, 200);
  chart.CreateStandardAxis(CChartCtrl::kLeftAxis)->SetMinMax(0, 100);
  chart.CreateStandardAxis(CChartCtrl::kBottomAxis)->SetMinMax(0, 100);
  CChartLineSerie* s = chart.CreateLineSerie();
  auto pts = Diagonal();
  s->SetPoints(pts.data(), 2);

  platform::qt::RecordingDc printer(platform::qt::DeviceCaps{1200, 1200, 9583, 13699});
  ChartPrintInfo info;
  chart.OnBeginPrinting(printer, info);
  const int sx = chart.logicalDpiX();
  const int sy = chart.logicalDpiY();
  EXPECT_EQ(chart.GetPrintSize(), (ChartSize{(sx * 9583 / 1200) * 3 / 4, (sy * 13699 / 1200) * 3 / 4}));
  chart.OnPrint(printer, info);
  const auto maps = printer.Records(DcRecord::Op::SetMapping);
  ASSERT_EQ(maps.size(), 1u);
  EXPECT_EQ(maps[0].size1, chart.GetPrintSize());
  EXPECT_EQ(maps[0].size2, (ChartSize{9583, 13699}));
  EXPECT_EQ(info.drawRect, (ChartRect{0, 0, chart.GetPrintSize().cx, chart.GetPrintSize().cy}));
  EXPECT_TRUE(printer.Records(DcRecord::Op::FillSolidRect).empty());  // no background on paper
  const ChartRect printed = chart.GetPlottingRect();
  chart.OnEndPrinting(printer, info);
  EXPECT_NE(chart.GetPlottingRect(), printed);  // the screen layout is back

  testsupport::TempDir dir;
  QPrinter pdf(QPrinter::HighResolution);
  pdf.setOutputFormat(QPrinter::PdfFormat);
  pdf.setOutputFileName(QString::fromStdString(dir.File("chart.pdf")));
  chart.draws = 0;
  ASSERT_TRUE(chart.Print(QStringLiteral("Spectrum"), &pdf));
  EXPECT_EQ(chart.draws, 2);  // the page, then the screen again
  QFile file(QString::fromStdString(dir.File("chart.pdf")));
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  EXPECT_TRUE(file.read(5).startsWith("%PDF"));
}
