#include "app/PageBinder.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QEvent>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QSignalBlocker>
#include <QWidget>

#include "app/VkcMultiEdit.h"

namespace {
std::u16string ToU16(const QString& s) {
  return std::u16string(reinterpret_cast<const char16_t*>(s.utf16()), static_cast<size_t>(s.size()));
}
QString ToQ(const std::u16string& s) { return QString::fromUtf16(s.data(), static_cast<qsizetype>(s.size())); }
}  // namespace

PageBinder::PageBinder(QWidget* root, PageControls& controls, Handler handler)
    : QObject(root), controls_(controls), handler_(std::move(handler)) {
  for (QWidget* widget : root->findChildren<QWidget*>()) {
    const QString name = widget->objectName();
    if (!name.startsWith(QStringLiteral("ctl"))) continue;
    bool ok = false;
    const int id = name.mid(3).toInt(&ok);
    if (ok) Bind(widget, id);
  }
}

QWidget* PageBinder::Widget(int id) const {
  auto it = widgets_.find(id);
  return it == widgets_.end() ? nullptr : it->second;
}

void PageBinder::Bind(QWidget* widget, int id) {
  widgets_[id] = widget;
  if (auto* multi = qobject_cast<VkcMultiEdit*>(widget)) {
    connect(multi, &VkcMultiEdit::RawTextEdited, this, [this, id] { Dispatch(id, ControlEvent::TextEdited); });
    multi->installEventFilter(this);
  } else if (auto* edit = qobject_cast<QLineEdit*>(widget)) {
    connect(edit, &QLineEdit::textEdited, this, [this, id] { Dispatch(id, ControlEvent::TextEdited); });
    edit->installEventFilter(this);
  } else if (auto* combo = qobject_cast<QComboBox*>(widget)) {
    connect(combo, &QComboBox::activated, this, [this, id] { Dispatch(id, ControlEvent::SelectionChanged); });
  } else if (auto* button = qobject_cast<QAbstractButton*>(widget)) {
    connect(button, &QAbstractButton::clicked, this, [this, id] { Dispatch(id, ControlEvent::Clicked); });
  }
}

bool PageBinder::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::FocusOut && !pushing_) {
    for (const auto& [id, widget] : widgets_) {
      if (widget == watched) {
        // A message box shown by the check takes the focus again; the check must not re-run.
        if (!dispatching_) Dispatch(id, ControlEvent::FocusLost);
        break;
      }
    }
  }
  return QObject::eventFilter(watched, event);
}

void PageBinder::CommitFocusedEdit() {
  QWidget* focused = QApplication::focusWidget();
  for (const auto& [id, widget] : widgets_)
    if (widget == focused && qobject_cast<QLineEdit*>(widget) && !dispatching_)
      return Dispatch(id, ControlEvent::FocusLost);
}

void PageBinder::Dispatch(int id, ControlEvent event) {
  if (pushing_) return;
  const bool outer = !dispatching_;
  dispatching_ = true;
  Pull(id);
  if (handler_) handler_(id, event);
  if (outer) dispatching_ = false;
  Push();
}

void PageBinder::Pull() {
  for (const auto& entry : widgets_) Pull(entry.first);
}

void PageBinder::Pull(int id) {
  QWidget* widget = Widget(id);
  if (widget == nullptr) return;
  ControlState& state = controls_[id];
  if (auto* multi = qobject_cast<VkcMultiEdit*>(widget)) {
    state.text = multi->GetRawText();
  } else if (auto* edit = qobject_cast<QLineEdit*>(widget)) {
    state.text = ToU16(edit->text());
  } else if (auto* combo = qobject_cast<QComboBox*>(widget)) {
    state.selection = combo->currentIndex();
  } else if (auto* button = qobject_cast<QAbstractButton*>(widget)) {
    if (button->isCheckable()) state.check = button->isChecked() ? 1 : 0;
  }
}

void PageBinder::Push() {
  pushing_ = true;
  for (const auto& [id, widget] : widgets_) PushOne(id, controls_.Get(id), widget);
  pushing_ = false;
}

void PageBinder::PushOne(int id, const ControlState& state, QWidget* widget) {
  QSignalBlocker block(widget);
  if (!controls_.Has(id)) return;
  widget->setEnabled(state.enabled);
  if (widget->isVisibleTo(widget->parentWidget()) != state.visible) widget->setVisible(state.visible);
  if (auto* multi = qobject_cast<VkcMultiEdit*>(widget)) {
    if (state.text && multi->GetRawText() != *state.text) multi->SetWindowText(*state.text);
  } else if (auto* edit = qobject_cast<QLineEdit*>(widget)) {
    if (state.text && edit->text() != ToQ(*state.text)) edit->setText(ToQ(*state.text));
  } else if (auto* combo = qobject_cast<QComboBox*>(widget)) {
    if (state.items) {
      bool same = combo->count() == state.ItemCount();
      for (int i = 0; same && i < combo->count(); ++i)
        same = combo->itemText(i) == ToQ((*state.items)[static_cast<size_t>(i)]) &&
               combo->itemData(i).toLongLong() == static_cast<qlonglong>(state.itemData[static_cast<size_t>(i)]);
      if (!same) {
        combo->clear();
        for (int i = 0; i < state.ItemCount(); ++i)
          combo->addItem(ToQ((*state.items)[static_cast<size_t>(i)]),
                         QVariant::fromValue<qlonglong>(state.itemData[static_cast<size_t>(i)]));
      }
    }
    if (combo->currentIndex() != state.selection) combo->setCurrentIndex(state.selection);
  } else if (auto* button = qobject_cast<QAbstractButton*>(widget)) {
    if (state.text) button->setText(ToQ(*state.text));
    if (button->isCheckable()) button->setChecked(state.check != 0);
  } else if (auto* label = qobject_cast<QLabel*>(widget)) {
    if (state.text) label->setText(ToQ(*state.text));
  } else if (auto* group = qobject_cast<QGroupBox*>(widget)) {
    if (state.text) group->setTitle(ToQ(*state.text));
  }
}
