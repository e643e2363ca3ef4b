#pragma once
// The Beacon almanac page without its widgets: "Query" reads the beacon receiver's almanac, whose
// progress comes back by message 1045, and draws one vertical bar per station in the chart,
// coloured by signal type and named by frequency and id in the legend.

#include <cstdint>
#include <string>

#include "app/PageModel.h"
#include "platform/Messages.h"

class CChartCtrl;
class VkcAlmanacUtilityController;
struct AlmanacStation;

class VkcPPAlmanacUtilityModel : public PageModel {
 public:
  static constexpr int kTemplate = 1011;
  static constexpr int kChart = 1236;
  static constexpr int kQuery = 1235;
  static constexpr int kPicture = 1238;
  static constexpr int kFeatureAlmanac = 19;
  static constexpr uint32_t kBackColor = 0xFAE6E6;

  VkcPPAlmanacUtilityModel();

  void SetChart(CChartCtrl* chart);
  void SetWindow(platform::WindowHandle window) { window_ = window; }

  void Refresh() override;
  void OnQuery();
  void OnAlmanacMessage(intptr_t wParam);
  void OnQueryFinished();
  void FillChart();

  // A station's legend name: "<kHz>kHz, ID=<id>" with the kHz as a stream prints a double.
  static std::u16string StationName(const AlmanacStation& station);

 private:
  bool HasAlmanac();
  VkcAlmanacUtilityController& Controller();

  CChartCtrl* chart_ = nullptr;
  platform::WindowHandle window_ = platform::kNoWindow;
  bool querying_ = false;  // from Query until the worker's end
};
