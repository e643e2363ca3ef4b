// Receiver rules: the UHF receivers' spacing, the VK400Rx port rate and synthesizer, the KEV
// modulations.

#include "devices/VkcDeviceReceiver.h"

#include "devices/VkcDeviceKEV400Rx.h"
#include "devices/VkcDeviceVK400Rx.h"
#include "devices/VkcFrequencyCalculator.h"
#include "devices/VkcPortRates.h"
#include "devices/VkcReplyParse.h"
#include "devices/VkcUnitImages.h"
#include "link/CfgNode.h"
#include "link/VkcErrorProcessor.h"

int VkcDeviceReceiver::UhfSpacingFromIndex(int index) {
  switch (index) {
    case 0: return 25000;
    case 1: return 12500;
    case 2: return 6250;
    case 3: return 20000;
    default: return -1;
  }
}

int VkcDeviceReceiver::UhfSpacingToIndex(int hz) {
  switch (hz) {
    case 25000: return 0;
    case 12500: return 1;
    case 6250: return 2;
    case 20000: return 3;
    default: return -1;
  }
}

float VkcDeviceReceiver::UhfSpacingSteps(int index) const {
  if (index >= 0 && index <= 2) return static_cast<float>(UhfSpacingFromIndex(index) / 6250.0);
  if (index == 3) return 3.125f;
  return 1.0f;
}

int VkcDeviceReceiver::UhfSpacingIndex(VkcUnitImages& system) const { return ReadSpacingIndex(system, {1, 6, 8}); }

void VkcDeviceReceiver::SetUhfSpacingIndex(VkcUnitImages& system, int index) const {
  WriteSpacingIndex(system, {1, 6, 8}, index);
}

int VkcDeviceVK400Rx::GetMaintenancePortRate(VkcComPort* conn, platform::Event* stop) const {
  std::string reply;
  int n = 0;
  if (!SendPortQuery(conn, stop, "MPORT RATE\r", reply) || !ParseReplyInt(reply, n)) {
    ErrorLog().ReportError(0, "Can not set MPORT RATE response = \"%s\"", reply.c_str());
    return -1;
  }
  if (n != 0) n -= 1;
  if (n > 8) {
    const int index = PortRateToIndex(static_cast<uint32_t>(n) + 1);
    if (index >= 0) n = index;
  }
  return n >= 0 && n <= 8 ? n : -1;
}

CfgNode VkcDeviceVK400Rx::CalcSynthesizerSettings(uint32_t hz) const {
  uint32_t r = 0, a = 0, n = 0;
  if (const VkcSynthRow* row = VkcFrequencyCalculator::FindExact(hz)) {
    r = row->r;
    a = row->a;
    n = row->n;
  } else {
    VkcFrequencyCalculator calculator;
    calculator.SetTargetFrequency(hz);
    if (!VkcFrequencyCalculator::Run(calculator)) return CfgNode();
    r = calculator.GetR();
    a = calculator.GetA();
    n = calculator.GetN();
  }
  CfgNode node;
  node.SetInt(hz);
  node.GetChildAt(0).SetInt(r);
  node.GetChildAt(1).SetInt(a);
  node.GetChildAt(2).SetInt(n);
  return node;
}

void VkcDeviceKEV400Rx::GetModulationsForProtocol(int protocol, std::vector<int>& out) const {
  switch (protocol) {
    case 7: out.push_back(4); break;
    case 12: out.insert(out.end(), {4, 5}); break;
    case 14: out.push_back(5); break;
    default: out.insert(out.end(), {0, 1, 2, 3}); break;
  }
}
