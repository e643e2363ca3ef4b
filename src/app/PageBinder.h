#pragma once
// The thin Qt view of a page model: finds the widgets named "ctl<id>" under a root widget,
// writes the model's control states onto them (Push) and reads the user's values back (Pull).
// User actions reach the model's handler with the control id; the acting control's value is
// pulled first and every control pushed after the handler. It refers to the model's controls:
// a page deletes its binder before its model goes.

#include <QObject>
#include <QString>
#include <functional>
#include <map>

#include "app/PageControls.h"

class QWidget;

enum class ControlEvent { Clicked, SelectionChanged, TextEdited, FocusLost };

class PageBinder : public QObject {
  Q_OBJECT
 public:
  using Handler = std::function<void(int id, ControlEvent event)>;

  PageBinder(QWidget* root, PageControls& controls, Handler handler);

  static QString ObjectName(int id) { return QStringLiteral("ctl%1").arg(id); }
  QWidget* Widget(int id) const;

  void Push();
  void Pull();
  void Pull(int id);

  // Runs the lost-focus check of the focused bound edit, if any (tabs take no focus).
  void CommitFocusedEdit();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void Bind(QWidget* widget, int id);
  void Dispatch(int id, ControlEvent event);
  void PushOne(int id, const ControlState& state, QWidget* widget);

  PageControls& controls_;
  Handler handler_;
  std::map<int, QWidget*> widgets_;
  bool dispatching_ = false;
  bool pushing_ = false;
};
