#include "run_wait.h"

#include <QEventLoop>
#include <utility>

void RunWait::Signal() {
  signalled_ = true;
  if (loop_ != nullptr) loop_->quit();
}

bool RunWait::Wait() {
  if (signalled_) return true;
  QEventLoop loop;
  QEventLoop* const outer = std::exchange(loop_, &loop);
  // Returns at once, without handling anything, once the application is
  // quitting.
  loop.exec();
  loop_ = outer;
  // A wait nested in another one on the same event ends both.
  if (signalled_ && outer != nullptr) outer->quit();
  return signalled_;
}
