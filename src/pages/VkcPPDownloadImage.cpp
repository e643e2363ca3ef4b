#include "pages/VkcPPDownloadImage.h"

#include <QComboBox>
#include <QFileDialog>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>

#include "link/VkcMessageIds.h"
#include "platform/qt/WindowMessages.h"
#include "unit/VkcFirmwareDownload.h"

VkcPPDownloadImage::VkcPPDownloadImage(ModulinkApp& app) : VkcPage(145, app) {
  using M = VkcPPDownloadImageModel;
  auto* layout = new QGridLayout(this);
  layout->addWidget(new QLabel(QStringLiteral("&Firmware file"), this), 0, 0);
  auto* file = Named(new QLineEdit(this), M::kFileName);
  layout->addWidget(file, 0, 1);
  layout->addWidget(Named(new QPushButton(QStringLiteral("..."), this), M::kBrowse), 0, 2);
  layout->addWidget(new QLabel(QStringLiteral("Firmware for"), this), 1, 0);
  layout->addWidget(Named(new QComboBox(this), M::kTarget), 1, 1);
  auto* log = Named(new QPlainTextEdit(this), M::kLog);
  log->setReadOnly(true);
  layout->addWidget(log, 2, 0, 1, 3);
  layout->addWidget(Named(new QProgressBar(this), M::kProgress), 3, 0, 1, 3);
  layout->addWidget(Named(new QPushButton(QStringLiteral("Download"), this), M::kDownload), 4, 2);
  layout->setRowStretch(2, 1);

  messages_ = std::make_unique<platform::qt::WindowMessages>(
      [this](uint32_t msg, intptr_t wParam, intptr_t lParam) {
        if (msg != kMsgProgress) return;
        GetModel().OnProgressMessage(wParam, lParam);
        UpdateControls();
      },
      this);
  GetModel().SetWindow(messages_->Handle());
  GetModel().SetFileChooser([this](const std::u16string& start) {
    const QString chosen = QFileDialog::getOpenFileName(
        this, QString(), QString::fromStdU16String(start),
        QStringLiteral("XModem Image File (*.cxmd *.xmd);;All Files (*)"));
    return chosen.toStdU16String();
  });
  Bind();
  UpdateControls();
}

VkcPPDownloadImage::~VkcPPDownloadImage() {
  // The engine's worker ends before the window handle it posts to goes.
  if (VkcFirmwareDownload* engine = GetModel().Engine()) {
    engine->RequestStop();
    engine->Finish();
  }
}

platform::WindowHandle VkcPPDownloadImage::Handle() const { return messages_->Handle(); }
