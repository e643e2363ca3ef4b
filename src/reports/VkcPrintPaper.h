#pragma once
// The report's page view in the print preview: it holds the report's pages, shows the current one
// scaled to the window, lets the user move items with the mouse, and prints.

#include <QWidget>
#include <functional>

#include "reports/VkcPaperDocument.h"

class QPrinter;
class VkcSystem;

class VkcPrintPaper : public QWidget {
  Q_OBJECT
 public:
  explicit VkcPrintPaper(QWidget* parent = nullptr);
  ~VkcPrintPaper() override;

  // Builds the report of the unit, lays it out on paper of the given size and shows page 0.
  void Create(VkcSystem& system, platform::qt::Size paper);
  void BuildConfigurationReport(VkcSystem& system);
  void AddItem(std::unique_ptr<VkcPaperItem> item) { document_.AddItem(std::move(item)); }
  void Paginate();

  // New paper size (page setup): the pages stay as they are.
  void SetPaperSize(platform::qt::Size paper);
  platform::qt::Size PaperSize() const { return paper_; }

  int PageCount() const { return document_.PageCount(); }
  int CurrentPage() const { return current_; }
  void ShowPage(int n);
  void OnNext();
  void OnPrevious();
  bool CanNext() const { return current_ + 1 < PageCount(); }
  bool CanPrevious() const { return current_ > 0; }
  // Called with the page shown, so the frame can set its title and buttons.
  void SetPageShownHandler(std::function<void(int)> handler) { pageShown_ = std::move(handler); }

  bool Print(QPrinter& printer, int fromPage, int toPage, int copies, bool collate);
  VkcPaperDocument& Document() { return document_; }
  VkcPaperItem* Highlighted() const { return highlighted_; }

  // Window pixels to paper units, truncated.
  platform::qt::Point ToPaper(QPoint p) const;

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

 private:
  VkcPaperItem* ItemAt(platform::qt::Point p) const;

  VkcPaperDocument document_;
  int current_ = 0;
  platform::qt::Size paper_{2100, 2970};
  VkcPaperItem* highlighted_ = nullptr;
  bool dragging_ = false;
  VkcPaperItem* dragged_ = nullptr;
  std::unique_ptr<VkcPaperItem> dragCopy_;
  platform::qt::Point grabOffset_;
  std::function<void(int)> pageShown_;
};
