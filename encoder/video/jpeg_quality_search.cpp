// SPDX-License-Identifier: GPL-2.0-or-later
#include "video/jpeg_quality_search.h"

#include <algorithm>
#include <array>

namespace kdx {

namespace {
// 99 is never chosen: its tables are hardly finer than 98's for many more bytes.
constexpr int32_t kTop = 98;
}  // namespace

JpegQualityChoice SearchJpegQuality(JpegQualityState& state, int32_t budget,
                                    const std::function<int32_t(int32_t)>& measure) {
  std::array<int32_t, kTop + 1> sizes;
  sizes.fill(-1);
  const auto sizeAt = [&](int32_t q) {
    if (sizes[q] < 0) sizes[q] = measure(q);
    return sizes[q];
  };
  const auto fits = [&](int32_t q) { return sizeAt(q) < budget; };
  // fitting < failing always holds below; 0 and kTop + 1 stand for the
  // ends, which are never measured.
  int32_t fitting = 0;
  int32_t failing = kTop + 1;
  const int32_t start = std::clamp(state.current, 1, kTop);
  if (fits(start)) {
    fitting = start;
    for (int32_t stride = 1; fitting + 1 < failing; stride *= 2) {
      const int32_t next = std::min(fitting + stride, failing - 1);
      if (!fits(next)) {
        failing = next;
        break;
      }
      fitting = next;
    }
  } else {
    failing = start;
    for (int32_t stride = 1; fitting + 1 < failing; stride *= 2) {
      const int32_t next = std::max(failing - stride, 1);
      if (fits(next)) {
        fitting = next;
        break;
      }
      failing = next;
    }
  }
  // The answer lies between a fitting and a failing quality.
  while (fitting > 0 && fitting + 1 < failing) {
    const int32_t middle = (fitting + failing) / 2;
    if (fits(middle)) {
      fitting = middle;
    } else {
      failing = middle;
    }
  }
  JpegQualityChoice choice;
  choice.quality = std::max(fitting, 1);
  choice.size = sizeAt(choice.quality);
  choice.fits = choice.size < budget;
  state.current = choice.quality;
  return choice;
}

}  // namespace kdx
