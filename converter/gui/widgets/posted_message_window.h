// SPDX-License-Identifier: GPL-2.0-or-later
// The window handle the encoder and the device watches post to: every posted
// message becomes a Qt event for this object and is handled on its thread,
// so the handler may touch widgets.
#pragma once

#include <QObject>
#include <functional>

#include "platform/base/message_window.h"

class PostedMessageWindow : public QObject {
 public:
  using Handler = std::function<void(const WindowMessage&)>;

  explicit PostedMessageWindow(Handler handler, QObject* parent = nullptr);
  // Later posts are dropped; bitmaps of progress messages not yet handled
  // are freed.
  ~PostedMessageWindow() override;
  PostedMessageWindow(const PostedMessageWindow&) = delete;
  PostedMessageWindow& operator=(const PostedMessageWindow&) = delete;

  HWND window() const { return m_window; }

 protected:
  bool event(QEvent* event) override;

 private:
  static void Post(void* context, const WindowMessage& message);

  Handler m_handler;
  HWND m_window;
};
