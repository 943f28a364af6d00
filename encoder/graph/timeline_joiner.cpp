// SPDX-License-Identifier: GPL-2.0-or-later
#include "graph/timeline_joiner.h"

#include <algorithm>

extern "C" {
#include <libavutil/mathematics.h>
}

namespace kdx {

namespace {
// A picture a little early is a muxer's rounding; a step back beyond this
// is a new part.
constexpr int64_t kLongestPictureStepBack = AV_TIME_BASE / 10;
// Sound packets between the time stamps a transport stream carries get
// times the demuxer counts on at the sample rate it assumed; after a change
// of sample rate those run ahead, and the next real time steps back by as
// much as a few hundred milliseconds.
constexpr int64_t kLongestSoundStepBack = AV_TIME_BASE;
// A hole in the recording keeps its length up to this; a jump beyond it is
// a new part whose clock was set elsewhere.
constexpr int64_t kLongestJumpAhead = 10LL * AV_TIME_BASE;
}  // namespace

TimelineJoiner::TimelineJoiner(const AVFormatContext& format)
    : format_(format),
      enabled_(format.iformat != nullptr && (format.iformat->flags & AVFMT_TS_DISCONT) != 0),
      next_(format.nb_streams, AV_NOPTS_VALUE) {}

void TimelineJoiner::Adjust(AVPacket& packet) {
  if (packet.stream_index < 0 || static_cast<unsigned>(packet.stream_index) >= format_.nb_streams) return;
  // Streams may appear while the file is read.
  if (static_cast<size_t>(packet.stream_index) >= next_.size()) next_.resize(format_.nb_streams, AV_NOPTS_VALUE);
  const AVStream& stream = *format_.streams[packet.stream_index];
  const AVRational timeBase = stream.time_base;
  const int64_t longestStepBack =
      stream.codecpar->codec_type == AVMEDIA_TYPE_AUDIO ? kLongestSoundStepBack : kLongestPictureStepBack;
  // Only decoding times run in order (presentation times of reordered
  // pictures step back by design); a packet without one is only moved.
  const int64_t stamp = packet.dts;
  int64_t time = stamp != AV_NOPTS_VALUE ? av_rescale_q(stamp, timeBase, AV_TIME_BASE_Q) + offset_ : 0;
  int64_t& next = next_[packet.stream_index];
  if (enabled_ && stamp != AV_NOPTS_VALUE && next != AV_NOPTS_VALUE) {
    const int64_t step = time - next;
    if (step < -longestStepBack || step > kLongestJumpAhead) {
      offset_ -= step;
      time -= step;
    }
  }
  if (offset_ != 0) {
    const int64_t shift = av_rescale_q(offset_, AV_TIME_BASE_Q, timeBase);
    if (packet.pts != AV_NOPTS_VALUE) packet.pts += shift;
    if (packet.dts != AV_NOPTS_VALUE) packet.dts += shift;
  }
  if (stamp == AV_NOPTS_VALUE) return;
  const int64_t length = packet.duration > 0 ? av_rescale_q(packet.duration, timeBase, AV_TIME_BASE_Q) : 0;
  next = std::max(next == AV_NOPTS_VALUE ? time : next, time + length);
  end_ = end_ == AV_NOPTS_VALUE ? time + length : std::max(end_, time + length);
}

}  // namespace kdx
