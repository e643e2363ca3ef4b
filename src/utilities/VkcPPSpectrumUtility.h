#pragma once
// The Spectrum utility page ("Utilities"): the Qt view of VkcPPSpectrumUtilityModel with its
// chart. The scan posts its progress (1043) to this page's window handle.

#include <memory>

#include "app/VkcPage.h"
#include "utilities/VkcPPSpectrumUtilityModel.h"

class CChartCtrl;
namespace platform::qt {
class WindowMessages;
}

class VkcPPSpectrumUtility : public VkcPage<VkcPPSpectrumUtilityModel> {
  Q_OBJECT
 public:
  VkcPPSpectrumUtility();
  ~VkcPPSpectrumUtility() override;
  platform::WindowHandle Handle() const;
  CChartCtrl* Chart() const { return chart_; }

 private:
  CChartCtrl* chart_;
  std::unique_ptr<platform::qt::WindowMessages> messages_;
};
