// SPDX-License-Identifier: GPL-2.0-or-later
#include "tests/transcoder/timeline_probe.h"

#include <gtest/gtest.h>

#include <cmath>

#include "tests/transcoder/kdx_check.h"
#include "tools/kdxreader/sound_part.h"

namespace kdxtest {

namespace {
constexpr int kBars = 9;
}  // namespace

int PictureCode(const kdxreader::Picture& frame) {
  if (frame.width < kBars || frame.height < 1) return -1;
  int code = 0;
  for (int bar = 0; bar < kBars; ++bar) {
    const uint8_t* p = frame.Pixel((2 * bar + 1) * frame.width / (2 * kBars), frame.height / 2);
    const double luma = 0.299 * p[0] + 0.587 * p[1] + 0.114 * p[2];
    if (luma > 170) {
      code |= 1 << bar;
    } else if (luma > 80) {
      return -1;
    }
  }
  return code;
}

std::vector<int> PictureCodes(const kdxreader::KdxFile& file) {
  std::vector<int> codes;
  for (const kdxreader::Picture& frame : AllFrames(file)) codes.push_back(PictureCode(frame));
  return codes;
}

std::vector<double> BeepOnsets(const kdxreader::KdxFile& file) {
  kdxreader::SoundPart sound;
  std::vector<float> samples;
  if (!kdxreader::ReadSoundSamples(file.SoundBytes(), &sound, &samples) || sound.channels < 1) {
    ADD_FAILURE() << "the sound part cannot be read";
    return {};
  }
  std::vector<double> onsets;
  const double quiet = 0.3 * sound.sampleRate;
  double lastLoud = -quiet;
  for (int64_t i = 0; i < sound.frames; ++i) {
    if (std::abs(samples[static_cast<size_t>(i * sound.channels)]) < 0.1f) continue;
    if (i - lastLoud >= quiet) onsets.push_back(static_cast<double>(i) / sound.sampleRate);
    lastLoud = static_cast<double>(i);
  }
  return onsets;
}

}  // namespace kdxtest
