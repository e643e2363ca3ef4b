#include "app/VkcMultiEdit.h"

#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QPalette>

#include "link/Ansi.h"

namespace {
std::u16string ToU16(const QString& s) {
  return std::u16string(reinterpret_cast<const char16_t*>(s.utf16()), static_cast<size_t>(s.size()));
}
QString ToQ(const std::u16string& s) {
  return QString::fromUtf16(s.data(), static_cast<qsizetype>(s.size()));
}
// The clipboard carries 8-bit text: what Windows-1252 cannot hold becomes '?'.
std::u16string EightBit(const std::u16string& s) { return AnsiToWide(WideToAnsi(s)); }
}  // namespace

VkcMultiEdit::VkcMultiEdit(QWidget* parent) : QLineEdit(parent) {
  setAcceptDrops(false);
  setDragEnabled(false);
  setContextMenuPolicy(Qt::DefaultContextMenu);
}

void VkcMultiEdit::SetCharSet(std::vector<int> groupSizes) {
  model_.SetGroupSizes(std::move(groupSizes));
  Show();
}

void VkcMultiEdit::SetTemplate(const std::u16string& separator) {
  model_.SetDefaultSeparator(separator);
  Show();
}

void VkcMultiEdit::SetMaxLength(uint32_t maxLength) { model_.SetMaxLength(maxLength); }

void VkcMultiEdit::SetLeftFill(bool leftFill) {
  model_.SetFillFromRight(!leftFill);
  Show();
}

void VkcMultiEdit::SetReadOnly(bool readOnly) {
  model_.SetReadOnly(readOnly);
  setReadOnly(readOnly);
  QPalette pal = palette();
  if (readOnly) {
    pal.setColor(QPalette::Base, QColor(192, 192, 192));
  } else {
    pal.setColor(QPalette::Base, QApplication::palette(this).color(QPalette::Base));
  }
  setPalette(pal);
}

void VkcMultiEdit::SetWindowText(const std::u16string& raw) {
  model_.SetRawText(raw);
  Show();
}

void VkcMultiEdit::Show() {
  const QString shown = ToQ(model_.Display());
  if (text() != shown) setText(shown);
  if (model_.HasSelection()) {
    setSelection(model_.SelectionStart(), model_.SelectionEnd() - model_.SelectionStart());
  } else {
    setCursorPosition(model_.Caret());
  }
}

void VkcMultiEdit::ReadSelection() {
  if (hasSelectedText()) {
    const int start = selectionStart();
    model_.SetSelection(start, start + static_cast<int>(selectedText().size()));
  } else {
    model_.SetCaret(cursorPosition());
  }
}

void VkcMultiEdit::Edited(bool changed) {
  Show();
  if (changed) emit RawTextEdited();
}

void VkcMultiEdit::CopySelection() {
  ReadSelection();
  if (auto copied = model_.Copy()) QApplication::clipboard()->setText(ToQ(EightBit(*copied)));
}

void VkcMultiEdit::CutSelection() {
  ReadSelection();
  const std::u16string before = model_.RawText();
  if (auto copied = model_.Cut()) QApplication::clipboard()->setText(ToQ(EightBit(*copied)));
  Edited(before != model_.RawText());
}

void VkcMultiEdit::PasteText(const QString& text) {
  ReadSelection();
  Edited(model_.Paste(EightBit(ToU16(text))));
}

void VkcMultiEdit::PasteClipboard() { PasteText(QApplication::clipboard()->text()); }

void VkcMultiEdit::ClearSelection() {
  ReadSelection();
  Edited(model_.Clear());
}

void VkcMultiEdit::keyPressEvent(QKeyEvent* event) {
  if (event->matches(QKeySequence::Copy)) return CopySelection();
  if (event->matches(QKeySequence::Cut)) return CutSelection();
  if (event->matches(QKeySequence::Paste)) return PasteClipboard();
  if (event->matches(QKeySequence::SelectAll)) {
    model_.SelectAll();
    return Show();
  }
  if (event->matches(QKeySequence::Undo) || event->matches(QKeySequence::Redo)) return;
  switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Escape:
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
      return QLineEdit::keyPressEvent(event);
    case Qt::Key_Backspace:
      ReadSelection();
      return Edited(model_.Backspace());
    case Qt::Key_Delete:
      ReadSelection();
      return Edited(model_.Delete());
    case Qt::Key_Left:
      ReadSelection();
      model_.Left();
      return Show();
    case Qt::Key_Right:
      ReadSelection();
      model_.Right();
      return Show();
    case Qt::Key_End:
      ReadSelection();
      model_.End();
      return Show();
    default:
      break;
  }
  const QString typed = event->text();
  const bool control = event->modifiers() & (Qt::ControlModifier | Qt::MetaModifier);
  if (!typed.isEmpty() && !control && GroupedText::IsAccepted(typed.at(0).unicode())) {
    ReadSelection();
    bool changed = false;
    for (QChar ch : typed) changed = model_.Type(ch.unicode()) || changed;
    return Edited(changed);
  }
  // Anything else gets the edit's own handling (Home, Shift+Home ...), but may not change text.
  QLineEdit::keyPressEvent(event);
  if (text() != ToQ(model_.Display())) {
    Show();
  } else {
    ReadSelection();
  }
}

void VkcMultiEdit::inputMethodEvent(QInputMethodEvent* event) {
  const QString commit = event->commitString();
  if (!commit.isEmpty()) {
    ReadSelection();
    bool changed = false;
    for (QChar ch : commit) changed = model_.Type(ch.unicode()) || changed;
    Edited(changed);
  }
  event->accept();
}

void VkcMultiEdit::mouseDoubleClickEvent(QMouseEvent* event) {
  model_.SelectAll();
  Show();
  event->accept();
}

void VkcMultiEdit::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() == Qt::MiddleButton) {
    // The X11 selection paste would write straight into the line edit; route it through the model.
    QClipboard* clipboard = QApplication::clipboard();
    if (clipboard->supportsSelection() && !model_.IsReadOnly())
      PasteText(clipboard->text(QClipboard::Selection));
    event->accept();
    return;
  }
  QLineEdit::mouseReleaseEvent(event);
  ReadSelection();
}

void VkcMultiEdit::contextMenuEvent(QContextMenuEvent* event) {
  ReadSelection();
  const bool editable = !model_.IsReadOnly();
  const bool selected = model_.HasSelection();
  QMenu menu(this);
  menu.addAction(tr("Cu&t"), this, &VkcMultiEdit::CutSelection)->setEnabled(editable && selected);
  menu.addAction(tr("&Copy"), this, &VkcMultiEdit::CopySelection)->setEnabled(selected);
  menu.addAction(tr("&Paste"), this, &VkcMultiEdit::PasteClipboard)
      ->setEnabled(editable && !QApplication::clipboard()->text().isEmpty());
  menu.addAction(tr("&Delete"), this, &VkcMultiEdit::ClearSelection)->setEnabled(editable && selected);
  menu.addSeparator();
  menu.addAction(tr("Select &All"), this, [this] {
    model_.SelectAll();
    Show();
  });
  menu.exec(event->globalPos());
}
