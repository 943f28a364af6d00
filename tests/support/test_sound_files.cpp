// SPDX-License-Identifier: GPL-2.0-or-later
#include "tests/support/test_sound_files.h"

#include <cmath>
#include <numbers>

namespace audiotest {

void WritePcm16Wave(const std::string& path, int sampleRate, int channels, long frames, const Signal& value,
                    const char* title) {
  SF_INFO info{};
  info.samplerate = sampleRate;
  info.channels = channels;
  info.format = SF_FORMAT_WAV | SF_FORMAT_PCM_16;
  SNDFILE* file = sf_open(path.c_str(), SFM_WRITE, &info);
  if (file == nullptr) return;
  if (title != nullptr) sf_set_string(file, SF_STR_TITLE, title);
  std::vector<float> frame(channels);
  for (long f = 0; f < frames; ++f) {
    for (int c = 0; c < channels; ++c) frame[c] = static_cast<float>(value(f, c));
    sf_writef_float(file, frame.data(), 1);
  }
  sf_close(file);
}

double Sine(double hz, int sampleRate, long frame, double level) {
  return level * std::sin(2.0 * std::numbers::pi * hz * static_cast<double>(frame) / sampleRate);
}

bool ReadSoundFile(const std::string& path, SoundFileContents* contents) {
  SF_INFO info{};
  SNDFILE* file = sf_open(path.c_str(), SFM_READ, &info);
  if (file == nullptr) return false;
  contents->info = info;
  const char* title = sf_get_string(file, SF_STR_TITLE);
  contents->title = title ? title : "";
  contents->channels.assign(info.channels, {});
  std::vector<float> frame(info.channels);
  while (sf_readf_float(file, frame.data(), 1) == 1) {
    for (int c = 0; c < info.channels; ++c) contents->channels[c].push_back(frame[c]);
  }
  sf_close(file);
  return true;
}

int CountZeroCrossings(const std::vector<float>& samples, float threshold) {
  int crossings = 0;
  int sign = 0;
  for (float s : samples) {
    const int now = s > threshold ? 1 : (s < -threshold ? -1 : 0);
    if (now != 0 && sign != 0 && now != sign) ++crossings;
    if (now != 0) sign = now;
  }
  return crossings;
}

double ToneLevel(const std::vector<float>& samples, double hz, int sampleRate) {
  if (samples.empty()) return 0.0;
  double re = 0.0;
  double im = 0.0;
  for (size_t i = 0; i < samples.size(); ++i) {
    const double phase = 2.0 * std::numbers::pi * hz * static_cast<double>(i) / sampleRate;
    re += samples[i] * std::cos(phase);
    im += samples[i] * std::sin(phase);
  }
  return 2.0 * std::hypot(re, im) / static_cast<double>(samples.size());
}

}  // namespace audiotest
