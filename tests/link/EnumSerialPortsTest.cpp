#include "link/EnumSerialPorts.h"

#include <fcntl.h>
#include <stdlib.h>
#include <sys/file.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>

#include "link/VkcErrorProcessor.h"
#include "support/TestSupport.h"

namespace fs = std::filesystem;

namespace {

// A fake /sys and /dev under a temporary folder, shaped the way the kernel lays them out.
class FakeSysfs {
 public:
  FakeSysfs() {
    fs::create_directories(Root() / "sys/class/tty");
    fs::create_directories(Root() / "dev/serial/by-id");
  }

  platform::PortScanRoots Roots() const {
    platform::PortScanRoots r;
    r.sysClassTty = (Root() / "sys/class/tty").string();
    r.serialById = (Root() / "dev/serial/by-id").string();
    r.dev = "/dev";
    return r;
  }

  // A device folder under sys/devices, with its subsystem (and driver) links and attributes.
  fs::path Device(const std::string& path, const std::string& subsystem, const std::string& driver = {}) {
    const fs::path dir = Root() / "sys/devices" / path;
    fs::create_directories(dir);
    if (!subsystem.empty()) Link(dir / "subsystem", "/sys/bus/" + subsystem);
    if (!driver.empty()) Link(dir / "driver", "/sys/bus/" + subsystem + "/drivers/" + driver);
    return dir;
  }
  static void Attribute(const fs::path& dir, const std::string& name, const std::string& value) {
    std::ofstream(dir / name) << value << "\n";
  }
  // A tty registered under a device (or under devices/virtual when device is empty).
  fs::path Tty(const std::string& name, const fs::path& device) {
    const fs::path dir = (device.empty() ? Root() / "sys/devices/virtual" : device) / "tty" / name;
    fs::create_directories(dir);
    if (!device.empty()) Link(dir / "device", fs::relative(device, dir));
    Link(Root() / "sys/class/tty" / name, fs::relative(dir, Root() / "sys/class/tty"));
    return dir;
  }
  void ById(const std::string& id, const std::string& tty) {
    Link(Root() / "dev/serial/by-id" / id, "../../" + tty);
  }

 private:
  fs::path Root() const { return dir_.Path(); }
  static void Link(const fs::path& at, const fs::path& target) { fs::create_directory_symlink(target, at); }
  testsupport::TempDir dir_;
};

class SourceFor : public PortListSource {
 public:
  explicit SourceFor(std::vector<PortInfo> ports) : ports_(std::move(ports)) {}
  std::vector<PortInfo> List() override { return ports_; }

 private:
  std::vector<PortInfo> ports_;
};

class EnumSerialPortsTest : public ::testing::Test {
 protected:
  void SetUp() override { ErrorLog().Clear(); }
  void TearDown() override { SetPortListSource(nullptr); }
  std::vector<PortInfo> Enumerate(bool probe) {
    std::vector<PortInfo> list{{u"stale", u"stale", u"stale", 0, u"stale"}};
    EnumSerialPorts(list, probe, false, false, 1);
    return list;
  }
};

PortInfo Port(std::u16string name, std::u16string friendly, std::u16string display, int usb) {
  return {u"/dev/" + name, name, friendly, usb, display};
}

}  // namespace

TEST_F(EnumSerialPortsTest, ListsHardwarePortsFromSysfs) {
  FakeSysfs sys;
  // USB adapter with a product name, one naming only its maker, one named by nothing.
  // The root hub has names of its own that must not reach a port.
  const fs::path hub = sys.Device("pci0000:00/0000:00:14.0/usb1", "usb");
  FakeSysfs::Attribute(hub, "idVendor", "1d6b");
  FakeSysfs::Attribute(hub, "product", "xHCI Host Controller");
  FakeSysfs::Attribute(hub, "manufacturer", "Linux 6.1.0 xhci-hcd");
  const fs::path ftdi = sys.Device("pci0000:00/0000:00:14.0/usb1/1-1", "usb");
  FakeSysfs::Attribute(ftdi, "idVendor", "0403");
  FakeSysfs::Attribute(ftdi, "product", "FT232R USB UART");
  FakeSysfs::Attribute(ftdi, "manufacturer", "FTDI");
  sys.Device("pci0000:00/0000:00:14.0/usb1/1-1/1-1:1.0", "usb");
  sys.Tty("ttyUSB0", sys.Device("pci0000:00/0000:00:14.0/usb1/1-1/1-1:1.0/ttyUSB0", "usb-serial", "ftdi_sio"));
  const fs::path maker = sys.Device("pci0000:00/0000:00:14.0/usb1/1-2", "usb");
  FakeSysfs::Attribute(maker, "idVendor", "067b");
  FakeSysfs::Attribute(maker, "manufacturer", "Prolific");
  sys.Tty("ttyUSB1", sys.Device("pci0000:00/0000:00:14.0/usb1/1-2/1-2:1.0/ttyUSB1", "usb-serial"));
  FakeSysfs::Attribute(sys.Device("pci0000:00/0000:00:14.0/usb1/1-3", "usb"), "idVendor", "067b");
  sys.Tty("ttyUSB10", sys.Device("pci0000:00/0000:00:14.0/usb1/1-3/1-3:1.0", "usb", "pl2303"));
  // CDC modem known only by its by-id link.
  FakeSysfs::Attribute(sys.Device("pci0000:00/0000:00:14.0/usb1/1-4", "usb"), "idVendor", "1234");
  sys.Tty("ttyACM0", sys.Device("pci0000:00/0000:00:14.0/usb1/1-4/1-4:1.0", "usb", "cdc_acm"));
  sys.ById("usb-Velkor_Radio_Modem_0042-if00", "ttyACM0");
  // 8250 ports: a real UART and a phantom (type 0); two sysfs does not type are asked of the
  // device, in the layout of newer kernels (a port device below serial8250, driver "port").
  const fs::path s8250 = sys.Device("platform/serial8250", "platform", "serial8250");
  FakeSysfs::Attribute(sys.Tty("ttyS0", s8250), "type", "4");
  FakeSysfs::Attribute(sys.Tty("ttyS1", s8250), "type", "0");
  sys.Device("platform/serial8250/serial8250:0", "serial-base");
  sys.Tty("ttyS2", sys.Device("platform/serial8250/serial8250:0/serial8250:0.2", "serial-base", "port"));
  sys.Tty("ttyS3", sys.Device("platform/serial8250/serial8250:0/serial8250:0.3", "serial-base", "port"));
  // A serial-core port that found no UART is dropped whatever its driver.
  FakeSysfs::Attribute(sys.Tty("ttyAMA1", sys.Device("platform/fe201000.serial", "amba", "uart-pl011")),
                       "type", "0");
  // A port of another serial driver is real hardware without a name.
  sys.Tty("ttyS10", sys.Device("pnp0/00:05", "pnp", "serial"));
  // Consoles and pseudo-terminals are virtual; an rfcomm port is listed all the same.
  sys.Tty("tty0", {});
  sys.Tty("ptmx", {});
  sys.Tty("rfcomm0", {});

  auto roots = sys.Roots();
  std::vector<std::string> asked;
  roots.hasUart = [&](const std::string& path) {
    asked.push_back(path);
    return path == "/dev/ttyS2";
  };
  SetPortListSource(std::make_shared<SysfsPortListSource>(roots));

  const std::vector<PortInfo> expected{
      Port(u"rfcomm0", u"Bluetooth Link (rfcomm0)", u"Bluetooth Link", 0),
      Port(u"ttyACM0", u"Velkor Radio Modem 0042 (ttyACM0)", u"Velkor Radio Modem 0042", 1),
      Port(u"ttyS0", u"ttyS0", u"ttyS0", 0),
      Port(u"ttyS2", u"ttyS2", u"ttyS2", 0),
      Port(u"ttyS10", u"ttyS10", u"ttyS10", 0),
      Port(u"ttyUSB0", u"FT232R USB UART (ttyUSB0)", u"FT232R USB UART", 1),
      Port(u"ttyUSB1", u"Prolific (ttyUSB1)", u"Prolific", 1),
      Port(u"ttyUSB10", u"USB Serial (ttyUSB10)", u"USB Serial", 1),
  };
  EXPECT_EQ(Enumerate(false), expected);
  std::sort(asked.begin(), asked.end());
  EXPECT_EQ(asked, (std::vector<std::string>{"/dev/ttyS2", "/dev/ttyS3"}));

  // Ports without a friendly name are logged by their port name.
  const std::u16string log = ErrorLog().GetText();
  EXPECT_NE(log.find(u"Error #0 - Does not have friendly name ttyS0\r\n"), std::u16string::npos);
  EXPECT_NE(log.find(u"Does not have friendly name ttyS10\r\n"), std::u16string::npos);
  EXPECT_EQ(ErrorLog().Count(), 3u);
}

TEST_F(EnumSerialPortsTest, AMachineWithoutPortsGivesAnEmptyList) {
  FakeSysfs sys;
  sys.Tty("tty0", {});
  SetPortListSource(std::make_shared<SysfsPortListSource>(sys.Roots()));
  EXPECT_TRUE(Enumerate(false).empty());

  platform::PortScanRoots missing;
  missing.sysClassTty = "/nonexistent/sys/class/tty";
  missing.serialById = "/nonexistent/by-id";
  SetPortListSource(std::make_shared<SysfsPortListSource>(missing));
  EXPECT_TRUE(Enumerate(true).empty());
  EXPECT_EQ(ErrorLog().Count(), 0u);
}

TEST_F(EnumSerialPortsTest, MissingNamesAreFilledFromOneAnother) {
  SetPortListSource(std::make_shared<SourceFor>(std::vector<PortInfo>{
      {u"/dev/rfcomm7", u"", u"Bluetooth Link (COM7)", 0, u""},
      {u"/dev/ttyS4", u"ttyS4", u"", 0, u""},
      {u"/dev/ttyUSB3", u"ttyUSB3", u"USB Serial (ttyUSB3)", 1, u"Kept as given"},
      {u"/dev/x", u"", u"(x)", 0, u""},           // bracket at the start: no cut
      {u"/dev/y", u"", u"Name (y", 0, u""},       // no closing bracket: no cut
      {u"/dev/z", u"", u"A (b) (COM9)", 0, u""},  // the last bracket names the port
  }));
  const std::vector<PortInfo> expected{
      {u"/dev/rfcomm7", u"COM7", u"Bluetooth Link (COM7)", 0, u"Bluetooth Link"},
      {u"/dev/ttyS4", u"ttyS4", u"ttyS4", 0, u"ttyS4"},
      {u"/dev/ttyUSB3", u"ttyUSB3", u"USB Serial (ttyUSB3)", 1, u"Kept as given"},
      {u"/dev/x", u"(x)", u"(x)", 0, u"(x)"},
      {u"/dev/y", u"Name (y", u"Name (y", 0, u"Name (y"},
      {u"/dev/z", u"COM9", u"A (b) (COM9)", 0, u"A (b)"},
  };
  EXPECT_EQ(Enumerate(false), expected);
  EXPECT_EQ(ErrorLog().GetTextUtf8(),
            "1) Error #0 - Does not have PortName Bluetooth Link (COM7)\r\n"
            "2) Error #0 - Does not have friendly name ttyS4\r\n"
            "3) Error #0 - Does not have PortName (x)\r\n"
            "4) Error #0 - Does not have PortName Name (y\r\n"
            "5) Error #0 - Does not have PortName A (b) (COM9)\r\n");
}

TEST_F(EnumSerialPortsTest, ProbeDropsPortsThatCannotBeOpenedNow) {
  // Two pseudo-terminals stand in for serial ports; another program holds the second one.
  auto openPty = [] {
    const int master = ::posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
    EXPECT_GE(master, 0);
    EXPECT_EQ(::grantpt(master), 0);
    EXPECT_EQ(::unlockpt(master), 0);
    return master;
  };
  const int freeMaster = openPty(), busyMaster = openPty();
  const std::string freePath = ::ptsname(freeMaster), busyPath = ::ptsname(busyMaster);
  const int holder = ::open(busyPath.c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC);
  ASSERT_GE(holder, 0);
  ASSERT_EQ(::flock(holder, LOCK_EX | LOCK_NB), 0);

  auto u16 = [](const std::string& s) { return std::u16string(s.begin(), s.end()); };
  SetPortListSource(std::make_shared<SourceFor>(std::vector<PortInfo>{
      {u16(freePath), u"free", u"Free Port (free)", 0, u""},
      {u16(busyPath), u"busy", u"Busy Port (busy)", 0, u""},
      {u"/dev/nonexistent-tty", u"gone", u"", 0, u""},
  }));

  // Without probe every port is listed.
  EXPECT_EQ(Enumerate(false).size(), 3u);
  ErrorLog().Clear();

  const auto probed = Enumerate(true);
  ASSERT_EQ(probed.size(), 1u);
  EXPECT_EQ(probed[0].portName, u"free");
  EXPECT_EQ(probed[0].displayName, u"Free Port");
  const auto entries = ErrorLog().Entries();
  ASSERT_EQ(entries.size(), 2u);
  EXPECT_EQ(entries[0].text, "Erase busy port Busy Port (busy)");
  EXPECT_EQ(entries[0].code, static_cast<uint32_t>(EWOULDBLOCK));
  EXPECT_EQ(entries[1].text, "Erase busy port ");
  EXPECT_EQ(entries[1].code, static_cast<uint32_t>(ENOENT));

  // The probe let go of the port it could open.
  const int fd = ::open(freePath.c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC);
  ASSERT_GE(fd, 0);
  EXPECT_EQ(::flock(fd, LOCK_EX | LOCK_NB), 0);
  ::close(fd);
  ::close(holder);
  ::close(freeMaster);
  ::close(busyMaster);
}

TEST_F(EnumSerialPortsTest, TheMachinesOwnPortsAreComplete) {
  const auto ports = Enumerate(false);
  for (const auto& p : ports) {
    EXPECT_EQ(p.devicePath, u"/dev/" + p.portName);
    EXPECT_FALSE(p.friendlyName.empty());
    EXPECT_FALSE(p.displayName.empty());
  }
}
