// "Print Config." on the Configurations panel: the pages store their controls (a refusal does not
// stop it) and the report's preview opens as a window of the main dialog.

#include <QPushButton>
#include <QVBoxLayout>

#include <gtest/gtest.h>

#include "app/FakeShellUnit.h"
#include "app/ModulinkDlg.h"
#include "app/VkcMainDocument.h"
#include "app/VkcTabPPDialog.h"
#include "app/VkcTopPPConfigDlg.h"
#include "devices/VkcDeviceManager.h"
#include "reports/VkcPrintPaper.h"
#include "reports/VkcPrintPreviewClient.h"
#include "reports/VkcPrintPreviewWnd.h"
#include "reports/VkcReportPrinter.h"
#include "unit/VkcSystem.h"

namespace {

struct ReportShellUnit : FakeShellUnit {
  VkcSystem system;
  VkcDeviceManager devices;
  VkcSystem* System() override { return &system; }
  VkcDeviceManager* Devices() override { return &devices; }
  int CurrentProductId() const override { return system.GetProductId(); }
};

class RefusingPage : public VkcTabPPDialog {
 public:
  RefusingPage() : VkcTabPPDialog(0) { new QVBoxLayout(this); }
  bool ApplyPage() override {
    ++applied;
    return false;
  }
  int applied = 0;
};

TEST(PrintConfig, AppliesThePagesThenOpensThePreviewOfTheUnit) {
  VkcReportPrinter::Instance().Reset();
  VkcMainDocument tabs;
  tabs.Init();
  ReportShellUnit unit;
  unit.devices.RegisterPrototypes();
  auto dlg = std::make_unique<ModulinkDlg>(tabs, unit);
  auto* page = new RefusingPage;
  ASSERT_TRUE(dlg->AddPage(u"Configurations", u"Modem", page));
  dlg->OnInitDialog();
  VkcPrintPreviewWnd* opened = nullptr;
  dlg->SetPrintPreview([&] { opened = VkcPrintPreviewWnd::Open(dlg.get(), &unit.system); });

  VkcTopPPConfigDlg* panel = dlg->ConfigPanel();
  ASSERT_NE(panel->PrintButton(), nullptr);
  EXPECT_EQ(panel->PrintButton()->text(), QStringLiteral("Print Config."));
  panel->RefreshPage();
  EXPECT_FALSE(panel->PrintButton()->isEnabled()) << "no unit: nothing to print";

  unit.system.SetCurrentDevice(unit.devices.GetDevice(4));
  panel->RefreshPage();
  ASSERT_TRUE(panel->PrintButton()->isEnabled());
  panel->PrintButton()->click();
  EXPECT_GE(page->applied, 1);
  ASSERT_NE(opened, nullptr);
  EXPECT_EQ(opened->parentWidget(), dlg.get());
  EXPECT_TRUE(opened->windowFlags() & Qt::Window);
  EXPECT_EQ(opened->windowTitle(), QStringLiteral("Print Preview - Page 1"));
  EXPECT_GE(opened->Client()->Paper()->PageCount(), 1);
  opened->close();  // deletes itself
}

}  // namespace
