#include <QImage>
#include <QPainter>
#include <QPrinter>
#include <gtest/gtest.h>

#include "platform/qt/MemoryDc.h"
#include "platform/qt/QtDc.h"
#include "platform/qt/RecordingDc.h"
#include "support/TestSupport.h"

using namespace platform::qt;

namespace {

QImage WhiteImage(int w, int h) {
  QImage img(w, h, QImage::Format_RGB32);
  img.fill(Qt::white);
  return img;
}

bool IsWhite(const QImage& img, int x, int y) { return img.pixel(x, y) == qRgb(255, 255, 255); }

}  // namespace

TEST(DcTypes, RectHasGdiExtents) {
  const Rect r{2, 3, 7, 9};
  EXPECT_EQ(r.Width(), 5);
  EXPECT_EQ(r.Height(), 6);
  EXPECT_TRUE(r.PtInRect({2, 3}));
  EXPECT_FALSE(r.PtInRect({7, 3}));
  EXPECT_FALSE(r.PtInRect({2, 9}));
  EXPECT_TRUE((Rect{5, 5, 5, 9}).IsRectEmpty());
  EXPECT_EQ(r.Deflated(1), (Rect{3, 4, 6, 8}));
  EXPECT_EQ(r.Inflated(1), (Rect{1, 2, 8, 10}));
}

TEST(DcTypes, ColorRefIsBgrAndPointSizesBecomePixelsAtScreenResolution) {
  EXPECT_EQ(Rgb(60, 179, 113), 0x71B33Cu);
  EXPECT_EQ(ToQColor(0xFAE6E6), QColor(230, 230, 250));
  EXPECT_EQ(FromQColor(QColor(0, 0, 255)), 0xFF0000u);
  EXPECT_EQ(Font::PointsToPixels(80), 11);
  EXPECT_EQ(Font::PointsToPixels(100), 13);
  EXPECT_EQ(Font::PointsToPixels(100, 1200), 167);
}

TEST(RecordingDc, MeasuresWithFixedMetricsAndRestoresState) {
  RecordingDc dc;
  dc.SelectFont(Font::FromPointSize(80, "Microsoft Sans Serif"));
  EXPECT_EQ(dc.GetTextExtent(u"100"), (Size{21, 13}));
  dc.SaveDC();
  dc.SelectPen(Pen::Solid(2, 0x0000FF));
  dc.SetClipRect({0, 0, 10, 10});
  dc.MoveTo(1, 1);
  dc.LineTo(5, 1);
  dc.RestoreDC();
  EXPECT_EQ(dc.CurrentPen(), Pen{});
  EXPECT_FALSE(dc.IsClipped());
  const auto lines = dc.Records(DcRecord::Op::LineTo);
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_EQ(lines[0].points, (std::vector<Point>{{1, 1}, {5, 1}}));
  EXPECT_EQ(lines[0].pen.width, 2);
  EXPECT_TRUE(lines[0].clipped);
  EXPECT_EQ(lines[0].clip, (Rect{0, 0, 10, 10}));
}

TEST(QtDc, ColoursAreBgrAndFillsExcludeRightAndBottom) {
  QImage img = WhiteImage(20, 20);
  {
    QtDc dc(&img);
    dc.FillSolidRect({2, 2, 6, 5}, 0xFF0000);  // blue
  }
  EXPECT_EQ(img.pixel(2, 2), qRgb(0, 0, 255));
  EXPECT_EQ(img.pixel(5, 4), qRgb(0, 0, 255));
  EXPECT_TRUE(IsWhite(img, 6, 4));
  EXPECT_TRUE(IsWhite(img, 5, 5));
}

TEST(QtDc, LinesLeaveOutTheirEndPixelAndRectanglesStayInside) {
  QImage img = WhiteImage(20, 20);
  {
    QtDc dc(&img);
    dc.SelectPen(Pen::Solid(0, 0));
    dc.MoveTo(2, 2);
    dc.LineTo(10, 2);
    dc.MoveTo(2, 15);
    dc.LineTo(2, 12);
    dc.MoveTo(15, 18);
    dc.LineTo(10, 18);
    dc.SelectBrush(Brush::Hollow());
    dc.Rectangle({4, 5, 9, 10});
  }
  EXPECT_FALSE(IsWhite(img, 2, 2));
  EXPECT_FALSE(IsWhite(img, 9, 2));
  EXPECT_TRUE(IsWhite(img, 10, 2));
  // Upwards as the grid draws its dashes: 15, 14, 13.
  EXPECT_FALSE(IsWhite(img, 2, 15));
  EXPECT_FALSE(IsWhite(img, 2, 13));
  EXPECT_TRUE(IsWhite(img, 2, 12));
  EXPECT_FALSE(IsWhite(img, 15, 18));
  EXPECT_FALSE(IsWhite(img, 11, 18));
  EXPECT_TRUE(IsWhite(img, 10, 18));
  EXPECT_FALSE(IsWhite(img, 4, 5));
  EXPECT_FALSE(IsWhite(img, 8, 9));
  EXPECT_TRUE(IsWhite(img, 9, 9));
  EXPECT_TRUE(IsWhite(img, 8, 10));
  EXPECT_TRUE(IsWhite(img, 6, 7));  // hollow
}

TEST(QtDc, TextIsAnchoredAtItsTop) {
  QImage img = WhiteImage(80, 60);
  Size ext;
  {
    QtDc dc(&img);
    dc.SelectFont(Font::FromPointSize(100, "Microsoft Sans Serif"));
    dc.SetBkMode(BkMode::Transparent);
    ext = dc.GetTextExtent(u"HMg");
    dc.ExtTextOut(10, 20, u"HMg");
  }
  ASSERT_GT(ext.cy, 8);
  int topInk = -1;
  int bottomInk = -1;
  for (int y = 0; y < img.height(); ++y) {
    for (int x = 0; x < img.width(); ++x) {
      if (!IsWhite(img, x, y)) {
        if (topInk < 0) topInk = y;
        bottomInk = y;
      }
    }
  }
  EXPECT_GE(topInk, 20);
  EXPECT_LE(topInk, 20 + ext.cy / 2);
  EXPECT_LT(bottomInk, 20 + ext.cy);
}

TEST(QtDc, GradientXorAndClip) {
  QImage img = WhiteImage(40, 40);
  {
    QtDc dc(&img);
    dc.GradientFillRect({0, 0, 40, 20}, 0x0000FF, 0xFF0000, true);  // red at the top to blue
    dc.SetClipRect({0, 20, 10, 40});
    dc.FillSolidRect({0, 20, 40, 40}, 0x00FFFF);  // yellow, only left of x = 10
    dc.ClearClip();
    dc.SetXorMode(true);
    dc.FillSolidRect({30, 30, 32, 32}, 0x00FFFF);  // yellow XOR white
  }
  const QColor top(img.pixel(20, 0));
  const QColor bottom(img.pixel(20, 19));
  EXPECT_GT(top.red(), 230);
  EXPECT_LT(top.blue(), 25);
  EXPECT_GT(bottom.blue(), 230);
  EXPECT_LT(bottom.red(), 25);
  EXPECT_EQ(img.pixel(5, 25), qRgb(255, 255, 0));
  EXPECT_TRUE(IsWhite(img, 15, 25));
  EXPECT_EQ(img.pixel(30, 30), qRgb(0, 0, 255));
}

TEST(QtDc, MemoryDcBlitsAndReportsItsCaps) {
  MemoryDc mem({30, 20});
  ASSERT_TRUE(mem.IsValid());
  {
    auto dc = mem.Begin();
    dc->FillSolidRect({0, 0, 30, 20}, 0x009600);
    EXPECT_EQ(dc->GetDeviceCaps().widthPx, 30);
    EXPECT_EQ(dc->GetDeviceCaps().heightPx, 20);
  }
  QImage target = WhiteImage(50, 50);
  {
    QtDc dc(&target);
    mem.BlitTo(dc, 10, 5);
  }
  EXPECT_EQ(target.pixel(10, 5), qRgb(0, 150, 0));
  EXPECT_EQ(target.pixel(39, 24), qRgb(0, 150, 0));
  EXPECT_TRUE(IsWhite(target, 40, 24));
}

TEST(QtDc, PrinterCapsAndMappingScaleLogicalUnits) {
  testsupport::TempDir dir;
  QPrinter printer(QPrinter::HighResolution);
  printer.setOutputFormat(QPrinter::PdfFormat);
  printer.setOutputFileName(QString::fromStdString(dir.File("out.pdf")));
  printer.setPageSize(QPageSize(QPageSize::A4));
  QPainter painter;
  ASSERT_TRUE(painter.begin(&printer));
  {
    QtDc dc(painter);
    const DeviceCaps caps = dc.GetDeviceCaps();
    EXPECT_EQ(caps.dpiX, 1200);
    EXPECT_GT(caps.widthPx, 9000);
    dc.SelectFont(Font::FromPointSize(100, "Microsoft Sans Serif"));
    const Size before = dc.GetTextExtent(u"100");
    dc.SetMapping({caps.widthPx / 4, caps.heightPx / 4}, {caps.widthPx, caps.heightPx});
    // Text is measured in logical units: the mapping does not change it.
    EXPECT_EQ(dc.GetTextExtent(u"100"), before);
    dc.ExtTextOut(10, 10, u"100");
  }
  painter.end();
}
