#include "video/frame_interval.h"

#include <algorithm>
#include <cmath>

namespace kdx {

namespace {
constexpr int64_t kUnitsPerSecond = 10000000;
constexpr double kWholeStepsSlack = 0.01;
}  // namespace

double DecideFrameInterval(int64_t sourceInterval, int32_t frameRate) {
  if (frameRate < 1) frameRate = 1;
  if (sourceInterval <= 0 || kUnitsPerSecond / frameRate >= sourceInterval) return 1.0 / frameRate;
  return static_cast<double>(sourceInterval) / kUnitsPerSecond;
}

int64_t SourceIntervalFromMean(double meanInterval) {
  if (!std::isfinite(meanInterval) || meanInterval <= 0.0) return 0;
  const double rate = 1.0 / meanInterval;
  if (!(rate < static_cast<double>(kUnitsPerSecond))) return 0;
  const int64_t wholeRate = static_cast<int64_t>(rate);
  return wholeRate > 0 ? kUnitsPerSecond / wholeRate : 0;
}

double DueTimeTolerance(double stampSeconds, int64_t sourceInterval, double T) {
  const double interval = sourceInterval > 0 ? static_cast<double>(sourceInterval) / kUnitsPerSecond : T;
  if (!std::isfinite(stampSeconds) || !(stampSeconds > 0.0) || !(interval > 0.0)) return 0.0;
  const double steps = interval / stampSeconds;
  // The interval in 100-ns units is itself rounded: allow for that.
  if (std::abs(steps - std::round(steps)) <= kWholeStepsSlack) return 0.0;
  return std::min(stampSeconds, interval / 4);
}

}  // namespace kdx
