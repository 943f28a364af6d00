// SPDX-License-Identifier: GPL-2.0-or-later
// Tells when the mount table changes. /proc/self/mountinfo is watched with
// poll (it reports a change as POLLPRI); any other file, such as a test's
// fixture table, through inotify on its folder, so rewriting it or renaming
// a new one over it counts.
#pragma once

#include <string>

class MountTableWatch {
 public:
  explicit MountTableWatch(const std::string& path);
  ~MountTableWatch();
  MountTableWatch(const MountTableWatch&) = delete;
  MountTableWatch& operator=(const MountTableWatch&) = delete;

  // -1 when the table cannot be watched.
  int fd() const { return fd_; }
  short events() const { return events_; }
  // Call when poll reported the descriptor: consumes the notice and says
  // whether it concerned the table.
  bool TakeChange();

 private:
  std::string name_;
  int fd_ = -1;
  short events_ = 0;
  bool inotify_ = false;
};
