#include "app/VkcTerminalWnd.h"

#include <QTextBlock>
#include <QTextCursor>
#include <QVBoxLayout>
#include <algorithm>

#include "app/ModulinkApp.h"
#include "app/VkcTerminalEdit.h"
#include "link/Ansi.h"
#include "link/VkcComPort.h"
#include "link/VkcMessageIds.h"

namespace {
// The newest kMaxLines whole lines and the one being received.
constexpr size_t kKeptBlocks = VkcTerminalWnd::kMaxLines + 1;
}  // namespace

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
  edit_->setMaximumBlockCount(static_cast<int>(kKeptBlocks));  // the oldest lines go
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
  ToDisplayText(data, length, afterCr, out);
  return out;
}

void VkcTerminalWnd::ToDisplayText(const uint8_t* data, size_t length, bool& afterCr, std::string& out) {
  out.clear();
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
}

void VkcTerminalWnd::OnDataReceived(const uint8_t* data, size_t length, VkcComPort*) {
  // The buffers are kept from block to block: a flood costs no allocation per block.
  ToDisplayText(data, length, afterCr_, received_);
  if (received_.empty()) return;
  AnsiToWide(receivedWide_, received_.data(), static_cast<int>(received_.size()));
  const size_t lineEnds = std::count(receivedWide_.begin(), receivedWide_.end(), u'\n');
  bool post = false;
  {
    std::lock_guard<std::mutex> g(pendingLock_);
    post = pending_.empty();  // one message shows everything queued until it is handled
    pending_ += receivedWide_;
    pendingLineEnds_ += lineEnds;
    // Trimmed in steps of kMaxPending, so a window that falls behind costs no copy per block.
    if (pending_.size() >= 2 * kMaxPending) {
      pending_.erase(0, pending_.size() - kMaxPending);
      pendingLineEnds_ = std::count(pending_.begin(), pending_.end(), u'\n');
    }
  }
  if (post) platform::PostMessage(messages_.Handle(), kMsgTerminalData, 0, 0);
}

size_t VkcTerminalWnd::DropScrolledOut(std::u16string& text) {
  // The newest kMaxPending characters at most.
  const size_t charCut = text.size() > kMaxPending ? text.size() - kMaxPending : 0;
  // From the line end that starts the newest kKeptBlocks lines: those lines push every older one out.
  size_t at = text.size();
  size_t found = 0;
  while (found < kKeptBlocks && at > charCut) {
    const size_t lineEnd = text.rfind(u'\n', at - 1);
    if (lineEnd == std::u16string::npos || lineEnd < charCut) break;
    ++found;
    at = lineEnd;
  }
  text.erase(0, found == kKeptBlocks ? at : charCut);
  return found;
}

void VkcTerminalWnd::OnTerminalData() {
  bool more = false;
  {
    std::lock_guard<std::mutex> g(pendingLock_);
    // Only a queue longer than the text keeps can hold what would be scrolled out.
    if (pendingLineEnds_ >= kKeptBlocks || pending_.size() > kMaxPending) {
      pendingLineEnds_ = DropScrolledOut(pending_);
    }
    const size_t n = std::min(pending_.size(), kShowChunk);
    showing_.assign(pending_, 0, n);
    pending_.erase(0, n);
    pendingLineEnds_ -= std::count(showing_.begin(), showing_.end(), u'\n');
    more = !pending_.empty();
  }
  // The rest waits for the next turn of the event loop, so input and painting go on.
  if (more) platform::PostMessage(messages_.Handle(), kMsgTerminalData, 0, 0);
  if (showing_.empty()) return;
  Show(showing_);
  edit_->moveCursor(QTextCursor::End);
  edit_->ensureCursorVisible();
}

void VkcTerminalWnd::Show(const std::u16string& text) {
  QTextCursor cursor(edit_->document());
  cursor.movePosition(QTextCursor::End);
  int column = cursor.block().length() - 1;  // characters of the last line
  size_t from = 0;                           // text[from, i) is not inserted yet
  auto insertUpTo = [&](size_t to) {
    if (to > from) cursor.insertText(QString::fromUtf16(text.data() + from, static_cast<qsizetype>(to - from)));
    from = to;
  };
  cursor.beginEditBlock();  // one layout update for the whole chunk
  for (size_t i = 0; i < text.size(); ++i) {
    const char16_t c = text[i];
    if (c == u'\b') {
      insertUpTo(i);
      from = i + 1;
      VkcTerminalEdit::DeleteLastChar(cursor);
      column = cursor.block().length() - 1;
    } else if (c == u'\n') {
      column = 0;
    } else if (column < kMaxLineLength) {
      ++column;
    } else {
      // A block of its own, so the layout never meets one endless paragraph.
      insertUpTo(i);
      VkcTerminalEdit::InsertBreak(cursor);
      column = 1;
    }
  }
  insertUpTo(text.size());
  cursor.endEditBlock();
}

void VkcTerminalWnd::Send(const std::string& bytes) {
  VkcComPort* port = app_.CurrentPort();
  if (port == nullptr || bytes.empty()) return;
  port->Write(bytes.data(), static_cast<int>(bytes.size()), nullptr, kWriteTimeoutMs, &writeCancel_);
}
