#pragma once
// BERT on the simulated unit's data mode. As the far end's receiver it checks that what the
// program transmits is the exact continuation of the pattern (the mode-switch bytes that end a
// data-mode stretch, CANs, "DD\r" and "+++", are not pattern and are set aside). As the far end's
// transmitter it streams the pattern to the program while the unit is in data mode. The unit
// statistics the program reads in command mode answer fixed values.

#include <atomic>
#include <cstdint>
#include <mutex>
#include <string>

#include "platform/WorkerThread.h"
#include "sim/SimBertPattern.h"
#include "sim/SimIdent.h"
#include "sim/SimUnit.h"
#include "sim/SimUnitControl.h"

namespace sim {

class SimBert {
 public:
  // Installs on the unit; both must outlive this object's use, and this object the unit's.
  SimBert(SimUnit& unit, SimIdent& ident, SimUnitControl& control);
  ~SimBert();
  SimBert(const SimBert&) = delete;
  SimBert& operator=(const SimBert&) = delete;

  // Pattern to the program at bytesPerSecond while in data mode.
  void StartSource(uint32_t bytesPerSecond);
  void StopSource();
  uint64_t SourceBytes() const { return sourced_.load(); }

  // The program's data-mode bytes checked so far, and how many of them were not the pattern.
  uint64_t Checked() const;
  uint64_t Mismatches() const;
  // Data-mode stretches ended by an escape.
  uint32_t Escapes() const;

 private:
  void OnData(const uint8_t* data, size_t length, bool escape);
  void CheckLocked(size_t bytes);
  void Source(platform::Event& stop);

  SimUnit& unit_;
  SimIdent& ident_;
  mutable std::mutex m_;
  SimBertPattern expected_;
  std::string pending_;  // the tail that may still turn out to be a mode switch
  uint64_t checked_ = 0;
  uint64_t mismatches_ = 0;
  uint32_t escapes_ = 0;
  uint32_t bytesPerSecond_ = 0;
  SimBertPattern source_;
  std::atomic<uint64_t> sourced_{0};
  platform::WorkerThread thread_;
};

}  // namespace sim
