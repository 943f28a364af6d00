#include "graph/frame_clock.h"

extern "C" {
#include <libavutil/avutil.h>
#include <libavutil/mathematics.h>
}

namespace kdx {

double FrameClock::TimeOf(const AVFrame& frame, double frameSeconds) {
  double time = next_;
  if (frame.best_effort_timestamp != AV_NOPTS_VALUE) {
    const int64_t micros = av_rescale_q(frame.best_effort_timestamp, timeBase_, AV_TIME_BASE_Q);
    time = static_cast<double>(micros - mediaStart_) / AV_TIME_BASE;
  }
  next_ = time + frameSeconds;
  return time;
}

}  // namespace kdx
