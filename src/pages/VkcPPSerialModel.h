#pragma once
// The "Serial Interface" page: the unit's UART rate (one rate for maintenance and data mode), the
// buffering of received data in maintenance mode, flow control and the routing between the
// unit's UART, USB and Bluetooth ports; for a unit behind an MCU, the MCU's routing and rates.

#include "app/PageModel.h"

class VkcPPSerialModel : public PageModel {
 public:
  static constexpr int kMaintenanceBox = 1142;
  static constexpr int kMaintenanceLabel = 1143;
  static constexpr int kMaintenanceRate = 1041;
  static constexpr int kBuffering = 1180;
  static constexpr int kDataRate = 1042;
  static constexpr int kParity = 1043;
  static constexpr int kByteSize = 1044;
  static constexpr int kFlow = 1045;
  static constexpr int kDestination = 1171;
  static constexpr int kSource = 1172;
  static constexpr int kRouting = 1202;
  static constexpr int kRoutingLabel = 1203;

  VkcPPSerialModel();

  void Refresh() override;

 protected:
  void Exchange(VkcDataExchange& dx) override;
  bool Store() override;

 private:
  bool HasUnit();
  void FillRates(const std::vector<int>& codes, int current);
  // Keeps both rate lists on the same entry.
  void Mirror(int from, int to);

  int rateIndex_ = -1;
  int buffering_ = 0;
  int flow_ = 0;
  int destination_ = -1;
  int source_ = -1;
  int routing_ = -1;
};
