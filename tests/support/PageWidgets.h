#pragma once
// What widget tests of pages share: a page's control found by its id ("ctl<id>"), and a settings
// folder of its own for a program started in a test. Header only: for the suites that link Qt.

#include <QAbstractScrollArea>
#include <QApplication>
#include <QContextMenuEvent>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QString>
#include <QTest>
#include <QTimer>
#include <QWidget>
#include <cstdlib>
#include <string>

#include "support/TestSupport.h"

namespace testsupport {

template <typename W>
W* Control(QWidget* root, int id) {
  return root->findChild<W*>(QStringLiteral("ctl%1").arg(id));
}

// Whether an edit whose text goes into a command line refuses a control character: a line break
// put in (as a paste does) leaves the edit as it was.
inline bool RefusesControlCharacters(QLineEdit* edit) {
  if (edit == nullptr) return false;
  const QString before = edit->text();
  edit->selectAll();
  edit->insert(QStringLiteral("a\rINJ"));
  return edit->text() == before;
}

// Opens control's context menu as a right click over it does and, once the menu is up, presses key
// in it as the user would (an item's mnemonic, or Esc to close it). True when a menu opened and
// has closed again.
inline bool ChooseFromContextMenu(QWidget* control, Qt::Key key) {
  bool pressed = false;
  QTimer poll;
  QObject::connect(&poll, &QTimer::timeout, [&] {
    QWidget* menu = QApplication::activePopupWidget();
    if (menu == nullptr || pressed) return;
    pressed = true;
    QTest::keyClick(menu, key);
  });
  poll.start(10);
  // A scroll area takes a mouse's context menu through its viewport.
  auto* area = qobject_cast<QAbstractScrollArea*>(control);
  QWidget* target = area != nullptr ? area->viewport() : control;
  const QPoint at = target->rect().center();
  QContextMenuEvent event(QContextMenuEvent::Mouse, at, target->mapToGlobal(at));
  QApplication::sendEvent(target, &event);  // returns at once for a menu that does not run its own loop
  QElapsedTimer waited;
  waited.start();
  while ((!pressed || QApplication::activePopupWidget() != nullptr) && waited.elapsed() < 10000)
    QApplication::processEvents(QEventLoop::AllEvents, 10);
  return pressed && QApplication::activePopupWidget() == nullptr;
}

// XDG_CONFIG_HOME pointed at a temporary folder while it lives; the earlier value comes back.
struct ConfigHome {
  TempDir dir;
  std::string old;
  bool had = false;
  ConfigHome() {
    if (const char* v = std::getenv("XDG_CONFIG_HOME")) {
      old = v;
      had = true;
    }
    ::setenv("XDG_CONFIG_HOME", dir.Path().c_str(), 1);
  }
  ~ConfigHome() {
    if (had) {
      ::setenv("XDG_CONFIG_HOME", old.c_str(), 1);
    } else {
      ::unsetenv("XDG_CONFIG_HOME");
    }
  }
};

}  // namespace testsupport
