#pragma once
// Where and as whom the TCP client logs in. The user name and the password are stored with the
// "\n" that ends them at the gateway's prompts.

#include <cstdint>
#include <string>

struct TcpConnectSettings {
 public:
  TcpConnectSettings() = default;
  TcpConnectSettings(std::string address, uint16_t port, const std::string& userName,
                     const std::string& password)
      : address_(std::move(address)), port_(port), userName_(userName + "\n"), password_(password + "\n") {}

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
