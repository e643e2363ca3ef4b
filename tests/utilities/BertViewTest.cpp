// The BERT pages' widgets: bound by control id, user actions reach the model and the settings.

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QSlider>
#include <QTest>

#include <gtest/gtest.h>

#include "support/FakePageHost.h"
#include "utilities/VkcPPBERTRx.h"
#include "utilities/VkcPPBERTTx.h"
#include "support/PageWidgets.h"

namespace {

using testsupport::Control;

TEST(BertTxView, DutyAndStatisticsControlsReachTheSettings) {
  testsupport::FakePageHost host;
  VkcPPBERTTx page(host.App());
  page.SetPageHost(&host);
  page.show();
  page.RefreshPage();
  // Without a unit nothing can start.
  auto* start = Control<QPushButton>(&page, bertpage::kStart);
  ASSERT_NE(start, nullptr);
  EXPECT_FALSE(start->isEnabled());
  EXPECT_EQ(start->text(), QStringLiteral("Start"));
  EXPECT_FALSE(Control<QWidget>(&page, bertpage::kProgress)->isVisible());
  auto* browse = Control<QPushButton>(&page, bertpage::kBrowse);
  EXPECT_FALSE(browse->isEnabled());
  QTest::mouseClick(Control<QCheckBox>(&page, bertpage::kStatistics), Qt::LeftButton);
  EXPECT_TRUE(browse->isEnabled());
  EXPECT_EQ(host.App().Setting("BERT_TX", "Statistics").GetInt(), 1);
  // The duty slider follows what is typed (enabled once a unit is there; set here directly).
  page.GetModel().Controls().Enable(VkcPPBERTTxModel::kDuty, true);
  page.UpdateControls();
  auto* duty = Control<QLineEdit>(&page, VkcPPBERTTxModel::kDuty);
  duty->setFocus();
  duty->selectAll();
  QTest::keyClicks(duty, QStringLiteral("42"));
  EXPECT_EQ(Control<QSlider>(&page, VkcPPBERTTxModel::kDutySlider)->value(), 42);
  EXPECT_EQ(host.App().Setting("BERT_TX", "Duty Cycle").GetInt(), 42);
}

TEST(BertRxView, StartsIdleWithItsTextsAndStatisticsControls) {
  testsupport::FakePageHost host;
  host.App().Setting("BERT_RX", "Statistics").SetInt(1);
  host.App().Setting("BERT_RX", "Running Time").SetString("120");
  VkcPPBERTRx page(host.App());
  page.SetPageHost(&host);
  page.show();
  page.RefreshPage();
  EXPECT_FALSE(Control<QPushButton>(&page, bertpage::kStart)->isEnabled());
  EXPECT_EQ(Control<QLineEdit>(&page, VkcPPBERTRxModel::kBer)->text(), QStringLiteral("N/A"));
  EXPECT_TRUE(Control<QLineEdit>(&page, VkcPPBERTRxModel::kBer)->isReadOnly());
  EXPECT_TRUE(Control<QPushButton>(&page, bertpage::kBrowse)->isEnabled());
  EXPECT_FALSE(Control<QWidget>(&page, bertpage::kElapsed)->isVisible());
  QTest::mouseClick(Control<QCheckBox>(&page, bertpage::kStatistics), Qt::LeftButton);
  EXPECT_FALSE(Control<QPushButton>(&page, bertpage::kBrowse)->isEnabled());
  EXPECT_EQ(host.App().Setting("BERT_RX", "Statistics").GetInt(), 0);
}

}  // namespace
