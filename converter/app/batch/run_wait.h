// The wait for one conversion run: a manual-reset event whose waiting side
// runs a nested event loop, so the window stays usable and the encoder's
// posted messages are handled while the batch waits.
#pragma once

class QEventLoop;

class RunWait {
 public:
  RunWait() = default;
  RunWait(const RunWait&) = delete;
  RunWait& operator=(const RunWait&) = delete;

  void Reset() { signalled_ = false; }
  // Sets the event and ends a wait in progress.
  void Signal();
  bool IsSignalled() const { return signalled_; }
  // Handles events until the event is set; false when the application quit
  // first (its exit ends every nested loop).
  bool Wait();

 private:
  bool signalled_ = false;
  QEventLoop* loop_ = nullptr;
};
