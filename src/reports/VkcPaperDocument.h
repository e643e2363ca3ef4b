#pragma once
// The pages of a printed document, each an ordered list of paper items, with the pagination that
// spreads items over pages of a given paper size and the loop that prints a range of pages.

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "reports/VkcPaperItem.h"

using PaperPage = std::vector<std::unique_ptr<VkcPaperItem>>;

// Where a document is printed: a printer in the program, a recorder in tests.
class VkcPrintTarget {
 public:
  virtual ~VkcPrintTarget() = default;
  virtual bool StartDoc(const std::u16string& name) = 0;
  virtual bool StartPage() = 0;
  virtual void EndPage() = 0;
  virtual void EndDoc() = 0;
  virtual void AbortDoc() = 0;
  // The context of the sheet being printed, and its printable area in device pixels.
  virtual platform::qt::Dc& GetDc() = 0;
  virtual platform::qt::Size GetPrintableSize() const = 0;
};

class VkcPaperDocument {
 public:
  // The top margin, the gap between items and the grid their tops are brought to.
  static constexpr int kMargin = 40;

  VkcPaperDocument() { pages_.emplace_back(); }

  void AddItem(std::unique_ptr<VkcPaperItem> item) { pages_.front().push_back(std::move(item)); }
  int PageCount() const { return static_cast<int>(pages_.size()); }
  PaperPage& GetPage(int n) { return pages_.at(n); }
  const PaperPage& GetPage(int n) const { return pages_.at(n); }

  // Lays the items out on pages of paperWidth x paperHeight: each centred, one below the other,
  // a table that crosses the bottom split there and the rest carried to a new page. The first
  // item of a page stays on it even when it does not fit, so pagination always ends.
  void Paginate(platform::qt::Dc& dc, int paperWidth, int paperHeight);

  // Prints pages from..to (1-based; from 0 means all pages) in copies, collated or page by page.
  // Returns false with the message given when the printer fails; true also when the range is
  // empty and nothing was printed.
  bool Print(VkcPrintTarget& target, int fromPage, int toPage, int copies, bool collate, int paperWidth,
             int paperHeight, const std::function<void(const char16_t*)>& message);

 private:
  std::vector<PaperPage> pages_;
};
