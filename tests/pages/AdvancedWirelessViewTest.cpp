#include "pages/VkcPPAdvancedWireless.h"

#include <QApplication>
#include <QLineEdit>
#include <QRadioButton>
#include <QTest>

#include <gtest/gtest.h>

#include "devices/VkcDeviceManager.h"
#include "devices/VkcImageNodes.h"
#include "support/FakePageHost.h"
#include "unit/VkcSystem.h"

namespace {

using M = VkcPPAdvancedWirelessModel;

TEST(AdvancedWirelessView, TypedCallSignIsUpperCaseAndCustomSecondsFollowTheMode) {
  testsupport::FakePageHost host;
  host.System().SetSoftwareVersion("SW 3.2 Rev 0");
  host.System().SetCurrentDevice(host.DeviceManager().GetDevice(4));
  VkcPPAdvancedWireless page;
  page.SetPageHost(&host);
  page.show();
  page.RefreshPage();
  QApplication::setActiveWindow(&page);
  auto* callSign = page.findChild<QLineEdit*>(QStringLiteral("ctl%1").arg(M::kCallSign));
  auto* seconds = page.findChild<QLineEdit*>(QStringLiteral("ctl%1").arg(M::kSeconds));
  auto* custom = page.findChild<QRadioButton*>(QStringLiteral("ctl%1").arg(M::kResetCustom));
  ASSERT_TRUE(callSign && seconds && custom);
  callSign->setFocus();
  QTest::keyClicks(callSign, "k1abc");
  EXPECT_EQ(callSign->text(), QStringLiteral("K1ABC"));
  EXPECT_FALSE(seconds->isEnabled());
  custom->click();
  EXPECT_TRUE(seconds->isEnabled());
  EXPECT_TRUE(page.ApplyPage());
  EXPECT_EQ(host.System().Find(VkcNodes::kTxStartDelayCallSign)->GetString(), "K1ABC");
  EXPECT_TRUE(host.messages.empty());
}

}  // namespace
