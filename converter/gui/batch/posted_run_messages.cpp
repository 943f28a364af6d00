#include "converter/gui/batch/posted_run_messages.h"

#include <QEventLoop>
#include <QTimer>

void PostedRunMessages::Deliver(const WindowMessage& message) {
  messages_.push_back(message);
  if (loop_ != nullptr) loop_->quit();
}

RunMessages::Wait PostedRunMessages::Next(WindowMessage& message, std::chrono::milliseconds timeout) {
  if (messages_.empty() && !quit_) {
    QEventLoop loop;
    bool timedOut = false;
    QTimer::singleShot(timeout, &loop, [&] {
      timedOut = true;
      loop.quit();
    });
    loop_ = &loop;
    // Returns at once, without handling anything, once the application is
    // quitting.
    loop.exec();
    loop_ = nullptr;
    quit_ = messages_.empty() && !timedOut;
  }
  if (messages_.empty()) return quit_ ? Wait::kQuit : Wait::kTimeout;
  message = messages_.front();
  messages_.pop_front();
  return Wait::kMessage;
}
