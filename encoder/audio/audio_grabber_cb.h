// Hands the decoded sound of the range, untouched, to the sound converter.
#pragma once

#include <atomic>

#include "audio/sound_converter.h"
#include "graph/media_sample.h"

namespace kdx {

class CAudioGrabberCB : public ISampleGrabberCB {
 public:
  // Sample callback: ignored unless a converter is attached and the run is
  // busy; every buffer moves the last time, only buffers within start..stop
  // are converted.
  int SampleCB(double time, IMediaSample* sample) override;

  // Attach/detach only while the graph is stopped.
  void AttachConverter(SoundConverter* converter, int channels) {
    converter_ = converter;
    channels_ = channels;
  }
  void DetachConverter() { converter_ = nullptr; }
  void SetRange(double start, double stop) {
    start_ = start;
    stop_ = stop;
  }
  double LastTime() const { return lastTime_.load(); }
  void SetLastTime(double time) { lastTime_.store(time); }

 private:
  SoundConverter* converter_ = nullptr;
  int channels_ = 0;
  std::atomic<double> lastTime_{0.0};
  double start_ = 0.0;
  double stop_ = 0.0;
};

}  // namespace kdx
