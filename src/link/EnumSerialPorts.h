#pragma once
// Serial port discovery for the Connection page.

#include <memory>
#include <vector>

#include "link/PortInfo.h"
#include "platform/PortScan.h"

// Where the list of ports comes from. The machine's sysfs by default; tests install their own.
class PortListSource {
 public:
  virtual ~PortListSource() = default;
  virtual std::vector<PortInfo> List() = 0;
};

// The ports sysfs lists under the given roots: friendly names "<description> (<port>)".
class SysfsPortListSource : public PortListSource {
 public:
  explicit SysfsPortListSource(platform::PortScanRoots roots = {}) : roots_(std::move(roots)) {}
  std::vector<PortInfo> List() override;

 private:
  platform::PortScanRoots roots_;
};

// Installs the list source (null restores the machine's sysfs). Any thread.
void SetPortListSource(std::shared_ptr<PortListSource> source);

// Empties list and fills it with the ports found, in the order found. With probe, ports that
// cannot be opened right now are dropped. Missing names are filled from one another; every
// omission is written to the error log. The two setup flags and the method choose among
// Windows enumeration methods and have no effect here.
void EnumSerialPorts(std::vector<PortInfo>& list, bool probe, bool setupFlag1, bool setupFlag2, int method);
