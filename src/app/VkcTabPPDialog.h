#pragma once
// Base of every settings and utility page. The template id names the page's layout.

#include "app/VkcModulinkDlg.h"

class VkcTabPPDialog : public VkcModulinkDlg {
 public:
  explicit VkcTabPPDialog(int templateId, QWidget* parent = nullptr)
      : VkcModulinkDlg(parent), templateId_(templateId) {}
  int TemplateId() const { return templateId_; }

 private:
  int templateId_;
};
