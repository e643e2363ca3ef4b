// The Configurations panel's file buttons: the dialogs they show, what they remember, and what a
// save or load does to the unit and the pages.

#include <QFileDialog>
#include <QPushButton>
#include <QVBoxLayout>

#include <gtest/gtest.h>

#include <fstream>

#include "FakeShellUnit.h"
#include "app/ModulinkDlg.h"
#include "app/VkcConfigFileDialogs.h"
#include "app/VkcMainDocument.h"
#include "app/VkcTabPPDialog.h"
#include "app/VkcTopPPConfigDlg.h"
#include "devices/VkcDeviceManager.h"
#include "support/TestSupport.h"
#include "unit/VkcSystem.h"

namespace {

// The application side with a real unit and device manager behind it.
struct FileShellUnit : FakeShellUnit {
  VkcSystem system;
  VkcDeviceManager devices;
  std::u16string profile;
  VkcSystem* System() override { return &system; }
  VkcDeviceManager* Devices() override { return &devices; }
  std::u16string ProfileFileName() const override { return profile; }
  void SetProfileFileName(const std::u16string& path) override { profile = path; }
  int CurrentProductId() const override { return system.GetProductId(); }
};

class CountingPage : public VkcTabPPDialog {
 public:
  CountingPage() : VkcTabPPDialog(0) { new QVBoxLayout(this); }
  void RefreshPage() override { ++refreshed; }
  bool ApplyPage() override {
    ++applied;
    return false;  // a refusing page does not stop the save
  }
  int refreshed = 0;
  int applied = 0;
};

struct PanelFixture : ::testing::Test {
  VkcMainDocument tabs;
  FileShellUnit unit;
  std::unique_ptr<ModulinkDlg> dlg;
  CountingPage* page = new CountingPage;
  testsupport::TempDir dir;
  std::vector<QStringList> filtersShown;
  QString answer;

  PanelFixture() {
    unit.devices.RegisterPrototypes();
    tabs.Init();
    dlg = std::make_unique<ModulinkDlg>(tabs, unit);
    EXPECT_TRUE(dlg->AddPage(u"Configurations", u"Modem", page));
    dlg->OnInitDialog();
    VkcConfigFileDialogs::SetRunnerForTest([this](QFileDialog& dialog) {
      filtersShown.push_back(dialog.nameFilters());
      return answer;
    });
  }
  ~PanelFixture() override { VkcConfigFileDialogs::SetRunnerForTest({}); }

  void Identify(int model) {
    const uint8_t serial[6] = {0x12, 0x34, 0x56, 0x78, 0x9A, 0xBC};
    unit.system.SetCurrentDevice(unit.devices.GetDevice(model));
    unit.system.Factory().GetChild(0).GetChildAt(0).SetBytes(serial, 6);
    unit.system.Dealer().GetChild(0).SetInt(static_cast<uint32_t>(model));
    unit.system.User().GetChild(1).GetChildAt(0).SetBytes(serial, 6);
  }
};

TEST(ConfigFileDialogs, FiltersMatchBothCasesAndTheDefaultSuffixIsVkn) {
  auto save = VkcConfigFileDialogs::MakeSaveDialog(nullptr, QStringLiteral("/tmp/unit.VKN"));
  EXPECT_EQ(save->acceptMode(), QFileDialog::AcceptSave);
  EXPECT_EQ(save->defaultSuffix(), QStringLiteral("VKN"));
  EXPECT_FALSE(save->testOption(QFileDialog::DontConfirmOverwrite));
  EXPECT_EQ(save->nameFilters(),
            QStringList({"Velkor Configuration file (*.VKN *.vkn)", "All Files (*)"}));
  auto open = VkcConfigFileDialogs::MakeOpenDialog(nullptr, QString(), true);
  EXPECT_EQ(open->acceptMode(), QFileDialog::AcceptOpen);
  EXPECT_EQ(open->fileMode(), QFileDialog::ExistingFile);
  EXPECT_EQ(open->defaultSuffix(), QStringLiteral("VKN"));
  EXPECT_EQ(open->nameFilters(), QStringList({"Velkor Configuration file (*.VKN *.vkn)",
                                              "Velkor Factory Configuration file (*.VKF *.vkf)", "All Files (*)"}));
  EXPECT_EQ(VkcConfigFileDialogs::MakeOpenDialog(nullptr, QString(), false)->nameFilters().size(), 2);
}

TEST_F(PanelFixture, SaveStoresThePathAppliesThePagesAndWritesTheFile) {
  auto* panel = dlg->ConfigPanel();
  EXPECT_EQ(panel->SaveButton()->text(), QStringLiteral("Save settings to file "));
  EXPECT_EQ(panel->LoadButton()->text(), QStringLiteral("Load settings from file"));
  Identify(4);
  unit.profile = u"/kept";

  answer.clear();  // cancelled
  panel->SaveButton()->click();
  EXPECT_EQ(unit.profile, u"/kept");
  EXPECT_EQ(page->applied, 0);

  answer = QString::fromStdString(dir.File("unit.VKN"));
  panel->SaveButton()->click();
  EXPECT_EQ(unit.profile, answer.toStdU16String());
  EXPECT_EQ(page->applied, 1);
  EXPECT_TRUE(std::ifstream(dir.File("unit.VKN")).good());
  EXPECT_TRUE(unit.messages.empty());

  answer = QString::fromStdString(dir.File("no/such/folder/unit.VKN"));
  panel->SaveButton()->click();
  ASSERT_EQ(unit.messages.size(), 1u);
  EXPECT_EQ(unit.messages[0].text.rfind("Unable to write file \"" + answer.toStdString() + "\": ", 0), 0u);
}

TEST_F(PanelFixture, LoadRefreshesThePagesOrSaysWhyNothingChanged) {
  auto* panel = dlg->ConfigPanel();
  Identify(4);
  answer = QString::fromStdString(dir.File("unit.VKN"));
  panel->SaveButton()->click();
  EXPECT_EQ(filtersShown.back().size(), 2);

  // Without a unit: no factory filter; the file's model becomes the current device.
  unit.system.Reset();
  const int before = page->refreshed;
  panel->LoadButton()->click();
  EXPECT_EQ(filtersShown.back().size(), 2);
  EXPECT_EQ(unit.system.GetProductId(), 4);
  EXPECT_GT(page->refreshed, before);
  EXPECT_TRUE(panel->SendButton()->isEnabled());

  // With a unit the factory filter is offered; a damaged file is refused with its reason.
  std::ofstream(dir.File("bad.VKN")) << "not a configuration";
  answer = QString::fromStdString(dir.File("bad.VKN"));
  const int refreshedBefore = page->refreshed;
  panel->LoadButton()->click();
  EXPECT_EQ(filtersShown.back().size(), 3);
  ASSERT_EQ(unit.Texts(), std::vector<std::string>({"Unable to read file \"" + answer.toStdString() +
                                                    "\": the file is damaged or is not a configuration file."}));
  EXPECT_EQ(page->refreshed, refreshedBefore);
  EXPECT_EQ(unit.profile, answer.toStdU16String());
}

}  // namespace
