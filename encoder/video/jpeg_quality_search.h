// Searching the JPEG quality that makes a chunk picture fit its byte budget.
#pragma once

#include <cstdint>
#include <functional>

namespace kdx {

// Kept across the chunks of a pass: each chunk starts from where the last
// one ended, and the bounds widen again when a picture gets easier or harder.
struct JpegQualityState {
  int32_t current = 50;
  int32_t upper = 99;
  int32_t lower = 1;
};

struct JpegQualityChoice {
  int32_t quality = 0;
  int32_t size = 0;   // JPEG bytes at that quality
  bool fits = false;  // size < budget
};

// measure(q) returns the JPEG size at quality q. The halving search stops
// once a quality uses more than 90 % of the budget without reaching it; the
// qualities right above it are then tried while they still fit.
JpegQualityChoice SearchJpegQuality(JpegQualityState& state, int32_t budget,
                                    const std::function<int32_t(int32_t)>& measure);

}  // namespace kdx
