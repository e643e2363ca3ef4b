#include "app/ModulinkDlg.h"

#include <QHBoxLayout>
#include <QIcon>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>
#include <QSignalBlocker>
#include <QStackedWidget>
#include <QStringList>
#include <QVBoxLayout>
#include <algorithm>

#include "app/ConnectionControl.h"
#include "app/ModulinkApp.h"
#include "app/ShellUnit.h"
#include "app/VkcHorizontalTabControl.h"
#include "app/VkcMainDocument.h"
#include "app/VkcModulinkDlg.h"
#include "app/VkcProgressDialog.h"
#include "app/VkcTopPPConfigDlg.h"
#include "app/VkcTopPPUtilsDlg.h"
#include "app/VkcVerticalTabControl.h"
#include "app/PageTitles.h"

namespace {
QString ToQ(std::u16string_view s) { return QString::fromUtf16(s.data(), static_cast<qsizetype>(s.size())); }
std::u16string ToU16(const QString& s) {
  return std::u16string(reinterpret_cast<const char16_t*>(s.utf16()), static_cast<size_t>(s.size()));
}
}  // namespace

ModulinkDlg::ModulinkDlg(VkcMainDocument& tabs, ShellUnit& unit, QWidget* parent)
    : QDialog(parent), tabs_(tabs), unit_(unit), shell_(unit, *this) {
  setWindowTitle(QStringLiteral("Modulink"));
  setWindowIcon(QIcon::fromTheme(QStringLiteral("network-wireless")));
  setWindowFlag(Qt::WindowMinimizeButtonHint, true);

  groupStrip_ = new VkcVerticalTabControl(this);
  groupStrip_->setObjectName(QStringLiteral("ctl1010"));
  pageStrip_ = new VkcHorizontalTabControl(this);
  pageStrip_->setObjectName(QStringLiteral("ctl1011"));
  pageFrame_ = new QStackedWidget(this);
  pageFrame_->setObjectName(QStringLiteral("ctl1012"));
  pageFrame_->addWidget(new QWidget(pageFrame_));  // shown when the group has no page
  panelFrame_ = new QStackedWidget(this);
  panelFrame_->setObjectName(QStringLiteral("ctl1013"));
  panelFrame_->addWidget(new QWidget(panelFrame_));
  panelFrame_->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Maximum);
  closeButton_ = new QPushButton(QStringLiteral("Close"), this);
  closeButton_->setObjectName(QStringLiteral("ctl1"));
  closeButton_->setAutoDefault(false);
  closeButton_->setDefault(false);

  auto* right = new QVBoxLayout;
  pageColumn_ = right;
  right->addWidget(panelFrame_);
  right->addWidget(pageStrip_);
  right->addWidget(pageFrame_, 1);
  auto* bottom = new QHBoxLayout;
  bottom->addStretch(1);
  bottom->addWidget(closeButton_);
  right->addLayout(bottom);
  auto* main = new QHBoxLayout(this);
  main->addWidget(groupStrip_, 0, Qt::AlignTop);
  main->addLayout(right, 1);

  connect(closeButton_, &QPushButton::clicked, this, &ModulinkDlg::accept);
  connect(groupStrip_, &QTabBar::currentChanged, this, &ModulinkDlg::OnGroupTabChanged);
  connect(pageStrip_, &QTabBar::currentChanged, this, &ModulinkDlg::OnPageTabChanged);

  configPanel_ = new VkcTopPPConfigDlg(panelFrame_);
  utilsPanel_ = new VkcTopPPUtilsDlg(panelFrame_);
  AddGroupPanel(titles::kConfigurations, configPanel_);
  AddGroupPanel(titles::kPreferences, utilsPanel_);
  AddGroupPanel(titles::kUtilities, utilsPanel_);
  AddGroupPanel(titles::kNetworking, utilsPanel_);
  // Identification and sending need the connected unit's operations.
  const bool unitOperations = unit_.TaskTarget() != nullptr;
  configPanel_->IdentifyButton()->setHidden(!unitOperations);
  configPanel_->SendButton()->setHidden(!unitOperations);
  utilsPanel_->IdentifyButton()->setHidden(!unitOperations);
  resize(760, 560);
}

ModulinkDlg::~ModulinkDlg() = default;

void ModulinkDlg::UpdateTitle() { setWindowTitle(ToQ(shell_.Title())); }

ShellRun ModulinkDlg::RunTasks(const std::u16string& caption, const std::vector<ShellTask>& tasks) {
  const ProgressRun run = RunUnitTasks(caption, tasks);
  return {run.modal, run.result};
}

ProgressRun ModulinkDlg::RunProgress(const std::vector<PageTask>& tasks, const ProgressOptions& options) {
  VkcProgressDialog progress(this, options.stopEnabled);
  progress.SetCancelOnEscape(options.escCancels);
  if (!options.caption.empty()) progress.SetCaption(ToQ(options.caption));
  for (const PageTask& task : tasks) progress.AddTask(task.target, task.operation, task.parameter, task.always);
  const int modal = progress.exec();
  return {modal, progress.GetResult(), progress.WasStopped()};
}

VkiPostProcess* ModulinkDlg::UnitTarget() { return unit_.TaskTarget(); }

ModulinkApp& ModulinkDlg::App() { return *ModulinkApp::Instance(); }

void ModulinkDlg::PrintPreview() {
  if (printPreview_) printPreview_();
}

void ModulinkDlg::RefreshAllPages() {
  for (const auto& entry : panels_) entry.second->RefreshPage();
  for (VkcModulinkDlg* page : pageOrder_) page->RefreshPage();
  UpdateTitle();
}

bool ModulinkDlg::ApplyAllPages() {
  if (currentPage_ != nullptr) currentPage_->CommitPendingEdit();
  for (auto* group = tabs_.GetNextGroup(nullptr); group; group = tabs_.GetNextGroup(group))
    for (auto* entry = group->GetNextPage(nullptr); entry; entry = group->GetNextPage(entry))
      if (VkcModulinkDlg* page = PageOf(entry); page != nullptr && !page->ApplyPage()) return false;
  return true;
}

bool ModulinkDlg::IsPassThroughOff() const { return connection_ == nullptr || connection_->IsPassThroughOff(); }

void ModulinkDlg::PrepareExit() {
  if (connection_ != nullptr && !connection_->IsPassThroughOff() && unit_.IsPortOpen())
    connection_->EnableDaisyChain();
}

void ModulinkDlg::AddGroupPanel(std::u16string_view group, VkcModulinkDlg* panel) {
  panel->SetHostDialog(this);
  if (panelFrame_->indexOf(panel) < 0) {
    panel->CreateHidden(panelFrame_);
    panelFrame_->addWidget(panel);
  }
  panels_[std::u16string(group)] = panel;
}

bool ModulinkDlg::AddPage(std::u16string_view group, std::u16string_view title, VkcModulinkDlg* page) {
  VkcTabPropertySheet* sheet = tabs_.FindGroup(group);
  const VkcTabPropertyPage* entry = sheet != nullptr ? sheet->FindPage(title) : nullptr;
  if (entry == nullptr) {
    // Kept as a hidden child so it is still destroyed with the dialog.
    page->CreateHidden(pageFrame_);
    return false;
  }
  RegisterPage(entry, page);
  return true;
}

void ModulinkDlg::RegisterPage(const VkcTabPropertyPage* entry, VkcModulinkDlg* page) {
  page->SetHostDialog(this);
  if (pageFrame_->indexOf(page) < 0) {
    page->CreateHidden(pageFrame_);
    pageFrame_->addWidget(page);
  }
  pages_[entry] = page;
  if (std::find(pageOrder_.begin(), pageOrder_.end(), page) == pageOrder_.end()) pageOrder_.push_back(page);
}

void ModulinkDlg::OpenModeless(QWidget* window) {
  window->setParent(this, Qt::Window);
  window->setAttribute(Qt::WA_DeleteOnClose);
  window->show();
  window->raise();
  window->activateWindow();
}

void ModulinkDlg::AddSystemCommand(int id, const QString& text, std::function<void()> handler) {
  if (text.isEmpty()) return;
  if (systemMenu_ == nullptr) {
    auto* bar = new QMenuBar(this);
    systemMenu_ = bar->addMenu(QStringLiteral("&Modulink"));
    layout()->setMenuBar(bar);
  }
  systemCommands_[id] = {text, std::move(handler)};
  // The items stand in the order of their command ids, whoever adds them first.
  systemMenu_->clear();
  for (const auto& [command, entry] : systemCommands_)
    systemMenu_->addAction(entry.first, this, [this, command = command] { OnSysCommand(command); });
}

void ModulinkDlg::OnSysCommand(int id) {
  auto it = systemCommands_.find(id);
  if (it != systemCommands_.end() && it->second.second) return it->second.second();
  if (id == kCmdPrintPreview) PrintPreview();
}

void ModulinkDlg::OnInitDialog() {
  if (initialised_) return;
  initialised_ = true;
  RefreshAllPages();
  UpdateTabs(true);
  ShowCurrentPage();
  resize(DefaultSize(QSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX)));
}

QSize ModulinkDlg::DefaultSize(const QSize& room) {
  // A narrower window shortens the page tabs' titles with an ellipsis.
  const QSize wanted(std::max(sizeHint().width(), WholeTitlesWidth()), sizeHint().height());
  return wanted.boundedTo(room).expandedTo(minimumSizeHint());
}

void ModulinkDlg::FitToScreen(const QRect& available) {
  // Room for a title bar and borders as common desktops draw them; the dialog's placement on
  // showing keeps the frame inside the same area.
  constexpr QMargins kFrameAllowance(10, 40, 10, 10);
  resize(DefaultSize(available.size().shrunkBy(kFrameAllowance)));
}

int ModulinkDlg::WholeTitlesWidth() {
  int widest = 0;
  for (auto* group = tabs_.GetNextGroup(nullptr); group; group = tabs_.GetNextGroup(group)) {
    if (!GroupShown(group->GetName())) continue;
    QStringList titles;
    for (auto* entry = group->GetNextPage(nullptr); entry; entry = group->GetNextPage(entry))
      if (PageOf(entry) != nullptr) titles << ToQ(entry->GetName());
    widest = std::max(widest, pageStrip_->WholeTitlesExtent(titles));
  }
  // What the window holds beside the column the strip spans: margins, the group strip, spacing.
  const int around = layout()->sizeHint().width() - pageColumn_->sizeHint().width();
  return widest + around;
}

int ModulinkDlg::exec() {
  OnInitDialog();
  if (const QScreen* shown = screen()) FitToScreen(shown->availableGeometry());
  return QDialog::exec();
}

VkcModulinkDlg* ModulinkDlg::PageOf(const VkcTabPropertyPage* entry) const {
  auto it = pages_.find(entry);
  return it == pages_.end() ? nullptr : it->second;
}

bool ModulinkDlg::GroupShown(std::u16string_view name) const {
  // A group is shown when one of its pages is built, or its panel acts on the unit by itself.
  const VkcTabPropertySheet* group = tabs_.FindGroup(name);
  if (group == nullptr) return false;
  for (auto* entry = group->GetNextPage(nullptr); entry; entry = group->GetNextPage(entry))
    if (PageOf(entry) != nullptr) return true;
  auto panel = panels_.find(name);
  return panel != panels_.end() && panel->second == configPanel_ && unit_.TaskTarget() != nullptr;
}

void ModulinkDlg::UpdateTabs(bool refillGroups) {
  if (refillGroups) {
    QSignalBlocker block(groupStrip_);
    while (groupStrip_->count() > 0) groupStrip_->removeTab(0);
    int widest = 0;
    for (auto* group = tabs_.GetNextGroup(nullptr); group; group = tabs_.GetNextGroup(group)) {
      if (!GroupShown(group->GetName())) continue;
      const QString name = ToQ(group->GetName());
      groupStrip_->AddNamedTab(name);
      widest = std::max(widest, groupStrip_->TextWidth(name));
    }
    groupStrip_->SetMinimumTabExtent(widest);
    VkcTabPropertySheet* current = tabs_.GetCurrentGroup();
    int index = current != nullptr ? groupStrip_->FindTab(ToQ(current->GetName())) : -1;
    if (index < 0 && groupStrip_->count() > 0) {
      index = 0;
      tabs_.SelectGroup(ToU16(groupStrip_->TabName(0)));
    }
    groupStrip_->setCurrentIndex(index);
  }

  const QString groupName = groupStrip_->currentIndex() >= 0 ? groupStrip_->TabName(groupStrip_->currentIndex())
                                                             : QString();
  auto panel = panels_.find(ToU16(groupName));
  VkcModulinkDlg* newPanel = panel != panels_.end() ? panel->second : nullptr;
  if (newPanel != currentPanel_) {
    if (currentPanel_ != nullptr) currentPanel_->hide();
    currentPanel_ = newPanel;
    if (newPanel != nullptr) {
      panelFrame_->setCurrentWidget(newPanel);
      newPanel->show();
    } else {
      panelFrame_->setCurrentIndex(0);
    }
  }

  QSignalBlocker block(pageStrip_);
  while (pageStrip_->count() > 0) pageStrip_->removeTab(0);
  VkcTabPropertySheet* group = tabs_.FindGroup(ToU16(groupName));
  if (group == nullptr) return;
  for (auto* entry = group->GetNextPage(nullptr); entry; entry = group->GetNextPage(entry))
    if (PageOf(entry) != nullptr) pageStrip_->AddNamedTab(ToQ(entry->GetName()));
  const VkcTabPropertyPage* current = group->GetCurrentPage();
  int index = current != nullptr && PageOf(current) != nullptr ? pageStrip_->FindTab(ToQ(current->GetName())) : -1;
  if (index < 0 && pageStrip_->count() > 0) {
    index = 0;
    group->SelectPage(ToU16(pageStrip_->TabName(0)));
  }
  pageStrip_->setCurrentIndex(index);
}

void ModulinkDlg::ShowCurrentPage() {
  VkcTabPropertySheet* group = tabs_.GetCurrentGroup();
  VkcModulinkDlg* page = group != nullptr ? PageOf(group->GetCurrentPage()) : nullptr;
  if (page == currentPage_) return;
  if (currentPage_ != nullptr) {
    currentPage_->CommitPendingEdit();
    currentPage_->ApplyPage();  // leaving a page keeps its values; a refusal does not stop the switch
    currentPage_->hide();
  }
  currentPage_ = page;
  if (page != nullptr) {
    pageFrame_->setCurrentWidget(page);
    page->show();
    page->RefreshPage();
  } else {
    pageFrame_->setCurrentIndex(0);
  }
}

void ModulinkDlg::OnGroupTabChanged(int index) {
  if (IsProcessRunning()) {
    // A running operation re-identifies and rewrites the unit's data: pages are not applied or
    // refreshed under it, so the strip goes back to the group shown.
    QSignalBlocker block(groupStrip_);
    const VkcTabPropertySheet* current = tabs_.GetCurrentGroup();
    groupStrip_->setCurrentIndex(current != nullptr ? groupStrip_->FindTab(ToQ(current->GetName())) : -1);
    return;
  }
  if (index < 0) return;
  tabs_.SelectGroup(ToU16(groupStrip_->TabName(index)));
  UpdateTabs(false);
  ShowCurrentPage();
}

void ModulinkDlg::OnPageTabChanged(int index) {
  VkcTabPropertySheet* group =
      groupStrip_->currentIndex() >= 0 ? tabs_.FindGroup(ToU16(groupStrip_->TabName(groupStrip_->currentIndex())))
                                       : nullptr;
  if (IsProcessRunning()) {
    QSignalBlocker block(pageStrip_);
    const VkcTabPropertyPage* current = group != nullptr ? group->GetCurrentPage() : nullptr;
    pageStrip_->setCurrentIndex(current != nullptr ? pageStrip_->FindTab(ToQ(current->GetName())) : -1);
    return;
  }
  if (group == nullptr || index < 0) return;
  group->SelectPage(ToU16(pageStrip_->TabName(index)));
  ShowCurrentPage();
}

void ModulinkDlg::accept() {
  if (shell_.ConfirmClose()) QDialog::accept();
}

void ModulinkDlg::reject() {
  if (shell_.ConfirmClose()) QDialog::reject();
}
