// The Beacon almanac page end to end: a query of 40 stations from the simulated beacon receiver
// drawn station by station, and a failed query's message.

#include <gtest/gtest.h>

#include <QColor>
#include <QImage>
#include <map>
#include <set>

#include "chart/CChartAxis.h"
#include "chart/CChartCtrl.h"
#include "chart/CChartLineSerie.h"
#include "link/Utf.h"
#include "sim/SimAlmanac.h"
#include "unit/AlmanacSeriesStore.h"
#include "UtilityPageUnit.h"
#include "utilities/VkcPPAlmanacUtility.h"

namespace {

using M = VkcPPAlmanacUtilityModel;
using utiltest::PumpUntil;
using utiltest::Text;

TEST(AlmanacPage, StationNames) {
  const std::vector<std::pair<AlmanacStation, std::string>> cases = {
      {{287.5, 287.5, -80, -174, 200, 12}, "287.5kHz, ID=12"},
      {{300, 300, -80, -174, 100, 7}, "300kHz, ID=7"},
      {{283.567891, 283.567891, -80, -174, 100, 0}, "283.568kHz, ID=0"}};
  for (const auto& [station, name] : cases) EXPECT_EQ(Utf16ToUtf8(M::StationName(station)), name);
}

TEST(AlmanacPage, ThePictureBesideTheChartIsDrawnAtTheControlsSize) {
  VkcPPAlmanacUtility page;
  page.resize(900, 500);
  page.show();
  auto* picture = page.findChild<QWidget*>(QStringLiteral("ctl%1").arg(M::kPicture));
  ASSERT_NE(picture, nullptr);
  EXPECT_TRUE(picture->isVisible());
  EXPECT_EQ(picture->size(), QSize(VkcPPAlmanacUtility::kPictureWidth, VkcPPAlmanacUtility::kPictureHeight));
  // The page's background with a mast and waves in the bar colours on it.
  const QImage image = picture->grab().toImage();
  std::map<QRgb, int> counts;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x) ++counts[image.pixel(x, y) & 0xFFFFFF];
  const int area = image.width() * image.height();
  EXPECT_GT(counts[qRgb(0xE6, 0xE6, 0xFA) & 0xFFFFFF], area / 2);
  EXPECT_LT(counts[qRgb(0xE6, 0xE6, 0xFA) & 0xFFFFFF], area * 19 / 20);
  for (QRgb c : {qRgb(0, 0, 255), qRgb(60, 179, 113), qRgb(255, 0, 0)}) EXPECT_GT(counts[c & 0xFFFFFF], 10) << c;
}

TEST(AlmanacPage, FortyStationsAreDrawnOneBarEach) {
  utiltest::PageUnit u(3601);
  ASSERT_TRUE(u.opened);
  u.SetBeaconBand(283500, 325000);
  sim::SimAlmanac almanac(u.unit);
  const std::vector<sim::SimStation> stations = sim::SimAlmanac::MakeStations(40);
  almanac.SetStations(stations);
  VkcPPAlmanacUtility page;
  page.resize(900, 500);
  page.SetPageHost(&u.host);
  page.RefreshPage();
  page.Chart()->resize(600, 400);
  CChartCtrl& chart = *page.Chart();
  EXPECT_EQ(chart.GetBottomAxis()->GetMin(), 283.0);  // whole kHz
  EXPECT_EQ(chart.GetBottomAxis()->GetMax(), 325.0);

  utiltest::Click(page, M::kQuery);
  EXPECT_EQ(Text(page, M::kQuery), "Querying...");
  EXPECT_TRUE(u.host.IsProcessRunning());
  ASSERT_TRUE(PumpUntil([&] { return Text(page, M::kQuery) == "Query"; }, 20000));
  EXPECT_FALSE(u.host.IsProcessRunning());
  EXPECT_TRUE(u.host.messages.empty());
  ASSERT_EQ(chart.GetSeriesCount(), 40u);
  std::set<uint32_t> colors;
  size_t i = 0;
  for (CChartSerie* s = chart.GoToFirstSerie(); s != nullptr; s = chart.GetNextSerie(), ++i) {
    const sim::SimStation& st = stations[i];
    EXPECT_EQ(Utf16ToUtf8(s->GetName()), Utf16ToUtf8(M::StationName({st.frequencyHz / 1000.0, 0, 0, 0, 0,
                                                                     static_cast<uint32_t>(st.id)})));
    EXPECT_EQ(s->GetPointsCount(), 2u);
    EXPECT_EQ(static_cast<CChartLineSerie*>(s)->GetWidth(), 5);
    colors.insert(s->GetColor());
  }
  EXPECT_EQ(colors, (std::set<uint32_t>{0xFF0000, 0x71B33C, 0x0000FF}));
  // Bars of the three colours reach the image.
  const QImage image = chart.GetBufferImage();
  std::set<QRgb> seen;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x) seen.insert(image.pixel(x, y) & 0xFFFFFF);
  for (QRgb c : {qRgb(0, 0, 255), qRgb(60, 179, 113), qRgb(255, 0, 0)}) EXPECT_TRUE(seen.count(c & 0xFFFFFF)) << c;
  // Forty bars side by side: each station's frequency has its own column of its colour.
  std::set<int> barColumns;
  const int probe = image.height() - 40;  // every bar reaches down to the bottom
  for (int x = 0; x < chart.GetPlottingRect().right; ++x) {
    const QRgb c = image.pixel(x, probe) & 0xFFFFFF;
    if (c == (qRgb(0, 0, 255) & 0xFFFFFF) || c == (qRgb(60, 179, 113) & 0xFFFFFF) || c == (qRgb(255, 0, 0) & 0xFFFFFF))
      barColumns.insert(x / 5);
  }
  EXPECT_GE(barColumns.size(), 35u);

  // A refused query shows its message and leaves the chart empty.
  almanac.SetMasterReply(1);
  utiltest::Click(page, M::kQuery);
  ASSERT_TRUE(PumpUntil([&] { return Text(page, M::kQuery) == "Query"; }, 20000));
  EXPECT_EQ(u.host.LastMessage(),
            "Could not switch to Beacon Master.\nError response = @01\r\n on command = LINK SAR 1\r\n");
  EXPECT_EQ(chart.GetSeriesCount(), 0u);
  EXPECT_FALSE(u.host.IsProcessRunning());
}

}  // namespace
