// SPDX-License-Identifier: GPL-2.0-or-later
// The choices a queued file offers: quality presets and video modes, with
// the texts shown to the user (compared exactly, spaces included).
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "converter/core/devices/device_config_entry.h"

inline constexpr char kQualityHigh[] = "High  (200MB/Hour)";
inline constexpr char kQualityMedium[] = "Medium(128MB/Hour)";
inline constexpr char kQualityLow[] = "Low   (83MB/Hour)";
inline constexpr std::array<const char*, 3> kQualityPresets = {kQualityHigh, kQualityMedium, kQualityLow};

inline constexpr char kModeFullScreen[] = "Full Screen";  // fill the screen, crop the source
inline constexpr char kModeFullImage[] = "Full Image";    // keep the whole picture
inline constexpr std::array<const char*, 2> kVideoModes = {kModeFullScreen, kModeFullImage};

// Scaling filters of the image library (ILU_LINEAR, ILU_SCALE_BSPLINE).
inline constexpr unsigned kScaleLinear = 0x2602;
inline constexpr unsigned kScaleBSpline = 0x2607;

// What a quality text asks of the encoder.
struct QualitySettings {
  int32_t sampleRate;
  int32_t channels;
  int32_t videoKBps;
  unsigned scalingFilter;
};

// The settings of a quality text; a text outside the presets gets 22050 Hz,
// 35 KiB/s and the B-spline filter. High gives more picture data to a
// full-screen picture than to a whole one.
QualitySettings QualityFor(const std::string& quality, bool fitWhole);

// "Full Screen" when the model's Rotate text is exactly "1", else "Full Image".
const char* DefaultVideoMode(const DEVICE_CONFIG_ENTRY& model);

// The model's video format is one this program converts to.
bool IsKdxModel(const DEVICE_CONFIG_ENTRY& model);
