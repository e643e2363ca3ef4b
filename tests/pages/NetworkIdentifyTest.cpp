// The Networking group's Identification page: its refusals before anything is sent, and the survey
// end to end through the page's widgets against a simulated network of five remote units.

#include <QApplication>
#include <QPushButton>
#include <QTest>
#include <QTreeWidget>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "PageUnitSupport.h"
#include "link/VkcSerialPort.h"
#include "pages/VkcPPNetworkIdentify.h"
#include "platform/Timing.h"
#include "sim/SimSurvey.h"
#include "sim/SimUnit.h"
#include "support/FakePageHost.h"
#include "support/TestSupport.h"
#include "support/PageWidgets.h"

namespace {

using M = VkcPPNetworkIdentifyModel;

using testsupport::Control;

class NetworkIdentify : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(unit.IsOk());
    host.App().SetPorts(&port, nullptr);
    ASSERT_TRUE(port.Open(unit.SlavePath16(), 115200, 8, 0, 0));
    pagetest::Identify(host, 4, "SW 3.1 Rev 4", kOwnId);
  }
  void TearDown() override {
    host.App().SetPorts(nullptr, nullptr);  // the unit's controllers must not reach a port that is gone
    port.Close();
    platform::SetTimeScale(1.0);
  }
  static constexpr uint8_t kOwnId[6] = {0x00, 0x1A, 0x2B, 0x3C, 0x4D, 0x5E};

  testsupport::FakePageHost host;
  sim::SimUnit unit;
  sim::SimSurvey network{unit, sim::SimNetwork::Default()};
  VkcSerialPort port;
  pagetest::GlobalUnit global{host.System()};
};

TEST_F(NetworkIdentify, RefusalsSendNothingAndLeaveThePageUsable) {
  M model;
  model.SetHost(&host);
  model.Refresh();
  ASSERT_EQ(model.Controls().Get(M::kTree).RowCount(), 1);
  EXPECT_EQ((*model.Controls().Get(M::kTree).rows)[0].cells[0], u"001A2B3C4D5E");
  EXPECT_TRUE(model.Controls().Get(M::kRefreshNetwork).enabled);

  struct Case {
    const char* what;
    std::function<void()> setUp;
    std::string message;
    bool sent;  // the command-mode switch reached the unit
  } cases[] = {
      {"another owner holds the lock", [&] { host.lock.Lock(&host); }, "Unable to run network discovery.\nAnother process is running", false},
      {"port closed", [&] { port.Close(); }, "Communication port is not open", false},
      {"port closed, lock held elsewhere", [&] { port.Close(); host.lock.Lock(&host); }, "Communication port is not open", false},
      {"no command mode", [&] { host.results.push_back({2, 1, false}); }, "Unable to switch to command mode", false},
      {"no thread", [&] { model.Survey()->FailNextStart(); }, "Unable to start Thread", true},
  };
  for (const Case& c : cases) {
    host.messages.clear();
    unit.ClearRecord();
    c.setUp();
    model.Handle(M::kRefreshNetwork, ControlEvent::Clicked);
    EXPECT_EQ(host.LastMessage(), c.message) << c.what;
    EXPECT_FALSE(model.IsRunning()) << c.what;
    EXPECT_EQ(model.Controls().Text(M::kRefreshNetwork), u"Refresh Network") << c.what;
    EXPECT_EQ(!unit.Received().empty(), c.sent) << c.what;
    EXPECT_TRUE(host.lock.Unlock(&host)) << c.what;  // the page gave the lock back
    EXPECT_FALSE(host.lock.IsHeld()) << c.what;
    if (!port.IsOpen()) {
      ASSERT_TRUE(port.Open(unit.SlavePath16(), 115200, 8, 0, 0));
    }
  }

  // Without an identified unit the tree is empty and both buttons are off.
  host.System().Reset();
  model.Refresh();
  EXPECT_EQ(model.Controls().Get(M::kTree).RowCount(), 0);
  EXPECT_FALSE(model.Controls().Get(M::kRefreshNetwork).enabled);
  EXPECT_FALSE(model.Controls().Get(M::kRefreshUnit).enabled);
}

TEST_F(NetworkIdentify, SurveyListsEveryUnitWithItsParametersAndStopEndsItWithinASecond) {
  VkcPPNetworkIdentify page;
  page.SetPageHost(&host);
  page.resize(700, 400);
  page.show();
  page.RefreshPage();
  auto* tree = Control<QTreeWidget>(&page, M::kTree);
  auto* list = Control<QTreeWidget>(&page, M::kList);
  auto* refreshNetwork = Control<QPushButton>(&page, M::kRefreshNetwork);
  auto* refreshUnit = Control<QPushButton>(&page, M::kRefreshUnit);
  ASSERT_TRUE(tree && list && refreshNetwork && refreshUnit);
  auto idle = [&] {
    return refreshNetwork->text() == "Refresh Network" && refreshUnit->text() == "Refresh Unit" &&
           refreshNetwork->isEnabled() && refreshUnit->isEnabled();
  };
  auto waitIdle = [&](int ms) {
    return testsupport::WaitUntil(
        [&] {
          QApplication::processEvents();
          return idle();
        },
        ms);
  };

  platform::SetTimeScale(0.1);  // the silent remote unit's 14 s become 1.4 s
  refreshNetwork->click();
  EXPECT_EQ(refreshNetwork->text(), "Stop");
  EXPECT_FALSE(refreshUnit->isEnabled());
  EXPECT_TRUE(host.lock.IsHeld());
  ASSERT_TRUE(waitIdle(30000));
  EXPECT_TRUE(host.messages.empty()) << host.LastMessage();
  EXPECT_FALSE(host.lock.IsHeld());

  // The local unit and its five remote units; the unreachable and the silent one marked.
  ASSERT_EQ(tree->topLevelItemCount(), 1);
  QTreeWidgetItem* root = tree->topLevelItem(0);
  EXPECT_EQ(root->text(0), "001A2B3C4D5E");
  ASSERT_EQ(root->childCount(), 5);
  const int expectedImage[] = {M::kImageAnswered, M::kImageAnswered, M::kImageSilent, M::kImageSilent, M::kImageAnswered};
  const std::vector<ControlRow>& shownRows = *page.GetModel().Controls().Get(M::kTree).rows;
  ASSERT_EQ(shownRows.size(), 6u);
  EXPECT_EQ(shownRows[0].icon, M::kImageLocal);
  for (int i = 0; i < 5; ++i) {
    EXPECT_EQ(root->child(i)->text(0), QStringLiteral("00112233AAB%1").arg(QChar('B' + i)));
    EXPECT_FALSE(root->child(i)->icon(0).isNull());
    EXPECT_EQ(shownRows[static_cast<size_t>(i) + 1].icon, expectedImage[i]) << i;
  }

  // The first remote unit's parameters, section by section, translated for its model.
  tree->setCurrentItem(root->child(0));
  QApplication::processEvents();
  std::vector<std::string> rows;
  for (int i = 0; i < list->topLevelItemCount(); ++i)
    rows.push_back((list->topLevelItem(i)->text(0) + "=" + list->topLevelItem(i)->text(1)).toStdString());
  ASSERT_EQ(rows.size(), 5u + 4 + 5 + 8 + 1 + 5);
  EXPECT_EQ(rows[0], "DPORT=");
  EXPECT_EQ(rows[5], "INFO=");
  EXPECT_EQ(rows[8], "  Product ID=4");
  EXPECT_EQ(rows[9], "  S/N=00112233AABB");
  EXPECT_EQ(rows[11], "LINK=");
  EXPECT_EQ(rows[12], "  CHAN=4");
  EXPECT_EQ(rows[22], "STATE=");
  EXPECT_EQ(rows[25], "  RSSI=-81");
  const VkcDevice* vk400 = host.DeviceManager().GetDevice(4);
  const std::string modulation = vk400->TranslateSetting("LINK", "MOD", "2");
  EXPECT_NE(modulation, "2");
  EXPECT_EQ(rows[15], "  MOD=" + modulation);
  EXPECT_EQ(rows[16], "  PROT=" + vk400->TranslateSetting("LINK", "PROT", "1"));
  tree->setCurrentItem(root->child(2));  // unreachable: no parameters
  QApplication::processEvents();
  EXPECT_EQ(list->topLevelItemCount(), 0);

  // Stop while the silent unit is asked: the survey ends within a second, without a message.
  platform::SetTimeScale(1.0);
  unit.ClearRecord();
  refreshNetwork->click();
  ASSERT_TRUE(testsupport::WaitUntil(
      [&] {
        QApplication::processEvents();
        return page.GetModel().AnimatedUnit() == 3 && unit.WaitForReceived("CONNECT 00112233AABE\r", 0);
      },
      20000));
  refreshNetwork->click();
  EXPECT_FALSE(refreshNetwork->isEnabled());
  EXPECT_TRUE(waitIdle(1000));
  EXPECT_TRUE(host.messages.empty()) << host.LastMessage();
  EXPECT_FALSE(host.lock.IsHeld());
  EXPECT_EQ(unit.Commands().back(), "EXIT");

  // Refresh Unit asks the selected unit only.
  tree->setCurrentItem(root->child(4));
  QApplication::processEvents();
  unit.ClearRecord();
  refreshUnit->click();
  ASSERT_TRUE(waitIdle(10000));
  std::vector<std::string> commands;
  for (const std::string& c : unit.Commands())
    if (c.find("DD") == std::string::npos) commands.push_back(c);
  EXPECT_EQ(commands, (std::vector<std::string>{"CONNECT 00112233AABF", "LINK", "MPORT", "DPORT", "STATE", "INFO", "EXIT"}));
}

}  // namespace
