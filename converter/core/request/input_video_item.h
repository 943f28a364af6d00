// SPDX-License-Identifier: GPL-2.0-or-later
// One queued input file and the settings it is converted with.
#pragma once

#include <cstdint>
#include <string>

#include "converter/core/devices/device_config_entry.h"

// Media times count 100-ns units.
inline constexpr int64_t kMediaUnitsPerSecond = 10'000'000;

struct VIDEO_TIME {
  int32_t nHour = 0;
  int32_t nMinute = 0;
  int32_t nSecond = 0;
};

struct INPUT_VIDEO_ITEM {
  VIDEO_TIME tmDuration;      // 00:00:00 when the length is unknown
  int64_t rtDuration = 0;     // the exact length in 100-ns units, 0 when unknown
  VIDEO_TIME tmStart;         // range to convert
  VIDEO_TIME tmEnd;
  std::string strOutputName;  // file name of the result
  std::string strVideoMode;   // "Full Screen" or "Full Image"
  std::string strType;        // the input's extension, upper case
  std::string strSize;        // "%.2fM" size text
  std::string strQuality;     // one of the quality presets
};

VIDEO_TIME SecondsToVideoTime(int64_t seconds);
int64_t VideoTimeToSeconds(const VIDEO_TIME& time);
// "HH:MM:SS"
std::string FormatVideoTime(const VIDEO_TIME& time);

// Name of the converted file: the input's name without its last extension,
// followed by ".kdx".
std::string KdxOutputName(const std::string& inputPath);

// A new queue entry with the defaults: the whole file, the model's default
// video mode, High quality. duration is in 100-ns units, 0 or less when
// unknown; the times shown hold its whole seconds.
INPUT_VIDEO_ITEM NewInputVideoItem(const std::string& inputPath, int64_t duration, const DEVICE_CONFIG_ENTRY& model);
