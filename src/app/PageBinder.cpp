#include "app/PageBinder.h"

#include <QAbstractButton>
#include <QAbstractSlider>
#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QFocusEvent>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QSignalBlocker>
#include <QSlider>
#include <QSpinBox>
#include <QTreeWidget>
#include <QWidget>

#include "app/CommandTextValidator.h"
#include "app/VkcMultiEdit.h"

namespace {
constexpr const char* kGroupProperty = "ctlGroup";
constexpr const char* kIndexProperty = "ctlGroupIndex";

std::u16string ToU16(const QString& s) {
  return std::u16string(reinterpret_cast<const char16_t*>(s.utf16()), static_cast<size_t>(s.size()));
}
QString ToQ(const std::u16string& s) { return QString::fromUtf16(s.data(), static_cast<qsizetype>(s.size())); }

SliderAction ActionOf(int action) {
  switch (action) {
    case QAbstractSlider::SliderSingleStepSub: return SliderAction::LineUp;
    case QAbstractSlider::SliderSingleStepAdd: return SliderAction::LineDown;
    case QAbstractSlider::SliderPageStepSub: return SliderAction::PageUp;
    case QAbstractSlider::SliderPageStepAdd: return SliderAction::PageDown;
    case QAbstractSlider::SliderMove: return SliderAction::Track;
    case QAbstractSlider::SliderToMinimum: return SliderAction::Top;
    case QAbstractSlider::SliderToMaximum: return SliderAction::Bottom;
    default: return SliderAction::None;
  }
}

Qt::CheckState CheckOf(int check) {
  return check == 1 ? Qt::Checked : check == 2 ? Qt::PartiallyChecked : Qt::Unchecked;
}
int CheckOf(Qt::CheckState state) { return state == Qt::Checked ? 1 : state == Qt::PartiallyChecked ? 2 : 0; }

bool IsEdit(QWidget* widget) {
  return qobject_cast<QLineEdit*>(widget) || qobject_cast<QPlainTextEdit*>(widget) ||
         qobject_cast<QAbstractSpinBox*>(widget);
}
}  // namespace

PageBinder::PageBinder(QWidget* root, PageControls& controls, Handler handler)
    : QObject(nullptr), controls_(controls), handler_(std::move(handler)) {
  BindUnder(root);
}

void PageBinder::BindUnder(QWidget* parent) {
  for (QObject* child : parent->children()) {
    auto* widget = qobject_cast<QWidget*>(child);
    if (widget == nullptr) continue;
    bool bound = false;
    if (const QString name = widget->objectName(); name.startsWith(QStringLiteral("ctl"))) {
      const int id = name.mid(3).toInt(&bound);
      if (bound) Bind(widget, id);
    }
    if (auto* button = qobject_cast<QAbstractButton*>(widget); button && button->property(kGroupProperty).isValid())
      BindRadio(button, button->property(kGroupProperty).toInt(), button->property(kIndexProperty).toInt());
    // A control keeps its parts to itself: a chart's hidden scroll bar must not be shown as a page control.
    if (!bound || qobject_cast<QGroupBox*>(widget) != nullptr) BindUnder(widget);
  }
}

PageBinder::~PageBinder() {
  // Widgets outlive the binder: nothing of theirs may reach it any more.
  for (auto& [id, widget] : widgets_)
    if (widget) {
      widget->removeEventFilter(this);
      widget->disconnect(this);
    }
}

void PageBinder::TagRadioGroup(int groupId, const std::vector<QAbstractButton*>& buttons) {
  for (size_t i = 0; i < buttons.size(); ++i) {
    buttons[i]->setProperty(kGroupProperty, groupId);
    buttons[i]->setProperty(kIndexProperty, static_cast<int>(i));
  }
}

QWidget* PageBinder::Widget(int id) const {
  auto it = widgets_.find(id);
  return it == widgets_.end() ? nullptr : it->second.data();
}

void PageBinder::SetIcons(int id, std::vector<QIcon> icons) {
  icons_[id] = std::move(icons);
  rows_[id].shown.clear();  // redrawn with the icons at the next push
  rows_[id].items.clear();
  if (auto* tree = qobject_cast<QTreeWidget*>(Widget(id))) tree->clear();
  if (auto* list = qobject_cast<QListWidget*>(Widget(id))) list->clear();
}

QIcon PageBinder::Icon(int id, int index) const {
  auto it = icons_.find(id);
  if (index < 0 || it == icons_.end() || static_cast<size_t>(index) >= it->second.size()) return {};
  return it->second[static_cast<size_t>(index)];
}

void PageBinder::BindRadio(QAbstractButton* button, int groupId, int index) {
  Radio& radio = radios_[groupId];
  if (radio.group == nullptr) {
    radio.group = new QButtonGroup(this);
    radio.group->setExclusive(true);
  }
  if (radio.buttons.size() <= static_cast<size_t>(index)) radio.buttons.resize(static_cast<size_t>(index) + 1);
  radio.buttons[static_cast<size_t>(index)] = button;
  radio.group->addButton(button, index);
  // A button with an id of its own reports its clicks under that id (bound in Bind).
  if (!button->objectName().startsWith(QStringLiteral("ctl")))
    connect(button, &QAbstractButton::clicked, this, [this, groupId] { Dispatch(groupId, ControlEvent::Clicked); });
}

// The table of kinds: how each widget class reports the user's actions.
void PageBinder::Bind(QWidget* widget, int id) {
  widgets_[id] = widget;
  if (IsEdit(widget)) widget->installEventFilter(this);
  if (auto* multi = qobject_cast<VkcMultiEdit*>(widget)) {
    connect(multi, &VkcMultiEdit::RawTextEdited, this, [this, id] { Dispatch(id, ControlEvent::TextEdited); });
  } else if (auto* edit = qobject_cast<QLineEdit*>(widget)) {
    connect(edit, &QLineEdit::textEdited, this, [this, id] { Dispatch(id, ControlEvent::TextEdited); });
  } else if (auto* text = qobject_cast<QPlainTextEdit*>(widget)) {
    connect(text, &QPlainTextEdit::textChanged, this, [this, id] { Dispatch(id, ControlEvent::TextEdited); });
  } else if (auto* combo = qobject_cast<QComboBox*>(widget)) {
    connect(combo, &QComboBox::activated, this, [this, id] { Dispatch(id, ControlEvent::SelectionChanged); });
    if (QLineEdit* line = combo->lineEdit()) {
      // Editable: the text is bound as an edit's is; the list stays the model's, typing never adds to it.
      combo->setInsertPolicy(QComboBox::NoInsert);
      connect(line, &QLineEdit::textEdited, this, [this, id] { Dispatch(id, ControlEvent::TextEdited); });
    }
  } else if (auto* button = qobject_cast<QAbstractButton*>(widget)) {
    connect(button, &QAbstractButton::clicked, this, [this, id] { Dispatch(id, ControlEvent::Clicked); });
  } else if (auto* tree = qobject_cast<QTreeWidget*>(widget)) {
    connect(tree, &QTreeWidget::currentItemChanged, this, [this, id] { Dispatch(id, ControlEvent::SelectionChanged); });
    connect(tree, &QTreeWidget::itemDoubleClicked, this, [this, id] { Dispatch(id, ControlEvent::DoubleClicked); });
    connect(tree, &QTreeWidget::itemChanged, this, [this, id] { Dispatch(id, ControlEvent::Clicked); });
  } else if (auto* list = qobject_cast<QListWidget*>(widget)) {
    connect(list, &QListWidget::currentRowChanged, this, [this, id] { Dispatch(id, ControlEvent::SelectionChanged); });
    connect(list, &QListWidget::itemDoubleClicked, this, [this, id] { Dispatch(id, ControlEvent::DoubleClicked); });
    connect(list, &QListWidget::itemChanged, this, [this, id] { Dispatch(id, ControlEvent::Clicked); });
  } else if (auto* slider = qobject_cast<QAbstractSlider*>(widget)) {
    // The position already follows the action when it is reported; the value follows later.
    connect(slider, &QAbstractSlider::actionTriggered, this, [this, id, slider](int action) {
      if (pushing_) return;
      controls_[id].action = ActionOf(action);
      controls_[id].value = slider->sliderPosition();
      Dispatch(id, ControlEvent::Scrolled);
    });
  } else if (auto* spin = qobject_cast<QSpinBox*>(widget)) {
    connect(spin, &QSpinBox::valueChanged, this, [this, id] { Dispatch(id, ControlEvent::ValueChanged); });
  } else if (auto* group = qobject_cast<QGroupBox*>(widget)) {
    connect(group, &QGroupBox::clicked, this, [this, id] { Dispatch(id, ControlEvent::Clicked); });
  }
}

bool PageBinder::eventFilter(QObject* watched, QEvent* event) {
  // A popup menu opening over a control (its own context menu or the window's menu) and closing
  // again is no focus change: nothing is checked and nothing is noted.
  if ((event->type() == QEvent::FocusIn || event->type() == QEvent::FocusOut) &&
      static_cast<QFocusEvent*>(event)->reason() == Qt::PopupFocusReason) {
    return QObject::eventFilter(watched, event);
  }
  // An edit checked ahead of its focus loss is not checked again when the focus does leave,
  // unless the user came back to it or changed it since.
  if (event->type() == QEvent::FocusIn && watched == committed_) committed_ = nullptr;
  if (event->type() == QEvent::FocusOut && watched == committed_) {
    committed_ = nullptr;
    return QObject::eventFilter(watched, event);
  }
  if (event->type() == QEvent::FocusOut && !pushing_ && !dispatching_) {
    // While a check runs, its message box takes the focus: the check must not run again.
    for (const auto& [id, widget] : widgets_)
      if (widget == watched) {
        Dispatch(id, ControlEvent::FocusLost);
        break;
      }
  }
  return QObject::eventFilter(watched, event);
}

void PageBinder::CommitFocusedEdit() {
  QWidget* focused = QApplication::focusWidget();
  if (focused == nullptr || dispatching_) return;
  for (const auto& [id, widget] : widgets_)
    if (widget == focused && IsEdit(focused)) {
      Dispatch(id, ControlEvent::FocusLost);
      committed_ = focused;
      return;
    }
}

void PageBinder::Dispatch(int id, ControlEvent event) {
  if (pushing_) return;
  if (event == ControlEvent::TextEdited && committed_ == Widget(id)) committed_ = nullptr;
  const bool outer = !dispatching_;
  dispatching_ = true;
  // Slider handlers see the position the action produced, not the value the widget still shows.
  const int sliderValue = controls_[id].value;
  Pull();
  if (event == ControlEvent::Scrolled) controls_[id].value = sliderValue;
  if (handler_) handler_(id, event);
  if (outer) dispatching_ = false;
  Push();
}

void PageBinder::Pull() {
  for (const auto& [id, widget] : widgets_)
    if (widget) PullOne(id, widget, controls_[id]);
  for (auto& [id, radio] : radios_) {
    int checked = -1;
    for (size_t i = 0; i < radio.buttons.size(); ++i)
      if (radio.buttons[i] && radio.buttons[i]->isChecked()) checked = static_cast<int>(i);
    controls_[id].selection = checked;
  }
}

void PageBinder::PullOne(int id, QWidget* widget, ControlState& state) {
  if (auto* multi = qobject_cast<VkcMultiEdit*>(widget)) {
    state.text = multi->GetRawText();
  } else if (auto* edit = qobject_cast<QLineEdit*>(widget)) {
    state.text = ToU16(edit->text());
  } else if (auto* text = qobject_cast<QPlainTextEdit*>(widget)) {
    state.text = ToU16(text->toPlainText());
  } else if (auto* combo = qobject_cast<QComboBox*>(widget)) {
    state.selection = combo->currentIndex();
    if (combo->isEditable()) state.text = ToU16(combo->currentText());
  } else if (auto* button = qobject_cast<QAbstractButton*>(widget)) {
    if (button->isCheckable() && !button->property(kGroupProperty).isValid()) {
      auto* box = qobject_cast<QCheckBox*>(button);
      state.check = box != nullptr ? CheckOf(box->checkState()) : (button->isChecked() ? 1 : 0);
    }
  } else if (qobject_cast<QTreeWidget*>(widget) || qobject_cast<QListWidget*>(widget)) {
    PullRows(id, widget, state);
  } else if (auto* slider = qobject_cast<QAbstractSlider*>(widget)) {
    state.value = slider->value();
  } else if (auto* spin = qobject_cast<QSpinBox*>(widget)) {
    state.value = spin->value();
    state.text = ToU16(spin->text());
  } else if (auto* group = qobject_cast<QGroupBox*>(widget)) {
    if (group->isCheckable()) state.check = group->isChecked() ? 1 : 0;
  }
}

void PageBinder::Push() {
  PushState();
  if (const int focus = controls_.TakeFocusRequest(); focus != 0)
    if (QWidget* widget = Widget(focus); widget && widget->isEnabled()) {
      widget->setFocus(Qt::OtherFocusReason);
      if (auto* edit = qobject_cast<QLineEdit*>(widget)) edit->selectAll();
    }
}

void PageBinder::PushState() {
  if (pushing_) return;
  pushing_ = true;
  for (const auto& [id, widget] : widgets_)
    if (widget && controls_.Has(id)) PushOne(id, controls_.Get(id), widget);
  for (auto& [id, radio] : radios_)
    if (controls_.Has(id)) PushRadio(id, controls_.Get(id), radio);
  pushing_ = false;
}

void PageBinder::PushRadio(int, const ControlState& state, Radio& radio) {
  const int checked = radio.group->checkedId();
  if (checked == state.selection) return;
  for (auto& button : radio.buttons)
    if (button) {
      QSignalBlocker block(button);
      if (state.selection < 0) {
        // An exclusive group keeps one button checked: none checked needs it open for a moment.
        radio.group->setExclusive(false);
        button->setChecked(false);
        radio.group->setExclusive(true);
      }
    }
  if (state.selection >= 0 && static_cast<size_t>(state.selection) < radio.buttons.size())
    if (auto& button = radio.buttons[static_cast<size_t>(state.selection)]) {
      QSignalBlocker block(button);
      button->setChecked(true);
    }
}

void PageBinder::PushOne(int id, const ControlState& state, QWidget* widget) {
  QSignalBlocker block(widget);
  widget->setEnabled(state.enabled);
  if (widget->isVisibleTo(widget->parentWidget()) != state.visible) widget->setVisible(state.visible);
  if (auto* multi = qobject_cast<VkcMultiEdit*>(widget)) {
    if (state.textLimit > 0) multi->SetMaxLength(static_cast<uint32_t>(state.textLimit));
    multi->SetReadOnly(state.readOnly);
    if (state.text && multi->GetRawText() != *state.text) multi->SetWindowText(*state.text);
  } else if (auto* edit = qobject_cast<QLineEdit*>(widget)) {
    edit->setMaxLength(state.textLimit > 0 ? state.textLimit : 32767);
    if (state.commandText && edit->validator() == nullptr) edit->setValidator(new CommandTextValidator(edit));
    edit->setReadOnly(state.readOnly);
    if (state.text && edit->text() != ToQ(*state.text)) edit->setText(ToQ(*state.text));
  } else if (auto* text = qobject_cast<QPlainTextEdit*>(widget)) {
    text->setReadOnly(state.readOnly);
    if (state.text && text->toPlainText() != ToQ(*state.text)) text->setPlainText(ToQ(*state.text));
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
    // After the selection, which puts its entry's text in the edit.
    if (combo->isEditable() && state.text && combo->currentText() != ToQ(*state.text))
      combo->setEditText(ToQ(*state.text));
  } else if (auto* button = qobject_cast<QAbstractButton*>(widget)) {
    if (state.text) button->setText(ToQ(*state.text));
    if (button->isCheckable() && !button->property(kGroupProperty).isValid()) {
      if (auto* box = qobject_cast<QCheckBox*>(button)) {
        if (state.check == 2) box->setTristate(true);
        box->setCheckState(CheckOf(state.check));
      } else {
        button->setChecked(state.check != 0);
      }
    }
  } else if (qobject_cast<QTreeWidget*>(widget) || qobject_cast<QListWidget*>(widget)) {
    PushRows(id, state, widget);
  } else if (auto* slider = qobject_cast<QAbstractSlider*>(widget)) {
    if (state.range) slider->setRange(state.range->min, state.range->max);
    if (state.lineStep > 0) slider->setSingleStep(state.lineStep);
    if (state.pageStep > 0) slider->setPageStep(state.pageStep);
    if (auto* ticks = qobject_cast<QSlider*>(slider); ticks && state.tickInterval > 0) {
      ticks->setTickInterval(state.tickInterval);
      if (ticks->tickPosition() == QSlider::NoTicks) ticks->setTickPosition(QSlider::TicksBelow);
    }
    if (slider->value() != state.value || slider->sliderPosition() != state.value) {
      slider->setValue(state.value);
      slider->setSliderPosition(state.value);
    }
  } else if (auto* spin = qobject_cast<QSpinBox*>(widget)) {
    if (state.range) spin->setRange(state.range->min, state.range->max);
    if (state.lineStep > 0) spin->setSingleStep(state.lineStep);
    spin->setReadOnly(state.readOnly);
    if (spin->value() != state.value) spin->setValue(state.value);
  } else if (auto* bar = qobject_cast<QProgressBar*>(widget)) {
    if (state.range) bar->setRange(state.range->min, state.range->max);
    if (bar->value() != state.value) bar->setValue(state.value);
  } else if (auto* label = qobject_cast<QLabel*>(widget)) {
    if (state.text && label->text() != ToQ(*state.text)) label->setText(ToQ(*state.text));
  } else if (auto* group = qobject_cast<QGroupBox*>(widget)) {
    if (state.text) group->setTitle(ToQ(*state.text));
    if (group->isCheckable()) group->setChecked(state.check != 0);
  }
}

void PageBinder::PushRows(int id, const ControlState& state, QWidget* widget) {
  Rows& shown = rows_[id];
  auto* tree = qobject_cast<QTreeWidget*>(widget);
  auto* list = qobject_cast<QListWidget*>(widget);
  if (tree && state.columns && shown.columns != *state.columns) {
    shown.columns = *state.columns;
    QStringList labels;
    for (const auto& column : shown.columns) labels << ToQ(column);
    tree->setColumnCount(std::max<int>(1, static_cast<int>(labels.size())));
    tree->setHeaderLabels(labels);
  }
  if (state.rows) {
    const std::vector<ControlRow>& rows = *state.rows;
    // Rows are kept up to the first that differs: a growing list only adds its new rows.
    size_t same = 0;
    while (same < rows.size() && same < shown.shown.size() && rows[same] == shown.shown[same]) ++same;
    if (tree) {
      for (size_t i = shown.items.size(); i > same; --i) delete shown.items[i - 1];
      shown.items.resize(std::min(same, shown.items.size()));
      for (size_t i = same; i < rows.size(); ++i) {
        const ControlRow& row = rows[i];
        QTreeWidgetItem* parent = row.parent >= 0 && static_cast<size_t>(row.parent) < i
                                      ? shown.items[static_cast<size_t>(row.parent)]
                                      : nullptr;
        auto* item = parent ? new QTreeWidgetItem(parent) : new QTreeWidgetItem(tree);
        for (size_t c = 0; c < row.cells.size(); ++c) item->setText(static_cast<int>(c), ToQ(row.cells[c]));
        if (row.icon >= 0) item->setIcon(0, Icon(id, row.icon));
        if (row.check >= 0) item->setCheckState(0, CheckOf(row.check));
        if (parent) parent->setExpanded(true);
        shown.items.push_back(item);
      }
    } else if (list) {
      while (static_cast<size_t>(list->count()) > same) delete list->takeItem(list->count() - 1);
      for (size_t i = same; i < rows.size(); ++i) {
        auto* item = new QListWidgetItem(rows[i].cells.empty() ? QString() : ToQ(rows[i].cells[0]), list);
        if (rows[i].icon >= 0) item->setIcon(Icon(id, rows[i].icon));
        if (rows[i].check >= 0) {
          item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
          item->setCheckState(CheckOf(rows[i].check));
        }
      }
    }
    shown.shown = rows;
  }
  if (tree) {
    QTreeWidgetItem* current = state.selection >= 0 && static_cast<size_t>(state.selection) < shown.items.size()
                                   ? shown.items[static_cast<size_t>(state.selection)]
                                   : nullptr;
    if (tree->currentItem() != current) tree->setCurrentItem(current);
    if (current == nullptr) tree->clearSelection();
  } else if (list && list->currentRow() != state.selection) {
    list->setCurrentRow(state.selection);
  }
}

void PageBinder::PullRows(int id, QWidget* widget, ControlState& state) {
  Rows& shown = rows_[id];
  if (auto* tree = qobject_cast<QTreeWidget*>(widget)) {
    state.selection = -1;
    for (size_t i = 0; i < shown.items.size(); ++i) {
      if (shown.items[i] == tree->currentItem()) state.selection = static_cast<int>(i);
      if (state.rows && i < state.rows->size() && (*state.rows)[i].check >= 0)
        (*state.rows)[i].check = shown.shown[i].check = CheckOf(shown.items[i]->checkState(0));
    }
  } else if (auto* list = qobject_cast<QListWidget*>(widget)) {
    state.selection = list->currentRow();
    for (int i = 0; i < list->count(); ++i) {
      const auto at = static_cast<size_t>(i);
      if (state.rows && at < state.rows->size() && (*state.rows)[at].check >= 0)
        (*state.rows)[at].check = shown.shown[at].check = CheckOf(list->item(i)->checkState());
    }
  }
}
