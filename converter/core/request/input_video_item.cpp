// SPDX-License-Identifier: GPL-2.0-or-later
#include "converter/core/request/input_video_item.h"

#include <algorithm>
#include <cctype>
#include <cstdio>

#include "converter/core/request/conversion_options.h"
#include "converter/core/support/path_utils.h"

namespace {

// The size column divides by 1024.4 and then 1024, so 1 MiB reads "1.00M".
std::string SizeText(uint32_t bytes) {
  char text[32];
  std::snprintf(text, sizeof text, "%.2fM", static_cast<double>(bytes) / 1024.4 / 1024.0);
  return text;
}

}  // namespace

VIDEO_TIME SecondsToVideoTime(int64_t seconds) {
  if (seconds <= 0) return {};
  return {static_cast<int32_t>(seconds / 3600), static_cast<int32_t>(seconds % 3600 / 60),
          static_cast<int32_t>(seconds % 60)};
}

int64_t VideoTimeToSeconds(const VIDEO_TIME& time) {
  return static_cast<int64_t>(time.nHour) * 3600 + static_cast<int64_t>(time.nMinute) * 60 + time.nSecond;
}

std::string KdxOutputName(const std::string& inputPath) { return GetFileBaseName(inputPath) + ".kdx"; }

INPUT_VIDEO_ITEM NewInputVideoItem(const std::string& inputPath, int64_t duration, const DEVICE_CONFIG_ENTRY& model) {
  INPUT_VIDEO_ITEM item;
  item.rtDuration = std::max<int64_t>(duration, 0);
  item.tmDuration = SecondsToVideoTime(item.rtDuration / kMediaUnitsPerSecond);
  item.tmEnd = item.tmDuration;
  item.strOutputName = KdxOutputName(inputPath);
  item.strVideoMode = DefaultVideoMode(model);
  item.strType = GetFileExtension(inputPath);
  std::transform(item.strType.begin(), item.strType.end(), item.strType.begin(),
                 [](unsigned char c) { return std::toupper(c); });
  item.strSize = SizeText(GetFileSizeOf(inputPath));
  item.strQuality = kQualityHigh;
  return item;
}

std::string FormatVideoTime(const VIDEO_TIME& time) {
  char text[32];
  std::snprintf(text, sizeof text, "%02d:%02d:%02d", time.nHour, time.nMinute, time.nSecond);
  return text;
}
