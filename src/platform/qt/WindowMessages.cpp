#include "platform/qt/WindowMessages.h"

#include <QCoreApplication>

namespace platform::qt {

namespace {
class PostedMessageEvent : public QEvent {
 public:
  PostedMessageEvent(uint32_t m, intptr_t w, intptr_t l)
      : QEvent(WindowMessages::EventType()), msg(m), wParam(w), lParam(l) {}
  uint32_t msg;
  intptr_t wParam;
  intptr_t lParam;
};
}  // namespace

QEvent::Type WindowMessages::EventType() {
  static const QEvent::Type type = static_cast<QEvent::Type>(QEvent::registerEventType());
  return type;
}

WindowMessages::WindowMessages(Handler handler, QObject* parent)
    : QObject(parent), handler_(std::move(handler)), handle_(platform::RegisterWindow(this)) {}

WindowMessages::~WindowMessages() { platform::UnregisterWindow(handle_); }

void WindowMessages::Deliver(uint32_t msg, intptr_t wParam, intptr_t lParam) {
  QCoreApplication::postEvent(this, new PostedMessageEvent(msg, wParam, lParam));
}

void WindowMessages::customEvent(QEvent* event) {
  if (event->type() != EventType()) return;
  auto* posted = static_cast<PostedMessageEvent*>(event);
  if (handler_) handler_(posted->msg, posted->wParam, posted->lParam);
}

}  // namespace platform::qt
