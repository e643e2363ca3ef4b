#include "app/VkcTabStrip.h"

#include <QFontMetrics>
#include <QStyleOptionTab>

VkcTabStrip::VkcTabStrip(QWidget* parent) : QTabBar(parent) {
  QFont bold = font();
  bold.setWeight(QFont::Bold);
  setFont(bold);
  setElideMode(Qt::ElideRight);
  setExpanding(false);
  setUsesScrollButtons(true);
  setDrawBase(true);
  QPalette pal = palette();
  pal.setColor(QPalette::WindowText, pal.color(QPalette::ButtonText));
  setPalette(pal);
}

void VkcTabStrip::SetMinimumTabExtent(int pixels) {
  minimumExtent_ = pixels;
  setIconSize(iconSize());  // marks the tab layout dirty, so the new hint is used
  updateGeometry();
}

int VkcTabStrip::TextWidth(const QString& text) const { return QFontMetrics(font()).horizontalAdvance(text); }

int VkcTabStrip::AddNamedTab(const QString& name) {
  const int index = addTab(name);
  setTabData(index, name);
  return index;
}

QString VkcTabStrip::TabName(int index) const { return tabData(index).toString(); }

int VkcTabStrip::FindTab(const QString& name) const {
  for (int i = 0; i < count(); ++i)
    if (TabName(i) == name) return i;
  return -1;
}

QString VkcTabStrip::DrawnTitle(int index) const {
  QStyleOptionTab option;
  initStyleOption(&option, index);
  return option.text;
}

int VkcTabStrip::WholeTitlesExtent(const QStringList& titles) const {
  // Measured on a strip of the same kind that is never shown.
  VkcTabStrip probe;
  probe.setShape(shape());
  probe.setFont(font());
  probe.setIconSize(iconSize());
  probe.minimumExtent_ = minimumExtent_;
  for (const QString& title : titles) probe.addTab(title);
  const QSize size = probe.sizeHint();
  return IsVertical() ? size.height() : size.width();
}

bool VkcTabStrip::IsVertical() const {
  return shape() == QTabBar::RoundedWest || shape() == QTabBar::RoundedEast || shape() == QTabBar::TriangularWest ||
         shape() == QTabBar::TriangularEast;
}

QSize VkcTabStrip::tabSizeHint(int index) const {
  QSize size = QTabBar::tabSizeHint(index);
  if (IsVertical()) {
    size.setHeight(std::max(size.height(), minimumExtent_));
  } else {
    size.setWidth(std::max(size.width(), minimumExtent_));
  }
  return size;
}
