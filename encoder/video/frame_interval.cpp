// SPDX-License-Identifier: GPL-2.0-or-later
#include "video/frame_interval.h"

#include <algorithm>
#include <cmath>

namespace kdx {

namespace {
constexpr double kWholeStepsSlack = 0.01;
// Rates beyond this are no video; their intervals would vanish.
constexpr double kHighestRate = 1e7;
// Relative: 30 fps within 0.003 (29.97 stays apart).
constexpr double kWholeRateSlack = 1e-4;

// den / num seconds, moved down by the least amount needed for the chunk
// geometry's 1 / T truncated to give num / den truncated.
double IntervalOf(int64_t num, int64_t den) {
  double T = static_cast<double>(den) / static_cast<double>(num);
  const int64_t whole = num / den;
  for (int i = 0; i < 4 && whole >= 1 && static_cast<int64_t>(1.0 / T) < whole; ++i) T = std::nextafter(T, 0.0);
  return T;
}
}  // namespace

double FrameRate::Interval() const { return Known() ? static_cast<double>(den) / static_cast<double>(num) : 0.0; }

double DecideFrameInterval(FrameRate source, int32_t frameRate) {
  if (frameRate < 1) frameRate = 1;
  // A rate a container derives from its frame count and length lands a
  // hair off the whole rate the clip was made at.
  if (source.Known()) {
    const double rate = static_cast<double>(source.num) / static_cast<double>(source.den);
    const double whole = std::round(rate);
    if (whole >= 1 && std::abs(rate - whole) <= kWholeRateSlack * whole) source = {static_cast<int64_t>(whole), 1};
  }
  // The source is at least as fast as asked: num / den >= frameRate.
  if (!source.Known() || source.num >= static_cast<int64_t>(frameRate) * source.den) return IntervalOf(frameRate, 1);
  return IntervalOf(source.num, source.den);
}

FrameRate RateFromMean(double meanInterval) {
  if (!std::isfinite(meanInterval) || meanInterval <= 0.0) return {};
  const double rate = 1.0 / meanInterval;
  if (!(rate < kHighestRate)) return {};
  // A rate a hair below a whole one is that whole rate measured with
  // rounded time stamps.
  const int64_t wholeRate = static_cast<int64_t>(rate + 1e-6);
  return wholeRate > 0 ? FrameRate{wholeRate, 1} : FrameRate{};
}

double DueTimeTolerance(double stampSeconds, FrameRate source, double T) {
  const double interval = source.Known() ? source.Interval() : T;
  if (!std::isfinite(stampSeconds) || !(stampSeconds > 0.0) || !(interval > 0.0)) return 0.0;
  const double steps = interval / stampSeconds;
  if (std::abs(steps - std::round(steps)) <= kWholeStepsSlack) return 0.0;
  return std::min(stampSeconds, interval / 4);
}

}  // namespace kdx
