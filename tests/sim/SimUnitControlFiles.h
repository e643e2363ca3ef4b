#pragma once
// The unit's configuration files on the simulated unit, moved by "XMOD <name>" with the program's
// own XModem engine on the unit's side. "XMOD CFGUP" sends the unit file built from the unit's
// three sections (archived configuration records); "XMOD DFCFG", "XMOD DDCFG" and "XMOD CFGDN"
// receive a one-section file, check its header (1, 0, payload length, 0, CRC-32 of the payload)
// and, when it is sound, keep the payload as the unit's section 0, 1 or 2, so a later "XMOD CFGUP"
// gives back what was sent. A transfer runs on a thread of its own; lines go back to the unit's
// command line when it ends.

#include <atomic>
#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "link/VkcXModemProtocol.h"
#include "platform/WorkerThread.h"
#include "sim/SimUnit.h"

class VkcConfiguration;

namespace sim {

class SimUnitControlFiles {
 public:
  // Installs "XMOD" on unit; must live until the unit is destroyed.
  explicit SimUnitControlFiles(SimUnit& unit);
  ~SimUnitControlFiles();
  SimUnitControlFiles(const SimUnitControlFiles&) = delete;
  SimUnitControlFiles& operator=(const SimUnitControlFiles&) = delete;

  // The configuration record of a tree as the program archives it.
  static std::vector<uint8_t> Archive(const VkcConfiguration& tree);

  // Section 0 (DFCFG), 1 (DDCFG) or 2 (CFGDN) of the unit; an empty record makes it absent.
  void SetSection(int index, std::vector<uint8_t> record);
  std::vector<uint8_t> Section(int index) const;
  // The unit file "CFGUP" as the unit sends it.
  std::vector<uint8_t> BuildCfgup() const;
  // "XMOD <name>" answered with this code and no transfer ("@05": no such file).
  void SetRefusal(const std::string& name, int code);
  // Garbles the next "CFGUP" section of this index (a byte in the middle of its record).
  void CorruptSection(int index);

  // Files received, in order: name and payload (as the header's length says).
  std::vector<std::pair<std::string, std::vector<uint8_t>>> Received() const;
  // What was wrong with received headers ("DDCFG: CRC", ...); empty when all were sound.
  std::vector<std::string> HeaderErrors() const;
  // Ends a transfer still running (call before the unit goes: a transfer writes to the unit).
  void StopTransfer() { transfer_.Stop(); }
  // Transfers that ended: finished or failed.
  int TransfersEnded() const { return ended_.load(); }

 private:
  void OnXmod(SimUnit& unit, const std::string& line);
  void SendFile(std::vector<uint8_t> file, platform::Event& stop);
  void ReceiveFile(const std::string& name, platform::Event& stop);
  void CheckReceived(const std::string& name, std::vector<uint8_t> file);

  SimUnit& unit_;
  mutable std::mutex m_;
  std::vector<uint8_t> sections_[3];
  std::map<std::string, int> refusals_;
  int corrupt_ = -1;
  std::vector<std::pair<std::string, std::vector<uint8_t>>> received_;
  std::vector<std::string> headerErrors_;
  std::atomic<int> ended_{0};
  std::atomic<bool> eotSeen_{false};
  std::unique_ptr<VkcXModemProtocol> engine_;
  platform::WorkerThread transfer_;
};

}  // namespace sim
