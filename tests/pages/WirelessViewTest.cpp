#include "pages/VkcPPWireless.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QRadioButton>
#include <QSlider>
#include <QTest>

#include <gtest/gtest.h>

#include "devices/VkcDeviceManager.h"
#include "devices/VkcImageNodes.h"
#include "support/FakePageHost.h"
#include "unit/VkcSystem.h"
#include "support/PageWidgets.h"

namespace {

using M = VkcPPWirelessModel;

using testsupport::Control;

TEST(WirelessView, PowerPairAndChannelReachTheImagesOnApply) {
  testsupport::FakePageHost host;
  VkcSystem& sys = host.System();
  const VkcDevice* device = host.DeviceManager().GetDevice(4);
  sys.SetSoftwareVersion("SW 3.2 Rev 0");
  sys.SetCurrentDevice(device);
  sys.WriteInt(VkcNodes::kProtocol, 2);
  sys.WriteInt(VkcNodes::kDealerMaxPower, 30);
  sys.WriteInt(VkcNodes::kOutputPower, 25);
  device->SetChannelFrequencies(sys, {450125000, 450150000});
  device->SetChannel(sys, device->GetChannelNumber(450125000, sys));

  VkcPPWireless page;
  page.SetPageHost(&host);
  page.show();
  page.RefreshPage();
  QApplication::setActiveWindow(&page);
  auto* power = Control<QLineEdit>(&page, M::kPower);
  auto* slider = Control<QSlider>(&page, M::kSlider);
  auto* channel = Control<QComboBox>(&page, M::kChannel);
  ASSERT_TRUE(power && slider && channel);
  EXPECT_TRUE(Control<QRadioButton>(&page, M::kManual)->isChecked());
  EXPECT_EQ(slider->value(), 25);
  EXPECT_EQ(channel->count(), 2);

  // Typing moves the slider; leaving out of range takes the slider's position back.
  power->setFocus();
  power->selectAll();
  QTest::keyClicks(power, "20");
  EXPECT_EQ(slider->value(), 20);
  power->selectAll();
  QTest::keyClicks(power, "99");
  EXPECT_EQ(slider->value(), slider->maximum());
  page.CommitPendingEdit();
  EXPECT_EQ(power->text().toInt(), slider->maximum());
  slider->triggerAction(QAbstractSlider::SliderToMinimum);
  EXPECT_EQ(power->text().toInt(), slider->minimum());

  channel->setCurrentIndex(1);
  emit channel->activated(1);
  EXPECT_TRUE(page.ApplyPage());
  EXPECT_EQ(device->GetChannel(sys), device->GetChannelNumber(450150000, sys));
  EXPECT_EQ(device->GetOutputPower(VkcDevice::kCurrentChannel), slider->minimum());
}

}  // namespace
