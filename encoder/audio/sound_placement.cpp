// SPDX-License-Identifier: GPL-2.0-or-later
#include "audio/sound_placement.h"

#include <algorithm>
#include <cmath>

namespace kdx {

namespace {
constexpr double kLeastDrift = 0.010;
constexpr double kMostDrift = 0.050;
// No source runs this long; a wild time stamp must not make hours of silence
// beyond it, nor overflow.
constexpr double kLongestSeconds = 100.0 * 3600.0;
}  // namespace

void SoundPlacement::Begin(double origin, int rate, double tolerance) {
  origin_ = origin;
  rate_ = std::max(rate, 0);
  toleranceFrames_ = static_cast<int64_t>(std::max(tolerance, 0.0) * rate_);
  placed_ = 0;
}

SoundPlacement::Cut SoundPlacement::Place(double time, int64_t frames) {
  Cut cut;
  if (frames <= 0) return cut;
  const double seconds = std::clamp(time - origin_, -kLongestSeconds, kLongestSeconds);
  const int64_t due = std::isfinite(seconds) ? std::llround(seconds * rate_) : placed_;
  int64_t gap = due - placed_;
  // The first sound is placed exactly; later buffers keep joining end to end
  // while their times stray only a little.
  if (placed_ > 0 && std::llabs(gap) <= toleranceFrames_) gap = 0;
  if (gap > 0) cut.silence = gap;
  if (gap < 0) cut.skip = std::min(-gap, frames);
  placed_ += cut.silence + frames - cut.skip;
  return cut;
}

int64_t SoundPlacement::PadTo(double end) {
  const double seconds = std::clamp(end - origin_, 0.0, kLongestSeconds);
  const int64_t due = std::isfinite(seconds) ? std::llround(seconds * rate_) : placed_;
  const int64_t silence = std::max<int64_t>(0, due - placed_);
  placed_ += silence;
  return silence;
}

double SoundPlacement::DriftTolerance(double stampSeconds) {
  if (!std::isfinite(stampSeconds)) return kLeastDrift;
  return std::clamp(stampSeconds, kLeastDrift, kMostDrift);
}

}  // namespace kdx
