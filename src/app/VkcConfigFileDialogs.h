#pragma once
// The file dialogs of configuration files: save (*.VKN) and open (*.VKN, and *.VKF when a unit is
// identified). Linux file names are case-sensitive, so every filter matches the lower-case
// extension too. Tests replace the run of the dialog.

#include <QString>
#include <QStringList>
#include <functional>
#include <memory>

class QFileDialog;
class QWidget;

class VkcConfigFileDialogs {
 public:
  static constexpr const char* kConfigurationFilter = "Velkor Configuration file (*.VKN *.vkn)";
  static constexpr const char* kFactoryFilter = "Velkor Factory Configuration file (*.VKF *.vkf)";
  static constexpr const char* kAllFilter = "All Files (*)";

  // The dialogs as they are shown, set up but not run.
  static std::unique_ptr<QFileDialog> MakeSaveDialog(QWidget* parent, const QString& initial);
  static std::unique_ptr<QFileDialog> MakeOpenDialog(QWidget* parent, const QString& initial, bool offerFactory);

  // Runs a dialog; the chosen path, or an empty text when it was cancelled.
  static QString Run(QFileDialog& dialog);
  // Replaces Run (tests answer the dialog); an empty function restores it.
  using Runner = std::function<QString(QFileDialog&)>;
  static void SetRunnerForTest(Runner runner);
};
