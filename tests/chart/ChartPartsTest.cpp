#include <gtest/gtest.h>

#include <algorithm>

#include "chart/CChartLegend.h"
#include "chart/CChartTitle.h"
#include "ChartTestSupport.h"

using platform::qt::DcRecord;

namespace {

void AddNamed(CChartCtrl& ctrl, std::initializer_list<const char16_t*> names) {
  for (const char16_t* name : names) {
    CChartLineSerie* s = ctrl.CreateLineSerie();
    std::vector<SChartXYPoint> pts{{0, 10}, {100, 90}};
    s->SetPoints(pts.data(), 2);
    s->SetName(name);
  }
}

}  // namespace

TEST(ChartLegend, VerticalLayoutDockedRightTrimsTheChart) {
  RecordedChart chart;
  AddNamed(*chart.ctrl, {u"A", u"Bravo", u"Ch"});
  chart.ctrl->GetLegend()->SetVisible(true);
  chart.Draw();
  // 13-pixel legend font: 8 per character, 15 high; items max(15, 16) + 2 = 18 high.
  const int w = 5 * 8 + 16 + 12;
  const int h = 3 * 18 + 6;
  const int left = 397 - (w + 6);
  const int top = 294 / 2 - (h + 2) / 2;  // from the client origin
  EXPECT_EQ(chart.ctrl->GetLegend()->GetRect(), (ChartRect{left, top, left + w, top + h}));
  const ChartRect p = chart.ctrl->GetPlottingRect();
  EXPECT_EQ(p.right, left + 2 - (21 / 2 + 3));

  // Names beside the symbols, clipped to the legend; shadow, fill and outline first.
  const auto texts = chart.dc.Where([](const DcRecord& r) {
    return r.op == DcRecord::Op::TextOut && r.flags == 1;
  });
  ASSERT_EQ(texts.size(), 3u);
  EXPECT_EQ(texts[0].text, u"A");
  EXPECT_EQ(texts[0].points[0], (ChartPoint{left + 2 + 16 + 4, top + 5 + 17 / 2 - 15 / 2}));
  EXPECT_EQ(texts[1].points[0].y, texts[0].points[0].y + 18);
  EXPECT_EQ(texts[0].rect, chart.ctrl->GetLegend()->GetRect());
  const auto rects = chart.dc.Records(DcRecord::Op::Rectangle);
  ASSERT_EQ(rects.size(), 1u);
  EXPECT_EQ(rects[0].rect, chart.ctrl->GetLegend()->GetRect());
  const auto fills = chart.dc.Records(DcRecord::Op::FillSolidRect);
  ASSERT_GE(fills.size(), 2u);
  EXPECT_EQ(fills[0].rect, chart.ctrl->GetLegend()->GetRect().Offset(3, 3));
  EXPECT_EQ(fills[1].color, 0xFFFFFFu);
}

TEST(ChartLegend, DockedAtTheBottomAndWithoutNames) {
  RecordedChart chart;
  AddNamed(*chart.ctrl, {u"A", u"Bravo"});
  CChartLegend* legend = chart.ctrl->GetLegend();
  legend->SetVisible(true);
  legend->DockLegend(CChartLegend::kDockBottom);
  chart.Draw();
  const ChartRect r = legend->GetRect();
  EXPECT_EQ(r.bottom - r.top, 2 * 18 + 6);
  EXPECT_EQ(r.top, 297 - (r.Height() + 2));
  EXPECT_EQ(r.left, 394 / 2 - r.Width() / 2);
  EXPECT_EQ(chart.ctrl->GetPlottingRect().bottom, r.top - 2 - (6 + 13));

  RecordedChart unnamed;
  AddNamed(*unnamed.ctrl, {u"", u""});
  unnamed.ctrl->GetLegend()->SetVisible(true);
  unnamed.Draw();
  EXPECT_TRUE(unnamed.ctrl->GetLegend()->GetRect().IsRectEmpty());
  EXPECT_TRUE(unnamed.dc.Records(DcRecord::Op::Rectangle).empty());
  EXPECT_EQ(unnamed.ctrl->GetPlottingRect().right, 397 - (21 / 2 + 3));
}

TEST(ChartGrid, DashesThreeOnThreeOffFromThePlottingEdge) {
  RecordedChart chart;
  chart.Draw();
  const ChartRect p = chart.ctrl->GetPlottingRect();
  const int x = chart.bottom->ValueToScreen(50);
  const auto dashes = chart.dc.Where([&](const DcRecord& r) {
    return r.op == DcRecord::Op::LineTo && r.pen.color == 0x808080 && r.points[0].x == x &&
           r.points[1].x == x;
  });
  ASSERT_GE(dashes.size(), 3u);
  EXPECT_EQ(dashes[0].points, (std::vector<ChartPoint>{{x, p.bottom}, {x, p.bottom - 3}}));
  EXPECT_EQ(dashes[1].points[0].y, p.bottom - 6);
  EXPECT_GT(dashes.back().points[0].y, p.top);
  EXPECT_LE(dashes.back().points[0].y, p.top + 6);
  EXPECT_TRUE(dashes[0].clipped);
  EXPECT_EQ(dashes[0].clip, p);

  const int y = chart.left->ValueToScreen(50);
  const auto across = chart.dc.Where([&](const DcRecord& r) {
    return r.op == DcRecord::Op::LineTo && r.pen.color == 0x808080 && r.points[0].y == y &&
           r.points[1].y == y;
  });
  ASSERT_GE(across.size(), 2u);
  EXPECT_EQ(across[0].points, (std::vector<ChartPoint>{{p.left, y}, {p.left + 3, y}}));
}

TEST(ChartTitle, EmptyTitleTakesNoRoomAndLinesAreCentred) {
  RecordedChart chart;
  chart.Draw();
  const ChartRect without = chart.ctrl->GetPlottingRect();
  EXPECT_EQ(without.top, 3 + 13 / 2 + 3);
  chart.ctrl->GetTitle()->AddString(u"Hi");
  chart.Draw();
  // 4 + (15 + 2) high; the vertical axis keeps half a label below it.
  EXPECT_EQ(chart.ctrl->GetPlottingRect().top, 3 + 21 + 13 / 2 + 3);
  const auto texts = chart.dc.Records(DcRecord::Op::TextOut);
  ASSERT_FALSE(texts.empty());
  EXPECT_EQ(texts[0].text, u"Hi");
  EXPECT_EQ(texts[0].points[0], (ChartPoint{3 + 394 / 2 - 16 / 2, 3 + 4}));
}

TEST(ChartAxisLabel, VerticalLabelIsSwappedAndRotated) {
  RecordedChart chart;
  chart.left->GetLabel()->SetText(u"Level");
  chart.Draw();
  // "Level" at 13 pixels: 40 x 15, plus 4 each way, swapped.
  EXPECT_EQ(chart.left->GetLabel()->GetSize(&chart.dc), (ChartSize{19, 44}));
  EXPECT_EQ(chart.ctrl->GetPlottingRect().left, 3 + 10 + 21 + 19);
  const auto texts = chart.dc.Where([](const DcRecord& r) {
    return r.op == DcRecord::Op::TextOut && r.text == u"Level";
  });
  ASSERT_EQ(texts.size(), 1u);
  EXPECT_EQ(texts[0].font.escapement, 900);
  EXPECT_EQ(texts[0].points[0].x, 3 + 2);
  // Tick labels move right of the axis label.
  const auto hundred = chart.dc.Where([](const DcRecord& r) {
    return r.op == DcRecord::Op::TextOut && r.text == u"100" && r.font.escapement == 0 &&
           r.points[0].x < 60;
  });
  ASSERT_EQ(hundred.size(), 1u);
  EXPECT_EQ(hundred[0].points[0].x, 3 + 19 + 4);
}

TEST(ChartScrollBar, HiddenAndScrollsTheAxisByTenths) {
  RecordedChart chart;
  CChartLineSerie* s = chart.ctrl->CreateLineSerie();
  std::vector<SChartXYPoint> pts{{0, 0}, {1000, 100}};
  s->SetPoints(pts.data(), 2);
  CChartScrollBar* bar = chart.bottom->GetScrollBar();
  ASSERT_NE(bar, nullptr);
  EXPECT_TRUE(bar->isHidden());
  EXPECT_FALSE(bar->IsReversed());
  EXPECT_TRUE(chart.left->GetScrollBar()->IsReversed());
  bar->Refresh();
  EXPECT_EQ(bar->GetMax(), 99);
  EXPECT_EQ(bar->GetPage(), 10);
  EXPECT_EQ(bar->GetPos(), 0);
  chart.ctrl->OnScroll(bar, kSbLineDown, 0);
  EXPECT_NEAR(chart.bottom->GetMin(), 10, 1e-9);
  EXPECT_NEAR(chart.bottom->GetMax(), 110, 1e-9);
  chart.ctrl->OnScroll(bar, kSbPageDown, 0);
  EXPECT_NEAR(chart.bottom->GetMin(), 110, 1e-9);
  chart.ctrl->OnScroll(bar, kSbLineUp, 0);
  EXPECT_NEAR(chart.bottom->GetMin(), 100, 1e-9);
  chart.ctrl->OnScroll(bar, kSbBottom, 0);
  EXPECT_LE(chart.bottom->GetMax(), 1000 + 1e-9);  // stops at the last page
  bar->OnMouseEnter();
  EXPECT_TRUE(bar->isHidden());  // never enabled
}
