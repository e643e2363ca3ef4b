// The Spectrum utility page: its range checks on the model, then a scan of 2,000 samples from the
// simulated analyser drawn in the chart, and Stop.

#include <gtest/gtest.h>

#include <QColor>
#include <QImage>

#include "chart/CChartAxis.h"
#include "chart/CChartCtrl.h"
#include "chart/CChartSerie.h"
#include "sim/SimSpectrum.h"
#include "unit/SpectrumScanData.h"
#include "UtilityPageUnit.h"
#include "utilities/VkcPPSpectrumUtility.h"

namespace {

using M = VkcPPSpectrumUtilityModel;
using utiltest::PumpUntil;
using utiltest::Text;

void Type(VkcPPSpectrumUtility& page, int id, const char* text) {
  auto* edit = utiltest::Control<QLineEdit>(page, id);
  edit->setText(QString::fromUtf8(text));
  page.GetModel().Controls().SetText(id, QString::fromUtf8(text).toStdU16String());
  page.GetModel().Handle(id, ControlEvent::FocusLost);
  page.UpdateControls();
}

TEST(SpectrumPage, RangeChecksKeepTheOldValueAndStartRefusesAnEmptyRange) {
  utiltest::PageUnit u(3601);
  ASSERT_TRUE(u.opened);
  VkcPPSpectrumUtility page;
  page.SetPageHost(&u.host);
  // A beacon without its factory image has the band 0..0, so a step of 0: refused, not divided by.
  page.RefreshPage();
  utiltest::Click(page, M::kStartStop);
  EXPECT_EQ(u.host.LastMessage(), "Frequency step is invalid for entered start and stop frequencies.");
  EXPECT_FALSE(u.host.IsProcessRunning());
  u.SetBeaconBand(283500, 325000);
  page.RefreshPage();
  M& model = page.GetModel();
  const uint32_t min = u.host.System().GetBandLimit(0), max = u.host.System().GetBandLimit(2);
  ASSERT_LT(min, max);
  EXPECT_EQ(model.GetStart(), min);
  EXPECT_EQ(model.GetStop(), max);
  EXPECT_EQ(model.GetStep(), (max - min) / 400);
  EXPECT_EQ(page.Chart()->GetBottomAxis()->GetMin(), min);

  struct Case {
    int id;
    std::string text;
    std::string message;
  };
  const std::vector<Case> cases = {
      {M::kStart, std::to_string(min - 1), "Start frequency must be not less than " + std::to_string(min) + " Hz"},
      {M::kStop, std::to_string(max + 1), "Stop frequency must be not higher than " + std::to_string(max) + " Hz"},
      {M::kStep, "1", "Frequency step is too small. It should be greater than  " + std::to_string((max - min) / 1000) + " Hz"},
      {M::kStep, std::to_string(max - min), "Frequency step is too big. It should be less than  " + std::to_string((max - min) / 5) + " Hz"},
      {M::kStep, std::to_string(max - min + 1), "Frequency step is too big. It should be less than  " + std::to_string((max - min) / 5) + " Hz"},
      {M::kStep, "abc", "Enter an integer between 0 and 4294967295."},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    Type(page, c.id, c.text.c_str());
    EXPECT_EQ(u.host.LastMessage(), c.message);
    EXPECT_EQ(model.GetStart(), min);
    EXPECT_EQ(model.GetStop(), max);
    EXPECT_EQ(model.GetStep(), (max - min) / 400);
    EXPECT_EQ(Text(page, c.id), std::to_string(c.id == M::kStart ? min : c.id == M::kStop ? max : (max - min) / 400));
  }
  // Stop brought down to start: Start refuses the empty range; no worker, no lock.
  Type(page, M::kStop, std::to_string(min).c_str());
  EXPECT_EQ(model.GetStop(), min);
  u.host.messages.clear();
  utiltest::Click(page, M::kStartStop);
  EXPECT_EQ(u.host.LastMessage(), "Frequency step is invalid for entered start and stop frequencies.");
  EXPECT_FALSE(u.host.IsProcessRunning());
  EXPECT_EQ(Text(page, M::kStartStop), "Start");
  EXPECT_TRUE(utiltest::Control<QLineEdit>(page, M::kStart)->isEnabled());
}

// Pixels of the scan line's colour (blue) in each column of the chart's image.
std::vector<int> BlueTops(const QImage& image) {
  std::vector<int> tops(image.width(), -1);
  for (int x = 0; x < image.width(); ++x)
    for (int y = 0; y < image.height(); ++y)
      if (image.pixelColor(x, y) == QColor(0, 0, 255)) {
        tops[x] = y;
        break;
      }
  return tops;
}

TEST(SpectrumPage, ScanOfTwoThousandSamplesIsDrawnAndStops) {
  utiltest::PageUnit u(3601);
  ASSERT_TRUE(u.opened);
  u.SetBeaconBand(283500, 325000);
  sim::SimSpectrum analyser(u.unit);
  VkcPPSpectrumUtility page;
  page.resize(900, 500);
  page.SetPageHost(&u.host);
  page.RefreshPage();
  page.Chart()->resize(600, 400);
  // The finest scan the page takes: the band in steps of a thousandth.
  const uint32_t min = u.host.System().GetBandLimit(0), max = u.host.System().GetBandLimit(2);
  const uint32_t step = (max - min + 999) / 1000;
  const uint32_t count = (max - min) / step;
  Type(page, M::kStep, std::to_string(step).c_str());
  ASSERT_EQ(page.GetModel().GetStep(), step);

  utiltest::Click(page, M::kStartStop);
  EXPECT_EQ(Text(page, M::kStartStop), "Starting");
  ASSERT_TRUE(PumpUntil([&] { return Text(page, M::kStartStop) == "Stop"; }, 10000));
  const SpectrumScanData* data = u.host.System().GetSpectrumData();
  // Redrawn every 2 s: wait for a drawing that holds a whole sweep.
  // 2,000 samples and more have come in before the drawing checked below.
  ASSERT_TRUE(PumpUntil([&] { return analyser.LinesSent() > 2000 + count; }, 10000));
  page.Chart()->RemoveAllSeries();
  ASSERT_TRUE(PumpUntil([&] { return page.Chart()->GetSeriesCount() == 1; }, 5000));
  EXPECT_EQ(page.Chart()->GoToFirstSerie()->GetPointsCount(), count);
  EXPECT_EQ(data->GetCount(), count);
  EXPECT_EQ(page.Chart()->GoToFirstSerie()->GetColor(), 0xFF0000u);

  // The image: one blue line whose highest point is the analyser's peak in the middle of the range.
  const QImage image = page.Chart()->GetBufferImage();
  const std::vector<int> tops = BlueTops(image);
  int drawn = 0, peakX = -1, peakY = image.height();
  for (int x = 0; x < static_cast<int>(tops.size()); ++x) {
    if (tops[x] < 0) continue;
    ++drawn;
    if (tops[x] < peakY) peakY = tops[x], peakX = x;
  }
  const ChartRect plot = page.Chart()->GetPlottingRect();
  EXPECT_GT(drawn, (plot.right - plot.left) * 9 / 10);
  EXPECT_NEAR(peakX, (plot.left + plot.right) / 2, (plot.right - plot.left) / 20);
  EXPECT_LT(peakY, plot.top + (plot.bottom - plot.top) / 2);

  utiltest::Click(page, M::kStartStop);
  EXPECT_EQ(Text(page, M::kStartStop), "Stopping");
  EXPECT_TRUE(PumpUntil([&] { return Text(page, M::kStartStop) == "Start"; }, 10000));
  EXPECT_FALSE(u.host.IsProcessRunning());
  EXPECT_FALSE(analyser.IsStreaming());
  EXPECT_TRUE(u.host.messages.empty()) << u.host.LastMessage();
}

}  // namespace
