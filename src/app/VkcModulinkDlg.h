#pragma once
// Base of every page and group panel the main dialog shows in its frames. The shell calls
// RefreshPage (fill the controls from the unit, the device and the settings) and ApplyPage
// (check the controls and store them; false refuses). Enter and Esc inside a page close nothing:
// they stop here instead of reaching the main dialog's default button or its reject().

#include <QWidget>

class ModulinkDlg;

class VkcModulinkDlg : public QWidget {
  Q_OBJECT
 public:
  explicit VkcModulinkDlg(QWidget* parent = nullptr);

  virtual void RefreshPage() {}
  virtual bool ApplyPage() { return true; }

  void SetHostDialog(ModulinkDlg* host) { host_ = host; }
  ModulinkDlg* GetHostDialog() const { return host_; }

  // Created modeless and hidden under parent (the frame it is shown in). Pages build their
  // controls in their constructors, so this cannot fail.
  bool CreateHidden(QWidget* parent);

  // A focused edit's lost-focus check has not run when a tab is clicked (tabs take no focus);
  // the shell calls this before ApplyPage so the check runs first.
  virtual void CommitPendingEdit();

  // Keeps page and panel buttons from becoming default buttons of the main dialog.
  static void MakeNonDefault(QWidget* root);

 protected:
  void keyPressEvent(QKeyEvent* event) override;

 private:
  ModulinkDlg* host_ = nullptr;
};
