// SPDX-License-Identifier: GPL-2.0-or-later
// Turns the captured PCM WAVE file into the IMA ADPCM WAVE sound part.
#pragma once

#include <string>

namespace kdx {

// Resamples every kept channel to sampleRate with libresample (high quality)
// and writes WAV + IMA ADPCM with min(channels, input channels) channels.
// Channels beyond that are dropped. False, with no output file left behind,
// when a file cannot be opened, the rates or channel counts are unusable, the
// output format is refused or writing the output fails.
bool ConvertAudio(const std::string& inputPath, const std::string& outputPath, int sampleRate, int channels);

}  // namespace kdx
