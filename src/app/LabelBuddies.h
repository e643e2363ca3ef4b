#pragma once
// A label whose text carries a mnemonic ("&List", "Pa&ttern"; "&&" is a plain ampersand) names
// the control after it: the label gets that control as its buddy, so the letter shows underlined
// and Alt+letter moves the focus there, as a dialog's tab order does. The control is the first
// one that takes the focus and follows the label where the layouts place it (a grid row by row,
// each row from the left), among the label's siblings and before the next label. When it is hidden or disabled at the time, Alt+letter goes to the next
// such control that is shown and enabled (two controls that share one place, one of them shown).

class QString;
class QWidget;

// Gives every label under root that shows a mnemonic and has no buddy yet its buddy. Labels with
// a buddy of their own are left as they are, so a second call changes nothing.
void AssignLabelBuddies(QWidget* root);

// True when text has an "&" that marks a letter (not "&&", not a final "&").
bool HasMnemonic(const QString& text);
