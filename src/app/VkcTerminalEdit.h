#pragma once
// The terminal's text area: read-only, fixed-pitch, with a wide caret. What the user types is not
// put into the text: each character goes to the port as one byte (Enter as CR, Backspace as BS);
// extended keys (arrows, Home, End, page keys, Insert, Delete, function keys) and Esc are
// swallowed. The context menu offers Copy (of the selection) and Paste (to the port).

#include <QPlainTextEdit>
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

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void contextMenuEvent(QContextMenuEvent* event) override;
  void focusInEvent(QFocusEvent* event) override;
  // Tab and Shift+Tab are typed to the unit, never a move of the focus.
  bool focusNextPrevChild(bool) override { return false; }

 private:
  Sender sender_;
};
