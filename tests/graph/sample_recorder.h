// SPDX-License-Identifier: GPL-2.0-or-later
// A sample callback that records what the graph hands it.
#pragma once

#include <cstdint>
#include <mutex>
#include <thread>
#include <vector>

#include "graph/media_sample.h"

namespace kdxtest {

class SampleRecorder : public kdx::ISampleGrabberCB {
 public:
  // keepIndex: the delivery whose bytes are copied (-1: none). Other samples'
  // data are never asked for.
  explicit SampleRecorder(int keepIndex = -1) : keepIndex_(keepIndex) {}

  int SampleCB(double time, kdx::IMediaSample* sample) override {
    std::lock_guard lock(mutex_);
    if (static_cast<int>(times_.size()) == keepIndex_) {
      const uint8_t* data = sample->GetPointer();
      if (data) kept_.assign(data, data + sample->GetActualDataLength());
    }
    times_.push_back(time);
    lengths_.push_back(sample->GetActualDataLength());
    threads_.push_back(std::this_thread::get_id());
    return 0;
  }

  std::vector<double> times() const {
    std::lock_guard lock(mutex_);
    return times_;
  }
  std::vector<int32_t> lengths() const {
    std::lock_guard lock(mutex_);
    return lengths_;
  }
  std::vector<std::thread::id> threads() const {
    std::lock_guard lock(mutex_);
    return threads_;
  }
  std::vector<uint8_t> kept() const {
    std::lock_guard lock(mutex_);
    return kept_;
  }
  void Clear() {
    std::lock_guard lock(mutex_);
    times_.clear();
    lengths_.clear();
    threads_.clear();
    kept_.clear();
  }

 private:
  const int keepIndex_;
  mutable std::mutex mutex_;
  std::vector<double> times_;
  std::vector<int32_t> lengths_;
  std::vector<std::thread::id> threads_;
  std::vector<uint8_t> kept_;
};

// Waits (generously, as a guard against hangs) for the graph to complete.
template <typename Graph>
bool Completes(Graph& graph) {
  long event = 0;
  for (int turn = 0; turn < 120; ++turn) {
    if (graph.WaitForCompletion(500, &event) == S_OK) return event == EC_COMPLETE;
  }
  return false;
}

}  // namespace kdxtest
