#pragma once
// The RTN utility page without widgets: the network service configured on the unit directly
// (entry 1 of the connected unit's service slot 1), Connect/Disconnect through the connected
// unit's operation 6 in a progress dialog, and the status the RTN controller's monitor posts
// (message 1042) while the service runs.

#include <cstdint>
#include <string>

#include "app/PageModel.h"
#include "unit/VkcISUtilityController.h"

class VkcSystem;

class VkcPPVRSUtilityModel : public PageModel {
 public:
  static constexpr int kTemplate = 1007;
  // Control ids.
  static constexpr int kService = 1188;
  static constexpr int kHost = 1189;
  static constexpr int kPort = 1191;
  static constexpr int kLogin = 1193;
  static constexpr int kPassword = 1194;
  static constexpr int kMountPoint = 1190;
  static constexpr int kNmea = 1192;
  static constexpr int kRouting = 1180;
  static constexpr int kRssi = 1197;
  static constexpr int kState = 1158;
  static constexpr int kError = 1198;
  static constexpr int kConnect = 1140;
  static constexpr int kMonitor = 1166;

  VkcPPVRSUtilityModel();

  void Refresh() override;
  // The window the RTN controller posts 1042 to.
  void SetWindow(platform::WindowHandle window) { window_ = window; }
  void OnServiceChanged();
  void OnMonitorClicked();
  // Connect or Disconnect.
  void RunConnect();
  // Message 1042 on the user-interface thread.
  void OnUtilityMessage(intptr_t notice, intptr_t value);

 protected:
  void Exchange(VkcDataExchange& dx) override;
  bool Store() override;

 private:
  VkcSystem* Unit();
  VkcISUtilityController* Rtn();
  bool HasNetworkServices();
  void Fill();
  // The fields follow enable; with all, Connect, the status and "Monitor" too.
  void EnableControls(bool enable, bool all);
  void ShowStatus(bool reset);
  void Conclude(const VkcISUtilityController::Report& report);
  void OnTextLeft(int id, bool (VkcISUtilityController::*set)(const std::u16string&),
                  std::u16string (VkcISUtilityController::*get)() const, const char* message);
  void OnPortLeft();

  platform::WindowHandle window_ = platform::kNoWindow;
  bool holdsLock_ = false;  // taken for a connect, kept while the service runs
  int service_ = 0;
  int port_ = 0;
  int routing_ = -1;
  std::u16string host_, login_, password_, mountPoint_, nmea_;
};
