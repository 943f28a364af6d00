// SPDX-License-Identifier: GPL-2.0-or-later
#include "graph/picture_skip_planner.h"

#include <algorithm>
#include <cstdlib>

namespace kdx {

namespace {
// Far more than frame threads and reordering ever hold back.
constexpr size_t kMostOnTheirWay = 256;
}  // namespace

bool PictureSkipPlanner::Skips(const AVPacket& packet, const ISampleGrabberCB* callback) {
  if (!enabled_ || callback == nullptr || packet.pts == AV_NOPTS_VALUE) return false;
  const double time = clock_.SecondsOf(packet.pts);
  const auto position = std::lower_bound(onTheirWay_.begin(), onTheirWay_.end(), time);
  const std::span<const double> earlier(onTheirWay_.data(), static_cast<size_t>(position - onTheirWay_.begin()));
  if (callback->WillDrop(time, earlier)) return true;
  // A decoder that keeps swallowing pictures would make the list, and each
  // question, grow with the clip.
  if (onTheirWay_.size() >= kMostOnTheirWay) {
    enabled_ = false;
    onTheirWay_.clear();
    return false;
  }
  onTheirWay_.insert(std::upper_bound(onTheirWay_.begin(), onTheirWay_.end(), time), time);
  return false;
}

void PictureSkipPlanner::Delivered(const AVFrame& frame, double time) {
  if (!enabled_) return;
  const bool timedByPacket = frame.pts != AV_NOPTS_VALUE && frame.best_effort_timestamp == frame.pts;
  if (!timedByPacket || time < lastDelivered_) {
    enabled_ = false;
    return;
  }
  lastDelivered_ = time;
  const auto end = std::upper_bound(onTheirWay_.begin(), onTheirWay_.end(), time);
  // A picture that was to come before this one has been lost on the way.
  if (end != onTheirWay_.begin() && onTheirWay_.front() < time) enabled_ = false;
  onTheirWay_.erase(onTheirWay_.begin(), end);
}

bool PictureSkippingAllowed() { return std::getenv("KDX_DECODE_ALL_PICTURES") == nullptr; }

}  // namespace kdx
