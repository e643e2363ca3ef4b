#include "pages/VkcPPSerial.h"

#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

VkcPPSerial::VkcPPSerial() : VkcPage(134) {
  using M = VkcPPSerialModel;
  auto* maintenance = Named(new QGroupBox(QStringLiteral("&Maintenance Mode"), this), M::kMaintenanceBox);
  auto* left = new QFormLayout(maintenance);
  auto* maintenanceRate = Named(new QComboBox(maintenance), M::kMaintenanceRate);
  auto* rateLabel = Named(new QLabel(QStringLiteral("UART &Baud rate"), maintenance), M::kMaintenanceLabel);
  rateLabel->setBuddy(maintenanceRate);
  left->addRow(rateLabel, maintenanceRate);
  auto* buffering = Named(new QComboBox(maintenance), M::kBuffering);
  left->addRow(new QLabel(QStringLiteral("Received (over the air) data buffering in maintenance mode"), maintenance));
  left->addRow(buffering);

  auto* data = new QGroupBox(QStringLiteral("&Data Mode"), this);
  auto* right = new QFormLayout(data);
  const auto addRow = [&](const char* text, QWidget* field) {
    auto* label = new QLabel(QString::fromUtf8(text), data);
    label->setBuddy(field);
    right->addRow(label, field);
  };
  addRow("UART Baud &rate", Named(new QComboBox(data), M::kDataRate));
  addRow("UART &Parity", Named(new QComboBox(data), M::kParity));
  addRow("UART Byte &size", Named(new QComboBox(data), M::kByteSize));
  addRow("UART &Flow control", Named(new QComboBox(data), M::kFlow));
  auto* routing = new QGroupBox(QStringLiteral("Routing"), data);
  auto* routes = new QFormLayout(routing);
  routes->addRow(new QLabel(QStringLiteral("Active destination port(s) (write received data to)"), routing));
  routes->addRow(Named(new QComboBox(routing), M::kDestination));
  routes->addRow(new QLabel(QStringLiteral("Active source port (read data to transmit from)"), routing));
  routes->addRow(Named(new QComboBox(routing), M::kSource));
  routes->addRow(Named(new QLabel(QStringLiteral("Routing type"), routing), M::kRoutingLabel));
  routes->addRow(Named(new QComboBox(routing), M::kRouting));
  right->addRow(routing);

  auto* row = new QHBoxLayout;
  row->addWidget(maintenance, 1, Qt::AlignTop);
  row->addWidget(data, 1);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(row);
  layout->addStretch(1);
  Bind();
}
