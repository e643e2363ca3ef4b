#pragma once
// The Remote List page ("Configurations"): the Qt view of VkcPPRemoteListModel.

#include "app/VkcPage.h"
#include "pages/VkcPPRemoteListModel.h"

class VkcPPRemoteList : public VkcPage<VkcPPRemoteListModel> {
  Q_OBJECT
 public:
  VkcPPRemoteList();
};
