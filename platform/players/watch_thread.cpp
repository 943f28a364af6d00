// SPDX-License-Identifier: GPL-2.0-or-later
#include "platform/players/watch_thread.h"

#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include <cerrno>

WatchThread::WatchThread(std::vector<Source> sources, std::function<void()> onChange)
    : sources_(std::move(sources)), onChange_(std::move(onChange)) {
  stopFd_ = ::eventfd(0, EFD_CLOEXEC);
  thread_ = std::thread(&WatchThread::Run, this);
}

WatchThread::~WatchThread() {
  uint64_t one = 1;
  if (stopFd_ >= 0) (void)!::write(stopFd_, &one, sizeof one);
  if (thread_.joinable()) thread_.join();
  if (stopFd_ >= 0) ::close(stopFd_);
}

void WatchThread::Run() {
  if (stopFd_ < 0) return;
  std::vector<pollfd> fds{{stopFd_, POLLIN, 0}};
  for (const Source& source : sources_) fds.push_back({source.fd, source.events, 0});
  for (;;) {
    int ready = ::poll(fds.data(), fds.size(), -1);
    if (ready < 0) {
      if (errno == EINTR) continue;
      return;
    }
    if (fds[0].revents != 0) return;
    bool changed = false;
    for (size_t i = 1; i < fds.size(); ++i) {
      if (fds[i].revents == 0) continue;
      short revents = fds[i].revents;
      // A descriptor that is closed or broken would wake the loop forever;
      // /proc/self/mountinfo alone reports its changes with POLLERR.
      bool broken = (revents & (POLLNVAL | POLLHUP)) != 0 || ((revents & POLLERR) != 0 && (revents & POLLPRI) == 0);
      if (broken) {
        fds[i].fd = -1;
      } else if (sources_[i - 1].takeChange()) {
        changed = true;
      }
    }
    if (changed) onChange_();
  }
}
