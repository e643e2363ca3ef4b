#include "app/LabelBuddies.h"

#include <QApplication>
#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QTest>

#include <gtest/gtest.h>

// Alt+letter goes to the control the label names; of two controls that share its place, to the
// one shown.
TEST(LabelBuddies, AltLetterGoesToTheShownControlBesideTheLabel) {
  QWidget window;
  auto* grid = new QGridLayout(&window);
  auto* label = new QLabel(QStringLiteral("Frequency &Channel"), &window);
  auto* list = new QComboBox(&window);
  auto* number = new QLineEdit(&window);
  auto* other = new QLabel(QStringLiteral("&Other"), &window);
  auto* after = new QLineEdit(&window);
  grid->addWidget(label, 0, 0);
  grid->addWidget(list, 0, 1);
  grid->addWidget(number, 0, 1);
  grid->addWidget(after, 1, 1);
  grid->addWidget(other, 1, 0);  // added after its control, placed before it
  AssignLabelBuddies(&window);
  EXPECT_EQ(label->buddy(), list);
  EXPECT_EQ(other->buddy(), after);

  list->hide();
  window.show();
  QApplication::setActiveWindow(&window);
  ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
  after->setFocus();
  QTest::keyClick(&window, Qt::Key_C, Qt::AltModifier);  // the first press already reaches it
  EXPECT_TRUE(number->hasFocus());
  QTest::keyClick(&window, Qt::Key_O, Qt::AltModifier);
  EXPECT_TRUE(after->hasFocus());
  number->hide();
  list->show();
  QTest::keyClick(&window, Qt::Key_C, Qt::AltModifier);
  EXPECT_TRUE(list->hasFocus());
}
