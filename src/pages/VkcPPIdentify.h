#pragma once
// The Identification page ("Configurations"): the Qt view of VkcPPIdentifyModel.

#include "app/VkcPage.h"
#include "pages/VkcPPIdentifyModel.h"

class VkcMultiEdit;

class VkcPPIdentify : public VkcPage<VkcPPIdentifyModel> {
  Q_OBJECT
 public:
  VkcPPIdentify();

  // Six groups of two hex digits with "-" between them: the serial-number edits of the pages.
  static VkcMultiEdit* MakeUnitIdEdit(QWidget* parent);
};
