// The Identification, Remote List and Modem pages driven through their widgets.

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QTest>

#include <gtest/gtest.h>

#include "PageUnitSupport.h"
#include "app/ModulinkApp.h"
#include "app/VkcMultiEdit.h"
#include "pages/VkcPPIdentify.h"
#include "pages/VkcPPModem.h"
#include "pages/VkcPPRemoteList.h"
#include "support/PageWidgets.h"

namespace {

using testsupport::Control;

struct Views : ::testing::Test {
  testsupport::FakePageHost host;
  pagetest::GlobalUnit global{host.System()};
};

TEST_F(Views, IdentificationShowsTheUnitAndTheAddressOnlyForInterfaceTwo) {
  using I = VkcPPIdentifyModel;
  pagetest::Identify(host, 4);
  host.App().Setting(ModulinkApp::kSerialSection, ModulinkApp::kInterfaceKey).SetInt(2);
  VkcPPIdentify page;
  page.SetPageHost(&host);
  page.show();
  auto* address = Control<VkcMultiEdit>(&page, I::kAddress);
  ASSERT_NE(address, nullptr);
  EXPECT_FALSE(address->isVisible());  // hidden until a refresh says otherwise
  page.RefreshPage();
  EXPECT_EQ(Control<QLineEdit>(&page, I::kUnitType)->text(), QStringLiteral("VK400, ID 4"));
  EXPECT_EQ(Control<VkcMultiEdit>(&page, I::kSerialNumber)->text(), QStringLiteral("12-34-56-78-9A-BC"));
  EXPECT_TRUE(Control<QLineEdit>(&page, I::kFirmware)->isReadOnly());
  EXPECT_TRUE(address->isVisible());
  EXPECT_TRUE(Control<QLabel>(&page, I::kAddressLabel)->isVisible());
  address->setFocus();
  address->selectAll();
  QTest::keyClicks(address, QStringLiteral("0a1b2c3d4e5f"));
  EXPECT_TRUE(page.ApplyPage());
  EXPECT_EQ(host.System().GetOwnUnitAddress().ToString(std::u16string_view()), u"0A1B2C3D4E5F");
}

TEST_F(Views, RemoteListStoresOnItsApplyButton) {
  using R = VkcPPRemoteListModel;
  pagetest::Identify(host, 12, "SW 2.1 Rev 4");
  VkcPPRemoteList page;
  page.SetPageHost(&host);
  page.show();
  auto* first = Control<VkcMultiEdit>(&page, R::kRemote1);
  ASSERT_NE(first, nullptr);
  EXPECT_EQ(first->GetRawText(), u"000000000000");
  page.RefreshPage();
  EXPECT_TRUE(first->isEnabled());
  first->setFocus();
  first->selectAll();
  QTest::keyClicks(first, QStringLiteral("010203040506"));
  EXPECT_TRUE(page.ApplyPage());
  EXPECT_EQ(host.System().Find(VkcNodes::kRemoteList), nullptr);
  Control<QPushButton>(&page, R::kApply)->click();
  ASSERT_NE(host.System().Find(VkcNodes::kRemoteList), nullptr);
  EXPECT_EQ(host.System().Find(VkcNodes::kRemoteList)->ChildAt(0).GetByteVector(),
            std::vector<uint8_t>({1, 2, 3, 4, 5, 6}));

  pagetest::Identify(host, 2);  // a receiver
  page.RefreshPage();
  EXPECT_FALSE(first->isEnabled());
  EXPECT_FALSE(Control<QPushButton>(&page, R::kApply)->isEnabled());
}

TEST_F(Views, ModemSleepAndAlarmControlsThroughTheWidgets) {
  using M = VkcPPModemModel;
  pagetest::Identify(host, 4);
  host.System().WriteInt(VkcNodes::kSleepInactivity, 50);
  VkcPPModem page;
  page.SetPageHost(&host);
  page.show();
  page.RefreshPage();
  auto* slider = Control<QSlider>(&page, M::kInactivitySlider);
  auto* edit = Control<QLineEdit>(&page, M::kInactivity);
  ASSERT_TRUE(slider && edit);
  EXPECT_EQ(edit->text(), QStringLiteral("5000"));
  EXPECT_EQ(slider->value(), 5000);
  EXPECT_EQ(slider->maximum(), 25500);
  slider->triggerAction(QAbstractSlider::SliderToMaximum);
  EXPECT_EQ(edit->text(), QStringLiteral("25500"));

  auto* output2 = Control<QCheckBox>(&page, M::kOutput2);
  ASSERT_TRUE(output2->isVisible());
  output2->click();
  EXPECT_TRUE(Control<QRadioButton>(&page, M::kEvent2Buttons[0])->isChecked());
  Control<QRadioButton>(&page, M::kEvent2Buttons[2])->click();
  EXPECT_TRUE(Control<QRadioButton>(&page, M::kThresholdButtons[0])->isChecked());
  EXPECT_TRUE(Control<QRadioButton>(&page, M::kThresholdButtons[1])->isEnabled());
  Control<QCheckBox>(&page, M::kSleep)->click();  // off
  EXPECT_FALSE(edit->isEnabled());
  EXPECT_TRUE(page.ApplyPage());
  EXPECT_EQ(host.System().ReadInt(VkcNodes::kSleepInactivity), 0);
  EXPECT_EQ(host.System().ReadInt(VkcNodes::kAlarmOut2), 3);
  EXPECT_EQ(host.System().ReadInt(VkcNodes::kAlarmBerThreshold), 1);
}

}  // namespace
