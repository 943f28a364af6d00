// SPDX-License-Identifier: GPL-2.0-or-later
// The sound part at the start of a KDX file: a complete RIFF WAVE file.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace kdxreader {

struct SoundPart {
  bool present = false;     // false when the file begins with the KDX header
  uint64_t byteCount = 0;   // RIFF size + 8: where the KDX header begins
  uint16_t formatTag = 0;   // 0x11 for IMA ADPCM
  int channels = 0;
  int sampleRate = 0;
  int64_t frames = 0;       // sample frames per channel
  double seconds = 0.0;
};

// Describes the WAVE file held in "bytes" (exactly the sound part). Returns
// an empty string, or what makes it unreadable.
std::string DescribeSoundPart(std::span<const uint8_t> bytes, SoundPart* sound);

// The samples of the sound part, decoded to floats in -1..1, interleaved
// by channel; false when it cannot be read.
bool ReadSoundSamples(std::span<const uint8_t> bytes, SoundPart* sound, std::vector<float>* samples);

// A readable name for a WAVE format tag ("IMA ADPCM", "PCM", ...).
std::string FormatTagName(uint16_t formatTag);

}  // namespace kdxreader
