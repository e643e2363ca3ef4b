#pragma once
// The program's main window: a modal dialog with the group strip on the left, the current
// group's panel above the page strip, the current page below it, and "Close". It owns the
// one-operation lock through ModulinkShell and runs identification and the send to the radio.

#include <QDialog>
#include <QString>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "app/ModulinkShell.h"
#include "app/PageHost.h"

class ConnectionControl;
class QBoxLayout;
class QMenu;
class QPushButton;
class QStackedWidget;
class ShellUnit;
class VkcHorizontalTabControl;
class VkcMainDocument;
class VkcModulinkDlg;
class VkcTabPropertyPage;
class VkcTopPPConfigDlg;
class VkcTopPPUtilsDlg;
class VkcVerticalTabControl;

class ModulinkDlg : public QDialog, public ShellView, public PageHost {
  Q_OBJECT
 public:
  // System-menu command ids.
  static constexpr int kCmdAbout = 16;
  static constexpr int kCmdErrorMessages = 17;
  static constexpr int kCmdPrintPreview = 18;
  static constexpr int kCmdTerminal = 19;

  ModulinkDlg(VkcMainDocument& tabs, ShellUnit& unit, QWidget* parent = nullptr);
  ~ModulinkDlg() override;

  // The lock: pages and panels pass themselves.
  bool LockProcess(const void* owner) override { return shell_.LockProcess(owner); }
  bool UnlockProcess(const void* owner) override { return shell_.UnlockProcess(owner); }
  bool IsProcessRunning() const override { return shell_.IsProcessRunning(); }

  bool IdentifyUnit(const void* requester) override { return shell_.IdentifyUnit(requester); }
  void SendToRadio(const void* requester) { shell_.SendToRadio(requester); }
  void UpdateTitle() override;

  // PageHost: the application object (there is one while the program runs).
  ModulinkApp& App() override;
  ProgressRun RunProgress(const std::vector<PageTask>& tasks, const ProgressOptions& options) override;
  VkiPostProcess* UnitTarget() override;
  // Print preview of the configuration report; what it opens is set by the report's owner.
  void PrintPreview() override;
  void SetPrintPreview(std::function<void()> preview) { printPreview_ = std::move(preview); }

  // ShellView.
  ShellRun RunTasks(const std::u16string& caption, const std::vector<ShellTask>& tasks) override;
  void RefreshAllPages() override;
  bool ApplyAllPages() override;
  bool IsPassThroughOff() const override;
  void PrepareExit() override;

  // Registration: sets the host dialog and creates the page or panel hidden in its frame.
  void AddGroupPanel(std::u16string_view group, VkcModulinkDlg* panel);
  bool AddPage(std::u16string_view group, std::u16string_view title, VkcModulinkDlg* page);
  void RegisterPage(const VkcTabPropertyPage* entry, VkcModulinkDlg* page);
  void SetConnectionControl(ConnectionControl* connection) { connection_ = connection; }
  ConnectionControl* GetConnectionControl() const { return connection_; }

  // Shows a modeless window (terminal, error messages) as a window of its own above this modal
  // dialog: parented to it, or it would get no input while the dialog runs. Deleted on close.
  void OpenModeless(QWidget* window);

  // A system-menu item and what it runs; items are shown once their windows exist.
  void AddSystemCommand(int id, const QString& text, std::function<void()> handler);
  void OnSysCommand(int id);

  // Refreshes everything and shows the tabs and the current page (once, before the first run).
  void OnInitDialog();
  // Runs the window at its default size for the screen it opens on.
  int exec() override;

  // The client size the window opens at when its client area may take room: wide enough for
  // every group's page tabs with whole titles and as tall as the layout likes, within room,
  // but never below the minimum the layout needs.
  QSize DefaultSize(const QSize& room);
  // Gives the window, not yet shown, its default size for a screen's available area: the
  // frame, still unknown, is allowed for, so it fits there too.
  void FitToScreen(const QRect& available);

  void UpdateTabs(bool refillGroups);
  void ShowCurrentPage();
  void OnGroupTabChanged(int index);
  void OnPageTabChanged(int index);

  ModulinkShell& Shell() { return shell_; }
  ShellUnit& Unit() { return unit_; }
  VkcMainDocument& Tabs() { return tabs_; }
  VkcModulinkDlg* CurrentPage() const { return currentPage_; }
  VkcModulinkDlg* CurrentPanel() const { return currentPanel_; }
  VkcVerticalTabControl* GroupStrip() const { return groupStrip_; }
  VkcHorizontalTabControl* PageStrip() const { return pageStrip_; }
  VkcTopPPConfigDlg* ConfigPanel() const { return configPanel_; }

 public slots:
  void accept() override;
  void reject() override;

 private:
  VkcModulinkDlg* PageOf(const VkcTabPropertyPage* entry) const;
  // The window width at which the page strip holds the widest group's tabs with whole titles;
  // taken from the layout's preferred sizes, never from the window's present size.
  int WholeTitlesWidth();
  bool GroupShown(std::u16string_view group) const;

  VkcMainDocument& tabs_;
  ShellUnit& unit_;
  ModulinkShell shell_;
  // Frames first: the pages and panels below are their Qt children.
  VkcVerticalTabControl* groupStrip_;
  VkcHorizontalTabControl* pageStrip_;
  QStackedWidget* pageFrame_;
  QStackedWidget* panelFrame_;
  QPushButton* closeButton_;
  QBoxLayout* pageColumn_ = nullptr;  // the page strip with what stands above and below it
  QMenu* systemMenu_ = nullptr;
  std::map<const VkcTabPropertyPage*, VkcModulinkDlg*> pages_;
  std::vector<VkcModulinkDlg*> pageOrder_;
  std::map<std::u16string, VkcModulinkDlg*, std::less<>> panels_;
  std::map<int, std::pair<QString, std::function<void()>>> systemCommands_;
  std::function<void()> printPreview_;
  VkcModulinkDlg* currentPage_ = nullptr;
  VkcModulinkDlg* currentPanel_ = nullptr;
  ConnectionControl* connection_ = nullptr;
  VkcTopPPConfigDlg* configPanel_;
  VkcTopPPUtilsDlg* utilsPanel_;
  bool initialised_ = false;
};
