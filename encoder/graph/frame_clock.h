// SPDX-License-Identifier: GPL-2.0-or-later
// Gives each decoded frame of one stream its time in seconds from the start
// of the media. A frame without a time stamp follows the one before it.
#pragma once

#include <cstdint>

extern "C" {
#include <libavutil/avutil.h>
#include <libavutil/frame.h>
#include <libavutil/rational.h>
}

namespace kdx {

class FrameClock {
 public:
  // mediaStart: where the media starts, in AV_TIME_BASE units.
  FrameClock(AVRational timeBase, int64_t mediaStart) : timeBase_(timeBase), mediaStart_(mediaStart) {}

  // frameSeconds: how long the frame lasts, to place an untimed next one.
  double TimeOf(const AVFrame& frame, double frameSeconds);
  // The time of a time stamp of the stream.
  double SecondsOf(int64_t timestamp) const;
  // For sound: the frame follows the one before it by its sample count
  // unless the container's time for it jumps. A time the demuxer only
  // carried on from the one before (by the length it assumed) tells
  // nothing the samples do not, and is wrong after a change of sample rate
  // in the middle of a stream.
  double SoundTimeOf(const AVFrame& frame);

 private:
  const AVRational timeBase_;
  const int64_t mediaStart_;
  double next_ = 0.0;
  int64_t carriedOn_ = AV_NOPTS_VALUE;  // the stamp the demuxer would give next
};

}  // namespace kdx
