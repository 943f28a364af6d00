// SPDX-License-Identifier: GPL-2.0-or-later
// Turns decoded sound into the IMA ADPCM WAVE sound part as it arrives:
// every kept channel is resampled with libresample (high quality) in blocks
// of 4096 input frames (in up to three passes for steps one pass cannot
// make), clamped and written by libsndfile. Feeding the same
// samples in any pieces gives the same bytes, so the sound can be converted
// while the pictures are still being decoded.
#pragma once

#include <sndfile.h>

#include <cstdint>
#include <memory>
#include <string>

namespace kdx {

class SoundConverter {
 public:
  SoundConverter();
  ~SoundConverter();  // discards an output that was not finished
  SoundConverter(const SoundConverter&) = delete;
  SoundConverter& operator=(const SoundConverter&) = delete;

  // Creates the output: WAV + IMA ADPCM at outputRate with
  // min(outputChannels, inputChannels) channels: the first input channels,
  // except that a mono output from several channels is the mix of the
  // first two (left and right). Further input channels are dropped. False,
  // with no file left, when the rates or channels cannot be converted or
  // the file cannot be made.
  bool Open(const std::string& outputPath, int inputRate, int inputChannels, int outputRate, int outputChannels);
  bool IsOpen() const;
  // The output's libsndfile handle, for its text fields.
  SNDFILE* Output() const;

  // Interleaved input frames: floats in -1..1, or 16-bit PCM read the way
  // libsndfile reads it. False once the conversion has failed.
  bool AppendFloat(const float* frames, int64_t count);
  bool AppendPcm16(const int16_t* frames, int64_t count);

  // Converts what is left and closes the file; false, with the file
  // removed, when anything failed.
  bool Finish();
  // Closes and removes the output.
  void Discard();

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

}  // namespace kdx
