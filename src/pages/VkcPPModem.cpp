#include "pages/VkcPPModem.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QSlider>
#include <QVBoxLayout>

namespace {

using M = VkcPPModemModel;

// A slider with its edit and the "ms." after it, on one row.
QHBoxLayout* SliderRow(QWidget* parent, int sliderId, int editId) {
  auto* row = new QHBoxLayout;
  auto* slider = new QSlider(Qt::Horizontal, parent);
  slider->setObjectName(PageBinder::ObjectName(sliderId));
  auto* edit = new QLineEdit(parent);
  edit->setObjectName(PageBinder::ObjectName(editId));
  edit->setMaximumWidth(80);
  row->addWidget(slider, 1);
  row->addWidget(edit);
  row->addWidget(new QLabel(QStringLiteral("ms."), parent));
  return row;
}

std::vector<QAbstractButton*> Radios(QWidget* parent, QLayout* layout, const int* ids,
                                     std::initializer_list<const char*> texts) {
  std::vector<QAbstractButton*> buttons;
  for (const char* text : texts) {
    auto* button = new QRadioButton(QString::fromUtf8(text), parent);
    button->setObjectName(PageBinder::ObjectName(ids[buttons.size()]));
    layout->addWidget(button);
    buttons.push_back(button);
  }
  return buttons;
}

}  // namespace

VkcPPModem::VkcPPModem() : VkcPage(153) {
  auto* sleepBox = new QGroupBox(this);
  auto* sleep = new QVBoxLayout(sleepBox);
  sleep->addWidget(Named(new QCheckBox(QStringLiteral("&Sleep Mode"), sleepBox), M::kSleep));
  sleep->addWidget(new QLabel(QStringLiteral("Go to Sleep mode if no &activity for:"), sleepBox));
  sleep->addLayout(SliderRow(sleepBox, M::kInactivitySlider, M::kInactivity));
  auto* activate = new QGroupBox(QStringLiteral("Activate by:"), sleepBox);
  auto* wake = new QVBoxLayout(activate);
  wake->addWidget(Named(new QCheckBox(QStringLiteral("Internal &Real-Time clock"), activate), M::kClock));
  wake->addLayout(SliderRow(activate, M::kPeriodSlider, M::kPeriod));
  wake->addWidget(Named(new QCheckBox(QStringLiteral("&Control line"), activate), M::kControlLine));
  wake->addWidget(Named(new QCheckBox(QStringLiteral("External &Sense line"), activate), M::kSenseLine));
  sleep->addWidget(activate);

  auto* alarm1 = Named(new QGroupBox(QString(), this), M::kAlarm1Box);
  auto* first = new QVBoxLayout(alarm1);
  first->addWidget(Named(new QCheckBox(QStringLiteral("&First Alarm Event output"), alarm1), M::kOutput1));
  PageBinder::TagRadioGroup(M::kEvent1, Radios(alarm1, first, M::kEvent1Buttons,
                                               {"Sensor &1", "Sensor 1 &and Sensor 2", "Sensor 1 &or Sensor 2"}));
  auto* alarm2 = Named(new QGroupBox(QString(), this), M::kAlarm2Box);
  auto* second = new QVBoxLayout(alarm2);
  second->addWidget(Named(new QCheckBox(QStringLiteral("Second &Alarm Event output"), alarm2), M::kOutput2));
  PageBinder::TagRadioGroup(M::kEvent2, Radios(alarm2, second, M::kEvent2Buttons,
                                               {"Sensor &2", "SYNC L&oss", "&BER  > Threshold or SYNC Loss"}));
  auto* thresholds = new QHBoxLayout;
  second->addLayout(thresholds);
  PageBinder::TagRadioGroup(M::kThreshold, Radios(alarm2, thresholds, M::kThresholdButtons,
                                                  {"BER Threshold > 10E-&3", "BER &Threshold > 10E-2"}));

  auto* alarms = new QHBoxLayout;
  alarms->addWidget(alarm1);
  alarms->addWidget(alarm2);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(sleepBox);
  layout->addLayout(alarms);
  layout->addStretch(1);
  MakeNonDefault(this);
  Bind();
  UpdateControls();
}
