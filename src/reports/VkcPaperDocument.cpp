#include "reports/VkcPaperDocument.h"

void VkcPaperDocument::Paginate(platform::qt::Dc& dc, int paperWidth, int paperHeight) {
  const int bottom = paperHeight - kMargin;
  VkcPaperItem* keptSize = nullptr;  // the rest of a split item keeps the size the split gave it
  for (size_t p = 0; p < pages_.size(); ++p) {
    int y = kMargin;
    bool first = true;
    for (size_t i = 0; i < pages_[p].size(); ++i) {
      VkcPaperItem* item = pages_[p][i].get();
      if (item->IsPlaced()) continue;
      if (item != keptSize) item->Measure(dc);
      const platform::qt::Size size = item->GetSizeValue();
      item->SetPosition((paperWidth - size.cx) / 2, y);
      y += size.cy;
      if (y >= bottom) {
        std::unique_ptr<VkcPaperItem> rest = item->CanSplit() ? item->Split(bottom) : nullptr;
        size_t moveFrom = i;
        if (rest) {
          keptSize = rest.get();
          pages_[p].insert(pages_[p].begin() + static_cast<long>(i) + 1, std::move(rest));
          moveFrom = i + 1;
        } else if (first) {
          moveFrom = i + 1;  // an item taller than a page stays, overflowing its bottom
        }
        if (moveFrom < pages_[p].size()) {
          PaperPage next;
          for (size_t k = moveFrom; k < pages_[p].size(); ++k) next.push_back(std::move(pages_[p][k]));
          pages_[p].resize(moveFrom);
          pages_.insert(pages_.begin() + static_cast<long>(p) + 1, std::move(next));
        }
        break;
      }
      y = ((y + kMargin + kMargin / 2) / kMargin) * kMargin;
      first = false;
    }
  }
}

bool VkcPaperDocument::Print(VkcPrintTarget& target, int fromPage, int toPage, int copies, bool collate,
                             int paperWidth, int paperHeight,
                             const std::function<void(const char16_t*)>& message) {
  if (fromPage == 0 && toPage == 0) {  // "all pages"
    fromPage = 1;
    toPage = PageCount();
  }
  if (fromPage < 1 || fromPage > toPage || toPage > PageCount()) return true;
  if (copies < 1) copies = 1;
  if (!target.StartDoc(u"Modulink Printing")) {
    message(u"Printer wouldn't initalize");
    return false;
  }
  std::vector<int> sheets;
  if (collate) {
    for (int c = 0; c < copies; ++c)
      for (int p = fromPage - 1; p < toPage; ++p) sheets.push_back(p);
  } else {
    for (int p = fromPage - 1; p < toPage; ++p)
      for (int c = 0; c < copies; ++c) sheets.push_back(p);
  }
  for (int page : sheets) {
    if (!target.StartPage()) {
      message(u"Could not start page");
      target.AbortDoc();
      return false;
    }
    platform::qt::Dc& dc = target.GetDc();
    dc.SetMapping({paperWidth, paperHeight}, target.GetPrintableSize());
    for (auto& item : pages_[page]) item->DrawItem(dc);
    target.EndPage();
  }
  target.EndDoc();
  return true;
}
