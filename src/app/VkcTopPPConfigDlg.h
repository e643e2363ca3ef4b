#pragma once
// The Configurations group's panel: identify the unit and send the pages' settings to it.

#include "app/VkcTopPPSubDialog.h"

class QPushButton;

class VkcTopPPConfigDlg : public VkcTopPPSubDialog {
  Q_OBJECT
 public:
  static constexpr int kIdIdentify = 1013;
  static constexpr int kIdSendToRadio = 1046;

  explicit VkcTopPPConfigDlg(QWidget* parent = nullptr);

  // Send is enabled only with a current device whose product id is above 0.
  void RefreshPage() override;
  void OnIdentify();
  void OnSendToRadio();

  QPushButton* IdentifyButton() const { return identify_; }
  QPushButton* SendButton() const { return send_; }

 private:
  QPushButton* identify_;
  QPushButton* send_;
};
