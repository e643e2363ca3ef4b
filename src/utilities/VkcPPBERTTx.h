#pragma once
// The BERT Transmit page (Utilities): the Qt view of VkcPPBERTTxModel. The engine posts 1040 to
// this page's window handle.

#include <memory>

#include "app/VkcPage.h"
#include "utilities/VkcPPBERTTxModel.h"

namespace platform::qt {
class WindowMessages;
}

class VkcPPBERTTx : public VkcPage<VkcPPBERTTxModel> {
  Q_OBJECT
 public:
  explicit VkcPPBERTTx(ModulinkApp& app);
  ~VkcPPBERTTx() override;
  platform::WindowHandle Handle() const;

 private:
  std::unique_ptr<platform::qt::WindowMessages> messages_;
};
