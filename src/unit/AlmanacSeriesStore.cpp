#include "unit/AlmanacSeriesStore.h"

#include <new>

bool AlmanacSeriesStore::Allocate(uint32_t n) {
  std::lock_guard<std::mutex> g(m_);
  records_ = {};
  count_ = 0;
  capacity_ = 0;
  message_.clear();
  try {
    if (n > kMaxStations) throw std::bad_alloc();
    records_.assign(n, AlmanacStation{});
  } catch (const std::bad_alloc&) {
    message_ = "Not enough memory available for chart's series";
    return false;
  }
  capacity_ = n;
  return true;
}

bool AlmanacSeriesStore::AddStation(int64_t frequencyHz, int64_t level, int64_t type, int64_t id) {
  std::lock_guard<std::mutex> g(m_);
  if (records_.empty() || count_ >= capacity_) return false;
  AlmanacStation& s = records_[count_];
  s.x0 = s.x1 = static_cast<double>(frequencyHz) / 1000.0;
  s.y0 = static_cast<double>(level);
  switch (type) {
    case 0: s.code = kCodeType0; break;
    case 1: s.code = kCodeType1; break;
    case 2: s.code = kCodeType2; break;
    default: break;
  }
  s.id = static_cast<uint32_t>(id);
  ++count_;
  return true;
}

void AlmanacSeriesStore::SetMessage(const std::string& message) {
  std::lock_guard<std::mutex> g(m_);
  message_ = message;
}

std::string AlmanacSeriesStore::GetMessage() const {
  std::lock_guard<std::mutex> g(m_);
  return message_;
}

uint32_t AlmanacSeriesStore::GetCount() const {
  std::lock_guard<std::mutex> g(m_);
  return count_;
}

void AlmanacSeriesStore::Free() {
  std::lock_guard<std::mutex> g(m_);
  records_ = {};
  count_ = 0;
  capacity_ = 0;
}

std::vector<AlmanacStation> AlmanacSeriesStore::GetStations() const {
  std::lock_guard<std::mutex> g(m_);
  return std::vector<AlmanacStation>(records_.begin(), records_.begin() + count_);
}

uint32_t AlmanacSeriesStore::ColorOf(uint32_t code) {
  switch (code) {
    case kCodeType1: return 0x71B33C;
    case kCodeType2: return 0x0000FF;
    default: return 0xFF0000;
  }
}
