// SPDX-License-Identifier: GPL-2.0-or-later
#include "audio/convert_audio.h"

#include <sndfile.h>

#include <memory>
#include <vector>

#include "audio/sound_converter.h"

namespace kdx {

namespace {

constexpr int kReadFrames = 4096;

struct SoundReaderCloser {
  void operator()(SNDFILE* file) const { sf_close(file); }
};
using SoundReader = std::unique_ptr<SNDFILE, SoundReaderCloser>;

void CopyTextFields(SNDFILE* input, SNDFILE* output) {
  for (int field = SF_STR_TITLE; field <= SF_STR_DATE; ++field) {
    if (const char* text = sf_get_string(input, field)) sf_set_string(output, field, text);
  }
}

}  // namespace

bool ConvertAudio(const std::string& inputPath, const std::string& outputPath, int sampleRate, int channels) {
  SF_INFO inInfo{};
  SoundReader input(sf_open(inputPath.c_str(), SFM_READ, &inInfo));
  if (!input) return false;
  SoundConverter converter;
  if (!converter.Open(outputPath, inInfo.samplerate, inInfo.channels, sampleRate, channels)) return false;
  CopyTextFields(input.get(), converter.Output());
  std::vector<float> frames(static_cast<size_t>(kReadFrames) * inInfo.channels);
  sf_count_t got = 0;
  while ((got = sf_readf_float(input.get(), frames.data(), kReadFrames)) > 0) {
    if (!converter.AppendFloat(frames.data(), got)) return false;
  }
  return converter.Finish();
}

}  // namespace kdx
