#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "chart/CChartStandardAxis.h"
#include "platform/qt/RecordingDc.h"

using platform::qt::DcRecord;
using platform::qt::RecordingDc;

namespace {

// An axis without a chart, spanning the plotting rectangle's edge.
struct Axis {
  CChartStandardAxis axis;
  Axis(bool horizontal, double min, double max, ChartRect plot, bool secondary = false) {
    axis.SetHorizontal(horizontal);
    axis.SetSecondary(secondary);
    axis.SetMinMax(min, max);
    axis.SetAxisRect({0, 0, plot.right + 40, plot.bottom + 40}, plot);
    axis.RefreshTicks();
  }
  std::vector<std::u16string> Labels() const {
    std::vector<std::u16string> out;
    axis.ForEachTick([&](double v) { out.push_back(axis.GetTickLabel(v)); });
    return out;
  }
};

std::vector<std::u16string> Range(int from, int to, int step) {
  std::vector<std::u16string> out;
  for (int v = from; v <= to; v += step) {
    const std::string s = std::to_string(v);
    out.emplace_back(s.begin(), s.end());
  }
  return out;
}

}  // namespace

TEST(ChartAxisTicks, WorkedExamples) {
  // 0..100 over 300 pixels: at most 10 ticks, step 10.
  Axis h(true, 0, 100, {50, 10, 350, 200});
  EXPECT_DOUBLE_EQ(h.axis.GetTickIncrement(), 10);
  EXPECT_EQ(h.Labels(), Range(0, 100, 10));

  // 0..1 over a 100-pixel vertical axis: step 0.2 with one decimal.
  Axis v(false, 0, 1, {50, 20, 300, 120});
  EXPECT_DOUBLE_EQ(v.axis.GetTickIncrement(), 0.2);
  EXPECT_EQ(v.Labels(), (std::vector<std::u16string>{u"0.0", u"0.2", u"0.4", u"0.6", u"0.8", u"1.0"}));

  // A negative minimum starts at the next multiple of the step.
  Axis n(true, -7, 23, {0, 0, 180, 100});
  EXPECT_DOUBLE_EQ(n.axis.GetTickIncrement(), 5);
  EXPECT_DOUBLE_EQ(n.axis.GetFirstTick(), -5);
  EXPECT_EQ(n.Labels(), Range(-5, 20, 5));
}

TEST(ChartAxisTicks, RoundingLosesNeitherEndTickAndNeverShowsMinusZero) {
  Axis last(false, 0, 0.6, {0, 20, 100, 80});
  EXPECT_EQ(last.Labels(), (std::vector<std::u16string>{u"0.0", u"0.2", u"0.4", u"0.6"}));

  Axis first(false, -0.6, 0, {0, 20, 100, 80});
  EXPECT_EQ(first.Labels(), (std::vector<std::u16string>{u"-0.6", u"-0.4", u"-0.2", u"0.0"}));

  Axis zero(true, -3, 7, {0, 0, 60, 50});
  EXPECT_EQ(zero.Labels(), (std::vector<std::u16string>{u"0", u"5"}));

  // Accumulated steps that should land on zero print as zero.
  Axis acc(false, -0.3, 0.3, {0, 20, 100, 80});
  for (const std::u16string& label : acc.Labels()) EXPECT_NE(label, u"-0.0");
  EXPECT_EQ(acc.axis.GetTickLabel(-0.0), u"0.0");
  EXPECT_EQ(acc.axis.GetTickLabel(-1e-18), u"0.0");
}

TEST(ChartAxisTicks, DegenerateAxesStayFiniteAndEnd) {
  // Shorter than one tick interval: one interval, at least one tick.
  Axis tiny(true, 0, 100, {0, 0, 10, 10});
  EXPECT_TRUE(std::isfinite(tiny.axis.GetTickIncrement()));
  EXPECT_GT(tiny.axis.GetTickIncrement(), 0);
  EXPECT_GE(tiny.Labels().size(), 1u);

  // Empty range: step 0, one tick at min, every value in the middle.
  Axis flat(true, 5, 5, {50, 0, 350, 100});
  EXPECT_EQ(flat.axis.GetTickIncrement(), 0);
  EXPECT_EQ(flat.Labels().size(), 1u);
  EXPECT_EQ(flat.axis.ValueToScreen(123), 200);
  EXPECT_EQ(flat.axis.ValueToScreenTick(5), 200);
  EXPECT_EQ(flat.axis.ScreenToValue(77), 5);

  // Zero-length axis: ScreenToValue gives min instead of dividing by zero.
  Axis collapsed(true, 0, 10, {50, 0, 50, 100});
  EXPECT_EQ(collapsed.axis.ScreenToValue(60), 0);
  EXPECT_EQ(collapsed.axis.ValueToScreen(5), 50);

  // Huge ranges and values far outside a deep zoom clamp instead of overflowing.
  Axis huge(true, -1e308, 1e308, {0, 0, 300, 100});
  EXPECT_LE(huge.Labels().size(), static_cast<size_t>(CChartAxis::kMaxTicks));
  Axis deep(true, 0, 0.001, {0, 0, 500, 100});
  EXPECT_GT(deep.axis.ValueToScreen(1e6), 100000000);
  EXPECT_LT(deep.axis.ValueToScreen(-1e300), -100000000);
  deep.axis.ValueToScreen(std::numeric_limits<double>::quiet_NaN());
  deep.axis.ValueToScreen(std::numeric_limits<double>::infinity());

  // No progress at large magnitudes: the tick loop still ends.
  Axis stuck(true, 1e17, 1e17 + 64, {0, 0, 3000, 100});
  EXPECT_LE(stuck.Labels().size(), static_cast<size_t>(CChartAxis::kMaxTicks));

  // A reversed range does not take the logarithm of a negative number.
  Axis reversed(true, 100, 0, {0, 0, 300, 100});
  EXPECT_TRUE(std::isfinite(reversed.axis.GetTickIncrement()));
}

TEST(ChartAxisMapping, ValueToPixelAtTheEdges) {
  Axis h(true, 0, 100, {50, 10, 350, 200});
  EXPECT_EQ(h.axis.ValueToScreen(0), 50);
  EXPECT_EQ(h.axis.ValueToScreen(25), 125);
  EXPECT_EQ(h.axis.ValueToScreen(100), 350);
  EXPECT_EQ(h.axis.ValueToScreen(-0.5), 48);  // floor below min
  EXPECT_TRUE(h.axis.IsValueOnScreen(100));
  EXPECT_FALSE(h.axis.IsValueOnScreen(-0.5));
  for (int px : {50, 51, 200, 349, 350}) {
    EXPECT_EQ(h.axis.ValueToScreen(h.axis.ScreenToValue(px)), px);
  }

  h.axis.SetInverted(true);
  EXPECT_EQ(h.axis.ValueToScreen(25), 275);
  EXPECT_EQ(h.axis.ValueToScreen(0), 350);
  EXPECT_DOUBLE_EQ(h.axis.ScreenToValue(275), 25);

  Axis v(false, 0, 100, {50, 20, 300, 320});
  EXPECT_EQ(v.axis.ValueToScreen(0), 320);
  EXPECT_EQ(v.axis.ValueToScreen(25), 245);
  EXPECT_EQ(v.axis.ValueToScreen(100), 20);
  EXPECT_DOUBLE_EQ(v.axis.ScreenToValue(245), 25);
  v.axis.SetInverted(true);
  EXPECT_EQ(v.axis.ValueToScreen(25), 95);

  // Discrete values sit in the middle of their tick interval.
  h.axis.SetInverted(false);
  h.axis.SetDiscrete(true);
  EXPECT_EQ(h.axis.ValueToScreen(12), h.axis.ValueToScreenStandard(15));
  EXPECT_DOUBLE_EQ(h.axis.GetFirstTickValue(), -10);
}

TEST(ChartAxisZoom, ZoomLimitPanAndUndoRange) {
  Axis h(true, 0, 100, {50, 10, 350, 200});
  h.axis.SetZoomMinMax(5, 5.0005);
  EXPECT_DOUBLE_EQ(h.axis.GetMin(), 5);
  EXPECT_NEAR(h.axis.GetMax(), 5.001, 1e-12);
  EXPECT_EQ(h.axis.GetUndoMin(), 0);
  EXPECT_EQ(h.axis.GetUndoMax(), 100);
  h.axis.UndoZoom();
  EXPECT_EQ(h.axis.GetMin(), 0);
  EXPECT_EQ(h.axis.GetMax(), 100);

  h.axis.PanAxis(100, 130);  // the content follows the mouse 30 px to the right
  EXPECT_NEAR(h.axis.GetMin(), -10, 1e-9);
  EXPECT_NEAR(h.axis.GetMax(), 90, 1e-9);

  h.axis.EnableZoom(false);
  h.axis.SetZoomMinMax(20, 30);
  EXPECT_NEAR(h.axis.GetMin(), -10, 1e-9);

  Axis flat(true, 3, 3, {50, 10, 350, 200});
  flat.axis.SetZoomMinMax(1, 2);
  flat.axis.PanAxis(100, 130);
  EXPECT_EQ(flat.axis.GetMin(), 3);
  EXPECT_EQ(flat.axis.GetMax(), 3);

  // A pan on a collapsed axis cannot write NaN into the range.
  Axis collapsed(true, 0, 10, {50, 0, 50, 100});
  collapsed.axis.PanAxis(10, 40);
  EXPECT_EQ(collapsed.axis.GetMin(), 0);
  EXPECT_EQ(collapsed.axis.GetMax(), 10);
}

TEST(ChartAxisLayout, MarginsFromTheWidestLabel) {
  RecordingDc dc;
  const ChartRect chart{3, 3, 397, 297};

  CChartStandardAxis left;
  left.SetHorizontal(false);
  left.SetMinMax(0, 100);
  ChartRect plot = chart;
  left.SetAxisRect(chart, plot);
  left.RefreshTicks();
  left.CalculateMargin(dc, chart, plot);
  // "100" is 3 x 7 = 21 wide and 13 high with the 11-pixel tick font.
  EXPECT_EQ(plot.left, 3 + 10 + 21);
  EXPECT_EQ(plot.top, 3 + 13 / 2 + 3);

  CChartStandardAxis bottom;
  bottom.SetMinMax(0, 100);
  bottom.SetAxisRect(chart, plot);
  bottom.RefreshTicks();
  bottom.CalculateMargin(dc, chart, plot);
  EXPECT_EQ(plot.bottom, 297 - (6 + 13));
  EXPECT_EQ(plot.right, 397 - (21 / 2 + 3));

  CChartStandardAxis hidden;
  hidden.SetMinMax(0, 100);
  hidden.SetVisible(false);
  ChartRect untouched = chart;
  hidden.SetAxisRect(chart, untouched);
  hidden.RefreshTicks();
  hidden.CalculateMargin(dc, chart, untouched);
  EXPECT_EQ(untouched, chart);
}

TEST(ChartAxisLayout, DrawsMarksLabelsAndGridForEveryTick) {
  RecordingDc dc;
  Axis h(true, 0, 100, {50, 10, 350, 200});
  h.axis.Draw(dc);
  const auto texts = dc.Texts();
  EXPECT_EQ(texts, Range(0, 100, 10));
  // Bottom axis: label centred under the point, 5 below the rectangle's top.
  const auto outs = dc.Records(DcRecord::Op::TextOut);
  ASSERT_EQ(outs.size(), 11u);
  EXPECT_EQ(outs[2].points[0], (ChartPoint{110 - 14 / 2, 200 + 5}));
  EXPECT_EQ(h.axis.GetGrid()->GetTicks().size(), 11u);
  // Axis line first, then a mark 3 long under each tick.
  const auto lines = dc.Records(DcRecord::Op::LineTo);
  ASSERT_GE(lines.size(), 12u);
  EXPECT_EQ(lines[0].points, (std::vector<ChartPoint>{{50, 201}, {350, 201}}));
  EXPECT_EQ(lines[1].points, (std::vector<ChartPoint>{{50, 201}, {50, 204}}));
  EXPECT_EQ(dc.SaveDepth(), 0u);
}

TEST(ChartAxisTicks, LabelsUseAPointWhateverTheLocale) {
  const char* set = std::setlocale(LC_NUMERIC, "de_DE.UTF-8");
  Axis v(false, 0, 1, {50, 20, 300, 120});
  const std::u16string label = v.axis.GetTickLabel(0.4);
  std::setlocale(LC_NUMERIC, "C");
  if (!set) GTEST_SKIP() << "de_DE.UTF-8 is not installed";
  EXPECT_EQ(label, u"0.4");
}
