#pragma once
// The RTN utility's engine: configures the unit's network correction service (TCP client, NTRIP
// client or TCP server) directly on the unit, connects or disconnects it (connected-unit
// operation 6, on a progress dialog's worker), and watches it on a monitor thread that reads
// the GSM signal level, the service state and its error text every 2 s (message 1042 to the
// page). The service values are entry 1 of the network-service controller in service slot 1.
//
// Threads: the page calls from the user-interface thread; operation 6 runs on the progress
// worker and the monitor on its own thread. Neither shows anything: operation 6 returns its
// result and the monitor posts its end (1042 with kNoticeEnded and the result); the page passes
// both to ReportResult / ReportMonitorResult on the user-interface thread, which say what to
// show and whether the one-operation lock goes back.

#include <atomic>
#include <cstdint>
#include <mutex>
#include <string>
#include <vector>

#include "link/UnitId.h"
#include "link/VkcComPortInterface.h"
#include "link/VkcLogMessage.h"
#include "platform/Event.h"
#include "platform/Messages.h"
#include "platform/WorkerThread.h"
#include "unit/RtnStatusRecord.h"

class VkcISConfigController;
class VkcSystem;

// Set by the RTN utility's monitor when it ends; reset when the service is disconnected.
platform::Event& UtilityFinishedEvent();

class VkcISUtilityController : public VkcComPortInterface {
 public:
  // Results of operation 6 and of the monitor; 0..9 otherwise are the unit's digit after "@0".
  static constexpr int kResultNoResponse = -1;
  static constexpr int kResultOk = 0;
  static constexpr int kResultCommandFailed = 1;
  static constexpr int kResultMonitorFailed = 4;  // also: no command line
  static constexpr int kResultStopped = 5;
  static constexpr int kResultCouldNot = 7;
  static constexpr int kResultBadReply = 10;  // "@0" followed by no digit

  // Nominal waits (scaled like every time-out).
  static constexpr uint32_t kConnectTimeoutMs = 80000;
  static constexpr uint32_t kMonitorPeriodMs = 2000;

  // First parameter of message 1042 to the page.
  static constexpr intptr_t kNoticeEnded = 0;    // second parameter: the monitor's result
  static constexpr intptr_t kNoticeStatus = 1;   // new status texts
  static constexpr intptr_t kNoticeStopped = 2;  // service disconnected
  static constexpr intptr_t kNoticeRunning = 3;  // service connected
  static constexpr intptr_t kNoticePaused = 4;   // monitoring off, status reset

  // What the user-interface thread does with a result: show the messages in order, then give
  // the one-operation lock back when release is set.
  struct Report {
    std::vector<std::string> messages;  // UTF-8
    bool release = false;
    bool operator==(const Report&) const = default;
  };

  explicit VkcISUtilityController(VkcSystem& system);
  ~VkcISUtilityController() override;

  // --- Entry 1 of the slot-1 service controller; false or empty without a controller ---
  bool SetHostName(const std::u16string& text);
  std::u16string GetHostName() const;
  bool SetPort(int port);
  int GetPort() const;  // 1 without a controller
  bool SetLogin(const std::u16string& text);
  std::u16string GetLogin() const;
  bool SetPassword(const std::u16string& text);
  std::u16string GetPassword() const;
  bool SetMountPoint(const std::u16string& text);
  std::u16string GetMountPoint() const;
  bool SetNmeaMessage(const std::u16string& text);
  std::u16string GetNmeaMessage() const;
  bool SetRouting(int routing);
  int GetRouting() const;  // 0 without a controller
  bool UsesHostName() const;
  bool UsesMountPoint() const;

  // --- Service ---
  void SelectService(int index);
  int GetServiceIndex() const { return serviceIndex_.load(); }
  // False unless the current unit is identified and has network services. The first time for a
  // unit, every service's entry 1 is loaded from the unit image and the unit's stored kind is
  // selected; afterwards only the chosen service is selected again.
  bool RefreshService();
  // The message of the first value that would break a command line (control characters), or "".
  std::string CheckServiceValues() const;
  // Operation 6: connect (true) or disconnect the service. Progress worker only.
  uint32_t ConfigureService(bool connect, platform::WindowHandle notify, platform::Event& stop);
  // The next action connects (the service is not running).
  bool IsIdle() const { return connectNext_.load(); }
  bool IsMonitorRunning() const { return monitorRunning_.load(); }
  // Asks the monitor to end; operation 6 waits for it before disconnecting.
  void RequestMonitorStop();

  // --- Results, on the user-interface thread ---
  // After operation 6; stopped: the user pressed Stop (nothing changed on our side).
  Report ReportResult(int result, bool stopped);
  // The monitor's end (1042 with kNoticeEnded).
  Report ReportMonitorResult(int result);

  // --- Monitor and status ---
  void SetWindow(platform::WindowHandle page) { window_.store(page); }
  void SetMonitoring(bool on);
  bool IsMonitoring() const { return monitoring_.load(); }
  RtnStatusRecord GetStatus() const;
  // Sends a status command and answers the text before the first CR, or "NULL" without a reply.
  std::string SendStatusCommand(const char* command, platform::Event* stop);
  // GSM RSSI, RTN STATE and RTN ERROR into the status texts; false at the first "NULL".
  bool QueryStatus(platform::Event* stop);
  // The value of each command of the configuring series, from entry 1.
  std::vector<std::string> BuildServiceValues() const;

  void OnDataReceived(const uint8_t* data, size_t length, VkcComPort* port) override;

 private:
  VkcISConfigController* Service() const;
  bool CheckConnectState(bool connect, platform::Event* stop);
  int SendServiceValues(VkcComPort* port, platform::Event& stop);
  int RunConnectCommand(VkcComPort* port, bool connect, platform::Event& stop);
  void Post(intptr_t notice, intptr_t value = 0) const;
  void PostProgress(intptr_t kind, intptr_t value) const;
  void ResetStatus();
  void StartMonitor();
  int MonitorLoop(platform::Event& stop);

  VkcSystem& system_;
  std::atomic<bool> monitorRunning_{false};
  std::atomic<bool> connectNext_{true};
  std::atomic<platform::WindowHandle> window_{platform::kNoWindow};
  std::atomic<int> serviceIndex_{0};
  std::atomic<bool> monitoring_{true};
  bool firstRefresh_ = true;
  UnitId refreshedSerial_;               // the unit whose stored values entry 1 was loaded from
  uint32_t refreshedIdentification_ = 0;  // and the identification that made it current
  std::atomic<bool> dataModeRestored_{false};
  std::atomic<int> progress_{10};
  std::atomic<platform::WindowHandle> progressWindow_{platform::kNoWindow};
  VkcLogMessage log_;

  mutable std::mutex statusMutex_;
  RtnStatusRecord status_;
  // Left by operation 6 for ReportResult: the unit's own warning, and the status query after 7.
  std::string pendingMessage_;
  bool statusAfterFailure_ = false;

  platform::WorkerThread monitor_;
};
