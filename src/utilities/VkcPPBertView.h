#pragma once
// Widgets both BERT pages share: the statistics-file row, the running time and elapsed time, and
// the save-file dialog of "Browse".

#include <QString>
#include <functional>
#include <memory>
#include <string>

class QWidget;
class QGroupBox;
class VkcPPBertModel;

namespace platform::qt {
class WindowMessages;
}

namespace bertview {

// The statistics group (check box, path, "Browse"), the running time and the elapsed-time row
// with its progress bar, named by control id.
QGroupBox* StatisticsGroup(QWidget* parent);
QGroupBox* RunGroup(QWidget* parent);
// The save-file dialog; empty when cancelled.
std::u16string ChooseStatFile(QWidget* parent, const std::u16string& current);
// A read-only display edit.
QWidget* Display(QWidget* parent, int id);
// The page's window for the engine's messages: each goes to the model, then update runs. The
// model also gets the save-file dialog.
std::unique_ptr<platform::qt::WindowMessages> Connect(QWidget* page, VkcPPBertModel& model,
                                                      std::function<void()> update);

}  // namespace bertview
