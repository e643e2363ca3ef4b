#include "sim/SimLinePort.h"

#include <cstring>

namespace sim {

int SimLinePort::Write(const void* data, int length, VkcComPortInterface* listenerToSkip, int,
                       platform::Event*) {
  const auto* p = static_cast<const uint8_t*>(data);
  size_t n = length < 0 ? std::strlen(static_cast<const char*>(data)) : static_cast<size_t>(length);
  {
    std::lock_guard<std::mutex> g(m_);
    written_.append(reinterpret_cast<const char*>(p), n);
  }
  Registry().DeliverSent(p, n, this, listenerToSkip);
  return static_cast<int>(n);
}

bool SimLinePort::SetBaudRate(uint32_t baud) {
  std::lock_guard<std::mutex> g(m_);
  baud_ = baud;
  rates_.push_back(baud);
  return true;
}

uint32_t SimLinePort::GetBaudRate() const {
  std::lock_guard<std::mutex> g(m_);
  return baud_;
}

uint32_t SimLinePort::GetModemStatus() const {
  std::lock_guard<std::mutex> g(m_);
  return modemStatus_;
}

void SimLinePort::InjectData(const std::string& bytes) {
  Registry().DeliverData(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size(), this);
}

void SimLinePort::InjectEvent(uint32_t mask) { Registry().DeliverEvent(mask, this); }

void SimLinePort::SetModemStatus(uint32_t status) {
  std::lock_guard<std::mutex> g(m_);
  modemStatus_ = status;
}

std::string SimLinePort::Written() const {
  std::lock_guard<std::mutex> g(m_);
  return written_;
}

std::vector<uint32_t> SimLinePort::Rates() const {
  std::lock_guard<std::mutex> g(m_);
  return rates_;
}

}  // namespace sim
