#pragma once
// The RTN page without widgets: which network correction service the unit runs (TCP client,
// NTRIP client or TCP server), whether it starts by itself, and the service's host, port, login,
// password, mount point and NMEA GGA sentence. Works on entry 0 of the service controller in
// the connected unit's service slot 0; each edit goes to the controller when it is left.

#include <string>

#include "app/PageModel.h"

class VkcISConfigController;
class VkcSystem;

class VkcPPRTNServicesModel : public PageModel {
 public:
  static constexpr int kTemplate = 1008;
  // Control ids.
  static constexpr int kService = 1187;
  static constexpr int kAutorun = 1166;
  static constexpr int kHost = 1184;
  static constexpr int kPort = 1158;
  static constexpr int kLogin = 1185;
  static constexpr int kPassword = 1183;
  static constexpr int kMountPoint = 1186;
  static constexpr int kNmea = 1154;

  VkcPPRTNServicesModel();

  void Refresh() override;
  // The service list's choice: the fields go to the service shown so far, then the chosen one is shown.
  void OnServiceChanged();

 protected:
  void Exchange(VkcDataExchange& dx) override;
  bool Store() override;

 private:
  VkcSystem* Unit();
  VkcISConfigController* Service();
  bool HasNetworkServices();
  void EnableControls(bool enable);
  void Fill();
  void OnTextLeft(int id, bool (VkcISConfigController::*set)(const std::u16string&, int),
                  std::u16string (VkcISConfigController::*get)(int) const, const char* message);
  void OnPortLeft();

  int shownService_ = -1;
  int service_ = -1;
  bool autorun_ = false;
  int port_ = 0;
  std::u16string host_, login_, password_, mountPoint_, nmea_;
};
