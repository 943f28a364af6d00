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
  // Optimised bytes per plain byte at the last chunk's choice.
  double optimisedShare = 1.0;
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

// The highest quality whose optimised JPEG fits, for about the cost of the
// plain search: that search runs on the plain sizes against the budget
// widened by what the optimisation saved on the last chunk, and its choice
// is then checked, and stepped down while needed, on the optimised size.
JpegQualityChoice SearchOptimisedJpegQuality(JpegQualityState& state, int32_t budget,
                                             const std::function<int32_t(int32_t)>& plain,
                                             const std::function<int32_t(int32_t)>& optimised);

}  // namespace kdx
