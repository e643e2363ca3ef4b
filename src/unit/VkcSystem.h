#pragma once
// The connected unit as a whole: the current device (the prototype identification picked), the
// unit's configuration images, its version texts, the controllers of the utilities and network
// services that act on it, and the long operations that read, write, reboot and prepare the unit.
// The long operations run by operation code through VkiPostProcess on a progress dialog's worker.
//
// Qt-free: the application attaches the device manager, its settings tree and the current port,
// so tests build a VkcSystem on a pseudo-terminal without any window.

#include <atomic>
#include <cstdint>
#include <functional>
#include <initializer_list>
#include <memory>
#include <string>

#include "devices/VkcUnitImages.h"
#include "link/VkcConfiguration.h"
#include "link/VkcLogMessage.h"
#include "link/VkiPostProcess.h"

class VkcComPort;
class VkcDevice;
class VkcDeviceInterface;
class VkcDeviceManager;
class VkcGSMGPRSConfigController;
class VkcISUtilityController;
class VkcSpectrumUtilityController;
class SpectrumScanData;
class VkcAlmanacUtilityController;
class AlmanacSeriesStore;
class VkcISConfigController;

// An owned object of a class this file need not see: whoever creates it gives its deleter.
template <class T>
using VkcOwned = std::unique_ptr<T, void (*)(T*)>;

class VkcSystem : public VkcUnitImages, public VkiPostProcess {
 public:
  // Operation codes of Process.
  enum Operation : uint32_t {
    kOpIdentify = 0,         // parameter: VkcDeviceInterface* to try first, or 0
    kOpIdentifyAgain = 1,    // parameter: VkcDevice* (its interface id picks the interface)
    kOpWriteConfiguration = 2,  // parameter: mask of kImage* below
    kOpReboot = 3,           // parameter: boot image number, -1 for none
    kOpPrepareDownload = 4,
    kOpPassThrough = 5,      // parameter: on (non-zero) or off
    kOpRtnService = 6,       // parameter: connect (non-zero) or disconnect
    kOpReadMcu = 7,
    kOpWriteMcu = 8,
  };
  // Images of a write (operation 2).
  static constexpr intptr_t kImageFactory = 1;  // DFCFG
  static constexpr intptr_t kImageDealer = 2;   // DDCFG
  static constexpr intptr_t kImageUser = 4;     // CFGDN

  // Result codes of the operations.
  static constexpr uint32_t kResultOk = 0;
  static constexpr uint32_t kResultFailed = 1;
  static constexpr uint32_t kResultNoCommandMode = 2;
  static constexpr uint32_t kResultMcuWriteFailed = 5;
  static constexpr uint32_t kResultMcuReadFailed = 6;
  // Operation 6 while the unit has no RTN utility controller.
  static constexpr uint32_t kResultNoRtnController = 1;

  // The product id GetProductId gives without a current device.
  static constexpr int kNoProduct = -3;

  VkcSystem();
  ~VkcSystem() override;
  VkcSystem(const VkcSystem&) = delete;
  VkcSystem& operator=(const VkcSystem&) = delete;

  // The application's environment: its device manager, its settings tree (read for "Serial
  // Interface" keys) and how to reach the current port. Any may be null (nothing is sent then).
  void Attach(VkcDeviceManager* manager, const VkcConfiguration* appSettings,
              std::function<VkcComPort*()> currentPort);
  VkcComPort* GetCurrentPort() const;
  VkcDeviceManager* GetDeviceManager() const { return manager_; }
  // The current port's reply and long time-outs (nominal ms); 0 without a port.
  uint32_t GetCommandTimeout() const;
  uint32_t GetLongTimeout() const;

  // --- Long operations ---
  uint32_t Process(uint32_t operation, intptr_t parameter, platform::WindowHandle notify,
                   platform::Event& stop) override;
  // Operations 0 and 1: identify through iface (null: the sweep's own order).
  bool Identify(VkcDeviceInterface* iface, platform::WindowHandle window, platform::Event* stop);
  // Operation 3. mainImage is accepted for callers that know which image they booted; unused.
  bool Reboot(int bootImage, platform::WindowHandle window, platform::Event* stop, bool mainImage = true);
  bool WriteConfiguration(intptr_t mask, platform::WindowHandle window, platform::Event* stop);
  bool SyncDataPortRate(platform::Event* stop);
  bool ReadConfiguration(bool readImages, platform::WindowHandle window, platform::Event* stop);
  bool SwitchToCommandMode(bool flag);
  bool SwitchToDataMode(bool flag);

  // --- The unit (images, versions and the current device are kept by VkcUnitImages) ---
  // The current device's product id; kNoProduct without a device.
  int GetProductId() const;
  std::u16string GetProductName() const;
  // Preset frequency n of the current device in Hz; 0 without a device.
  uint32_t GetBandLimit(int n);
  std::string GetBootloaderVersion() const { return GetBootLoaderVersion(); }
  void SetFactoryWrite(bool on) { factoryWrite_ = on; }
  bool IsFactoryWrite() const { return factoryWrite_; }
  void SetBluetoothChanged(bool on) { bluetoothChanged_ = on; }
  bool IsBluetoothChanged() const { return bluetoothChanged_; }
  // Versions "N/A", DFCFG, DDCFG and CFGDN emptied, no current device; the MCU image stays.
  // Every identification (a reboot's too) starts here, so the unit it makes current gets a new
  // identification number.
  void Reset() {
    identification_.fetch_add(1, std::memory_order_relaxed);
    identifiedSerial_.store(0, std::memory_order_relaxed);
    ClearForIdentification();
  }
  // The unit as identified: changes with each identification, never with the images (a factory
  // file replaces the serial number) nor with SetCurrentDevice (a page swaps in another mode's
  // object of the same unit).
  uint32_t GetIdentification() const { return identification_.load(std::memory_order_relaxed); }
  // The serial number the last identification read from the unit (zero before one has read it).
  // A factory file that replaces the serial number in the images leaves it as read.
  UnitId GetIdentifiedSerial() const {
    UnitId serial;
    serial.FromUInt64(identifiedSerial_.load(std::memory_order_relaxed));
    return serial;
  }
  VkcLogMessage& GetLog() { return log_; }

  // --- Network-service controllers ---
  // kind 0 TCP client, 1 NTRIP client, 2 TCP server into slot 0 or 1; -2 takes the kind from
  // CFGDN[1][R][12][0]. Other kinds or slots: false, nothing changed.
  bool SelectConfigController(int kind, int slot);
  VkcISConfigController* GetConfigController(int slot) const;
  // Installed where the controllers are built; owned from then on.
  void SetServiceControllers(VkcOwned<VkcISConfigController> tcpClient,
                             VkcOwned<VkcISConfigController> ntripClient,
                             VkcOwned<VkcISConfigController> tcpServer);
  void SetGsmGprsController(VkcOwned<VkcGSMGPRSConfigController> controller);
  void SetRtnController(VkcOwned<VkcISUtilityController> controller,
                        std::function<uint32_t(bool connect, platform::WindowHandle, platform::Event&)> run);
  void SetSpectrum(VkcOwned<VkcSpectrumUtilityController> controller, VkcOwned<SpectrumScanData> data);
  void SetAlmanac(VkcOwned<VkcAlmanacUtilityController> controller, VkcOwned<AlmanacSeriesStore> store);
  VkcGSMGPRSConfigController* GetGsmGprsController() const { return gsmGprs_.get(); }
  VkcISUtilityController* GetRtnController() const { return rtn_.get(); }
  VkcSpectrumUtilityController* GetSpectrumController() const { return spectrum_.get(); }
  SpectrumScanData* GetSpectrumData() const { return spectrumData_.get(); }
  VkcAlmanacUtilityController* GetAlmanacController() const { return almanac_.get(); }
  AlmanacSeriesStore* GetAlmanacStore() const { return almanacStore_.get(); }

  // --- Radio commands: single values on the unit's command line ---
  // Query: the result code, -1 without an answer; value is the text before the code.
  int QueryRadio(const std::string& command, std::string& value, platform::Event* stop = nullptr);
  // The value as an integer when the code is 0, else 65535.
  int QueryRadioInt(const std::string& command, platform::Event* stop = nullptr);
  // Set: 0 when the reply holds "@00", else -1.
  int SetRadioCommand(const std::string& command, platform::Event* stop) override;

  int GetModulation();
  int GetProtocol(platform::Event* stop = nullptr) override;
  int GetChannel();
  int GetLinkPowerB();
  int GetRemotePower(platform::Event* stop = nullptr);
  int GetEbN0(platform::Event* stop = nullptr);
  int GetSyncState(platform::Event* stop = nullptr);
  int GetSignalType(platform::Event* stop = nullptr);
  int GetRSSI(platform::Event* stop = nullptr);
  int GetTemperature(platform::Event* stop = nullptr);
  std::string GetRSID(platform::Event* stop = nullptr);
  std::string GetBER(platform::Event* stop = nullptr);
  // Hz; -1 when the unit gave no frequency.
  int64_t GetFrequency(platform::Event* stop = nullptr);

  bool SetLinkPowerW(int milliwatts, platform::Event* stop);
  bool SetLinkPowerB(int dbm, platform::Event* stop);
  bool SetModulation(int modulation, platform::Event* stop);
  bool SetProtocol(int protocol, platform::Event* stop);
  // The new frequency in Hz after a successful set (-1 when it cannot be read); 0 without a
  // current device or when the set fails.
  int64_t SetChannel(int channel, platform::Event* stop);
  int ResetBER(platform::Event* stop);

 private:
  // One exchange on a fresh command channel over the current port (echo expected). mode: 0 any of
  // the expected texts, 1 all in order. reply receives at most replySize - 1 characters.
  bool Exchange(const std::string& command, std::string* reply, size_t replySize, uint32_t timeoutMs,
                platform::Event* stop, uint32_t mode, std::initializer_list<const char*> expected);
  // Appends a line to the text log and tells the window; nothing without a window.
  void LogLine(platform::WindowHandle window, const char* text);
  uint32_t Identification(VkcDeviceInterface* iface, platform::WindowHandle window, platform::Event& stop);
  uint32_t PassThrough(bool on, platform::WindowHandle window, platform::Event& stop);
  VkcDeviceInterface* ModeSwitchInterface() const;
  int SettingsInt(const char* section, const char* key, int fallback) const;
  bool QueryVersion(const char* command, std::string& reply, platform::Event* stop);

  // Members in the order the unit keeps them (images, versions and device in the base).
  VkcOwned<VkcGSMGPRSConfigController> gsmGprs_{nullptr, nullptr};
  VkcOwned<VkcISUtilityController> rtn_{nullptr, nullptr};
  VkcOwned<VkcSpectrumUtilityController> spectrum_{nullptr, nullptr};
  VkcOwned<SpectrumScanData> spectrumData_{nullptr, nullptr};
  VkcOwned<VkcAlmanacUtilityController> almanac_{nullptr, nullptr};
  VkcOwned<AlmanacSeriesStore> almanacStore_{nullptr, nullptr};
  bool bluetoothChanged_ = false;
  bool factoryWrite_ = false;
  // Starts above 0 so that 0 can mean "no unit" to whoever notes it.
  std::atomic<uint32_t> identification_{1};
  std::atomic<uint64_t> identifiedSerial_{0};  // as UnitId::ToUInt64
  VkcLogMessage log_;
  VkcOwned<VkcISConfigController> tcpClient_{nullptr, nullptr};
  VkcOwned<VkcISConfigController> ntripClient_{nullptr, nullptr};
  VkcOwned<VkcISConfigController> tcpServer_{nullptr, nullptr};
  VkcISConfigController* slots_[2] = {nullptr, nullptr};

  std::function<uint32_t(bool, platform::WindowHandle, platform::Event&)> runRtn_;
  VkcDeviceManager* manager_ = nullptr;
  const VkcConfiguration* appSettings_ = nullptr;
  std::function<VkcComPort*()> currentPort_;
};
