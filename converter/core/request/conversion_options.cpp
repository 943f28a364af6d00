// SPDX-License-Identifier: GPL-2.0-or-later
#include "converter/core/request/conversion_options.h"

#include <algorithm>
#include <cctype>

QualitySettings QualityFor(const std::string& quality, bool fitWhole) {
  if (quality == kQualityHigh) return {22050, 2, fitWhole ? 35 : 45, kScaleLinear};
  if (quality == kQualityMedium) return {11025, 2, 25, kScaleLinear};
  if (quality == kQualityLow) return {8000, 2, 16, kScaleLinear};
  return {22050, 2, 35, kScaleBSpline};
}

const char* DefaultVideoMode(const DEVICE_CONFIG_ENTRY& model) {
  return model.Rotate == "1" ? kModeFullScreen : kModeFullImage;
}

bool IsKdxModel(const DEVICE_CONFIG_ENTRY& model) {
  std::string format = model.VideoFormat;
  std::transform(format.begin(), format.end(), format.begin(), [](unsigned char c) { return std::toupper(c); });
  return format == "KDX";
}
