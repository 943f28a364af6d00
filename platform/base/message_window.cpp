// SPDX-License-Identifier: GPL-2.0-or-later
#include "platform/base/message_window.h"

#include "platform/base/bitmap.h"

struct MessageWindow {
  MessagePostFunction post;
  void* context;
};

extern "C" HWND CreateMessageWindow(MessagePostFunction post, void* context) {
  if (post == nullptr) return nullptr;
  return new MessageWindow{post, context};
}

extern "C" void DestroyMessageWindow(HWND window) { delete window; }

extern "C" BOOL PostMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (window == nullptr) return FALSE;
  window->post(window->context, WindowMessage{message, wParam, lParam});
  return TRUE;
}

MessageQueue::MessageQueue() : window_(CreateMessageWindow(&MessageQueue::Post, this)) {}

MessageQueue::~MessageQueue() {
  DestroyMessageWindow(window_);
  Clear();
}

void MessageQueue::Post(void* context, const WindowMessage& message) {
  auto* self = static_cast<MessageQueue*>(context);
  // Signalled under the lock: a receiver that takes this message and then
  // destroys the queue cannot do so while the signal is still on its way.
  std::lock_guard<std::mutex> lock(self->mutex_);
  self->messages_.push_back(message);
  self->ready_.notify_one();
}

bool MessageQueue::Get(WindowMessage& out, std::chrono::milliseconds timeout) {
  std::unique_lock<std::mutex> lock(mutex_);
  if (!ready_.wait_for(lock, timeout, [this] { return !messages_.empty(); })) return false;
  out = messages_.front();
  messages_.pop_front();
  return true;
}

void MessageQueue::Clear() {
  std::lock_guard<std::mutex> lock(mutex_);
  // Progress messages carry bitmaps that the receiver owns.
  for (const WindowMessage& m : messages_) {
    if (m.message == WM_USER + 1 && m.lParam != 0) DeleteObject(reinterpret_cast<HGDIOBJ>(m.lParam));
  }
  messages_.clear();
}
