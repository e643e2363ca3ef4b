// The BERT pages' widgets: bound by control id, user actions reach the model and the settings.

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QTest>

#include <gtest/gtest.h>

#include "link/VkcSerialPort.h"
#include "platform/Timing.h"
#include "sim/SimBert.h"
#include "sim/SimIdent.h"
#include "sim/SimUnit.h"
#include "sim/SimUnitControl.h"
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
  EXPECT_EQ(Control<QComboBox>(&page, bertpage::kRunningTime)->currentText(), QStringLiteral("120"));
  QTest::mouseClick(Control<QCheckBox>(&page, bertpage::kStatistics), Qt::LeftButton);
  EXPECT_FALSE(Control<QPushButton>(&page, bertpage::kBrowse)->isEnabled());
  EXPECT_EQ(host.App().Setting("BERT_RX", "Statistics").GetInt(), 0);
}

// A transceiver on the simulated unit, the pages' port.
class BertView : public ::testing::Test {
 protected:
  void SetUp() override {
    platform::SetTimeScale(0.2);
    ASSERT_TRUE(port.Open(unit.SlavePath16(), 115200, 8, 0, 0));
    host.App().SetPorts(&port, nullptr);
    host.System().SetCurrentDevice(host.DeviceManager().GetDevice(4));
  }
  void TearDown() override {
    host.App().SetPorts(nullptr, nullptr);
    platform::SetTimeScale(1.0);
  }
  testsupport::FakePageHost host;
  sim::SimUnit unit;
  sim::SimUnitControl control{unit};
  sim::SimIdent ident{unit, sim::IdentOptions{}};
  sim::SimBert bert{unit, ident, control};
  VkcSerialPort port;
};

// The editable boxes' text is the page's, both ways: "Infinite" shows without a stored time, a
// typed interval is stored, and a typed running time is the one a test runs for, with the
// progress bar's range, ending by itself.
TEST_F(BertView, EditableBoxesCarryWhatIsTyped) {
  VkcPPBERTTx tx(host.App());
  tx.SetPageHost(&host);
  tx.show();
  tx.RefreshPage();
  for (QRadioButton* mode : tx.findChildren<QRadioButton*>())
    if (mode->text() == QStringLiteral("Intervals")) QTest::mouseClick(mode, Qt::LeftButton);
  auto* interval = Control<QComboBox>(&tx, VkcPPBERTTxModel::kInterval);
  ASSERT_TRUE(interval->isEnabled());
  interval->lineEdit()->selectAll();
  QTest::keyClicks(interval->lineEdit(), QStringLiteral("350"));
  EXPECT_EQ(host.App().Setting("BERT_TX", "Interval").GetInt(), 350);

  VkcPPBERTRx rx(host.App());
  rx.SetPageHost(&host);
  rx.show();
  rx.RefreshPage();
  auto* running = Control<QComboBox>(&rx, bertpage::kRunningTime);
  EXPECT_EQ(running->currentText(), QStringLiteral("Infinite"));
  running->lineEdit()->selectAll();
  QTest::keyClicks(running->lineEdit(), QStringLiteral("2"));
  QTest::keyClick(running->lineEdit(), Qt::Key_Delete);  // what the list completes it to
  ASSERT_EQ(running->currentText(), QStringLiteral("2"));
  auto* start = Control<QPushButton>(&rx, bertpage::kStart);
  QTest::mouseClick(start, Qt::LeftButton);
  EXPECT_EQ(start->text(), QStringLiteral("Stop")) << host.LastMessage();
  auto* progress = Control<QProgressBar>(&rx, bertpage::kProgress);
  EXPECT_TRUE(progress->isVisible());
  EXPECT_EQ(progress->maximum(), 2);
  EXPECT_EQ(host.App().Setting("BERT_RX", "Running Time").GetString(), "2");
  EXPECT_TRUE(QTest::qWaitFor([&] { return start->text() == QStringLiteral("Start"); }, 30000));
  EXPECT_FALSE(progress->isVisible());
  EXPECT_FALSE(host.IsProcessRunning());
}

}  // namespace
