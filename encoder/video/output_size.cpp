// SPDX-License-Identifier: GPL-2.0-or-later
#include "video/output_size.h"

#include <algorithm>

namespace kdx {

namespace {

// The scale ratio source/output as an exact fraction, so that sizes that
// divide evenly are not cut by one pixel through rounding.
struct Ratio {
  int64_t num;
  int64_t den;
  bool operator<(const Ratio& o) const { return num * o.den < o.num * den; }
  // size / ratio, truncated
  int32_t DivideInto(int64_t size) const { return static_cast<int32_t>(size * den / num); }
  // size x ratio, truncated
  int32_t Times(int64_t size) const { return static_cast<int32_t>(size * num / den); }
};

}  // namespace

OutputSize ComputeOutputSize(int32_t frameWidth, int32_t frameHeight, int32_t rotateCode, int32_t maxWidth,
                             int32_t maxHeight, bool fitWhole) {
  if (frameWidth <= 0 || frameHeight <= 0 || maxWidth <= 0 || maxHeight <= 0) return {};
  const bool quarterTurn = rotateCode == 1 || rotateCode == 3;
  OutputSize out;
  out.sourceWidth = quarterTurn ? frameHeight : frameWidth;
  out.sourceHeight = quarterTurn ? frameWidth : frameHeight;
  const int32_t sw = out.sourceWidth;
  const int32_t sh = out.sourceHeight;
  out.width = std::min(maxWidth, sw);
  out.height = std::min(maxHeight, sh);

  if (fitWhole) {
    out.cropWidth = sw;
    out.cropHeight = sh;
    Ratio r = std::max(Ratio{sw, out.width}, Ratio{sh, out.height});
    if (r.DivideInto(sh) < out.height) {
      // At least one row even for a picture far wider than the output.
      out.height = std::max(1, r.DivideInto(sh));
      r = std::max(r, Ratio{sh, out.height});
    }
    if (r.DivideInto(sw) < out.width) out.width = std::max(1, r.DivideInto(sw));
  } else {
    const Ratio r = std::min(Ratio{sw, out.width}, Ratio{sh, out.height});
    out.cropWidth = r.Times(out.width);
    out.cropHeight = r.Times(out.height);
  }
  return out;
}

}  // namespace kdx
