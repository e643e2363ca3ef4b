// The print preview of a known unit's report, and the report printed to a PDF file.

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QPrinter>
#include <QProcess>
#include <QScrollBar>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QWheelEvent>

#include "devices/VkcDeviceManager.h"
#include "reports/VkcPrintPaper.h"
#include "reports/VkcPrintPreviewClient.h"
#include "reports/VkcPrintPreviewWnd.h"
#include "reports/VkcReportPrinter.h"
#include "unit/VkcSystem.h"

namespace {

class PrintPreview : public ::testing::Test {
 protected:
  void SetUp() override {
    VkcReportPrinter::Instance().Reset();
    manager.RegisterPrototypes();
    const VkcDevice* device = manager.GetDevice(4);
    system.SetCurrentDevice(device);
    system.SetSoftwareVersion("2.1.7");
    const uint8_t serial[6] = {0x00, 0x1A, 0x2B, 0x3C, 0x4D, 0x5E};
    system.Factory().GetChild(0).GetChildAt(0).SetBytes(serial, 6);
  }
  // A long channel map makes the report run over more than one page.
  void LongChannelMap() {
    std::vector<uint32_t> channels;
    for (uint32_t i = 0; i < 32; ++i) channels.push_back(430000000u + 25000u * i);
    system.GetCurrentDevice()->SetChannelFrequencies(system, channels);
  }
  static int PdfPages(const QByteArray& pdf) {
    int pages = 0;
    for (qsizetype at = 0; (at = pdf.indexOf("/Type /Page", at)) >= 0; ++at) {
      if (pdf.mid(at + 11, 1) != "s") ++pages;
    }
    return pages;
  }

  VkcDeviceManager manager;
  VkcSystem system;
};

TEST_F(PrintPreview, PagesAreBrowsedWithNextAndPrevious) {
  VkcPrintPreviewWnd wnd(nullptr);
  wnd.Client()->SetScreenHeight(1000);
  ASSERT_TRUE(wnd.Create(&system));
  VkcPrintPaper* paper = wnd.Client()->Paper();
  EXPECT_EQ(paper->PaperSize().cx, 2100) << "no printer installed: A4";
  EXPECT_EQ(paper->PaperSize().cy, 2970);
  EXPECT_EQ(paper->PageCount(), 1);
  EXPECT_EQ(wnd.windowTitle(), "Print Preview - Page 1");
  EXPECT_FALSE(wnd.Action(VkcPrintPreviewWnd::kCmdNext)->isEnabled());
  EXPECT_FALSE(wnd.Action(VkcPrintPreviewWnd::kCmdPrevious)->isEnabled());
  EXPECT_EQ(paper->height(), 990);
  EXPECT_EQ(paper->width(), 1000 * 2100 / 2970 - 10);

  LongChannelMap();
  VkcPrintPreviewWnd longer(nullptr);
  longer.Client()->SetScreenHeight(1000);
  ASSERT_TRUE(longer.Create(&system));
  VkcPrintPaper* p2 = longer.Client()->Paper();
  ASSERT_GE(p2->PageCount(), 2);
  longer.Action(VkcPrintPreviewWnd::kCmdNext)->trigger();
  EXPECT_EQ(longer.windowTitle(), "Print Preview - Page 2");
  EXPECT_TRUE(longer.Action(VkcPrintPreviewWnd::kCmdPrevious)->isEnabled());
  p2->ShowPage(99);
  EXPECT_EQ(p2->CurrentPage(), 1) << "a page that does not exist is ignored";
  longer.Action(VkcPrintPreviewWnd::kCmdPrevious)->trigger();
  EXPECT_EQ(longer.windowTitle(), "Print Preview - Page 1");
}

TEST_F(PrintPreview, ScrollStepsAndWheelPartsThatAddUpToANotch) {
  VkcPrintPreviewWnd wnd(nullptr);
  wnd.Client()->SetScreenHeight(1000);
  ASSERT_TRUE(wnd.Create(&system));
  wnd.resize(400, 300);
  wnd.show();
  QApplication::processEvents();
  QScrollBar* bar = wnd.Client()->verticalScrollBar();
  ASSERT_GT(bar->maximum(), 100);
  for (QScrollBar* b : {bar, wnd.Client()->horizontalScrollBar()}) {
    EXPECT_EQ(b->singleStep(), 1);
    EXPECT_EQ(b->pageStep(), 10);
  }
  // Wheel turns toward the user, in parts of a notch (120) as a touchpad sends them.
  struct Step {
    int delta;
    int value;
  } steps[] = {{-40, 0}, {-40, 0}, {-40, 10}, {-120, 20}, {-100, 20}, {60, 20}, {160, 10}, {-360, 40}};
  for (const Step& s : steps) {
    QWheelEvent wheel(QPointF(10, 10), QPointF(10, 10), QPoint(), QPoint(0, s.delta), Qt::NoButton, Qt::NoModifier,
                      Qt::NoScrollPhase, false);
    QApplication::sendEvent(wnd.Client()->viewport(), &wheel);
    EXPECT_EQ(bar->value(), s.value) << s.delta;
  }
}

TEST_F(PrintPreview, TheReportPrintsToAPdfWithItsCopies) {
  LongChannelMap();
  QTemporaryDir dir;
  VkcPrintPreviewWnd wnd(nullptr);
  wnd.Client()->SetScreenHeight(800);
  ASSERT_TRUE(wnd.Create(&system));
  const int pages = wnd.Client()->Paper()->PageCount();
  QPrinter printer(QPrinter::HighResolution);
  printer.setOutputFormat(QPrinter::PdfFormat);
  const QString path = dir.filePath("report.pdf");
  printer.setOutputFileName(path);
  printer.setPageSize(QPageSize(QPageSize::A4));
  ASSERT_TRUE(wnd.PrintWith(printer, 0, 0, 2, true));
  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  const QByteArray pdf = file.readAll();
  EXPECT_TRUE(pdf.startsWith("%PDF-"));
  EXPECT_EQ(PdfPages(pdf), 2 * pages);
  EXPECT_EQ(printer.docName(), "Modulink Printing");

  const QString pdftotext = QStandardPaths::findExecutable("pdftotext");
  if (pdftotext.isEmpty()) GTEST_SKIP() << "pdftotext is not installed";
  QProcess text;
  text.start(pdftotext, {path, "-"});
  ASSERT_TRUE(text.waitForFinished(30000));
  // The text comes back with the "fi" ligature where the font has one.
  const QString out = QString::fromUtf8(text.readAllStandardOutput()).replace(QChar(0xFB01), "fi");
  for (const char* expected : {"Identification", "Serial Number", "00-1A-2B-3C-4D-5E", "Channel Map",
                               "430.775 MHz", "Sleep Settings"}) {
    EXPECT_TRUE(out.contains(expected)) << expected;
  }
}

}  // namespace
