#pragma once
// The spectrum scan's shared block: the parameters the page hands the worker, the sample ring the
// port's reader fills and the message of a failed run. One lock guards every operation; the page
// draws from a copy taken under it.

#include <cstdint>
#include <mutex>
#include <string>
#include <vector>

struct SpectrumScanParameters {
  uint32_t start = 0;    // Hz
  uint32_t stop = 0;     // Hz
  uint32_t step = 0;     // Hz
  uint32_t timeout = 0;  // ms
};

class SpectrumScanData {
 public:
  // Level of a point no sample has reached yet.
  static constexpr double kNoLevel = -174.0;
  // A ring larger than this is refused as out of memory: 16 million points are far beyond any band.
  static constexpr uint32_t kMaxCount = 1u << 24;

  void SetParameters(uint32_t start, uint32_t stop, uint32_t step, uint32_t timeout);
  SpectrumScanParameters GetParameters() const;

  // count = (stop - start) / step points at frequency 0.0 and kNoLevel; write index 0; message
  // cleared. False for a range that holds no point (step 0, stop <= start, step wider than the
  // range) or one that cannot be allocated; the arrays are then empty.
  bool Allocate();
  // Writes at the write index, wrapping it to 0 at the count first. False without arrays.
  bool AddPoint(double frequency, double level);

  void SetMessage(const std::string& message);
  std::string GetMessage() const;
  void Free();

  uint32_t GetCount() const;
  uint32_t GetWriteIndex() const;
  // Copies of the arrays as they stand.
  void CopyPoints(std::vector<double>& frequencies, std::vector<double>& levels) const;

  // Points the parameters give, or 0 for a range that holds none.
  static uint32_t PointCount(uint32_t start, uint32_t stop, uint32_t step);

 private:
  mutable std::mutex m_;
  SpectrumScanParameters params_;
  std::vector<double> frequencies_;
  std::vector<double> levels_;
  uint32_t writeIndex_ = 0;
  std::string message_;
};
