#include "app/ModulinkApp.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <vector>

#include "link/VkcCfgArchiver.h"
#include "link/VkcErrorProcessor.h"
#include "platform/Files.h"
#include "platform/SettingsLocation.h"
#include "sim/SimLinePort.h"
#include "support/TestSupport.h"

namespace {

struct Recorder {
  std::vector<std::pair<std::u16string, unsigned>> shown;
  ModulinkApp::MessageBoxFunction Function() {
    return [this](const std::u16string& text, unsigned flags) {
      shown.emplace_back(text, flags);
      return 1;
    };
  }
};

std::vector<uint8_t> ReadFile(const std::string& path) {
  std::vector<uint8_t> bytes;
  platform::ReadWholeFile(path, bytes, platform::kMaxArchiveFileSize);
  return bytes;
}

void ExpectDefaults(ModulinkApp& app) {
  EXPECT_EQ(app.Setting("Serial Interface", "Interface").GetScalar(), 1u);
  EXPECT_EQ(app.Setting("Connection Settings", "Type").GetScalar(), 0u);
  EXPECT_EQ(app.Setting("TCP Interface", "Address").GetWString(), u"localhost");
  EXPECT_EQ(app.Setting("TCP Interface", "UserName").GetWString(), u"a");
  EXPECT_EQ(app.Setting("TCP Interface", "Port").GetScalar(), 8002u);
  EXPECT_EQ(app.Setting("TCP Interface", "Port").GetType(), CfgNode::kTypeInt);
  EXPECT_EQ(app.Setting("TCP Interface", "Address").GetType(), CfgNode::kTypeWString);
}

}  // namespace

TEST(ModulinkAppSettings, FirstRunTakesDefaultsSilentlyAndASecondRunReadsThemBack) {
  testsupport::TempDir dir;
  const std::string path = dir.File("cfg/Velkor Communcations/Modulink/settings.vkc");
  ErrorLog().Clear();
  {
    ModulinkApp app(path);
    EXPECT_EQ(ModulinkApp::Instance(), &app);
    Recorder recorder;
    app.SetMessageBoxFunction(recorder.Function());
    EXPECT_FALSE(app.InitInstance());
    ExpectDefaults(app);
    EXPECT_TRUE(recorder.shown.empty());
    EXPECT_EQ(ErrorLog().Count(), 0u);
    EXPECT_FALSE(std::filesystem::exists(path));  // nothing is written before shut-down
    app.Setting("Serial Interface", "Port").SetWString(u"/dev/ttyUSB0 \U0001F4E1");
    app.Setting("Serial Interface", "Rate").SetInt(115200);
    app.Setting("BERT_TX", "Stat. File").SetWString(u"/tmp/stat.txt");
    app.SetConnectionType(1);
    EXPECT_EQ(app.ExitInstance(), 0);
  }
  EXPECT_EQ(ModulinkApp::Instance(), nullptr);
  ASSERT_TRUE(std::filesystem::exists(path));
  const std::vector<uint8_t> first = ReadFile(path);

  ModulinkApp second(path);
  EXPECT_TRUE(second.LoadSettings());
  EXPECT_EQ(second.Setting("Serial Interface", "Port").GetWString(), u"/dev/ttyUSB0 \U0001F4E1");
  EXPECT_EQ(second.Setting("Serial Interface", "Rate").GetScalar(), 115200u);
  EXPECT_EQ(second.Setting("Connection Settings", "Type").GetScalar(), 1u);
  EXPECT_EQ(second.Setting("BERT_TX", "Stat. File").GetWString(), u"/tmp/stat.txt");
  EXPECT_EQ(second.Settings().Root().GetName(), u"ROOT");
  EXPECT_TRUE(second.StoreSettings());
  EXPECT_EQ(ReadFile(path), first);  // loading and storing again changes nothing
}

TEST(ModulinkAppSettings, CorruptFileIsKeptAsideAndDefaultsTaken) {
  testsupport::TempDir dir;
  const std::string path = dir.File("settings.vkc");
  {
    ModulinkApp app(path);
    app.ResetSettings();
    app.Setting("Image", "File Name").SetWString(u"fw.cxmd");
    ASSERT_TRUE(app.StoreSettings());
  }
  std::vector<uint8_t> bytes = ReadFile(path);
  bytes.pop_back();  // the root's closing 'T' is gone
  ASSERT_TRUE(platform::WriteFileAtomic(path, bytes));

  ErrorLog().Clear();
  ModulinkApp app(path);
  Recorder recorder;
  app.SetMessageBoxFunction(recorder.Function());
  EXPECT_FALSE(app.LoadSettings());
  ExpectDefaults(app);
  EXPECT_EQ(app.Settings().Root().FindChild("Image"), nullptr);  // nothing half-loaded
  EXPECT_TRUE(recorder.shown.empty());
  EXPECT_FALSE(std::filesystem::exists(path));
  EXPECT_EQ(ReadFile(path + ".bad"), bytes);
  EXPECT_EQ(ErrorLog().Count(), 1u);
  EXPECT_TRUE(app.StoreSettings());
  EXPECT_EQ(ReadFile(path + ".bad"), bytes);

  // An unreadable file (here a folder in its place) is moved aside as well.
  const std::string folderPath = dir.File("folder.vkc");
  std::filesystem::create_directory(folderPath);
  ModulinkApp other(folderPath);
  EXPECT_FALSE(other.LoadSettings());
  ExpectDefaults(other);
  EXPECT_TRUE(std::filesystem::is_directory(folderPath + ".bad"));
  EXPECT_TRUE(other.StoreSettings());
}

TEST(ModulinkAppSettings, AFailedStoreLeavesTheOldFileIntact) {
  testsupport::TempDir dir;
  const std::string path = dir.File("settings.vkc");
  ModulinkApp app(path);
  app.ResetSettings();
  ASSERT_TRUE(app.StoreSettings());
  const std::vector<uint8_t> old = ReadFile(path);
  app.Setting("Profile", "File Name").SetWString(u"new.VKN");
  for (auto step : {platform::WriteStep::CreateTemp, platform::WriteStep::Write, platform::WriteStep::SyncFile,
                    platform::WriteStep::Rename}) {
    platform::SetWriteFailureForTest(step);
    EXPECT_FALSE(app.StoreSettings());
    EXPECT_EQ(app.ExitInstance(), 0);  // dropped silently
    platform::SetWriteFailureForTest(std::nullopt);
    EXPECT_EQ(ReadFile(path), old);
  }
}

TEST(ModulinkAppSettings, ValidationMendsOnlyWhatIsOutOfRange) {
  struct Case {
    int32_t interface;
    int32_t port;
    uint32_t wantInterface;
    uint32_t wantPort;
    int32_t type = 0;
    uint32_t wantType = 0;
  };
  // A connection type other than serial (0) or TCP (1) would show the TCP fields over the serial
  // port, where Connect can only fail: it becomes serial.
  const Case cases[] = {{0, 0, 1, 8002, 5, 0},         {3, -1, 3, 8002, 1, 1}, {17, 70000, 17, 8002, -1, 0},
                        {6, 1, 6, 1, 0, 0},            {1, 65535, 1, 65535, 2, 0}, {2, 65536, 2, 8002, 1, 1}};
  testsupport::TempDir dir;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.port);
    const std::string path = dir.File("settings.vkc");
    {
      ModulinkApp writer(path);
      writer.Setting("Serial Interface", "Interface").SetInt(static_cast<uint32_t>(c.interface));
      writer.Setting("TCP Interface", "Port").SetInt(static_cast<uint32_t>(c.port));
      writer.Setting("TCP Interface", "Address").SetWString(u"");
      writer.Setting("Connection Settings", "Type").SetInt(static_cast<uint32_t>(c.type));
      ASSERT_TRUE(writer.StoreSettings());
    }
    ModulinkApp app(path);
    ASSERT_TRUE(app.LoadSettings());
    EXPECT_EQ(app.Setting("Serial Interface", "Interface").GetScalar(), c.wantInterface);
    EXPECT_EQ(app.Setting("TCP Interface", "Port").GetScalar(), c.wantPort);
    EXPECT_EQ(app.Setting("TCP Interface", "Address").GetWString(), u"localhost");
    EXPECT_EQ(app.Setting("TCP Interface", "UserName").GetWString(), u"a");
    EXPECT_EQ(app.Setting("Connection Settings", "Type").GetScalar(), c.wantType);
  }
  // Kept texts stay.
  ModulinkApp app(dir.File("none.vkc"));
  app.Setting("TCP Interface", "Address").SetWString(u"gw.example");
  app.Setting("TCP Interface", "UserName").SetWString(u"op");
  app.ValidateSettings();
  EXPECT_EQ(app.Setting("TCP Interface", "Address").GetWString(), u"gw.example");
  EXPECT_EQ(app.Setting("TCP Interface", "UserName").GetWString(), u"op");
}

TEST(ModulinkAppSettings, DefaultPathIsTheSettingsFile) {
  ModulinkApp app;
  EXPECT_EQ(app.SettingsPath(), platform::SettingsFilePath());
}

TEST(ModulinkAppMessages, TcpHintOnlyWithHintAndTcpType) {
  testsupport::TempDir dir;
  ModulinkApp app(dir.File("s.vkc"));
  Recorder recorder;
  app.SetMessageBoxFunction(recorder.Function());
  const std::u16string hint = u"\r\nThe possible reason is an unstable TCP connection.";
  app.ShowMessage("Unable to upload parameters", 0x30, true);
  app.SetConnectionType(1);
  app.ShowMessage(u"Unable to upload parameters", 0x30, true);
  app.ShowMessage("No hint", 0, false);
  ASSERT_EQ(recorder.shown.size(), 3u);
  EXPECT_EQ(recorder.shown[0].first, u"Unable to upload parameters");
  EXPECT_EQ(recorder.shown[0].second, 0x30u);
  EXPECT_EQ(recorder.shown[1].first, u"Unable to upload parameters" + hint);
  EXPECT_EQ(recorder.shown[2].first, u"No hint");
}

TEST(ModulinkAppPorts, ConnectionTypeSelectsThePortAndItsTimeouts) {
  testsupport::TempDir dir;
  ModulinkApp app(dir.File("s.vkc"));
  EXPECT_EQ(app.GetCommandTimeout(), 0u);
  EXPECT_EQ(app.GetLongTimeout(), 0u);
  sim::SimLinePort serial, tcp;
  serial.replyTimeoutMs = 1500;
  tcp.replyTimeoutMs = 10000;
  app.SetPorts(&serial, &tcp);
  EXPECT_EQ(app.CurrentPort(), &serial);
  EXPECT_EQ(app.GetCommandTimeout(), 1500u);
  EXPECT_TRUE(app.SetConnectionType(1));
  EXPECT_EQ(app.CurrentPort(), &tcp);
  EXPECT_EQ(app.GetCommandTimeout(), 10000u);
  EXPECT_EQ(app.Setting("Connection Settings", "Type").GetScalar(), 1u);
  EXPECT_TRUE(app.SetConnectionType(7));
  EXPECT_EQ(app.CurrentPort(), &serial);
  EXPECT_EQ(app.Setting("Connection Settings", "Type").GetScalar(), 7u);
  EXPECT_EQ(app.GetLongTimeout(), 5000u);
}

TEST(ModulinkAppPorts, BluetoothFlagFollowsTheFriendlyName) {
  ModulinkApp app("/nonexistent/s.vkc");
  EXPECT_FALSE(app.IsBluetoothPort());
  app.UpdateBluetoothFlag("Standard Serial over BlueTooth link (COM5)");
  EXPECT_TRUE(app.IsBluetoothPort());
  app.UpdateBluetoothFlag(u"Bluetooth (rfcomm0)");
  EXPECT_TRUE(app.IsBluetoothPort());
  app.UpdateBluetoothFlag("USB Serial (ttyUSB0)");
  EXPECT_FALSE(app.IsBluetoothPort());
  app.UpdateBluetoothFlag(u"BLUE TOOTH");
  EXPECT_FALSE(app.IsBluetoothPort());
}
