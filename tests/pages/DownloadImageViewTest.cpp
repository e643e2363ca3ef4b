// The Download Firmware page's widgets: bound by control id, typing reaches the model, and what a
// worker posts to the page's handle shows in the progress bar and the log.

#include <QCoreApplication>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

#include "link/VkcLogMessage.h"
#include "link/VkcMessageIds.h"
#include "pages/VkcPPDownloadImage.h"
#include "support/FakePageHost.h"
#include "support/PageWidgets.h"

namespace {

using M = VkcPPDownloadImageModel;

using testsupport::Control;

TEST(DownloadImageView, TypingAndPostedProgressShow) {
  testsupport::FakePageHost host;
  VkcPPDownloadImage page(host.App());
  page.SetPageHost(&host);
  page.show();
  page.RefreshPage();
  auto* file = Control<QLineEdit>(&page, M::kFileName);
  auto* download = Control<QPushButton>(&page, M::kDownload);
  ASSERT_NE(file, nullptr);
  ASSERT_NE(download, nullptr);
  // No unit identified: the name cannot be edited and there is nothing to download.
  EXPECT_FALSE(file->isEnabled());
  EXPECT_FALSE(Control<QPushButton>(&page, M::kBrowse)->isEnabled());
  EXPECT_FALSE(download->isEnabled());
  page.GetModel().Controls().Enable(M::kFileName, true);
  page.UpdateControls();
  file->setFocus();
  QTest::keyClicks(file, QStringLiteral("a.xmd"));
  EXPECT_TRUE(download->isEnabled());

  VkcLogMessage log;
  log.Append("Downloading File...");
  platform::PostMessage(page.Handle(), kMsgProgress, kProgressPercent, 40);
  platform::PostMessage(page.Handle(), kMsgProgress, kProgressMailbox, reinterpret_cast<intptr_t>(&log));
  QCoreApplication::processEvents();
  EXPECT_EQ(Control<QProgressBar>(&page, M::kProgress)->value(), 40);
  EXPECT_EQ(Control<QPlainTextEdit>(&page, M::kLog)->toPlainText(), QStringLiteral("Downloading File..."));
}

}  // namespace
