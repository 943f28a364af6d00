// SPDX-License-Identifier: GPL-2.0-or-later
// One libresample pass (high quality) over interleaved channels. Input is
// converted in blocks of 4096 frames, each only once more input follows it
// or at the end, so the output does not depend on how the input arrived.
// Whole-number steps down go through DecimatingResampler, which gives the
// library's bits several times faster.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "audio/decimating_resampler.h"

namespace kdx {

class ResampleStage {
 public:
  // False when libresample cannot open a resampler for the ratio.
  // libraryOnly keeps every step on libresample itself.
  bool Open(int channels, double ratio, bool libraryOnly = false);

  // Takes interleaved frames and converts whole blocks while more input
  // follows them. The produced frames are appended, interleaved, to
  // *output. False when the resampler fails.
  bool Append(const float* frames, int64_t count, std::vector<float>* output);
  // Converts the rest, the last block marked as such.
  bool Flush(std::vector<float>* output);

 private:
  struct Closer {
    void operator()(void* handle) const;
  };

  bool ConvertPending(bool atEnd, std::vector<float>* output);
  bool ConvertBlock(int n, bool last, std::vector<float>* output);
  // One channel's block; the number of outputs in channelOut_, or < 0.
  int ConvertChannel(int c, int n, bool last, int* used);

  int channels_ = 0;
  double ratio_ = 1.0;
  int outCapacity_ = 0;
  std::vector<float> pending_;  // input frames not yet taken, interleaved
  std::vector<float> channelIn_;
  std::vector<float> channelOut_;
  std::vector<float> interleavedOut_;
  std::vector<std::unique_ptr<void, Closer>> resamplers_;
  std::vector<DecimatingResampler> decimators_;  // instead of resamplers_ when the step allows
  bool ended_ = false;
};

}  // namespace kdx
