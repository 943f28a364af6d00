#include "converter/gui/widgets/posted_message_window.h"

#include <QCoreApplication>
#include <QEvent>

#include "platform/base/bitmap.h"
#include "kdx.h"

namespace {

const QEvent::Type kPostedMessageEvent = static_cast<QEvent::Type>(QEvent::registerEventType());

// Carries one posted message; a progress message's bitmap belongs to the
// receiver, so an event dropped unhandled frees it.
class PostedMessageEvent : public QEvent {
 public:
  explicit PostedMessageEvent(const WindowMessage& message) : QEvent(kPostedMessageEvent), message_(message) {}
  ~PostedMessageEvent() override {
    if (!handled_ && message_.message == WM_TRANSCODE_PROGRESS && message_.lParam != 0)
      DeleteObject(reinterpret_cast<HGDIOBJ>(message_.lParam));
  }
  const WindowMessage& Take() {
    handled_ = true;
    return message_;
  }

 private:
  WindowMessage message_;
  bool handled_ = false;
};

}  // namespace

PostedMessageWindow::PostedMessageWindow(Handler handler, QObject* parent)
    : QObject(parent), handler_(std::move(handler)), window_(CreateMessageWindow(&PostedMessageWindow::Post, this)) {}

PostedMessageWindow::~PostedMessageWindow() {
  DestroyMessageWindow(window_);
  QCoreApplication::removePostedEvents(this, kPostedMessageEvent);
}

void PostedMessageWindow::Post(void* context, const WindowMessage& message) {
  QCoreApplication::postEvent(static_cast<PostedMessageWindow*>(context), new PostedMessageEvent(message));
}

bool PostedMessageWindow::event(QEvent* event) {
  if (event->type() != kPostedMessageEvent) return QObject::event(event);
  if (handler_) handler_(static_cast<PostedMessageEvent*>(event)->Take());
  return true;
}
