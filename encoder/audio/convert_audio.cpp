#include "audio/convert_audio.h"

#include <libresample.h>
#include <sndfile.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <vector>

#include "audio/sound_output_file.h"

namespace kdx {

namespace {

constexpr int kBlockFrames = 4096;
// Room in each channel's output for the resampler's tail beyond ratio x block.
constexpr int kOutputSlack = 1000;
// libresample keeps its buffer lengths in 16 bits: its output buffer of
// 4096 x ratio + 2 samples overflows above a ratio of 16, and its filter
// reach of 18 / ratio + 10 input samples grows out of range for very small
// ratios. Every real pair of rates lies well inside these bounds.
constexpr double kMinRatio = 1.0 / 256.0;
constexpr double kMaxRatio = 12.0;

struct SoundReaderCloser {
  void operator()(SNDFILE* file) const { sf_close(file); }
};
using SoundReader = std::unique_ptr<SNDFILE, SoundReaderCloser>;

struct ResamplerCloser {
  void operator()(void* handle) const { resample_close(handle); }
};
using Resampler = std::unique_ptr<void, ResamplerCloser>;

void CopyTextFields(SNDFILE* input, SNDFILE* output) {
  for (int field = SF_STR_TITLE; field <= SF_STR_DATE; ++field) {
    if (const char* text = sf_get_string(input, field)) sf_set_string(output, field, text);
  }
}

// Resamples the first outChannels channels of input into output, one
// libresample handle per channel, in blocks of kBlockFrames input frames;
// frames the resamplers did not take are carried into the next block.
class BlockResampler {
 public:
  BlockResampler(int inChannels, int outChannels, double ratio)
      : inChannels_(inChannels),
        outChannels_(outChannels),
        ratio_(ratio),
        outCapacity_(static_cast<int>(ratio * kBlockFrames + kOutputSlack)),
        interleavedIn_(static_cast<size_t>(kBlockFrames) * inChannels),
        channelIn_(kBlockFrames),
        channelOut_(outCapacity_),
        interleavedOut_(static_cast<size_t>(outCapacity_) * outChannels) {
    for (int c = 0; c < outChannels; ++c) resamplers_.emplace_back(resample_open(1, ratio, ratio));
  }

  bool Opened() const {
    return std::all_of(resamplers_.begin(), resamplers_.end(), [](const Resampler& r) { return r != nullptr; });
  }

  // False when a resampler or a write fails. Channels that fall out of step
  // end the conversion early with what was written so far.
  bool Run(SNDFILE* input, SoundOutputFile& output, sf_count_t frames) {
    sf_count_t pos = 0;  // input frames the resamplers have taken
    int kept = 0;        // frames read but not yet taken, at the buffer's front
    while (pos < frames) {
      const sf_count_t wanted = std::min<sf_count_t>(kBlockFrames - kept, frames - pos - kept);
      const sf_count_t got = wanted > 0 ? sf_readf_float(input, FrameIn(kept), wanted) : 0;
      if (got < wanted) frames = pos + kept + got;  // the data ends before the header says
      const int n = kept + static_cast<int>(got);
      const bool last = pos + n == frames;

      int used = 0;
      int produced = 0;
      for (int c = 0; c < outChannels_; ++c) {
        int channelUsed = 0;
        const int channelProduced = ResampleChannel(c, n, last, &channelUsed);
        if (channelProduced < 0) return false;
        if (c == 0) {
          used = channelUsed;
          produced = channelProduced;
        } else if (channelUsed != used || channelProduced != produced) {
          return true;
        }
        StoreClamped(c, channelProduced);
      }
      if (sf_writef_float(output.get(), interleavedOut_.data(), produced) != produced || output.Failed()) {
        return false;
      }

      kept = n - used;
      std::memmove(FrameIn(0), FrameIn(used), static_cast<size_t>(kept) * inChannels_ * sizeof(float));
      pos += used;
    }
    return true;
  }

 private:
  float* FrameIn(int frame) { return interleavedIn_.data() + static_cast<size_t>(frame) * inChannels_; }

  int ResampleChannel(int c, int n, bool last, int* used) {
    for (int i = 0; i < n; ++i) channelIn_[i] = FrameIn(i)[c];
    return resample_process(resamplers_[c].get(), ratio_, channelIn_.data(), n, last ? 1 : 0, used,
                            channelOut_.data(), outCapacity_);
  }

  // The IMA ADPCM encoder wraps values beyond full scale around, so the
  // resampler's overshoot is clipped first.
  void StoreClamped(int c, int produced) {
    for (int i = 0; i < produced; ++i) {
      interleavedOut_[static_cast<size_t>(i) * outChannels_ + c] = std::clamp(channelOut_[i], -1.0f, 1.0f);
    }
  }

  const int inChannels_;
  const int outChannels_;
  const double ratio_;
  const int outCapacity_;
  std::vector<float> interleavedIn_;
  std::vector<float> channelIn_;
  std::vector<float> channelOut_;
  std::vector<float> interleavedOut_;
  std::vector<Resampler> resamplers_;
};

}  // namespace

bool ConvertAudio(const std::string& inputPath, const std::string& outputPath, int sampleRate, int channels) {
  if (sampleRate < 1 || channels < 1) return false;
  SF_INFO inInfo{};
  SoundReader input(sf_open(inputPath.c_str(), SFM_READ, &inInfo));
  if (!input || inInfo.samplerate < 1 || inInfo.channels < 1) return false;
  const double ratio = static_cast<double>(sampleRate) / inInfo.samplerate;
  if (ratio < kMinRatio || ratio > kMaxRatio) return false;

  SF_INFO outInfo = inInfo;
  outInfo.format = SF_FORMAT_WAV | SF_FORMAT_IMA_ADPCM;
  outInfo.samplerate = sampleRate;
  outInfo.channels = std::min(channels, inInfo.channels);
  if (!sf_format_check(&outInfo)) return false;
  SoundOutputFile output;
  if (!output.Create(outputPath, &outInfo)) return false;
  CopyTextFields(input.get(), output.get());

  BlockResampler resampler(inInfo.channels, outInfo.channels, ratio);
  // Leaving without Close discards the half-written output.
  if (!resampler.Opened() || !resampler.Run(input.get(), output, inInfo.frames)) return false;
  return output.Close();
}

}  // namespace kdx
