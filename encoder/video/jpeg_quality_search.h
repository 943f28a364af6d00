// SPDX-License-Identifier: GPL-2.0-or-later
// Searching the JPEG quality that makes a chunk picture fit its byte budget.
#pragma once

#include <cstdint>
#include <functional>

namespace kdx {

// Kept across the chunks of a pass: each chunk starts from the quality the
// last one chose, since neighbouring chunks mostly afford the same.
struct JpegQualityState {
  int32_t current = 50;
};

struct JpegQualityChoice {
  int32_t quality = 0;
  int32_t size = 0;   // JPEG bytes at that quality
  bool fits = false;  // size < budget
};

// The highest quality from 1 to 98 whose JPEG is smaller than the budget
// (quality 1, not fitting, when none is). measure(q) returns the JPEG size
// at quality q. The search steps from the last chunk's quality, doubling
// its stride while the answer stays on one side and halving back at the
// first quality on the other; each quality is measured at most once.
JpegQualityChoice SearchJpegQuality(JpegQualityState& state, int32_t budget,
                                    const std::function<int32_t(int32_t)>& measure);

}  // namespace kdx
