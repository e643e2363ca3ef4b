#include "app/VkcModulinkDlg.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>

VkcModulinkDlg::VkcModulinkDlg(QWidget* parent) : QWidget(parent) {}

bool VkcModulinkDlg::CreateHidden(QWidget* parent) {
  if (parent != nullptr && parentWidget() != parent) setParent(parent);
  MakeNonDefault(this);
  hide();
  return true;
}

void VkcModulinkDlg::CommitPendingEdit() {
  QWidget* focused = QApplication::focusWidget();
  if (focused == nullptr || !isAncestorOf(focused)) return;
  if (auto* edit = qobject_cast<QLineEdit*>(focused)) emit edit->editingFinished();
}

void VkcModulinkDlg::MakeNonDefault(QWidget* root) {
  for (QPushButton* button : root->findChildren<QPushButton*>()) {
    button->setAutoDefault(false);
    button->setDefault(false);
  }
}

void VkcModulinkDlg::keyPressEvent(QKeyEvent* event) {
  switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Escape:
      event->accept();
      return;
    default:
      QWidget::keyPressEvent(event);
  }
}
