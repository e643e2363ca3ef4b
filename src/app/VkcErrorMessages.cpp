#include "app/VkcErrorMessages.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFontDatabase>
#include <QHBoxLayout>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "link/VkcErrorProcessor.h"

VkcErrorMessages::VkcErrorMessages(VkcErrorProcessor& log, QWidget* parent)
    : QDialog(parent), log_(log), text_(new QPlainTextEdit(this)), clear_(new QCheckBox(QStringLiteral("Clear"), this)) {
  setWindowTitle(QStringLiteral("Error Messages"));
  text_->setObjectName(QStringLiteral("ctl%1").arg(kIdText));
  clear_->setObjectName(QStringLiteral("ctl%1").arg(kIdClear));
  text_->setReadOnly(true);
  text_->setLineWrapMode(QPlainTextEdit::NoWrap);
  // One entry a row: line ends inside an entry's text show as "\r" and "\n".
  QString shown = QString::fromStdU16String(log_.GetText(shown_, true));
  shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  if (shown.endsWith(u'\n')) shown.chop(1);
  text_->setPlainText(shown);

  auto* close = new QPushButton(QStringLiteral("Close"), this);
  close->setDefault(true);
  connect(close, &QPushButton::clicked, this, &VkcErrorMessages::accept);
  auto* row = new QHBoxLayout;
  row->addWidget(clear_);
  row->addStretch();
  row->addWidget(close);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(text_);
  layout->addLayout(row);
  resize(520, 320);
}

void VkcErrorMessages::accept() {
  if (clear_->isChecked()) log_.ClearThrough(shown_);
  QDialog::accept();
}
