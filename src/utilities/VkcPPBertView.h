#pragma once
// Widgets both BERT pages share: the statistics-file row, the running time and elapsed time, and
// the save-file dialog of "Browse".

#include <QString>
#include <string>

class QWidget;
class QGroupBox;

namespace bertview {

// The statistics group (check box, path, "Browse"), the running time and the elapsed-time row
// with its progress bar, named by control id.
QGroupBox* StatisticsGroup(QWidget* parent);
QGroupBox* RunGroup(QWidget* parent);
// The save-file dialog; empty when cancelled.
std::u16string ChooseStatFile(QWidget* parent, const std::u16string& current);
// A read-only display edit.
QWidget* Display(QWidget* parent, int id);

}  // namespace bertview
