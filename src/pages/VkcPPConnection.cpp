#include "pages/VkcPPConnection.h"

#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/ModulinkDlg.h"
#include "app/PageBinder.h"
#include "link/VkcComPort.h"
#include "platform/qt/WindowMessages.h"

namespace {
template <typename W>
W* Named(W* widget, int id) {
  widget->setObjectName(PageBinder::ObjectName(id));
  return widget;
}
QLabel* Label(const char* text, int id, QWidget* parent) {
  return Named(new QLabel(QString::fromUtf8(text), parent), id);
}
}  // namespace

VkcPPConnection::VkcPPConnection(ModulinkApp& app, VkcDeviceManager& devices, QWidget* parent)
    : VkcTabPPDialog(130, parent), model_(app, devices) {
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
        BindHost();
        model_.OnPortStatus(wParam);
        if (binder_ != nullptr) binder_->Push();
      },
      this);
  model_.SetWindow(messages_->Handle());
  binder_ = new PageBinder(this, model_.Controls(), [this](int id, ControlEvent event) {
    OnControl(id, static_cast<int>(event));
  });
  model_.Init();
  binder_->Push();
}

VkcPPConnection::~VkcPPConnection() {
  // The binder refers to the model's controls: it goes before them (widgets going later still
  // send focus events).
  delete binder_;
  binder_ = nullptr;
}

platform::WindowHandle VkcPPConnection::Handle() const { return messages_->Handle(); }

void VkcPPConnection::BindHost() { model_.SetHost(GetHostDialog()); }

void VkcPPConnection::RefreshPage() {
  BindHost();
  model_.Refresh();
  binder_->Push();
}

void VkcPPConnection::CommitPendingEdit() { binder_->CommitFocusedEdit(); }

void VkcPPConnection::OnControl(int id, int eventCode) {
  using M = VkcPPConnectionModel;
  BindHost();
  const auto event = static_cast<ControlEvent>(eventCode);
  if (id == M::kPassword) return model_.OnPasswordChanged();
  if (event == ControlEvent::SelectionChanged) {
    switch (id) {
      case M::kType: return model_.OnTypeChanged();
      case M::kSerialPort: return model_.OnSerialPortChanged();
      case M::kRate: return model_.OnRateChanged();
      case M::kInterface: return model_.OnInterfaceChanged();
      case M::kReceiverPort: return model_.OnReceiverPortChanged();
      default: return;
    }
  }
  if (event == ControlEvent::FocusLost) {
    switch (id) {
      case M::kAddress: return model_.OnAddressDone();
      case M::kUserName: return model_.OnUserNameDone();
      case M::kTcpPort: return model_.OnTcpPortDone();
      default: return;
    }
  }
  if (event == ControlEvent::Clicked && id == M::kConnect) model_.OnConnect();
}
