#pragma once
// What widget tests of pages share: a page's control found by its id ("ctl<id>"), and a settings
// folder of its own for a program started in a test. Header only: for the suites that link Qt.

#include <QString>
#include <QWidget>
#include <cstdlib>

#include "support/TestSupport.h"

namespace testsupport {

template <typename W>
W* Control(QWidget* root, int id) {
  return root->findChild<W*>(QStringLiteral("ctl%1").arg(id));
}

// XDG_CONFIG_HOME pointed at a temporary folder while it lives.
struct ConfigHome {
  TempDir dir;
  ConfigHome() { ::setenv("XDG_CONFIG_HOME", dir.Path().c_str(), 1); }
  ~ConfigHome() { ::unsetenv("XDG_CONFIG_HOME"); }
};

}  // namespace testsupport
