// Modulink: manages radio data modems and receivers over a serial port or a TCP gateway.
#include <QApplication>
#include <QDialog>
#include <clocale>

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  // Numbers are written and read in the C locale whatever the user's locale is.
  std::setlocale(LC_NUMERIC, "C");
  QDialog dialog;
  dialog.setWindowTitle(QStringLiteral("Modulink"));
  dialog.resize(640, 480);
  dialog.show();
  return app.exec();
}
