#include "pages/VkcPPConnectionModel.h"

#include <gtest/gtest.h>

#include "ConnectionTestSupport.h"
#include "devices/VkcDeviceManager.h"
#include "link/Utf.h"
#include "link/VkcErrorProcessor.h"
#include "link/VkcSerialPort.h"
#include "platform/Messages.h"
#include "sim/SimUnit.h"

using namespace conntest;

namespace {

struct ModelFixture : ::testing::Test {
  testsupport::TempDir dir;
  ModulinkApp app{dir.File("settings.vkc")};
  Messages messages;
  VkcDeviceManager devices;
  VkcSerialPort serial;
  FakeHost host;
  std::unique_ptr<ScopedPorts> ports;
  std::unique_ptr<VkcPPConnectionModel> model;

  void SetUp() override {
    app.SetMessageBoxFunction(messages.Function());
    app.InitInstance();
    devices.RegisterPrototypes();
    app.SetPorts(&serial, nullptr);
  }
  void Make(std::vector<PortInfo> list) {
    ports = std::make_unique<ScopedPorts>(std::move(list));
    model = std::make_unique<VkcPPConnectionModel>(app, devices);
    model->SetHost(&host);
    model->Init();
    model->Refresh();
  }
  CfgNode& Setting(const char* section, const char* key) { return app.Setting(section, key); }
  PageControls& C() { return model->Controls(); }
};

TEST_F(ModelFixture, InitListsPortsRatesAndInterfaces) {
  Make({Port(u"/dev/ttyUSB1", u"USB Serial"), Port(u"/dev/ttyS0", u"Communications Port"),
        Port(u"/dev/ttyUSB0", u"USB Serial")});
  // Key order, and the first port is stored when none was.
  EXPECT_EQ(*C().Get(VkcPPConnectionModel::kSerialPort).items,
            (std::vector<std::u16string>{u"Communications Port", u"USB Serial", u"USB Serial"}));
  EXPECT_EQ(Setting("Serial Interface", "Port").GetWString(), u"/dev/ttyS0");
  EXPECT_EQ(C().Get(VkcPPConnectionModel::kRate).ItemCount(), 9);
  const ControlState& ifaces = C().Get(VkcPPConnectionModel::kInterface);
  EXPECT_TRUE(ifaces.visible);
  ASSERT_EQ(ifaces.ItemCount(), 2);
  EXPECT_EQ(ifaces.itemData, (std::vector<intptr_t>{1, 6}));
  EXPECT_EQ(ifaces.selection, 0);
  EXPECT_FALSE(C().Get(VkcPPConnectionModel::kReceiverPort).visible);
  EXPECT_TRUE(model->IsPassThroughOff());
  EXPECT_EQ(C().Text(VkcPPConnectionModel::kStatus), u"Ready to connect.");
  EXPECT_TRUE(C().Get(VkcPPConnectionModel::kSerialPort).visible);
  EXPECT_FALSE(C().Get(VkcPPConnectionModel::kAddress).visible);

  // The second of two same-named adapters can be chosen.
  C()[VkcPPConnectionModel::kSerialPort].selection = 2;
  model->OnSerialPortChanged();
  EXPECT_EQ(Setting("Serial Interface", "Port").GetWString(), u"/dev/ttyUSB1");
  EXPECT_EQ(model->FriendlyName(), u"USB Serial (ttyUSB1)");
  EXPECT_EQ(host.refreshAll, 1);
}

TEST_F(ModelFixture, RefreshRules) {
  Setting("Serial Interface", "Port").SetWString(u"/dev/gone");
  Setting("Serial Interface", "Interface").SetInt(3);
  Setting("Serial Interface", "Rate").SetInt(9600);
  Make({Port(u"/dev/ttyUSB0", u"USB Serial")});
  EXPECT_EQ(Setting("Serial Interface", "Port").GetWString(), u"/dev/ttyUSB0");
  EXPECT_EQ(C().Get(VkcPPConnectionModel::kRate).SelectedItem(), u"9600");
  // An interface that is not there: the entry shown is stored, never 0.
  EXPECT_EQ(C().Get(VkcPPConnectionModel::kInterface).selection, 0);
  EXPECT_EQ(Setting("Serial Interface", "Interface").GetInt(), 1);

  Setting("Serial Interface", "Interface").SetInt(6);
  model->Refresh();
  EXPECT_EQ(C().Get(VkcPPConnectionModel::kInterface).SelectedData(), 6);
  EXPECT_TRUE(C().Get(VkcPPConnectionModel::kReceiverPort).visible);
  Setting("Serial Interface", "Interface").SetInt(0);
  model->Refresh();
  EXPECT_EQ(Setting("Serial Interface", "Interface").GetInt(), 1);
  EXPECT_FALSE(C().Get(VkcPPConnectionModel::kReceiverPort).visible);

  // TCP shows the TCP fields and makes the TCP client current.
  Setting("Connection Settings", "Type").SetInt(1);
  model->Refresh();
  EXPECT_FALSE(C().Get(VkcPPConnectionModel::kSerialPort).visible);
  EXPECT_TRUE(C().Get(VkcPPConnectionModel::kPassword).visible);
  EXPECT_EQ(C().Text(VkcPPConnectionModel::kAddress), u"localhost");
  EXPECT_EQ(C().Text(VkcPPConnectionModel::kTcpPort), u"8002");
}

TEST_F(ModelFixture, EmptyPortListSelectsNothingAndARateOfZeroTakesThePortsRate) {
  sim::SimUnit unit;
  ASSERT_TRUE(unit.IsOk());
  ASSERT_TRUE(serial.Open(unit.SlavePath16(), 38400, 8, 0, 0));
  Setting("Serial Interface", "Rate").SetInt(0);
  Make({});
  EXPECT_EQ(C().Get(VkcPPConnectionModel::kSerialPort).selection, -1);
  EXPECT_EQ(Setting("Serial Interface", "Rate").GetInt(), 38400);
  EXPECT_EQ(C().Get(VkcPPConnectionModel::kRate).SelectedItem(), u"38400");
  // A rate change is stored and set on the open port at once.
  C()[VkcPPConnectionModel::kRate].selection = C().Get(VkcPPConnectionModel::kRate).FindItem(u"19200");
  model->OnRateChanged();
  EXPECT_EQ(Setting("Serial Interface", "Rate").GetInt(), 19200);
  EXPECT_EQ(serial.GetBaudRate(), 19200u);
  serial.Close();
}

TEST_F(ModelFixture, Validators) {
  Make({});
  const std::u16string ok49(49, u'a'), long50(50, u'a');
  C().SetText(VkcPPConnectionModel::kAddress, ok49);
  model->OnAddressDone();
  EXPECT_EQ(Setting("TCP Interface", "Address").GetWString(), ok49);
  EXPECT_TRUE(messages.shown.empty());
  C().SetText(VkcPPConnectionModel::kAddress, long50);
  model->OnAddressDone();
  EXPECT_EQ(messages.Last(), "The length of TCP address must be less than 50 characters.");
  EXPECT_EQ(Setting("TCP Interface", "Address").GetWString(), u"");
  EXPECT_EQ(C().Text(VkcPPConnectionModel::kAddress), u"");

  C().SetText(VkcPPConnectionModel::kUserName, long50);
  model->OnUserNameDone();
  EXPECT_EQ(messages.Last(), "The length of TCP user name must be less than 50 characters.");
  EXPECT_EQ(Setting("TCP Interface", "UserName").GetWString(), u"");

  messages.shown.clear();
  for (const char16_t* good : {u"1", u"65535"}) {
    C().SetText(VkcPPConnectionModel::kTcpPort, good);
    model->OnTcpPortDone();
  }
  EXPECT_TRUE(messages.shown.empty());
  EXPECT_EQ(Setting("TCP Interface", "Port").GetInt(), 65535);
  for (const char16_t* bad : {u"0", u"65536", u"x1", u"99999999999"}) {
    C().SetText(VkcPPConnectionModel::kTcpPort, bad);
    model->OnTcpPortDone();
    EXPECT_EQ(messages.Last(), "TCP port must be in the range of 1 to 65535. Default port will be set.");
    EXPECT_EQ(Setting("TCP Interface", "Port").GetInt(), 8002);
    EXPECT_EQ(C().Text(VkcPPConnectionModel::kTcpPort), u"8002");
  }
  EXPECT_EQ(messages.shown.size(), 4u);
}

TEST_F(ModelFixture, PortStatusTable) {
  Make({});
  struct Row {
    intptr_t code;
    const char16_t* status;
    const char16_t* button;
    bool connected;
  };
  for (const Row& row : {Row{1, u"Connected.", u"DisConnect", true}, Row{0, u"Authorization error/Ready to connect.", u"Connect", false},
                         Row{1, u"Connected.", u"DisConnect", true}, Row{2, u"Ready to connect.", u"Connect", false},
                         Row{4, u"Socket failed/Ready to connect.", u"Connect", false},
                         Row{5, u"Unable to open serial port.", u"Connect", false}}) {
    ASSERT_TRUE(host.lock.Lock(model.get()));
    C().Enable(VkcPPConnectionModel::kConnect, false);
    model->OnPortStatus(row.code);
    EXPECT_EQ(C().Text(VkcPPConnectionModel::kStatus), row.status);
    EXPECT_EQ(C().Text(VkcPPConnectionModel::kConnect), row.button);
    EXPECT_TRUE(C().Get(VkcPPConnectionModel::kConnect).enabled);
    EXPECT_EQ(model->IsConnected(), row.connected);
    EXPECT_FALSE(host.lock.IsHeld()) << row.code;
    // Connection controls are locked while connected.
    EXPECT_EQ(C().Get(VkcPPConnectionModel::kType).enabled, !row.connected);
  }
  model->OnPortStatus(1);
  ASSERT_TRUE(host.lock.Lock(model.get()));
  C().Enable(VkcPPConnectionModel::kConnect, false);
  model->OnPortStatus(6);
  EXPECT_EQ(C().Text(VkcPPConnectionModel::kStatus), u"Unexpectedly disconnected/Reconnecting...");
  EXPECT_FALSE(C().Get(VkcPPConnectionModel::kConnect).enabled);
  EXPECT_TRUE(model->IsConnected());
  EXPECT_EQ(host.lock.Owner(), model.get());
  model->OnPortStatus(3);  // no port posts 3: the table stays, the lock is freed
  EXPECT_EQ(C().Text(VkcPPConnectionModel::kStatus), u"Unexpectedly disconnected/Reconnecting...");
  EXPECT_FALSE(host.lock.IsHeld());
  EXPECT_TRUE(host.runs.empty());  // direct interface: no pass-through
}

TEST_F(ModelFixture, PassThroughResults) {
  Make({});
  sim::SimUnit unit;
  ASSERT_TRUE(serial.Open(unit.SlavePath16(), 9600, 8, 0, 0));
  // Direct interfaces never run it.
  for (uint32_t iface : {1u, 3u}) {
    Setting("Serial Interface", "Interface").SetInt(iface);
    EXPECT_TRUE(model->EnableDaisyChain());
  }
  EXPECT_TRUE(host.runs.empty());
  Setting("Serial Interface", "Interface").SetInt(6);

  // Switching on.
  EXPECT_TRUE(model->EnableDaisyChain());
  ASSERT_EQ(host.runs.size(), 1u);
  EXPECT_EQ(host.runs[0].first, u"Enabling Communicaton through GPS receiver");
  EXPECT_EQ(host.runs[0].second, (std::vector<ShellTask>{{5, 1}}));
  EXPECT_FALSE(model->IsPassThroughOff());
  EXPECT_FALSE(host.lock.IsHeld());

  struct Case {
    uint32_t code;
    std::string log;
    std::string shown;
  };
  const std::vector<Case> whenOff = {
      {1, "No response from GPS receiver.\r\nPort's I/O parameters could not be restored on GPS receiver.",
       "No response from GPS receiver.\r\nPort's I/O parameters could not be restored on GPS receiver."},
      {2, "Error detected in GPS receiver's response.", "Incorrect command sent to GPS receiver."},
      {3, "Saving of GPS ports parameters failed.", "Saving of GPS ports parameters failed."},
      {4, "Restoring of daisy chain ports parameters failed on GPS receiver.",
       "Restoring of daisy chain ports settings failed on GPS receiver."},
      {5, "No response from GPS receiver.\r\nPort's I/O parameters could not be restored on GPS receiver.",
       "No response from GPS receiver.\r\nPort's I/O parameters could not be restored on GPS receiver."}};
  for (const Case& c : whenOff) {
    // Established (flag clear): switching off fails.
    ASSERT_FALSE(model->IsPassThroughOff());
    ErrorLog().Clear();
    host.results.push_back({2, c.code});
    EXPECT_FALSE(model->EnableDaisyChain());
    EXPECT_EQ(host.runs.back().first, u"Disabling Communication through GPS receiver");
    EXPECT_EQ(host.runs.back().second, (std::vector<ShellTask>{{5, 0}}));
    EXPECT_NE(ErrorLog().GetText().find(Utf8ToUtf16(c.log)), std::u16string::npos) << c.code;
    EXPECT_EQ(messages.Last(), c.shown);
    // A failure other than "no response" means not established any more.
    EXPECT_EQ(model->IsPassThroughOff(), c.code != 1) << c.code;
    if (model->IsPassThroughOff()) {
      EXPECT_TRUE(model->EnableDaisyChain());
    }
  }
  // Switching on fails: only the first line, and the flag stays set.
  model->OnPortStatus(2);
  host.results.push_back({2, 1});
  ASSERT_FALSE(model->EnableDaisyChain());  // flag clear -> switch off, "no response" keeps it clear
  ASSERT_FALSE(model->IsPassThroughOff());
  host.results.push_back({1, 0});
  ASSERT_TRUE(model->EnableDaisyChain());
  ASSERT_TRUE(model->IsPassThroughOff());
  host.results.push_back({2, 5});
  EXPECT_FALSE(model->EnableDaisyChain());
  EXPECT_EQ(messages.Last(), "No response from GPS receiver.");
  EXPECT_TRUE(model->IsPassThroughOff());

  // Stopped by the user: not established, nothing shown, the flag untouched.
  const size_t shown = messages.shown.size();
  host.results.push_back({2, 0});
  EXPECT_FALSE(model->EnableDaisyChain());
  EXPECT_TRUE(model->IsPassThroughOff());
  EXPECT_EQ(messages.shown.size(), shown);

  // Refusals.
  host.lock.Lock(&host);
  EXPECT_FALSE(model->EnableDaisyChain());
  EXPECT_EQ(messages.Last(), "Unable to run process.\nAnother process is running");
  host.lock.Unlock(&host);
  serial.Close();
  EXPECT_FALSE(model->EnableDaisyChain());
  EXPECT_EQ(messages.Last(), "Communication port is not open.");
}

TEST_F(ModelFixture, ConnectAndDisconnectASimulatedUnit) {
  sim::SimUnit unit;
  ASSERT_TRUE(unit.IsOk());
  platform::RecordingWindow window;
  Setting("Serial Interface", "Rate").SetInt(57600);
  Make({Port(unit.SlavePath16(), u"Simulated unit")});
  model->SetWindow(window.Handle());
  auto deliver = [&](intptr_t code) {
    ASSERT_TRUE(window.WaitForMessage(kPortStatusMessage, code, 5000)) << code;
    window.Clear();
    model->OnPortStatus(code);
  };

  model->OnConnect();
  EXPECT_EQ(C().Text(VkcPPConnectionModel::kStatus), u"Connecting. Please wait...");
  EXPECT_FALSE(C().Get(VkcPPConnectionModel::kConnect).enabled);
  EXPECT_FALSE(C().Get(VkcPPConnectionModel::kSerialPort).enabled);
  EXPECT_TRUE(C().Get(VkcPPConnectionModel::kRate).enabled);
  EXPECT_EQ(host.lock.Owner(), model.get());
  deliver(1);
  EXPECT_EQ(C().Text(VkcPPConnectionModel::kStatus), u"Connected.");
  EXPECT_EQ(C().Text(VkcPPConnectionModel::kConnect), u"DisConnect");
  EXPECT_TRUE(serial.IsOpen());
  EXPECT_EQ(unit.LineRate(), 57600u);
  EXPECT_FALSE(host.lock.IsHeld());
  EXPECT_FALSE(app.IsBluetoothPort());

  model->OnConnect();
  EXPECT_EQ(C().Text(VkcPPConnectionModel::kStatus), u"Disconnecting. Please wait...");
  EXPECT_FALSE(host.lock.IsHeld());
  deliver(2);
  EXPECT_EQ(C().Text(VkcPPConnectionModel::kStatus), u"Ready to connect.");
  EXPECT_FALSE(serial.IsOpen());
  EXPECT_TRUE(C().Get(VkcPPConnectionModel::kSerialPort).enabled);

  // A port that cannot be opened: status 5, and the lock is free again.
  Setting("Serial Interface", "Port").SetWString(u"/dev/nonexistent-modulink");
  model->OnConnect();
  EXPECT_FALSE(host.lock.IsHeld());
  EXPECT_TRUE(C().Get(VkcPPConnectionModel::kConnect).enabled);
  deliver(5);
  EXPECT_EQ(C().Text(VkcPPConnectionModel::kStatus), u"Unable to open serial port.");
  EXPECT_FALSE(host.lock.IsHeld());

  // Another owner holds the lock: nothing happens.
  host.lock.Lock(&host);
  model->OnConnect();
  EXPECT_EQ(messages.Last(), "Unable to run connect/disconnect process.\nAnother process is running.");
  EXPECT_FALSE(serial.IsOpen());
}

}  // namespace
