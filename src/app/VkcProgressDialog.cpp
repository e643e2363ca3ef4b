#include "app/VkcProgressDialog.h"

#include <QCloseEvent>
#include <QProgressBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QVBoxLayout>

#include "link/VkcErrorProcessor.h"
#include "link/VkcLogMessage.h"
#include "link/VkcMessageIds.h"
#include "link/Utf.h"
#include "platform/qt/WindowMessages.h"

VkcProgressDialog::VkcProgressDialog(QWidget* parent, bool stopEnabled)
    : QDialog(parent), stopEnabled_(stopEnabled) {
  progress_ = new QProgressBar(this);
  progress_->setObjectName(QStringLiteral("ctl1000"));
  progress_->setRange(0, 100);
  progress_->setValue(0);
  log_ = new QPlainTextEdit(this);
  log_->setObjectName(QStringLiteral("ctl1001"));
  log_->setReadOnly(true);
  stopButton_ = new QPushButton(QStringLiteral("Stop"), this);
  stopButton_->setObjectName(QStringLiteral("ctl1"));
  stopButton_->setAutoDefault(false);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(progress_);
  layout->addWidget(log_);
  layout->addWidget(stopButton_, 0, Qt::AlignHCenter);
  resize(420, 260);
  SetCaption(QString());
  connect(stopButton_, &QPushButton::clicked, this, [this] { RequestStop(); });
  messages_ = std::make_unique<platform::qt::WindowMessages>(
      [this](uint32_t msg, intptr_t w, intptr_t l) {
        if (msg == kMsgProgress) OnProgressMessage(w, l);
      },
      this);
}

VkcProgressDialog::~VkcProgressDialog() {
  // The worker ends by itself once its task returns; make it return soon and wait for it.
  stop_.Set();
  cleanupStop_.Set();
  worker_.Join();
}

platform::WindowHandle VkcProgressDialog::Handle() const { return messages_->Handle(); }

void VkcProgressDialog::SetTask(VkiPostProcess* target, uint32_t operation, intptr_t parameter) {
  tasks_.clear();
  AddTask(target, operation, parameter);
}

void VkcProgressDialog::AddTask(VkiPostProcess* target, uint32_t operation, intptr_t parameter, bool always) {
  tasks_.push_back({target, operation, parameter, always});
}

void VkcProgressDialog::SetCaption(const QString& caption) {
  // Window systems show the program's name in place of an empty title; a blank one stays blank.
  setWindowTitle(caption.isEmpty() ? QStringLiteral(" ") : caption);
}

QString VkcProgressDialog::LogText() const { return log_->toPlainText(); }

int VkcProgressDialog::ProgressPosition() const { return progress_->value(); }

int VkcProgressDialog::exec() {
  progress_->setValue(0);
  result_.store(0);
  stopped_.store(false);
  if (tasks_.empty()) return kModalFailed;
  worker_.Join();  // an earlier run has posted its end; its thread is gone or about to be
  stop_.Reset();
  stopButton_->setEnabled(stopEnabled_);
  if (!worker_.Start([this](platform::Event& threadStop) { RunTasks(threadStop); })) {
    // Nothing would ever post the end: the run fails at once, and callers show their failure.
    ErrorLog().ReportError(0, "Unable to start thread for progress dialog: %s", worker_.StartError().c_str());
    result_.store(kResultNotStarted);
    return kModalFailed;
  }
  int modal = QDialog::exec();
  worker_.Join();
  return modal;
}

void VkcProgressDialog::RunTasks(platform::Event&) {
  const platform::WindowHandle notify = Handle();
  uint32_t failure = 0;
  bool skipped = false;
  for (const Task& task : tasks_) {
    if (!task.target) continue;
    if (task.always) {
      task.target->Process(task.operation, task.parameter, notify, cleanupStop_);
      continue;
    }
    if (failure != 0 || skipped) continue;
    // After Stop no further task starts: a stopped identification must not go on to send or reboot.
    if (stop_.IsSet()) {
      skipped = true;
      continue;
    }
    failure = task.target->Process(task.operation, task.parameter, notify, stop_);
  }
  // Every task ran and returned 0: done, even when Stop came during the last one.
  const bool userStopped = stop_.IsSet();
  if (failure == 0 && !skipped) {
    platform::PostMessage(notify, kMsgProgress, kProgressEnd, kModalOk);
    return;
  }
  stopped_.store(userStopped);
  result_.store(userStopped ? 0 : failure);
  platform::PostMessage(notify, kMsgProgress, kProgressEnd, kModalFailed);
}

void VkcProgressDialog::OnProgressMessage(intptr_t wParam, intptr_t lParam) {
  switch (wParam) {
    case kProgressPercent:
      progress_->setValue(static_cast<int>(lParam));
      break;
    case kProgressMailbox: {
      auto* mailbox = reinterpret_cast<VkcLogMessage*>(lParam);
      if (!mailbox) return;
      std::u16string text = mailbox->TakeText();
      if (text.empty()) return;
      QTextCursor cursor = log_->textCursor();
      cursor.movePosition(QTextCursor::End);
      QString shown = QString::fromStdU16String(text);
      shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
      cursor.insertText(shown);
      break;
    }
    case kProgressEnd:
      done(static_cast<int>(lParam));
      return;
    default:
      return;
  }
  log_->verticalScrollBar()->setValue(log_->verticalScrollBar()->maximum());
}

void VkcProgressDialog::RequestStop() { stop_.Set(); }

void VkcProgressDialog::reject() {
  // Esc never closes the dialog: it asks the tasks to stop, and the worker's end message closes it.
  if (cancelOnEscape_) RequestStop();
}

void VkcProgressDialog::closeEvent(QCloseEvent* event) {
  event->ignore();
  reject();
}
