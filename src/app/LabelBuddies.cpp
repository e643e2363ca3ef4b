#include "app/LabelBuddies.h"

#include <QAbstractButton>
#include <QEvent>
#include <QGridLayout>
#include <QLabel>
#include <QLayout>
#include <QPointer>
#include <QWidget>
#include <algorithm>
#include <utility>
#include <vector>

namespace {

// The items of a layout in the order they are placed: a grid's row by row, each row from the left.
std::vector<QLayoutItem*> PlacedItems(QLayout* layout) {
  std::vector<QLayoutItem*> items;
  for (int i = 0; i < layout->count(); ++i) items.push_back(layout->itemAt(i));
  if (auto* grid = qobject_cast<QGridLayout*>(layout)) {
    const auto cell = [grid](QLayoutItem* item) {
      int row = 0, column = 0, rows = 0, columns = 0;
      grid->getItemPosition(grid->indexOf(item), &row, &column, &rows, &columns);
      return std::pair(row, column);
    };
    std::stable_sort(items.begin(), items.end(), [&](QLayoutItem* a, QLayoutItem* b) { return cell(a) < cell(b); });
  }
  return items;
}

// Widgets in the order their layouts place them: a widget, then what its own layout holds.
void CollectInLayoutOrder(QLayout* layout, std::vector<QWidget*>& out) {
  if (layout == nullptr) return;
  for (QLayoutItem* item : PlacedItems(layout)) {
    if (QWidget* widget = item->widget()) {
      out.push_back(widget);
      CollectInLayoutOrder(widget->layout(), out);
    } else if (QLayout* inner = item->layout()) {
      CollectInLayoutOrder(inner, out);
    }
  }
}

// Retargets the label's buddy to the first of its controls that is shown and enabled when its
// shortcut fires. A new buddy gives the label a new shortcut, so the press that found it no longer
// matches the label's: that press is carried out here, as the label would have.
class BuddyChooser : public QObject {
 public:
  BuddyChooser(QLabel* label, std::vector<QWidget*> controls) : QObject(label) {
    for (QWidget* control : controls) controls_.emplace_back(control);
    label->installEventFilter(this);
  }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::Shortcut) {
      auto* label = static_cast<QLabel*>(watched);
      for (const QPointer<QWidget>& control : controls_) {
        if (!control || !control->isVisible() || !control->isEnabled()) continue;
        if (label->buddy() == control) break;
        label->setBuddy(control);
        if (control->focusPolicy() != Qt::NoFocus) control->setFocus(Qt::ShortcutFocusReason);
        if (auto* button = qobject_cast<QAbstractButton*>(control.data())) button->animateClick();
        return true;
      }
    }
    return false;
  }

 private:
  std::vector<QPointer<QWidget>> controls_;
};

}  // namespace

bool HasMnemonic(const QString& text) {
  for (qsizetype i = 0; i + 1 < text.size(); ++i) {
    if (text[i] != QLatin1Char('&')) continue;
    if (text[i + 1] != QLatin1Char('&')) return true;
    ++i;  // "&&" stands for one ampersand
  }
  return false;
}

void AssignLabelBuddies(QWidget* root) {
  std::vector<QWidget*> order;
  CollectInLayoutOrder(root->layout(), order);
  for (size_t i = 0; i < order.size(); ++i) {
    auto* label = qobject_cast<QLabel*>(order[i]);
    if (label == nullptr || label->buddy() != nullptr || !HasMnemonic(label->text())) continue;
    std::vector<QWidget*> controls;
    for (size_t j = i + 1; j < order.size(); ++j) {
      QWidget* next = order[j];
      if (next->parentWidget() != label->parentWidget()) continue;
      if (qobject_cast<QLabel*>(next) != nullptr) break;
      if ((next->focusPolicy() & Qt::TabFocus) != 0) controls.push_back(next);
    }
    if (controls.empty()) continue;
    label->setBuddy(controls.front());
    if (controls.size() > 1) new BuddyChooser(label, std::move(controls));
  }
}
