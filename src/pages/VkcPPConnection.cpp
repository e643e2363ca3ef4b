#include "pages/VkcPPConnection.h"

#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "link/VkcComPort.h"
#include "platform/qt/WindowMessages.h"

namespace {
QLabel* Label(const char* text, int id, QWidget* parent) {
  auto* label = new QLabel(QString::fromUtf8(text), parent);
  label->setObjectName(PageBinder::ObjectName(id));
  return label;
}
}  // namespace

VkcPPConnection::VkcPPConnection(ModulinkApp& app, VkcDeviceManager& devices) : VkcPage(130, app, devices) {
  using M = VkcPPConnectionModel;
  auto* settings = Named(new QGroupBox(QStringLiteral("Connection settings"), this), M::kSettingsGroup);
  auto* form = new QFormLayout(settings);
  auto* type = Named(new QComboBox(settings), M::kType);
  form->addRow(QString(), type);
  auto* serialLabel = Label("&Serial Port", M::kSerialPortLabel, settings);
  auto* serial = Named(new QComboBox(settings), M::kSerialPort);
  serialLabel->setBuddy(serial);
  form->addRow(serialLabel, serial);
  auto* rateLabel = Label("&Baud Rate", M::kRateLabel, settings);
  auto* rate = Named(new QComboBox(settings), M::kRate);
  rateLabel->setBuddy(rate);
  form->addRow(rateLabel, rate);
  form->addRow(Label("TCP Address", M::kAddressLabel, settings), Named(new QLineEdit(settings), M::kAddress));
  form->addRow(Label("TCP Port", M::kTcpPortLabel, settings), Named(new QLineEdit(settings), M::kTcpPort));
  form->addRow(Label("User Name", M::kUserNameLabel, settings), Named(new QLineEdit(settings), M::kUserName));
  auto* password = Named(new QLineEdit(settings), M::kPassword);
  password->setEchoMode(QLineEdit::Password);
  form->addRow(Label("Password", M::kPasswordLabel, settings), password);
  form->addRow(QString(), Named(new QComboBox(settings), M::kInterface));
  form->addRow(Label("Unit's Serial Port on GPS Receiver", M::kReceiverLabel, settings),
               Named(new QComboBox(settings), M::kReceiverPort));
  form->setRowWrapPolicy(QFormLayout::DontWrapRows);

  auto* unit = Named(new QGroupBox(QStringLiteral("Communication with the Unit"), this), M::kUnitGroup);
  auto* row = new QHBoxLayout(unit);
  auto* connect = Named(new QPushButton(QStringLiteral("Connect"), unit), M::kConnect);
  row->addWidget(connect);
  row->addWidget(Named(new QLabel(QStringLiteral("Ready to connect."), unit), M::kStatus), 1);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(settings);
  layout->addWidget(unit);
  layout->addStretch(1);
  MakeNonDefault(this);

  messages_ = std::make_unique<platform::qt::WindowMessages>(
      [this](uint32_t msg, intptr_t wParam, intptr_t) {
        if (msg != kPortStatusMessage) return;
        GetModel().OnPortStatus(wParam);
        UpdateControls();
      },
      this);
  GetModel().SetWindow(messages_->Handle());
  Bind();
  GetModel().Init();
  UpdateControls();
}

VkcPPConnection::~VkcPPConnection() = default;

platform::WindowHandle VkcPPConnection::Handle() const { return messages_->Handle(); }
