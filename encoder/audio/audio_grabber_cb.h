// Captures the decoded sound of the range, untouched, into ".audio".
#pragma once

#include <atomic>
#include <cstdint>

#include "graph/media_sample.h"
#include "writer/binary_file.h"

namespace kdx {

class CAudioGrabberCB : public ISampleGrabberCB {
 public:
  // Sample callback: ignored unless a file is attached and the run is busy;
  // every buffer moves the last time, only buffers within start..stop are
  // appended to the file.
  int SampleCB(double time, IMediaSample* sample) override;

  // Attach/detach only while the graph is stopped.
  void AttachFile(BinaryFile* file) { file_ = file; }
  void DetachFile() { file_ = nullptr; }
  void SetRange(double start, double stop) {
    start_ = start;
    stop_ = stop;
  }
  void ResetByteCount() { byteCount_.store(0); }
  uint32_t ByteCount() const { return byteCount_.load(); }
  double LastTime() const { return lastTime_.load(); }
  void SetLastTime(double time) { lastTime_.store(time); }

 private:
  BinaryFile* file_ = nullptr;
  std::atomic<uint32_t> byteCount_{0};
  std::atomic<double> lastTime_{0.0};
  double start_ = 0.0;
  double stop_ = 0.0;
};

}  // namespace kdx
