// The GSM/GPRS holder and the network-service controllers against a real unit image.

#include <gtest/gtest.h>

#include <string>

#include "devices/VkcDeviceManager.h"
#include "link/Ansi.h"
#include "unit/VkcGSMGPRSConfigController.h"
#include "unit/VkcISConfigController.h"
#include "unit/VkcSystem.h"

namespace {

constexpr int kGsmModel = 49;    // has network services
constexpr int kPlainModel = 4;   // has none

bool Same(const CfgNode& a, const CfgNode& b) {
  if (a.GetType() != b.GetType() || a.GetScalar() != b.GetScalar() || a.GetString() != b.GetString() ||
      a.GetWString() != b.GetWString() || a.GetByteVector() != b.GetByteVector() ||
      a.GetChildCount() != b.GetChildCount()) {
    return false;
  }
  for (size_t i = 0; i < a.GetChildCount(); ++i) {
    if (!Same(a.ChildAt(i), b.ChildAt(i))) return false;
  }
  return true;
}

class ServiceControllers : public ::testing::Test {
 protected:
  void SetUp() override {
    manager.RegisterPrototypes();
    system.SetCurrentDevice(manager.GetDevice(kGsmModel));
  }
  CfgNode& Row() { return system.User().GetChild(1).GetChildAt(0); }
  std::string Text(int group, int key) { return Row().GetChildAt(group).GetChildAt(key).GetString(); }
  VkcISConfigController& Select(int kind) {
    EXPECT_TRUE(system.SelectConfigController(kind, 0));
    return *system.GetConfigController(0);
  }

  VkcDeviceManager manager;
  VkcSystem system;
};

struct ServiceCase {
  int kind;
  int group;
  std::vector<std::u16string ServiceSettings::*> keys;
};

TEST_F(ServiceControllers, EveryServiceMapsToAndFromTheImage) {
  const ServiceCase cases[] = {
      {0, 10, {&ServiceSettings::host, &ServiceSettings::port, &ServiceSettings::login, &ServiceSettings::password}},
      {1, 9, {&ServiceSettings::host, &ServiceSettings::port, &ServiceSettings::login, &ServiceSettings::password,
              &ServiceSettings::mountPoint, &ServiceSettings::nmea}},
      {2, 11, {&ServiceSettings::port, &ServiceSettings::login, &ServiceSettings::password}},
  };
  for (const ServiceCase& c : cases) {
    SCOPED_TRACE(c.kind);
    system.User().Clear();
    for (size_t k = 0; k < c.keys.size(); ++k) {
      Row().GetChildAt(c.group).GetChildAt(static_cast<int>(k)).SetString(k == 1 && c.kind != 2 ? "2101" : "v" + std::to_string(k) + "\xE9");
    }
    Row().GetChildAt(3).GetChildAt(9).SetInt(4);
    Row().GetChildAt(12).GetChildAt(0).SetInt(7);
    Row().GetChildAt(12).GetChildAt(1).SetInt(1);
    VkcISConfigController& s = Select(c.kind);
    ASSERT_TRUE(s.LoadFromDevice(0));
    ServiceSettings e = s.GetSettings(0);
    EXPECT_EQ(e.state, c.kind);
    EXPECT_EQ(e.routing, 4);
    EXPECT_EQ(e.autorun, 1);
    for (size_t k = 0; k < c.keys.size(); ++k) {
      std::string expected = k == 1 && c.kind != 2 ? "2101" : "v" + std::to_string(k) + "\xE9";
      EXPECT_EQ(e.*c.keys[k], AnsiToWide(expected)) << k;
    }
    EXPECT_TRUE(s.GetSettings(1).host.empty());  // entry 1 untouched

    // Back: every text in key order, the kind and autorun; never the routing.
    ASSERT_TRUE(s.SetLogin(u"user\u00FC", 0));
    ASSERT_TRUE(s.SetRouting(9, 0));
    ASSERT_TRUE(s.SetAutorun(false, 0));
    ASSERT_TRUE(s.SaveToDevice(0));
    const size_t loginKey = c.kind == 2 ? 1 : 2;
    EXPECT_EQ(Text(c.group, static_cast<int>(loginKey)), "user\xFC");
    EXPECT_EQ(Row().GetChildAt(c.group).GetChildCount(), c.keys.size());
    EXPECT_EQ(Row().GetChildAt(12).GetChildAt(0).GetInt(), c.kind);
    EXPECT_EQ(Row().GetChildAt(12).GetChildAt(1).GetInt(), 0);
    EXPECT_EQ(Row().GetChildAt(3).GetChildAt(9).GetInt(), 4);
    // The stored kind picks the same controller again.
    ASSERT_TRUE(system.SelectConfigController(-2, 1));
    EXPECT_EQ(system.GetConfigController(1), &s);
  }
}

TEST_F(ServiceControllers, SettersCheckTheirLimitsAndKeepTheOldValue) {
  VkcISConfigController& ntrip = Select(1);
  const std::u16string s64(64, u'a'), s65(65, u'b'), s128(128, u'c'), s129(129, u'd');
  struct Case {
    const char* name;
    bool ok;
    bool (*set)(VkcISConfigController&, const std::u16string&);
    const std::u16string* text;
  };
  auto host = [](VkcISConfigController& c, const std::u16string& t) { return c.SetHostName(t, 0); };
  auto password = [](VkcISConfigController& c, const std::u16string& t) { return c.SetPassword(t, 0); };
  auto mount = [](VkcISConfigController& c, const std::u16string& t) { return c.SetMountPoint(t, 0); };
  auto nmea = [](VkcISConfigController& c, const std::u16string& t) { return c.SetNmeaMessage(t, 0); };
  const Case cases[] = {{"host 64", true, host, &s64},       {"host 65", false, host, &s65},
                        {"password 64", true, password, &s64}, {"password 65", false, password, &s65},
                        {"mount 64", true, mount, &s64},     {"mount 65", false, mount, &s65},
                        {"nmea 128", true, nmea, &s128},     {"nmea 129", false, nmea, &s129}};
  for (const Case& c : cases) EXPECT_EQ(c.set(ntrip, *c.text), c.ok) << c.name;
  ServiceSettings e = ntrip.GetSettings(0);
  EXPECT_EQ(e.host, s64);
  EXPECT_EQ(e.password, s64);
  EXPECT_EQ(e.mountPoint, s64);
  EXPECT_EQ(e.nmea, s128);

  for (int port : {0, 65536, -1}) EXPECT_FALSE(ntrip.SetPort(port, 0)) << port;
  EXPECT_TRUE(ntrip.SetPort(65535, 0));
  EXPECT_EQ(ntrip.GetSettings(0).port, u"65535");
  EXPECT_FALSE(ntrip.SetPort(70000, 0));
  EXPECT_EQ(ntrip.GetPort(0), 65535);
  for (int routing : {0, 11}) EXPECT_FALSE(ntrip.SetRouting(routing, 0));
  for (int routing : {1, 10}) EXPECT_TRUE(ntrip.SetRouting(routing, 0));
  EXPECT_EQ(ntrip.GetRouting(0), 10);

  // An index other than 0 or 1 is refused, not reached.
  EXPECT_FALSE(ntrip.SetLogin(u"x", 2));
  EXPECT_FALSE(ntrip.SetPort(80, -1));
  EXPECT_EQ(ntrip.GetPort(5), 0);
  EXPECT_FALSE(ntrip.LoadFromDevice(2));
  EXPECT_FALSE(ntrip.SaveToDevice(-1));

  // A TCP client has no mount point or NMEA: accepted, not kept.
  VkcISConfigController& client = Select(0);
  EXPECT_TRUE(client.SetNmeaMessage(s64, 0));
  EXPECT_TRUE(client.SetMountPoint(s65 + s65, 0));
  EXPECT_TRUE(client.GetNmeaMessage(0).empty());
  EXPECT_TRUE(client.GetSettings(0).nmea.empty());
  EXPECT_FALSE(client.UsesMountPoint());

  // A TCP server keeps a host only in entry 1.
  VkcISConfigController& server = Select(2);
  EXPECT_TRUE(server.SetHostName(u"x", 0));
  EXPECT_TRUE(server.GetHostName(0).empty());
  EXPECT_TRUE(server.SetHostName(u"x", 1));
  EXPECT_EQ(server.GetHostName(1), u"x");
  EXPECT_FALSE(server.SetHostName(s65, 1));
  EXPECT_FALSE(server.UsesHostName());
}

TEST_F(ServiceControllers, PortTextThatIsNoNumberReadsAsZero) {
  VkcISConfigController& client = Select(0);
  Row().GetChildAt(10).GetChildAt(1).SetString("abc");
  ASSERT_TRUE(client.LoadFromDevice(0));
  EXPECT_EQ(client.GetPort(0), 0);
  Row().GetChildAt(10).GetChildAt(1).SetString(" 8080");
  ASSERT_TRUE(client.LoadFromDevice(0));
  EXPECT_EQ(client.GetPort(0), 8080);
}

TEST_F(ServiceControllers, UnitWithoutNetworkServicesIsNeitherReadNorWritten) {
  VkcISConfigController& ntrip = Select(1);
  ASSERT_TRUE(ntrip.SetLogin(u"kept", 0));
  Row().GetChildAt(9).GetChildAt(2).SetString("image");
  const VkcConfiguration before = system.User();
  for (const VkcDevice* device : {manager.GetDevice(kPlainModel), static_cast<const VkcDevice*>(nullptr)}) {
    system.SetCurrentDevice(device);
    EXPECT_FALSE(ntrip.LoadFromDevice(0));
    EXPECT_FALSE(ntrip.SaveToDevice(0));
    EXPECT_EQ(ntrip.GetLogin(0), u"kept");
    EXPECT_TRUE(Same(system.User().Root(), before.Root()));
  }
}

TEST_F(ServiceControllers, SlotsShareControllersWithSeparateEntries) {
  EXPECT_EQ(system.GetConfigController(0), system.GetConfigController(0));
  ASSERT_TRUE(system.SelectConfigController(1, 0));
  ASSERT_TRUE(system.SelectConfigController(1, 1));
  VkcISConfigController* ntrip = system.GetConfigController(0);
  ASSERT_EQ(ntrip, system.GetConfigController(1));
  ASSERT_TRUE(ntrip->SetHostName(u"caster.example", 1));
  ASSERT_TRUE(ntrip->SetHostName(u"other", 0));
  EXPECT_EQ(ntrip->GetHostName(1), u"caster.example");
  // An unknown kind leaves the slot.
  Row().GetChildAt(12).GetChildAt(0).SetInt(3);
  EXPECT_FALSE(system.SelectConfigController(-2, 0));
  EXPECT_FALSE(system.SelectConfigController(5, 0));
  EXPECT_EQ(system.GetConfigController(0), ntrip);
}

TEST_F(ServiceControllers, GsmHolderMapsItsFiveValues) {
  VkcGSMGPRSConfigController& gsm = *system.GetGsmGprsController();
  CfgNode& group = Row().GetChildAt(8);
  group.GetChildAt(0).SetString("12\xE4");
  group.GetChildAt(1).SetString("internet");
  group.GetChildAt(2).SetString("me");
  group.GetChildAt(3).SetString("pw");
  group.GetChildAt(6).SetInt(2);
  ASSERT_TRUE(gsm.LoadFromDevice());
  EXPECT_EQ(gsm.Settings().pinCode, u"12\u00E4");
  EXPECT_EQ(gsm.Settings().apn, u"internet");
  EXPECT_EQ(gsm.Settings().band, 2);

  const std::u16string s64(64, u'l'), s65(65, u'm');
  EXPECT_TRUE(gsm.SetLogin(s64));
  EXPECT_FALSE(gsm.SetLogin(s65));
  EXPECT_FALSE(gsm.SetPinCode(s65));
  EXPECT_FALSE(gsm.SetApn(s65));
  EXPECT_TRUE(gsm.SetPassword(u""));
  EXPECT_EQ(gsm.Settings().login, s64);
  gsm.Settings().band = 3;
  ASSERT_TRUE(gsm.SaveToDevice());
  EXPECT_EQ(group.GetChildAt(0).GetString(), "12\xE4");
  EXPECT_EQ(group.GetChildAt(2).GetString(), std::string(64, 'l'));
  EXPECT_EQ(group.GetChildAt(3).GetType(), CfgNode::kTypeString);  // empty, but a text node
  EXPECT_EQ(group.GetChildAt(3).GetString(), "");
  EXPECT_EQ(group.GetChildAt(6).GetInt(), 3);

  // Without network services nothing is read or written, and the save still answers true.
  system.SetCurrentDevice(manager.GetDevice(kPlainModel));
  const VkcConfiguration before = system.User();
  EXPECT_FALSE(gsm.LoadFromDevice());
  gsm.Settings().band = 0;
  EXPECT_TRUE(gsm.SaveToDevice());
  EXPECT_TRUE(Same(system.User().Root(), before.Root()));
}

}  // namespace
