// SPDX-License-Identifier: GPL-2.0-or-later
// Writes and reads the small WAVE files the audio tests work on.
#pragma once

#include <sndfile.h>

#include <functional>
#include <string>
#include <vector>

namespace audiotest {

// value(frame, channel) in -1..1, stored as 16-bit PCM WAVE.
using Signal = std::function<double(long frame, int channel)>;
void WritePcm16Wave(const std::string& path, int sampleRate, int channels, long frames, const Signal& value,
                    const char* title = nullptr);

double Sine(double hz, int sampleRate, long frame, double level = 0.5);

struct SoundFileContents {
  SF_INFO info{};
  std::string title;
  std::vector<std::vector<float>> channels;  // one sample vector per channel
};
// Reads the whole file; false when libsndfile cannot open it.
bool ReadSoundFile(const std::string& path, SoundFileContents* contents);

// Sign changes, counted only when the signal moves past +-threshold.
int CountZeroCrossings(const std::vector<float>& samples, float threshold = 0.05f);

// Amplitude (full scale 1) of the hz component of the samples.
double ToneLevel(const std::vector<float>& samples, double hz, int sampleRate);

}  // namespace audiotest
