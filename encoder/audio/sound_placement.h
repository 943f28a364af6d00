// SPDX-License-Identifier: GPL-2.0-or-later
// Puts each buffer of decoded sound where its time says on the output's
// time line, which starts at the origin: silence fills what comes before
// the first buffer and every hole, and sound before the origin or over
// sound already placed is cut off, to the sample.
#pragma once

#include <cstdint>

namespace kdx {

class SoundPlacement {
 public:
  struct Cut {
    int64_t silence = 0;  // frames of silence to put before the buffer
    int64_t skip = 0;     // frames to leave out at the buffer's start
  };

  // origin: media time of output time 0, in seconds; rate: frames per
  // second; tolerance: seconds by which buffers may stray from where the
  // sound before them ends without being moved (time stamps rounded by
  // their container).
  void Begin(double origin, int rate, double tolerance);
  // The buffer of `frames` frames that starts at media time `time`.
  Cut Place(double time, int64_t frames);
  // Frames of silence that take the output up to media time `end`; none
  // when the sound reaches it already.
  int64_t PadTo(double end);
  // Media time where the sound placed so far ends.
  double End() const { return rate_ > 0 ? origin_ + static_cast<double>(placed_) / rate_ : origin_; }

  // The tolerance for a stream whose time stamps step by stampSeconds:
  // one step, at least 10 ms and at most 50 ms, well within what is seen
  // as in step with the pictures.
  static double DriftTolerance(double stampSeconds);

 private:
  double origin_ = 0.0;
  int rate_ = 0;
  int64_t toleranceFrames_ = 0;
  int64_t placed_ = 0;  // frames of output so far
};

}  // namespace kdx
