#include "app/VkcTerminalEdit.h"

#include <QClipboard>
#include <QContextMenuEvent>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QMimeData>
#include <QTextCursor>
#include <algorithm>

#include "link/Ansi.h"

VkcTerminalEdit::VkcTerminalEdit(Sender sender, QWidget* parent) : QPlainTextEdit(parent), sender_(std::move(sender)) {
  setReadOnly(true);
  // Selectable by keyboard too, so the read-only text keeps a visible caret.
  setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
  setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
  setCursorWidth(10);
  setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  setUndoRedoEnabled(false);
}

std::string VkcTerminalEdit::KeyToBytes(int key, const QString& text) {
  switch (key) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
      return "\r";
    case Qt::Key_Backspace:
      return "\b";
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
      return "\t";
    case Qt::Key_Escape:
    case Qt::Key_Left:
    case Qt::Key_Right:
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_Home:
    case Qt::Key_End:
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
    case Qt::Key_Insert:
    case Qt::Key_Delete:
      return {};
    default:
      break;
  }
  if (key >= Qt::Key_F1 && key <= Qt::Key_F35) return {};
  std::string bytes = WideToAnsi(text.toStdU16String());
  // Esc typed as a character is swallowed as well.
  std::erase(bytes, '\x1b');
  return bytes;
}

void VkcTerminalEdit::Paste() {
  const QString text = QGuiApplication::clipboard()->text();
  if (text.isEmpty()) return;
  // The unit ends its lines at CR: a line feed alone (as Linux clipboards hold) goes as CR LF.
  std::string bytes;
  const std::string ansi = WideToAnsi(text.toStdU16String());
  for (size_t i = 0; i < ansi.size(); ++i) {
    if (ansi[i] == '\n' && (i == 0 || ansi[i - 1] != '\r')) bytes += '\r';
    bytes += ansi[i];
  }
  sender_(bytes);
}

void VkcTerminalEdit::InsertBreak(QTextCursor& cursor) {
  cursor.insertBlock();
  cursor.block().setUserState(kContinued);
}

void VkcTerminalEdit::JoinWithPrevious(QTextCursor& cursor) {
  // The joined block takes the state of the block after the separator; the line it carries on is
  // the one above, so that block's mark is the one to keep.
  const int above = cursor.block().previous().userState();
  cursor.deletePreviousChar();
  cursor.block().setUserState(above);
}

void VkcTerminalEdit::DeleteLastChar(QTextCursor& cursor) {
  auto passBreak = [&] {
    if (!cursor.atStart() && cursor.atBlockStart() && IsContinued(cursor.block())) JoinWithPrevious(cursor);
  };
  passBreak();
  if (cursor.atStart()) return;
  if (cursor.atBlockStart()) {
    JoinWithPrevious(cursor);  // the unit's own line end
  } else {
    cursor.deletePreviousChar();
  }
  passBreak();  // no empty line left behind a break that now breaks nothing
}

QString VkcTerminalEdit::SelectedUnitText() const {
  const QTextCursor selection = textCursor();
  const int start = selection.selectionStart();
  const int end = selection.selectionEnd();
  QString text;
  for (QTextBlock block = document()->findBlock(start); block.isValid() && block.position() <= end;
       block = block.next()) {
    const int at = block.position();
    if (at > start && !IsContinued(block)) text += u'\n';
    const int from = std::max(start, at) - at;
    const int to = std::min(end, at + block.length() - 1) - at;
    text += QStringView(block.text()).mid(from, to - from);
  }
  return text;
}

QMimeData* VkcTerminalEdit::createMimeDataFromSelection() const {
  auto* data = new QMimeData;
  data->setText(SelectedUnitText());
  return data;
}

void VkcTerminalEdit::keyPressEvent(QKeyEvent* event) {
  const std::string bytes = KeyToBytes(event->key(), event->text());
  if (!bytes.empty()) sender_(bytes);
  event->accept();
}

void VkcTerminalEdit::contextMenuEvent(QContextMenuEvent* event) {
  QMenu menu(this);
  QAction* copy = menu.addAction(tr("&Copy"), this, &QPlainTextEdit::copy);
  copy->setEnabled(textCursor().hasSelection());
  QAction* paste = menu.addAction(tr("&Paste"), this, &VkcTerminalEdit::Paste);
  paste->setEnabled(!QGuiApplication::clipboard()->text().isEmpty());
  menu.exec(event->globalPos());
}

void VkcTerminalEdit::focusInEvent(QFocusEvent* event) {
  QPlainTextEdit::focusInEvent(event);
  // The focus coming back from a popup menu (this edit's own or the window's) never left: the
  // selection the menu acts on stays.
  if (event->reason() == Qt::PopupFocusReason) return;
  QTextCursor cursor = textCursor();
  cursor.movePosition(QTextCursor::End);
  setTextCursor(cursor);
}
