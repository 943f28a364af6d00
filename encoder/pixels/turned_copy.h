// SPDX-License-Identifier: GPL-2.0-or-later
// Turning a picture by quarter turns as it is seen: a plain pixel remap.
#pragma once

#include "pixels/image_view.h"

namespace kdx {

// Copies `from` into `to` turned clockwise by 0..3 quarter turns; `to` is
// as wide as `from` is high after an odd number of turns. False (nothing
// copied) when the sizes do not fit.
bool CopyTurned(const ImageView& from, const ImageView& to, int clockwiseQuarterTurns);

}  // namespace kdx
