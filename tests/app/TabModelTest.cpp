#include <gtest/gtest.h>

#include "app/VkcMainDocument.h"

namespace {

std::vector<std::u16string> Titles(const VkcTabPropertySheet& group) {
  std::vector<std::u16string> out;
  for (auto* p = group.GetNextPage(nullptr); p; p = group.GetNextPage(p)) out.push_back(p->GetName());
  return out;
}

TEST(TabModel, InitBuildsTheGroupsInOrder) {
  VkcMainDocument doc;
  doc.Init();
  std::vector<std::u16string> groups;
  for (auto* g = doc.GetNextGroup(nullptr); g; g = doc.GetNextGroup(g)) groups.push_back(g->GetName());
  EXPECT_EQ(groups, (std::vector<std::u16string>{u"Configurations", u"Preferences", u"Utilities", u"Networking"}));
  EXPECT_EQ(doc.GetCurrentGroup(), doc.FindGroup(u"Preferences"));

  EXPECT_EQ(Titles(*doc.FindGroup(u"Configurations")),
            (std::vector<std::u16string>{u"Identification", u"Wireless Interface", u"Advanced Wireless Interface",
                                         u"Serial Interface", u"Modem", u"Dealer Configuration", u"Bluetooth",
                                         u"GSM/GPRS", u"RTN", u"Remote List"}));
  EXPECT_EQ(Titles(*doc.FindGroup(u"Preferences")), (std::vector<std::u16string>{u"Connection"}));
  EXPECT_EQ(Titles(*doc.FindGroup(u"Utilities")),
            (std::vector<std::u16string>{u"Download Firmware", u"BERT Transmit", u"BERT Receive", u"L-band Status",
                                         u"Spectrum utility", u"Beacon almanac", u"RTN utility"}));
  EXPECT_EQ(Titles(*doc.FindGroup(u"Networking")), (std::vector<std::u16string>{u"Identification"}));

  EXPECT_EQ(doc.FindGroup(u"Configurations")->GetCurrentPage()->GetName(), u"Identification");
  EXPECT_EQ(doc.FindGroup(u"Preferences")->GetCurrentPage()->GetName(), u"Connection");
  EXPECT_EQ(doc.FindGroup(u"Utilities")->GetCurrentPage()->GetName(), u"Download Firmware");
  EXPECT_EQ(doc.FindGroup(u"Networking")->GetCurrentPage()->GetName(), u"Identification");
  EXPECT_NE(doc.FindGroup(u"Configurations")->FindPage(u"Identification"),
            doc.FindGroup(u"Networking")->FindPage(u"Identification"));
}

TEST(TabModel, LookupIsExactAndUnknownNamesChangeNothing) {
  VkcMainDocument doc;
  doc.Init();
  EXPECT_EQ(doc.FindGroup(u"preferences"), nullptr);
  EXPECT_EQ(doc.FindGroup(u"Configurations")->FindPage(u"identification"), nullptr);
  EXPECT_EQ(doc.FindGroup(u"Networking")->FindPage(u"Modem"), nullptr);
  auto* before = doc.GetCurrentGroup();
  EXPECT_FALSE(doc.SelectGroup(u"X"));
  EXPECT_EQ(doc.GetCurrentGroup(), before);
  auto* config = doc.FindGroup(u"Configurations");
  EXPECT_FALSE(config->SelectPage(u"Connection"));
  EXPECT_EQ(config->GetCurrentPage()->GetName(), u"Identification");
  EXPECT_TRUE(config->SelectPage(u"Modem"));
  EXPECT_EQ(config->GetCurrentPage()->GetName(), u"Modem");
  EXPECT_TRUE(doc.SelectGroup(u"Utilities"));
  EXPECT_EQ(doc.GetCurrentGroup()->GetName(), u"Utilities");
}

TEST(TabModel, NextAndInsertRules) {
  VkcMainDocument doc;
  doc.Init();
  EXPECT_EQ(doc.GetNextGroup(doc.FindGroup(u"Networking")), nullptr);
  VkcTabPropertySheet foreign(u"Networking");
  EXPECT_EQ(doc.GetNextGroup(&foreign), nullptr);
  auto* prefs = doc.FindGroup(u"Preferences");
  EXPECT_EQ(prefs->GetNextPage(prefs->GetCurrentPage()), nullptr);
  VkcTabPropertyPage stranger(u"Connection");
  EXPECT_EQ(prefs->GetNextPage(&stranger), nullptr);

  EXPECT_TRUE(prefs->InsertPage(std::make_unique<VkcTabPropertyPage>(u"First"), u"Connection"));
  EXPECT_FALSE(prefs->InsertPage(std::make_unique<VkcTabPropertyPage>(u"Lost"), u"Missing"));
  EXPECT_TRUE(prefs->InsertPage(std::make_unique<VkcTabPropertyPage>(u"Last")));
  EXPECT_EQ(Titles(*prefs), (std::vector<std::u16string>{u"First", u"Connection", u"Last"}));

  EXPECT_FALSE(doc.AddPage(u"Nowhere", std::make_unique<VkcTabPropertyPage>(u"P"), true));
  EXPECT_TRUE(doc.AddPage(u"Preferences", std::make_unique<VkcTabPropertyPage>(u"P"), true));
  EXPECT_EQ(prefs->GetCurrentPage()->GetName(), u"P");

  VkcMainDocument empty;
  EXPECT_EQ(empty.GetNextGroup(nullptr), nullptr);
  EXPECT_EQ(empty.GetCurrentGroup(), nullptr);
}

}  // namespace
