// Test main for suites with widgets: a QApplication on the offscreen platform, numbers in the C locale.
#include <QApplication>
#include <clocale>
#include <cstdlib>

#include <gmock/gmock.h>

int main(int argc, char** argv) {
  ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
  QApplication app(argc, argv);
  std::setlocale(LC_NUMERIC, "C");
  ::testing::InitGoogleMock(&argc, argv);
  return RUN_ALL_TESTS();
}
