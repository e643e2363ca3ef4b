#pragma once
// The beacon almanac's stations as the chart draws them: one vertical bar per station from its
// level down to -174 at its frequency in kHz, coloured by signal type. One lock guards every
// operation; the page reads a copy after the worker has filled it.

#include <cstdint>
#include <mutex>
#include <string>
#include <vector>

struct AlmanacStation {
  double x0 = 0.0;  // kHz
  double x1 = 0.0;  // kHz
  double y0 = -174.0;
  double y1 = -174.0;
  uint32_t code = 100;  // colour code of the signal type
  uint32_t id = 0;
};

class AlmanacSeriesStore {
 public:
  static constexpr double kBottom = -174.0;
  // Colour codes of the signal types 0, 1 and 2 (any other type keeps the first).
  static constexpr uint32_t kCodeType0 = 100;
  static constexpr uint32_t kCodeType1 = 200;
  static constexpr uint32_t kCodeType2 = 50;
  // More stations than this are refused as out of memory; no almanac comes near it.
  static constexpr uint32_t kMaxStations = 1u << 20;

  // Frees the old records, count 0, message cleared, room for n stations. On failure the message
  // is "Not enough memory available for chart's series" and false.
  bool Allocate(uint32_t n);
  // False when there is no room left; the station otherwise.
  bool AddStation(int64_t frequencyHz, int64_t level, int64_t type, int64_t id);
  void SetMessage(const std::string& message);
  std::string GetMessage() const;
  uint32_t GetCount() const;
  void Free();
  std::vector<AlmanacStation> GetStations() const;

  // The Windows colour value (0x00BBGGRR) of a code: blue, green or red.
  static uint32_t ColorOf(uint32_t code);

 private:
  mutable std::mutex m_;
  std::vector<AlmanacStation> records_;
  uint32_t count_ = 0;
  uint32_t capacity_ = 0;
  std::string message_;
};
