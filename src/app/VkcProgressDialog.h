#pragma once
// A modal dialog that runs a list of tasks on one worker thread, in order, stopping at the first
// that fails; tasks added as "always" put things back and run after a failure or a stop too. The worker reports only through posted messages: progress (2024 with 2), mailbox text
// (2024 with 5) and the end (2024 with 1000). Stop and Esc set the stop event; the dialog closes
// when the worker says it has ended.

#include <QDialog>
#include <QString>
#include <atomic>
#include <memory>
#include <vector>

#include "link/VkiPostProcess.h"
#include "platform/Event.h"
#include "platform/WorkerThread.h"

class QProgressBar;
class QPushButton;
class QPlainTextEdit;

namespace platform::qt {
class WindowMessages;
}

class VkcProgressDialog : public QDialog {
  Q_OBJECT
 public:
  // The result of a run whose worker could not start: the general failure every caller reports.
  static constexpr uint32_t kResultNotStarted = 1;

  explicit VkcProgressDialog(QWidget* parent = nullptr, bool stopEnabled = true);
  ~VkcProgressDialog() override;

  void SetTask(VkiPostProcess* target, uint32_t operation, intptr_t parameter);
  // always: the task runs whatever came before, does not watch Stop, and its result does not count.
  void AddTask(VkiPostProcess* target, uint32_t operation, intptr_t parameter, bool always = false);
  void SetCaption(const QString& caption);
  void SetCancelOnEscape(bool cancel) { cancelOnEscape_ = cancel; }

  // Runs the tasks modally: 1 when every task returned 0, 2 when one failed or the user stopped, and
  // 2 at once (logged) when the worker cannot start.
  int exec() override;
  // The first non-zero task result, or 0 (all succeeded, or the user stopped the run).
  uint32_t GetResult() const { return result_.load(); }
  // True when the run ended because the user stopped it.
  bool WasStopped() const { return stopped_.load(); }

  platform::WindowHandle Handle() const;
  platform::Event& StopEvent() { return stop_; }
  QString LogText() const;
  int ProgressPosition() const;

  // What the window does with a posted 2024 message.
  void OnProgressMessage(intptr_t wParam, intptr_t lParam);
  // Stop button, Esc and the close box.
  void RequestStop();

 protected:
  void reject() override;
  void closeEvent(QCloseEvent* event) override;

 private:
  struct Task {
    VkiPostProcess* target;
    uint32_t operation;
    intptr_t parameter;
    bool always;
  };
  void RunTasks(platform::Event& threadStop);

  QProgressBar* progress_;
  QPushButton* stopButton_;
  QPlainTextEdit* log_;
  std::unique_ptr<platform::qt::WindowMessages> messages_;
  std::vector<Task> tasks_;
  platform::Event stop_{platform::Event::ResetMode::Manual};
  // The stop event of the always tasks: set only when the dialog goes away.
  platform::Event cleanupStop_{platform::Event::ResetMode::Manual};
  platform::WorkerThread worker_;
  bool stopEnabled_;
  bool cancelOnEscape_ = true;
  std::atomic<uint32_t> result_{0};
  std::atomic<bool> stopped_{false};
};
