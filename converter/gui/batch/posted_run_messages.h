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
      : window_(window), stopRequested_(stopRequested), progress_(std::move(progress)) {}
  PostedRunMessages(const PostedRunMessages&) = delete;
  PostedRunMessages& operator=(const PostedRunMessages&) = delete;

  // A message the encoder posted, handed over by the window's event handler.
  void Deliver(const WindowMessage& message);
  // The wait ended because the application is quitting.
  bool Quit() const { return quit_; }

  HWND Window() const override { return window_; }
  Wait Next(WindowMessage& message, std::chrono::milliseconds timeout) override;
  bool StopRequested() const override { return stopRequested_; }
  void Progress(int percent, HBITMAP thumbnail) override { progress_(percent, thumbnail); }

 private:
  HWND window_;
  const bool& stopRequested_;
  ProgressShown progress_;
  std::deque<WindowMessage> messages_;
  QEventLoop* loop_ = nullptr;
  bool quit_ = false;
};
