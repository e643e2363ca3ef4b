#include "app/VkcModulinkDlg.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLayout>
#include <QLineEdit>
#include <QPushButton>

#include "app/LabelBuddies.h"
#include "app/ModulinkDlg.h"
#include "app/PageBinder.h"
#include "app/PageModel.h"

namespace {

// Every control in the layouts under layout keeps its place while hidden, as a dialog's controls
// do: showing or hiding one never changes the page's size, and so never the main window's.
void KeepPlacesWhenHidden(QLayout* layout) {
  if (layout == nullptr) return;
  for (int i = 0; i < layout->count(); ++i) {
    QLayoutItem* item = layout->itemAt(i);
    if (QWidget* widget = item->widget()) {
      QSizePolicy policy = widget->sizePolicy();
      policy.setRetainSizeWhenHidden(true);
      widget->setSizePolicy(policy);
      KeepPlacesWhenHidden(widget->layout());
    } else {
      KeepPlacesWhenHidden(item->layout());
    }
  }
}

}  // namespace

VkcModulinkDlg::VkcModulinkDlg(QWidget* parent) : QWidget(parent) {}

VkcModulinkDlg::~VkcModulinkDlg() {
  if (model_) model_->SetShowControls({});  // the binder goes first
}

void VkcModulinkDlg::SetHostDialog(ModulinkDlg* host) {
  host_ = host;
  SetPageHost(host);
}

void VkcModulinkDlg::SetPageHost(PageHost* host) {
  pageHost_ = host;
  if (model_) model_->SetHost(host);
}

void VkcModulinkDlg::BindModel(std::unique_ptr<PageModel> model) {
  binder_.reset();
  model_ = std::move(model);
  if (!model_) return;
  model_->SetHost(pageHost_);
  PageModel* target = model_.get();
  binder_ = std::make_unique<PageBinder>(this, target->Controls(),
                                         [target](int id, ControlEvent event) { target->Handle(id, event); });
  target->SetShowControls([binder = binder_.get()] { binder->PushState(); });
  binder_->Push();
  AssignLabelBuddies(this);
}

void VkcModulinkDlg::RefreshPage() {
  if (!model_) return;
  model_->Refresh();
  binder_->Push();
}

bool VkcModulinkDlg::ApplyPage() {
  if (!model_) return true;
  binder_->Pull();
  const bool ok = model_->Apply();
  binder_->Push();
  return ok;
}

void VkcModulinkDlg::UpdateControls() {
  if (binder_) binder_->Push();
}

bool VkcModulinkDlg::CreateHidden(QWidget* parent) {
  if (parent != nullptr && parentWidget() != parent) setParent(parent);
  MakeNonDefault(this);
  AssignLabelBuddies(this);
  KeepPlacesWhenHidden(layout());
  hide();
  return true;
}

void VkcModulinkDlg::CommitPendingEdit() {
  if (binder_) return binder_->CommitFocusedEdit();
  // A page without a model checks its edits on editingFinished.
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
