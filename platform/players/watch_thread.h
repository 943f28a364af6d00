// SPDX-License-Identifier: GPL-2.0-or-later
// A thread that waits on a few descriptors and runs a handler on that
// thread whenever one of them reports a change. Stops and joins when
// destroyed.
#pragma once

#include <functional>
#include <thread>
#include <vector>

class WatchThread {
 public:
  struct Source {
    int fd = -1;
    short events = 0;
    // Consumes the descriptor's notice; true when it was a real change.
    std::function<bool()> takeChange;
  };

  WatchThread(std::vector<Source> sources, std::function<void()> onChange);
  ~WatchThread();
  WatchThread(const WatchThread&) = delete;
  WatchThread& operator=(const WatchThread&) = delete;

 private:
  void Run();

  std::vector<Source> sources_;
  std::function<void()> onChange_;
  int stopFd_ = -1;
  std::thread thread_;
};
