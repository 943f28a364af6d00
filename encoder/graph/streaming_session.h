// SPDX-License-Identifier: GPL-2.0-or-later
// One streaming pass of the graph: a demuxing thread feeds bounded packet
// queues, and a video and an audio thread decode them and call the sample
// callbacks concurrently, each stream in time order, until each stream has
// reached the stop position or the end of the input.
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <thread>

#include "graph/bgr24_converter.h"
#include "graph/media_sample.h"
#include "graph/media_source.h"
#include "graph/packet_queue.h"
#include "graph/pcm16_converter.h"

namespace kdx {

struct StreamingSetup {
  MediaSource* source = nullptr;  // positioned at the pass's start
  int64_t stop = 0;               // 100-ns units
  Bgr24Converter* pictures = nullptr;
  Pcm16Converter* sound = nullptr;  // null when the pass has no audio stream
  const std::atomic<ISampleGrabberCB*>* videoCallback = nullptr;
  const std::atomic<ISampleGrabberCB*>* audioCallback = nullptr;
  // Called on a streaming thread once every stream has ended by itself.
  std::function<void()> onComplete;
};

class StreamingSession {
 public:
  explicit StreamingSession(StreamingSetup setup);
  ~StreamingSession();  // stops
  StreamingSession(const StreamingSession&) = delete;
  StreamingSession& operator=(const StreamingSession&) = delete;

  // Starts the threads; false (with nothing left running) when the system
  // cannot make them.
  bool Start();
  // Ends the pass and joins its threads, also in the middle of a callback's
  // stream: the callback running now finishes, no other follows.
  void Stop();

 private:
  void Demux();
  void StreamVideo();
  void StreamAudio();
  // The stream's thread is done: no more of its packets are wanted.
  void EndStream(PacketQueue& queue);
  bool Stopping() const { return stopping_.load(std::memory_order_relaxed); }

  const StreamingSetup setup_;
  const double stopSeconds_;
  PacketQueue videoPackets_;
  PacketQueue audioPackets_;
  std::atomic<bool> stopping_{false};
  std::atomic<int> runningStreams_{0};
  std::thread demuxer_;
  std::thread videoStreamer_;
  std::thread audioStreamer_;
};

}  // namespace kdx
