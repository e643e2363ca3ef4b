#pragma once
// Base of every page and group panel the main dialog shows in its frames. The shell calls
// RefreshPage (fill the controls from the unit, the device and the settings) and ApplyPage
// (check the controls and store them; false refuses). Enter and Esc inside a page close nothing:
// they stop here instead of reaching the main dialog's default button or its reject().
//
// A page built on a model (BindModel, or VkcPage<Model>) needs no override: refresh, apply,
// the pending lost-focus check and every user action go through the model, and the page owns
// the model and its binder together, so they go before the widgets that could still report.

#include <QWidget>
#include <memory>

class ModulinkDlg;
class PageBinder;
class PageHost;
class PageModel;

class VkcModulinkDlg : public QWidget {
  Q_OBJECT
 public:
  explicit VkcModulinkDlg(QWidget* parent = nullptr);
  ~VkcModulinkDlg() override;

  // With a model: the model's refresh, then every control shown.
  virtual void RefreshPage();
  // With a model: every control read, the model's apply (its checks, then its store), every
  // control shown again (and the failing one focused).
  virtual bool ApplyPage();

  void SetHostDialog(ModulinkDlg* host);
  ModulinkDlg* GetHostDialog() const { return host_; }
  // The host the model reaches (the main dialog once registered; a test may set its own).
  void SetPageHost(PageHost* host);
  PageHost* GetPageHost() const { return pageHost_; }

  // Created modeless and hidden under parent (the frame it is shown in). Pages build their
  // controls in their constructors, so this cannot fail. A label with a mnemonic gets its
  // control as buddy (LabelBuddies.h), and every control keeps its place while hidden.
  bool CreateHidden(QWidget* parent);

  // A focused edit's lost-focus check has not run when a tab is clicked or a panel button
  // pressed (they take no focus); the shell calls this before ApplyPage so the check runs first.
  void CommitPendingEdit();

  // Writes the model's controls onto the widgets (after the page changed the model outside a
  // handler, e.g. on a posted message).
  void UpdateControls();

  PageModel* GetPageModel() const { return model_.get(); }
  PageBinder* GetBinder() const { return binder_.get(); }

  // Keeps page and panel buttons from becoming default buttons of the main dialog.
  static void MakeNonDefault(QWidget* root);

 protected:
  // Takes the model and binds the widgets named "ctl<id>" built so far to it (call it at the end
  // of the page's constructor).
  void BindModel(std::unique_ptr<PageModel> model);
  void keyPressEvent(QKeyEvent* event) override;

 private:
  ModulinkDlg* host_ = nullptr;
  PageHost* pageHost_ = nullptr;
  // The binder refers to the model: declared after it, it goes first.
  std::unique_ptr<PageModel> model_;
  std::unique_ptr<PageBinder> binder_;
};
