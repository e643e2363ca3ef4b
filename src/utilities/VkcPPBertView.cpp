#include "utilities/VkcPPBertView.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFileDialog>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>

#include "app/PageBinder.h"
#include "link/VkcMessageIds.h"
#include "platform/qt/WindowMessages.h"
#include "utilities/VkcPPBertModel.h"

namespace bertview {

namespace {
template <class W>
W* Named(W* w, int id) {
  w->setObjectName(PageBinder::ObjectName(id));
  return w;
}
}  // namespace

QWidget* Display(QWidget* parent, int id) {
  auto* edit = Named(new QLineEdit(parent), id);
  edit->setReadOnly(true);
  return edit;
}

QGroupBox* StatisticsGroup(QWidget* parent) {
  auto* group = new QGroupBox(QStringLiteral("Statistics"), parent);
  auto* row = new QHBoxLayout(group);
  row->addWidget(Named(new QCheckBox(QStringLiteral("Statistics file"), group), bertpage::kStatistics));
  row->addWidget(Named(new QLineEdit(group), bertpage::kStatFile), 1);
  row->addWidget(Named(new QPushButton(QStringLiteral("Browse"), group), bertpage::kBrowse));
  return group;
}

QGroupBox* RunGroup(QWidget* parent) {
  auto* group = new QGroupBox(QStringLiteral("Test"), parent);
  auto* grid = new QGridLayout(group);
  grid->addWidget(new QLabel(QStringLiteral("Running Time (s)"), group), 0, 0);
  auto* running = Named(new QComboBox(group), bertpage::kRunningTime);
  running->setEditable(true);
  grid->addWidget(running, 0, 1);
  grid->addWidget(Named(new QPushButton(QStringLiteral("Start"), group), bertpage::kStart), 0, 2);
  grid->addWidget(Named(new QLabel(QStringLiteral("Elapsed Time"), group), bertpage::kElapsedLabel), 1, 0);
  grid->addWidget(Named(new QLabel(QStringLiteral("0"), group), bertpage::kElapsed), 1, 1);
  grid->addWidget(Named(new QLabel(QStringLiteral("s."), group), bertpage::kElapsedUnit), 1, 2);
  grid->addWidget(Named(new QProgressBar(group), bertpage::kProgress), 2, 0, 1, 3);
  return group;
}

std::u16string ChooseStatFile(QWidget* parent, const std::u16string& current) {
  QFileDialog dialog(parent, QString(), QString::fromStdU16String(current),
                     QStringLiteral("Text File (*.txt);;All Files (*.*)"));
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setDefaultSuffix(QStringLiteral("TXT"));
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::u16string();
  return dialog.selectedFiles().front().toStdU16String();
}

std::unique_ptr<platform::qt::WindowMessages> Connect(QWidget* page, VkcPPBertModel& model,
                                                      std::function<void()> update) {
  auto messages = std::make_unique<platform::qt::WindowMessages>(
      [&model, update](uint32_t msg, intptr_t wParam, intptr_t) {
        if (msg != kMsgBert) return;
        model.OnBertMessage(wParam);
        update();
      },
      page);
  model.SetWindow(messages->Handle());
  model.SetFileChooser([page](const std::u16string& current) { return ChooseStatFile(page, current); });
  return messages;
}

}  // namespace bertview
