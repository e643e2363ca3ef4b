// The loader: the unit-file container, and transfers end to end with the simulated unit over a
// pseudo-terminal (our XModem, or lrzsz, on the unit's side).

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstring>
#include <fstream>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "link/Utf.h"
#include "link/VkcCfgArchiver.h"
#include "link/VkcConfiguration.h"
#include "link/VkcConnectionInterface.h"
#include "link/VkcErrorProcessor.h"
#include "link/VkcLoader.h"
#include "link/VkcLogMessage.h"
#include "link/VkcMessageIds.h"
#include "link/VkcSerialPort.h"
#include "link/VkcTCPClient.h"
#include "link/VkcUnitFile.h"
#include "platform/Messages.h"
#include "platform/Timing.h"
#include "sim/SimGateway.h"
#include "sim/SimTextListener.h"
#include "sim/SimUnit.h"
#include "sim/SimXmodFiles.h"
#include "support/TestSupport.h"

namespace {

// Command lines as the unit recorded them, without the LF a "...\r\n" command leaves in front of
// the next line.
std::vector<std::string> Lines(const sim::SimUnit& unit) {
  std::vector<std::string> out;
  for (auto c : unit.Commands()) out.push_back(!c.empty() && c[0] == '\n' ? c.substr(1) : c);
  return out;
}

// A configuration record (id, then the root) of a small tree carrying mark.
std::vector<uint8_t> Record(const std::string& mark, int entries = 3) {
  VkcConfiguration cfg;
  for (int i = 0; i < entries; ++i) cfg.GetSection(mark).GetChildAt(i).SetString(mark + std::to_string(i));
  VkcMemoryStream s;
  VkcCfgArchiver ar;
  ar.Attach(s, false);
  EXPECT_TRUE(cfg.Save(ar));
  ar.Detach();
  return s.TakeBytes();
}

// The root of a tree as stored, without the id.
std::vector<uint8_t> RootBytes(const VkcConfiguration& cfg) {
  VkcMemoryStream s;
  VkcCfgArchiver ar;
  ar.Attach(s, false);
  cfg.Save(ar);
  ar.Detach();
  auto b = s.TakeBytes();
  return std::vector<uint8_t>(b.begin() + 4, b.end());
}

std::vector<uint8_t> WithHeader(const std::vector<uint8_t>& record) {
  std::vector<uint8_t> f(128 + record.size(), 0);
  std::copy(record.begin(), record.end(), f.begin() + 128);
  VkcUnitFile::WriteSendDescriptor(f);
  return f;
}

std::vector<intptr_t> ProgressValues(const platform::RecordingWindow& w) {
  std::vector<intptr_t> v;
  for (auto& m : w.Messages(kMsgProgress))
    if (m.wParam == kProgressPercent) v.push_back(m.lParam);
  return v;
}

class LoaderTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ErrorLog().Clear();
    ASSERT_TRUE(unit.IsOk());
    ASSERT_TRUE(port.Open(unit.SlavePath16(), 115200, 8, 0, 0));
    loader.SetPort(&port);
    loader.SetOwnerWindow(window.Handle());
    loader.SetProgressLog(&mailbox);
    files.SetBlockWait(1000);
  }
  void TearDown() override {
    loader.Wait();
    port.Close();
    platform::SetTimeScale(1.0);
  }
  // The worker's last message is its end.
  void ExpectEndedLast() {
    auto all = window.Messages(kMsgProgress);
    ASSERT_FALSE(all.empty());
    EXPECT_EQ(all.back(), (platform::PostedMessage{kMsgProgress, kProgressLoaderEnd, 0}));
  }

  sim::SimUnit unit;
  sim::SimXmodFiles files{unit};
  VkcSerialPort port;
  platform::RecordingWindow window;
  VkcLogMessage mailbox;
  VkcLoader loader;
};

}  // namespace

TEST(UnitFile, SendDescriptorIsTheOnlyHeaderContent) {
  VkcConfiguration cfg;
  cfg.GetSection("DEALER").GetChildAt(0).SetInt(7);
  VkcLoader loader;  // no port: the worker starts and fails at once
  loader.SetImage(nullptr, 0, true);
  EXPECT_FALSE(loader.StartSendImage("DDCFG", true)) << "an empty image is not sent";
  ASSERT_TRUE(loader.WriteConfigurationImage(cfg));
  EXPECT_TRUE(loader.StartSendImage("DDCFG", true));
  EXPECT_EQ(loader.GetResult(), -1);
  auto img = loader.Image().Bytes();
  ASSERT_GT(img.size(), 128u);
  uint32_t len = static_cast<uint32_t>(img.size() - 128);
  std::vector<uint8_t> want(128, 0);
  VkcUnitFile::PutU32(&want[64], 1);
  VkcUnitFile::PutU32(&want[72], len);
  VkcUnitFile::PutU32(&want[80], VkcLoader::Crc32(img.data() + 128, len));
  EXPECT_EQ(std::vector<uint8_t>(img.begin(), img.begin() + 128), want);
  VkcMemoryStream record;
  VkcCfgArchiver ar;
  ar.Attach(record, false);
  cfg.Save(ar);
  ar.Detach();
  EXPECT_EQ(std::vector<uint8_t>(img.begin() + 128, img.end()), record.TakeBytes());
}

TEST(UnitFile, ReadsOnlyWellDescribedSections) {
  auto r0 = Record("A"), r1 = Record("BB", 5), r2 = Record("CCC", 2);
  auto file = sim::SimXmodFiles::BuildUpload({r0, r1, r2});
  VkcLoader loader;
  auto load = [&](const std::vector<uint8_t>& img, int index, VkcConfiguration& cfg) {
    loader.SetImage(img.data(), img.size(), true);
    return loader.ReadConfigurationSection(index, cfg);
  };
  VkcConfiguration cfg(0);
  ASSERT_TRUE(load(file, 2, cfg)) << "section 2 sits at 128 + size0 + size1";
  VkcConfiguration want;
  {
    VkcMemoryStream s(r2);
    VkcCfgArchiver ar;
    ar.Attach(s, true);
    ASSERT_TRUE(want.Load(ar));
  }
  EXPECT_EQ(RootBytes(cfg), RootBytes(want));

  auto patched = [&](size_t at, uint32_t v) {
    auto f = file;
    VkcUnitFile::PutU32(&f[at], v);
    return f;
  };
  VkcConfiguration c;
  EXPECT_FALSE(load(patched(64, 0x00040000), 0, c)) << "format 4 refused";
  EXPECT_TRUE(load(patched(64, 0x00030001), 0, c)) << "format 3 accepted";
  EXPECT_FALSE(load(file, 3, c)) << "index past the count";
  auto many = file;
  many[78] = 20;  // count 20: index 8 is still refused
  EXPECT_FALSE(load(many, 8, c));
  EXPECT_FALSE(load(patched(88 + 4, 0), 1, c)) << "an empty section";
  EXPECT_FALSE(load(patched(88, 0xFFFFFFF0u), 1, c)) << "sizes past the end";
  EXPECT_FALSE(load(patched(88 + 8, static_cast<uint32_t>(r2.size() + 1)), 2, c)) << "section runs past the end";
  std::vector<uint8_t> header(128, 0);
  EXPECT_FALSE(load(header, 0, c)) << "a header alone";
}

TEST_F(LoaderTest, ReceivesTheUnitsFileWithTerminalsMuted) {
  auto r0 = Record("FACTORYMARK"), r1 = Record("DEALERMARK"), r2 = Record("USERMARK", 40);
  files.SetFile("DFCFG", WithHeader(r0));
  files.SetFile("DDCFG", WithHeader(r1));
  files.SetFile("CFGDN", WithHeader(r2));
  sim::TextListener terminal;
  port.AddListener(&terminal, kListenerGroupTerminal);
  ASSERT_TRUE(loader.StartReceive("CFGUP", true));
  port.RemoveListener(&terminal);
  EXPECT_EQ(loader.GetResult(), 0);
  for (int i = 0; i < 3; ++i) {
    VkcConfiguration got;
    ASSERT_TRUE(loader.ReadConfigurationSection(i, got)) << i;
    VkcConfiguration want;
    VkcMemoryStream s(i == 0 ? r0 : i == 1 ? r1 : r2);
    VkcCfgArchiver ar;
    ar.Attach(s, true);
    ASSERT_TRUE(want.Load(ar));
    EXPECT_EQ(RootBytes(got), RootBytes(want)) << i;
  }
  EXPECT_TRUE(port.IsListenerGroupEnabled(kListenerGroupTerminal));
  std::string t = terminal.Text();
  EXPECT_NE(t.find("Starting X-Modem Transmit..."), std::string::npos);
  EXPECT_EQ(t.find('\x01'), std::string::npos) << "no block reached the terminal";
  EXPECT_NE(t.find("@RX ON"), std::string::npos);
  auto cmds = Lines(unit);
  ASSERT_GE(cmds.size(), 3u);
  EXPECT_EQ(cmds[0], "@RX OFF");
  EXPECT_EQ(cmds[1], "XMOD CFGUP");
  EXPECT_EQ(cmds.back(), "@RX ON");
  auto p = ProgressValues(window);
  ASSERT_FALSE(p.empty());
  EXPECT_EQ(p.front(), 0);
  EXPECT_TRUE(std::is_sorted(p.begin(), p.end()));
  EXPECT_EQ(mailbox.TakeTextUtf8(), "Uploading Configuration");
  ExpectEndedLast();
}

TEST_F(LoaderTest, ReceiveProgressCountsAgainst8192) {
  files.SetFile("CFGUP", std::vector<uint8_t>(16384, 0x42));
  ASSERT_TRUE(loader.StartReceive("CFGUP", true));
  EXPECT_EQ(loader.GetResult(), 0);
  auto p = ProgressValues(window);
  ASSERT_EQ(p.size(), 1u + 128u);
  EXPECT_EQ(p.back(), 200);
  EXPECT_EQ(loader.Image().Length(), 16384u);
}

TEST_F(LoaderTest, RefusedReceivesKeepTheUnitsCodeButNeverSucceed) {
  platform::SetTimeScale(0.2);  // a refusal runs into the long time-out
  ASSERT_TRUE(loader.StartReceive("CFGUP", true));  // the unit holds no file
  EXPECT_EQ(loader.GetResult(), 5);
  EXPECT_TRUE(files.Transfers().empty());
  ExpectEndedLast();
  files.SetXmodAnswer("CFGUP", "@00\r\n");
  ASSERT_TRUE(loader.StartReceive("CFGUP", true));
  EXPECT_EQ(loader.GetResult(), -1) << "@00 instead of the transfer is no success";
  files.SetXmodAnswer("CFGUP", "@0");
  ASSERT_TRUE(loader.StartReceive("CFGUP", true));
  EXPECT_EQ(loader.GetResult(), -1);
  EXPECT_EQ(Lines(unit).back(), "@RX ON");
}

// The file's name goes into the "XMOD" command line: one with a control character starts nothing.
TEST_F(LoaderTest, AFileNameWithAControlCharacterStartsNoTransfer) {
  EXPECT_FALSE(loader.StartReceive("CFG\rUP", true));
  EXPECT_TRUE(unit.Received().empty());
  EXPECT_EQ(ErrorLog().Count(), 1u);
}

TEST_F(LoaderTest, SendsAConfigurationTheUnitAccepts) {
  VkcConfiguration cfg;
  for (int i = 0; i < 30; ++i) cfg.GetSection("DEALER").GetChildAt(i).SetString("value " + std::to_string(i));
  ASSERT_TRUE(loader.WriteConfigurationImage(cfg));
  loader.SetExpectedReplies(VkcConnectionInterface::kMatchAllInOrder, "File Successfully Written\r\n", "\r\n");
  ASSERT_TRUE(loader.StartSendImage("DDCFG", true));
  EXPECT_EQ(loader.GetResult(), 0);
  ASSERT_TRUE(files.WaitForTransfers(1, 5000));
  auto t = files.Transfers()[0];
  EXPECT_TRUE(t.ok);
  EXPECT_TRUE(t.headerOk);
  auto img = loader.Image().Bytes();
  EXPECT_EQ(files.File("DDCFG"), std::vector<uint8_t>(img.begin(), img.end()));
  std::string log = mailbox.TakeTextUtf8();
  EXPECT_EQ(log.rfind("Downloading File...", 0), 0u);
  EXPECT_NE(log.find("File Successfully Written"), std::string::npos) << "the unit's text reaches the log";
  ExpectEndedLast();
}

TEST_F(LoaderTest, ImageOf428BytesGoesInFourBlocks) {
  std::vector<uint8_t> payload(300);
  for (size_t i = 0; i < payload.size(); ++i) payload[i] = static_cast<uint8_t>(i * 7);
  loader.SetImage(payload.data(), payload.size(), false);
  ASSERT_TRUE(loader.StartSendImage("CFGDN", true));
  EXPECT_EQ(loader.GetResult(), 0);
  ASSERT_TRUE(files.WaitForTransfers(1, 5000));
  EXPECT_TRUE(files.Transfers()[0].headerOk);
  auto stored = files.File("CFGDN");
  ASSERT_EQ(stored.size(), 428u);
  EXPECT_EQ(VkcUnitFile::GetU32(stored, 72), 300u);
  EXPECT_EQ(VkcUnitFile::GetU32(stored, 80), VkcLoader::Crc32(payload.data(), payload.size()));
  EXPECT_EQ(ProgressValues(window), (std::vector<intptr_t>{0, 0, 29, 59, 89}));
}

TEST_F(LoaderTest, ConfirmationRightBehindTheLastAcknowledgementIsNotLost) {
  // A unit that stores quickly answers in the same breath as its last ACK.
  platform::SetTimeScale(0.2);
  sim::SimXmodFaults f;
  f.confirmAtOnce = true;
  files.SetFaults(f);
  loader.SetExpectedReplies(VkcConnectionInterface::kMatchAny, "File Successfully Written\r\n");
  for (int i = 0; i < 3; ++i) {
    loader.SetImage(std::vector<uint8_t>(300, static_cast<uint8_t>(i)).data(), 300, false);
    ASSERT_TRUE(loader.StartSendImage("DDCFG", true));
    EXPECT_EQ(loader.GetResult(), 0) << "run " << i;
  }
}

TEST_F(LoaderTest, MissingConfirmationAndRefusedCommand) {
  platform::SetTimeScale(0.1);
  sim::SimXmodFaults f;
  f.confirm = false;
  files.SetFaults(f);
  loader.SetImage(std::vector<uint8_t>(200, 1).data(), 200, false);
  loader.SetExpectedReplies(VkcConnectionInterface::kMatchAny, "File Successfully Written\r\n");
  ASSERT_TRUE(loader.StartSendImage("DDCFG", true));
  EXPECT_EQ(loader.GetResult(), 5);
  files.SetXmodAnswer("DFCFG", "@03\r\n");
  ASSERT_TRUE(loader.StartSendImage("DFCFG", true));
  EXPECT_EQ(loader.GetResult(), -1);
  bool logged = false;
  for (auto& e : ErrorLog().Entries()) logged |= e.text == "No response on XMOD DFCFG\r command";
  EXPECT_TRUE(logged);
}

TEST_F(LoaderTest, StopDuringASendCancelsTheUnitBeforeRxOn) {
  sim::SimXmodFaults f;
  f.silentAtBlock = 3;
  files.SetFaults(f);
  platform::Event stop(platform::Event::ResetMode::Manual, false);
  loader.SetCancelEvent(&stop);
  std::vector<uint8_t> payload(2000, 0x33);
  loader.SetImage(payload.data(), payload.size(), false);
  ASSERT_TRUE(loader.StartSendImage("DDCFG", false));
  ASSERT_TRUE(window.WaitFor([](auto& m) { return m.size() >= 4; }, 10000));  // two blocks in
  stop.Set();
  ASSERT_TRUE(window.WaitForMessage(kMsgProgress, kProgressLoaderEnd, 20000));
  EXPECT_EQ(loader.GetResult(), -1);
  // The cancel's own line may be recorded before "@RX ON" arrives: wait for that one.
  const auto rxOnLast = [&] {
    const std::vector<std::string> lines = Lines(unit);
    return !lines.empty() && lines.back() == "@RX ON";
  };
  for (int i = 0; i < 500 && !rxOnLast(); ++i) std::this_thread::sleep_for(std::chrono::milliseconds(10));
  EXPECT_TRUE(rxOnLast()) << ::testing::PrintToString(Lines(unit));
  std::string rx = unit.Received();
  size_t cans = rx.find(std::string(5, '\x18'));
  ASSERT_NE(cans, std::string::npos);
  EXPECT_LT(cans, rx.rfind("@RX ON\r\n"));
}

TEST_F(LoaderTest, UnitCancelsEitherWay) {
  files.SetFile("CFGUP", std::vector<uint8_t>(1000, 5));
  sim::SimXmodFaults f;
  f.cancelAtBlock = 3;
  files.SetFaults(f);
  ASSERT_TRUE(loader.StartReceive("CFGUP", true));
  EXPECT_EQ(loader.GetResult(), -1);
  loader.SetImage(std::vector<uint8_t>(1000, 6).data(), 1000, false);
  ASSERT_TRUE(loader.StartSendImage("DDCFG", true));
  EXPECT_EQ(loader.GetResult(), -1);
  EXPECT_FALSE(files.HasFile("DDCFG"));
  EXPECT_EQ(Lines(unit).back(), "@RX ON");
}

TEST_F(LoaderTest, LineFaultsEndInTheRightFileOrAFailure) {
  std::vector<uint8_t> upload(3000);
  for (size_t i = 0; i < upload.size(); ++i) upload[i] = static_cast<uint8_t>(i * 13 + 1);
  files.SetFile("CFGUP", upload);
  std::vector<uint8_t> payload(1500);
  for (size_t i = 0; i < payload.size(); ++i) payload[i] = static_cast<uint8_t>(i * 3 + 2);
  struct Case {
    const char* name;
    sim::SimXmodFaults f;
  };
  std::vector<Case> cases(6);
  cases[0] = {"corrupt to us", {}};
  cases[0].f.corruptOut = 700;
  cases[1] = {"drop to us", {}};
  cases[1].f.dropOut = 1000;
  cases[2] = {"duplicate to us", {}};
  cases[2].f.duplicateOut = 1500;
  cases[3] = {"corrupt to unit", {}};
  cases[3].f.corruptIn = 300;
  cases[4] = {"drop to unit", {}};
  cases[4].f.dropIn = 500;
  cases[5] = {"duplicate to unit", {}};
  cases[5].f.duplicateIn = 900;
  for (auto& c : cases) {
    files.SetFaults(c.f);
    files.RemoveFile("CFGDN");
    ASSERT_TRUE(loader.StartReceive("CFGUP", true));
    if (loader.GetResult() == 0) {
      auto img = loader.Image().Bytes();
      ASSERT_GE(img.size(), upload.size()) << c.name;
      EXPECT_TRUE(std::equal(upload.begin(), upload.end(), img.begin())) << c.name;
    }
    loader.SetImage(payload.data(), payload.size(), false);
    ASSERT_TRUE(loader.StartSendImage("CFGDN", true));
    auto t = files.Transfers().back();
    if (loader.GetResult() == 0) {
      EXPECT_TRUE(t.ok && t.headerOk) << c.name;
      auto stored = files.File("CFGDN");
      ASSERT_EQ(stored.size(), 128 + payload.size()) << c.name;
      EXPECT_TRUE(std::equal(payload.begin(), payload.end(), stored.begin() + 128)) << c.name;
    }
    EXPECT_EQ(loader.GetResult(), 0) << c.name << ": a single fault is repaired by a retry";
  }
}

TEST_F(LoaderTest, LrzszOnTheUnitsSide) {
  sim::SimXmodFaults f;
  f.lrzsz = true;
  files.SetFaults(f);
  std::vector<uint8_t> upload(5000);
  for (size_t i = 0; i < upload.size(); ++i) upload[i] = static_cast<uint8_t>(i ^ (i >> 8));
  files.SetFile("CFGUP", upload);
  ASSERT_TRUE(loader.StartReceive("CFGUP", true));
  EXPECT_EQ(loader.GetResult(), 0);
  auto img = loader.Image().Bytes();
  ASSERT_EQ(img.size(), (upload.size() + 127) / 128 * 128);
  EXPECT_TRUE(std::equal(upload.begin(), upload.end(), img.begin()));
  for (size_t i = upload.size(); i < img.size(); ++i) EXPECT_EQ(img[i], 0x1A);

  VkcConfiguration cfg;
  for (int i = 0; i < 50; ++i) cfg.GetSection("USER").GetChildAt(i).SetInt(static_cast<uint32_t>(i));
  ASSERT_TRUE(loader.WriteConfigurationImage(cfg));
  ASSERT_TRUE(loader.StartSendImage("CFGDN", true));
  EXPECT_EQ(loader.GetResult(), 0);
  ASSERT_TRUE(files.WaitForTransfers(2, 5000));
  EXPECT_TRUE(files.Transfers()[1].headerOk) << "rx -c took CRC-16 blocks";
  auto sent = loader.Image().Bytes();
  EXPECT_EQ(files.File("CFGDN"), std::vector<uint8_t>(sent.begin(), sent.end()));
}

TEST_F(LoaderTest, SendsADiskFileWithItsOwnHeader) {
  testsupport::TempDir dir;
  std::vector<uint8_t> image(128 + 700, 0x77);
  std::memcpy(image.data(), "DIFC", 4);
  {
    std::ofstream f(dir.File("fw.xmd"), std::ios::binary);
    f.write(reinterpret_cast<const char*>(image.data()), static_cast<std::streamsize>(image.size()));
  }
  loader.SetFilePath(u"");
  EXPECT_FALSE(loader.StartSendFile("IMAGE", true)) << "no file";
  std::u16string path = Utf8ToUtf16(dir.File("fw.xmd"));
  loader.SetFilePath(path);
  loader.SetExpectedReplies(VkcConnectionInterface::kMatchAllInOrder, "File Successfully Written\r\n", "\r\n");
  ASSERT_TRUE(loader.StartSendFile("IMAGE", true));
  EXPECT_EQ(loader.GetResult(), 0);
  auto stored = files.File("IMAGE");
  ASSERT_EQ(stored.size(), 896u);  // as sent, padded to whole blocks
  EXPECT_TRUE(std::equal(image.begin(), image.end(), stored.begin()));
}

// The same unit behind the TCP gateway: a configuration read and written through the TCP client.
TEST(LoaderOverTcp, ReadsAndWritesThroughTheGateway) {
  platform::SetTimeScale(0.1);  // the TCP reply time-out (10 s) bounds the prompt waits
  sim::SimUnit unit;
  sim::SimXmodFiles files(unit);
  files.SetBlockWait(10000);  // scaled like every wait of the engine on the unit's side
  auto r0 = Record("F"), r1 = Record("D"), r2 = Record("U", 20);
  files.SetFile("DFCFG", WithHeader(r0));
  files.SetFile("DDCFG", WithHeader(r1));
  files.SetFile("CFGDN", WithHeader(r2));
  sim::SimGateway gw(&unit);
  ASSERT_TRUE(gw.IsOk());
  platform::RecordingWindow portWindow;
  VkcTCPClient client;
  client.SetTcpSettings(TcpConnectSettings("127.0.0.1", gw.Port(), "a", "pw"));
  client.SetOwnerWindow(portWindow.Handle());
  ASSERT_TRUE(portWindow.WaitForMessage(kPortStatusMessage, kPortOpened, 10000));

  VkcLoader loader;
  loader.SetPort(&client);
  ASSERT_TRUE(loader.StartReceive("CFGUP", true));
  EXPECT_EQ(loader.GetResult(), 0);
  VkcConfiguration user;
  ASSERT_TRUE(loader.ReadConfigurationSection(2, user));
  ASSERT_TRUE(loader.WriteConfigurationImage(user));
  loader.SetExpectedReplies(VkcConnectionInterface::kMatchAny, "File Successfully Written\r\n");
  ASSERT_TRUE(loader.StartSendImage("CFGDN", true));
  EXPECT_EQ(loader.GetResult(), 0);
  auto sent = loader.Image().Bytes();
  EXPECT_EQ(files.File("CFGDN"), std::vector<uint8_t>(sent.begin(), sent.end()));
  client.Close();
  ASSERT_TRUE(portWindow.WaitForMessage(kPortStatusMessage, kPortClosed, 5000));
  platform::SetTimeScale(1.0);
}

// What a unit may do around the end of a file, each of which the program must take as it is.
TEST_F(LoaderTest, EndsOfAFileAsUnitsSendThem) {
  platform::SetTimeScale(0.2);
  files.SetFile("CFGUP", std::vector<uint8_t>(1000, 0x21));
  struct Case {
    const char* name;
    sim::SimXmodFaults f;
    bool upload;
  };
  std::vector<Case> cases(4);
  cases[0] = {"result line in the same write as the EOT", {}, true};
  cases[0].f.textAfterEot = true;
  cases[3] = {"a long result line in the same write as the EOT", {}, true};
  cases[3].f.textAfterEot = true;
  cases[3].f.sentResult = std::string(300, '-') + "\r\n@00\r\n";
  cases[1] = {"a code in the line after a good file", {}, true};
  cases[1].f.sentResult = "@07\r\n";
  cases[2] = {"the program's EOT answered with the confirmation, no ACK", {}, false};
  cases[2].f.ackEot = false;
  loader.SetExpectedReplies(VkcConnectionInterface::kMatchAny, "File Successfully Written\r\n");
  for (auto& c : cases) {
    files.SetFaults(c.f);
    if (c.upload) {
      ASSERT_TRUE(loader.StartReceive("CFGUP", true));
      EXPECT_EQ(loader.Image().Length(), 1024u) << c.name;
    } else {
      loader.SetImage(std::vector<uint8_t>(300, 9).data(), 300, false);
      ASSERT_TRUE(loader.StartSendImage("DDCFG", true));
    }
    EXPECT_EQ(loader.GetResult(), 0) << c.name;
    EXPECT_EQ(Lines(unit).back(), "@RX ON") << c.name;
  }
}

// A unit left in its XModem receiver is cancelled before "@RX ON"; an "@RX ON" without its "@0"
// is sent once more, and the transfer fails when that goes unanswered too.
TEST_F(LoaderTest, UnitTrafficIsRestartedOrTheTransferFails) {
  platform::SetTimeScale(0.2);
  files.SetXmodAnswer("DFCFG", "Starting to Dow\x7Fnload\r\n");
  loader.SetImage(std::vector<uint8_t>(200, 1).data(), 200, false);
  ASSERT_TRUE(loader.StartSendImage("DFCFG", true));
  EXPECT_EQ(loader.GetResult(), -1);
  std::string rx = unit.Received();
  size_t cans = rx.find(std::string(5, '\x18'));
  ASSERT_NE(cans, std::string::npos);
  EXPECT_LT(cans, rx.rfind("@RX ON\r\n"));

  files.SetFile("CFGUP", std::vector<uint8_t>(300, 0x42));
  for (int unanswered : {1, 2}) {
    sim::SimXmodFaults f;
    f.rxOnUnanswered = unanswered;
    files.SetFaults(f);
    unit.ClearRecord();
    ErrorLog().Clear();
    ASSERT_TRUE(loader.StartReceive("CFGUP", true));
    auto cmds = Lines(unit);
    EXPECT_EQ(std::count(cmds.begin(), cmds.end(), "@RX ON"), 2) << unanswered;
    EXPECT_EQ(loader.GetResult(), unanswered == 1 ? 0 : -1) << unanswered;
    bool logged = false;
    for (auto& e : ErrorLog().Entries()) logged |= e.text == "No response from command @RX ON";
    EXPECT_EQ(logged, unanswered == 2);
  }
}

// A unit streaming a file without end, or a port that goes away mid-transfer: the transfer fails
// cleanly and at once rather than growing or retrying against a dead line.
TEST_F(LoaderTest, EndlessFileOrVanishedPortEndsTheTransfer) {
  files.SetFile("CFGUP", std::vector<uint8_t>(5000, 0x55));
  loader.SetReceiveLimit(2048);
  ASSERT_TRUE(loader.StartReceive("CFGUP", true));
  EXPECT_EQ(loader.GetResult(), -1);
  EXPECT_LE(loader.Image().Length(), 2048u);
  std::string rx = unit.Received();
  size_t cans = rx.find(std::string(5, '\x18'));
  ASSERT_NE(cans, std::string::npos);
  EXPECT_LT(cans, rx.rfind("@RX ON\r\n"));
  loader.SetReceiveLimit(VkcLoader::kDefaultReceiveLimit);

  sim::SimXmodFaults f;
  f.silentAtBlock = 3;
  files.SetFaults(f);
  window.Clear();
  ASSERT_TRUE(loader.StartReceive("CFGUP", false));
  ASSERT_TRUE(window.WaitFor([](auto& m) { return m.size() >= 4; }, 10000));  // blocks coming in
  unit.HangUp();
  EXPECT_TRUE(window.WaitForMessage(kMsgProgress, kProgressLoaderEnd, 8000)) << "not retrying for minutes";
  loader.Wait();
  EXPECT_EQ(loader.GetResult(), -1);
}

// Stopped, the transfer does not sit out the unit's silence in its closing exchanges.
TEST_F(LoaderTest, StopEndsTheClosingWaits) {
  unit.SetSilent(true);
  platform::Event stop(platform::Event::ResetMode::Manual, true);
  loader.SetCancelEvent(&stop);
  ASSERT_TRUE(loader.StartReceive("CFGUP", false));
  EXPECT_TRUE(window.WaitForMessage(kMsgProgress, kProgressLoaderEnd, 1200));
  loader.Wait();
  EXPECT_EQ(loader.GetResult(), -1);
}

// A unit that goes away while its confirmation is awaited ends the wait with the port.
TEST_F(LoaderTest, VanishedUnitEndsTheConfirmationWait) {
  sim::SimXmodFaults f;
  f.confirm = false;
  files.SetFaults(f);
  platform::Event stop(platform::Event::ResetMode::Manual, false);
  loader.SetCancelEvent(&stop);  // as a firmware download sends: the longest confirmation wait
  loader.SetExpectedReplies(VkcConnectionInterface::kMatchAllInOrder, "File Successfully Written\r\n", "\r\n");
  loader.SetImage(std::vector<uint8_t>(300, 3).data(), 300, false);
  ASSERT_TRUE(loader.StartSendImage("DDCFG", false));
  ASSERT_TRUE(files.WaitForTransfers(1, 10000));
  unit.HangUp();
  EXPECT_TRUE(window.WaitForMessage(kMsgProgress, kProgressLoaderEnd, 8000)) << "not waiting out the confirmation";
  loader.Wait();
  EXPECT_EQ(loader.GetResult(), -1);
}
