#include "pages/VkcPPNetworkIdentify.h"

#include <QGridLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <QScrollBar>
#include <QStyle>
#include <QStyledItemDelegate>
#include <QTimer>
#include <QTreeWidget>

#include "link/VkcMessageIds.h"
#include "platform/qt/WindowMessages.h"

namespace {

using M = VkcPPNetworkIdentifyModel;

// The parameter list: section rows (no leading spaces) in bold, and grid lines between cells.
class ParameterDelegate : public QStyledItemDelegate {
 public:
  using QStyledItemDelegate::QStyledItemDelegate;

 protected:
  void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override {
    QStyledItemDelegate::initStyleOption(option, index);
    if (!index.sibling(index.row(), 0).data().toString().startsWith(QStringLiteral("  "))) {
      option->font.setWeight(QFont::Bold);
    }
  }
  void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override {
    QStyledItemDelegate::paint(painter, option, index);
    painter->save();
    painter->setPen(option.palette.color(QPalette::Mid));
    painter->drawLine(option.rect.bottomLeft(), option.rect.bottomRight());
    painter->drawLine(option.rect.topRight(), option.rect.bottomRight());
    painter->restore();
  }
};

// A unit: a box with an antenna; answered units green, silent ones grey with a cross; while it is
// queried, waves leave the antenna (frame 0..3).
QIcon UnitImage(bool local, bool answered, int wave) {
  QPixmap pixmap(16, 16);
  pixmap.fill(Qt::transparent);
  QPainter p(&pixmap);
  p.setRenderHint(QPainter::Antialiasing);
  const QColor body = !answered ? QColor(150, 150, 150) : local ? QColor(40, 90, 170) : QColor(30, 140, 60);
  p.setPen(Qt::black);
  p.setBrush(body);
  p.drawRect(QRectF(1.5, 8.5, 9, 6));
  p.drawLine(QPointF(4, 8.5), QPointF(4, 2));
  if (wave >= 0) {
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(220, 120, 0), 1.2));
    for (int i = 0; i <= wave; ++i) {
      const double r = 2.5 + 2.5 * i;
      p.drawArc(QRectF(4 - r, 3 - r, 2 * r, 2 * r), -60 * 16, 120 * 16);
    }
  }
  if (!answered) {
    p.setPen(QPen(QColor(200, 0, 0), 1.6));
    p.drawLine(QPointF(9, 1), QPointF(15, 7));
    p.drawLine(QPointF(15, 1), QPointF(9, 7));
  }
  return QIcon(pixmap);
}

}  // namespace

std::vector<QIcon> VkcPPNetworkIdentify::TreeImages() {
  std::vector<QIcon> images(M::kImageCount);
  images[M::kImageLocal] = UnitImage(true, true, -1);
  images[M::kImageAnswered] = UnitImage(false, true, -1);
  for (int f = 0; f < 4; ++f) {
    images[static_cast<size_t>(M::kImageLocalFirst + f)] = UnitImage(true, true, f);
    images[static_cast<size_t>(M::kImageRemoteFirst + f)] = UnitImage(false, true, f);
  }
  images[10] = images[M::kImageAnswered];  // unused
  images[M::kImageSilent] = UnitImage(false, false, -1);
  return images;
}

VkcPPNetworkIdentify::VkcPPNetworkIdentify() : VkcPage(146) {
  auto* layout = new QGridLayout(this);
  auto* tree = Named(new QTreeWidget(this), M::kTree);
  tree->setHeaderHidden(true);
  tree->setIconSize(QSize(16, 16));
  auto* label = new QLabel(QStringLiteral("&Network topography"), this);
  label->setBuddy(tree);
  list_ = Named(new QTreeWidget(this), M::kList);
  list_->setRootIsDecorated(false);
  list_->setUniformRowHeights(true);
  list_->setSelectionBehavior(QAbstractItemView::SelectRows);
  list_->setItemDelegate(new ParameterDelegate(list_));
  layout->addWidget(label, 0, 0);
  layout->addWidget(tree, 1, 0);
  layout->addWidget(list_, 0, 1, 2, 1);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(Named(new QPushButton(QStringLiteral("Refresh Network"), this), M::kRefreshNetwork));
  buttons->addWidget(Named(new QPushButton(QStringLiteral("Refresh Unit"), this), M::kRefreshUnit));
  layout->addLayout(buttons, 2, 0, 1, 2);
  layout->setColumnStretch(0, 2);
  layout->setColumnStretch(1, 3);
  layout->setRowStretch(1, 1);

  timer_ = new QTimer(this);
  timer_->setInterval(M::kTimerMs);
  connect(timer_, &QTimer::timeout, this, [this] {
    GetModel().OnTimer();
    UpdateControls();
  });
  messages_ = std::make_unique<platform::qt::WindowMessages>(
      [this](uint32_t msg, intptr_t wParam, intptr_t lParam) {
        if (msg != kMsgProgress) return;
        GetModel().OnProgressMessage(wParam, lParam);
        UpdateControls();
      },
      this);
  GetModel().SetWindow(messages_->Handle());
  GetModel().SetTimer([this](bool run) {
    if (run)
      timer_->start();
    else
      timer_->stop();
  });
  Bind();
  GetBinder()->SetIcons(M::kTree, TreeImages());
  UpdateControls();
}

VkcPPNetworkIdentify::~VkcPPNetworkIdentify() {
  // The survey's worker ends before the window handle it posts to goes.
  if (VkcNetworkSurvey* survey = GetModel().Survey(); survey != nullptr && survey->IsRunning()) {
    survey->RequestStop();
    survey->Finish();
  }
}

platform::WindowHandle VkcPPNetworkIdentify::Handle() const { return messages_->Handle(); }

void VkcPPNetworkIdentify::SizeListColumns() {
  const int width = list_->viewport()->width();
  const int first = std::max(40, width / 3 - style()->pixelMetric(QStyle::PM_ScrollBarExtent));
  list_->setColumnWidth(0, first);
  list_->setColumnWidth(1, std::max(40, width * 2 / 3));
}

void VkcPPNetworkIdentify::resizeEvent(QResizeEvent* event) {
  VkcPage::resizeEvent(event);
  SizeListColumns();
}

void VkcPPNetworkIdentify::showEvent(QShowEvent* event) {
  VkcPage::showEvent(event);
  SizeListColumns();
}
