#include "unit/SpectrumScanData.h"

#include <new>

void SpectrumScanData::SetParameters(uint32_t start, uint32_t stop, uint32_t step, uint32_t timeout) {
  std::lock_guard<std::mutex> g(m_);
  params_ = {start, stop, step, timeout};
}

SpectrumScanParameters SpectrumScanData::GetParameters() const {
  std::lock_guard<std::mutex> g(m_);
  return params_;
}

uint32_t SpectrumScanData::PointCount(uint32_t start, uint32_t stop, uint32_t step) {
  if (step == 0 || stop <= start) return 0;
  return (stop - start) / step;
}

bool SpectrumScanData::Allocate() {
  std::lock_guard<std::mutex> g(m_);
  frequencies_.clear();
  levels_.clear();
  frequencies_.shrink_to_fit();
  levels_.shrink_to_fit();
  writeIndex_ = 0;
  message_.clear();
  const uint32_t count = PointCount(params_.start, params_.stop, params_.step);
  if (count == 0 || count > kMaxCount) return false;
  try {
    frequencies_.assign(count, 0.0);
    levels_.assign(count, kNoLevel);
  } catch (const std::bad_alloc&) {
    frequencies_.clear();
    levels_.clear();
    return false;
  }
  return true;
}

bool SpectrumScanData::AddPoint(double frequency, double level) {
  std::lock_guard<std::mutex> g(m_);
  if (frequencies_.empty()) return false;
  if (writeIndex_ >= frequencies_.size()) writeIndex_ = 0;
  frequencies_[writeIndex_] = frequency;
  levels_[writeIndex_] = level;
  ++writeIndex_;
  return true;
}

void SpectrumScanData::SetMessage(const std::string& message) {
  std::lock_guard<std::mutex> g(m_);
  message_ = message;
}

std::string SpectrumScanData::GetMessage() const {
  std::lock_guard<std::mutex> g(m_);
  return message_;
}

void SpectrumScanData::Free() {
  std::lock_guard<std::mutex> g(m_);
  frequencies_ = {};
  levels_ = {};
  writeIndex_ = 0;
}

uint32_t SpectrumScanData::GetCount() const {
  std::lock_guard<std::mutex> g(m_);
  return static_cast<uint32_t>(frequencies_.size());
}

uint32_t SpectrumScanData::GetWriteIndex() const {
  std::lock_guard<std::mutex> g(m_);
  return writeIndex_;
}

void SpectrumScanData::CopyPoints(std::vector<double>& frequencies, std::vector<double>& levels) const {
  std::lock_guard<std::mutex> g(m_);
  frequencies = frequencies_;
  levels = levels_;
}
