// SPDX-License-Identifier: GPL-2.0-or-later
// Where the output's frame slots lie on the source's time line: chunk k
// starts k x D after the origin and its F slots follow T apart from there,
// so pictures stay where the sound of the same time plays.
#pragma once

#include <cstdint>

namespace kdx {

class FrameSlots {
 public:
  FrameSlots() = default;
  // tolerance: how far before its slot's time a frame may lie and still be
  // taken for it, so time stamps rounded by their container stay in place.
  FrameSlots(double origin, double T, double D, int32_t F, double tolerance);

  // The last slot due at or before `time`: the one a frame at that time is
  // shown in. A frame in the tail of a chunk that outlasts its F slots
  // belongs to the chunk's last slot. Below 0 before the origin.
  int64_t SlotOf(double time) const;
  // How many slots are due before `time`: those a range ending there shows.
  int64_t SlotsBefore(double time) const;

 private:
  double origin_ = 0.0;
  double T_ = 1.0;
  double D_ = 1.0;
  int32_t F_ = 1;
  double tolerance_ = 0.0;
};

}  // namespace kdx
