// SPDX-License-Identifier: GPL-2.0-or-later
#include "graph/frame_clock.h"

#include <cmath>

extern "C" {
#include <libavutil/avutil.h>
#include <libavutil/mathematics.h>
}

namespace kdx {

double FrameClock::TimeOf(const AVFrame& frame, double frameSeconds) {
  double time = next_;
  if (frame.best_effort_timestamp != AV_NOPTS_VALUE) time = SecondsOf(frame.best_effort_timestamp);
  next_ = time + frameSeconds;
  return time;
}

double FrameClock::SoundTimeOf(const AVFrame& frame) {
  const int64_t stamp = frame.best_effort_timestamp;
  double time = next_;
  // The demuxer counts in whole ticks of the stream: its carried-on times
  // may differ from the sum of the lengths by one.
  constexpr double kCountingSlack = 0.001;
  if (stamp != AV_NOPTS_VALUE &&
      (carriedOn_ == AV_NOPTS_VALUE || std::abs(SecondsOf(stamp) - SecondsOf(carriedOn_)) > kCountingSlack))
    time = SecondsOf(stamp);
  carriedOn_ = stamp != AV_NOPTS_VALUE && frame.pkt_duration > 0 ? stamp + frame.pkt_duration : AV_NOPTS_VALUE;
  next_ = time + (frame.sample_rate > 0 ? static_cast<double>(frame.nb_samples) / frame.sample_rate : 0.0);
  return time;
}

double FrameClock::SecondsOf(int64_t timestamp) const {
  const int64_t micros = av_rescale_q(timestamp, timeBase_, AV_TIME_BASE_Q);
  return static_cast<double>(micros - mediaStart_) / AV_TIME_BASE;
}

}  // namespace kdx
