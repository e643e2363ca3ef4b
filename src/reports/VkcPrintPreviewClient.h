#pragma once
// The scrolling area of the print preview: the page view as tall as the screen, its width in the
// paper's proportion, centred and inset by 5 pixels. A line scrolls 1 pixel, a page and a wheel
// notch 10.

#include <QScrollArea>

#include "platform/qt/Size.h"

class VkcPrintPaper;
class VkcSystem;

class VkcPrintPreviewClient : public QScrollArea {
  Q_OBJECT
 public:
  static constexpr int kLineStep = 1;
  static constexpr int kPageStep = 10;
  static constexpr int kWheelStep = 10;
  static constexpr int kWheelNotch = 120;  // wheel rotation of one notch

  explicit VkcPrintPreviewClient(QWidget* parent = nullptr);

  // Creates the page view with the unit's report on the first call; later calls re-read the paper
  // size and resize the view. False, after the message, when the printer gives no paper size.
  bool LayoutPaper(VkcSystem* system);
  VkcPrintPaper* Paper() const { return paper_; }
  // The screen height the page view takes; tests set it.
  void SetScreenHeight(int pixels) { screenHeight_ = pixels; }

 protected:
  void wheelEvent(QWheelEvent* event) override;

 private:
  VkcPrintPaper* paper_ = nullptr;
  int screenHeight_ = 0;
  int wheelRest_ = 0;  // wheel rotation not yet scrolled: less than a notch
};
