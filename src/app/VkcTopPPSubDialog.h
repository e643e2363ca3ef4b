#pragma once
// Base of the group panels shown above the pages (their buttons act on the whole unit).

#include "app/VkcModulinkDlg.h"

class VkcTopPPSubDialog : public VkcModulinkDlg {
 public:
  explicit VkcTopPPSubDialog(int templateId, QWidget* parent = nullptr)
      : VkcModulinkDlg(parent), templateId_(templateId) {}
  int TemplateId() const { return templateId_; }

 private:
  int templateId_;
};
