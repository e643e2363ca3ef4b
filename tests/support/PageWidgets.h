#pragma once
// What widget tests of pages share: a page's control found by its id ("ctl<id>"), and a settings
// folder of its own for a program started in a test. Header only: for the suites that link Qt.

#include <QLineEdit>
#include <QString>
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
