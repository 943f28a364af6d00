// SPDX-License-Identifier: GPL-2.0-or-later
#include "audio/audio_grabber_cb.h"

#include <algorithm>
#include <vector>

#include "library_state.h"

namespace kdx {

namespace {
constexpr int64_t kSilenceBlockFrames = 4096;
}  // namespace

int CAudioGrabberCB::SampleCB(double time, IMediaSample* sample) {
  if (converter_ == nullptr || !IsBusy()) return 0;
  // The run's end test reads the last time, so it moves for buffers outside
  // the range too.
  lastTime_.store(time);
  if (time > stop_ || sample == nullptr || channels_ < 1) return 0;
  const uint8_t* data = sample->GetPointer();
  const int32_t bytes = sample->GetActualDataLength();
  if (data == nullptr || bytes <= 0) return 0;
  const int64_t frames = bytes / (2 * channels_);
  const SoundPlacement::Cut cut = placement_.Place(time, frames);
  // A failed conversion is remembered by the converter and ends the sound
  // part; the pictures go on.
  AppendSilence(cut.silence);
  if (cut.skip < frames)
    converter_->AppendPcm16(reinterpret_cast<const int16_t*>(data) + cut.skip * channels_, frames - cut.skip);
  return 0;
}

void CAudioGrabberCB::FinishAt(double end) {
  if (converter_ == nullptr || channels_ < 1) return;
  AppendSilence(placement_.PadTo(end));
}

void CAudioGrabberCB::AttachConverter(SoundConverter* converter, int channels, int sampleRate) {
  converter_ = converter;
  channels_ = channels;
  sampleRate_ = sampleRate;
  BeginTimeline();
}

void CAudioGrabberCB::SetRange(double start, double stop) {
  start_ = start;
  stop_ = stop;
  BeginTimeline();
}

void CAudioGrabberCB::SetStampStep(double seconds) {
  stampStep_ = seconds;
  BeginTimeline();
}

void CAudioGrabberCB::BeginTimeline() {
  placement_.Begin(start_, sampleRate_, SoundPlacement::DriftTolerance(stampStep_));
}

void CAudioGrabberCB::AppendSilence(int64_t frames) {
  if (frames <= 0) return;
  const std::vector<int16_t> zeros(static_cast<size_t>(std::min(frames, kSilenceBlockFrames) * channels_), 0);
  for (int64_t left = frames; left > 0; left -= kSilenceBlockFrames) {
    if (!converter_->AppendPcm16(zeros.data(), std::min(left, kSilenceBlockFrames))) return;
  }
}

}  // namespace kdx
