#include "app/VkcTerminalWnd.h"

#include <QTextCursor>
#include <QVBoxLayout>

#include "app/ModulinkApp.h"
#include "app/VkcTerminalEdit.h"
#include "link/Ansi.h"
#include "link/VkcComPort.h"
#include "link/VkcMessageIds.h"

VkcTerminalWnd::VkcTerminalWnd(ModulinkApp& app, QWidget* parent)
    : QWidget(parent, Qt::Window),
      app_(app),
      edit_(new VkcTerminalEdit([this](const std::string& bytes) { Send(bytes); }, this)),
      messages_([this](uint32_t msg, intptr_t, intptr_t) {
        if (msg == kMsgTerminalData) OnTerminalData();
      }) {
  setWindowTitle(QStringLiteral("Terminal Window"));
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(edit_);
  setFocusProxy(edit_);
  resize(640, 400);
  listened_ = app_.CurrentPort();
  if (listened_ != nullptr) listened_->AddListener(this, kListenerGroupTerminal);
}

VkcTerminalWnd::~VkcTerminalWnd() {
  // After this no callback runs any more; messages still queued die with messages_.
  if (listened_ != nullptr) listened_->RemoveListener(this);
}

VkcTerminalWnd* VkcTerminalWnd::Open(ModulinkApp& app, QWidget* parent) {
  auto* window = new VkcTerminalWnd(app, parent);
  window->setAttribute(Qt::WA_DeleteOnClose);
  window->show();
  window->raise();
  window->activateWindow();
  VkcComPort* port = app.CurrentPort();
  if (port == nullptr || !port->IsOpen()) app.ShowMessage("Communication port is not open");
  return window;
}

std::string VkcTerminalWnd::ToDisplayText(const uint8_t* data, size_t length, bool& afterCr) {
  std::string out;
  out.reserve(length);
  for (size_t i = 0; i < length; ++i) {
    const uint8_t b = data[i];
    const bool wasCr = afterCr;
    afterCr = b == '\r';
    if (b == '\r') {
      out += '\n';
    } else if (b == '\n') {
      if (!wasCr) out += '\n';
    } else if (b < 32 && b != '\b') {
      out += '.';
    } else {
      out += static_cast<char>(b);
    }
  }
  return out;
}

void VkcTerminalWnd::OnDataReceived(const uint8_t* data, size_t length, VkcComPort*) {
  const std::string text = ToDisplayText(data, length, afterCr_);
  if (text.empty()) return;
  const std::u16string wide = AnsiToWide(text);
  bool post = false;
  {
    std::lock_guard<std::mutex> g(pendingLock_);
    post = pending_.empty();  // one message shows everything queued until it is handled
    pending_ += wide;
  }
  if (post) platform::PostMessage(messages_.Handle(), kMsgTerminalData, 0, 0);
}

void VkcTerminalWnd::OnTerminalData() {
  std::u16string text;
  {
    std::lock_guard<std::mutex> g(pendingLock_);
    text.swap(pending_);
  }
  if (text.empty()) return;
  QTextCursor cursor(edit_->document());
  cursor.movePosition(QTextCursor::End);
  if (text.find(u'\b') == std::u16string::npos) {
    cursor.insertText(QString::fromStdU16String(text));
  } else {
    // A backspace removes the last character shown instead of being shown.
    size_t start = 0;
    for (size_t i = 0; i <= text.size(); ++i) {
      if (i < text.size() && text[i] != u'\b') continue;
      if (i > start) cursor.insertText(QString::fromStdU16String(text.substr(start, i - start)));
      if (i < text.size()) cursor.deletePreviousChar();
      start = i + 1;
    }
  }
  edit_->moveCursor(QTextCursor::End);
  edit_->ensureCursorVisible();
}

void VkcTerminalWnd::Send(const std::string& bytes) {
  VkcComPort* port = app_.CurrentPort();
  if (port == nullptr || bytes.empty()) return;
  port->Write(bytes.data(), static_cast<int>(bytes.size()), nullptr, kWriteTimeoutMs, &writeCancel_);
}
