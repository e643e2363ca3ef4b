#pragma once
// The Beacon almanac page ("Utilities"): the Qt view of VkcPPAlmanacUtilityModel with its chart
// and, below "Query", the program's own picture of a beacon (control 1238).
// The query posts its progress (1045) to this page's window handle.

#include <memory>

#include "app/VkcPage.h"
#include "utilities/VkcPPAlmanacUtilityModel.h"

class CChartCtrl;
namespace platform::qt {
class WindowMessages;
}

class VkcPPAlmanacUtility : public VkcPage<VkcPPAlmanacUtilityModel> {
  Q_OBJECT
 public:
  static constexpr int kPictureWidth = 80;
  static constexpr int kPictureHeight = 104;

  VkcPPAlmanacUtility();
  ~VkcPPAlmanacUtility() override;
  platform::WindowHandle Handle() const;
  CChartCtrl* Chart() const { return chart_; }

 private:
  CChartCtrl* chart_;
  std::unique_ptr<platform::qt::WindowMessages> messages_;
};
