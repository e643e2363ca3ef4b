#include "utilities/VkcPPBERTRx.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QVBoxLayout>

#include "platform/qt/WindowMessages.h"
#include "utilities/VkcPPBertView.h"

VkcPPBERTRx::VkcPPBERTRx(ModulinkApp& app) : VkcPage(143, app) {
  using M = VkcPPBERTRxModel;
  auto* radio = new QGroupBox(QStringLiteral("Radio"), this);
  auto* form = new QGridLayout(radio);
  form->addWidget(new QLabel(QStringLiteral("Channel"), radio), 0, 0);
  form->addWidget(Named(new QComboBox(radio), bertpage::kChannel), 0, 1);
  form->addWidget(new QLabel(QStringLiteral("Protocol"), radio), 1, 0);
  form->addWidget(Named(new QComboBox(radio), bertpage::kProtocol), 1, 1);

  auto* results = new QGroupBox(QStringLiteral("Results"), this);
  auto* grid = new QGridLayout(results);
  const struct {
    const char* label;
    int id;
  } rows[] = {{"Total bits received", M::kBitsReceived},      {"Total messages received", M::kMessagesReceived},
              {"Number of errored bits", M::kErroredBits},    {"Number of lost messages", M::kLost},
              {"Bit error rate", M::kBer},                    {"Availability", M::kAvailability},
              {"User data rate", M::kRate},                   {"Received signal level", M::kRsl},
              {"Transmitter power level", M::kRemotePower},   {"Recommended power level", M::kRecommendedPower},
              {"Temperature", M::kTemperature}};
  int r = 0;
  for (const auto& row : rows) {
    grid->addWidget(new QLabel(QString::fromUtf8(row.label), results), r / 2, (r % 2) * 2);
    grid->addWidget(bertview::Display(results, row.id), r / 2, (r % 2) * 2 + 1);
    ++r;
  }

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(radio);
  layout->addWidget(results);
  layout->addWidget(bertview::RunGroup(this));
  layout->addWidget(bertview::StatisticsGroup(this));
  layout->addStretch(1);
  MakeNonDefault(this);

  messages_ = bertview::Connect(this, GetModel(), [this] { UpdateControls(); });
  Bind();
  UpdateControls();
}

// The model's engine ends its worker as the model goes; posts to this page's handle are dropped.
VkcPPBERTRx::~VkcPPBERTRx() = default;

platform::WindowHandle VkcPPBERTRx::Handle() const { return messages_->Handle(); }
