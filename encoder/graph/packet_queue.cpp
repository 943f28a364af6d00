// SPDX-License-Identifier: GPL-2.0-or-later
#include "graph/packet_queue.h"

namespace kdx {

bool PacketQueue::Push(PacketPtr packet) {
  std::unique_lock lock(mutex_);
  changed_.wait(lock, [this] { return closed_ || packets_.size() < capacity_; });
  if (closed_) return false;
  packets_.push_back(std::move(packet));
  changed_.notify_all();
  return true;
}

bool PacketQueue::Pop(PacketPtr* packet) {
  std::unique_lock lock(mutex_);
  changed_.wait(lock, [this] { return closed_ || !packets_.empty(); });
  if (closed_) return false;
  *packet = std::move(packets_.front());
  packets_.pop_front();
  changed_.notify_all();
  return true;
}

void PacketQueue::Close() {
  std::deque<PacketPtr> dropped;
  {
    std::lock_guard lock(mutex_);
    closed_ = true;
    dropped.swap(packets_);
  }
  changed_.notify_all();
}

}  // namespace kdx
