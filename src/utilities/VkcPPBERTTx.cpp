#include "utilities/VkcPPBERTTx.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QSlider>
#include <QVBoxLayout>

#include "platform/qt/WindowMessages.h"
#include "utilities/VkcPPBertView.h"

VkcPPBERTTx::VkcPPBERTTx(ModulinkApp& app) : VkcPage(140, app) {
  using M = VkcPPBERTTxModel;
  auto* radio = new QGroupBox(QStringLiteral("Radio"), this);
  auto* grid = new QGridLayout(radio);
  grid->addWidget(new QLabel(QStringLiteral("RF Power"), radio), 0, 0);
  auto* power = Named(new QSlider(Qt::Horizontal, radio), M::kPowerSlider);
  power->setTickPosition(QSlider::TicksBelow);
  grid->addWidget(Named(new QLabel(radio), M::kPowerMin), 0, 1);
  grid->addWidget(power, 0, 2);
  grid->addWidget(Named(new QLabel(radio), M::kPowerMax), 0, 3);
  grid->addWidget(Named(new QLineEdit(radio), M::kPower), 0, 4);
  grid->addWidget(Named(new QComboBox(radio), M::kPowerUnit), 0, 5);
  grid->addWidget(new QLabel(QStringLiteral("Modulation"), radio), 1, 0);
  grid->addWidget(Named(new QComboBox(radio), M::kModulation), 1, 1, 1, 2);
  grid->addWidget(Named(new QLabel(radio), M::kRateText), 1, 3, 1, 3);
  grid->addWidget(new QLabel(QStringLiteral("Protocol"), radio), 2, 0);
  // The lists take the whole row, so a narrow page still shows their names whole.
  grid->addWidget(Named(new QComboBox(radio), bertpage::kProtocol), 2, 1, 1, 5);
  grid->addWidget(new QLabel(QStringLiteral("Channel"), radio), 3, 0);
  grid->addWidget(Named(new QComboBox(radio), bertpage::kChannel), 3, 1, 1, 5);

  auto* rate = new QGroupBox(QStringLiteral("Transmission Rate"), this);
  auto* rateGrid = new QGridLayout(rate);
  auto* dutyRadio = new QRadioButton(QStringLiteral("Duty cycle"), rate);
  auto* intervalRadio = new QRadioButton(QStringLiteral("Intervals"), rate);
  PageBinder::TagRadioGroup(M::kRateMode, {dutyRadio, intervalRadio});
  auto* duty = Named(new QSlider(Qt::Horizontal, rate), M::kDutySlider);
  duty->setTickPosition(QSlider::TicksBelow);
  rateGrid->addWidget(dutyRadio, 0, 0);
  rateGrid->addWidget(duty, 0, 1);
  rateGrid->addWidget(Named(new QLineEdit(rate), M::kDuty), 0, 2);
  rateGrid->addWidget(new QLabel(QStringLiteral("%"), rate), 0, 3);
  auto* interval = Named(new QComboBox(rate), M::kInterval);
  interval->setEditable(true);
  rateGrid->addWidget(intervalRadio, 1, 0);
  rateGrid->addWidget(interval, 1, 1);
  rateGrid->addWidget(new QLabel(QStringLiteral("ms"), rate), 1, 2);

  auto* results = new QGroupBox(QStringLiteral("Results"), this);
  auto* resultGrid = new QGridLayout(results);
  const struct {
    const char* label;
    int id;
  } rows[] = {{"Bits transmitted", M::kBitsSent},  {"Messages transmitted", M::kMessagesSent},
              {"Data rate (bps)", M::kDataRate},   {"Duty cycle (%)", M::kShownDuty},
              {"Temperature (C)", M::kTemperature}};
  int r = 0;
  for (const auto& row : rows) {
    resultGrid->addWidget(new QLabel(QString::fromUtf8(row.label), results), r, 0);
    resultGrid->addWidget(bertview::Display(results, row.id), r, 1);
    ++r;
  }
  resultGrid->setRowStretch(r, 1);  // the rows stay together at the top of a taller box

  // Results beside the radio settings rather than below them: the page then fits a laptop screen.
  auto* settings = new QVBoxLayout;
  settings->addWidget(radio);
  settings->addWidget(rate);
  auto* top = new QHBoxLayout;
  top->addLayout(settings, 3);
  top->addWidget(results, 2);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(top);
  layout->addWidget(bertview::RunGroup(this));
  layout->addWidget(bertview::StatisticsGroup(this));
  layout->addStretch(1);
  MakeNonDefault(this);

  messages_ = bertview::Connect(this, GetModel(), [this] { UpdateControls(); });
  Bind();
  UpdateControls();
}

// The model's engine ends its worker as the model goes; posts to this page's handle are dropped.
VkcPPBERTTx::~VkcPPBERTTx() = default;

platform::WindowHandle VkcPPBERTTx::Handle() const { return messages_->Handle(); }
