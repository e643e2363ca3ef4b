#pragma once
// The BERT Receive page (Utilities): the Qt view of VkcPPBERTRxModel. The engine posts 1040 to
// this page's window handle.

#include <memory>

#include "app/VkcPage.h"
#include "utilities/VkcPPBERTRxModel.h"

namespace platform::qt {
class WindowMessages;
}

class VkcPPBERTRx : public VkcPage<VkcPPBERTRxModel> {
  Q_OBJECT
 public:
  explicit VkcPPBERTRx(ModulinkApp& app);
  ~VkcPPBERTRx() override;
  platform::WindowHandle Handle() const;

 private:
  std::unique_ptr<platform::qt::WindowMessages> messages_;
};
