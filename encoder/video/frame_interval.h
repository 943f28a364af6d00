// The output frame interval of a run, from the source's frame interval and
// the highest frame rate asked for.
#pragma once

#include <cstdint>

namespace kdx {

// sourceInterval: the source's frame interval in 100-ns units, 0 or less when
// unknown. The output never has more frames per second than the source or
// than frameRate (taken as 1 when below 1). Returns seconds.
double DecideFrameInterval(int64_t sourceInterval, int32_t frameRate);

// The source's frame interval in 100-ns units from the mean interval (in
// seconds) between frames measured while streaming; 0 when the measurement
// gives no positive whole frame rate.
int64_t SourceIntervalFromMean(double meanInterval);

// How far before its slot's time a frame may lie and still fill it: the
// step of the container's time stamps when the frame interval is not a
// whole number of steps (30 fps in whole milliseconds, as MKV and ASF keep
// them, rounds frame times), else nothing, since the times are exact. Never
// more than a quarter of the source's frame interval (or of T when that is
// unknown), so a neighbouring frame is never taken for the due one.
double DueTimeTolerance(double stampSeconds, int64_t sourceInterval, double T);

}  // namespace kdx
