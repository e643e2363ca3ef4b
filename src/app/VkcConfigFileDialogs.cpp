#include "app/VkcConfigFileDialogs.h"

#include <QFileDialog>

namespace {

VkcConfigFileDialogs::Runner& TestRunner() {
  static VkcConfigFileDialogs::Runner runner;
  return runner;
}

std::unique_ptr<QFileDialog> MakeDialog(QWidget* parent, const QString& initial, const QStringList& filters) {
  auto dialog = std::make_unique<QFileDialog>(parent);
  dialog->setDefaultSuffix(QStringLiteral("VKN"));
  dialog->setNameFilters(filters);
  if (!initial.isEmpty()) dialog->selectFile(initial);
  return dialog;
}

}  // namespace

std::unique_ptr<QFileDialog> VkcConfigFileDialogs::MakeSaveDialog(QWidget* parent, const QString& initial) {
  auto dialog = MakeDialog(parent, initial, {kConfigurationFilter, kAllFilter});
  dialog->setAcceptMode(QFileDialog::AcceptSave);
  dialog->setFileMode(QFileDialog::AnyFile);  // asks before overwriting
  return dialog;
}

std::unique_ptr<QFileDialog> VkcConfigFileDialogs::MakeOpenDialog(QWidget* parent, const QString& initial,
                                                                  bool offerFactory) {
  QStringList filters{kConfigurationFilter};
  if (offerFactory) filters << kFactoryFilter;
  filters << kAllFilter;
  auto dialog = MakeDialog(parent, initial, filters);
  dialog->setAcceptMode(QFileDialog::AcceptOpen);
  dialog->setFileMode(QFileDialog::ExistingFile);
  return dialog;
}

QString VkcConfigFileDialogs::Run(QFileDialog& dialog) {
  if (TestRunner()) return TestRunner()(dialog);
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
  return dialog.selectedFiles().constFirst();
}

void VkcConfigFileDialogs::SetRunnerForTest(Runner runner) { TestRunner() = std::move(runner); }
