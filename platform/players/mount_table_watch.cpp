// SPDX-License-Identifier: GPL-2.0-or-later
#include "platform/players/mount_table_watch.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/inotify.h>
#include <unistd.h>

#include <filesystem>

MountTableWatch::MountTableWatch(const std::string& path) {
  if (path.rfind("/proc/", 0) == 0) {
    fd_ = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    events_ = POLLPRI;
    return;
  }
  std::filesystem::path file(path);
  name_ = file.filename().string();
  std::string folder = file.has_parent_path() ? file.parent_path().string() : ".";
  fd_ = ::inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
  if (fd_ < 0) return;
  if (::inotify_add_watch(fd_, folder.c_str(), IN_CLOSE_WRITE | IN_MOVED_TO | IN_DELETE) < 0) {
    ::close(fd_);
    fd_ = -1;
    return;
  }
  events_ = POLLIN;
  inotify_ = true;
}

MountTableWatch::~MountTableWatch() {
  if (fd_ >= 0) ::close(fd_);
}

bool MountTableWatch::TakeChange() {
  if (fd_ < 0) return false;
  if (!inotify_) return true;  // the kernel clears the notice when it reports it
  bool changed = false;
  alignas(inotify_event) char buffer[4096];
  for (;;) {
    ssize_t length = ::read(fd_, buffer, sizeof buffer);
    if (length <= 0) break;
    for (ssize_t offset = 0; offset < length;) {
      const auto* event = reinterpret_cast<const inotify_event*>(buffer + offset);
      if (event->len > 0 && name_ == event->name) changed = true;
      offset += static_cast<ssize_t>(sizeof(inotify_event) + event->len);
    }
  }
  return changed;
}
