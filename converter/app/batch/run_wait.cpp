#include "run_wait.h"

#include <QEventLoop>

void RunWait::Signal() {
  signalled_ = true;
  if (loop_ != nullptr) loop_->quit();
}

bool RunWait::Wait() {
  if (signalled_) return true;
  QEventLoop loop;
  loop_ = &loop;
  // Returns at once, without handling anything, once the application is
  // quitting.
  loop.exec();
  loop_ = nullptr;
  return signalled_;
}
