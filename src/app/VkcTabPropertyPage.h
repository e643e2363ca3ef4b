#pragma once
// One page entry of the tab model: a title. The fixed-title entries are subclasses.

#include <string>

#include "app/PageTitles.h"

class VkcTabPropertyPage {
 public:
  explicit VkcTabPropertyPage(std::u16string name) : name_(std::move(name)) {}
  virtual ~VkcTabPropertyPage() = default;
  const std::u16string& GetName() const { return name_; }

 private:
  std::u16string name_;
};

class VkcTabPPIdentify : public VkcTabPropertyPage {
 public:
  VkcTabPPIdentify() : VkcTabPropertyPage(titles::kIdentification) {}
};

class VkcTabPPWireless : public VkcTabPropertyPage {
 public:
  VkcTabPPWireless() : VkcTabPropertyPage(titles::kWireless) {}
};

class VkcTabPPSerialIface : public VkcTabPropertyPage {
 public:
  VkcTabPPSerialIface() : VkcTabPropertyPage(titles::kConnection) {}
};
