#pragma once
// The main dialog's two tab strips: bold text in the button-text colour, centred, cut with an
// ellipsis at the end. Each tab keeps its name in its data, so callers never parse tab texts.

#include <QTabBar>

class VkcTabStrip : public QTabBar {
  Q_OBJECT
 public:
  explicit VkcTabStrip(QWidget* parent = nullptr);

  // The smallest extent of a tab along the strip, in pixels.
  void SetMinimumTabExtent(int pixels);
  int MinimumTabExtent() const { return minimumExtent_; }
  // Width of the text in the strip's bold font.
  int TextWidth(const QString& text) const;

  int AddNamedTab(const QString& name);
  QString TabName(int index) const;
  int FindTab(const QString& name) const;

  // The title as the strip draws it now: shortened with an ellipsis when its tab is too small.
  QString DrawnTitle(int index) const;
  // The extent along the strip that tabs with these titles take when every title shows whole.
  int WholeTitlesExtent(const QStringList& titles) const;

 protected:
  QSize tabSizeHint(int index) const override;

 private:
  bool IsVertical() const;

  int minimumExtent_ = 0;
};
