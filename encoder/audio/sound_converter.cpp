#include "audio/sound_converter.h"

#include <libresample.h>

#include <algorithm>
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
// libsndfile reads 16-bit PCM as value / 0x8000.
constexpr float kPcm16Scale = 1.0f / 32768.0f;

struct ResamplerCloser {
  void operator()(void* handle) const { resample_close(handle); }
};
using Resampler = std::unique_ptr<void, ResamplerCloser>;

}  // namespace

struct SoundConverter::Impl {
  SoundOutputFile output;
  int inChannels = 0;
  int outChannels = 0;
  double ratio = 1.0;
  int outCapacity = 0;
  // Input frames not yet taken by the resamplers, interleaved.
  std::vector<float> pending;
  std::vector<float> channelIn;
  std::vector<float> channelOut;
  std::vector<float> interleavedOut;
  std::vector<Resampler> resamplers;
  bool failed = false;
  // Channels fell out of step: the file ends with what was written.
  bool ended = false;

  int64_t PendingFrames() const { return static_cast<int64_t>(pending.size()) / inChannels; }

  // Resamples the first n pending frames as one block; false on failure.
  bool ConvertBlock(int n, bool last) {
    int used = 0;
    int produced = 0;
    for (int c = 0; c < outChannels; ++c) {
      for (int i = 0; i < n; ++i) channelIn[i] = pending[static_cast<size_t>(i) * inChannels + c];
      int channelUsed = 0;
      const int channelProduced = resample_process(resamplers[c].get(), ratio, channelIn.data(), n, last ? 1 : 0,
                                                   &channelUsed, channelOut.data(), outCapacity);
      if (channelProduced < 0) return false;
      if (c == 0) {
        used = channelUsed;
        produced = channelProduced;
      } else if (channelUsed != used || channelProduced != produced) {
        ended = true;
        return true;
      }
      // The IMA ADPCM encoder wraps values beyond full scale around, so the
      // resampler's overshoot is clipped first.
      for (int i = 0; i < channelProduced; ++i) {
        interleavedOut[static_cast<size_t>(i) * outChannels + c] = std::clamp(channelOut[i], -1.0f, 1.0f);
      }
    }
    if (sf_writef_float(output.get(), interleavedOut.data(), produced) != produced || output.Failed()) return false;
    pending.erase(pending.begin(), pending.begin() + static_cast<ptrdiff_t>(used) * inChannels);
    return true;
  }

  // Converts whole blocks while more input follows them; at the end, the
  // rest, with the last block marked as such.
  bool ConvertPending(bool atEnd) {
    while (!failed && !ended) {
      const int64_t available = PendingFrames();
      if (atEnd ? available == 0 : available <= kBlockFrames) break;
      const int n = static_cast<int>(std::min<int64_t>(kBlockFrames, available));
      if (!ConvertBlock(n, atEnd && n == available)) failed = true;
    }
    return !failed;
  }
};

SoundConverter::SoundConverter() = default;
SoundConverter::~SoundConverter() { Discard(); }

bool SoundConverter::Open(const std::string& outputPath, int inputRate, int inputChannels, int outputRate,
                          int outputChannels) {
  Discard();
  if (inputRate < 1 || inputChannels < 1 || outputRate < 1 || outputChannels < 1) return false;
  const double ratio = static_cast<double>(outputRate) / inputRate;
  if (ratio < kMinRatio || ratio > kMaxRatio) return false;
  SF_INFO info{};
  info.format = SF_FORMAT_WAV | SF_FORMAT_IMA_ADPCM;
  info.samplerate = outputRate;
  info.channels = std::min(outputChannels, inputChannels);
  if (!sf_format_check(&info)) return false;

  auto impl = std::make_unique<Impl>();
  impl->inChannels = inputChannels;
  impl->outChannels = info.channels;
  impl->ratio = ratio;
  impl->outCapacity = static_cast<int>(ratio * kBlockFrames + kOutputSlack);
  impl->channelIn.resize(kBlockFrames);
  impl->channelOut.resize(impl->outCapacity);
  impl->interleavedOut.resize(static_cast<size_t>(impl->outCapacity) * impl->outChannels);
  for (int c = 0; c < impl->outChannels; ++c) {
    impl->resamplers.emplace_back(resample_open(1, ratio, ratio));
    if (!impl->resamplers.back()) return false;
  }
  if (!impl->output.Create(outputPath, &info)) return false;
  impl_ = std::move(impl);
  return true;
}

bool SoundConverter::IsOpen() const { return impl_ != nullptr; }

SNDFILE* SoundConverter::Output() const { return impl_ ? impl_->output.get() : nullptr; }

bool SoundConverter::AppendFloat(const float* frames, int64_t count) {
  if (!impl_ || impl_->failed) return false;
  if (impl_->ended || count <= 0) return true;
  impl_->pending.insert(impl_->pending.end(), frames, frames + count * impl_->inChannels);
  return impl_->ConvertPending(false);
}

bool SoundConverter::AppendPcm16(const int16_t* frames, int64_t count) {
  if (!impl_ || impl_->failed) return false;
  if (impl_->ended || count <= 0) return true;
  const size_t first = impl_->pending.size();
  impl_->pending.resize(first + static_cast<size_t>(count) * impl_->inChannels);
  std::transform(frames, frames + count * impl_->inChannels, impl_->pending.begin() + static_cast<ptrdiff_t>(first),
                 [](int16_t value) { return kPcm16Scale * value; });
  return impl_->ConvertPending(false);
}

bool SoundConverter::Finish() {
  if (!impl_) return false;
  const bool converted = impl_->ConvertPending(true);
  // Leaving without Close discards the half-written output.
  const bool closed = converted && impl_->output.Close();
  impl_.reset();
  return closed;
}

void SoundConverter::Discard() { impl_.reset(); }

}  // namespace kdx
