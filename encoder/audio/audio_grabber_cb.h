// SPDX-License-Identifier: GPL-2.0-or-later
// Hands the decoded sound of the range to the sound converter, each buffer
// placed by its time on the output's time line (sound_placement.h).
#pragma once

#include <atomic>

#include "audio/sound_converter.h"
#include "audio/sound_placement.h"
#include "graph/media_sample.h"

namespace kdx {

class CAudioGrabberCB : public ISampleGrabberCB {
 public:
  // Sample callback: ignored unless a converter is attached and the run is
  // busy; every buffer moves the last time, only buffers up to stop are
  // converted, from the range's start on.
  int SampleCB(double time, IMediaSample* sample) override;

  // Attach/detach and set the range only while the graph is stopped; each
  // of them starts the time line again.
  void AttachConverter(SoundConverter* converter, int channels, int sampleRate);
  void DetachConverter() { converter_ = nullptr; }
  // start is output time 0: sound before it is cut, silence fills up to
  // the first buffer after it.
  void SetRange(double start, double stop);
  // The step of the stream's time stamps, in seconds.
  void SetStampStep(double seconds);
  double LastTime() const { return lastTime_.load(); }
  // After the pass, with the graph stopped: silence takes the sound up to
  // `end` (media seconds) when it ends before.
  void FinishAt(double end);
  // Media time where the sound converted so far ends; the range's start
  // when there is none.
  double SoundEnd() const { return placement_.End(); }
  void SetLastTime(double time) { lastTime_.store(time); }

 private:
  void BeginTimeline();
  void AppendSilence(int64_t frames);

  SoundConverter* converter_ = nullptr;
  int channels_ = 0;
  int sampleRate_ = 0;
  double stampStep_ = 0.0;
  SoundPlacement placement_;
  std::atomic<double> lastTime_{0.0};
  double start_ = 0.0;
  double stop_ = 0.0;
};

}  // namespace kdx
