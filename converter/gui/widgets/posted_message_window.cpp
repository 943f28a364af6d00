// SPDX-License-Identifier: GPL-2.0-or-later
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
  explicit PostedMessageEvent(const WindowMessage& message) : QEvent(kPostedMessageEvent), m_message(message) {}
  ~PostedMessageEvent() override {
    if (!m_handled && m_message.message == WM_TRANSCODE_PROGRESS && m_message.lParam != 0)
      DeleteObject(reinterpret_cast<HGDIOBJ>(m_message.lParam));
  }
  const WindowMessage& Take() {
    m_handled = true;
    return m_message;
  }

 private:
  WindowMessage m_message;
  bool m_handled = false;
};

}  // namespace

PostedMessageWindow::PostedMessageWindow(Handler handler, QObject* parent)
    : QObject(parent), m_handler(std::move(handler)), m_window(CreateMessageWindow(&PostedMessageWindow::Post, this)) {}

PostedMessageWindow::~PostedMessageWindow() {
  DestroyMessageWindow(m_window);
  QCoreApplication::removePostedEvents(this, kPostedMessageEvent);
}

void PostedMessageWindow::Post(void* context, const WindowMessage& message) {
  QCoreApplication::postEvent(static_cast<PostedMessageWindow*>(context), new PostedMessageEvent(message));
}

bool PostedMessageWindow::event(QEvent* event) {
  if (event->type() != kPostedMessageEvent) return QObject::event(event);
  if (m_handler) m_handler(static_cast<PostedMessageEvent*>(event)->Take());
  return true;
}
