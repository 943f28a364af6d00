// Turns the captured PCM WAVE file into the IMA ADPCM WAVE sound part.
#pragma once

#include <string>

namespace kdx {

// Resamples every kept channel to sampleRate with libresample (high quality)
// and writes WAV + IMA ADPCM with min(channels, input channels) channels.
// Channels beyond that are dropped. False when a file cannot be opened or
// the output format is refused.
bool ConvertAudio(const std::string& inputPath, const std::string& outputPath, int sampleRate, int channels);

}  // namespace kdx
