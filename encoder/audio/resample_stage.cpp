// SPDX-License-Identifier: GPL-2.0-or-later
#include "audio/resample_stage.h"

#include <libresample.h>

#include <algorithm>
#include <cstddef>

namespace kdx {

namespace {

constexpr int kBlockFrames = 4096;
// Room in each channel's output for the resampler's tail beyond ratio x block.
constexpr int kOutputSlack = 1000;

}  // namespace

void ResampleStage::Closer::operator()(void* handle) const { resample_close(handle); }

bool ResampleStage::Open(int channels, double ratio, bool libraryOnly) {
  channels_ = channels;
  ratio_ = ratio;
  outCapacity_ = static_cast<int>(ratio * kBlockFrames + kOutputSlack);
  channelIn_.resize(kBlockFrames);
  channelOut_.resize(outCapacity_);
  interleavedOut_.resize(static_cast<size_t>(outCapacity_) * channels);
  const bool decimate = !libraryOnly && DecimatingResampler::Handles(ratio);
  // The filter is designed once: the other channels start as copies of the
  // first channel's fresh resampler.
  for (int c = 0; c < channels; ++c) {
    if (decimate) {
      if (c == 0)
        decimators_.emplace_back(ratio);
      else
        decimators_.push_back(decimators_.front());
      continue;
    }
    resamplers_.emplace_back(c == 0 ? resample_open(1, ratio, ratio) : resample_dup(resamplers_.front().get()));
    if (!resamplers_.back()) return false;
  }
  return true;
}

bool ResampleStage::ConvertBlock(int n, bool last, std::vector<float>* output) {
  int used = 0;
  int produced = 0;
  for (int c = 0; c < channels_; ++c) {
    for (int i = 0; i < n; ++i) channelIn_[i] = pending_[static_cast<size_t>(i) * channels_ + c];
    int channelUsed = 0;
    const int channelProduced = ConvertChannel(c, n, last, &channelUsed);
    if (channelProduced < 0) return false;
    if (c == 0) {
      used = channelUsed;
      produced = channelProduced;
    } else if (channelUsed != used || channelProduced != produced) {
      ended_ = true;
      return true;
    }
    if (interleavedOut_.size() < static_cast<size_t>(channelProduced) * channels_)
      interleavedOut_.resize(static_cast<size_t>(channelProduced) * channels_);
    for (int i = 0; i < channelProduced; ++i) interleavedOut_[static_cast<size_t>(i) * channels_ + c] = channelOut_[i];
  }
  output->insert(output->end(), interleavedOut_.begin(),
                 interleavedOut_.begin() + static_cast<ptrdiff_t>(produced) * channels_);
  pending_.erase(pending_.begin(), pending_.begin() + static_cast<ptrdiff_t>(used) * channels_);
  return true;
}

int ResampleStage::ConvertChannel(int c, int n, bool last, int* used) {
  if (decimators_.empty()) {
    return resample_process(resamplers_[c].get(), ratio_, channelIn_.data(), n, last ? 1 : 0, used,
                            channelOut_.data(), outCapacity_);
  }
  channelOut_.clear();
  decimators_[c].Process(channelIn_.data(), n, last, used, &channelOut_);
  return static_cast<int>(channelOut_.size());
}

bool ResampleStage::ConvertPending(bool atEnd, std::vector<float>* output) {
  while (!ended_) {
    const int64_t available = static_cast<int64_t>(pending_.size()) / channels_;
    if (atEnd ? available == 0 : available <= kBlockFrames) break;
    const int n = static_cast<int>(std::min<int64_t>(kBlockFrames, available));
    if (!ConvertBlock(n, atEnd && n == available, output)) return false;
  }
  return true;
}

bool ResampleStage::Append(const float* frames, int64_t count, std::vector<float>* output) {
  if (ended_) return true;
  if (count > 0) pending_.insert(pending_.end(), frames, frames + count * channels_);
  return ConvertPending(false, output);
}

bool ResampleStage::Flush(std::vector<float>* output) { return ConvertPending(true, output); }

}  // namespace kdx
