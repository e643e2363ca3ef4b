#include "app/VkcProgressDialog.h"

#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include <atomic>
#include <mutex>
#include <vector>

#include "link/VkcErrorProcessor.h"
#include "link/VkcLogMessage.h"
#include "link/VkcMessageIds.h"

namespace {

// A task target that records the operations it runs and answers scripted results.
class ScriptedTasks : public VkiPostProcess {
 public:
  std::vector<uint32_t> results;  // by operation code
  std::atomic<bool> sawStop{false};
  VkcLogMessage mailbox;

  uint32_t Process(uint32_t operation, intptr_t parameter, platform::WindowHandle notify,
                   platform::Event& stop) override {
    {
      std::lock_guard<std::mutex> lock(mutex);
      ran.push_back(operation);
    }
    platform::PostMessage(notify, kMsgProgress, kProgressPercent, parameter);
    mailbox.Append("task " + std::to_string(operation) + "\r\n");
    platform::PostMessage(notify, kMsgProgress, kProgressMailbox, reinterpret_cast<intptr_t>(&mailbox));
    if (operation == 9) return stop.Wait(10000) == 0 ? 7 : 0;  // waits until stopped, then fails
    if (operation == 6) {  // a putting-back task: notes whether it was asked to stop, then fails
      sawStop = stop.IsSet();
      return 9;
    }
    if (operation == 8) {  // waits until stopped, then succeeds
      stop.Wait(10000);
      return 0;
    }
    return operation < results.size() ? results[operation] : 0;
  }
  std::vector<uint32_t> Ran() {
    std::lock_guard<std::mutex> lock(mutex);
    return ran;
  }

 private:
  std::mutex mutex;
  std::vector<uint32_t> ran;
};

}  // namespace

TEST(ProgressDialog, RunsTasksInOrderAndShowsProgressAndLog) {
  ScriptedTasks tasks;
  VkcProgressDialog dialog(nullptr, false);
  dialog.SetTask(&tasks, 0, 30);
  dialog.AddTask(nullptr, 5, 0);  // a task without a target is skipped
  dialog.AddTask(&tasks, 1, 70);
  EXPECT_EQ(dialog.exec(), kModalOk);
  EXPECT_EQ(dialog.GetResult(), 0u);
  EXPECT_EQ(tasks.Ran(), (std::vector<uint32_t>{0, 1}));
  EXPECT_EQ(dialog.ProgressPosition(), 70);
  EXPECT_EQ(dialog.LogText(), QStringLiteral("task 0\ntask 1\n"));
}

TEST(ProgressDialog, FirstFailureEndsTheRunWithItsResult) {
  ScriptedTasks tasks;
  tasks.results = {0, 0, 5, 0};
  VkcProgressDialog dialog;
  dialog.SetTask(&tasks, 0, 0);
  for (uint32_t op : {1u, 2u, 3u}) dialog.AddTask(&tasks, op, 0);
  EXPECT_EQ(dialog.exec(), kModalFailed);
  EXPECT_EQ(dialog.GetResult(), 5u);
  EXPECT_FALSE(dialog.WasStopped());
  EXPECT_EQ(tasks.Ran(), (std::vector<uint32_t>{0, 1, 2}));
}

TEST(ProgressDialog, EmptyListEndsAtOnceWithFailure) {
  VkcProgressDialog dialog;
  // Without a caption the title is blank: an empty one would show the program's name instead.
  EXPECT_EQ(dialog.windowTitle(), QStringLiteral(" "));
  EXPECT_EQ(dialog.exec(), kModalFailed);
  EXPECT_EQ(dialog.GetResult(), 0u);
}

TEST(ProgressDialog, EscStopsTheWaitingTaskAndNoFurtherTaskRuns) {
  ScriptedTasks tasks;
  VkcProgressDialog dialog(nullptr, false);  // Stop button disabled, Esc still stops
  dialog.SetTask(&tasks, 9, 0);
  dialog.AddTask(&tasks, 3, 0);
  QTimer::singleShot(50, &dialog, [&] { QTest::keyClick(&dialog, Qt::Key_Escape); });
  EXPECT_EQ(dialog.exec(), kModalFailed);
  EXPECT_EQ(dialog.GetResult(), 0u);  // a user stop is no failure to report
  EXPECT_TRUE(dialog.WasStopped());
  EXPECT_EQ(tasks.Ran(), (std::vector<uint32_t>{9}));
}

// Stop during a task that still returns 0: done when it was the last task; otherwise no later task
// starts and the run counts as stopped.
TEST(ProgressDialog, StopDuringASucceedingTask) {
  for (bool last : {true, false}) {
    ScriptedTasks tasks;
    VkcProgressDialog dialog;
    dialog.SetTask(&tasks, 1, 0);
    dialog.AddTask(&tasks, 8, 0);
    if (!last) dialog.AddTask(&tasks, 3, 0);
    QTimer::singleShot(50, &dialog, [&] { dialog.RequestStop(); });
    EXPECT_EQ(dialog.exec(), last ? kModalOk : kModalFailed) << last;
    EXPECT_EQ(dialog.GetResult(), 0u);
    EXPECT_EQ(tasks.Ran(), (std::vector<uint32_t>{1, 8})) << last;
  }
}

// A task added as "always" runs after a failure or a stop, is not asked to stop, and its own result
// changes neither the modal result nor the reported failure.
TEST(ProgressDialog, AlwaysTasksRunWhateverTheOutcome) {
  struct Row {
    uint32_t first;
    bool esc;
    int modal;
    uint32_t result;
    std::vector<uint32_t> ran;
  };
  for (const Row& row : std::vector<Row>{{2, false, kModalFailed, 5, {2, 6}},
                                         {9, true, kModalFailed, 0, {9, 6}},
                                         {1, false, kModalOk, 0, {1, 3, 6}}}) {
    ScriptedTasks tasks;
    tasks.results = {0, 0, 5, 0};
    VkcProgressDialog dialog(nullptr, false);
    dialog.SetTask(&tasks, row.first, 0);
    dialog.AddTask(&tasks, 3, 0);
    dialog.AddTask(&tasks, 6, 0, true);
    if (row.esc) QTimer::singleShot(50, &dialog, [&] { QTest::keyClick(&dialog, Qt::Key_Escape); });
    EXPECT_EQ(dialog.exec(), row.modal) << row.first;
    EXPECT_EQ(dialog.GetResult(), row.result) << row.first;
    EXPECT_EQ(dialog.WasStopped(), row.esc) << row.first;
    EXPECT_EQ(tasks.Ran(), row.ran) << row.first;
    EXPECT_FALSE(tasks.sawStop) << row.first;
  }
}

TEST(ProgressDialog, EscDoesNothingWhenCancelOnEscapeIsOff) {
  ScriptedTasks tasks;
  VkcProgressDialog dialog;
  dialog.SetCancelOnEscape(false);
  dialog.SetTask(&tasks, 9, 0);
  bool stoppedByEsc = true, visible = false;
  QTimer::singleShot(30, &dialog, [&] {
    QTest::keyClick(&dialog, Qt::Key_Escape);
    stoppedByEsc = dialog.StopEvent().IsSet();
    visible = dialog.isVisible();
    QTest::mouseClick(dialog.findChild<QWidget*>(QStringLiteral("ctl1")), Qt::LeftButton);
  });
  EXPECT_EQ(dialog.exec(), kModalFailed);
  EXPECT_FALSE(stoppedByEsc);
  EXPECT_TRUE(visible);
  EXPECT_TRUE(dialog.WasStopped());
}

TEST(ProgressDialog, UnknownProgressCodesChangeNothing) {
  VkcProgressDialog dialog;
  dialog.OnProgressMessage(kProgressPercent, 40);
  dialog.OnProgressMessage(6, 90);
  EXPECT_EQ(dialog.ProgressPosition(), 40);
  EXPECT_TRUE(dialog.LogText().isEmpty());
}

TEST(ProgressDialog, AWorkerThatCannotStartFailsTheRunAtOnceAndIsLogged) {
  ScriptedTasks tasks;
  VkcProgressDialog dialog;
  dialog.SetTask(&tasks, 0, 0);
  QTimer::singleShot(10000, &dialog, [&] { dialog.done(99); });  // a dialog left open ends the test
  platform::WorkerThread::FailNextStartsForTesting(1);
  EXPECT_EQ(dialog.exec(), kModalFailed);
  EXPECT_EQ(dialog.GetResult(), VkcProgressDialog::kResultNotStarted);
  EXPECT_FALSE(dialog.WasStopped());
  EXPECT_TRUE(tasks.Ran().empty());
  EXPECT_EQ(ErrorLog().Entries().back().text.rfind("Unable to start thread for progress dialog: ", 0), 0u);
  EXPECT_GT(ErrorLog().Entries().back().text.size(), 44u);  // the system's reason follows
  EXPECT_EQ(dialog.exec(), kModalOk);  // the next run starts as usual
  EXPECT_EQ(tasks.Ran(), std::vector<uint32_t>{0});
}
