#include "reports/VkcConfigurationReportItems.h"

#include <cmath>

#include "reports/VkcPaperItemLogoBMP.h"
#include "reports/VkcPaperItemTable.h"
#include "reports/VkcPaperItemText.h"
#include "unit/VkcConfigurationReport.h"
#include "unit/VkcSystem.h"

namespace {

constexpr platform::qt::ColorRef kHeadingBackground = 0xC0C0C0;
constexpr platform::qt::ColorRef kChannelMapBackground = 0xF0F0F0;

std::unique_ptr<VkcPaperItemText> Label(const std::u16string& text, bool left) {
  auto item = std::make_unique<VkcPaperItemText>(text);
  if (left) item->SetFormat(VkcPaperItemText::kLeft, 0, 400);
  return item;
}

// Label and value rows; a row with nested rows gets a two-column table of its own as value.
std::unique_ptr<VkcPaperItemTable> Rows(const std::vector<VkcReportRow>& rows, int labelWidth, int valueWidth,
                                        bool leftLabels) {
  auto table = std::make_unique<VkcPaperItemTable>(false);
  table->SetColumnWidthsV(true, labelWidth, valueWidth, 0);
  for (const VkcReportRow& row : rows) {
    table->NewRow();
    table->AddCell(Label(row.label, leftLabels));
    if (row.nested.empty()) {
      table->AddCell(Label(row.value, true));
    } else {
      table->AddCell(Rows(row.nested, 500, 500, true));
    }
  }
  return table;
}

}  // namespace

void BuildConfigurationReportItems(VkcPaperDocument& document, VkcSystem& system, int paperWidth) {
  auto logo = std::make_unique<VkcPaperItemLogoBMP>(VkcPaperItemLogoBMP::kReportLogo);
  const platform::qt::Size px = logo->GetSizeValue();
  const platform::qt::Size paper{static_cast<int>(std::lround(px.cx * kPaperUnitsPerPixel)),
                                 static_cast<int>(std::lround(px.cy * kPaperUnitsPerPixel))};
  logo->SetSizeValue(paper);
  logo->Place(paperWidth - 40 - paper.cx, 40);
  document.AddItem(std::move(logo));

  auto title = std::make_unique<VkcPaperItemText>(u"Configuration Report");
  title->SetFormat(VkcPaperItemText::kCenter, 100, 700);
  document.AddItem(std::move(title));

  for (const VkcReportSection& section : BuildConfigurationReportContent(system)) {
    auto table = std::make_unique<VkcPaperItemTable>(true);
    table->NewRow();
    table->AddCell(std::make_unique<VkcPaperItemText>(section.heading, kHeadingBackground));
    table->NewRow();
    table->AddCell(Rows(section.rows, 500, 1000, false));
    if (!section.channelMap.empty()) {
      table->NewRow();
      table->AddCell(std::make_unique<VkcPaperItemText>(u"Channel Map", kChannelMapBackground));
      auto map = std::make_unique<VkcPaperItemTable>(false);
      map->SetColumnWidthsV(true, 500, 1000, 0);
      for (const VkcReportRow& row : section.channelMap) {
        map->NewRow();
        map->AddCell(Label(row.label, false));
        map->AddCell(Label(row.value, true));
      }
      table->NewRow();
      table->AddCell(std::move(map));
    }
    document.AddItem(std::move(table));
  }
}
