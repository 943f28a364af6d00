// SPDX-License-Identifier: GPL-2.0-or-later
// Posted window messages. A receiver creates a message window with a post
// function; PostMessage hands every message to that function, which must
// deliver it later on the receiver's own thread (a queued event, a queue),
// never by running the handler inside PostMessage.
#pragma once

#include <chrono>
#include <condition_variable>
#include <deque>
#include <mutex>

#include "platform/base/platform_types.h"

struct WindowMessage {
  UINT message = 0;
  WPARAM wParam = 0;
  LPARAM lParam = 0;
};

typedef void (*MessagePostFunction)(void* context, const WindowMessage& message);

extern "C" {
HWND CreateMessageWindow(MessagePostFunction post, void* context);
void DestroyMessageWindow(HWND window);
// Returns FALSE for a null window; safe from any thread.
BOOL PostMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
}

// A thread-safe queue receiver for callers without an event loop (the
// command line, tests). Owns its message window.
class MessageQueue {
 public:
  MessageQueue();
  ~MessageQueue();
  MessageQueue(const MessageQueue&) = delete;
  MessageQueue& operator=(const MessageQueue&) = delete;

  HWND window() const { return window_; }
  // Waits up to timeout for the next message; false on time-out.
  bool Get(WindowMessage& out, std::chrono::milliseconds timeout);
  // Frees the bitmaps of progress messages still queued and empties the queue.
  void Clear();

 private:
  static void Post(void* context, const WindowMessage& message);

  HWND window_;
  std::mutex mutex_;
  std::condition_variable ready_;
  std::deque<WindowMessage> messages_;
};
