#pragma once
// The thin Qt side of a page model: finds the widgets named "ctl<id>" under a root widget, writes
// the model's control states onto them (Push) and reads the user's values back (Pull). A user
// action reads every control, runs the model's handler with the control id and event, and
// writes every control back. Radio buttons tagged with TagRadioGroup form one control whose
// selection is the checked button's index (-1 none).
//
// Only the page's own controls are bound: the widgets inside a bound control (a chart's scroll
// bars) are that control's parts, whatever their names; a group box is the one control that
// holds page controls.
//
// Kinds bound: line edits and grouped edits (text, limit, read-only), plain text edits, combo
// boxes (entries, item data, selection), check boxes and buttons, radio groups, list and tree
// widgets (columns, rows, icons, check boxes, selection), sliders (range, steps, ticks, value,
// the action of a scroll), spin boxes (range, value, read-only), progress bars (range, value),
// labels and group boxes (text; a checkable group box also its check). Every kind: enabled and
// shown. A new kind is added in PageBinder.cpp's Kind table.
//
// The page base (VkcModulinkDlg) owns the binder together with the model it refers to.

#include <QIcon>
#include <QObject>
#include <QPointer>
#include <QString>
#include <functional>
#include <map>
#include <vector>

#include "app/PageControls.h"

class QAbstractButton;
class QButtonGroup;
class QTreeWidgetItem;
class QWidget;

class PageBinder : public QObject {
  Q_OBJECT
 public:
  using Handler = std::function<void(int id, ControlEvent event)>;

  PageBinder(QWidget* root, PageControls& controls, Handler handler);
  ~PageBinder() override;

  static QString ObjectName(int id) { return QStringLiteral("ctl%1").arg(id); }
  // Makes the buttons one radio group with the control id groupId, indexed in the order given.
  static void TagRadioGroup(int groupId, const std::vector<QAbstractButton*>& buttons);
  QWidget* Widget(int id) const;
  // The icons a list or tree control's rows refer to by index.
  void SetIcons(int id, std::vector<QIcon> icons);

  void Push();
  // Push without taking the model's focus request: for the moment a message box opens, which
  // takes the focus itself; the push after the handler moves it.
  void PushState();
  void Pull();

  // Runs the lost-focus check of the focused bound edit, if any (tabs take no focus).
  void CommitFocusedEdit();

  void Dispatch(int id, ControlEvent event);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  struct Radio {
    QButtonGroup* group = nullptr;
    std::vector<QPointer<QAbstractButton>> buttons;
  };
  struct Rows {
    std::vector<ControlRow> shown;
    std::vector<QTreeWidgetItem*> items;  // tree widgets only
    std::vector<std::u16string> columns;
  };

  void BindUnder(QWidget* parent);
  void Bind(QWidget* widget, int id);
  void BindRadio(QAbstractButton* button, int groupId, int index);
  void PullOne(int id, QWidget* widget, ControlState& state);
  void PushOne(int id, const ControlState& state, QWidget* widget);
  void PushRadio(int id, const ControlState& state, Radio& radio);
  void PushRows(int id, const ControlState& state, QWidget* widget);
  void PullRows(int id, QWidget* widget, ControlState& state);
  QIcon Icon(int id, int index) const;

  PageControls& controls_;
  Handler handler_;
  std::map<int, QPointer<QWidget>> widgets_;
  std::map<int, Radio> radios_;
  std::map<int, Rows> rows_;
  std::map<int, std::vector<QIcon>> icons_;
  QPointer<QWidget> committed_;  // checked by CommitFocusedEdit while it kept the focus
  bool dispatching_ = false;
  bool pushing_ = false;
};
