#pragma once
// The Connection page ("Preferences"): the Qt view of VkcPPConnectionModel. The ports post their
// status (1044) to this page's window handle.

#include <memory>

#include "app/VkcTabPPDialog.h"
#include "pages/VkcPPConnectionModel.h"

class PageBinder;
namespace platform::qt {
class WindowMessages;
}

class VkcPPConnection : public VkcTabPPDialog {
  Q_OBJECT
 public:
  VkcPPConnection(ModulinkApp& app, VkcDeviceManager& devices, QWidget* parent = nullptr);
  ~VkcPPConnection() override;

  void RefreshPage() override;
  void CommitPendingEdit() override;

  VkcPPConnectionModel& Model() { return model_; }
  PageBinder& Binder() { return *binder_; }
  platform::WindowHandle Handle() const;

 private:
  void OnControl(int id, int event);
  void BindHost();

  VkcPPConnectionModel model_;
  std::unique_ptr<platform::qt::WindowMessages> messages_;
  PageBinder* binder_ = nullptr;
};
