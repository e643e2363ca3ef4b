#pragma once
// Synthesizer words of the VK400Rx receiver line: the reference divider R, the swallow counter A
// and the main counter N, whose output (16 * N + A) * 12288000 / R is twice the channel frequency.
// Known frequencies come from a table of exact settings; any other frequency is searched over all
// allowed combinations for the nearest output. The search is long, so it runs as a progress-dialog
// task and reports one progress step per R.

#include <cstdint>
#include <functional>
#include <span>
#include <string>

#include "link/VkiPostProcess.h"

// One row of the exact-settings table.
struct VkcSynthRow {
  double hz;  // whole Hz
  uint32_t a;
  uint32_t n;
  uint32_t r;
  uint32_t reserved;
};

class VkcFrequencyCalculator : public VkiPostProcess {
 public:
  static constexpr uint32_t kReferenceHz = 12288000;
  static constexpr uint32_t kMinR = 890;
  static constexpr uint32_t kMaxR = 1041;
  static constexpr uint32_t kMaxN = 8191;
  static constexpr uint32_t kMaxA = 31;
  // Output window around twice the target, in Hz.
  static constexpr double kWindowHz = 200.0;

  VkcFrequencyCalculator() = default;

  void SetTargetFrequency(uint32_t hz) { target_ = hz; }
  uint32_t GetTargetFrequency() const { return target_; }
  double GetAchievedFrequency() const { return achieved_; }
  uint32_t GetA() const { return a_; }
  uint32_t GetN() const { return n_; }
  uint32_t GetR() const { return r_; }

  // The search: 0 when a combination within the window was found (its words stored), 1 when none
  // was (the words left as they were). Posts 2024/2 with 0..99 to notify, once per R, when given.
  // The operation, the parameter and the stop event are not used: the search always completes.
  uint32_t Process(uint32_t operation, intptr_t parameter, platform::WindowHandle notify,
                   platform::Event& stop) override;

  // The candidate at distance d replaces the best so far only when it is nearer than the best's
  // whole-Hz distance, so the first of two candidates closer together than a hertz stays.
  static bool Replaces(uint32_t bestWholeHz, double distanceHz) { return bestWholeHz > distanceHz; }

  // The exact-settings table, ascending by frequency.
  static std::span<const VkcSynthRow> ExactTable();
  // The first table row whose frequency, truncated to whole Hz, is hz; null when none.
  static const VkcSynthRow* FindExact(uint32_t hz);

  // The caption of the progress dialog that runs the search for hz.
  static std::string Caption(uint32_t hz);

  // Runs the search for the calculator's target as the one task of a modal progress dialog and
  // tells whether it ended with success. The application installs the dialog; without one the
  // search runs on the calling thread.
  using Runner = std::function<bool(VkcFrequencyCalculator& calculator)>;
  static void SetRunner(Runner runner);
  static bool Run(VkcFrequencyCalculator& calculator);

 private:
  double achieved_ = 0.0;
  uint32_t a_ = 0;
  uint32_t n_ = 0;
  uint32_t r_ = 0;
  uint32_t target_ = 0;
};
