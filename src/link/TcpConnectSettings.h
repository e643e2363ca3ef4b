#pragma once
// Where and as whom the TCP client logs in. The user name and the password are kept as typed; the
// client ends each with "\n" at the gateway's prompt.

#include <cstdint>
#include <string>
#include <utility>

struct TcpConnectSettings {
 public:
  TcpConnectSettings() = default;
  TcpConnectSettings(std::string address, uint16_t port, std::string userName, std::string password)
      : address_(std::move(address)), port_(port), userName_(std::move(userName)), password_(std::move(password)) {}

  const std::string& GetAddress() const { return address_; }
  uint16_t GetPort() const { return port_; }
  const std::string& GetUserName() const { return userName_; }
  const std::string& GetPassword() const { return password_; }

 private:
  std::string address_;
  uint16_t port_ = 0;
  std::string userName_;
  std::string password_;
};
