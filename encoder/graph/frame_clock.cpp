#include "graph/frame_clock.h"

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

double FrameClock::SecondsOf(int64_t timestamp) const {
  const int64_t micros = av_rescale_q(timestamp, timeBase_, AV_TIME_BASE_Q);
  return static_cast<double>(micros - mediaStart_) / AV_TIME_BASE;
}

}  // namespace kdx
