#include "reports/VkcPaperItemTable.h"

#include <algorithm>

using platform::qt::Dc;
using platform::qt::Pen;
using platform::qt::Size;

void VkcPaperItemTable::NewRow() {
  rowHeights_.push_back(0);
  currentColumn_ = 0;
}

void VkcPaperItemTable::AddCell(std::unique_ptr<VkcPaperItem> item) {
  if (rowHeights_.empty()) NewRow();
  const int row = RowCount() - 1;
  cells_[{currentColumn_, row}] = std::move(item);
  if (ColumnCount() <= currentColumn_) columnWidths_.resize(currentColumn_ + 1, 0);
  ++currentColumn_;
}

void VkcPaperItemTable::SetColumnWidths(bool absolute, const std::vector<int>& widths) {
  fixedColumnWidths_ = true;
  columnWidths_.clear();
  const int total = GetSizeValue().cx;
  for (int w : widths) columnWidths_.push_back(absolute ? w : static_cast<int>(static_cast<long long>(total) * w / 100));
}

VkcPaperItem* VkcPaperItemTable::Cell(int column, int row) const {
  const auto it = cells_.find({column, row});
  return it == cells_.end() ? nullptr : it->second.get();
}

int VkcPaperItemTable::Sum(const std::vector<int>& v, int count) const {
  int s = 0;
  for (int i = 0; i < count && i < static_cast<int>(v.size()); ++i) s += v[i];
  return s;
}

void VkcPaperItemTable::UpdateSizeFromRows() {
  SetSizeValue({Sum(columnWidths_, ColumnCount()), Sum(rowHeights_, RowCount())});
}

Size VkcPaperItemTable::GetSize(Dc& dc) {
  if (!fixedRowHeights_) std::fill(rowHeights_.begin(), rowHeights_.end(), 0);
  if (!fixedColumnWidths_) std::fill(columnWidths_.begin(), columnWidths_.end(), 0);
  if (!(fixedRowHeights_ && fixedColumnWidths_)) {
    for (auto& [key, item] : cells_) {
      const auto [col, row] = key;
      const Size s = item->Measure(dc);
      if (!fixedRowHeights_ && row < RowCount()) rowHeights_[row] = std::max(rowHeights_[row], s.cy);
      if (!fixedColumnWidths_ && col < ColumnCount()) columnWidths_[col] = std::max(columnWidths_[col], s.cx);
    }
  }
  for (auto& [key, item] : cells_) {
    const auto [col, row] = key;
    const int w = col < ColumnCount() ? columnWidths_[col] : 0;
    const int h = row < RowCount() ? rowHeights_[row] : 0;
    item->SetSizeValue({w, h});
  }
  return {Sum(columnWidths_, ColumnCount()), Sum(rowHeights_, RowCount())};
}

void VkcPaperItemTable::OnPlaced() {
  const platform::qt::Point at = GetPosition();
  for (auto& [key, item] : cells_) {
    const auto [col, row] = key;
    item->SetPosition(at.x + Sum(columnWidths_, col), at.y + Sum(rowHeights_, row));
  }
}

void VkcPaperItemTable::Draw(Dc& dc) {
  const Pen thin = Pen::Solid(2, 0);
  const Pen thick = Pen::Solid(6, 0);
  const Pen oldPen = dc.SelectPen(thin);
  const platform::qt::Brush oldBrush = dc.SelectBrush(platform::qt::Brush::Hollow());
  for (auto& [key, item] : cells_) item->DrawItem(dc);
  const platform::qt::Rect r = GetRect();
  if (RowCount() > 0 && ColumnCount() > 0) {
    int y = r.top;
    for (int row = 0; row + 1 < RowCount(); ++row) {
      y += rowHeights_[row];
      dc.MoveTo(r.left, y);
      dc.LineTo(r.right, y);
    }
    int x = r.left;
    for (int col = 0; col + 1 < ColumnCount(); ++col) {
      x += columnWidths_[col];
      dc.MoveTo(x, r.top);
      dc.LineTo(x, r.bottom);
    }
  }
  if (framed_) {
    dc.SelectPen(thick);
    dc.Rectangle(r);
  }
  dc.SelectBrush(oldBrush);
  dc.SelectPen(oldPen);
}

std::unique_ptr<VkcPaperItem> VkcPaperItemTable::Clone() const {
  auto copy = std::make_unique<VkcPaperItemTable>(true);
  copy->rowHeights_ = rowHeights_;
  copy->columnWidths_ = columnWidths_;
  for (const auto& [key, item] : cells_) copy->cells_[key] = item->CloneWithGeometry();
  return copy;
}

std::unique_ptr<VkcPaperItem> VkcPaperItemTable::Split(int yLimit) {
  // The split row: the first whose bottom reaches the limit.
  int splitRow = -1;
  int bottom = GetPosition().y;
  for (int row = 0; row < RowCount(); ++row) {
    bottom += rowHeights_[row];
    if (bottom >= yLimit) {
      splitRow = row;
      break;
    }
  }
  if (splitRow < 0) return nullptr;

  // The row splits inside only when every cell it has would give a piece: a dry run on clones,
  // so a cell that cannot split never leaves a hole in either part.
  bool inside = true;
  for (int col = 0; col < ColumnCount() && inside; ++col) {
    VkcPaperItem* cell = Cell(col, splitRow);
    if (cell == nullptr) continue;
    if (!cell->CanSplit()) {
      inside = false;
      break;
    }
    std::unique_ptr<VkcPaperItem> probe = cell->CloneWithGeometry();
    if (!probe->Split(yLimit)) inside = false;
  }
  if (!inside && splitRow == 0) return nullptr;

  auto rest = std::make_unique<VkcPaperItemTable>(framed_, GetBackground());
  rest->columnWidths_ = columnWidths_;
  rest->fixedColumnWidths_ = fixedColumnWidths_;
  rest->fixedRowHeights_ = fixedRowHeights_;

  if (!inside) {
    rest->rowHeights_.assign(rowHeights_.begin() + splitRow, rowHeights_.end());
    for (auto it = cells_.begin(); it != cells_.end();) {
      const auto [col, row] = it->first;
      if (row >= splitRow) {
        rest->cells_[{col, row - splitRow}] = std::move(it->second);
        it = cells_.erase(it);
      } else {
        ++it;
      }
    }
    rowHeights_.resize(splitRow);
  } else {
    int keptHeight = 0;
    int pieceHeight = 0;
    std::map<CellKey, std::unique_ptr<VkcPaperItem>> pieces;
    for (int col = 0; col < ColumnCount(); ++col) {
      VkcPaperItem* cell = Cell(col, splitRow);
      if (cell == nullptr) continue;
      std::unique_ptr<VkcPaperItem> piece = cell->Split(yLimit);
      keptHeight = std::max(keptHeight, cell->GetSizeValue().cy);
      if (piece) {
        pieceHeight = std::max(pieceHeight, piece->GetSizeValue().cy);
        pieces[{col, 0}] = std::move(piece);
      }
    }
    rest->rowHeights_.push_back(pieceHeight);
    rest->rowHeights_.insert(rest->rowHeights_.end(), rowHeights_.begin() + splitRow + 1, rowHeights_.end());
    for (auto it = cells_.begin(); it != cells_.end();) {
      const auto [col, row] = it->first;
      if (row > splitRow) {
        rest->cells_[{col, row - splitRow}] = std::move(it->second);
        it = cells_.erase(it);
      } else {
        ++it;
      }
    }
    for (auto& [key, piece] : pieces) rest->cells_[key] = std::move(piece);
    rowHeights_.resize(splitRow + 1);
    rowHeights_[splitRow] = keptHeight;
  }
  const int width = GetSizeValue().cx;
  UpdateSizeFromRows();
  SetSizeValue({width, GetSizeValue().cy});
  rest->SetSizeValue({width, Sum(rest->rowHeights_, rest->RowCount())});
  return rest;
}
