#include "app/PageModel.h"

#include "app/PageHost.h"
#include "devices/VkcDevice.h"
#include "unit/VkcSystem.h"

namespace {
// The connected unit's model id; 0 without a host, a device or a model.
int ModelOf(PageHost* host) {
  const VkcDevice* device = host != nullptr ? host->Unit().GetCurrentDevice() : nullptr;
  return device != nullptr && device->GetModelId() > 0 ? device->GetModelId() : 0;
}
}  // namespace

bool PageModel::TakeValues() {
  VkcDataExchange dx(&controls_);
  Exchange(dx);
  if (dx.Ok()) return true;
  ShowMessage(std::string_view(dx.Message()));
  if (dx.FailedControl() > 0) controls_.RequestFocus(dx.FailedControl());
  return false;
}

bool PageModel::Apply() { return TakeValues() && Store(); }

void PageModel::Handle(int id, ControlEvent event) {
  if (auto it = handlers_.find({id, event}); it != handlers_.end() && it->second) return it->second();
  if (auto it = anyHandlers_.find(id); it != anyHandlers_.end() && it->second) it->second(event);
}

void PageModel::On(int id, ControlEvent event, Handler handler) { handlers_[{id, event}] = std::move(handler); }

void PageModel::OnAny(int id, std::function<void(ControlEvent)> handler) { anyHandlers_[id] = std::move(handler); }

int PageModel::ShowMessage(std::string_view utf8, unsigned flags, bool hint) {
  if (host_ == nullptr) return 0;
  if (showControls_) showControls_();
  return host_->ShowMessage(utf8, flags, hint);
}

int PageModel::ShowMessage(const std::u16string& text, unsigned flags, bool hint) {
  if (host_ == nullptr) return 0;
  if (showControls_) showControls_();
  return host_->ShowMessage(text, flags, hint);
}

void PageModel::NoteFilledUnit(bool filled) {
  filledModel_ = filled ? ModelOf(host_) : 0;
  filledIdentification_ = filledModel_ != 0 ? host_->Unit().GetIdentification() : 0;
}

bool PageModel::IsFilledUnit() const {
  return filledModel_ != 0 && ModelOf(host_) == filledModel_ &&
         host_->Unit().GetIdentification() == filledIdentification_;
}
