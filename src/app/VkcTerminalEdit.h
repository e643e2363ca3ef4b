#pragma once
// The terminal's text area: read-only, fixed-pitch, with a wide caret. What the user types is not
// put into the text: each character goes to the port as one byte (Enter as CR, Backspace as BS);
// extended keys (arrows, Home, End, page keys, Insert, Delete, function keys) and Esc are
// swallowed. The context menu offers Copy (of the selection) and Paste (to the port).
//
// The terminal window breaks over-long lines into blocks of their own; such a break is marked on the
// block after it, so that a backspace and Copy pass over it: the unit never sent it.

#include <QPlainTextEdit>
#include <QTextBlock>
#include <QTextCursor>
#include <functional>
#include <string>

class VkcTerminalEdit : public QPlainTextEdit {
  Q_OBJECT
 public:
  // Receives the bytes to write to the port.
  using Sender = std::function<void(const std::string& bytes)>;

  explicit VkcTerminalEdit(Sender sender, QWidget* parent = nullptr);

  // The bytes a key press sends; empty for keys that send nothing.
  static std::string KeyToBytes(int key, const QString& text);
  // Writes the clipboard's text to the port (line feeds as CR LF); nothing is inserted.
  void Paste();

  // At cursor: a break of the window's own in an over-long line.
  static void InsertBreak(QTextCursor& cursor);
  // Removes the character before cursor the unit sent, with any of the window's breaks around it.
  static void DeleteLastChar(QTextCursor& cursor);

 protected:
  // Copy (and dragging) give the selected text as the unit sent it.
  QMimeData* createMimeDataFromSelection() const override;
  void keyPressEvent(QKeyEvent* event) override;
  void contextMenuEvent(QContextMenuEvent* event) override;
  void focusInEvent(QFocusEvent* event) override;
  // Tab and Shift+Tab are typed to the unit, never a move of the focus.
  bool focusNextPrevChild(bool) override { return false; }

 private:
  // User state of a block that goes on with the line above it past a break of the window's own.
  static constexpr int kContinued = 1;
  static bool IsContinued(const QTextBlock& block) { return block.userState() == kContinued; }
  // Removes the separator before cursor, at a block start; the joined block keeps the mark of the
  // block above.
  static void JoinWithPrevious(QTextCursor& cursor);
  // The selected text as the unit sent it: line ends as "\n", the window's breaks left out.
  QString SelectedUnitText() const;

  Sender sender_;
};
