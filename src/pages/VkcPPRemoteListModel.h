#pragma once
// The Remote List page without widgets: the serial numbers of up to five remote units of a
// transmitter of firmware family 3. It stores only on its own "Apply" button; applying the page
// (page switch, send, save) stores nothing.

#include "app/PageModel.h"
#include "link/UnitId.h"

class VkcPPRemoteListModel : public PageModel {
 public:
  static constexpr int kRemoteCount = 5;
  static constexpr int kRemote1 = 1135;  // Remote1 .. Remote5: 1135 .. 1139
  static constexpr int kApply = 1140;
  static constexpr int kListFamily = 3;

  VkcPPRemoteListModel();
  void Refresh() override;
  // "Apply": the five edits become the remote list, for the unit refresh showed.
  void OnApply();
};
