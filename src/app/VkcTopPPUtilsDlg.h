#pragma once
// The panel shared by the Preferences, Utilities and Networking groups: only Identify.

#include "app/VkcTopPPSubDialog.h"

class QPushButton;

class VkcTopPPUtilsDlg : public VkcTopPPSubDialog {
  Q_OBJECT
 public:
  static constexpr int kIdIdentify = 1013;

  explicit VkcTopPPUtilsDlg(QWidget* parent = nullptr);
  void OnIdentify();
  QPushButton* IdentifyButton() const { return identify_; }

 private:
  QPushButton* identify_;
};
