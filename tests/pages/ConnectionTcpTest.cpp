#include <gtest/gtest.h>

#include "ConnectionTestSupport.h"
#include "devices/VkcDeviceManager.h"
#include "link/Utf.h"
#include "link/VkcSerialPort.h"
#include "link/VkcTCPClient.h"
#include "pages/VkcPPConnectionModel.h"
#include "platform/Messages.h"
#include "sim/SimGateway.h"
#include "sim/SimUnit.h"

using namespace conntest;

namespace {

struct TcpFixture : ::testing::Test {
  testsupport::TempDir dir;
  ModulinkApp app{dir.File("settings.vkc")};
  Messages messages;
  VkcDeviceManager devices;
  VkcSerialPort serial;
  VkcTCPClient tcp;
  FakeHost host;
  sim::SimUnit unit;
  sim::SimGateway gateway{&unit};
  ScopedPorts ports{{}};
  platform::RecordingWindow window;
  std::unique_ptr<VkcPPConnectionModel> model;

  void SetUp() override {
    ASSERT_TRUE(unit.IsOk());
    ASSERT_TRUE(gateway.IsOk());
    app.SetMessageBoxFunction(messages.Function());
    app.InitInstance();
    devices.RegisterPrototypes();
    app.SetPorts(&serial, &tcp);
    app.Setting("Connection Settings", "Type").SetInt(1);
    app.Setting("TCP Interface", "Address").SetWString(u"127.0.0.1");
    app.Setting("TCP Interface", "Port").SetInt(gateway.Port());
    model = std::make_unique<VkcPPConnectionModel>(app, devices);
    model->SetHost(&host);
    model->SetWindow(window.Handle());
    model->Init();
    model->Refresh();
    model->Controls().SetText(VkcPPConnectionModel::kPassword, u"pw");
    model->OnPasswordChanged();
  }
  void TearDown() override {
    tcp.SetOwnerWindow(platform::kNoWindow);
    tcp.Close();
  }
  // Hands the next status to the page, as its window would.
  intptr_t Next(uint32_t ms = 20000) {
    intptr_t code = -1;
    window.WaitFor([](const std::vector<platform::PostedMessage>& m) { return !m.empty(); }, ms);
    auto got = window.Messages(kPortStatusMessage);
    if (!got.empty()) {
      code = got.front().wParam;
      window.Clear();
      model->OnPortStatus(code);
    }
    return code;
  }
  std::u16string Status() const { return model->Controls().Text(VkcPPConnectionModel::kStatus); }
};

TEST_F(TcpFixture, LogsInThroughTheGatewayAndFollowsItsDrops) {
  EXPECT_EQ(app.CurrentPort(), &tcp);
  model->OnConnect();
  EXPECT_EQ(Status(), u"Connecting. Please wait...");
  EXPECT_EQ(host.lock.Owner(), model.get());
  EXPECT_EQ(Next(), 1);
  EXPECT_EQ(Status(), u"Connected.");
  EXPECT_FALSE(host.lock.IsHeld());
  EXPECT_EQ(gateway.LoginLines(), (std::vector<std::string>{"a", "pw"}));

  // The gateway drops the session: reconnecting, then connected again.
  gateway.DropSession();
  EXPECT_EQ(Next(), 6);
  EXPECT_EQ(Status(), u"Unexpectedly disconnected/Reconnecting...");
  EXPECT_TRUE(model->IsConnected());
  EXPECT_EQ(Next(), 1);
  EXPECT_EQ(Status(), u"Connected.");

  model->OnConnect();
  EXPECT_EQ(Status(), u"Disconnecting. Please wait...");
  EXPECT_EQ(Next(), 2);
  EXPECT_EQ(Status(), u"Ready to connect.");
  EXPECT_FALSE(model->IsConnected());
}

// A port typed without leaving the field is checked at Connect: 65536 more than the gateway's port
// must not reach the gateway by losing its high bits.
TEST_F(TcpFixture, AnOutOfRangePortIsCheckedAtConnect) {
  model->Controls().SetText(VkcPPConnectionModel::kTcpPort, Utf8ToUtf16(std::to_string(gateway.Port() + 65536)));
  model->OnConnect();
  EXPECT_EQ(messages.Last(), "TCP port must be in the range of 1 to 65535. Default port will be set.");
  EXPECT_EQ(model->Controls().Text(VkcPPConnectionModel::kTcpPort), u"8002");
  EXPECT_EQ(app.Setting("TCP Interface", "Port").GetInt(), 8002);
  EXPECT_FALSE(host.lock.IsHeld());
  EXPECT_TRUE(model->Controls().Get(VkcPPConnectionModel::kConnect).enabled);
  EXPECT_EQ(Status(), u"Ready to connect.");
  EXPECT_EQ(Next(1000), -1);
  EXPECT_TRUE(gateway.LoginLines().empty());
}

TEST_F(TcpFixture, RefusedLoginAndNoGateway) {
  gateway.SetRefusePassword(true);
  model->OnConnect();
  EXPECT_EQ(Next(), 0);
  EXPECT_EQ(Status(), u"Authorization error/Ready to connect.");
  EXPECT_FALSE(host.lock.IsHeld());
  EXPECT_TRUE(model->Controls().Get(VkcPPConnectionModel::kAddress).enabled);

  gateway.SetRefusePassword(false);
  gateway.SetRefuseConnections(true);
  model->OnConnect();
  EXPECT_EQ(Next(), 4);
  EXPECT_EQ(Status(), u"Socket failed/Ready to connect.");
  EXPECT_FALSE(host.lock.IsHeld());
}

}  // namespace
