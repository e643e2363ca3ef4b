#pragma once
// The grouped edit: fixed-size groups of editable characters with separators between them
// (serial numbers, Bluetooth addresses). Every way text can change (keys, input methods, the
// clipboard, the context menu, middle-click paste, drops) goes through the GroupedText model;
// QLineEdit only shows the display text. Pages read GetRawText(), never text().

#include <QLineEdit>
#include <string>
#include <vector>

#include "app/GroupedText.h"

class VkcMultiEdit : public QLineEdit {
  Q_OBJECT
 public:
  explicit VkcMultiEdit(QWidget* parent = nullptr);

  // Group sizes (the number of editable characters of each group).
  void SetCharSet(std::vector<int> groupSizes);
  // Default separator text, used after every group without a separator of its own.
  void SetTemplate(const std::u16string& separator);
  // Most editable characters; 0 means no limit.
  void SetMaxLength(uint32_t maxLength);
  // true: the text fills the groups from the first position; false: from the last.
  void SetLeftFill(bool leftFill);
  void SetReadOnly(bool readOnly);

  std::u16string GetRawText() const { return model_.RawText(); }
  std::u16string GetWindowText() const { return model_.RawText(); }
  // Takes the text as it is (no filter, no limit) and shows it with separators.
  void SetWindowText(const std::u16string& raw);

  const GroupedText& Model() const { return model_; }

  void CopySelection();
  void CutSelection();
  void PasteText(const QString& text);
  void PasteClipboard();
  void ClearSelection();

 signals:
  // The raw text changed through the user's editing.
  void RawTextEdited();

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void inputMethodEvent(QInputMethodEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void contextMenuEvent(QContextMenuEvent* event) override;

 private:
  void ReadSelection();
  void Show();
  void Edited(bool changed);

  GroupedText model_;
};
