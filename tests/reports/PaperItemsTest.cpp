// Paper items measured, placed, drawn and split on a recording context with fixed text metrics
// (a character is round(0.6 x height) wide, a line height + 2 high).

#include <gtest/gtest.h>

#include "platform/qt/RecordingDc.h"
#include "reports/VkcPaperItemTable.h"
#include "reports/VkcPaperItemText.h"

using platform::qt::DcRecord;
using platform::qt::RecordingDc;

namespace {

std::unique_ptr<VkcPaperItemText> Text(const char16_t* s) { return std::make_unique<VkcPaperItemText>(s); }

// A one-column table of n text rows.
std::unique_ptr<VkcPaperItemTable> Column(int n) {
  auto t = std::make_unique<VkcPaperItemTable>(false);
  for (int i = 0; i < n; ++i) {
    t->NewRow();
    t->AddCell(Text(u"row"));
  }
  return t;
}

TEST(PaperText, MeasuredWithPaddingAndAWiderFontThanDrawn) {
  RecordingDc dc;
  VkcPaperItemText plain(u"abcd");
  const auto s = plain.Measure(dc);
  const int stock = VkcPaperItemText::kStockFontHeight;
  EXPECT_EQ(s.cx, 4 * static_cast<int>(std::lround(0.6 * stock)) + 80);
  EXPECT_EQ(s.cy, stock + 2 + 20);
  EXPECT_EQ(plain.MakeFont(1.5).averageWidth, 0) << "the stock font is used unchanged";

  VkcPaperItemText title(u"T");
  title.SetFormat(VkcPaperItemText::kLeft, 100, 700);
  EXPECT_EQ(title.MakeFont(1.5).averageWidth, 66);
  EXPECT_EQ(title.MakeFont(2.5).averageWidth, 40);
  title.Measure(dc);
  title.SetPosition(100, 200);
  dc.Clear();
  title.DrawItem(dc);
  const auto drawn = dc.Records(DcRecord::Op::DrawText);
  ASSERT_EQ(drawn.size(), 1u);
  EXPECT_EQ(drawn[0].rect.left, 120);
  EXPECT_EQ(drawn[0].rect.right, 100 + title.GetSizeValue().cx - 20);
  EXPECT_EQ(drawn[0].font.weight, 700);
  EXPECT_EQ(drawn[0].flags & platform::qt::kDtCenter, 0u);
}

TEST(PaperTable, SizesPlacesAndDrawsItsGrid) {
  RecordingDc dc;
  VkcPaperItemTable outer(true);
  outer.NewRow();
  outer.AddCell(Text(u"a"));
  outer.AddCell(Text(u"abcdef"));
  outer.NewRow();
  outer.AddCell(Text(u"abc"));
  auto inner = Column(2);
  VkcPaperItemTable* innerRaw = inner.get();
  outer.AddCell(std::move(inner));
  const auto size = outer.Measure(dc);
  const int rowH = VkcPaperItemText::kStockFontHeight + 22;
  const int w = static_cast<int>(std::lround(0.6 * VkcPaperItemText::kStockFontHeight));
  EXPECT_EQ(outer.ColumnWidths(), (std::vector<int>{3 * w + 80, 6 * w + 80}));
  EXPECT_EQ(outer.RowHeights(), (std::vector<int>{rowH, 2 * rowH}));
  EXPECT_EQ(size.cx, 9 * w + 160);
  EXPECT_EQ(outer.Cell(0, 1)->GetSizeValue().cy, 2 * rowH) << "every cell takes its row's height";

  outer.SetPosition(1000, 500);  // nested cells follow
  EXPECT_EQ(innerRaw->Cell(0, 1)->GetPosition().x, 1000 + 3 * w + 80);
  EXPECT_EQ(innerRaw->Cell(0, 1)->GetPosition().y, 500 + rowH + rowH);

  dc.Clear();
  outer.Draw(dc);
  int thin = 0, thick = 0;
  for (const auto& r : dc.Records(DcRecord::Op::LineTo)) (r.pen.width == 2 ? thin : thick)++;
  EXPECT_EQ(thin, 1 + 1 + 1) << "outer: one row line, one column line; inner: one row line";
  EXPECT_EQ(thick, 0);
  EXPECT_EQ(dc.Records(DcRecord::Op::Rectangle).size(), 1u);
  EXPECT_EQ(dc.Records(DcRecord::Op::Rectangle)[0].pen.width, 6);

  VkcPaperItemTable percent(false);
  percent.SetColumnWidthsV(false, 30, 70, 0);
  EXPECT_EQ(percent.ColumnWidths(), (std::vector<int>{0, 0})) << "no width known yet";
  VkcPaperItemTable fixed(false);
  fixed.SetColumnWidthsV(true, 500, 1000, 0);
  fixed.NewRow();
  fixed.AddCell(Text(u"x"));
  fixed.AddCell(Text(u"y"));
  EXPECT_EQ(fixed.Measure(dc).cx, 1500);
}

TEST(PaperTable, SplitsBetweenRowsInsideNestedTablesOrNotAtAll) {
  RecordingDc dc;
  // Four rows of a known height: limit 350 from y 100 splits at row 2 (bottom 400).
  auto rows = Column(4);
  rows->Measure(dc);
  const int h = rows->RowHeights()[0];
  rows->SetPosition(0, 100);
  auto rest = rows->Split(100 + 2 * h + h / 2);
  ASSERT_TRUE(rest);
  EXPECT_EQ(rows->RowCount(), 2);
  EXPECT_EQ(rows->GetSizeValue().cy, 2 * h);
  auto* restTable = static_cast<VkcPaperItemTable*>(rest.get());
  EXPECT_EQ(restTable->RowCount(), 2);
  EXPECT_EQ(restTable->GetSizeValue().cy, 2 * h);
  EXPECT_EQ(restTable->ColumnWidths(), rows->ColumnWidths());
  EXPECT_NE(restTable->Cell(0, 1), nullptr);

  // A text in the first row cannot split.
  auto single = Column(3);
  single->Measure(dc);
  single->SetPosition(0, 0);
  EXPECT_FALSE(single->Split(h / 2));

  // A section: heading row, then a nested table of 6 rows; the limit falls inside the nested one.
  auto section = std::make_unique<VkcPaperItemTable>(true);
  section->NewRow();
  section->AddCell(Text(u"Heading"));
  section->NewRow();
  section->AddCell(Column(6));
  section->Measure(dc);
  section->SetPosition(0, 0);
  auto piece = section->Split(h + 3 * h + h / 2);
  ASSERT_TRUE(piece);
  auto* pieceTable = static_cast<VkcPaperItemTable*>(piece.get());
  EXPECT_EQ(section->RowHeights(), (std::vector<int>{h, 3 * h}));
  EXPECT_EQ(pieceTable->RowHeights(), (std::vector<int>{3 * h}));
  EXPECT_EQ(pieceTable->ColumnWidths(), section->ColumnWidths());
  ASSERT_NE(pieceTable->Cell(0, 0), nullptr);

  // The nested table's own first row crosses the limit: the section splits between its rows,
  // never leaving a cell without an item.
  auto section2 = std::make_unique<VkcPaperItemTable>(true);
  section2->NewRow();
  section2->AddCell(Text(u"Heading"));
  section2->NewRow();
  section2->AddCell(Column(6));
  section2->Measure(dc);
  section2->SetPosition(0, 0);
  auto piece2 = section2->Split(h + h / 2);
  ASSERT_TRUE(piece2);
  EXPECT_EQ(section2->RowCount(), 1);
  auto* piece2Table = static_cast<VkcPaperItemTable*>(piece2.get());
  ASSERT_NE(piece2Table->Cell(0, 0), nullptr);
  EXPECT_EQ(static_cast<VkcPaperItemTable*>(piece2Table->Cell(0, 0))->RowCount(), 6);
  piece2->Measure(dc);
  piece2->Draw(dc);
  auto clone = piece2->CloneWithGeometry();
  EXPECT_EQ(clone->GetSizeValue().cy, piece2->GetSizeValue().cy);
}

}  // namespace
