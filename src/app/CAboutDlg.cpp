#include "app/CAboutDlg.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

CAboutDlg::CAboutDlg(QWidget* parent) : QDialog(parent) {
  setWindowTitle(QStringLiteral("About Modulink"));
  auto* icon = new QLabel(this);
  const QIcon programIcon = windowIcon().isNull() ? style()->standardIcon(QStyle::SP_ComputerIcon) : windowIcon();
  icon->setPixmap(programIcon.pixmap(32, 32));
  // The label breaks lines at LF; the text keeps its CR LF.
  auto* version = new QLabel(QString::fromLatin1(kVersionText).replace(QStringLiteral("\r\n"), QStringLiteral("\n")), this);
  version->setObjectName(QStringLiteral("ctl%1").arg(kIdVersion));
  auto* purpose = new QLabel(QStringLiteral("Radio Devices Management Program"), this);
  auto* ok = new QPushButton(QStringLiteral("OK"), this);
  ok->setDefault(true);
  connect(ok, &QPushButton::clicked, this, &QDialog::accept);

  auto* texts = new QVBoxLayout;
  texts->addWidget(version);
  texts->addWidget(purpose);
  auto* top = new QHBoxLayout;
  top->addWidget(icon, 0, Qt::AlignTop);
  top->addLayout(texts);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(ok);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(top);
  layout->addLayout(buttons);
  setFixedSize(sizeHint());
}
