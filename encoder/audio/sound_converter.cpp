// SPDX-License-Identifier: GPL-2.0-or-later
#include "audio/sound_converter.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "audio/resample_stage.h"
#include "audio/sound_output_file.h"

namespace kdx {

namespace {

// libresample keeps its buffer lengths in 16 bits: its output buffer of
// 4096 x ratio + 2 samples overflows above a ratio of 16, and its filter
// reach of 18 / ratio + 10 input samples grows out of range for very small
// ratios. Steps beyond these bounds (a 1 kHz source made 22050 Hz) are
// split into equal passes; three of them reach further than any real pair
// of rates.
constexpr double kMinRatio = 1.0 / 256.0;
constexpr double kMaxRatio = 12.0;
constexpr int kMaxStages = 3;
// libsndfile reads 16-bit PCM as value / 0x8000.
constexpr float kPcm16Scale = 1.0f / 32768.0f;

// The ratio of each pass; empty when the step is too large. A step one
// pass reaches keeps its exact ratio.
std::vector<double> StageRatios(double ratio) {
  if (ratio >= kMinRatio && ratio <= kMaxRatio) return {ratio};
  const double reach = std::log(ratio > 1.0 ? kMaxRatio : kMinRatio);
  const int stages = static_cast<int>(std::ceil(std::log(ratio) / reach));
  if (stages > kMaxStages) return {};
  return std::vector<double>(stages, std::pow(ratio, 1.0 / stages));
}

}  // namespace

struct SoundConverter::Impl {
  SoundOutputFile output;
  int inChannels = 0;
  int outChannels = 0;
  std::vector<ResampleStage> stages;
  std::vector<std::vector<float>> stageOutput;  // one per stage
  std::vector<float> kept;                      // input reduced to the output channels
  std::vector<float> scaled;                    // 16-bit input as floats
  bool failed = false;

  // The input frames as the output channels: the first channels in order,
  // except that a mono output from several channels mixes left and right.
  const float* KeepChannels(const float* frames, int64_t count) {
    if (inChannels == outChannels) return frames;
    kept.resize(static_cast<size_t>(count) * outChannels);
    for (int64_t f = 0; f < count; ++f) {
      const float* in = frames + f * inChannels;
      float* out = kept.data() + f * outChannels;
      if (outChannels == 1)
        out[0] = 0.5f * (in[0] + in[1]);
      else
        std::copy(in, in + outChannels, out);
    }
    return kept.data();
  }

  // Passes the frames through every stage (flushing each at the end) and
  // writes what comes out; false on failure.
  bool Convert(const float* frames, int64_t count, bool atEnd) {
    for (size_t s = 0; s < stages.size(); ++s) {
      std::vector<float>& out = stageOutput[s];
      out.clear();
      if (!stages[s].Append(frames, count, &out) || (atEnd && !stages[s].Flush(&out))) return false;
      frames = out.data();
      count = static_cast<int64_t>(out.size()) / outChannels;
    }
    // The IMA ADPCM encoder wraps values beyond full scale around, so the
    // resampler's overshoot is clipped first.
    std::vector<float>& last = stageOutput.back();
    for (float& value : last) value = std::clamp(value, -1.0f, 1.0f);
    return count == 0 || (sf_writef_float(output.get(), last.data(), count) == count && !output.Failed());
  }

  bool Append(const float* frames, int64_t count) {
    if (failed) return false;
    if (count <= 0) return true;
    if (!Convert(KeepChannels(frames, count), count, false)) failed = true;
    return !failed;
  }
};

SoundConverter::SoundConverter() = default;
SoundConverter::~SoundConverter() { Discard(); }

bool SoundConverter::Open(const std::string& outputPath, int inputRate, int inputChannels, int outputRate,
                          int outputChannels) {
  Discard();
  if (inputRate < 1 || inputChannels < 1 || outputRate < 1 || outputChannels < 1) return false;
  const std::vector<double> ratios = StageRatios(static_cast<double>(outputRate) / inputRate);
  if (ratios.empty()) return false;
  SF_INFO info{};
  info.format = SF_FORMAT_WAV | SF_FORMAT_IMA_ADPCM;
  info.samplerate = outputRate;
  info.channels = std::min(outputChannels, inputChannels);
  if (!sf_format_check(&info)) return false;

  auto impl = std::make_unique<Impl>();
  impl->inChannels = inputChannels;
  impl->outChannels = info.channels;
  impl->stages.resize(ratios.size());
  impl->stageOutput.resize(ratios.size());
  for (size_t s = 0; s < ratios.size(); ++s) {
    if (!impl->stages[s].Open(impl->outChannels, ratios[s])) return false;
  }
  if (!impl->output.Create(outputPath, &info)) return false;
  impl_ = std::move(impl);
  return true;
}

bool SoundConverter::IsOpen() const { return impl_ != nullptr; }

SNDFILE* SoundConverter::Output() const { return impl_ ? impl_->output.get() : nullptr; }

bool SoundConverter::AppendFloat(const float* frames, int64_t count) {
  return impl_ && impl_->Append(frames, count);
}

bool SoundConverter::AppendPcm16(const int16_t* frames, int64_t count) {
  if (!impl_ || impl_->failed) return false;
  if (count <= 0) return true;
  impl_->scaled.resize(static_cast<size_t>(count) * impl_->inChannels);
  std::transform(frames, frames + count * impl_->inChannels, impl_->scaled.begin(),
                 [](int16_t value) { return kPcm16Scale * value; });
  return impl_->Append(impl_->scaled.data(), count);
}

bool SoundConverter::Finish() {
  if (!impl_) return false;
  const bool converted = !impl_->failed && impl_->Convert(nullptr, 0, true);
  // Leaving without Close discards the half-written output.
  const bool closed = converted && impl_->output.Close();
  impl_.reset();
  return closed;
}

void SoundConverter::Discard() { impl_.reset(); }

}  // namespace kdx
