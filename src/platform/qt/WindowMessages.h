#pragma once
// Window-message delivery for Qt objects. A WindowMessages member gives its owner a window handle
// that workers post to; each posted message is queued with QCoreApplication::postEvent and handed
// to the owner's handler on the owner's (user-interface) thread. When the member goes, the handle
// is unregistered first, so later posts are dropped, and Qt discards what is still queued.

#include <QEvent>
#include <QObject>
#include <cstdint>
#include <functional>

#include "platform/Messages.h"

namespace platform::qt {

class WindowMessages : public QObject, public platform::MessageSink {
  Q_OBJECT
 public:
  using Handler = std::function<void(uint32_t msg, intptr_t wParam, intptr_t lParam)>;

  explicit WindowMessages(Handler handler, QObject* parent = nullptr);
  ~WindowMessages() override;

  platform::WindowHandle Handle() const { return handle_; }

  // Called by the registry from any thread: queues the message for this object's thread.
  void Deliver(uint32_t msg, intptr_t wParam, intptr_t lParam) override;

  static QEvent::Type EventType();

 protected:
  void customEvent(QEvent* event) override;

 private:
  Handler handler_;
  platform::WindowHandle handle_;
};

}  // namespace platform::qt
