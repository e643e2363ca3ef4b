#pragma once
// A scripted application side for the main dialog's tests: records every message and answers
// the settings and unit queries from its fields.

#include <string>
#include <vector>

#include "app/ShellUnit.h"
#include "link/VkiPostProcess.h"

struct FakeShellUnit : ShellUnit {
  struct Shown {
    std::string text;
    unsigned flags;
    bool hint;
  };
  std::vector<Shown> messages;
  std::vector<std::string> calls;
  int answer = 6;  // Yes
  bool portOpen = true;
  int iface = 1;
  int productId = 5;
  bool factory = false;
  int type = 0;
  std::u16string port = u"/dev/ttyUSB0";
  std::u16string address = u"host";
  int tcpPort = 8002;
  UnitId serial;
  VkiPostProcess* target = nullptr;
  VkiPostProcess* route = nullptr;

  int ShowMessage(const std::string& text, unsigned flags, bool hint) override {
    messages.push_back({text, flags, hint});
    calls.push_back("message");
    return answer;
  }
  bool IsPortOpen() const override { return portOpen; }
  int InterfaceSetting() const override { return iface; }
  intptr_t InterfaceParameter(int id) override { return 1000 + id; }
  void StorePortRate() override { calls.push_back("rate"); }
  int CurrentProductId() const override { return productId; }
  bool FactoryWrite() const override { return factory; }
  VkiPostProcess* RouteTarget() override { return route; }
  VkiPostProcess* TaskTarget() override { return target; }
  int ConnectionType() const override { return type; }
  std::u16string SerialPortSetting() const override { return port; }
  std::u16string TcpAddressSetting() const override { return address; }
  int TcpPortSetting() const override { return tcpPort; }
  UnitId SerialNumber() const override { return serial; }

  std::vector<std::string> Texts() const {
    std::vector<std::string> out;
    for (const auto& m : messages) out.push_back(m.text);
    return out;
  }
};
