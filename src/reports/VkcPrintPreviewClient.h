#pragma once
// The scrolling area of the print preview: the page view as tall as the screen, its width in the
// paper's proportion, centred and inset by 5 pixels.

#include <QScrollArea>

#include "platform/qt/Size.h"

class VkcPrintPaper;
class VkcSystem;

class VkcPrintPreviewClient : public QScrollArea {
  Q_OBJECT
 public:
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
};
