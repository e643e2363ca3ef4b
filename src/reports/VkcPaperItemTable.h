#pragma once
// A table of paper items: cells are items again, so tables nest. Rows take the height of their
// tallest cell and columns the width of their widest, unless fixed. A table can split at a page
// boundary, between rows or, when every cell of the row can split, inside the row.

#include <map>
#include <utility>
#include <vector>

#include "reports/VkcPaperItem.h"

class VkcPaperItemTable : public VkcPaperItem {
 public:
  explicit VkcPaperItemTable(bool framed, platform::qt::ColorRef background = kNoBackground)
      : VkcPaperItem(background), framed_(framed) {}

  void NewRow();
  void AddCell(std::unique_ptr<VkcPaperItem> item);
  // Fixed column widths: the list itself when absolute, else percentages of the stored width.
  void SetColumnWidths(bool absolute, const std::vector<int>& widths);
  // The same with a list ended by 0.
  template <class... W>
  void SetColumnWidthsV(bool absolute, W... widths) {
    std::vector<int> list;
    for (int w : {static_cast<int>(widths)...}) {
      if (w == 0) break;
      list.push_back(w);
    }
    SetColumnWidths(absolute, list);
  }

  int RowCount() const { return static_cast<int>(rowHeights_.size()); }
  int ColumnCount() const { return static_cast<int>(columnWidths_.size()); }
  const std::vector<int>& RowHeights() const { return rowHeights_; }
  const std::vector<int>& ColumnWidths() const { return columnWidths_; }
  bool IsFramed() const { return framed_; }
  // The cell at (column, row), or null where the row has none.
  VkcPaperItem* Cell(int column, int row) const;

  void OnPlaced() override;
  platform::qt::Size GetSize(platform::qt::Dc& dc) override;
  void Draw(platform::qt::Dc& dc) override;
  std::unique_ptr<VkcPaperItem> Clone() const override;
  bool CanSplit() const override { return true; }
  std::unique_ptr<VkcPaperItem> Split(int yLimit) override;

 private:
  using CellKey = std::pair<int, int>;  // column, row
  int Sum(const std::vector<int>& v, int count) const;
  void UpdateSizeFromRows();

  std::vector<int> rowHeights_;
  std::vector<int> columnWidths_;
  int currentColumn_ = 0;
  bool framed_;
  bool fixedRowHeights_ = false;
  bool fixedColumnWidths_ = false;
  std::map<CellKey, std::unique_ptr<VkcPaperItem>> cells_;
};
