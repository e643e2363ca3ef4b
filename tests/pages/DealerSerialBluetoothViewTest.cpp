// The Dealer Configuration, Serial Interface and Bluetooth pages' widgets: bound by control id, and
// what the user does in them reaches the unit's images.

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTreeWidget>

#include <gtest/gtest.h>

#include "app/VkcMultiEdit.h"
#include "devices/VkcDevice.h"
#include "devices/VkcImageNodes.h"
#include "pages/VkcPPBluetooth.h"
#include "pages/VkcPPDealer.h"
#include "pages/VkcPPSerial.h"
#include "support/FakePageHost.h"
#include "support/PageWidgets.h"

namespace {

using testsupport::Control;

void Identify(testsupport::FakePageHost& host, int model) {
  VkcSystem& unit = host.System();
  unit.SetCurrentDevice(host.DeviceManager().GetDevice(model));
  for (int i = 0; i < 3; ++i) unit.Factory().GetChild(4).GetChildAt(i).SetInt(430000000u + 5000000u * static_cast<uint32_t>(i));
  const uint8_t serial[6] = {1, 2, 3, 4, 5, 6};
  unit.User().GetChild(1).GetChildAt(0).SetBytes(serial, 6);
}

TEST(DealerSerialBluetoothView, EditsInTheWidgetsReachTheImages) {
  testsupport::FakePageHost host;
  Identify(host, 48);
  host.App().Setting("Serial Interface", "Interface").SetInt(1);

  VkcPPDealer dealer;
  dealer.SetPageHost(&host);
  dealer.show();
  dealer.RefreshPage();
  auto* frequency = Control<VkcMultiEdit>(&dealer, VkcPPDealerModel::kFrequency);
  ASSERT_NE(frequency, nullptr);
  frequency->setFocus();
  QTest::keyClicks(frequency, QStringLiteral("433125000"));
  Control<QPushButton>(&dealer, VkcPPDealerModel::kAdd)->click();
  auto* map = Control<QTreeWidget>(&dealer, VkcPPDealerModel::kMap);
  ASSERT_EQ(map->topLevelItemCount(), 1);
  EXPECT_EQ(map->topLevelItem(0)->text(1), QStringLiteral("433,125,000"));
  EXPECT_TRUE(dealer.ApplyPage());
  std::vector<uint32_t> stored;
  host.System().GetCurrentDevice()->GetChannelFrequencies(host.System(), stored);
  EXPECT_EQ(stored, std::vector<uint32_t>{433125000});

  VkcPPSerial serial;
  serial.SetPageHost(&host);
  serial.show();
  serial.RefreshPage();
  auto* maintenance = Control<QComboBox>(&serial, VkcPPSerialModel::kMaintenanceRate);
  auto* data = Control<QComboBox>(&serial, VkcPPSerialModel::kDataRate);
  ASSERT_GT(maintenance->count(), 3);
  maintenance->setCurrentIndex(2);
  emit maintenance->activated(2);  // as a choice made with the mouse
  EXPECT_EQ(data->currentIndex(), 2) << "the two rate lists move together";
  EXPECT_TRUE(serial.ApplyPage());
  EXPECT_EQ(host.System().ReadInt(VkcNodes::kDataPortRate), data->itemData(2).toInt());

  VkcPPBluetooth bluetooth;
  bluetooth.SetPageHost(&host);
  bluetooth.show();
  bluetooth.RefreshPage();
  auto* name = Control<QLineEdit>(&bluetooth, VkcPPBluetoothModel::kName);
  ASSERT_NE(name, nullptr);
  EXPECT_EQ(name->maxLength(), 14);
  EXPECT_TRUE(testsupport::RefusesControlCharacters(name));
  EXPECT_TRUE(testsupport::RefusesControlCharacters(Control<QLineEdit>(&bluetooth, VkcPPBluetoothModel::kPin)));
  name->setFocus();
  QTest::keyClicks(name, QStringLiteral("Base 1"));
  EXPECT_TRUE(bluetooth.ApplyPage());
  EXPECT_EQ(host.System().At(VkcPath(kVkcU, 1, kVkcR, 6, 0)).GetString(), "Base 1");
  EXPECT_EQ(host.System().At(VkcPath(kVkcU, 1, kVkcR, 6, 9)).GetString(), "YES");
}

// The destination's menu takes no focus: its Copy gives the address as typed, which stays so until
// the edit is left.
TEST(DealerSerialBluetoothView, CopyFromTheDestinationsMenuGivesTheAddressAsTyped) {
  testsupport::FakePageHost host;
  Identify(host, 48);
  host.System().At(VkcPath(kVkcU, 1, kVkcR, 6, 6)).SetString("1");  // Master
  VkcPPBluetooth bluetooth;
  bluetooth.SetPageHost(&host);
  bluetooth.show();
  bluetooth.RefreshPage();
  bluetooth.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&bluetooth));
  auto* destination = Control<VkcMultiEdit>(&bluetooth, VkcPPBluetoothModel::kDestination);
  ASSERT_TRUE(destination->isEnabled());
  destination->setFocus();
  QApplication::processEvents();
  QTest::keyClick(destination, Qt::Key_A, Qt::ControlModifier);
  QTest::keyClicks(destination, QStringLiteral("00A0B0C0D0EF"));
  QTest::keyClick(destination, Qt::Key_A, Qt::ControlModifier);
  QGuiApplication::clipboard()->setText(QStringLiteral("other"));
  ASSERT_TRUE(testsupport::ChooseFromContextMenu(destination, Qt::Key_C));
  EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral("00A0B0C0D0EF"));
  EXPECT_EQ(destination->GetRawText(), u"00A0B0C0D0EF");
  EXPECT_EQ(host.messages, std::vector<std::string>{});
}

}  // namespace
