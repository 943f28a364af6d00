// SPDX-License-Identifier: GPL-2.0-or-later
// The output frame interval of a run, from the source's frame rate and
// the highest frame rate asked for.
#pragma once

#include <cstdint>

namespace kdx {

// Frames per second as an exact fraction (15/1, 30000/1001); unknown when
// num or den is not positive. Kept as a fraction because intervals such
// as 1/15 s have no exact decimal or 100-ns form, and a rounded one makes
// equal rates compare unequal.
struct FrameRate {
  int64_t num = 0;
  int64_t den = 1;
  bool Known() const { return num > 0 && den > 0; }
  // Seconds per frame; 0 when unknown.
  double Interval() const;
};

// The output never has more frames per second than the source or than
// frameRate (taken as 1 when below 1). Returns seconds, chosen so that
// 1 / T truncated gives the whole rate (a 15 fps interval must not read
// back as 14.99999 frames per second).
double DecideFrameInterval(FrameRate source, int32_t frameRate);

// The source's rate from the mean interval (in seconds) between frames
// measured while streaming: whole frames per second; unknown when the
// measurement gives no positive whole frame rate.
FrameRate RateFromMean(double meanInterval);

// How far before its slot's time a frame may lie and still fill it: the
// step of the container's time stamps when the frame interval is not a
// whole number of steps (30 fps in whole milliseconds, as MKV and ASF keep
// them, rounds frame times), else nothing, since the times are exact. Never
// more than a quarter of the source's frame interval (or of T when that is
// unknown), so a neighbouring frame is never taken for the due one.
double DueTimeTolerance(double stampSeconds, FrameRate source, double T);

}  // namespace kdx
