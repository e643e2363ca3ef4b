#pragma once
// A settings or utility page built on its model: the view class derives from VkcPage<Model>,
// builds its widgets named with Named(widget, id) in its constructor and ends it with Bind().
// Refresh, apply, the pending lost-focus check and the lifetimes are the kit's.

#include <memory>
#include <utility>

#include "app/PageBinder.h"
#include "app/PageModel.h"
#include "app/VkcTabPPDialog.h"

template <class Model>
class VkcPage : public VkcTabPPDialog {
 public:
  Model& GetModel() { return *model_; }
  const Model& GetModel() const { return *model_; }

 protected:
  // The model is made with args; it is owned by the page base from Bind() on.
  template <class... Args>
  explicit VkcPage(int templateId, Args&&... args)
      : VkcTabPPDialog(templateId), owned_(std::make_unique<Model>(std::forward<Args>(args)...)),
        model_(owned_.get()) {}

  // Names a widget after its control id so the binder (and tests) find it.
  template <class W>
  static W* Named(W* widget, int id) {
    widget->setObjectName(PageBinder::ObjectName(id));
    return widget;
  }

  // Binds every widget built so far to the model.
  void Bind() { BindModel(std::move(owned_)); }

 private:
  std::unique_ptr<Model> owned_;
  Model* model_;
};
