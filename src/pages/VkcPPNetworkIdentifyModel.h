#pragma once
// The Networking group's Identification page without widgets: the radio network the connected
// unit belongs to, as a tree (the local unit, the remote units it reaches) and the parameters of
// the selected unit as a list. "Refresh Network" surveys every unit, "Refresh Unit" the selected
// one; the survey runs on its worker (VkcNetworkSurvey), which posts 2024 to the page, and the
// unit being queried is animated by a 75 ms timer. Either button stops a running survey.
//
// The lock is taken before anything is sent to the unit, and given back on every way out.

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "app/PageModel.h"
#include "link/ParamNode.h"
#include "platform/Messages.h"
#include "unit/VkcNetworkSurvey.h"

class VkcPPNetworkIdentifyModel : public PageModel {
 public:
  static constexpr int kTree = 1091;
  static constexpr int kList = 1093;
  static constexpr int kRefreshNetwork = 1092;
  static constexpr int kRefreshUnit = 1124;
  static constexpr int kTimerMs = 75;

  // Tree images.
  static constexpr int kImageLocal = 0;
  static constexpr int kImageAnswered = 1;
  static constexpr int kImageLocalFirst = 2;   // 2..5: the local unit being queried
  static constexpr int kImageLocalLast = 5;
  static constexpr int kImageRemoteFirst = 6;  // 6..9: a remote unit being queried
  static constexpr int kImageRemoteLast = 9;
  static constexpr int kImageSilent = 11;
  static constexpr int kImageCount = 12;

  VkcPPNetworkIdentifyModel();
  ~VkcPPNetworkIdentifyModel() override;

  void SetWindow(platform::WindowHandle window) { window_ = window; }
  // Starts (true) or stops the animation timer of the view.
  void SetTimer(std::function<void(bool run)> timer) { timer_ = std::move(timer); }

  void Refresh() override;
  void OnRefresh(bool network);
  void OnTreeSelection();
  void OnTimer();
  // Message 2024 from the survey's worker.
  void OnProgressMessage(intptr_t wParam, intptr_t lParam);

  bool IsRunning() const { return survey_ && survey_->IsRunning(); }
  // The survey engine (made with the host's unit on first use); null without a host.
  VkcNetworkSurvey* Survey();
  int SelectedUnit() const { return selected_; }
  int AnimatedUnit() const { return animated_; }

 private:
  void RebuildTree();
  void FillList();
  void End(intptr_t code);
  void ShowIdle();
  int RowOf(int unit) const;

  platform::WindowHandle window_ = platform::kNoWindow;
  std::function<void(bool)> timer_;
  std::unique_ptr<VkcNetworkSurvey> survey_;
  int selected_ = VkcNetworkSurvey::kLocalUnit;
  int animated_ = VkcNetworkSurvey::kLocalUnit;
  int frame_ = kImageLocalFirst;
  bool noUnit_ = true;
};
