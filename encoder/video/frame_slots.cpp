// SPDX-License-Identifier: GPL-2.0-or-later
#include "video/frame_slots.h"

#include <algorithm>
#include <cmath>

namespace kdx {

namespace {
// Slot times are multiples of T and D: a frame whose time equals one of
// them must not miss it by a rounding error.
constexpr double kLeastTolerance = 1e-6;
}  // namespace

FrameSlots::FrameSlots(double origin, double T, double D, int32_t F, double tolerance)
    : origin_(origin), tolerance_(std::max(kLeastTolerance, tolerance)) {
  // Without a chunk geometry (no picture size) each slot is its own chunk.
  T_ = T > 0.0 ? T : 1.0;
  if (F > 0 && D > 0.0) {
    D_ = D;
    F_ = F;
  } else {
    D_ = T_;
    F_ = 1;
  }
}

int64_t FrameSlots::SlotOf(double time) const {
  const double since = time - origin_ + tolerance_;
  if (!(since >= 0.0)) return -1;
  // Far beyond any clip, and still clear of the integer's limit.
  const double chunk = std::min(std::floor(since / D_), 1e15);
  const double within = std::floor((since - chunk * D_) / T_);
  return static_cast<int64_t>(chunk) * F_ + static_cast<int64_t>(std::clamp(within, 0.0, F_ - 1.0));
}

int64_t FrameSlots::SlotsBefore(double time) const {
  // A slot due exactly at `time` lies past the end: step back by the least
  // tolerance so that a rounding error does not add it.
  const double since = time - origin_ - kLeastTolerance;
  if (!(since >= 0.0)) return 0;
  const double chunk = std::min(std::floor(since / D_), 1e15);
  const double within = std::floor((since - chunk * D_) / T_);
  return static_cast<int64_t>(chunk) * F_ + static_cast<int64_t>(std::clamp(within, 0.0, F_ - 1.0)) + 1;
}

}  // namespace kdx
