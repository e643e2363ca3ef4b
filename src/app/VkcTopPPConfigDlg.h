#pragma once
// The Configurations group's panel: identify the unit, send the pages' settings to it, and save
// them to or load them from a configuration file, and preview and print the configuration report.

#include "app/VkcTopPPSubDialog.h"

class QPushButton;

class VkcTopPPConfigDlg : public VkcTopPPSubDialog {
  Q_OBJECT
 public:
  static constexpr int kIdIdentify = 1013;
  static constexpr int kIdSendToRadio = 1046;
  static constexpr int kIdSaveToFile = 1097;
  static constexpr int kIdLoadFromFile = 1098;
  static constexpr int kIdPrint = 1101;

  explicit VkcTopPPConfigDlg(QWidget* parent = nullptr);

  // Send and print are enabled only with a current device whose product id is above 0.
  void RefreshPage() override;
  void OnIdentify();
  void OnSendToRadio();
  // The pages store their controls first; the file holds what the images then hold.
  void OnSaveToFile();
  // A configuration file refreshes every page; a factory file changes only the factory image.
  void OnLoadFromFile();
  // The pages store their controls (a refusal does not stop it), then the report's preview opens.
  void OnPrint();

  QPushButton* IdentifyButton() const { return identify_; }
  QPushButton* SendButton() const { return send_; }
  QPushButton* SaveButton() const { return save_; }
  QPushButton* LoadButton() const { return load_; }
  QPushButton* PrintButton() const { return print_; }

 private:
  QPushButton* identify_;
  QPushButton* send_;
  QPushButton* save_;
  QPushButton* load_;
  QPushButton* print_;
};
