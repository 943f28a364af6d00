// SPDX-License-Identifier: GPL-2.0-or-later
// A bounded hand-over of demuxed packets from the demuxing thread to one
// stream's decoding thread. An empty packet marks the end of the input.
#pragma once

#include <condition_variable>
#include <cstddef>
#include <deque>
#include <mutex>

#include "graph/ffmpeg_handles.h"

namespace kdx {

class PacketQueue {
 public:
  explicit PacketQueue(size_t capacity) : capacity_(capacity) {}

  // Waits while the queue is full. False once the queue is closed: the
  // packet is dropped and the stream wants no more.
  bool Push(PacketPtr packet);
  // Waits for a packet (an empty one at the end of the input). False once
  // the queue is closed.
  bool Pop(PacketPtr* packet);
  // Wakes both sides for good and drops what is queued.
  void Close();

 private:
  const size_t capacity_;
  std::mutex mutex_;
  std::condition_variable changed_;
  std::deque<PacketPtr> packets_;
  bool closed_ = false;
};

}  // namespace kdx
