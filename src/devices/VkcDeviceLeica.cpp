#include "devices/VkcDeviceLeica.h"

#include "devices/VkcModelRules.h"
#include "devices/VkcReplyParse.h"
#include "link/VkcConfiguration.h"
#include "link/VkcErrorProcessor.h"

bool VkcDeviceLeica::SetMaintenancePortRate(int rateIndex, VkcComPort* conn, platform::Event* stop) const {
  return SendPortSet(conn, stop, "DPORT RATE", rateIndex + 1);
}

int VkcDeviceLeica::GetMaintenancePortRate(VkcComPort* conn, platform::Event* stop) const {
  std::string reply;
  int n = 0;
  // A reply without a number is no answer either.
  if (!SendPortQuery(conn, stop, "DPORT RATE\r", reply) || !ParseReplyInt(reply, n)) {
    ErrorLog().ReportError(0, "Can not set DPORT RATE response = \"%s\"", reply.c_str());
    return -1;
  }
  const int index = n == 0 ? 8 : n - 1;
  return index >= 0 && index <= 8 ? index : -1;
}

int VkcDeviceLeica::GetStoredPortRateIndex(VkcConfiguration& tree, int row) const {
  // tree[1][row][3][0], the data port's rate of that row; absent reads as 0.
  const CfgNode* node = &tree.Root();
  for (int step : {1, row, 3, 0}) {
    if (step < 0 || static_cast<size_t>(step) >= node->GetChildCount()) {
      node = nullptr;
      break;
    }
    node = &node->ChildAt(static_cast<size_t>(step));
  }
  const int v = node ? node->GetInt() : 0;
  return v == 0 ? 8 : modelrules::OneBelow(v);
}
