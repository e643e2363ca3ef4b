// Pagination of paper items and the order in which sheets are printed.

#include <gtest/gtest.h>

#include "platform/qt/RecordingDc.h"
#include "reports/VkcPaperDocument.h"
#include "reports/VkcPaperItemTable.h"
#include "reports/VkcPaperItemText.h"

using platform::qt::RecordingDc;

namespace {

constexpr int kW = 1000;
constexpr int kH = 800;

std::unique_ptr<VkcPaperItemTable> Column(int n) {
  auto t = std::make_unique<VkcPaperItemTable>(true);
  for (int i = 0; i < n; ++i) {
    t->NewRow();
    t->AddCell(std::make_unique<VkcPaperItemText>(u"row"));
  }
  return t;
}

// A text whose measured height is about h (font height h - 22 under the fake metrics).
std::unique_ptr<VkcPaperItemText> Tall(int h) {
  auto t = std::make_unique<VkcPaperItemText>(u"x");
  t->SetFormat(2, h - 22, 400);
  return t;
}

TEST(Pagination, CentresStacksOnTheGridAndSplitsATableAtTheBottom) {
  RecordingDc dc;
  VkcPaperDocument doc;
  auto logo = std::make_unique<VkcPaperItemText>(u"logo");
  logo->Place(900, 40);
  doc.AddItem(std::move(logo));
  doc.AddItem(Tall(100));
  doc.AddItem(Column(18));  // 18 rows of 57 units: crosses the bottom
  doc.AddItem(Tall(60));
  doc.Paginate(dc, kW, kH);

  ASSERT_EQ(doc.PageCount(), 2);
  const PaperPage& first = doc.GetPage(0);
  EXPECT_EQ(first[0]->GetPosition().x, 900) << "a fixed item stays";
  const auto* title = first[1].get();
  EXPECT_EQ(title->GetPosition().y, 40);
  EXPECT_EQ(title->GetPosition().x, (kW - title->GetSizeValue().cx) / 2);
  // 40 + 100 = 140, then ((140 + 60) / 40) * 40 = 200.
  EXPECT_EQ(first[2]->GetPosition().y, 200);
  EXPECT_LE(first[2]->GetPosition().y + first[2]->GetSizeValue().cy, kH - 40);
  const PaperPage& second = doc.GetPage(1);
  ASSERT_EQ(second.size(), 2u) << "the rest of the table and the item after it";
  EXPECT_EQ(second[0]->GetPosition().y, 40);
  const int rows = static_cast<const VkcPaperItemTable*>(first[2].get())->RowCount() +
                   static_cast<const VkcPaperItemTable*>(second[0].get())->RowCount();
  EXPECT_EQ(rows, 18);
}

TEST(Pagination, AnItemTallerThanAPageStaysAndPaginationEnds) {
  RecordingDc dc;
  VkcPaperDocument doc;
  doc.AddItem(Tall(2000));
  doc.AddItem(Tall(2000));
  doc.AddItem(Tall(50));
  doc.Paginate(dc, kW, kH);
  ASSERT_EQ(doc.PageCount(), 3);
  EXPECT_EQ(doc.GetPage(0).size(), 1u);
  EXPECT_EQ(doc.GetPage(1).size(), 1u);
  EXPECT_EQ(doc.GetPage(2).size(), 1u);
}

class RecordingTarget : public VkcPrintTarget {
 public:
  bool StartDoc(const std::u16string& name) override {
    docName = name;
    return startDoc;
  }
  bool StartPage() override {
    if (failAtSheet == static_cast<int>(sheets.size())) return false;
    sheets.push_back(-1);
    return true;
  }
  void EndPage() override {
    // The sheet's page is told apart by the texts drawn on it.
    const auto texts = dc.Records(platform::qt::DcRecord::Op::DrawText);
    sheets.back() = texts.empty() ? -1 : texts.back().text[0] - u'0';
    dc.Clear();
  }
  void EndDoc() override { ended = true; }
  void AbortDoc() override { aborted = true; }
  platform::qt::Dc& GetDc() override { return dc; }
  platform::qt::Size GetPrintableSize() const override { return {9583, 13699}; }

  RecordingDc dc;
  std::u16string docName;
  bool startDoc = true;
  int failAtSheet = -1;
  std::vector<int> sheets;
  bool ended = false, aborted = false;
};

TEST(Printing, SheetsInCollatedOrPageOrderAndTheFailures) {
  // Three pages, each then holding one text that names its page.
  RecordingDc dc;
  VkcPaperDocument three;
  for (int i = 0; i < 3; ++i) three.AddItem(Tall(700));
  three.Paginate(dc, kW, kH);
  ASSERT_EQ(three.PageCount(), 3);
  for (int p = 0; p < 3; ++p) {
    auto& page = three.GetPage(p);
    page.clear();
    page.push_back(std::make_unique<VkcPaperItemText>(std::u16string(1, static_cast<char16_t>(u'0' + p))));
  }
  std::vector<std::u16string> messages;
  auto message = [&](const char16_t* m) { messages.emplace_back(m); };
  struct Case {
    int from, to, copies;
    bool collate;
    std::vector<int> sheets;
  } cases[] = {
      {1, 3, 2, true, {0, 1, 2, 0, 1, 2}},
      {1, 3, 2, false, {0, 0, 1, 1, 2, 2}},
      {0, 0, 1, true, {0, 1, 2}},  // all pages
      {2, 3, 1, true, {1, 2}},
      {4, 3, 1, true, {}},
      {1, 4, 1, true, {}},
  };
  for (const Case& c : cases) {
    RecordingTarget target;
    EXPECT_TRUE(three.Print(target, c.from, c.to, c.copies, c.collate, kW, kH, message));
    EXPECT_EQ(target.sheets, c.sheets) << c.from << ".." << c.to;
    if (!c.sheets.empty()) {
      EXPECT_EQ(target.docName, u"Modulink Printing");
      EXPECT_TRUE(target.ended);
    }
  }
  EXPECT_TRUE(messages.empty());

  RecordingTarget refuses;
  refuses.startDoc = false;
  EXPECT_FALSE(three.Print(refuses, 1, 3, 1, true, kW, kH, message));
  RecordingTarget breaks;
  breaks.failAtSheet = 1;
  EXPECT_FALSE(three.Print(breaks, 1, 3, 1, true, kW, kH, message));
  EXPECT_TRUE(breaks.aborted);
  EXPECT_FALSE(breaks.ended);
  EXPECT_EQ(messages, (std::vector<std::u16string>{u"Printer wouldn't initalize", u"Could not start page"}));
}

}  // namespace
