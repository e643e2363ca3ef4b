#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QSlider>
#include <QSpinBox>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <algorithm>
#include <functional>

#include <gtest/gtest.h>

#include "FakeShellUnit.h"
#include "app/ModulinkDlg.h"
#include "app/VkcHorizontalTabControl.h"
#include "app/VkcMainDocument.h"
#include "app/VkcMultiEdit.h"
#include "app/VkcPage.h"
#include "app/VkcProgressDialog.h"
#include "support/ControlCharacters.h"
#include "support/FakePageHost.h"

namespace {

enum Id {
  kEdit = 1001, kGrouped, kCombo, kCheck, kRadios, kRadioB, kTree, kList, kProgress, kSlider, kSpin, kLabel,
  kGroup, kLimited, kSecond, kPanel, kPart = 100
};

// A control with a part of its own that happens to carry a control's name, as a chart's scroll bar does.
class Panel : public QWidget {
 public:
  explicit Panel(QWidget* parent) : QWidget(parent), part(new QScrollBar(this)) {
    part->setObjectName(PageBinder::ObjectName(kPart));
    part->hide();
  }
  QScrollBar* part;
};

// A page with one control of every kind; it records what its handlers saw.
struct KitModel : PageModel {
  std::vector<std::string> journal;
  int first = 0, second = 0;
  std::u16string text;

  KitModel() {
    OnAny(kEdit, [this](ControlEvent e) {
      if (e == ControlEvent::FocusLost) journal.push_back("check " + std::to_string(controls_.Text(kEdit).size()));
    });
    On(kSlider, ControlEvent::Scrolled, [this] {
      journal.push_back("scroll " + std::to_string(static_cast<int>(controls_.Get(kSlider).action)) + " " +
                        std::to_string(controls_.Value(kSlider)));
    });
    On(kRadios, ControlEvent::Clicked, [this] { journal.push_back("radio " + std::to_string(controls_.Selection(kRadios))); });
    On(kRadioB, ControlEvent::Clicked, [this] { journal.push_back("radio b " + std::to_string(controls_.Selection(kRadios))); });
    On(kCheck, ControlEvent::Clicked, [this] { EndRun(); });
  }
  // A run ends, by the user's click or by the worker's message: the page goes idle, then says so.
  void EndRun() {
    controls_.SetText(kLabel, u"Idle");
    controls_.SetValue(kProgress, 0);
    ShowMessage("Run ended");
  }
  void Exchange(VkcDataExchange& dx) override {
    dx.Int(kLimited, 1, 60, first);
    dx.Int(kSecond, 0, 9, second);
    dx.Text(kEdit, 14, text);
  }
  bool Store() override {
    journal.push_back("store");
    return true;
  }
};

class KitPage : public VkcPage<KitModel> {
 public:
  KitPage() : VkcPage(0) {
    auto* layout = new QVBoxLayout(this);
    edit = Named(new QLineEdit(this), kEdit);
    grouped = Named(new VkcMultiEdit(this), kGrouped);
    combo = Named(new QComboBox(this), kCombo);
    check = Named(new QCheckBox(QStringLiteral("c"), this), kCheck);
    group = Named(new QGroupBox(this), kGroup);
    auto* inner = new QVBoxLayout(group);
    a = new QRadioButton(QStringLiteral("a"), group);
    b = Named(new QRadioButton(QStringLiteral("b"), group), kRadioB);
    c = new QRadioButton(QStringLiteral("c"), this);  // elsewhere: still one group
    inner->addWidget(a);
    inner->addWidget(b);
    PageBinder::TagRadioGroup(kRadios, {a, b, c});
    tree = Named(new QTreeWidget(this), kTree);
    list = Named(new QListWidget(this), kList);
    progress = Named(new QProgressBar(this), kProgress);
    slider = Named(new QSlider(Qt::Horizontal, this), kSlider);
    spin = Named(new QSpinBox(this), kSpin);
    label = Named(new QLabel(this), kLabel);
    limited = Named(new QLineEdit(this), kLimited);
    second = Named(new QLineEdit(this), kSecond);
    panel = Named(new Panel(this), kPanel);
    for (QWidget* w : std::initializer_list<QWidget*>{edit, grouped, combo, check, group, c, tree, list, progress,
                                                      slider, spin, label, limited, second, panel})
      layout->addWidget(w);
    Bind();
    GetBinder()->SetIcons(kTree, {QIcon(), style()->standardIcon(QStyle::SP_ArrowUp)});
  }
  QLineEdit* edit;
  VkcMultiEdit* grouped;
  QComboBox* combo;
  QCheckBox* check;
  QGroupBox* group;
  QRadioButton *a, *b, *c;
  QTreeWidget* tree;
  QListWidget* list;
  QProgressBar* progress;
  QSlider* slider;
  QSpinBox* spin;
  QLabel* label;
  QLineEdit* limited;
  QLineEdit* second;
  Panel* panel;
};

std::u16string U(const QString& s) { return s.toStdU16String(); }

TEST(PageKit, EveryControlKindRoundTrips) {
  KitPage page;
  page.show();
  PageControls& m = page.GetModel().Controls();
  struct Case {
    const char* kind;
    std::function<void()> setModel;
    std::function<bool()> widgetShows;
    std::function<void()> userActs;
    std::function<bool()> modelHas;
  };
  const std::vector<Case> cases = {
      {"line edit",
       [&] { m.SetText(kEdit, u"abc"); m[kEdit].textLimit = 5; m.SetReadOnly(kEdit, true); },
       [&] { return page.edit->text() == "abc" && page.edit->maxLength() == 5 && page.edit->isReadOnly(); },
       [&] { page.edit->setText("xyz"); },
       [&] { return m.Text(kEdit) == u"xyz"; }},
      {"grouped edit",
       [&] { m.SetText(kGrouped, u"12345678"); },
       [&] { return page.grouped->GetRawText() == u"12345678"; },
       [&] { page.grouped->SetWindowText(u"87654321"); },
       [&] { return m.Text(kGrouped) == u"87654321"; }},
      {"combo with item data",
       [&] { m[kCombo].SetItems({u"one", u"two"}, {10, 20}); m.Select(kCombo, 1); },
       [&] { return page.combo->count() == 2 && page.combo->currentIndex() == 1 && page.combo->itemData(0).toInt() == 10; },
       [&] { page.combo->setCurrentIndex(0); },
       [&] { return m.Selection(kCombo) == 0 && m.Get(kCombo).SelectedData() == 10; }},
      {"combo without selection",
       [&] { m.Select(kCombo, -1); },
       [&] { return page.combo->currentIndex() == -1; },
       [&] { page.combo->setCurrentIndex(1); },
       [&] { return m.Get(kCombo).SelectedItem() == u"two"; }},
      {"check box",
       [&] { m.SetCheck(kCheck, true); },
       [&] { return page.check->isChecked(); },
       [&] { page.check->setChecked(false); },
       [&] { return !m.Checked(kCheck); }},
      {"radio group across parents",
       [&] { m.Select(kRadios, 2); },
       [&] { return page.c->isChecked() && !page.a->isChecked(); },
       [&] { page.a->setChecked(true); },
       [&] { return m.Selection(kRadios) == 0; }},
      {"radio group with none checked",
       [&] { m.Select(kRadios, -1); },
       [&] { return !page.a->isChecked() && !page.b->isChecked() && !page.c->isChecked(); },
       [&] { page.b->setChecked(true); },
       [&] { return m.Selection(kRadios) == 1; }},
      {"tree with columns, icons and children",
       [&] {
         m[kTree].columns = {u"Ch", u"Frequency"};
         m[kTree].ClearRows();
         m[kTree].AddRow({{u"1", u"450,000"}, 1, 7});
         m[kTree].AddRow({{u"1a", u"x"}, -1, 8, 0});
         m[kTree].AddRow({{u"2", u"451,000"}});
         m.Select(kTree, 1);
       },
       [&] {
         return page.tree->headerItem()->text(1) == "Frequency" && page.tree->topLevelItemCount() == 2 &&
                page.tree->topLevelItem(0)->childCount() == 1 && !page.tree->topLevelItem(0)->icon(0).isNull() &&
                page.tree->currentItem() == page.tree->topLevelItem(0)->child(0) &&
                page.tree->topLevelItem(1)->text(1) == "451,000";
       },
       [&] { page.tree->setCurrentItem(page.tree->topLevelItem(1)); },
       [&] { return m.Selection(kTree) == 2 && m.Get(kTree).SelectedRow()->data == 0; }},
      {"list with check boxes",
       [&] {
         m[kList].ClearRows();
         for (const char16_t* t : {u"a", u"b", u"c"}) m[kList].AddRow({{t}, -1, 0, -1, 0});
         m.Select(kList, 1);
       },
       [&] { return page.list->count() == 3 && page.list->currentRow() == 1 && page.list->item(2)->text() == "c"; },
       [&] { page.list->item(2)->setCheckState(Qt::Checked); page.list->setCurrentRow(2); },
       [&] { return m.Selection(kList) == 2 && (*m.Get(kList).rows)[2].check == 1; }},
      {"progress bar",
       [&] { m.SetRange(kProgress, 0, 40); m.SetValue(kProgress, 30); },
       [&] { return page.progress->maximum() == 40 && page.progress->value() == 30; },
       [] {},
       [&] { return m.Value(kProgress) == 30; }},
      {"slider",
       [&] { m.SetRange(kSlider, -10, 30); m[kSlider].tickInterval = 4; m.SetValue(kSlider, 5); },
       [&] { return page.slider->minimum() == -10 && page.slider->value() == 5 && page.slider->tickInterval() == 4; },
       [&] { page.slider->setValue(7); },
       [&] { return m.Value(kSlider) == 7; }},
      {"spin box",
       [&] { m.SetRange(kSpin, 1, 60); m.SetValue(kSpin, 12); m.SetReadOnly(kSpin, true); },
       [&] { return page.spin->maximum() == 60 && page.spin->value() == 12 && page.spin->isReadOnly(); },
       [&] { page.spin->setValue(13); },
       [&] { return m.Value(kSpin) == 13; }},
      {"label, group box, enabled and shown",
       [&] { m.SetText(kLabel, u"Status"); m.SetText(kGroup, u"Title"); m.Enable(kCheck, false); m.Show(kLabel, false); },
       [&] { return page.group->title() == "Title" && !page.check->isEnabled() && !page.label->isVisible(); },
       [&] { m.Show(kLabel, true); },
       [&] { return m.Text(kLabel) == u"Status"; }},
  };
  for (const Case& c : cases) {
    c.setModel();
    page.UpdateControls();
    EXPECT_TRUE(c.widgetShows()) << c.kind;
    c.userActs();
    page.GetBinder()->Pull();
    EXPECT_TRUE(c.modelHas()) << c.kind;
  }
  page.UpdateControls();
  EXPECT_EQ(U(page.label->text()), u"Status");
  EXPECT_TRUE(page.label->isVisible());
}

TEST(PageKit, UserActionsReachTheHandlersWithTheirValues) {
  KitPage page;
  page.show();
  KitModel& model = page.GetModel();
  model.Controls().SetRange(kSlider, 0, 10);
  model.Controls()[kSlider].pageStep = 3;
  page.UpdateControls();
  page.slider->triggerAction(QAbstractSlider::SliderPageStepAdd);
  page.slider->triggerAction(QAbstractSlider::SliderToMaximum);
  page.b->click();
  page.c->click();
  EXPECT_EQ(model.journal, (std::vector<std::string>{"scroll 4 3", "scroll 7 10", "radio b 1", "radio 2"}));
}

// An edit whose text goes into a command line refuses every control character, inserted or
// pasted, and leaves its text as it was; other text goes in as usual.
TEST(PageKit, ACommandTextEditRefusesControlCharacters) {
  KitPage page;
  page.show();
  KitModel& model = page.GetModel();
  model.Controls().SetCommandText(kEdit);
  model.Controls().SetText(kEdit, u"Unit7");
  page.UpdateControls();
  for (char c : testsupport::ControlCharacters()) {
    const QString bad = QStringLiteral("a") + QChar(static_cast<char16_t>(c)) + QStringLiteral("INJ");
    page.edit->selectAll();
    page.edit->insert(bad);
    QApplication::clipboard()->setText(bad);
    page.edit->selectAll();
    page.edit->paste();
    EXPECT_EQ(page.edit->text(), QStringLiteral("Unit7")) << int(c);
  }
  page.edit->selectAll();
  QTest::keyClicks(page.edit, QStringLiteral("Base 9"));
  EXPECT_EQ(model.Controls().Text(kEdit), u"Base 9");
  page.limited->insert(QStringLiteral("a\tb"));  // an edit without the declaration takes what it gets
  EXPECT_EQ(page.limited->text(), QStringLiteral("a\tb"));
}

TEST(PageKit, DestroyingAPageWithAFocusedEditIsClean) {
  auto* page = new KitPage;
  page->show();
  QApplication::setActiveWindow(page);
  page->edit->setFocus();
  QTest::keyClicks(page->edit, "pending");
  QApplication::processEvents();
  delete page;  // the focus leaves the edit while the page goes: nothing may reach the model
  QApplication::processEvents();
}

TEST(PageKit, ApplyStopsAtTheFirstFailingFieldAndAssignsAll) {
  testsupport::FakePageHost host;
  KitPage page;
  page.SetPageHost(&host);
  page.show();
  QApplication::setActiveWindow(&page);
  struct Case {
    const char* first;
    const char* second;
    bool ok;
    std::string message;
    QWidget* focus;
  };
  const std::vector<Case> cases = {
      {"61", "x", false, "Enter an integer between 1 and 60.", page.limited},
      {"60", "10", false, "Enter an integer between 0 and 9.", page.second},
      {"1", "9", true, "", nullptr},
  };
  for (const Case& c : cases) {
    host.messages.clear();
    page.GetModel().journal.clear();
    page.setFocus();
    page.limited->setText(c.first);
    page.second->setText(c.second);
    page.edit->setText("later field");
    EXPECT_EQ(page.ApplyPage(), c.ok) << c.first;
    EXPECT_EQ(host.LastMessage(), c.message) << c.first;
    EXPECT_EQ(host.messages.size(), c.ok ? 0u : 1u);
    if (c.focus) {
      EXPECT_EQ(QApplication::focusWidget(), c.focus) << c.first;
    }
    EXPECT_EQ(page.GetModel().text, u"later field");  // assigned though an earlier field failed
    const auto& journal = page.GetModel().journal;
    EXPECT_EQ(std::count(journal.begin(), journal.end(), "store"), c.ok ? 1 : 0);
  }
}

// The page's own controls are bound, a group box's among them; a control's parts are not, and
// stay as their control keeps them.
TEST(PageKit, OnlyThePagesOwnControlsAreBound) {
  KitPage page;
  page.show();
  page.GetBinder()->Pull();
  page.UpdateControls();
  const struct {
    int id;
    QWidget* widget;
  } cases[] = {{kPanel, page.panel}, {kRadioB, page.b}, {kPart, nullptr}};
  for (const auto& c : cases) EXPECT_EQ(page.GetBinder()->Widget(c.id), c.widget) << c.id;
  EXPECT_TRUE(page.panel->isVisible());
  EXPECT_TRUE(page.panel->part->isHidden());
}

// A box opened by a handler or on a worker's message stands over the state the page has reached.
TEST(PageKit, AMessageBoxSeesThePagesNewState) {
  testsupport::FakePageHost host;
  KitPage page;
  page.SetPageHost(&host);
  page.show();
  std::vector<std::string> shown;
  host.App().SetMessageBoxFunction([&](const std::u16string&, unsigned) {
    shown.push_back(page.label->text().toStdString() + " " + std::to_string(page.progress->value()));
    return 1;
  });
  const struct {
    const char* how;
    std::function<void()> endRun;
  } cases[] = {
      {"handler", [&] { page.check->click(); }},
      // As a page's view takes its worker's messages: the model's handler, then the widgets.
      {"worker message", [&] { page.GetModel().EndRun(); page.UpdateControls(); }},
  };
  for (const auto& c : cases) {
    page.GetModel().Controls().SetText(kLabel, u"Running");
    page.GetModel().Controls().SetValue(kProgress, 21);
    page.UpdateControls();
    shown.clear();
    c.endRun();
    EXPECT_EQ(shown, std::vector<std::string>{"Idle 0"}) << c.how;
  }
}

struct DialogKit : ::testing::Test {
  testsupport::FakePageHost host;  // the application object the dialog's pages reach
  VkcMainDocument tabs;
  FakeShellUnit unit;
  std::unique_ptr<ModulinkDlg> dlg;
  KitPage* page = nullptr;
  DialogKit() {
    tabs.Init();
    dlg = std::make_unique<ModulinkDlg>(tabs, unit);
    page = new KitPage;
    dlg->AddPage(u"Configurations", u"Serial Interface", page);
    auto* other = new KitPage;
    other->GetModel().Controls().SetText(kLimited, u"1");
    other->GetModel().Controls().SetText(kSecond, u"1");
    other->UpdateControls();
    dlg->AddPage(u"Configurations", u"Modem", other);
    tabs.SelectGroup(u"Configurations");
    dlg->show();
    dlg->OnInitDialog();
    QApplication::setActiveWindow(dlg.get());
  }
};

TEST_F(DialogKit, TabClickAndSendRunThePendingCheckOfAPageWithoutOverride) {
  ASSERT_EQ(dlg->CurrentPage(), page);
  for (const char* how : {"send", "tab"}) {
    page->GetModel().journal.clear();
    page->limited->setText("5");
    page->second->setText("5");
    page->edit->setFocus();
    QApplication::processEvents();
    page->edit->setText("typed");  // the user typed; the edit still has the focus
    if (std::string(how) == "send")
      EXPECT_TRUE(dlg->ApplyAllPages());
    else
      dlg->PageStrip()->setCurrentIndex(1);  // a tab click takes no focus
    ASSERT_FALSE(page->GetModel().journal.empty()) << how;
    // Checked once, before the store, though the focus leaves the edit afterwards.
    EXPECT_EQ(page->GetModel().journal, (std::vector<std::string>{"check 5", "store"})) << how;
    EXPECT_EQ(page->GetModel().text, u"typed") << how;
  }
  EXPECT_EQ(page->GetModel().GetHost(), dlg.get());
}

// A task target that is not the connected unit: waits for its stop event, at most half a second.
struct WaitingTarget : VkiPostProcess {
  uint32_t Process(uint32_t, intptr_t, platform::WindowHandle, platform::Event& stop) override {
    return stop.Wait(500) == 0 ? 9 : 0;
  }
};

TEST_F(DialogKit, TasksOnAnyTargetHonourStopAndEscAsAsked) {
  WaitingTarget target;
  struct Case {
    bool stopEnabled;
    bool escCancels;
    bool pressEsc;  // else click Stop
    int modal;
    bool stopped;
  };
  const std::vector<Case> cases = {
      {true, true, false, 2, true},
      {false, true, true, 2, true},
      {false, false, true, 1, false},
      {false, true, false, 1, false},  // a disabled Stop does nothing
  };
  for (const Case& c : cases) {
    QString caption;
    QTimer::singleShot(50, [&] {
      auto* dialog = qobject_cast<VkcProgressDialog*>(QApplication::activeModalWidget());
      ASSERT_NE(dialog, nullptr);
      caption = dialog->windowTitle();
      if (c.pressEsc)
        QTest::keyClick(dialog, Qt::Key_Escape);
      else
        QTest::mouseClick(dialog->findChild<QPushButton*>(QStringLiteral("ctl1")), Qt::LeftButton);
    });
    const ProgressRun run = dlg->RunProgress({{&target, 3, 0}}, {u"Searching", c.stopEnabled, c.escCancels});
    EXPECT_EQ(run.modal, c.modal);
    EXPECT_EQ(run.stopped, c.stopped);
    EXPECT_EQ(run.result, 0u);
    EXPECT_EQ(caption, QStringLiteral("Searching"));
  }
}

}  // namespace
