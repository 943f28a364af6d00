// SPDX-License-Identifier: GPL-2.0-or-later
// The window's side of one encoder run: the messages the encoder posted
// reach the window's event handler, which hands them over here; the job
// reads them while a nested event loop keeps the window alive.
#pragma once

#include <deque>
#include <functional>

#include "converter/core/job/run_messages.h"

class QEventLoop;

class PostedRunMessages : public RunMessages {
 public:
  using ProgressShown = std::function<void(int percent, HBITMAP thumbnail)>;

  PostedRunMessages(HWND window, const bool& stopRequested, ProgressShown progress)
      : m_window(window), m_stopRequested(stopRequested), m_progress(std::move(progress)) {}
  PostedRunMessages(const PostedRunMessages&) = delete;
  PostedRunMessages& operator=(const PostedRunMessages&) = delete;

  // A message the encoder posted, handed over by the window's event handler.
  void Deliver(const WindowMessage& message);
  // The wait ended because the application is quitting.
  bool Quit() const { return m_quit; }

  HWND Window() const override { return m_window; }
  Wait Next(WindowMessage& message, std::chrono::milliseconds timeout) override;
  bool StopRequested() const override { return m_stopRequested; }
  void Progress(int percent, HBITMAP thumbnail) override { m_progress(percent, thumbnail); }

 private:
  HWND m_window;
  const bool& m_stopRequested;
  ProgressShown m_progress;
  std::deque<WindowMessage> m_messages;
  QEventLoop* m_loop = nullptr;
  bool m_quit = false;
};
