#pragma once
// The Networking group's Identification page: the Qt view of VkcPPNetworkIdentifyModel. The
// survey's worker posts 2024 to this page's window handle; a 75 ms timer animates the unit being
// queried.

#include <QIcon>
#include <memory>
#include <vector>

#include "app/VkcPage.h"
#include "pages/VkcPPNetworkIdentifyModel.h"

class QTimer;
class QTreeWidget;
namespace platform::qt {
class WindowMessages;
}

class VkcPPNetworkIdentify : public VkcPage<VkcPPNetworkIdentifyModel> {
  Q_OBJECT
 public:
  VkcPPNetworkIdentify();
  ~VkcPPNetworkIdentify() override;
  platform::WindowHandle Handle() const;
  // The tree's twelve 16-pixel images, drawn here.
  static std::vector<QIcon> TreeImages();

 protected:
  void resizeEvent(QResizeEvent* event) override;
  void showEvent(QShowEvent* event) override;

 private:
  void SizeListColumns();

  QTreeWidget* list_;
  QTimer* timer_;
  std::unique_ptr<platform::qt::WindowMessages> messages_;
};
